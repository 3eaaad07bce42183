#pragma once

#include "winui/WindowHandles.h"

#include <windows.h>

#include <string>
#include <vector>

// The list of found folders in the Delete Empty Folders dialog: one column, a folder icon per row,
// full-row selection. Borrows the control of the dialog; owns the image list of the icon, made at
// the size of a small icon at the list's DPI.
class FoldersListView
{
  public:
    void Attach(HWND list, UINT dpi);
    // The folder icon again at the DPI's small-icon size (16 by 16 at 96 DPI).
    void SizeIcons(UINT dpi);
    HIMAGELIST Icons() const noexcept { return m_icons.Get(); }
    HWND Hwnd() const noexcept { return m_list; }

    void SetFolders(const std::vector<std::wstring>& folders);
    // Indices of the selected rows, in list order.
    std::vector<int> SelectedRows() const;
    int Count() const noexcept;
    void RemoveRows(const std::vector<int>& rows);
    // Makes the single column as wide as the client area.
    void FitColumn() const noexcept;
    // Where a keyboard-opened context menu goes, in screen coordinates.
    POINT KeyboardMenuPoint() const noexcept;

  private:
    HWND m_list = nullptr;
    UniqueHimagelist m_icons;
};
