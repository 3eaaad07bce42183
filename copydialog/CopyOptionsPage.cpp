#include "copydialog/CopyOptionsPage.h"

#include "winsupport/Resources.h"

void CCopyOptionsPage::FillList(int id, UINT firstString, int count) const
{
    const HWND list = Item(id);
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int index = 0; index < count; ++index)
        ::SendMessageW(list, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(LoadStringResource(firstString + static_cast<UINT>(index)).c_str()));
}

int CCopyOptionsPage::ListSelection(int id) const noexcept
{
    const LRESULT selected = ::SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
    return selected < 0 ? 0 : static_cast<int>(selected);
}

void CCopyOptionsPage::SelectListEntry(int id, int index) const noexcept
{
    ::SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
