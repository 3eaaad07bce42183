#include "foldertools/FoldersListView.h"

#include "winsupport/ComPtr.h"
#include "winui/ScreenDpi.h"

#include <commctrl.h>
#include <shellapi.h>

namespace
{
// The interface the shell's image lists answer to (IID_IImageList); its object is the list itself.
constexpr GUID kImageListInterface = {0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};

// The shell's folder icon at size by size pixels: taken from the smallest of the system's image
// lists that holds it at that size or larger (the image list it goes into scales it down).
UniqueHicon FolderIcon(int size)
{
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                          SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return {};
    ComPtr<IUnknown> best;
    for (const int kind : {SHIL_SMALL, SHIL_LARGE, SHIL_EXTRALARGE})
    {
        ComPtr<IUnknown> list;
        if (FAILED(::SHGetImageList(kind, kImageListInterface, reinterpret_cast<void**>(list.Put()))) || !list)
            continue;
        best = std::move(list);
        int cx = 0;
        int cy = 0;
        if (::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(best.Get()), &cx, &cy) && cx >= size)
            break;
    }
    if (!best)
        return {};
    return UniqueHicon(::ImageList_GetIcon(reinterpret_cast<HIMAGELIST>(best.Get()), info.iIcon, ILD_NORMAL));
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
