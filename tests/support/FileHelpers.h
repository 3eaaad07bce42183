#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// Small file-system helpers for tests; paths may be longer than 260 characters.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);
std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool CreateFolder(const std::wstring& path);
bool PathExists(const std::wstring& path);
// Removes a file or a whole folder tree; true when nothing is left.
bool DeleteTree(const std::wstring& path);
// Everything below the folder by relative path, hidden items included and links not followed:
// each file with its bytes, each folder (its path ending in a backslash) with none.
std::map<std::wstring, std::string> ReadTreeBelow(const std::wstring& folder);

// The path Wine shows a Unix path under (its Z: drive is the Unix root).
std::wstring WindowsPathOfUnixPath(std::wstring_view unixPath);

// The current user's roaming application-data folder.
std::wstring AppDataFolder();

// True when running under Wine, for tests of platform features Wine lacks.
bool IsWine();

// The files folder of the trash the runner set up for the tests (XDG_DATA_HOME), as a Windows
// path; empty when there is none.
std::wstring TestTrashFiles();
