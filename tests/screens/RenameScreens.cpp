#include "rename/BatchRenameCommand.h"
#include "tests/screens/ScreensSupport.h"
#include "tests/shellext/MultiRenameTestSupport.h"
#include "tests/support/ClipboardHelpers.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TempFolderTest.h"

#include <gtest/gtest.h>

// Pictures of the Multi Rename dialog on names with several parts, one row pasted (bold), and of
// its Change Number and Change Wild dialogs, saved into the folder that BRELVANTA_SCREENS names.
class RenameScreens : public ScreensTest<TempFolderTest>
{
};

TEST_F(RenameScreens, Windows)
{
    Selection selection;
    for (const wchar_t* name : {L"Trip 2021-03-07 beach.jpg", L"Trip 2021-04-11 city.jpg", L"Trip 2021-05-02 sky.jpg",
                                L"Trip 2021-05-09 harbour at night.jpg", L"Trip 2021-06-21 old town.jpg"})
    {
        ASSERT_TRUE(WriteFileBytes(TempPath(name), "x"));
        selection.paths.Append(TempPath(name));
    }
    DialogDriver driver;
    driver.OnDialog(L"Multi Rename", [&](DialogHandle dlg) {
        using namespace rename_ids;
        PumpMessages(200);
        Save(dlg.Hwnd(), L"multirename-open");
        TypeIntoPart(dlg.Hwnd(), 0, L"Holiday 2021-");
        dlg.SelectRow(kNames, 3);
        SetClipboardText(L"Harbour by night\n");
        dlg.Command(kMenuPaste);
        dlg.SelectRow(kNames, 1);
        PumpMessages(200);
        Save(dlg.Hwnd(), L"multirename");
        NestedDialogs nested;
        nested.On(L"Change Number", [&](DialogHandle number) {
            PumpMessages(200);
            Save(number.Hwnd(), L"change-number");
            number.Click(IDCANCEL);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        nested.On(L"Change Wild", [&](DialogHandle wild) {
            PumpMessages(200);
            Save(wild.Hwnd(), L"change-wild");
            wild.Click(IDCANCEL);
        });
        ClickPartButton(dlg.Hwnd(), 2);
        RECT rect{};
        ::GetWindowRect(dlg.Hwnd(), &rect);
        ::SetWindowPos(dlg.Hwnd(), nullptr, 0, 0, 420 * 3 / 4, 300 * 3 / 4, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages(200);
        Save(dlg.Hwnd(), L"multirename-narrow");
        dlg.Click(IDCANCEL);
    });
    BatchRenameCommand(L"Multi Rename").Invoke(selection, 0, CWindow());
    EXPECT_EQ(driver.PendingScripts(), 0u);
}
