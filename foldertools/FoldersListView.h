#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The list of found folders in the Delete Empty Folders dialog: one column, a folder icon per row,
// full-row selection. Borrows the control of the dialog.
class FoldersListView
{
  public:
    void Attach(HWND list);
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

    // The system image list's small folder icon, looked up once per process.
    static int FolderIconIndex();

  private:
    HWND m_list = nullptr;
};
