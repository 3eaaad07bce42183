#include "configure/AboutDlg.h"
#include "configure/BrelvantaConfigureDlg.h"
#include "resources/resource.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"
#include "tests/screens/ScreensSupport.h"
#include "tests/support/TempFolderTest.h"

#include <commctrl.h>

#include <functional>

#include <gtest/gtest.h>

// Pictures of the configure program's windows, for people to look at, saved into the folder
// that BRELVANTA_SCREENS names (scripts/screens sets it).
class ConfigureScreens : public ScreensTest<TempFolderTest>
{
  protected:
    static void Pump() { PumpMessages(300); }
    // The capture holds only what lies on the screen, and Wine's null driver has a screen of 768
    // pixels: a taller window is saved once at the screen's top and once, as name-lower, at its bottom.
    // beforeEach runs after each move, for what depends on the window's place (the pointer).
    void SaveWhole(
        HWND window, const std::wstring& name, const std::function<void()>& beforeEach = [] {})
    {
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        beforeEach();
        Pump();
        Save(window, name);
        RECT rect{};
        ::GetWindowRect(window, &rect);
        if (rect.bottom <= ::GetSystemMetrics(SM_CYSCREEN))
            return;
        ::SetWindowPos(window, nullptr, 0, ::GetSystemMetrics(SM_CYSCREEN) - rect.bottom, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER);
        beforeEach();
        Pump();
        Save(window, name + L"-lower");
    }
};

TEST_F(ConfigureScreens, Windows)
{
    MenuConfig config;
    DefaultMenuConfig(config);
    MenuConfigFile file(TempPath(L"MenuCommands.xml"));
    std::atomic<HWND> mainWindow{nullptr};
    {
        CBrelvantaConfigureDlg dialog(config, file, mainWindow);
        ASSERT_TRUE(dialog.Create(nullptr));
        ::ShowWindow(dialog.Hwnd(), SW_SHOW);
        SaveWhole(dialog.Hwnd(), L"configure");
        dialog.Destroy();
    }

    config.mainMenu = {{CommandType::CopyFilename, true}, {CommandType::PasteFilename, true}};
    config.subMenu = {{CommandType::CopyFilenameAndDelete, true},
                      {CommandType::PasteFilenameNotExt, false},
                      {CommandType::CopyFilenameWithOptions, true},
                      {CommandType::ExtractFolder, true},
                      {CommandType::DeleteEmptyFolders, true},
                      {CommandType::MultiRename, true},
                      {CommandType::Configure, true}};
    {
        CBrelvantaConfigureDlg dialog(config, file, mainWindow);
        ASSERT_TRUE(dialog.Create(nullptr));
        ::SetWindowPos(dialog.Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(dialog.Hwnd(), SW_SHOW);
        const HWND mainList = ::GetDlgItem(dialog.Hwnd(), IDC_MAIN_MENU_LIST);
        ListView_SetItemState(mainList, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        // The link as it looks under the pointer.
        Pump();
        const HWND link = ::GetDlgItem(dialog.Hwnd(), IDC_LINK);
        const auto pointAtLink = [&] {
            const RECT text = dialog.Link().TextRect();
            POINT middle{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
            ::SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(middle.x, middle.y));
            ::ClientToScreen(link, &middle);
            ::SetCursorPos(middle.x, middle.y);
        };
        SaveWhole(dialog.Hwnd(), L"configure-arranged", pointAtLink);
        ::ReleaseCapture();
        dialog.Destroy();
    }

    DialogDriver driver;
    driver.OnDialog(L"About BrelvantaConfigure", [&](DialogHandle about) {
        Save(about.Hwnd(), L"configure-about");
        about.Click(IDOK);
    });
    CAboutDlg().ShowModal(nullptr);
    EXPECT_EQ(driver.PendingScripts(), 0u);
}
