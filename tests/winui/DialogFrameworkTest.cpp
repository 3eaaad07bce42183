#include "tests/support/DialogDriver.h"
#include "tests/support/FrameworkTestIds.h"
#include "tests/support/ProductStateTest.h"
#include "tests/winui/DebugOutputCapture.h"
#include "tests/winui/WindowGeometry.h"
#include "winsupport/SettingsStore.h"
#include "winui/ResizableDialog.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr wchar_t kCaption[] = L"Framework Test";
constexpr wchar_t kSizeName[] = L"FrameworkTestDlg";

int At144(int dips)
{
    return (dips * 144 + 48) / 96;
}

// A resizable dialog that writes down what the framework calls, in order.
class CTestDlg : public CResizableDialog
{
  public:
    explicit CTestDlg(std::vector<std::string>& log, MinimumSize minimum = MinimumSize::Initial())
        : CResizableDialog(IDD_TEST_FRAMEWORK, kSizeName, minimum), m_log(log)
    {
    }
    using CDialog::CheckedRadio;
    using CDialog::CheckRadio;
    using CDialog::Dpi;
    using CDialog::IsChecked;
    using CDialog::SetCheck;

    bool throwInInit = false;
    bool closeWhenShown = false;
    SIZE sizeAtInit{};
    std::vector<std::pair<UINT, UINT>> dpiChanges;

  protected:
    bool OnInitDialog() override
    {
        m_log.push_back("init");
        sizeAtInit = OuterSize(Hwnd());
        if (throwInInit)
            throw std::runtime_error("the test dialog failed to start");
        if (closeWhenShown)
            ::PostMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override
    {
        m_log.push_back("anchors");
        layout.AddAnchor(IDC_TEST_EDIT, kAnchorStretch, kAnchorNone, outerRight, outerBottom);
        layout.AddAnchor(IDOK, kAnchorMove, kAnchorMove, outerRight, outerBottom);
        layout.AddAnchor(IDCANCEL, kAnchorMove, kAnchorMove, outerRight, outerBottom);
    }
    void OnLayout(int, int) override
    {
        if (m_log.empty() || m_log.back() != "layout")
            m_log.push_back("layout");
    }
    bool OnCommand(int id, int code, HWND control) override
    {
        if (id == IDC_TEST_THROW)
            throw std::runtime_error("the Throw button's handler failed");
        return CResizableDialog::OnCommand(id, code, control);
    }
    void OnDestroy() override { m_log.push_back("destroy"); }
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override { dpiChanges.emplace_back(oldDpi, newDpi); }

  private:
    std::vector<std::string>& m_log;
};

CTestDlg& DialogOf(DialogHandle dlg)
{
    return *static_cast<CTestDlg*>(CDialog::FromHandle(dlg.Hwnd()));
}
} // namespace

class DialogFrameworkTest : public ProductStateTest
{
  protected:
    std::vector<std::string> log;
};

TEST_F(DialogFrameworkTest, TheDialogsOwnSetUpRunsOnceTheFrameworkHasPreparedTheWindow)
{
    // A remembered size larger than the template: it is in place when OnInitDialog runs, and the
    // dialog still cannot be made smaller than the template.
    WriteSettingDword(std::wstring(kSizeName) + L"Width", 500);
    WriteSettingDword(std::wstring(kSizeName) + L"Height", 400);
    DialogDriver driver;
    SIZE templateSize{};
    driver.OnDialog(kCaption, [&](DialogHandle dlg) {
        CTestDlg& dialog = DialogOf(dlg);
        EXPECT_EQ(dialog.sizeAtInit.cx, 500);
        EXPECT_EQ(dialog.sizeAtInit.cy, 400);
        MINMAXINFO limits{};
        ::SendMessageW(dlg.Hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        templateSize = {limits.ptMinTrackSize.x, limits.ptMinTrackSize.y};
        ::SetWindowPos(dlg.Hwnd(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(OuterSize(dlg.Hwnd()).cx, templateSize.cx);
        EXPECT_EQ(OuterSize(dlg.Hwnd()).cy, templateSize.cy);
        dlg.Click(IDOK);
    });
    EXPECT_EQ(CTestDlg(log).ShowModal(nullptr), IDOK);
    EXPECT_EQ(log, (std::vector<std::string>{"anchors", "init", "layout", "destroy"}))
        << "no layout reaches the dialog before its own set-up, though the remembered size is applied first";
    EXPECT_LT(templateSize.cx, 500);
    EXPECT_LT(templateSize.cy, 400);
    EXPECT_GT(templateSize.cx, 200);
}

TEST_F(DialogFrameworkTest, CheckBoxAndRadioHelpers)
{
    DialogDriver driver;
    driver.OnDialog(kCaption, [&](DialogHandle dlg) {
        CTestDlg& dialog = DialogOf(dlg);
        EXPECT_FALSE(dialog.IsChecked(IDC_TEST_CHECK));
        dialog.SetCheck(IDC_TEST_CHECK, true);
        EXPECT_TRUE(dialog.IsChecked(IDC_TEST_CHECK));
        dialog.SetCheck(IDC_TEST_CHECK, false);
        EXPECT_EQ(::IsDlgButtonChecked(dlg.Hwnd(), IDC_TEST_CHECK), static_cast<UINT>(BST_UNCHECKED));

        EXPECT_EQ(dialog.CheckedRadio(IDC_TEST_RADIO_FIRST, IDC_TEST_RADIO_THIRD), 0) << "none checked yet";
        dialog.CheckRadio(IDC_TEST_RADIO_FIRST, IDC_TEST_RADIO_THIRD, IDC_TEST_RADIO_THIRD);
        EXPECT_EQ(dialog.CheckedRadio(IDC_TEST_RADIO_FIRST, IDC_TEST_RADIO_THIRD), IDC_TEST_RADIO_THIRD);
        dialog.CheckRadio(IDC_TEST_RADIO_FIRST, IDC_TEST_RADIO_THIRD, IDC_TEST_RADIO_SECOND);
        EXPECT_EQ(dialog.CheckedRadio(IDC_TEST_RADIO_FIRST, IDC_TEST_RADIO_THIRD), IDC_TEST_RADIO_SECOND);
        EXPECT_FALSE(dialog.IsChecked(IDC_TEST_RADIO_THIRD)) << "one button of a group at a time";
        dlg.Click(IDOK);
    });
    CTestDlg(log).ShowModal(nullptr);
    EXPECT_EQ(driver.PendingScripts(), 0u);
}

TEST_F(DialogFrameworkTest, AnExceptionInAHandlerIsReportedAndEndsOnlyThatMessage)
{
    DebugOutputCapture output;
    DialogDriver driver;
    driver.OnDialog(kCaption, [&](DialogHandle dlg) {
        EXPECT_TRUE(dlg.Click(IDC_TEST_THROW));
        EXPECT_TRUE(output.Contains("the Throw button's handler failed")) << output.Text();
        EXPECT_TRUE(output.Contains("dialog 9000 dropped message 0x0111")) << output.Text();
        EXPECT_TRUE(::IsWindowVisible(dlg.Hwnd())) << "the dialog carries on";
        dlg.SetText(IDC_TEST_EDIT, L"still working");
        EXPECT_EQ(dlg.GetText(IDC_TEST_EDIT), L"still working");
        dlg.Click(IDOK);
    });
    EXPECT_EQ(CTestDlg(log).ShowModal(nullptr), IDOK);
    EXPECT_EQ(driver.PendingScripts(), 0u);
}

TEST_F(DialogFrameworkTest, ADialogThatCannotSetItselfUpEndsAsCancelledWithoutShowing)
{
    DebugOutputCapture output;
    DialogDriver driver;
    CTestDlg dialog(log);
    dialog.throwInInit = true;
    EXPECT_EQ(dialog.ShowModal(nullptr), IDCANCEL);
    EXPECT_TRUE(output.Contains("the test dialog failed to start")) << output.Text();
    EXPECT_TRUE(output.Contains("message 0x0110")) << output.Text();
    EXPECT_TRUE(driver.SeenCaptions().empty());
    EXPECT_EQ(dialog.Hwnd(), nullptr);
}

TEST_F(DialogFrameworkTest, AModelessDialogDestroyedThroughItsObjectRunsItsOwnOnDestroy)
{
    {
        ModelessDialog<CTestDlg> dialog(log, MinimumSize{});
        ASSERT_TRUE(dialog.Create(nullptr));
        ::SetWindowPos(dialog.Hwnd(), nullptr, 0, 0, 420, 300, SWP_NOMOVE | SWP_NOZORDER);
    }
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "destroy");
    DWORD width = 0;
    DWORD height = 0;
    EXPECT_TRUE(ReadSettingDword(std::wstring(kSizeName) + L"Width", width));
    EXPECT_TRUE(ReadSettingDword(std::wstring(kSizeName) + L"Height", height));
    EXPECT_EQ(width, 420u);
    EXPECT_EQ(height, 300u);
    EXPECT_EQ(CDialog::LiveCount(), 0);

    // Held as a plain object, only its window goes: no handler of the half-destroyed object runs.
    log.clear();
    DebugOutputCapture output;
    HWND window = nullptr;
    {
        CTestDlg dialog(log);
        ASSERT_TRUE(dialog.Create(nullptr));
        window = dialog.Hwnd();
    }
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(log, std::vector<std::string>({"anchors", "init", "layout"}));
    EXPECT_TRUE(output.Contains("dialog 9000 destroyed with its window open")) << output.Text();
}

TEST_F(DialogFrameworkTest, WmDpiChangedMovesTheDialogAndLaysItOutAtTheNewDpi)
{
    ModelessDialog<CTestDlg> dialog(log);
    ASSERT_TRUE(dialog.Create(nullptr));
    const HWND hwnd = dialog.Hwnd();
    if (dialog.Dpi().Dpi() != 96)
        GTEST_SKIP() << "the test prefix is not at 96 DPI";
    const SIZE initial = OuterSize(hwnd);
    // The first layout moves the anchored controls to their gaps from the client edges.
    ::SetWindowPos(hwnd, nullptr, 0, 0, initial.cx + 10, initial.cy + 10, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer{};
    ::GetWindowRect(hwnd, &outer);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const int okRightGap = client.right - ChildRect(hwnd, IDOK).right; // pixels at 96 = DIPs

    // What the system sends a per-monitor aware window moved to a 144-DPI monitor.
    RECT suggested{outer.left + 10, outer.top + 20, outer.left + 10 + initial.cx * 3 / 2,
                   outer.top + 20 + initial.cy * 3 / 2};
    ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    EXPECT_EQ(dialog.dpiChanges, (std::vector<std::pair<UINT, UINT>>{{96, 144}}));
    RECT now{};
    ::GetWindowRect(hwnd, &now);
    EXPECT_EQ(now.left, suggested.left);
    EXPECT_EQ(now.top, suggested.top);
    EXPECT_EQ(now.right, suggested.right);
    EXPECT_EQ(now.bottom, suggested.bottom);
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right - ChildRect(hwnd, IDOK).right, At144(okRightGap));
    MINMAXINFO limits{};
    ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, At144(initial.cx));
    EXPECT_EQ(limits.ptMinTrackSize.y, At144(initial.cy));

    // A later size change does not undo what the system reported.
    ::SetWindowPos(hwnd, nullptr, 0, 0, initial.cx * 2, initial.cy * 2, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(dialog.Dpi().Dpi(), 144u);
    EXPECT_EQ(dialog.dpiChanges.size(), 1u);
    dialog.Destroy();
    DWORD width = 0;
    ASSERT_TRUE(ReadSettingDword(std::wstring(kSizeName) + L"Width", width));
    EXPECT_EQ(width, static_cast<DWORD>((initial.cx * 2 * 96 + 72) / 144)) << "remembered in DIPs";
}

TEST_F(DialogFrameworkTest, TheDriverFailsATestWhoseScriptThrowsAndCancelsItsDialog)
{
    INT_PTR result = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            DialogDriver driver;
            driver.OnDialog(kCaption, [](DialogHandle) { throw std::runtime_error("the script broke"); });
            result = CTestDlg(log).ShowModal(nullptr);
            EXPECT_FALSE(driver.TimedOut()) << "cancelled at once, not at the timeout";
        },
        "the script broke");
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogFrameworkTest, TheDriverRecordsEveryDialogThatAppeared)
{
    DialogDriver driver;
    CTestDlg dialog(log);
    dialog.closeWhenShown = true;
    EXPECT_EQ(dialog.ShowModal(nullptr), IDOK);
    driver.OnDialog(L"Framework Note", [](DialogHandle dlg) { dlg.Click(IDOK); });
    ::MessageBoxW(nullptr, L"A note", L"Framework Note", MB_OK);
    EXPECT_EQ(driver.SeenCaptions(), (std::vector<std::wstring>{kCaption, L"Framework Note"}))
        << "dialogs without a script count too";
}
