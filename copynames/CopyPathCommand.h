#pragma once

#include "command/MenuItem.h"

#include <memory>

// Copies the selected names to the clipboard (kCopyNames; SHIFT for full paths, CTRL for the options
// command given), or copies the one selected name and sends the item to the Recycle Bin
// (kCopyNameAndDelete).
class CopyPathCommand final : public MenuItem
{
  public:
    enum class Mode
    {
        kCopyNames = 1,
        kCopyNameAndDelete = 2,
    };
    using enum Mode;

    // withOptions: what CTRL runs instead of the plain copy of kCopyNames (may be null: CTRL is ignored).
    CopyPathCommand(std::wstring text, Mode mode, std::unique_ptr<MenuItem> withOptions = nullptr)
        : MenuItem(std::move(text)), m_mode(mode), m_withOptions(std::move(withOptions))
    {
    }

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override { return CommandHelpText(Type()); }
    int GetIconId() const override { return CommandIconId(Type()); }

  private:
    CommandType Type() const noexcept
    {
        return m_mode == kCopyNames ? CommandType::CopyFilename : CommandType::CopyFilenameAndDelete;
    }

    Mode m_mode;
    std::unique_ptr<MenuItem> m_withOptions;
};
