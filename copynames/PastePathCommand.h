#pragma once

#include "command/MenuItem.h"

#include <string>
#include <string_view>

// Renames the one selected item with the clipboard text (kPasteName), or keeps its extension
// (kPasteNameKeepExtension).
class PastePathCommand final : public MenuItem
{
  public:
    enum class Mode
    {
        kPasteName = 0,
        kPasteNameKeepExtension = 1,
    };
    using enum Mode;

    PastePathCommand(std::wstring text, Mode mode) : MenuItem(std::move(text)), m_mode(mode) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override { return CommandHelpText(Type()); }
    int GetIconId() const override { return CommandIconId(Type()); }

  private:
    CommandType Type() const noexcept
    {
        return m_mode == kPasteName ? CommandType::PasteFilename : CommandType::PasteFilenameNotExt;
    }

    Mode m_mode;
};

// The new name of the item at itemPath: the clipboard text, or, keeping the extension, the text
// without its own extension followed by the item's (dot included).
std::wstring PastedName(std::wstring_view itemPath, std::wstring_view clipboardText, PastePathCommand::Mode mode);

// Whether the item may take the target path: nothing else holds that name now (compared as the
// file system compares), or it is the item itself spelled in another case.
bool IsFreeRenameTarget(std::wstring_view itemPath, const std::wstring& target);
