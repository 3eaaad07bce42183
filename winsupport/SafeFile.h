#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reading and replacing the small XML files the user keeps in the product's folder.

// "...\Kaldrith\Brelvanta\<name>" in the roaming application data, creating the two folders on the
// way (an existing folder is fine). Empty when the platform gives no application-data folder.
std::wstring ProductUserFilePath(std::wstring_view name);

// The whole file when it is at most maxSize bytes; nothing when it is missing, cannot be opened or
// read (a folder of that name cannot), or is larger.
std::optional<std::string> ReadSmallFile(const std::wstring& path, unsigned long long maxSize);

// Creates or truncates the file (no sharing) and writes bytes in one write; true when all were
// written. Nothing guards the old contents: ReplaceFileSafely is the way to save a user's file.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

// An existing file (not a folder) holding at least one byte.
bool IsNonEmptyFile(const std::wstring& path);

// Replaces the file with bytes through a new file beside it ("<path>.new"), which takes the old
// file's place in one rename only once it is written whole: a failed save leaves the user's file as
// it was. With keepOldFile an existing non-empty file is first copied to "<path>.bak" (".bak2",
// ".bak3"... when earlier copies exist); when that copy cannot be made nothing is replaced. A file
// marked read-only is never replaced. True when the file now holds bytes; keptCopy (when given)
// receives the copy's path or becomes empty.
[[nodiscard]] bool ReplaceFileSafely(const std::wstring& path, std::string_view bytes, bool keepOldFile,
                                     std::wstring* keptCopy = nullptr);
