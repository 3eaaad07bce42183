#pragma once

#include "winui/ResizableDialog.h"

#include <string>

// "Extract Folders Clash": why Extract Folder(s) moved nothing.
class CClashDlg final : public CResizableDialog
{
  public:
    CClashDlg(std::wstring heading, std::wstring details);

  protected:
    bool OnInitDialog() override;
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override;

  private:
    std::wstring m_heading;
    std::wstring m_details; // lines end in LF
};
