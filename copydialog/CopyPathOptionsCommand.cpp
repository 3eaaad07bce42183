#include "copydialog/CopyPathOptionsCommand.h"

#include "copydialog/CopyPathsDlg.h"
#include "copynames/ItemList.h"

void CopyPathOptionsCommand::Invoke(const Selection& selection, KeyFlags, const CWindow& parent)
{
    ItemList list;
    for (const std::wstring_view path : selection.paths)
        list.AddPath(path);
    list.Flatten();
    CopyOptions options; // the list takes the order last chosen
    options.SetItemList(list);
    CCopyPathsDlg dialog(parent, options);
    dialog.Run();
}
