#pragma once

#include "rename/RenameModel.h"
#include "winui/Accessible.h"
#include "winui/Control.h"
#include "winui/ScreenDpi.h"
#include "winui/WindowHandles.h"

#include <commctrl.h>

#include <string>
#include <vector>

// The names list of the Multi Rename dialog: a virtual report list (its rows are asked for as they
// are drawn, so ten thousand names cost nothing until seen) of old name, new name and, for several
// folders, the folder; a state image per row for its status, the new name in bold where it was
// pasted. Its context menu's commands go to the parent window as WM_COMMAND. To assistive
// technology each row's description is its status in words.
class CNamesListCtrl final : public CListViewCtrl, private AccessibleFacts
{
  public:
    CNamesListCtrl() : m_accessible(*this) {}

    void SetUp(HWND list, bool folderColumn, const ScreenDpi& dpi);
    // The state images at the size the DPI wants: 16 by 16 at 96 DPI, drawn for the size above it.
    void SizeStateImages(const ScreenDpi& dpi);
    void SetRows(std::vector<RenameItem*> rows);
    const std::vector<RenameItem*>& Rows() const noexcept { return m_rows; }
    void SetBoldFont(HFONT font) noexcept { m_boldFont = font; }
    // Column 0 fits the old names, the last column fills the rest.
    void FitColumns(const ScreenDpi& dpi);
    // Every row is drawn again with its current name and state image.
    void Redraw() const noexcept;

    // Selected rows in list order.
    std::vector<int> SelectedRows() const;
    std::vector<RenameItem*> SelectedItems() const;
    void RemoveRows(const std::vector<int>& rows);
    void SelectAll() const noexcept;
    void InvertSelection() const;

    // The state image of a status: image n is bitmap 350 + n.
    static int StateImage(ItemStatus status) noexcept;
    // The status of a row in words.
    static std::wstring StatusText(const RenameItem& item);

  protected:
    void OnContextMenu(POINT point) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void FillRow(NMLVDISPINFOW& info) const;
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
    std::optional<std::wstring> AccessibleDescription(long child) const override;

    std::vector<RenameItem*> m_rows;
    UniqueHimagelist m_states;
    HFONT m_boldFont = nullptr;
    bool m_folderColumn = false;
    AccessibleObject m_accessible;
};
