#include "rename/RenameModel.h"

#include "winsupport/FolderEnumerator.h"
#include "winsupport/LongPath.h"
#include "winsupport/StringUtil.h"

#include <windows.h>

#include <set>

namespace
{
constexpr size_t kMaxSelectedPath = 260;

std::wstring MapCase(std::wstring_view text, DWORD flags)
{
    if (text.empty())
        return {};
    std::wstring result(text.size(), L'\0');
    const int length = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()),
                                       result.data(), static_cast<int>(result.size()), nullptr, nullptr, 0);
    if (length <= 0)
        return std::wstring(text);
    result.resize(static_cast<size_t>(length));
    return result;
}

uint64_t FileTimeValue(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::wstring CurrentFolder()
{
    std::wstring folder(::GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

RenameItem MakeItem(const WIN32_FIND_DATAW& found, RenameFolder& folder)
{
    RenameItem item;
    item.attributes =
        ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1u : 0u) | ((found.dwFileAttributes >> 12) << 8);
    item.name = found.cFileName;
    item.key = ToUpperCase(item.name); // as the file system compares names, whatever the locale
    item.modified = FileTimeValue(found.ftLastWriteTime);
    item.created = FileTimeValue(found.ftCreationTime);
    item.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    item.readOnly = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    item.folder = &folder;
    return item;
}

// The entry the scan is at, unless the folder holds it already (then it stays as it is); answers its
// key.
const std::wstring& AddEntry(RenameFolder& folder, const FolderEnumerator& found)
{
    RenameItem item = MakeItem(found.Entry(), folder);
    std::wstring key = item.key;
    const auto [where, added] = folder.entries.emplace(std::move(key), std::move(item));
    if (added && !found.ShortName().empty())
        folder.shortNames.emplace(ToUpperCase(found.ShortName()), &where->second);
    return where->first;
}

void ScanFolder(RenameFolder& folder)
{
    FolderEnumerator entries(folder.path, FolderEnumerator::ShortNames::Read);
    while (entries.Next())
        AddEntry(folder, entries);
}
} // namespace

std::wstring ToUpperName(std::wstring_view text)
{
    return MapCase(text, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING);
}

std::wstring ToLowerName(std::wstring_view text)
{
    return MapCase(text, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING);
}

std::vector<RenameItem*> RenameModel::ListedItems() const
{
    std::vector<RenameItem*> items;
    for (const auto& [path, folder] : folders)
        for (auto& [key, item] : folder->entries)
            if (!item.notInList)
                items.push_back(&item);
    return items;
}

void RenameModel::NumberRows()
{
    for (auto& [path, folder] : folders)
        folder->folderCounter = 0;
    uint32_t row = 0;
    for (RenameItem* item : ListedItems())
    {
        item->listIndex = row++;
        item->folderIndex = item->folder->folderCounter++;
    }
}

void RenameModel::RemoveFromList(const std::vector<RenameItem*>& items)
{
    for (RenameItem* item : items)
    {
        item->included = false;
        item->notInList = true;
        item->newName.clear();
    }
    NumberRows();
}

RenameFolder& RenameModel::AddFolder(const std::wstring& path)
{
    if (const auto known = folders.find(path); known != folders.end())
        return *known->second;
    // Items of one folder are checked together whatever the spelling of their paths: it keeps the
    // first one met. A folder without an identity is known by its spelling alone.
    const std::optional<FileIdentity> identity = IdentifyItem(ToLongPath(path));
    if (identity)
        if (const auto same = m_foldersByIdentity.find(*identity); same != m_foldersByIdentity.end())
            return *same->second;
    auto folder = std::make_unique<RenameFolder>();
    folder->path = path;
    folder->displayPath = path;
    ScanFolder(*folder);
    RenameFolder& added = *folders.emplace(path, std::move(folder)).first->second;
    if (identity)
        m_foldersByIdentity.emplace(*identity, &added);
    return added;
}

std::vector<RenameItem*> RenameModel::RefreshFromDisk()
{
    std::vector<RenameItem*> vanished;
    for (auto& [path, folder] : folders)
    {
        std::set<std::wstring> found;
        FolderEnumerator entries(folder->path, FolderEnumerator::ShortNames::Read);
        while (entries.Next())
            found.insert(AddEntry(*folder, entries));
        if (!entries.ReadWhole())
            continue; // what the read missed may still be there
        for (auto& [key, item] : folder->entries)
            if (!found.contains(key))
                vanished.push_back(&item);
    }
    return vanished;
}

void RenameModel::EraseEntry(RenameItem& item)
{
    RenameFolder& folder = *item.folder;
    std::erase(folder.resolvedOrder, &item);
    std::erase_if(folder.shortNames, [&](const auto& entry) { return entry.second == &item; });
    const std::wstring key = item.key; // the item goes with its key
    folder.entries.erase(key);
}

RenameModel BuildRenameModel(std::span<const std::wstring> paths)
{
    RenameModel model;
    RenameFolder* previous = nullptr;
    for (const std::wstring_view path : paths)
    {
        if (path.size() >= kMaxSelectedPath)
            continue;
        const size_t slash = path.rfind(L'\\');
        RenameFolder* folder = nullptr;
        std::wstring_view name = path;
        if (slash != std::wstring_view::npos)
        {
            folder = &model.AddFolder(std::wstring(path.substr(0, slash + 1)));
            name = path.substr(slash + 1);
        }
        else
            folder = previous ? previous : &model.AddFolder(CurrentFolder());
        previous = folder;
        const auto found = folder->entries.find(ToUpperCase(name));
        if (found != folder->entries.end())
            found->second.notInList = false;
    }
    return model;
}
