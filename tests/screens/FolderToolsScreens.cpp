#include "foldertools/ClashDlg.h"
#include "foldertools/DelEmptyFoldersCommand.h"
#include "foldertools/WaitDlg.h"
#include "resources/resource.h"
#include "tests/foldertools/FolderToolsTestSupport.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"
#include "tests/screens/ScreensSupport.h"

#include <gtest/gtest.h>

// Pictures of the folder tools' windows, at the template size and resized, for people to look at,
// saved into the folder that BRELVANTA_SCREENS names (scripts/screens sets it).
class FolderToolsScreens : public ScreensTest<FolderToolsTest>
{
  protected:
    static void Pump(DWORD milliseconds) { PumpMessages(milliseconds); }
    void Resize(HWND window, int dx, int dy)
    {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
                       SWP_NOMOVE | SWP_NOZORDER);
    }
};

TEST_F(FolderToolsScreens, Windows)
{
    DialogDriver driver;
    driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
        Save(dlg.Hwnd(), L"clash");
        Resize(dlg.Hwnd(), 160, 80);
        Save(dlg.Hwnd(), L"clash-resized");
        Resize(dlg.Hwnd(), -400, -400); // held at the minimum size
        Save(dlg.Hwnd(), L"clash-minimum");
        dlg.Click(IDOK);
    });
    CClashDlg(L"Cannot extract folders, due to the following clashes:",
              L"Extracting into C:\\Users\\me\\Pictures\\\n\n\"note.txt\" exists in:\n    subfolder: \"Holiday "
              L"2024\"\n    subfolder: \"Holiday 2025\"\n\n\"readme.txt\" exists in:\n    this folder\n    "
              L"subfolder: \"Holiday 2024\"\n\n")
        .ShowModal(nullptr);

    {
        ModelessDialog<WaitDlg> wait;
        ASSERT_TRUE(wait.Create(nullptr));
        ::ShowWindow(wait.Hwnd(), SW_SHOW);
        wait.SetCurrentFolder(L"C:\\Users\\me\\Documents\\Projects\\Archive\\2024\\Quarterly reports\\Drafts and "
                              L"notes that nobody reads any more");
        Pump(300);
        Save(wait.Hwnd(), L"wait");
    }

    MakeFolders({L"Music\\Old playlists", L"Music\\Podcasts\\2023", L"Photos\\Unsorted", L"Photos\\Empty album",
                 L"Projects\\build\\obj"});
    MakeTree({{L"Music\\song.mp3", "x"}, {L"Photos\\one.jpg", "x"}, {L"Projects\\main.cpp", "x"}});
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        dlg.SelectRow(IDC_EMPTY_FOLDERS_LIST, 1);
        Save(dlg.Hwnd(), L"delete");
        Resize(dlg.Hwnd(), 200, 60);
        Save(dlg.Hwnd(), L"delete-resized");
        dlg.Click(IDCANCEL);
    });
    DelEmptyFoldersCommand command(L"Delete Empty Folders");
    command.Invoke(SelectionOf({L"Music", L"Photos", L"Projects"}), 0, CWindow());
    EXPECT_EQ(driver.PendingScripts(), 0u);
}
