#pragma once

#include "command/MenuItem.h"

#include <string>
#include <string_view>

// Renames the one selected item with the clipboard text (mode 0), or keeps its extension (mode 1).
class PastePathCommand final : public MenuItem
{
  public:
    static constexpr int kPasteName = 0;
    static constexpr int kPasteNameKeepExtension = 1;

    PastePathCommand(std::wstring text, int mode) : MenuItem(std::move(text)), m_mode(mode) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    int Mode() const noexcept { return m_mode; }

  private:
    int m_mode;
};

// The new name of the item at itemPath: the clipboard text, or, keeping the extension, the text
// without its own extension followed by the item's (dot included).
std::wstring PastedName(std::wstring_view itemPath, std::wstring_view clipboardText, int mode);

// Whether the item may take the target path: nothing else holds that name now (compared as the
// file system compares), or it is the item itself spelled in another case.
bool IsFreeRenameTarget(std::wstring_view itemPath, const std::wstring& target);
