#include "configure/MenuConfigFile.h"

#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <optional>

namespace
{
// Our own files are well under a kilobyte; anything this large was not written by us.
constexpr DWORD kLargestOwnFile = 64 * 1024;

// The bytes of a file of at most kLargestOwnFile bytes; nothing when it is larger or unreadable.
std::optional<std::string> ReadOwnSizedFile(const std::wstring& path)
{
    const UniqueFile file(::CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestOwnFile)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

bool IsNonEmptyFile(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return ::GetFileAttributesExW(ToLongPath(path).c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
}

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

// "MenuCommands.xml.bak", or ".bak2", ".bak3"... when earlier copies exist; empty when all are taken.
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

MenuConfig MenuConfigFile::Load()
{
    MenuConfig config;
    const bool readWhole = ReadMenuConfig(m_path, config);
    if (readWhole)
        NormaliseMenuConfig(config);
    else
        DefaultMenuConfig(config); // a malformed file shows the defaults; saving repairs it
    // Saving writes back exactly what is shown: the file needs a copy unless it is that already.
    m_keepOldFile = false;
    if (IsNonEmptyFile(m_path))
    {
        const std::optional<std::string> bytes = ReadOwnSizedFile(m_path);
        m_keepOldFile = !readWhole || !bytes || *bytes != SerialiseMenuConfig(config);
    }
    return config;
}

bool MenuConfigFile::Save(const MenuConfig& config)
{
    m_keptCopy.clear();
    if (IsReadOnly(m_path))
    {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const std::wstring newFile = m_path + L".new";
    if (!WriteMenuConfig(newFile, config))
    {
        ::DeleteFileW(ToLongPath(newFile).c_str());
        return false;
    }
    std::wstring copy;
    if (m_keepOldFile && IsNonEmptyFile(m_path))
    {
        copy = FreeCopyName(m_path);
        if (copy.empty() || !::CopyFileW(ToLongPath(m_path).c_str(), ToLongPath(copy).c_str(), TRUE))
        {
            ::DeleteFileW(ToLongPath(newFile).c_str());
            return false;
        }
    }
    // The rename replaces the old file in one step: a right-click at that moment reads one whole
    // file or the other. It fails on a read-only file or one held open, as writing it would.
    if (!::MoveFileExW(ToLongPath(newFile).c_str(), ToLongPath(m_path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(ToLongPath(newFile).c_str());
        if (!copy.empty())
            ::DeleteFileW(ToLongPath(copy).c_str()); // the old file is still in place
        ::SetLastError(error);
        return false;
    }
    m_keepOldFile = false;
    m_keptCopy = copy;
    return true;
}
