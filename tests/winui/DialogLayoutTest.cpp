#include "foldertools/ClashDlg.h"
#include "resources/resource.h"
#include "shellext/BrelvantaModule.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ProductStateTest.h"
#include "tests/winui/WindowGeometry.h"
#include "winsupport/SettingsStore.h"
#include "winui/AnchorLayout.h"
#include "winui/Dialog.h"
#include "winui/ScreenDpi.h"

#include <gtest/gtest.h>

namespace
{
HWND SizeGripOf(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetDlgCtrlID(child) == 0 && (::GetWindowLongW(child, GWL_STYLE) & SBS_SIZEGRIP))
            return child;
    return nullptr;
}

struct Watcher : ScreenDpiWatcher
{
    int calls = 0;
    void OnDpiChanged(UINT, UINT) override { ++calls; }
};
} // namespace

TEST(ScreenDpiTest, ConvertsWithRounding)
{
    struct Case
    {
        int value;
        UINT dpi;
        int pixels;
    };
    for (const Case& c : {Case{600, 144, 900}, Case{1, 144, 2}, Case{7, 120, 9}, Case{0, 144, 0}, Case{-5, 144, -5},
                          Case{267, 96, 267}})
        EXPECT_EQ(ScreenDpi::DipsToPixels(c.value, c.dpi), c.pixels) << c.value << " at " << c.dpi;
    EXPECT_EQ(ScreenDpi::PixelsToDips(600, 144), 400);
    EXPECT_EQ(ScreenDpi::PixelsToDips(400, 144), 267);
    EXPECT_EQ(ScreenDpi::PixelsToDips(0, 144), 0);
    EXPECT_EQ(ScreenDpi::PixelsToDips(-3, 144), -3);
}

TEST(ScreenDpiTest, FirstUpdateResolvesWithoutTellingWatchers)
{
    ScreenDpi dpi;
    Watcher watcher;
    dpi.AddWatcher(&watcher);
    EXPECT_EQ(dpi.Dpi(), 96u);
    dpi.Update(::GetDesktopWindow());
    EXPECT_TRUE(dpi.Resolved());
    const HDC screen = ::GetDC(nullptr);
    const UINT logical = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(dpi.Dpi(), logical);
    dpi.Update(::GetDesktopWindow());
    // Only a real change of DPI reaches the watchers; at 96 nothing changed at all.
    EXPECT_EQ(watcher.calls, logical == 96 ? 0 : watcher.calls);
    dpi.RemoveWatcher(&watcher);
}

class DialogLayoutTest : public ProductStateTest
{
};

TEST_F(DialogLayoutTest, ControlsFollowTheCornerAndTheSizeIsRemembered)
{
    DialogDriver driver;
    SIZE templateSize{};
    driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
        const HWND hwnd = dlg.Hwnd();
        EXPECT_EQ(CDialog::LiveCount(), 1);
        EXPECT_EQ(dlg.GetText(IDC_CLASH_HEADING), L"heading");
        EXPECT_EQ(dlg.GetText(IDC_CLASH_DETAILS), L"line 1\r\nline 2\r\n");
        templateSize = OuterSize(hwnd);
        const RECT okBefore = ChildRect(hwnd, IDOK);
        const RECT headingBefore = ChildRect(hwnd, IDC_CLASH_HEADING);
        const RECT detailsBefore = ChildRect(hwnd, IDC_CLASH_DETAILS);
        RECT outer{};
        ::GetWindowRect(hwnd, &outer);
        RECT okScreen{};
        ::GetWindowRect(dlg.Item(IDOK), &okScreen);
        const int okRightGap = outer.right - okScreen.right;
        const int okBottomGap = outer.bottom - okScreen.bottom;

        // The gaps were measured to the outer edges and are kept to the client edges.
        ::SetWindowPos(hwnd, nullptr, 0, 0, templateSize.cx + 100, templateSize.cy + 50, SWP_NOMOVE | SWP_NOZORDER);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        RECT ok = ChildRect(hwnd, IDOK);
        EXPECT_EQ(client.right - ok.right, okRightGap);
        EXPECT_EQ(client.bottom - ok.bottom, okBottomGap);
        EXPECT_EQ(ok.right - ok.left, okBefore.right - okBefore.left);
        EXPECT_EQ(ok.bottom - ok.top, okBefore.bottom - okBefore.top);
        RECT heading = ChildRect(hwnd, IDC_CLASH_HEADING);
        EXPECT_EQ(heading.left, headingBefore.left);
        EXPECT_EQ(heading.top, headingBefore.top);
        EXPECT_EQ(heading.bottom, headingBefore.bottom);
        RECT details = ChildRect(hwnd, IDC_CLASH_DETAILS);
        EXPECT_EQ(details.left, detailsBefore.left);
        EXPECT_EQ(details.top, detailsBefore.top);

        // From then on each control follows the size change exactly.
        const RECT okMid = ok;
        const RECT headingMid = heading;
        const RECT detailsMid = details;
        ::SetWindowPos(hwnd, nullptr, 0, 0, templateSize.cx + 130, templateSize.cy + 70, SWP_NOMOVE | SWP_NOZORDER);
        ok = ChildRect(hwnd, IDOK);
        heading = ChildRect(hwnd, IDC_CLASH_HEADING);
        details = ChildRect(hwnd, IDC_CLASH_DETAILS);
        EXPECT_EQ(ok.left - okMid.left, 30);
        EXPECT_EQ(ok.top - okMid.top, 20);
        EXPECT_EQ(heading.right - headingMid.right, 30);
        EXPECT_EQ(heading.bottom, headingMid.bottom);
        EXPECT_EQ(details.right - detailsMid.right, 30);
        EXPECT_EQ(details.bottom - detailsMid.bottom, 20);

        // The grip sits in the corner and goes away while the dialog is maximised.
        const HWND grip = SizeGripOf(hwnd);
        ASSERT_NE(grip, nullptr);
        ::GetClientRect(hwnd, &client);
        RECT gripRect{};
        ::GetWindowRect(grip, &gripRect);
        ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&gripRect), 2);
        EXPECT_EQ(gripRect.right, client.right);
        EXPECT_EQ(gripRect.bottom, client.bottom);
        EXPECT_EQ(::SendMessageW(grip, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
        ::ShowWindow(hwnd, SW_MAXIMIZE);
        EXPECT_FALSE(::IsWindowVisible(grip));
        ::ShowWindow(hwnd, SW_RESTORE);
        EXPECT_TRUE(::IsWindowVisible(grip));

        // The minimum tracking size holds.
        MINMAXINFO limits{};
        ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, ScreenDpi::DipsToPixels(240, 96));
        EXPECT_EQ(limits.ptMinTrackSize.y, ScreenDpi::DipsToPixels(160, 96));
        ::SetWindowPos(hwnd, nullptr, 0, 0, 400, 267, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_TRUE(dlg.Click(IDOK));
    });
    EXPECT_EQ(CClashDlg(L"heading", L"line 1\nline 2\n").ShowModal(nullptr), IDOK);
    EXPECT_EQ(driver.PendingScripts(), 0u);

    DWORD width = 0;
    DWORD height = 0;
    ASSERT_TRUE(ReadSettingDword(L"ExtractFolderDlgWidth", width));
    ASSERT_TRUE(ReadSettingDword(L"ExtractFolderDlgHeight", height));
    EXPECT_EQ(width, 400u);
    EXPECT_EQ(height, 267u);

    // Opened again at the remembered size; a stored 0 leaves the template size.
    driver.OnDialog(L"Extract Folders Clash", [](DialogHandle dlg) {
        const SIZE size = OuterSize(dlg.Hwnd());
        EXPECT_EQ(size.cx, 400);
        EXPECT_EQ(size.cy, 267);
        dlg.Click(IDOK);
    });
    CClashDlg(L"h", L"d").ShowModal(nullptr);
    WriteSettingDword(L"ExtractFolderDlgWidth", 0);
    driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
        const SIZE size = OuterSize(dlg.Hwnd());
        EXPECT_EQ(size.cx, templateSize.cx);
        EXPECT_EQ(size.cy, templateSize.cy);
        dlg.Click(IDOK);
    });
    CClashDlg(L"h", L"d").ShowModal(nullptr);
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_EQ(CDialog::LiveCount(), 0);
}

TEST_F(DialogLayoutTest, DriverCancelsADialogLeftOpen)
{
    DialogDriver driver(std::chrono::milliseconds(300));
    CClashDlg dialog(L"h", L"d");
    EXPECT_EQ(dialog.ShowModal(nullptr), IDCANCEL);
    EXPECT_TRUE(driver.TimedOut());
}

TEST(AnchorLayoutTest, MissingControlsAreNotRecorded)
{
    const HWND window =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    AnchorLayout layout(window, std::make_shared<ScreenDpi>());
    layout.AddAnchor(1234, kAnchorMove, kAnchorMove, 200, 100);
    EXPECT_TRUE(layout.Anchors().empty());
    layout.Layout(300, 300);
    ::DestroyWindow(window);
}

TEST_F(DialogLayoutTest, TheLibraryStaysLoadedWhileADialogLives)
{
    ASSERT_EQ(Module().GetLockCount(), 0);
    EXPECT_TRUE(Module().CanUnload());
    DialogDriver driver;
    bool checked = false;
    driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
        EXPECT_FALSE(Module().CanUnload());
        checked = true;
        dlg.Click(IDOK);
    });
    {
        CClashDlg dialog(L"h", L"d");
        EXPECT_FALSE(Module().CanUnload()) << "a dialog object counts before its window exists";
        dialog.ShowModal(nullptr);
    }
    EXPECT_TRUE(checked);
    EXPECT_TRUE(Module().CanUnload());
}
