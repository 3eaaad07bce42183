#include "copydialog/CopyPathOptionsCommand.h"

#include "copydialog/CopyPathsDlg.h"
#include "copynames/ItemList.h"

void CopyPathOptionsCommand::Invoke(const Selection& selection, KeyFlags, const CWindow& parent)
{
    ItemList list;
    for (const std::wstring_view path : selection.paths)
        list.AddPath(path);
    list.Flatten();
    // The dialog is made first: it reads the order last chosen, which the list then takes.
    CCopyPathsDlg dialog(parent);
    if (CCopyPathsDlg::CurrentSortOption() != list.sortOption)
        list.SetSortOption(CCopyPathsDlg::CurrentSortOption());
    dialog.SetItemList(list);
    dialog.Run();
}
