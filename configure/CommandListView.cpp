#include "configure/CommandListView.h"

#include "configure/CommandTexts.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winsupport/StringUtil.h"
#include "winui/ScreenDpi.h"

#include <commctrl.h>

namespace
{
constexpr int kShowColumnWidth = 40; // DIPs
} // namespace

void CCommandListView::SetUp(UINT dpi)
{
    const LONG_PTR style = ::GetWindowLongPtrW(m_list, GWL_STYLE);
    ::SetWindowLongPtrW(m_list, GWL_STYLE, style | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER);
    ListView_SetExtendedListViewStyleEx(m_list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                                        LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const std::wstring titles[] = {LoadStringResource(IDS_COLUMN_SHOW), LoadStringResource(IDS_COLUMN_COMMAND)};
    for (int column = 0; column < 2; ++column)
    {
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        info.pszText = const_cast<wchar_t*>(titles[column].c_str());
        info.cx = ScreenDpi::DipsToPixels(kShowColumnWidth, dpi);
        info.iSubItem = column;
        ListView_InsertColumn(m_list, column, &info);
    }
    SizeColumns(dpi);
}

void CCommandListView::SizeColumns(UINT dpi)
{
    ListView_SetColumnWidth(m_list, 0, ScreenDpi::DipsToPixels(kShowColumnWidth, dpi));
    ListView_SetColumnWidth(m_list, 1, LVSCW_AUTOSIZE_USEHEADER);
}

void CCommandListView::Fill(const std::vector<MenuEntry>& entries)
{
    ListView_DeleteAllItems(m_list);
    for (const MenuEntry& entry : entries)
        Insert(Count(), entry);
    if (Count() > 0)
        Select(0);
}

std::vector<MenuEntry> CCommandListView::Entries() const
{
    std::vector<MenuEntry> entries;
    for (int row = 0; row < Count(); ++row)
        entries.push_back(Entry(row));
    return entries;
}

int CCommandListView::Count() const noexcept
{
    return ListView_GetItemCount(m_list);
}

int CCommandListView::Selected() const noexcept
{
    return ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
}

MenuEntry CCommandListView::Entry(int row) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ListView_GetItem(m_list, &item);
    return {static_cast<CommandType>(item.lParam), ListView_GetCheckState(m_list, row) != FALSE};
}

void CCommandListView::Insert(int row, const MenuEntry& entry)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(L"");
    item.lParam = static_cast<LPARAM>(entry.type);
    const int inserted = ListView_InsertItem(m_list, &item);
    if (inserted < 0)
        return;
    std::wstring text = WithoutAccessKey(CommandMenuText(entry.type));
    ListView_SetItemText(m_list, inserted, 1, text.data());
    ListView_SetCheckState(m_list, inserted, entry.show);
}

void CCommandListView::Delete(int row) noexcept
{
    ListView_DeleteItem(m_list, row);
}

void CCommandListView::Select(int row) noexcept
{
    ListView_SetItemState(m_list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_list, row, FALSE);
}

void CCommandListView::ClearSelection() noexcept
{
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
}
