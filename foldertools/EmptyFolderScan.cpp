#include "foldertools/EmptyFolderScan.h"

#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

void ScanNode::Raise(int newLevel) noexcept
{
    for (ScanNode* node = this; node && node->level < newLevel; node = node->parent)
        node->level = newLevel;
}

std::wstring ScanNode::FullPath() const
{
    if (!parent)
        return name;
    std::wstring path = parent->FullPath();
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path + name;
}

bool EmptyFolderScan::Run(const std::vector<std::wstring>& selectedFolders)
{
    m_found.clear();
    for (const std::wstring& folder : selectedFolders)
    {
        ScanNode root;
        root.name = folder;
        if (!ScanFolder(root, folder))
            return false;
        Collect(root);
    }
    std::sort(m_found.begin(), m_found.end());
    return true;
}

bool EmptyFolderScan::ScanFolder(ScanNode& node, const std::wstring& path)
{
    m_progress.SetCurrentFolder(path);
    if (m_progress.IsAborted())
        return false;
    WIN32_FIND_DATAW data{};
    std::wstring pattern = ToLongPath(path);
    if (pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    const UniqueFind find(
        ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find)
    {
        node.Raise(ScanNode::kFiles);
        return true;
    }
    bool files = false;
    bool hiddenFiles = false;
    do
    {
        const wchar_t* name = data.cFileName;
        if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0)
            continue;
        const DWORD attributes = data.dwFileAttributes;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue; // links are never followed and never count
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            auto child = std::make_unique<ScanNode>();
            child->parent = &node;
            child->name = name;
            node.children.push_back(std::move(child));
        }
        else if (!(attributes & FILE_ATTRIBUTE_HIDDEN))
            files = true;
        else if (std::wcscmp(name, L"desktop.ini") != 0 && std::wcscmp(name, L"Thumbs.db") != 0)
            hiddenFiles = true;
    } while (::FindNextFileW(find.Get(), &data));
    // An enumeration cut short may have missed files: count the folder as holding some.
    if (::GetLastError() != ERROR_NO_MORE_FILES)
        files = true;
    if (files)
        node.Raise(ScanNode::kFiles);
    else if (hiddenFiles)
        node.Raise(ScanNode::kHiddenFiles);

    std::wstring childPath = path;
    if (childPath.back() != L'\\')
        childPath += L'\\';
    const size_t base = childPath.size();
    for (const auto& child : node.children)
    {
        childPath.resize(base);
        childPath += child->name;
        if (!ScanFolder(*child, childPath))
            return false;
    }
    return true;
}

void EmptyFolderScan::Collect(const ScanNode& node)
{
    if (node.level == ScanNode::kEmpty)
    {
        m_found.push_back(node.FullPath());
        return;
    }
    for (const auto& child : node.children)
        Collect(*child);
}
