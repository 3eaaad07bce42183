#include "winsupport/SafeFile.h"

#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>

#include <array>

namespace
{
// The user marked the file as not to be changed: respect that, whoever runs the program.
bool IsReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(ToLongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(ToLongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the path leads to, through any symbolic links, opened only to learn about it; a folder does
// not open.
UniqueFile OpenToQuery(const std::wstring& path)
{
    return UniqueFile(::CreateFileW(ToLongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The path of an open file with every link resolved, in the form callers use ("C:\...",
// "\\server\share\..."); nothing when the file system cannot tell.
std::optional<std::wstring> FinalPath(HANDLE file)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::nullopt;
        const bool fitted = length < path.size(); // otherwise length is the size needed
        path.resize(length);
        if (fitted)
            break;
    }
    std::wstring plain = FromLongPath(path);
    if (plain.empty())
        return std::nullopt;
    return plain;
}

// The file a save replaces: the path's own file or, when the path is a symbolic link, the file the
// link finally leads to. Nothing, with the last error set, when the path holds something that does
// not open as a file.
std::optional<std::wstring> FileToReplace(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(ToLongPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return path; // nothing there yet
    const UniqueFile file = OpenToQuery(path);
    if (!file)
        return std::nullopt;
    if (std::optional<std::wstring> target = FinalPath(file.Get()))
        return target;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
    {
        ::SetLastError(ERROR_CANT_RESOLVE_FILENAME);
        return std::nullopt;
    }
    return path;
}

// "<path>.bak", or ".bak2", ".bak3"... when earlier copies exist; empty when all are taken.
std::wstring FreeCopyName(const std::wstring& path)
{
    for (int number = 1; number < 1000; ++number)
    {
        const std::wstring name = path + L".bak" + (number == 1 ? L"" : std::to_wstring(number));
        if (!Exists(name))
            return name;
    }
    return {};
}
} // namespace

bool WriteWholeFile(const std::wstring& path, std::string_view bytes)
{
    if (bytes.size() > MAXDWORD)
        return false;
    const UniqueFile file(::CreateFileW(ToLongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring ProductUserFilePath(std::wstring_view name)
{
    std::array<wchar_t, MAX_PATH> appData{};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData.data())) ||
        appData[0] == L'\0')
        return {};
    std::wstring path = appData.data();
    for (const wchar_t* folder : {L"\\Kaldrith", L"\\Brelvanta"})
    {
        path += folder;
        ::CreateDirectoryW(ToLongPath(path).c_str(), nullptr);
    }
    path += L'\\';
    path += name;
    return path;
}

std::optional<std::string> ReadSmallFile(const std::wstring& path, unsigned long long maxSize)
{
    const UniqueFile file(::CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxSize)
        return std::nullopt;

    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    while (filled < bytes.size())
    {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr))
            return std::nullopt;
        if (read == 0)
            break; // the file shrank since its size was taken
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<unsigned long long> FileSize(const std::wstring& path)
{
    // The attributes of a path name the link itself, not what it leads to: ask the opened file.
    const UniqueFile file = OpenToQuery(path);
    LARGE_INTEGER size{};
    if (!file || ::GetFileType(file.Get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.Get(), &size) ||
        size.QuadPart < 0)
        return std::nullopt;
    return static_cast<unsigned long long>(size.QuadPart);
}

bool IsNonEmptyFile(const std::wstring& path)
{
    return FileSize(path).value_or(0) > 0;
}

bool ReplaceFileSafely(const std::wstring& path, std::string_view bytes, bool keepOldFile, std::wstring* keptCopy)
{
    if (keptCopy)
        keptCopy->clear();
    const std::optional<std::wstring> file = FileToReplace(path);
    if (!file)
        return false;
    if (IsReadOnly(*file))
    {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const std::wstring newFile = *file + L".new";
    if (!WriteWholeFile(newFile, bytes))
    {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(ToLongPath(newFile).c_str());
        ::SetLastError(error);
        return false;
    }
    std::wstring copy;
    if (keepOldFile && IsNonEmptyFile(*file))
    {
        copy = FreeCopyName(*file);
        if (copy.empty() || !::CopyFileW(ToLongPath(*file).c_str(), ToLongPath(copy).c_str(), TRUE))
        {
            ::DeleteFileW(ToLongPath(newFile).c_str());
            return false;
        }
    }
    // The rename replaces the old file in one step: a reader at that moment reads one whole file or
    // the other. It fails on a read-only file, a folder, or a file held open, as writing it would.
    if (!::MoveFileExW(ToLongPath(newFile).c_str(), ToLongPath(*file).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(ToLongPath(newFile).c_str());
        if (!copy.empty())
            ::DeleteFileW(ToLongPath(copy).c_str()); // the old file is still in place
        ::SetLastError(error);
        return false;
    }
    if (keptCopy)
        *keptCopy = copy;
    return true;
}
