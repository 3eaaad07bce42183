#include "copydialog/FolderScanOptionsDlg.h"
#include "copydialog/PresetDialogs.h"
#include "copydialog/ScanningFoldersDlg.h"
#include "resources/resource.h"
#include "tests/support/DialogDriver.h"
#include "tests/screens/ScreensSupport.h"

#include <gtest/gtest.h>

// Pictures of the dialogs of the copy options dialog's presets and folder scan.
TEST(CopyDialogScreens, PresetAndFolderScanDialogs)
{
    const std::wstring screens = ScreensFolder();
    if (screens.empty())
        GTEST_SKIP();
    DialogDriver driver;

    {
        ModelessDialog<CScanningFoldersDlg> progress;
        ASSERT_TRUE(progress.Create(nullptr));
        ::ShowWindow(progress.Hwnd(), SW_SHOW);
        progress.SetCurrentFolder(L"C:\\Users\\me\\Pictures\\Holidays\\2024 Summer in the mountains\\Day 3 - the "
                                  L"long walk up to the lake");
        PumpMessages(300);
        SaveScreen(progress.Hwnd(), screens, L"scanning-folders");
    }

    const PresetList presets = {{L"Full paths", L"$path", L"\\n"}, {L"Markdown list", L"- $name", L"\\n"}};
    driver.OnDialog(L"Preset Name", [&](DialogHandle dialog) {
        dialog.SetText(IDC_PRESET_NAME_EDIT, L"Names and sizes for the report");
        PumpMessages(100);
        SaveScreen(dialog.Hwnd(), screens, L"preset-name");
        dialog.Click(IDCANCEL);
    });
    CPresetNameDlg(presets).ShowModal(nullptr);

    driver.OnDialog(L"Rename Preset", [&](DialogHandle dialog) {
        PumpMessages(100);
        SaveScreen(dialog.Hwnd(), screens, L"preset-rename");
        dialog.Click(IDCANCEL);
    });
    CPresetRenameDlg(presets, 1).ShowModal(nullptr);

    FolderScanOptions options;
    driver.OnDialog(L"Folder Options", [&](DialogHandle dialog) {
        PumpMessages(100);
        SaveScreen(dialog.Hwnd(), screens, L"folder-options");
        dialog.Click(IDCANCEL);
    });
    EditFolderScanOptions(CWindow(), options);
    options.scanFolders = options.includeOn = options.depthLimited = true;
    options.includePattern = L"*.jpg;*.png";
    options.depth = 3;
    driver.OnDialog(L"Folder Options", [&](DialogHandle dialog) {
        PumpMessages(100);
        SaveScreen(dialog.Hwnd(), screens, L"folder-options-scanning");
        dialog.Click(IDCANCEL);
    });
    EditFolderScanOptions(CWindow(), options);
    EXPECT_EQ(driver.PendingScripts(), 0u);
}
