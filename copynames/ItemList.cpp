#include "copynames/ItemList.h"

#include "winsupport/FolderEnumerator.h"
#include "winsupport/LongPath.h"
#include "winsupport/PlainFolder.h"
#include "winsupport/StringUtil.h"

#include <windows.h>

#include <algorithm>

namespace
{
uint64_t ToUint64(const FILETIME& time) noexcept
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

template <typename Data> void CopyFileData(CFItem& item, const Data& data) noexcept
{
    item.lastWriteTime = ToUint64(data.ftLastWriteTime);
    item.creationTime = ToUint64(data.ftCreationTime);
    item.lastAccessTime = ToUint64(data.ftLastAccessTime);
    item.size = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    ? 0
                    : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Sorts items by their names, case-insensitively and stably.
void SortByName(std::vector<std::unique_ptr<ExpandedCFItem>>& items)
{
    if (items.size() < 2)
        return;
    std::vector<std::pair<std::wstring, std::unique_ptr<ExpandedCFItem>>> keyed;
    keyed.reserve(items.size());
    for (auto& item : items)
    {
        std::wstring key = ToUpperCase(item->Name());
        keyed.emplace_back(std::move(key), std::move(item));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t index = 0; index < items.size(); ++index)
        items[index] = std::move(keyed[index].second);
}

// One level of a folder scan: what reading one folder gives.
struct FolderEntries
{
    std::vector<std::unique_ptr<ExpandedCFItem>> files;
    std::vector<std::unique_ptr<ExpandedCFItem>> subfolders;
};

class FolderScan
{
  public:
    FolderScan(std::wstring root, MAbortBase& abort, const FolderScanOptions& options)
        : m_root(std::move(root)), m_abort(abort), m_options(options),
          m_include(options.includeOn ? ToLowerCase(options.includePattern) : std::wstring()),
          m_exclude(options.excludeOn ? ToLowerCase(options.excludePattern) : std::wstring())
    {
    }

    // The pre-order of the tree below relativePath: the files of a folder, sorted, then each
    // subfolder, sorted, followed by its own contents. An explicit stack instead of recursion,
    // since a tree can be thousands of levels deep and the file manager's stack is not.
    void Run(const std::wstring& relativePath, int depth, std::vector<std::unique_ptr<ExpandedCFItem>>& out)
    {
        struct Level
        {
            std::vector<std::unique_ptr<ExpandedCFItem>> subfolders;
            size_t next = 0;
            int depth = 0;
        };
        std::vector<Level> stack;
        auto enter = [&](const std::wstring& relative, int levelDepth) {
            FolderEntries entries = Read(relative, levelDepth);
            for (auto& file : entries.files)
                out.push_back(std::move(file));
            stack.push_back({std::move(entries.subfolders), 0, levelDepth});
        };

        enter(relativePath, depth);
        while (!stack.empty() && !m_aborted)
        {
            Level& level = stack.back();
            if (level.next == level.subfolders.size())
            {
                stack.pop_back();
                continue;
            }
            std::unique_ptr<ExpandedCFItem> subfolder = std::move(level.subfolders[level.next++]);
            const int levelDepth = level.depth;
            const std::wstring relative(subfolder->Name());
            if (m_options.mode != FolderScanOptions::kFilesOnly)
                out.push_back(std::move(subfolder));
            if (levelDepth != 1)
                enter(relative, levelDepth > 1 ? levelDepth - 1 : 0); // invalidates level
        }
    }

  private:
    FolderEntries Read(const std::wstring& relativePath, int depth)
    {
        FolderEntries entries;
        const std::wstring folder = m_root + relativePath;
        m_abort.SetCurrentFolder(folder);
        if (m_abort.IsAborted())
        {
            m_aborted = true;
            return entries;
        }

        const bool subfoldersNeeded = !(depth == 1 && m_options.mode == FolderScanOptions::kFilesOnly);
        FolderEnumerator found(folder);
        while (found.Next())
        {
            const WIN32_FIND_DATAW& data = found.Entry();
            const std::wstring_view name = found.Name();
            if (IsPlainFolder(data.dwFileAttributes))
            {
                if (subfoldersNeeded)
                    entries.subfolders.push_back(MakeItem(relativePath, name, ExpandedCFItem::kDirectory, data));
            }
            else if (m_options.mode != FolderScanOptions::kFoldersOnly && Accepts(name))
            {
                const auto kind = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                                          (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                      ? ExpandedCFItem::kReparsePoint
                                      : ExpandedCFItem::kFile;
                entries.files.push_back(MakeItem(relativePath, name, kind, data));
            }
            if (m_abort.IsAborted())
            {
                m_aborted = true;
                break;
            }
        }

        SortByName(entries.files);
        SortByName(entries.subfolders);
        return entries;
    }

    bool Accepts(std::wstring_view name) const
    {
        if (!m_options.includeOn && !m_options.excludeOn)
            return true;
        const std::wstring lower = ToLowerCase(name);
        if (m_options.includeOn && !MatchWildcard(m_include, lower))
            return false;
        return !(m_options.excludeOn && MatchWildcard(m_exclude, lower));
    }

    std::unique_ptr<ExpandedCFItem> MakeItem(const std::wstring& relativePath, std::wstring_view name,
                                             ExpandedCFItem::Kind kind, const WIN32_FIND_DATAW& data)
    {
        std::wstring relative;
        relative.reserve(relativePath.size() + 1 + name.size());
        // A drive root is scanned with an empty relative path: its entries are "C:\x", not "C:\\x".
        if (!relativePath.empty())
            relative.append(relativePath).append(1, L'\\');
        relative.append(name);
        auto item = std::make_unique<ExpandedCFItem>(m_root, relative, kind);
        CopyFileData(*item, data);
        return item;
    }

    std::wstring m_root;
    MAbortBase& m_abort;
    const FolderScanOptions& m_options;
    std::wstring m_include;
    std::wstring m_exclude;
    bool m_aborted = false;
};
} // namespace

size_t NameStartOf(std::wstring_view path) noexcept
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? 0 : slash + 1;
}

FileCFItem::FileCFItem(std::wstring_view selectedPath)
{
    SetPath(selectedPath, NameStartOf(selectedPath));
}

FolderCFItem::FolderCFItem(std::wstring_view selectedPath)
{
    SetPath(selectedPath, NameStartOf(selectedPath));
}

ExpandedCFItem::ExpandedCFItem(std::wstring_view root, std::wstring_view relativePath, Kind kind) : m_kind(kind)
{
    m_ownPath.reserve(root.size() + relativePath.size());
    m_ownPath.append(root).append(relativePath);
    SetPath(m_ownPath, root.size());
}

void ItemList::AddPath(std::wstring_view path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(ToLongPath(std::wstring(path)).c_str(), GetFileExInfoStandard, &data))
        return;
    std::unique_ptr<CFItem> item;
    if (IsPlainFolder(data.dwFileAttributes))
    {
        item = std::make_unique<FolderCFItem>(path);
        m_containsFolders = true;
    }
    else
    {
        item = std::make_unique<FileCFItem>(path);
    }
    CopyFileData(*item, data);
    m_items.push_back(std::move(item));
}

void ItemList::Flatten()
{
    m_output.clear();
    m_totalSize = 0;
    for (const auto& item : m_items)
    {
        const auto* folder = dynamic_cast<const FolderCFItem*>(item.get());
        if (folder && expand)
        {
            if (includeFolders)
                m_output.push_back(folder);
            for (const auto& child : folder->children)
            {
                m_output.push_back(child.get());
                m_totalSize += child->size;
            }
        }
        else
        {
            m_output.push_back(item.get());
            m_totalSize += item->size;
        }
    }
}

void ItemList::Sort()
{
    changed = true;
    const int option = static_cast<int>(sortOption);
    if (option <= 0 || option >= kSortOptionCount || m_output.size() < 2)
        return;

    struct Entry
    {
        const CFItem* item;
        std::wstring name; // upper-case key
    };
    std::vector<Entry> entries;
    entries.reserve(m_output.size());
    for (const CFItem* item : m_output)
        entries.push_back({item, ToUpperCase(item->Name())});

    // Each descending order is the exact reverse of its ascending one, ties included.
    const auto ascending = static_cast<SortOption>(option % 2 == 0 ? option - 1 : option);
    auto less = [ascending](const Entry& a, const Entry& b) {
        switch (ascending)
        {
        case SortOption::SizeAscending:
            if (a.item->size != b.item->size)
                return a.item->size < b.item->size;
            if (a.item->IsFolder() != b.item->IsFolder())
                return a.item->IsFolder();
            break;
        case SortOption::ModifiedAscending:
            if (a.item->lastWriteTime != b.item->lastWriteTime)
                return a.item->lastWriteTime < b.item->lastWriteTime;
            break;
        case SortOption::PathLengthAscending:
            if (a.item->Path().size() != b.item->Path().size())
                return a.item->Path().size() < b.item->Path().size();
            break;
        default:
            break;
        }
        return a.name < b.name;
    };
    std::stable_sort(entries.begin(), entries.end(), less);
    if (ascending != sortOption)
        std::reverse(entries.begin(), entries.end());
    for (size_t index = 0; index < entries.size(); ++index)
        m_output[index] = entries[index].item;
}

void ItemList::SetSortOption(SortOption option)
{
    sortOption = option;
    if (option == SortOption::AsSelected)
        Flatten();
    Sort();
}

void ItemList::DropScanResults()
{
    expand = false;
    includeFolders = false;
    for (const auto& item : m_items)
        if (auto* folder = dynamic_cast<FolderCFItem*>(item.get()))
            folder->children.clear();
    Flatten();
    Sort();
}

void ScanFolder(FolderCFItem& folder, MAbortBase& abort, const FolderScanOptions& options)
{
    folder.children.clear();
    const std::wstring_view path = folder.Path();
    const size_t slash = path.rfind(L'\\');
    std::wstring root, relative;
    if (slash == std::wstring_view::npos)
    {
        root = std::wstring(path) + L'\\';
    }
    else
    {
        root = path.substr(0, slash + 1);
        relative = path.substr(slash + 1);
    }
    const int depth = options.depthLimited ? std::clamp(options.depth, 1, 100) : 0;
    FolderScan(std::move(root), abort, options).Run(relative, depth, folder.children);
}

void ScanSelectedFolders(ItemList& list, MAbortBase& abort, const FolderScanOptions& options)
{
    list.expand = true;
    list.includeFolders = options.mode != FolderScanOptions::kFilesOnly;
    for (const auto& item : list.m_items)
    {
        auto* folder = dynamic_cast<FolderCFItem*>(item.get());
        if (!folder)
            continue;
        ScanFolder(*folder, abort, options);
        if (abort.IsAborted())
        {
            list.DropScanResults();
            return;
        }
    }
    list.Flatten();
    list.Sort();
}

bool MatchWildcard(std::wstring_view pattern, std::wstring_view name) noexcept
{
    size_t p = 0;
    size_t n = 0;
    // Where to resume after the last '*' when a later part fails to match.
    size_t starPattern = std::wstring_view::npos;
    size_t starName = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && pattern[p] == L'/')
        {
            ++p;
            continue;
        }
        if (p < pattern.size() && pattern[p] == L'*')
        {
            starPattern = ++p;
            starName = n;
            continue;
        }
        if (p < pattern.size())
        {
            const bool escaped = pattern[p] == L'\\' && p + 1 < pattern.size();
            const wchar_t wanted = escaped ? pattern[p + 1] : pattern[p];
            if ((!escaped && wanted == L'?') || wanted == name[n])
            {
                p += escaped ? 2 : 1;
                ++n;
                continue;
            }
        }
        if (starPattern == std::wstring_view::npos)
            return false;
        p = starPattern;
        n = ++starName;
    }
    while (p < pattern.size() && (pattern[p] == L'*' || pattern[p] == L'/'))
        ++p;
    return p == pattern.size();
}

bool StatusCountsFolders(const ItemList& list, const FolderScanOptions& options) noexcept
{
    return list.ContainsFolders() && (!list.expand || options.mode != FolderScanOptions::kFilesOnly);
}
