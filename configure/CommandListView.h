#pragma once

#include "menuconfig/MenuConfig.h"

#include <windows.h>

#include <vector>

// One of the configure dialog's two lists: a report list view whose rows are menu entries. A row's
// check box is the entry's show flag, its item data the command type, its second column the menu
// text. Borrows the control; the dialog owns it.
class CCommandListView
{
  public:
    void Attach(HWND list) noexcept { m_list = list; }

    // Styles, extended styles and the two columns, sized for the DPI.
    void SetUp(UINT dpi);
    // Column 0 holds only the check box, 40 DIPs wide; column 1 fills the rest.
    void SizeColumns(UINT dpi);

    // Replaces all rows with the entries and selects the first one, if any.
    void Fill(const std::vector<MenuEntry>& entries);
    std::vector<MenuEntry> Entries() const;

    int Count() const noexcept;
    // The selected row, or -1.
    int Selected() const noexcept;
    MenuEntry Entry(int row) const;
    void Insert(int row, const MenuEntry& entry);
    void Delete(int row) noexcept;
    void Select(int row) noexcept;
    void ClearSelection() noexcept;

  private:
    HWND m_list = nullptr;
};
