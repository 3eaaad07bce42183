#pragma once

#include "rename/RenameModel.h"

#include <string>
#include <string_view>
#include <vector>

// The new names of the rows as Copy Names puts them on the clipboard: each followed by "\n".
std::wstring JoinNewNames(const std::vector<RenameItem*>& rows);

// Clipboard text read as one new name a line, before it is given to any row.
struct PastedNames
{
    enum class Problem
    {
        None,
        ForbiddenCharacter, // a character that no file name may hold
        LineTooLong,        // a line of more than 255 characters
    };
    Problem problem = Problem::None;
    std::vector<std::wstring> lines; // trimmed, empty lines dropped
};
PastedNames ReadPastedNames(std::wstring_view text);

// A pasted line with the old name's extension in place of its own, for when extension changes are
// not allowed; an old name without one cuts the line before its first '.'.
std::wstring KeepOldExtension(const std::wstring& line, const std::wstring& oldName);

// Gives the rows, in order, the lines as their new names (one each; the counts must match) and
// marks them as named by hand.
void ApplyPastedNames(const std::vector<RenameItem*>& rows, const std::vector<std::wstring>& lines,
                      bool allowExtension);

// The rows' new names come from the pattern again.
void ForgetPastedNames(const std::vector<RenameItem*>& rows);
