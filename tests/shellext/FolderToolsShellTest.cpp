#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

namespace
{
// The menu offset of the item whose text starts so, searching the submenu too; -1 when absent.
int OffsetOf(const std::vector<MenuRow>& rows, const std::wstring& text, UINT idCmdFirst)
{
    for (const MenuRow& row : rows)
    {
        if (row.text.rfind(text, 0) == 0)
            return static_cast<int>(row.id - idCmdFirst);
        if (const int inner = OffsetOf(row.submenu, text, idCmdFirst); inner >= 0)
            return inner;
    }
    return -1;
}
} // namespace

using FolderToolsShellTest = ShellExtTest;

// The commands run from the menu of the built DLL, with the DLL's own dialog templates and texts.
TEST_F(FolderToolsShellTest, BothCommandsRunFromTheMenu)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"A")));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"readme.txt"), "r"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"A\\README.txt"), "R"));
    ASSERT_TRUE(CreateFolder(TempPath(L"E")));
    ASSERT_TRUE(CreateFolder(TempPath(L"E\\empty")));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"E\\keep.txt"), "k"));

    DialogDriver driver;
    std::wstring heading;
    driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
        heading = dlg.GetText(1301);
        EXPECT_EQ(BrelvantaDll::Get().canUnloadNow(), S_FALSE);
        dlg.Click(IDOK);
    });
    std::vector<std::wstring> rows;
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        rows = dlg.ListRows(1400);
        dlg.Click(IDCANCEL);
    });
    for (const wchar_t* command : {L"Extract Folder", L"Delete Empty Folders"})
    {
        const std::wstring folder = TempPath(command[0] == L'E' ? L"A" : L"E");
        const ComPtr<IContextMenu> handler = CreateHandler({folder});
        ASSERT_TRUE(handler);
        const int offset = OffsetOf(QueryMenu(handler.Get(), 1), command, 1);
        ASSERT_GE(offset, 0) << command;
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof(invoke);
        invoke.lpVerb = MAKEINTRESOURCEA(offset);
        EXPECT_EQ(handler->InvokeCommand(&invoke), S_OK);
    }
    EXPECT_EQ(heading, L"Cannot extract folder, due to the following clashes:");
    EXPECT_EQ(rows, std::vector<std::wstring>{TempPath(L"E\\empty")});
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_TRUE(PathExists(TempPath(L"A\\README.txt")));
    EXPECT_TRUE(PathExists(TempPath(L"E\\empty")));
}
