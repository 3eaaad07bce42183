#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reading and replacing the small XML files the user keeps in the product's folder. A user may keep
// such a file elsewhere, in a synchronised folder say, behind a symbolic link: each function here
// works on the file the link finally leads to, and none replaces the link itself.

// "...\Kaldrith\Brelvanta\<name>" in the roaming application data, creating the two folders on the
// way (an existing folder is fine). Empty when the platform gives no application-data folder.
std::wstring ProductUserFilePath(std::wstring_view name);

// The whole file when it is at most maxSize bytes; nothing when it is missing, cannot be opened or
// read (a folder of that name cannot), or is larger.
std::optional<std::string> ReadSmallFile(const std::wstring& path, unsigned long long maxSize);

// Creates or truncates the file (no sharing) and writes bytes in one write; true when all were
// written. Nothing guards the old contents: ReplaceFileSafely is the way to save a user's file.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

// The size of the file the path leads to; nothing when it leads to no file: missing, a folder, a
// device, or a link whose target is missing.
std::optional<unsigned long long> FileSize(const std::wstring& path);

// An existing file (not a folder) holding at least one byte.
bool IsNonEmptyFile(const std::wstring& path);

// Replaces the file with bytes through a new file beside it ("<path>.new"), which takes the old
// file's place in one rename only once it is written whole: a failed save leaves the user's file as
// it was. With keepOldFile an existing non-empty file is first copied to "<path>.bak" (".bak2",
// ".bak3"... when earlier copies exist); when that copy cannot be made nothing is replaced. A file
// marked read-only is never replaced. True when the file now holds bytes; keptCopy (when given)
// receives the copy's path or becomes empty.
// When the path is a symbolic link, all of this happens beside the file the link leads to, and the
// link stays. A path that holds something other than a file, such as a folder or a link whose
// target is missing, is left as it is and the save fails: the user's link says the file lives
// elsewhere, so a file of our own in its place would quietly part the two.
[[nodiscard]] bool ReplaceFileSafely(const std::wstring& path, std::string_view bytes, bool keepOldFile,
                                     std::wstring* keptCopy = nullptr);
