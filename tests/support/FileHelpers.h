#pragma once

#include <map>
#include <optional>
#include <vector>
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

// The text as an RFC 3986 reader (browsers, Python, .NET) decodes it: each "%xx" a byte, the bytes
// read as UTF-8.
std::wstring PercentDecodeUtf8(std::wstring_view text);

// What a host program writes for the text (UTF-8) on its standard input, run with the arguments
// (already quoted for the host's shell); nothing when the program is missing or did not finish.
std::optional<std::string> FilterOnHost(const std::wstring& program, const std::string& arguments,
                                        const std::wstring& text);

// The texts of the list items that the host's CommonMark renderer (cmark) shows for a Markdown text,
// as a reader of the product's Markdown sees them (HTML entities read); nothing when there is no host
// renderer to run. html receives the whole rendering.
std::optional<std::vector<std::wstring>> MarkdownListItems(const std::wstring& markdown, std::string* html = nullptr);

// Makes link a symbolic link to the file target (which must exist), as a user would. Under Wine,
// whose CreateSymbolicLinkW makes nothing, the host's ln makes it; Wine then shows it as a plain
// file.
bool MakeFileLink(const std::wstring& link, const std::wstring& target);
// Removes such a link, and only the link, whether its target exists or not. Wine's DeleteFileW on a
// link deletes the target instead and leaves the link, which Wine no longer shows once its target
// is gone.
bool RemoveFileLink(const std::wstring& link);
// Why a test cannot check under Wine that a save leaves a link whose target is missing alone.
inline constexpr const char* kWineHidesBrokenLinks =
    "Wine shows a link whose target is missing as no file at all, and its MoveFileExW replaces such a link; "
    "Windows shows the link's own attributes, which the product checks";

// The current user's roaming application-data folder.
std::wstring AppDataFolder();

// True when running under Wine, for tests of platform features Wine lacks.
bool IsWine();

// The files folder of the trash the runner set up for the tests (XDG_DATA_HOME), as a Windows
// path; empty when there is none.
std::wstring TestTrashFiles();
