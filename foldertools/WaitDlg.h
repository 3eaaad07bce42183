#pragma once

#include "winui/FolderProgressDlg.h"
#include "winui/WindowHandles.h"

// "Scanning for empty folders": the modeless window shown while Delete Empty Folders scans.
class WaitDlg : public CFolderProgressDlg
{
  public:
    WaitDlg();

  protected:
    void ShowFolder(const std::wstring& text) override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void DrawPath(const DRAWITEMSTRUCT& item);

    UniqueHfont m_font;
};
