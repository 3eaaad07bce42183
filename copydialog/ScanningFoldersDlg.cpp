#include "copydialog/ScanningFoldersDlg.h"

#include "resources/resource.h"

namespace
{
// Stands in for a progress window that could not be made: no scan runs without its Cancel button.
class Cancelled final : public MAbortBase
{
  public:
    void SetCurrentFolder(const std::wstring&) override {}
    bool IsAborted() override { return true; }
};
} // namespace

CScanningFoldersDlg::CScanningFoldersDlg() : CDialog(IDD_SCANNING_FOLDERS) {}

void CScanningFoldersDlg::SetCurrentFolder(const std::wstring& folder)
{
    m_path.Record(folder);
}

bool CScanningFoldersDlg::IsAborted()
{
    if (!DispatchWaitingMessages(Hwnd()))
        m_aborted = true;
    return m_aborted;
}

bool CScanningFoldersDlg::OnInitDialog()
{
    ::SetTimer(Hwnd(), kTimerId, 100, nullptr);
    return true;
}

bool CScanningFoldersDlg::OnCommand(int id, int code, HWND)
{
    if (id == IDCANCEL && code == BN_CLICKED)
    {
        m_aborted = true; // the window goes once the scan has stopped
        return true;
    }
    return false;
}

void CScanningFoldersDlg::OnDestroy()
{
    ::KillTimer(Hwnd(), kTimerId);
    m_aborted = true; // whoever destroys the window ends the scan it shows
}

std::optional<INT_PTR> CScanningFoldersDlg::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_TIMER || wParam != kTimerId)
        return std::nullopt;
    std::wstring text = m_path.Take();
    if (!text.empty() && text != m_shown)
    {
        m_shown = std::move(text);
        SetText(IDC_SCANNING_FOLDERS_PATH, m_shown);
    }
    return TRUE;
}

void RunFolderScan(const CWindow& owner, ItemList& list, const FolderScanOptions& options)
{
    ModelessDialog<CScanningFoldersDlg> progress;
    if (!progress.Create(owner.Hwnd()))
    {
        Cancelled cancelled;
        ScanSelectedFolders(list, cancelled, options); // leaves the list as a cancelled scan does
        return;
    }
    {
        const DisabledWindow disabled(owner.Hwnd());
        ::ShowWindow(progress.Hwnd(), SW_SHOW);
        ScanSelectedFolders(list, progress, options);
    }
    progress.Destroy();
}
