#include "rename/RenameProgress.h"

#include "resources/resource.h"
#include "winsupport/FileIdentity.h"
#include "winsupport/LongPath.h"
#include "winsupport/Resources.h"
#include "winsupport/ShellItemPath.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <span>

namespace
{
using Stop = RenameOutcome::Stop;

constexpr size_t kListedNames = 10; // per list of the stopped message; the rest are counted

// The paths of one rename. Every look at them on disk goes through the long form: a plain path
// drops a trailing period or space of a name and reaches its twin.
std::wstring SourcePath(const RenameItem& item)
{
    return item.folder->path + item.name;
}

std::wstring TargetPath(const RenameItem& item)
{
    return item.folder->path + item.newName;
}

enum class Presence
{
    Present,
    Absent,
    Unknown, // the file system would not say
};

Presence LookUp(const std::wstring& path)
{
    const std::wstring longPath = ToLongPath(path);
    if (::GetFileAttributesW(longPath.c_str()) != INVALID_FILE_ATTRIBUTES)
        return Presence::Present;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Presence::Absent : Presence::Unknown;
}

bool IsCaseOnly(const RenameItem& item)
{
    return ::CompareStringOrdinal(item.name.data(), static_cast<int>(item.name.size()), item.newName.data(),
                                  static_cast<int>(item.newName.size()), TRUE) == CSTR_EQUAL;
}

// Whether what answers to the path is the item: by identity, or, where the file system gives none,
// by the name differing in case only.
bool IsItem(const std::wstring& path, const RenameItem& item, const std::optional<FileIdentity>& identity)
{
    return identity ? IdentifyItem(ToLongPath(path)) == identity : IsCaseOnly(item);
}

// One rename: the new name must be free on disk now (no entry answers to it by its long or short
// name, whatever appeared since the checks) unless it is the item's own; after the move the item
// must be there.
Stop RenameOne(const RenameItem& item, HWND owner, ShellOperationResult& shell)
{
    const std::wstring source = SourcePath(item);
    const std::wstring target = TargetPath(item);
    if (LookUp(source) != Presence::Present)
        return Stop::Failed;
    const std::optional<FileIdentity> identity = IdentifyItem(ToLongPath(source));
    switch (LookUp(target))
    {
    case Presence::Present:
        if (!IsItem(target, item, identity))
            return Stop::TargetTaken;
        break;
    case Presence::Absent:
        break;
    case Presence::Unknown:
        return Stop::Failed; // it may be taken
    }
    shell = RunShellOperation(FO_MOVE, {source}, {target}, FOF_ALLOWUNDO, owner);
    // The shell may answer success for a move it did not make.
    if (identity)
        return IsItem(target, item, identity) ? Stop::None : Stop::Failed;
    const bool moved = LookUp(target) == Presence::Present && (IsCaseOnly(item) || LookUp(source) == Presence::Absent);
    return moved ? Stop::None : Stop::Failed;
}

// "Renamed (12):" and the first pairs "old -> new", the others counted.
std::wstring PairList(UINT heading, std::span<RenameItem* const> items)
{
    std::wstring text = FormatStringResource(heading, static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size() && i < kListedNames; ++i)
        text += L"\r\n" + FormatStringResource(IDS_RENAME_PAIR, {items[i]->name, items[i]->newName});
    if (items.size() > kListedNames)
        text += L"\r\n" + FormatStringResource(IDS_RENAME_MORE, static_cast<int>(items.size() - kListedNames));
    return text;
}
} // namespace

RenameOutcome RenameProgressDlg::Perform(HWND owner, const std::vector<RenameItem*>& items)
{
    RenameOutcome outcome;
    // Every item and new name must reach the shell exactly before anything moves, as they would
    // have to for one operation over them all.
    for (const RenameItem* item : items)
    {
        const std::wstring source = SourcePath(*item);
        if (ShellItemPath(source).empty())
            outcome.shell.inexactPath = source;
        else if (ShellTargetPath(item->folder->path, item->newName).empty())
            outcome.shell.inexactPath = TargetPath(*item);
        if (!outcome.shell.inexactPath.empty())
        {
            outcome.shell.code = ERROR_INVALID_NAME;
            outcome.stop = Stop::Refused;
            return outcome;
        }
    }
    for (const RenameItem* item : items)
    {
        outcome.stop = RenameOne(*item, owner, outcome.shell);
        if (outcome.stop != Stop::None)
            break;
        ++outcome.renamed;
    }
    return outcome;
}

std::vector<RenameItem*> PlanRenames(const RenameModel& model)
{
    // Deeper folders first, so renaming a folder never changes a path still to be used.
    std::vector<const RenameFolder*> order;
    for (const auto& [path, folder] : model.folders)
    {
        auto place = std::find_if(order.begin(), order.end(), [&](const RenameFolder* placed) {
            const int length = static_cast<int>(placed->path.size());
            return placed->path.size() < path.size() &&
                   ::CompareStringOrdinal(path.data(), length, placed->path.data(), length, TRUE) == CSTR_EQUAL;
        });
        order.insert(place, folder.get());
    }
    std::vector<RenameItem*> items;
    for (const RenameFolder* folder : order)
        for (RenameItem* item : folder->resolvedOrder)
            if (item->newName != item->name)
                items.push_back(item);
    return items;
}

std::wstring StoppedMessage(const std::vector<RenameItem*>& items, const RenameOutcome& outcome)
{
    if (outcome.renamed >= items.size())
        return {};
    const RenameItem& stopped = *items[outcome.renamed];
    std::wstring text =
        FormatStringResource(outcome.stop == Stop::TargetTaken ? IDS_RENAME_STOPPED_TAKEN : IDS_RENAME_STOPPED_FAILED,
                             {stopped.name, stopped.newName});
    if (outcome.renamed == 0)
        return text + L"\r\n\r\n" + LoadStringResource(IDS_RENAME_NONE_DONE);
    const std::span<RenameItem* const> all(items);
    return text + L"\r\n\r\n" + PairList(IDS_RENAME_DONE_LIST, all.first(outcome.renamed)) + L"\r\n\r\n" +
           PairList(IDS_RENAME_NOT_DONE_LIST, all.subspan(outcome.renamed));
}
