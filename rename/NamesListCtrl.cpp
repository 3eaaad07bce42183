#include "rename/NamesListCtrl.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winsupport/StringUtil.h"
#include "winui/ScaledBitmap.h"
#include "winui/WindowHandles.h"

#include <algorithm>

namespace
{
constexpr int kStateImageSize = 16;

void AddColumn(HWND list, int index, UINT textId)
{
    std::wstring text = LoadStringResource(textId);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = 100;
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

// The state images, in order, at the size of the screen: 16 by 16 at 96 DPI.
UniqueHimagelist LoadStateImages(UINT dpi)
{
    const int size = ScreenDpi::DipsToPixels(kStateImageSize, dpi);
    UniqueHimagelist images(
        ::ImageList_Create(size, size, ILC_COLOR32, IDB_RENAME_STATE_LAST - IDB_RENAME_STATE_FIRST + 1, 0));
    if (!images)
        return images;
    for (int id = IDB_RENAME_STATE_FIRST; id <= IDB_RENAME_STATE_LAST; ++id)
    {
        const UniqueHbitmap bitmap = LoadScaledBitmap(id, IDB_RENAME_STATE_LARGE_FIRST + (id - IDB_RENAME_STATE_FIRST),
                                                      size, AlphaForm::Straight);
        if (bitmap)
            ::ImageList_Add(images.Get(), bitmap.Get(), nullptr);
    }
    return images;
}
} // namespace

void CNamesListCtrl::SetUp(HWND list, bool folderColumn, const ScreenDpi& dpi)
{
    Attach(list);
    m_folderColumn = folderColumn;
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                                        LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    AddColumn(list, 0, IDS_RENAME_COLUMN_OLD);
    AddColumn(list, 1, IDS_RENAME_COLUMN_NEW);
    if (folderColumn)
        AddColumn(list, 2, IDS_RENAME_COLUMN_FOLDER);
    SizeStateImages(dpi);
    // The state images come with the rows' texts, on demand.
    ListView_SetCallbackMask(list, LVIS_STATEIMAGEMASK);
}

void CNamesListCtrl::SizeStateImages(const ScreenDpi& dpi)
{
    UniqueHimagelist images = LoadStateImages(dpi.Dpi());
    ListView_SetImageList(Hwnd(), images.Get(), LVSIL_STATE);
    m_states = std::move(images); // the list lets go of the old list before it is destroyed
}

void CNamesListCtrl::SetRows(std::vector<RenameItem*> rows)
{
    m_rows = std::move(rows);
    ListView_SetItemCountEx(Hwnd(), static_cast<int>(m_rows.size()), 0);
}

void CNamesListCtrl::FitColumns(const ScreenDpi& dpi)
{
    const HWND list = Hwnd();
    int widest = 0;
    if (const HDC dc = ::GetDC(list))
    {
        const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
        for (const RenameItem* item : m_rows)
        {
            SIZE size{};
            if (::GetTextExtentPoint32W(dc, item->name.c_str(), static_cast<int>(item->name.size()), &size))
                widest = std::max(widest, static_cast<int>(size.cx));
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
    }
    // The state image and the label's margins come before the text.
    const int first = widest + dpi.DipsToPixels(kStateImageSize) + dpi.DipsToPixels(12) + dpi.DipsToPixels(20);
    ListView_SetColumnWidth(list, 0, first);
    if (m_folderColumn)
        ListView_SetColumnWidth(list, 1, first + dpi.DipsToPixels(40));
    ListView_SetColumnWidth(list, m_folderColumn ? 2 : 1, LVSCW_AUTOSIZE_USEHEADER);
}

void CNamesListCtrl::Redraw() const noexcept
{
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

std::vector<int> CNamesListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(Hwnd(), -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(Hwnd(), row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

std::vector<RenameItem*> CNamesListCtrl::SelectedItems() const
{
    std::vector<RenameItem*> items;
    for (const int row : SelectedRows())
        if (static_cast<size_t>(row) < m_rows.size())
            items.push_back(m_rows[static_cast<size_t>(row)]);
    return items;
}

void CNamesListCtrl::RemoveRows(const std::vector<int>& rows)
{
    std::vector<bool> removed(m_rows.size(), false);
    for (const int row : rows)
        if (row >= 0 && static_cast<size_t>(row) < m_rows.size())
            removed[static_cast<size_t>(row)] = true;
    std::vector<RenameItem*> kept;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!removed[i])
            kept.push_back(m_rows[i]);
    // A virtual list keeps selection by row number: what stays starts unselected.
    ListView_SetItemState(Hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetRows(std::move(kept));
    Redraw();
}

void CNamesListCtrl::SelectAll() const noexcept
{
    ListView_SetItemState(Hwnd(), -1, LVIS_SELECTED, LVIS_SELECTED);
}

void CNamesListCtrl::InvertSelection() const
{
    const int count = static_cast<int>(m_rows.size());
    std::vector<bool> selected(m_rows.size(), false);
    for (const int row : SelectedRows())
        selected[static_cast<size_t>(row)] = true;
    ListView_SetItemState(Hwnd(), -1, 0, LVIS_SELECTED);
    for (int row = 0; row < count; ++row)
        if (!selected[static_cast<size_t>(row)])
            ListView_SetItemState(Hwnd(), row, LVIS_SELECTED, LVIS_SELECTED);
}

int CNamesListCtrl::StateImage(ItemStatus status) noexcept
{
    switch (status)
    {
    case ItemStatus::Renamed:
        return 1;
    case ItemStatus::Unchanged:
        return 2;
    case ItemStatus::Empty:
        return 4;
    case ItemStatus::Duplicate:
        return 5;
    case ItemStatus::Existing:
        return 6;
    case ItemStatus::BadEnds:
    case ItemStatus::TooLong:
    case ItemStatus::InvalidText:
    case ItemStatus::BadCharacter:
    case ItemStatus::DeviceName:
        return 7;
    default:
        return 3; // pending, or not used
    }
}

std::wstring CNamesListCtrl::StatusText(const RenameItem& item)
{
    if (item.status == ItemStatus::Renamed && !item.included)
        return LoadStringResource(IDS_RENAME_STATUS_NOT_INCLUDED);
    const auto status = static_cast<int>(item.status);
    return LoadStringResource(IDS_RENAME_STATUS_FIRST + (status >= 0 && status <= 11 ? status : 0));
}

std::optional<std::wstring> CNamesListCtrl::AccessibleDescription(long child) const
{
    if (child <= CHILDID_SELF || static_cast<size_t>(child) > m_rows.size())
        return std::nullopt;
    return StatusText(*m_rows[static_cast<size_t>(child) - 1]);
}

std::optional<LRESULT> CNamesListCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETOBJECT)
        return m_accessible.OnGetObject(Hwnd(), wParam, lParam);
    return CListViewCtrl::OnMessage(message, wParam, lParam);
}

void CNamesListCtrl::OnContextMenu(POINT point)
{
    const UniqueHmenu menu(::LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(IDM_RENAME_NAMES)));
    if (!menu)
        return;
    const HMENU popup = ::GetSubMenu(menu.Get(), 0);
    const size_t selected = SelectedRows().size();
    for (int index = 0, count = ::GetMenuItemCount(popup); index < count; ++index)
    {
        wchar_t text[128] = {};
        if (::GetMenuStringW(popup, static_cast<UINT>(index), text, 128, MF_BYPOSITION) <= 0)
            continue;
        const std::wstring resolved = ResolvePlural(text, selected);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<wchar_t*>(resolved.c_str());
        ::SetMenuItemInfoW(popup, static_cast<UINT>(index), TRUE, &info);
    }
    const HWND parent = ::GetParent(Hwnd());
    const int command = static_cast<int>(
        ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, point.x,
                         point.y, 0, parent, nullptr));
    if (command != 0)
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

std::optional<LRESULT> CNamesListCtrl::OnParentMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return std::nullopt;
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    switch (header.code)
    {
    case LVN_GETDISPINFOW:
        FillRow(reinterpret_cast<NMLVDISPINFOW&>(header));
        return 0;
    case NM_CUSTOMDRAW:
        return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    default:
        return std::nullopt;
    }
}

void CNamesListCtrl::FillRow(NMLVDISPINFOW& info) const
{
    LVITEMW& item = info.item;
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= m_rows.size())
        return;
    const RenameItem& row = *m_rows[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
    {
        const std::wstring& text = item.iSubItem == 0   ? row.name
                                   : item.iSubItem == 1 ? row.newName
                                                        : row.folder->displayPath;
        const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        std::copy_n(text.data(), length, item.pszText);
        item.pszText[length] = L'\0';
    }
    if (item.mask & LVIF_STATE)
    {
        item.state =
            (item.state & ~LVIS_STATEIMAGEMASK) | static_cast<UINT>(INDEXTOSTATEIMAGEMASK(StateImage(row.status)));
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

LRESULT CNamesListCtrl::CustomDraw(NMLVCUSTOMDRAW& draw) const
{
    switch (draw.nmcd.dwDrawStage)
    {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const size_t row = static_cast<size_t>(draw.nmcd.dwItemSpec);
        const bool manual = row < m_rows.size() && m_rows[row]->manualName;
        return manual && m_boldFont ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        // Only the new name of a pasted row is bold; the other cells keep the list's font.
        const HFONT font =
            draw.iSubItem == 1 ? m_boldFont : reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
        ::SelectObject(draw.nmcd.hdc, font);
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}
