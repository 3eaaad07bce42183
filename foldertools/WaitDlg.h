#pragma once

#include "copydialog/ProgressPath.h"
#include "copynames/MAbortBase.h"
#include "winsupport/Dialog.h"
#include "winsupport/UniqueHandle.h"

#include <string>

// "Scanning for empty folders": the modeless window shown while Delete Empty Folders scans. The scan
// runs on its thread; IsAborted keeps it painting and its Cancel button alive.
class WaitDlg : public CDialog, public MAbortBase
{
  public:
    WaitDlg();

    void SetCurrentFolder(const std::wstring& folder) override;
    bool IsAborted() override;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void DrawPath(const DRAWITEMSTRUCT& item);

    static constexpr UINT_PTR kTimerId = 1;
    ProgressPath m_path;
    std::wstring m_shown;
    UniqueHfont m_font;
    bool m_cancelled = false;
};
