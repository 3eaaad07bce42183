#include "foldertools/FoldersListView.h"

#include <commctrl.h>
#include <shellapi.h>

void FoldersListView::Attach(HWND list)
{
    m_list = list;
    ListView_SetExtendedListViewStyleEx(m_list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                                        LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SHFILEINFOW info{};
    // The template shares the image list, so the list view never destroys the system's.
    const auto images =
        reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                                                      SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images)
        ListView_SetImageList(m_list, images, LVSIL_SMALL);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(m_list, 0, &column);
    FitColumn();
}

int FoldersListView::FolderIconIndex()
{
    static const int index = [] {
        SHFILEINFOW info{};
        const bool found = ::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                                            SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0;
        return found ? info.iIcon : -1;
    }();
    return index;
}

void FoldersListView::SetFolders(const std::vector<std::wstring>& folders)
{
    ListView_DeleteAllItems(m_list);
    const int icon = FolderIconIndex();
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
