#pragma once

#include "copydialog/CopyOptions.h"
#include "winui/AnchorLayout.h"
#include "winui/ResizableDialog.h"
#include "winui/TabPages.h"
#include "winui/TextView.h"
#include "winui/Window.h"
#include "winui/WindowHandles.h"

#include <optional>

// The copy options dialog: previews the selected items formatted by two texts of the item format
// language, which its three pages edit, and puts the preview on the clipboard on OK. The options
// are its model and its pages'.
class CCopyPathsDlg final : public CResizableDialog, private CopyOptionsObserver
{
  public:
    // The options must hold their item list and outlive the dialog.
    CCopyPathsDlg(const CWindow& parent, CopyOptions& options);
    ~CCopyPathsDlg() override;

    // Runs the dialog modally on the parent window.
    INT_PTR Run();

  protected:
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;

  private:
    void OnCopyOptionsChanged(CopyOptionsChange change) override;
    // The selection holds no folder: the folder options go and the rest moves up into their room.
    void HideFolderOptions();
    void ShowFolderSummary();
    void SelectPage(int index);
    void OnSortChanged();
    void ChangeFolderOptions();

    TextViewClass m_previewClass; // registered before the window is made, removed after it is gone
    CWindow m_parent;
    CopyOptions& m_options;
    TabPages m_pages;
    DpiIcon m_smallIcon;
    std::optional<WaitCursor> m_wait; // from the start of a preview rebuild to its end
};
