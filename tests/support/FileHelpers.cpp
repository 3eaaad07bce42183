#include "tests/support/FileHelpers.h"

#include "winsupport/LongPath.h"
#include "winsupport/SafeFile.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>

#include <array>
#include <cwctype>

bool WriteFileBytes(const std::wstring& path, std::string_view bytes)
{
    return WriteWholeFile(path, bytes);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path)
{
    const UniqueFile file(::CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string bytes;
    std::array<char, 65536> chunk{};
    DWORD read = 0;
    while (::ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0)
        bytes.append(chunk.data(), read);
    return bytes;
}

bool CreateFolder(const std::wstring& path)
{
    return ::CreateDirectoryW(ToLongPath(path).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool PathExists(const std::wstring& path)
{
    return ::GetFileAttributesW(ToLongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DeleteTree(const std::wstring& path)
{
    const std::wstring longPath = ToLongPath(path);
    const DWORD attributes = ::GetFileAttributesW(longPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(longPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ::DeleteFileW(longPath.c_str()) != FALSE;

    // Links are removed, never followed.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    {
        WIN32_FIND_DATAW entry{};
        const UniqueFind find(::FindFirstFileW((longPath + L"\\*").c_str(), &entry));
        if (find)
        {
            do
            {
                const std::wstring name = entry.cFileName;
                if (name != L"." && name != L"..")
                    DeleteTree(path + L"\\" + name);
            } while (::FindNextFileW(find.Get(), &entry));
        }
    }
    return ::RemoveDirectoryW(longPath.c_str()) != FALSE;
}

namespace
{
void ReadTreeInto(const std::wstring& folder, const std::wstring& relative, std::map<std::wstring, std::string>& tree)
{
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(::FindFirstFileW(ToLongPath(folder + L"\\*").c_str(), &entry));
    if (!find)
        return;
    do
    {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        {
            tree[relative + name] = ReadFileBytes(path).value_or("<unreadable>");
            continue;
        }
        tree[relative + name + L"\\"];
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            ReadTreeInto(path, relative + name + L"\\", tree);
    } while (::FindNextFileW(find.Get(), &entry));
}
} // namespace

std::map<std::wstring, std::string> ReadTreeBelow(const std::wstring& folder)
{
    std::map<std::wstring, std::string> tree;
    ReadTreeInto(folder, L"", tree);
    return tree;
}

std::wstring WindowsPathOfUnixPath(std::wstring_view unixPath)
{
    std::wstring path = L"Z:";
    for (const wchar_t c : unixPath)
        path += c == L'/' ? L'\\' : c;
    return path;
}

namespace
{
// The Unix path of a Windows path under Wine, in UTF-8; empty when Wine gives none.
std::string UnixPathOf(const std::wstring& path)
{
    using GetUnixFileName = char*(CDECL*)(const wchar_t*);
    const auto getUnixFileName = reinterpret_cast<GetUnixFileName>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* const unixPath = getUnixFileName ? getUnixFileName(path.c_str()) : nullptr;
    if (!unixPath)
        return {};
    std::string result = unixPath;
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

// Runs a command of the host's shell and waits for it: Wine gives no waitable handle for a host
// program, so the command ends by making a marker file, which is polled for. False when the command
// failed or did not finish within a few seconds.
bool RunHostShell(const std::string& command)
{
    std::array<wchar_t, MAX_PATH + 1> temp{};
    if (::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()) == 0)
        return false;
    const std::wstring marker =
        std::wstring(temp.data()) + L"brelvanta-host-" + std::to_wstring(::GetCurrentProcessId()) + L".done";
    const std::string unixMarker = UnixPathOf(marker);
    if (unixMarker.empty())
        return false;
    ::DeleteFileW(marker.c_str());
    std::wstring commandLine = L"Z:\\bin\\sh -c \"" + Utf8ToWide(command + " && : > '" + unixMarker + "'") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    const UniqueKernelHandle processHandle(process.hProcess);
    const UniqueKernelHandle threadHandle(process.hThread);
    for (int poll = 0; poll < 500; ++poll)
    {
        if (PathExists(marker))
            return ::DeleteFileW(marker.c_str()) != FALSE;
        ::Sleep(10);
    }
    return false;
}
} // namespace

bool MakeFileLink(const std::wstring& link, const std::wstring& target)
{
    if (!IsWine())
        return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) !=
               FALSE;
    const std::string unixLink = UnixPathOf(link);
    const std::string unixTarget = UnixPathOf(target);
    return !unixLink.empty() && !unixTarget.empty() && RunHostShell("ln -s '" + unixTarget + "' '" + unixLink + "'");
}

bool RemoveFileLink(const std::wstring& link)
{
    if (!IsWine())
        return ::DeleteFileW(link.c_str()) != FALSE;
    const std::string unixLink = UnixPathOf(link);
    return !unixLink.empty() && RunHostShell("rm '" + unixLink + "'");
}

std::wstring PercentDecodeUtf8(std::wstring_view text)
{
    std::string bytes;
    size_t plain = 0; // start of the run of characters not escaped
    for (size_t i = 0; i <= text.size(); ++i)
    {
        const bool escape =
            i + 2 < text.size() && text[i] == L'%' && std::iswxdigit(text[i + 1]) && std::iswxdigit(text[i + 2]);
        if (!escape && i < text.size())
            continue;
        bytes += WideToUtf8(text.substr(plain, i - plain));
        if (escape)
        {
            bytes += static_cast<char>(std::stoi(std::string(text.begin() + i + 1, text.begin() + i + 3), nullptr, 16));
            i += 2;
        }
        plain = i + 1;
    }
    return Utf8ToWide(bytes);
}

std::optional<std::string> FilterOnHost(const std::wstring& program, const std::string& arguments,
                                        const std::wstring& text)
{
    if (!IsWine() || !PathExists(WindowsPathOfUnixPath(program)))
        return std::nullopt;
    std::array<wchar_t, MAX_PATH + 1> temp{};
    if (::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()) == 0)
        return std::nullopt;
    const std::wstring stem =
        std::wstring(temp.data()) + L"brelvanta-filter-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring input = stem + L".in";
    const std::wstring output = stem + L".out";
    if (!WriteFileBytes(input, WideToUtf8(text)))
        return std::nullopt;
    const bool ran = RunHostShell(WideToUtf8(program) + " " + arguments + " < '" + UnixPathOf(input) + "' > '" +
                                  UnixPathOf(output) + "'");
    std::optional<std::string> result = ran ? ReadFileBytes(output) : std::nullopt;
    ::DeleteFileW(input.c_str());
    ::DeleteFileW(output.c_str());
    return result;
}

std::optional<std::vector<std::wstring>> MarkdownListItems(const std::wstring& markdown, std::string* html)
{
    const std::optional<std::string> rendering = FilterOnHost(L"/usr/bin/cmark", "", markdown);
    if (!rendering)
        return std::nullopt;
    if (html)
        *html = *rendering;
    std::vector<std::wstring> items;
    for (size_t start = rendering->find("<li>"); start != std::string::npos; start = rendering->find("<li>", start))
    {
        start += 4;
        std::string text = rendering->substr(start, rendering->find("</li>", start) - start);
        for (const auto& [entity, c] : {std::pair{"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
            for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
                text.replace(at, std::string(entity).size(), c);
        items.push_back(Utf8ToWide(text));
    }
    return items;
}

std::wstring AppDataFolder()
{
    std::array<wchar_t, MAX_PATH> folder{};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder.data())))
        return {};
    return folder.data();
}

bool IsWine()
{
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::wstring TestTrashFiles()
{
    std::wstring unixPath(32768, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(L"XDG_DATA_HOME", unixPath.data(), 32768);
    if (length == 0 || length >= 32768)
        return {};
    unixPath.resize(length);
    return WindowsPathOfUnixPath(unixPath) + L"\\Trash\\files";
}
