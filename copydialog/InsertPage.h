#pragma once

#include "copydialog/InsertDlg.h"

// What both pages of the Insert dialog share: the dialog they work for.
class CInsertPage : public CTabPage, public IInsertTabDlg
{
  public:
    CInsertPage(UINT templateId, CInsertDlg& owner) : CTabPage(templateId), m_owner(owner) {}

  protected:
    CInsertDlg& Owner() const noexcept { return m_owner; }

  private:
    CInsertDlg& m_owner;
};
