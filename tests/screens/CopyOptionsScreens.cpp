#include "resources/resource.h"
#include "tests/screens/ScreensSupport.h"
#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

// Pictures of the copy options dialog of the built DLL on each of its pages, saved into the
// folder that BRELVANTA_SCREENS names (scripts/screens sets it).
class CopyOptionsScreens : public ScreensTest<ShellExtTest>
{
  protected:
    void Save(HWND window, const std::wstring& name) const
    {
        PumpMessages(200);
        ScreensTest::Save(window, name);
    }
    static void Tab(const DialogHandle& dlg, int index)
    {
        ::SendMessageW(dlg.Item(IDC_COPY_PATHS_TABS), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
    }
    void Open(const std::vector<std::wstring>& paths, DialogDriver::Script script)
    {
        DialogDriver driver;
        driver.OnDialog(L"Copy Filenames", std::move(script));
        const ComPtr<IContextMenu> handler = CreateHandler(paths);
        ASSERT_TRUE(handler);
        ASSERT_TRUE(InvokeByText(handler.Get(),
                                 paths.size() > 1 ? L"Copy Filenames with Options" : L"Copy Filename with Options"));
        EXPECT_EQ(driver.PendingScripts(), 0u);
    }
};

TEST_F(CopyOptionsScreens, EveryPage)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"Holiday photos")));
    std::vector<std::wstring> paths{TempPath(L"Holiday photos")};
    for (const auto& file : MakeFiles({L"Budget 2025.xlsx", L"Meeting notes.docx", L"readme.txt"}))
        paths.push_back(file);

    Open(paths, [&](DialogHandle dlg) {
        Tab(dlg, 0);
        Save(dlg.Hwnd(), L"copy-presets");
        Tab(dlg, 1);
        const DialogHandle quick = dlg.ChildWith(IDC_QUICK_SEPARATOR);
        quick.Check(IDC_QUICK_QUOTE, true);
        quick.Check(IDC_QUICK_ADD_SIZE, true);
        quick.Select(IDC_QUICK_SIZE_UNIT, 4);
        Save(dlg.Hwnd(), L"copy-quick");
        Tab(dlg, 2);
        const DialogHandle full = dlg.ChildWith(IDC_FULL_ITEM_TEXT);
        full.SetText(IDC_FULL_ITEM_TEXT, L"$name - $size:auto");
        full.SetText(IDC_FULL_SEPARATOR_TEXT, L", ");
        Save(dlg.Hwnd(), L"copy-full");
        full.SetText(IDC_FULL_ITEM_TEXT, L"$name - $sise");
        Save(dlg.Hwnd(), L"copy-full-error");
        RECT rect{};
        ::GetWindowRect(dlg.Hwnd(), &rect);
        // At the screen's corner, so that the larger window is seen whole.
        ::SetWindowPos(dlg.Hwnd(), nullptr, 0, 0, rect.right - rect.left + 160, rect.bottom - rect.top + 80,
                       SWP_NOZORDER);
        full.SetText(IDC_FULL_ITEM_TEXT, L"$name");
        Save(dlg.Hwnd(), L"copy-full-resized");
        dlg.Click(IDCANCEL);
    });
    // Without a folder the folder options give their room to the preview; at the template size.
    ClearProductState();
    Open({paths[1], paths[2]}, [&](DialogHandle dlg) {
        Save(dlg.Hwnd(), L"copy-no-folders");
        dlg.Click(IDCANCEL);
    });
}
