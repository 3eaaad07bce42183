#pragma once

#include "copydialog/CopyOptions.h"
#include "winui/TabPages.h"
#include "winui/Window.h"

// What the three pages of the copy options dialog share: the options they edit, and a few
// helpers for their drop-down lists.
class CCopyOptionsPage : public CTabPage
{
  public:
    CCopyOptionsPage(UINT templateId, CopyOptions& options) : CTabPage(templateId), m_options(options) {}

  protected:
    CopyOptions& Options() const noexcept { return m_options; }
    // The dialog the page lies in: the owner of the windows the page opens.
    CWindow Owner() const noexcept { return CWindow(::GetParent(Hwnd())); }
    // Fills a drop-down list with consecutive strings of the string table.
    void FillList(int id, UINT firstString, int count) const;
    int ListSelection(int id) const noexcept;
    void SelectListEntry(int id, int index) const noexcept;

  private:
    CopyOptions& m_options;
};
