#pragma once

#include "winui/AnchorLayout.h"
#include "winui/TabPages.h"

#include <memory>

class CCopyPathsDlg;

// What the three pages of the copy options dialog share: the dialog they edit, a white
// background like the body of the tab control, and controls anchored to the page's edges.
class CCopyOptionsPage : public CChildDialog, public ITabDlg
{
  public:
    CCopyOptionsPage(UINT templateId, CCopyPathsDlg& dialog) : CChildDialog(templateId), m_dialog(dialog) {}

    void OnPageDeselected() override {}
    HWND GetPageWnd() const override { return Hwnd(); }

  protected:
    // Called once, before OnInitDialog, with the page's edges at its template size.
    virtual void DeclareAnchors(AnchorLayout& layout, int right, int bottom) = 0;
    // Called after each layout of the anchored controls.
    virtual void OnLayout() {}

    CCopyPathsDlg& Dialog() const noexcept { return m_dialog; }
    // Fills a drop-down list with consecutive strings of the string table.
    void FillList(int id, UINT firstString, int count) const;
    int ListSelection(int id) const noexcept;
    void SelectListEntry(int id, int index) const noexcept;

  private:
    bool InitDialog() final;
    std::optional<INT_PTR> FrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam) final;

    CCopyPathsDlg& m_dialog;
    std::unique_ptr<AnchorLayout> m_layout;
};
