#include "foldertools/EmptyFolderScan.h"

#include "winsupport/FolderEnumerator.h"
#include "winsupport/PlainFolder.h"

#include <algorithm>

namespace
{
// Scans without a window: never cancelled.
struct SilentProgress final : MAbortBase
{
    void SetCurrentFolder(const std::wstring&) override {}
    bool IsAborted() override { return false; }
};
} // namespace

bool ReparsePointHoldsData(DWORD reparseTag) noexcept
{
    // Tag 0 is reserved and never names a reparse point on Windows; it means the platform did not
    // report one, as Wine does for the Unix symbolic links it shows as reparse points.
    return reparseTag != 0 && !IsReparseTagNameSurrogate(reparseTag);
}

EntryWeight WeighEntry(DWORD attributes, DWORD reparseTag, std::wstring_view name) noexcept
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return ReparsePointHoldsData(reparseTag) ? EntryWeight::File : EntryWeight::Nothing;
    if (IsPlainFolder(attributes))
        return EntryWeight::Subfolder;
    if (!(attributes & FILE_ATTRIBUTE_HIDDEN))
        return EntryWeight::File;
    return name == L"desktop.ini" || name == L"Thumbs.db" ? EntryWeight::Nothing : EntryWeight::HiddenFile;
}

bool EmptyFolderScan::Run(const std::vector<std::wstring>& selectedFolders)
{
    m_found.clear();
    for (const std::wstring& folder : selectedFolders)
    {
        if (!ScanTree(folder))
            return false;
        Collect();
    }
    m_nodes.clear();
    std::sort(m_found.begin(), m_found.end());
    return true;
}

bool EmptyFolderScan::ScanTree(const std::wstring& root)
{
    m_nodes.assign(1, ScanNode{});
    m_nodes[0].name = root;
    // Each level of the walk: its node, its next child, and how long the path is at that level.
    struct Level
    {
        size_t node;
        size_t nextChild;
        size_t pathLength;
    };
    std::wstring path = root;
    if (!ReadFolder(0, path))
        return false;
    std::vector<Level> stack{{0, 0, path.size()}};
    while (!stack.empty())
    {
        Level& level = stack.back();
        const ScanNode& node = m_nodes[level.node];
        if (level.nextChild == node.childCount)
        {
            stack.pop_back();
            continue;
        }
        const size_t child = node.firstChild + level.nextChild++;
        path.resize(level.pathLength);
        if (path.back() != L'\\')
            path += L'\\';
        path += m_nodes[child].name;
        if (!ReadFolder(child, path)) // may grow m_nodes: `node` is not used past here
            return false;
        stack.push_back({child, 0, path.size()});
    }
    return true;
}

bool EmptyFolderScan::ReadFolder(size_t node, const std::wstring& path)
{
    m_progress.SetCurrentFolder(path);
    if (m_progress.IsAborted())
        return false;
    FolderEnumerator entries(path);
    bool files = false;
    bool hiddenFiles = false;
    const size_t firstChild = m_nodes.size();
    while (entries.Next())
    {
        const WIN32_FIND_DATAW& data = entries.Entry();
        switch (WeighEntry(data.dwFileAttributes, data.dwReserved0, entries.Name()))
        {
        case EntryWeight::Subfolder: {
            ScanNode child;
            child.parent = node;
            child.name = entries.Name();
            m_nodes.push_back(std::move(child));
            break;
        }
        case EntryWeight::File:
            files = true;
            break;
        case EntryWeight::HiddenFile:
            hiddenFiles = true;
            break;
        case EntryWeight::Nothing:
            break;
        }
    }
    m_nodes[node].firstChild = firstChild;
    m_nodes[node].childCount = m_nodes.size() - firstChild;
    // A folder that cannot be read, or whose reading was cut short, may hold files: count it so.
    if (files || !entries.ReadWhole())
        Raise(node, ScanNode::kFiles);
    else if (hiddenFiles)
        Raise(node, ScanNode::kHiddenFiles);
    return true;
}

void EmptyFolderScan::Raise(size_t node, int level) noexcept
{
    for (; node != ScanNode::kNone && m_nodes[node].level < level; node = m_nodes[node].parent)
        m_nodes[node].level = level;
}

std::wstring EmptyFolderScan::FullPath(size_t node) const
{
    std::vector<size_t> chain;
    for (; node != ScanNode::kNone; node = m_nodes[node].parent)
        chain.push_back(node);
    std::wstring path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    {
        if (!path.empty() && path.back() != L'\\')
            path += L'\\';
        path += m_nodes[*it].name;
    }
    return path;
}

void EmptyFolderScan::Collect()
{
    // Only the topmost folder of an empty subtree is listed; children in their enumeration order.
    std::vector<size_t> stack{0};
    while (!stack.empty())
    {
        const ScanNode& node = m_nodes[stack.back()];
        const size_t index = stack.back();
        stack.pop_back();
        if (node.level == ScanNode::kEmpty)
        {
            m_found.push_back(FullPath(index));
            continue;
        }
        for (size_t child = node.childCount; child > 0; --child)
            stack.push_back(node.firstChild + child - 1);
    }
}

std::vector<std::wstring> FoldersStillEmpty(const std::vector<std::wstring>& folders)
{
    std::vector<std::wstring> empty;
    SilentProgress progress;
    for (const std::wstring& folder : folders)
    {
        if (!IsPlainFolder(folder))
            continue;
        EmptyFolderScan scan(progress);
        if (scan.Run({folder}) && scan.Found().size() == 1 && scan.Found().front() == folder)
            empty.push_back(folder);
    }
    return empty;
}
