#include "rename/RenameProgress.h"

#include "rename/RenameCheck.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winsupport/ShellFileOperation.h"

#include <shellapi.h>

#include <algorithm>

void RenameProgressDlg::Perform(HWND owner, const std::vector<RenameItem*>& items)
{
    if (items.empty())
        return;
    const MoveLists lists = BuildMoveLists(items);
    // The shell reports its own failures; there is nothing to add to them.
    (void)RunShellOperationOnLists(FO_MOVE, lists.sources, lists.destinations, FOF_ALLOWUNDO, owner);
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

MoveLists BuildMoveLists(const std::vector<RenameItem*>& items)
{
    MoveLists lists;
    for (const RenameItem* item : items)
    {
        lists.sources += item->folder->path + item->name + L'\0';
        lists.destinations += item->folder->path + item->newName + L'\0';
    }
    lists.sources += L'\0';
    lists.destinations += L'\0';
    return lists;
}
