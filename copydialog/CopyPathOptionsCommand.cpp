#include "copydialog/CopyPathOptionsCommand.h"

#include "copydialog/CopyPathsDlg.h"
#include "copynames/ItemList.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

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

std::wstring CopyPathOptionsCommand::GetHelpText() const
{
    return LoadStringResource(IDS_HELP_COPY_WITH_OPTIONS);
}
