#include "rename/RenameCheck.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winsupport/ShellItemPath.h"
#include "winsupport/StringUtil.h"

#include <array>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace
{
constexpr size_t kMaxNameLength = 255;

ItemStatus NameStatus(const RenameFolder& folder, const RenameItem& item)
{
    const std::wstring& name = item.newName;
    if (name.empty())
        return ItemStatus::Empty;
    if (name == item.name)
        return ItemStatus::Unchanged;
    if (name.size() > kMaxNameLength)
        return ItemStatus::TooLong;
    if (name.front() == L' ' || name.back() == L' ' || name.back() == L'.')
        return ItemStatus::BadEnds;
    // The shell takes plain paths: through one, a device name reaches the device and a control or
    // forbidden character no file at all.
    if (IsDeviceName(name))
        return ItemStatus::DeviceName;
    if (!IsPlainName(name))
        return ItemStatus::BadCharacter;
    const std::wstring key = ToUpperCase(name);
    // Another entry's short name stays taken even when that entry is renamed: its next short name
    // is the file system's choice.
    const auto shortHolder = folder.shortNames.find(key);
    if (shortHolder != folder.shortNames.end() && shortHolder->second != &item)
        return ItemStatus::Existing;
    const auto holder = folder.entries.find(key);
    if (holder == folder.entries.end() || &holder->second == &item)
        return ItemStatus::Pending;
    const RenameItem& other = holder->second;
    return other.included && other.newName != other.name ? ItemStatus::Pending : ItemStatus::Existing;
}
} // namespace

// Names are keyed as the file system compares them (ordinal, ignoring case), never with a
// locale's linguistic casing: a Turkish "i" must still clash with "I".
void CheckFolder(RenameFolder& folder)
{
    std::vector<RenameItem*> pending;
    std::unordered_map<std::wstring, RenameItem*> targets; // upper-case new name -> first item taking it
    std::unordered_map<RenameItem*, RenameItem*> holders;  // item -> the other entry now holding its new name
    for (auto& [key, item] : folder.entries)
    {
        if (!item.included)
        {
            item.status = ItemStatus::Renamed;
            continue;
        }
        item.status = NameStatus(folder, item);
        const std::wstring target = ToUpperCase(item.newName);
        const auto [first, added] = targets.try_emplace(target, &item);
        if (!added)
        {
            if (first->second->status == ItemStatus::Pending)
                first->second->status = ItemStatus::Duplicate;
            if (item.status == ItemStatus::Pending)
                item.status = ItemStatus::Duplicate;
        }
        if (item.status == ItemStatus::Pending)
        {
            const auto holder = folder.entries.find(target);
            if (holder != folder.entries.end() && &holder->second != &item)
                holders[&item] = &holder->second;
        }
    }

    // Each item goes after the item that holds its new name now. Following the chains once keeps
    // this linear; whatever still waits at the end is part of a cycle or leads into one.
    folder.resolvedOrder.clear();
    std::unordered_set<RenameItem*> stuck;
    for (auto& [key, item] : folder.entries)
    {
        if (item.status != ItemStatus::Pending || stuck.contains(&item))
            continue;
        std::vector<RenameItem*> chain{&item};
        std::unordered_set<RenameItem*> inChain{&item};
        bool blocked = false;
        for (;;)
        {
            const auto holder = holders.find(chain.back());
            if (holder == holders.end() || holder->second->status != ItemStatus::Pending)
                break;
            if (inChain.contains(holder->second) || stuck.contains(holder->second))
            {
                blocked = true; // a cycle, or a way into one: none of them can go first
                break;
            }
            chain.push_back(holder->second);
            inChain.insert(holder->second);
        }
        if (blocked)
        {
            stuck.insert(chain.begin(), chain.end());
            continue;
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        {
            (*it)->status = ItemStatus::Renamed;
            folder.resolvedOrder.push_back(*it);
        }
    }
    for (auto& [key, item] : folder.entries)
        if (item.status == ItemStatus::Pending)
            item.status = ItemStatus::Existing;
}

void RecomputeNames(RenameModel& model, const PatternAnalysis& analysis)
{
    for (auto& [path, folder] : model.folders)
        for (auto& [key, item] : folder->entries)
        {
            item.status = ItemStatus::Renamed;
            ComposeNewName(item, analysis);
        }
    const bool invalid = std::any_of(analysis.segments.begin(), analysis.segments.end(),
                                     [](const Segment& s) { return s.kind == SegmentKind::Literal && s.invalidText; });
    for (auto& [path, folder] : model.folders)
    {
        if (!invalid)
        {
            CheckFolder(*folder);
            continue;
        }
        folder->resolvedOrder.clear();
        for (auto& [key, item] : folder->entries)
            item.status = ItemStatus::InvalidText;
    }
}

RenameSummary SummarizeStatus(const RenameModel& model)
{
    RenameSummary summary;
    bool anyError = false;
    for (const auto& [path, folder] : model.folders)
        for (const auto& [key, item] : folder->entries)
        {
            if (!item.included)
                continue;
            if (item.status != ItemStatus::Unchanged)
                summary.anyChange = true;
            if (item.status == ItemStatus::Renamed || item.status == ItemStatus::Unchanged)
                continue;
            if (!anyError)
                summary.overallStatus = item.status;
            else if (summary.overallStatus != item.status)
                summary.overallStatus = ItemStatus::Pending;
            anyError = true;
        }
    return summary;
}

std::wstring ProblemSummary(const RenameModel& model)
{
    std::array<size_t, static_cast<size_t>(ItemStatus::DeviceName) + 1> counts{};
    for (const auto& [path, folder] : model.folders)
        for (const auto& [key, item] : folder->entries)
            if (item.included && static_cast<size_t>(item.status) < counts.size())
                ++counts[static_cast<size_t>(item.status)];
    struct Line
    {
        ItemStatus status;
        UINT singular;
        UINT plural;
        UINT appended;
    };
    constexpr Line kLines[] = {
        {ItemStatus::Duplicate, IDS_RENAME_SAME_NAME_ONE, IDS_RENAME_SAME_NAME_MANY, 0},
        {ItemStatus::Existing, IDS_RENAME_EXISTING_ONE, IDS_RENAME_EXISTING_MANY, 0},
        {ItemStatus::Empty, IDS_RENAME_EMPTY_ONE, IDS_RENAME_EMPTY_MANY, 0},
        {ItemStatus::BadEnds, IDS_RENAME_BAD_ENDS_ONE, IDS_RENAME_BAD_ENDS_MANY, IDS_RENAME_BAD_ENDS_RULE},
        {ItemStatus::TooLong, IDS_RENAME_TOO_LONG_ONE, IDS_RENAME_TOO_LONG_MANY, 0},
        {ItemStatus::InvalidText, IDS_RENAME_INVALID_TEXT_ONE, IDS_RENAME_INVALID_TEXT_MANY,
         IDS_RENAME_INVALID_CHARACTERS},
        {ItemStatus::BadCharacter, IDS_RENAME_INVALID_TEXT_ONE, IDS_RENAME_INVALID_TEXT_MANY,
         IDS_RENAME_BAD_CHARACTER_RULE},
        {ItemStatus::DeviceName, IDS_RENAME_DEVICE_ONE, IDS_RENAME_DEVICE_MANY, IDS_RENAME_DEVICE_RULE},
    };
    std::wstring text = LoadStringResource(IDS_RENAME_UNABLE);
    for (const Line& line : kLines)
    {
        const size_t n = counts[static_cast<size_t>(line.status)];
        if (n == 0)
            continue;
        text += L"\r\n" + std::to_wstring(n) + L" " + LoadStringResource(n == 1 ? line.singular : line.plural);
        if (line.appended)
            text += L" " + LoadStringResource(line.appended);
    }
    return text;
}
