#pragma once

#include "command/MenuItem.h"

#include <memory>

// Copies the selected names to the clipboard (mode 1; SHIFT for full paths, CTRL for the options
// command given), or copies the one selected name and sends the item to the Recycle Bin (mode 2).
class CopyPathCommand final : public MenuItem
{
  public:
    static constexpr int kCopyNames = 1;
    static constexpr int kCopyNameAndDelete = 2;

    // withOptions: what CTRL runs instead of the plain copy of mode 1 (may be null: CTRL is ignored).
    CopyPathCommand(std::wstring text, int mode, std::unique_ptr<MenuItem> withOptions = nullptr)
        : MenuItem(std::move(text)), m_mode(mode), m_withOptions(std::move(withOptions))
    {
    }

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    int Mode() const noexcept { return m_mode; }

  private:
    int m_mode;
    std::unique_ptr<MenuItem> m_withOptions;
};
