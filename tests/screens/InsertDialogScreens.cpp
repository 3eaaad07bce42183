#include "copydialog/InsertDlg.h"
#include "copynames/ItemList.h"
#include "copynames/PropertyRuntime.h"
#include "tests/copydialog/StandInProperties.h"
#include "resources/resource.h"
#include "tests/screens/ScreensSupport.h"
#include "tests/support/DialogDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

// Pictures of both pages of the Insert File/Folder Attribute dialog over real files.
TEST(InsertDialogScreens, BothPages)
{
    const std::wstring screens = ScreensFolder();
    if (screens.empty())
        GTEST_SKIP();
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"Quarterly reports";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring paths[] = {folder + L"\\Summary for the board 2024.docx", folder + L"\\figures.xlsx"};
    for (const std::wstring& path : paths)
        EXPECT_TRUE(WriteFileBytes(path, std::string(123456, 'x')));
    ItemList list;
    for (const std::wstring& path : paths)
        list.AddPath(path);
    list.Flatten();

    RememberedInsertState() = InsertDialogMemory{};
    DialogDriver driver;
    driver.OnDialog(L"Insert File/Folder Attribute", [&](DialogHandle dialog) {
        PumpMessages(150);
        SaveScreen(dialog.Hwnd(), screens, L"insert-attribute");
        ::SendMessageW(dialog.Item(IDC_INSERT_TABS), TCM_SETCURFOCUS, 1, 0);
        PumpMessages(150);
        SaveScreen(dialog.Hwnd(), screens, L"insert-property");
        dialog.Click(IDCANCEL);
    });
    ShowInsertDialog(CWindow(), list);

    // Rows as a Windows shell would list them; Wine lists none.
    UseStandInProperties({{L"System.Author", L"Authors", L"Ann Example; Bo Sample"},
                          {L"System.Size", L"Size", L"120 KB"},
                          {L"System.Title", L"Title", L"Summary for the board"},
                          {L"System.DateModified", L"Date modified", L"12/9/2026 9:41 AM"},
                          {L"System.Custom.Code", L"", L"Q4"}});
    RememberedInsertState().property = L"Title";
    driver.OnDialog(L"Insert File/Folder Attribute", [&](DialogHandle dialog) {
        PumpMessages(150);
        SaveScreen(dialog.Hwnd(), screens, L"insert-property-rows");
        dialog.Click(IDCANCEL);
    });
    ShowInsertDialog(CWindow(), list);
    DropPropertyRuntime();
    EXPECT_EQ(driver.PendingScripts(), 0u);
    for (const std::wstring& path : paths)
        ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
}
