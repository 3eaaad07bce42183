#pragma once

#include <windows.h>

#include <compare>
#include <optional>
#include <string>

// What makes a file or folder itself, whatever the spelling of its path: letter case, short (8.3)
// names, "." and "..", or another name for its folder all lead to the same identity.
struct FileIdentity
{
    DWORD volume = 0;
    ULONGLONG index = 0;

    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of the item the path names, read through the path as given (a plain path goes
// through the platform's reading of plain paths, a "\\?\" path does not). Links are not followed.
// Nothing when the item cannot be opened, or when its file system gives no identity to tell items
// apart.
std::optional<FileIdentity> IdentifyItem(const std::wstring& path);
