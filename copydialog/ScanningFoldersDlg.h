#pragma once

#include "copynames/ItemList.h"
#include "winui/FolderProgressDlg.h"

// "Reading folders": the progress window of the copy options dialog's folder scan.
class CScanningFoldersDlg : public CFolderProgressDlg
{
  public:
    CScanningFoldersDlg();

  protected:
    void ShowFolder(const std::wstring& text) override;
};

// Scans the selected folders of the list with the options, showing the progress window over owner
// and keeping owner disabled meanwhile. A cancelled scan leaves no partial result: the list shows
// the selected folders themselves again. The caller refreshes its preview afterwards.
void RunFolderScan(const CWindow& owner, ItemList& list, const FolderScanOptions& options);
