#pragma once

#include "copynames/ItemList.h"
#include "winui/Dialog.h"

// "Folder Options": whether and how the selected folders are scanned. Works on the options it is
// given; OK only with options that pass every check.
class CFolderScanOptionsDlg final : public CDialog
{
  public:
    explicit CFolderScanOptionsDlg(FolderScanOptions& options);

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void ApplyEnableRule() const;
    // What OK reads from the controls into the options.
    void ReadControls();
    // Tells the user the first problem of the options; true when there is none.
    bool CheckOptions() const;

    FolderScanOptions& m_options;
};

// Runs the dialog on a copy of the options; OK copies them back. True after OK.
bool EditFolderScanOptions(const CWindow& owner, FolderScanOptions& options);
