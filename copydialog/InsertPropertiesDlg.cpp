#include "copydialog/InsertPropertiesDlg.h"

#include "copydialog/InsertFragments.h"
#include "winsupport/Resources.h"

#include <commctrl.h>

namespace
{
constexpr int kNameColumn = 0;
constexpr int kExampleColumn = 1;

UINT NoteOf(PropertyListState state) noexcept
{
    switch (state)
    {
    case PropertyListState::kNoPropertySystem:
        return IDS_INSERT_NO_PROPERTY_SYSTEM;
    case PropertyListState::kNoExample:
        return IDS_INSERT_NO_EXAMPLE;
    case PropertyListState::kNoProperties:
        return IDS_INSERT_NO_PROPERTIES;
    case PropertyListState::kAllEmpty:
        return IDS_INSERT_ALL_EMPTY;
    default:
        return 0;
    }
}

void InsertColumn(HWND list, int index, UINT textId, int width)
{
    std::wstring text = LoadStringResource(textId);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = width > 0 ? width : 100; // a special width is applied once both columns exist
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}
} // namespace

void CInsertPropertiesDlg::DeclareAnchors(AnchorLayout& layout, int right, int bottom)
{
    layout.AddAnchor(IDC_INSERT_PROPERTY_LIST, kAnchorStretch, kAnchorStretch, right, bottom);
    layout.AddAnchor(IDC_INSERT_PROPERTY_NOTE, kAnchorStretch, kAnchorMove, right, bottom);
}

bool CInsertPropertiesDlg::OnInitDialog()
{
    const InsertDialogMemory& memory = RememberedInsertState();
    SetCheck(IDC_INSERT_HIDE_EMPTY, memory.hideEmpty);
    m_listView = Item(IDC_INSERT_PROPERTY_LIST);
    ListView_SetExtendedListViewStyle(m_listView, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const int nameWidth = Dpi().DipsToPixels(memory.nameWidth);
    const int exampleWidth = Dpi().DipsToPixels(memory.exampleWidth);
    InsertColumn(m_listView, kNameColumn, IDS_INSERT_COLUMN_NAME, nameWidth);
    InsertColumn(m_listView, kExampleColumn, IDS_INSERT_COLUMN_EXAMPLE, exampleWidth);
    ListView_SetColumnWidth(m_listView, kNameColumn, nameWidth);
    ListView_SetColumnWidth(m_listView, kExampleColumn, exampleWidth);
    m_exampleFills = exampleWidth == LVSCW_AUTOSIZE_USEHEADER;
    return false;
}

void CInsertPropertiesDlg::OnLayout()
{
    // The page is made at its template's size and then placed over the tab: the example column
    // keeps filling the rest until the user gives it a width.
    if (m_listView && m_exampleFills)
        ListView_SetColumnWidth(m_listView, kExampleColumn, LVSCW_AUTOSIZE_USEHEADER);
}

void CInsertPropertiesDlg::OnDpiChanged(UINT oldDpi, UINT newDpi)
{
    if (!m_listView || oldDpi == 0)
        return;
    for (const int column : {kNameColumn, kExampleColumn})
    {
        const int width = ListView_GetColumnWidth(m_listView, column);
        if (width > 0)
            ListView_SetColumnWidth(m_listView, column,
                                    MulDiv(width, static_cast<int>(newDpi), static_cast<int>(oldDpi)));
    }
}

void CInsertPropertiesDlg::OnPageSelected()
{
    Refill();
    PutTextToInsert();
}

void CInsertPropertiesDlg::SaveState()
{
    if (!m_listView)
        return;
    InsertDialogMemory& memory = RememberedInsertState();
    memory.nameWidth = Dpi().PixelsToDips(ListView_GetColumnWidth(m_listView, kNameColumn));
    // A column the user never sized keeps filling the rest: a width stored back through 96-DPI
    // units may come out a pixel wider than the list and bring up a scroll bar.
    memory.exampleWidth = m_exampleFills ? LVSCW_AUTOSIZE_USEHEADER
                                         : Dpi().PixelsToDips(ListView_GetColumnWidth(m_listView, kExampleColumn));
}

void CInsertPropertiesDlg::Refill()
{
    const CFItem* example = Owner().Example();
    const bool hideEmpty = IsChecked(IDC_INSERT_HIDE_EMPTY);
    m_list = ListInsertProperties(example ? std::wstring(example->Path()) : std::wstring(), hideEmpty);

    // Filling selects the remembered row; only a user's selection changes what is remembered.
    m_filling = true;
    ::SendMessageW(m_listView, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(m_listView);
    const std::wstring& remembered = RememberedInsertState().property;
    for (size_t index = 0; index < m_list.rows.size(); ++index)
    {
        const InsertPropertyRow& row = m_list.rows[index];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_STATE;
        item.iItem = static_cast<int>(index);
        item.pszText = const_cast<wchar_t*>(row.displayName.c_str());
        if (row.name == remembered)
            item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        const int inserted = ListView_InsertItem(m_listView, &item);
        ListView_SetItemText(m_listView, inserted, kExampleColumn, const_cast<wchar_t*>(row.value.c_str()));
    }
    ::SendMessageW(m_listView, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_listView, nullptr, TRUE);
    m_filling = false;

    const UINT note = NoteOf(m_list.state);
    SetText(IDC_INSERT_PROPERTY_NOTE, note ? LoadStringResource(note) : std::wstring());
    const int selected = SelectedRow();
    if (selected >= 0)
        ListView_EnsureVisible(m_listView, selected, FALSE);
}

int CInsertPropertiesDlg::SelectedRow() const noexcept
{
    return ListView_GetNextItem(m_listView, -1, LVNI_SELECTED);
}

void CInsertPropertiesDlg::PutTextToInsert() const
{
    const int selected = SelectedRow();
    Owner().SetTextToInsert(selected >= 0 && static_cast<size_t>(selected) < m_list.rows.size()
                                ? PropertyFragment(m_list.rows[static_cast<size_t>(selected)].name)
                                : std::wstring());
}

bool CInsertPropertiesDlg::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_INSERT_HIDE_EMPTY && code == BN_CLICKED)
    {
        RememberedInsertState().hideEmpty = IsChecked(IDC_INSERT_HIDE_EMPTY);
        Refill();
        return true;
    }
    return CInsertPage::OnCommand(id, code, control);
}

std::optional<LRESULT> CInsertPropertiesDlg::OnNotify(const NMHDR& header)
{
    if (header.code == HDN_ENDTRACKW || header.code == HDN_DIVIDERDBLCLICKW)
    {
        m_exampleFills = false;
        return std::nullopt;
    }
    if (header.idFrom != IDC_INSERT_PROPERTY_LIST)
        return std::nullopt;
    if (header.code == LVN_ITEMCHANGED)
    {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (m_filling || !(change.uChanged & LVIF_STATE) || !(change.uNewState & LVIS_SELECTED) ||
            (change.uOldState & LVIS_SELECTED) || change.iItem < 0 ||
            static_cast<size_t>(change.iItem) >= m_list.rows.size())
            return std::nullopt;
        const InsertPropertyRow& row = m_list.rows[static_cast<size_t>(change.iItem)];
        Owner().SetTextToInsert(PropertyFragment(row.name));
        RememberedInsertState().property = row.name;
        return 0;
    }
    if (header.code == NM_DBLCLK)
    {
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0)
            Owner().EndWithOk();
        return 0;
    }
    return std::nullopt;
}
