#include "tests/foldertools/FolderToolsTestSupport.h"

#include "tests/support/FileHelpers.h"
#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <cwchar>

void FolderToolsTest::MakeTree(const std::map<std::wstring, std::string>& files)
{
    for (const auto& [name, bytes] : files)
    {
        const std::wstring path = TempPath(name);
        for (size_t slash = path.find(L'\\', TempFolder().size() + 1); slash != std::wstring::npos;
             slash = path.find(L'\\', slash + 1))
            CreateFolder(path.substr(0, slash));
        ASSERT_TRUE(WriteFileBytes(path, bytes)) << std::wstring(name);
    }
}

void FolderToolsTest::MakeFolders(const std::vector<std::wstring>& folders)
{
    for (const std::wstring& folder : folders)
    {
        const std::wstring path = TempPath(folder);
        for (size_t slash = path.find(L'\\', TempFolder().size() + 1); slash != std::wstring::npos;
             slash = path.find(L'\\', slash + 1))
            CreateFolder(path.substr(0, slash));
        CreateFolder(path);
    }
}

namespace
{
template <typename Visit> void Walk(const std::wstring& folder, const std::wstring& relative, Visit& visit)
{
    WIN32_FIND_DATAW data{};
    const UniqueFind find(::FindFirstFileW(ToLongPath(folder + L"\\*").c_str(), &data));
    if (!find)
        return;
    do
    {
        if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0)
            continue;
        const std::wstring name = relative.empty() ? data.cFileName : relative + L"\\" + data.cFileName;
        const bool folderEntry = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit(folder + L"\\" + data.cFileName, name, folderEntry);
        if (folderEntry && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Walk(folder + L"\\" + data.cFileName, name, visit);
    } while (::FindNextFileW(find.Get(), &data));
}
} // namespace

std::map<std::wstring, std::string> FolderToolsTest::ReadTree(const std::wstring& folder)
{
    std::map<std::wstring, std::string> files;
    auto visit = [&](const std::wstring& path, const std::wstring& name, bool isFolder) {
        if (!isFolder)
            files[name] = ReadFileBytes(path).value_or("<unreadable>");
    };
    Walk(folder, L"", visit);
    return files;
}

std::vector<std::wstring> FolderToolsTest::ListFolders(const std::wstring& folder)
{
    std::vector<std::wstring> folders;
    auto visit = [&](const std::wstring&, const std::wstring& name, bool isFolder) {
        if (isFolder)
            folders.push_back(name);
    };
    Walk(folder, L"", visit);
    return folders;
}

Selection FolderToolsTest::SelectionOf(const std::vector<std::wstring>& names) const
{
    Selection selection;
    for (const std::wstring& name : names)
        selection.paths.Append(name.find(L':') != std::wstring::npos ? name : TempPath(name));
    selection.hasFolder = true;
    return selection;
}

void FolderToolsTest::SetHidden(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(ToLongPath(path).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(::SetFileAttributesW(ToLongPath(path).c_str(), attributes | FILE_ATTRIBUTE_HIDDEN));
}

std::wstring TestLinksFolder()
{
    return WindowsPathOfUnixPath(L"" BRELVANTA_TEST_LINKS);
}
