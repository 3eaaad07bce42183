#pragma once

#include "winsupport/MAbortBase.h"
#include "winui/Dialog.h"
#include "winui/ProgressPath.h"

#include <string>

// A modeless window shown while a folder scan runs on its thread: the scan reports each folder it
// starts, a timer shows the latest every 100 ms, and Cancel (or Escape) asks the scan to stop; the
// window goes once the scan has stopped. IsAborted dispatches waiting messages, which keeps the
// window painting and its Cancel button alive.
class CFolderProgressDlg : public CDialog, public MAbortBase
{
  public:
    void SetCurrentFolder(const std::wstring& folder) override;
    bool IsAborted() override;

  protected:
    explicit CFolderProgressDlg(UINT templateId);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Puts a new folder text on screen; the timer calls it only when the text changed.
    virtual void ShowFolder(const std::wstring& text) = 0;
    const std::wstring& ShownFolder() const noexcept { return m_shown; }

  private:
    static constexpr UINT_PTR kTimerId = 1;
    bool m_aborted = false;
    ProgressPath m_path;
    std::wstring m_shown;
};
