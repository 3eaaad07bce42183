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

CScanningFoldersDlg::CScanningFoldersDlg() : CFolderProgressDlg(IDD_SCANNING_FOLDERS) {}

void CScanningFoldersDlg::ShowFolder(const std::wstring& text)
{
    SetText(IDC_SCANNING_FOLDERS_PATH, text);
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
