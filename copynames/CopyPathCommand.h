#pragma once

#include "command/MenuItem.h"

// Copies the selected names to the clipboard (mode 1; SHIFT for full paths), or copies the one
// selected name and sends the item to the Recycle Bin (mode 2).
class CopyPathCommand final : public MenuItem
{
  public:
    static constexpr int kCopyNames = 1;
    static constexpr int kCopyNameAndDelete = 2;

    CopyPathCommand(std::wstring text, int mode) : MenuItem(std::move(text)), m_mode(mode) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override;
    int GetIconId() const override { return m_mode == kCopyNameAndDelete ? 3 : 2; }
    int Mode() const noexcept { return m_mode; }

  private:
    int m_mode;
};
