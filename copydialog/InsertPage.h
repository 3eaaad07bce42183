#pragma once

#include "copydialog/InsertDlg.h"

// What both pages of the Insert dialog share: the dialog they work for and its white background.
class CInsertPage : public CChildDialog, public IInsertTabDlg
{
  public:
    CInsertPage(UINT templateId, CInsertDlg& owner) : CChildDialog(templateId), m_owner(owner) {}
    HWND GetPageWnd() const override { return Hwnd(); }

  protected:
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CInsertDlg& Owner() const noexcept { return m_owner; }

  private:
    CInsertDlg& m_owner;
};
