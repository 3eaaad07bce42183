#include "foldertools/FoldersListView.h"

#include "winui/ScreenDpi.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace
{
// The shell's folder icon at size by size pixels: extracted at that size where the shell says
// where it lives, else its small icon (which the image list scales).
UniqueHicon FolderIcon(int size)
{
    SHSTOCKICONINFO stock{};
    stock.cbSize = sizeof(stock);
    HICON icon = nullptr;
    if (SUCCEEDED(::SHGetStockIconInfo(SIID_FOLDER, SHGSI_ICONLOCATION, &stock)) &&
        SUCCEEDED(::SHDefExtractIconW(stock.szPath, stock.iIcon, 0, &icon, nullptr, static_cast<UINT>(size))) && icon)
        return UniqueHicon(icon);
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                         SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON))
        return UniqueHicon(info.hIcon);
    return {};
}
} // namespace

void FoldersListView::Attach(HWND list, UINT dpi)
{
    m_list = list;
    ListView_SetExtendedListViewStyleEx(m_list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                                        LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SizeIcons(dpi);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(m_list, 0, &column);
    FitColumn();
}

void FoldersListView::SizeIcons(UINT dpi)
{
    const int size = ScreenDpi::DipsToPixels(16, dpi);
    UniqueHimagelist icons(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
    const UniqueHicon icon = FolderIcon(size);
    if (icons && icon)
        ::ImageList_ReplaceIcon(icons.Get(), -1, icon.Get());
    // The template shares the image list: the list view never destroys it, this object does.
    ListView_SetImageList(m_list, icons.Get(), LVSIL_SMALL);
    m_icons = std::move(icons);
}

void FoldersListView::SetFolders(const std::vector<std::wstring>& folders)
{
    ListView_DeleteAllItems(m_list);
    const int icon = m_icons && ::ImageList_GetImageCount(m_icons.Get()) > 0 ? 0 : -1;
    for (size_t i = 0; i < folders.size(); ++i)
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT | (icon >= 0 ? LVIF_IMAGE : 0);
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(folders[i].c_str());
        item.iImage = icon;
        ListView_InsertItem(m_list, &item);
    }
}

std::vector<int> FoldersListView::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

int FoldersListView::Count() const noexcept
{
    return ListView_GetItemCount(m_list);
}

void FoldersListView::RemoveRows(const std::vector<int>& rows)
{
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        ListView_DeleteItem(m_list, *it);
}

void FoldersListView::FitColumn() const noexcept
{
    RECT client{};
    ::GetClientRect(m_list, &client);
    ListView_SetColumnWidth(m_list, 0, client.right - client.left);
}

POINT FoldersListView::KeyboardMenuPoint() const noexcept
{
    POINT point{0, 0};
    const int mark = ListView_GetSelectionMark(m_list);
    RECT rect{};
    if (mark >= 0)
    {
        ListView_EnsureVisible(m_list, mark, FALSE);
        if (ListView_GetItemRect(m_list, mark, &rect, LVIR_BOUNDS))
            point = {rect.left, rect.top};
    }
    point.x += 5;
    point.y += 5;
    ::ClientToScreen(m_list, &point);
    return point;
}
