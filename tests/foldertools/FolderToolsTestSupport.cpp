#include "tests/foldertools/FolderToolsTestSupport.h"

#include "tests/support/FileHelpers.h"
#include "winsupport/LongPath.h"

#include <windows.h>

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

std::map<std::wstring, std::string> FolderToolsTest::ReadTree(const std::wstring& folder)
{
    std::map<std::wstring, std::string> files = ReadTreeBelow(folder);
    std::erase_if(files, [](const auto& entry) { return entry.first.ends_with(L'\\'); });
    return files;
}

std::vector<std::wstring> FolderToolsTest::ListFolders(const std::wstring& folder)
{
    std::vector<std::wstring> folders;
    for (const auto& [path, bytes] : ReadTreeBelow(folder))
        if (path.ends_with(L'\\'))
            folders.push_back(path.substr(0, path.size() - 1));
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
