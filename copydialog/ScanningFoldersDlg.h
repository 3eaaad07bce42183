#pragma once

#include "copydialog/ProgressPath.h"
#include "copynames/ItemList.h"
#include "copynames/MAbortBase.h"
#include "winsupport/Dialog.h"

#include <string>

// "Reading folders": the modeless window shown while the copy options dialog scans the selected
// folders. The scan runs on its thread; IsAborted keeps it painting and its Cancel button alive.
class CScanningFoldersDlg : public CDialog, public MAbortBase
{
  public:
    CScanningFoldersDlg();

    void SetCurrentFolder(const std::wstring& folder) override;
    bool IsAborted() override;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    static constexpr UINT_PTR kTimerId = 1;
    bool m_aborted = false;
    ProgressPath m_path;
    std::wstring m_shown;
};

// Scans the selected folders of the list with the options, showing the progress window over owner
// and keeping owner disabled meanwhile. A cancelled scan leaves no partial result: the list shows
// the selected folders themselves again. The caller refreshes its preview afterwards.
void RunFolderScan(const CWindow& owner, ItemList& list, const FolderScanOptions& options);
