#include "tests/support/DialogDriver.h"
#include "tests/support/FrameworkTestIds.h"
#include "tests/support/ProductStateTest.h"
#include "tests/winui/WindowGeometry.h"
#include "winui/ResizableDialog.h"
#include "winui/TabPages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr wchar_t kCaption[] = L"Framework Tabs";

// A page that writes down when it is selected and left.
class CTestPage : public CChildDialog, public ITabDlg
{
  public:
    CTestPage(UINT templateId, std::string name, std::vector<std::string>& log)
        : CChildDialog(templateId), m_name(std::move(name)), m_log(log)
    {
    }
    void OnPageSelected() override { m_log.push_back(m_name + " selected"); }
    void OnPageDeselected() override { m_log.push_back(m_name + " left"); }
    HWND GetPageWnd() const override { return Hwnd(); }

  private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class CTabsDlg final : public CResizableDialog
{
  public:
    explicit CTabsDlg(std::vector<std::string>& log) : CResizableDialog(IDD_TEST_TABS, L""), m_log(log) {}
    TabPages& Pages() noexcept { return m_pages; }
    HWND PageWindow(int index) const { return m_pages.Page(index).GetPageWnd(); }

  protected:
    bool OnInitDialog() override
    {
        m_pages.Attach(Hwnd(), IDC_TEST_TAB);
        m_pages.Add<CTestPage>(L"First", IDD_TEST_PAGE_FIRST, "first", m_log);
        m_pages.Add<CTestPage>(L"Second", IDD_TEST_PAGE_SECOND, "second", m_log);
        m_pages.Select(0);
        return true;
    }
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override
    {
        layout.AddAnchor(IDC_TEST_TAB, kAnchorStretch, kAnchorStretch, outerRight, outerBottom);
        layout.AddAnchor(IDOK, kAnchorMove, kAnchorMove, outerRight, outerBottom);
        layout.AddAnchor(IDCANCEL, kAnchorMove, kAnchorMove, outerRight, outerBottom);
    }
    std::optional<LRESULT> OnNotify(const NMHDR& header) override
    {
        if (!m_pages.OnNotify(header))
            return std::nullopt;
        m_log.push_back("tab " + std::to_string(m_pages.Current()));
        return 0;
    }

  private:
    std::vector<std::string>& m_log;
    TabPages m_pages;
};

CTabsDlg& DialogOf(DialogHandle dlg)
{
    return *static_cast<CTabsDlg*>(CDialog::FromHandle(dlg.Hwnd()));
}

RECT DisplayArea(HWND dialog)
{
    const HWND tab = ::GetDlgItem(dialog, IDC_TEST_TAB);
    RECT area = ChildRect(dialog, tab);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    return area;
}

void ExpectOver(HWND dialog, HWND page, const RECT& area)
{
    const RECT placed = ChildRect(dialog, page);
    EXPECT_EQ(placed.left, area.left);
    EXPECT_EQ(placed.top, area.top);
    EXPECT_EQ(placed.right, area.right);
    EXPECT_EQ(placed.bottom, area.bottom);
}
} // namespace

class TabPagesTest : public ProductStateTest
{
  protected:
    std::vector<std::string> log;
};

TEST_F(TabPagesTest, PagesLieOverTheDisplayAreaAndOnlyTheSelectedOneShows)
{
    DialogDriver driver;
    driver.OnDialog(kCaption, [&](DialogHandle dlg) {
        CTabsDlg& dialog = DialogOf(dlg);
        const HWND hwnd = dlg.Hwnd();
        const HWND tab = dlg.Item(IDC_TEST_TAB);
        const HWND first = dialog.PageWindow(0);
        const HWND second = dialog.PageWindow(1);
        EXPECT_EQ(TabCtrl_GetItemCount(tab), 2);
        EXPECT_EQ(::GetParent(first), hwnd) << "pages are children of the dialog";
        EXPECT_EQ(::GetWindow(second, GW_HWNDNEXT), tab) << "just above the tab control";
        EXPECT_EQ(::GetWindow(first, GW_HWNDNEXT), second);
        EXPECT_TRUE(::GetWindowLongW(tab, GWL_STYLE) & WS_CLIPSIBLINGS);
        const RECT area = DisplayArea(hwnd);
        EXPECT_GT(area.right - area.left, 100);
        ExpectOver(hwnd, first, area);
        ExpectOver(hwnd, second, area);
        EXPECT_TRUE(::IsWindowVisible(first));
        EXPECT_FALSE(::IsWindowVisible(second));

        // As a click on the second tab.
        TabCtrl_SetCurFocus(tab, 1);
        EXPECT_EQ(dialog.Pages().Current(), 1);
        EXPECT_FALSE(::IsWindowVisible(first));
        EXPECT_TRUE(::IsWindowVisible(second));

        // The pages follow the tab control as the dialog grows.
        RECT outer{};
        ::GetWindowRect(hwnd, &outer);
        ::SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + 60, outer.bottom - outer.top + 40,
                       SWP_NOMOVE | SWP_NOZORDER);
        const RECT grown = DisplayArea(hwnd);
        EXPECT_GT(grown.right - grown.left, area.right - area.left + 50);
        EXPECT_GT(grown.bottom - grown.top, area.bottom - area.top + 30);
        ExpectOver(hwnd, first, grown);
        ExpectOver(hwnd, second, grown);

        dialog.Pages().Select(7); // out of range: nothing changes
        EXPECT_EQ(dialog.Pages().Current(), 1);
        dlg.Click(IDOK);
    });
    EXPECT_EQ(CTabsDlg(log).ShowModal(nullptr), IDOK);
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_EQ(log, (std::vector<std::string>{"first selected", "first left", "second selected", "tab 1"}));
}

TEST_F(TabPagesTest, CtrlTabStepsThroughThePagesAndTakesTheFocusAlong)
{
    DialogDriver driver;
    driver.OnDialog(kCaption, [&](DialogHandle dlg) {
        CTabsDlg& dialog = DialogOf(dlg);
        const HWND first = dialog.PageWindow(0);
        const HWND second = dialog.PageWindow(1);
        ::SetFocus(::GetDlgItem(first, IDC_TEST_PAGE_NAME));

        dlg.PressKey(VK_TAB, true);
        EXPECT_EQ(dialog.Pages().Current(), 1);
        EXPECT_TRUE(::IsWindowVisible(second));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(second, IDC_TEST_PAGE_BUTTON)) << "the new page's first control";

        dlg.PressKey(VK_TAB, true); // past the last tab: the first again
        EXPECT_EQ(dialog.Pages().Current(), 0);
        dlg.PressKey(VK_TAB, true, true); // backwards from the first: the last
        EXPECT_EQ(dialog.Pages().Current(), 1);
        dlg.PressKey(VK_TAB, true, true);
        EXPECT_EQ(dialog.Pages().Current(), 0);

        // From the tab control itself too; the focus stays there.
        ::SetFocus(dlg.Item(IDC_TEST_TAB));
        dlg.PressKey(VK_TAB, true);
        EXPECT_EQ(dialog.Pages().Current(), 1);
        EXPECT_EQ(::GetFocus(), dlg.Item(IDC_TEST_TAB));
        dlg.Click(IDCANCEL);
    });
    CTabsDlg(log).ShowModal(nullptr);
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_EQ(std::count(log.begin(), log.end(), "tab 1"), 3) << "each step is a tab change the dialog hears of";
}

TEST_F(TabPagesTest, TheDialogKeysWorkInsideAPage)
{
    DialogDriver driver;
    driver.OnDialog(kCaption, [&](DialogHandle dlg) {
        const HWND first = DialogOf(dlg).PageWindow(0);
        const HWND name = ::GetDlgItem(first, IDC_TEST_PAGE_NAME);
        const HWND notes = ::GetDlgItem(first, IDC_TEST_PAGE_NOTES);
        ::SetFocus(name);
        dlg.PressKey(VK_TAB);
        EXPECT_EQ(::GetFocus(), notes) << "TAB moves between the page's controls";
        dlg.PressKey(VK_TAB, false, true);
        EXPECT_EQ(::GetFocus(), name);
        dlg.PressKey(VK_RETURN); // the owner's OK, as the default button
    });
    EXPECT_EQ(CTabsDlg(log).ShowModal(nullptr), IDOK);

    // A multi-line edit takes Escape itself and tells its parent, the page, which passes it on.
    driver.OnDialog(kCaption, [&](DialogHandle dlg) {
        ::SetFocus(::GetDlgItem(DialogOf(dlg).PageWindow(0), IDC_TEST_PAGE_NOTES));
        dlg.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(CTabsDlg(log).ShowModal(nullptr), IDCANCEL);
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_FALSE(driver.TimedOut());
}
