#include "foldertools/ExtractionGroups.h"

#include "resources/resource.h"
#include "winsupport/FolderEnumerator.h"
#include "winsupport/LongPath.h"
#include "winsupport/PlainFolder.h"
#include "winsupport/Resources.h"
#include "winsupport/ShellItemPath.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace
{
bool HasParentSource(const NameRecord& record)
{
    return std::find(record.sources.begin(), record.sources.end(), std::wstring()) != record.sources.end();
}
} // namespace

bool NoCaseLess::operator()(const std::wstring& a, const std::wstring& b) const noexcept
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

bool ExtractionGroups::ReadFolder(ExtractionGroup& group, const std::wstring& folder, const std::wstring& source,
                                  std::vector<FolderEntry>& list)
{
    // A parent's entry answers to its short name too: an entry moved up under that name would
    // replace it.
    const bool parent = source.empty();
    // Read whole or not at all: a name missed here could be overwritten by a move.
    FolderEnumerator entries(folder, parent ? FolderEnumerator::ShortNames::Read : FolderEnumerator::ShortNames::Skip);
    while (entries.Next())
    {
        std::wstring name(entries.Name());
        auto [it, inserted] = group.names.try_emplace(name, NameRecord{name, {}, nullptr});
        it->second.sources.push_back(source);
        list.push_back({std::move(name), &it->second});
        if (parent && !entries.ShortName().empty())
        {
            const std::wstring shortName(entries.ShortName());
            NameRecord& held = group.names.try_emplace(shortName, NameRecord{shortName, {}, nullptr}).first->second;
            if (!HasParentSource(held))
                held.sources.push_back(source);
        }
    }
    return entries.ReadWhole();
}

ExtractionGroup* ExtractionGroups::GroupOf(const std::wstring& parent)
{
    // One folder is one group however its path is spelt (letter case, short names): two groups of
    // one folder would not see each other's names clash. Without an identity (some network file
    // systems), the path's text is all there is.
    const std::optional<FileIdentity> identity = IdentifyItem(ToLongPath(parent));
    const auto known = identity ? m_parentKeys.find(*identity) : m_parentKeys.end();
    const std::wstring key = known != m_parentKeys.end() ? known->second : parent;
    if (m_unreadableParents.contains(key))
        return nullptr;
    if (const auto found = m_groups.find(key); found != m_groups.end())
    {
        // Spelt as another folder is, yet not that folder (a case-sensitive folder's twin): leave
        // it alone rather than mix the two.
        if (identity && known == m_parentKeys.end())
            return nullptr;
        return &found->second;
    }

    ExtractionGroup group;
    group.parent = parent;
    // Without the parent's names the clash test would be blind: leave that parent alone.
    if (!ReadFolder(group, parent.substr(0, parent.size() - 1), std::wstring(), group.parentEntries))
    {
        m_unreadableParents.insert(parent);
        return nullptr;
    }
    if (identity)
        m_parentKeys.emplace(*identity, parent);
    return &m_groups.emplace(parent, std::move(group)).first->second;
}

const ExtractionGroup* ExtractionGroups::FindGroup(const std::wstring& folder) const
{
    std::wstring key = folder;
    if (key.empty() || key.back() != L'\\')
        key += L'\\';
    if (const std::optional<FileIdentity> identity = IdentifyItem(ToLongPath(key)))
        if (const auto known = m_parentKeys.find(*identity); known != m_parentKeys.end())
            key = known->second;
    const auto found = m_groups.find(key);
    return found == m_groups.end() ? nullptr : &found->second;
}

void ExtractionGroups::AddSelected(const std::wstring& path)
{
    if (!IsPlainFolder(path))
        return;
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size())
        return;
    const std::wstring name = path.substr(slash + 1);
    ExtractionGroup* const found = GroupOf(path.substr(0, slash + 1));
    if (!found)
        return;
    ExtractionGroup& group = *found;
    const auto entry = std::find_if(group.parentEntries.begin(), group.parentEntries.end(),
                                    [&](const FolderEntry& parentEntry) { return parentEntry.name == name; });
    if (entry == group.parentEntries.end() || entry->record->extraction)
        return; // not there as spelled, or selected twice
    auto extraction = std::make_unique<Extraction>();
    extraction->name = name;
    std::vector<FolderEntry> entries;
    if (!ReadFolder(group, path, name, entries))
    {
        // A folder that cannot be read is not extracted (and so never deleted); undo what was read.
        for (const FolderEntry& read : entries)
            read.record->sources.pop_back();
        for (auto it = group.names.begin(); it != group.names.end();)
            it = it->second.sources.empty() ? group.names.erase(it) : std::next(it);
        return;
    }
    extraction->entries = std::move(entries);
    entry->record->extraction = extraction.get();
    group.extractions.push_back(std::move(extraction));
}

void ExtractionGroups::AssignTemporaryNames()
{
    for (auto& [parent, group] : m_groups)
    {
        std::vector<NameRecord*> own;
        for (auto& [key, record] : group.names)
            if (record.extraction && record.sources.size() == 2 && HasParentSource(record))
                own.push_back(&record);
        for (NameRecord* record : own)
        {
            for (int counter = 0; counter <= 999999; ++counter)
            {
                wchar_t suffix[8];
                std::swprintf(suffix, 8, L"%06d", counter);
                std::wstring candidate = record->name + suffix;
                if (group.names.contains(candidate))
                    continue;
                group.names.emplace(candidate, NameRecord{candidate, {L"."}, nullptr});
                record->extraction->temporaryName = std::move(candidate);
                break;
            }
        }
    }
}

std::wstring ExtractionGroups::InexactPath() const
{
    for (const auto& [key, group] : m_groups)
    {
        for (const auto& extraction : group.extractions)
        {
            // The folder is renamed or moved out of, then deleted: its path must name it alone
            // until the end.
            const std::wstring folder = group.parent + extraction->name;
            if (ShellItemPath(folder).empty() || !KeepsItsSpelling(folder))
                return folder;
            if (!extraction->temporaryName.empty() && ShellTargetPath(group.parent, extraction->temporaryName).empty())
                return folder;
            for (const FolderEntry& entry : extraction->entries)
            {
                // Each entry moves up under its own name, which the parent must then take as it is.
                const std::wstring source = folder + L"\\" + entry.name;
                if (ShellItemPath(source).empty() || ShellTargetPath(group.parent, entry.name).empty())
                    return source;
            }
        }
    }
    return {};
}

bool ExtractionGroups::KeepsItsSpelling(const std::wstring& path) const
{
    for (size_t end = path.find(L'\\'); end != std::wstring::npos; end = path.find(L'\\', end + 1))
    {
        const size_t next = path.find(L'\\', end + 1);
        const std::wstring_view name =
            std::wstring_view(path).substr(end + 1, next == std::wstring::npos ? std::wstring::npos : next - end - 1);
        if (!EndsInPeriodOrSpace(name))
            continue;
        const ExtractionGroup* const group = FindGroup(path.substr(0, end + 1));
        if (!group)
            continue;
        // A plain path drops trailing periods and spaces (all of them, or one, as the name stands
        // last or inside the path): none of those readings may become a name the folder holds.
        for (std::wstring_view shorter = name; EndsInPeriodOrSpace(shorter);)
        {
            shorter.remove_suffix(1);
            if (!shorter.empty() && group->names.contains(std::wstring(shorter)))
                return false;
        }
    }
    return true;
}

bool ExtractionGroups::Clashes(const NameRecord& record)
{
    if (record.extraction)
        return record.sources.size() > 2 || (record.sources.size() > 1 && !HasParentSource(record));
    return record.sources.size() > 1;
}

bool ExtractionGroups::HasClashes() const
{
    for (const auto& [parent, group] : m_groups)
        for (const auto& [key, record] : group.names)
            if (Clashes(record))
                return true;
    return false;
}

size_t ExtractionGroups::ExtractionCount() const
{
    size_t count = 0;
    for (const auto& [parent, group] : m_groups)
        count += group.extractions.size();
    return count;
}

std::wstring ExtractionGroups::ClashHeading() const
{
    return FormatStringResource(IDS_CLASH_HEADING,
                                {LoadStringResource(ExtractionCount() <= 1 ? IDS_CLASH_FOLDER : IDS_CLASH_FOLDERS)});
}

std::wstring ExtractionGroups::ClashDetails() const
{
    std::wstring details;
    for (const auto& [parent, group] : m_groups)
    {
        if (std::none_of(group.names.begin(), group.names.end(),
                         [](const auto& entry) { return Clashes(entry.second); }))
            continue;
        details += FormatStringResource(IDS_CLASH_EXTRACTING_INTO, {group.parent}) + L"\n\n";
        for (const auto& [key, record] : group.names)
        {
            if (!Clashes(record))
                continue;
            details += FormatStringResource(IDS_CLASH_EXISTS_IN, {record.name}) + L"\n";
            for (const std::wstring& source : record.sources)
                details += (source.empty() ? LoadStringResource(IDS_CLASH_THIS_FOLDER)
                                           : FormatStringResource(IDS_CLASH_SUBFOLDER, {source})) +
                           L"\n";
        }
        details += L"\n";
    }
    return details;
}

std::vector<MovePair> ExtractionGroups::Renames() const
{
    std::vector<MovePair> renames;
    for (const auto& [parent, group] : m_groups)
        for (const auto& extraction : group.extractions)
            if (!extraction->temporaryName.empty())
                renames.push_back({group.parent + extraction->name, group.parent + extraction->temporaryName});
    return renames;
}

std::vector<MovePair> ExtractionGroups::Moves() const
{
    std::vector<MovePair> moves;
    for (const auto& [parent, group] : m_groups)
        for (const auto& extraction : group.extractions)
            for (const FolderEntry& entry : extraction->entries) // each keeps its own spelling
                moves.push_back(
                    {group.parent + extraction->CurrentName() + L"\\" + entry.name, group.parent + entry.name});
    return moves;
}

std::vector<std::wstring> ExtractionGroups::Deletions() const
{
    std::vector<std::wstring> deletions;
    for (const auto& [parent, group] : m_groups)
        for (const auto& extraction : group.extractions)
            deletions.push_back(group.parent + extraction->CurrentName());
    return deletions;
}
