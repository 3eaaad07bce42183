#include "configure/BrelvantaConfigureDlg.h"
#include "configure/CommandTexts.h"

#include "BrelvantaVersion.h"

#include "resources/resource.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/Resources.h"
#include "winui/Window.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace
{
const std::wstring kMajorMinor =
    std::to_wstring(BRELVANTA_VERSION_MAJOR) + L"." + std::to_wstring(BRELVANTA_VERSION_MINOR);
const std::wstring kTarget =
    L"https://brelvanta.kaldrith.example/update/?p=QZ-" + kMajorMinor + L"." + std::to_wstring(BRELVANTA_VERSION_PATCH);

// The configure dialog shown modeless on the test's thread, with the link's opener replaced:
// a test never hands a link to the desktop.
class ButtonLinkTest : public TempFolderTest
{
  protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        DefaultMenuConfig(m_config);
        m_dialog.Link().SetOpener([this](const std::wstring& target) { m_opened.push_back(target); });
        ASSERT_TRUE(m_dialog.Create(nullptr));
        ::ShowWindow(m_dialog.Hwnd(), SW_SHOW);
        ::UpdateWindow(m_dialog.Hwnd());
        m_button = ::GetDlgItem(m_dialog.Hwnd(), IDC_LINK);
    }
    void TearDown() override
    {
        m_dialog.Destroy();
        TempFolderTest::TearDown();
    }
    void MoveTo(int x, int y) { ::SendMessageW(m_button, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    POINT InsideText() const
    {
        const RECT text = m_dialog.Link().TextRect();
        return {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    }

    MenuConfig m_config;
    MenuConfigFile m_file{TempPath(L"MenuCommands.xml")};
    std::atomic<HWND> m_mainWindow{nullptr};
    CBrelvantaConfigureDlg m_dialog{m_config, m_file, m_mainWindow};
    std::vector<std::wstring> m_opened;
    HWND m_button = nullptr;
};
} // namespace

TEST_F(ButtonLinkTest, TheTextIsHotUnderThePointerAndOpensTheTarget)
{
    EXPECT_EQ(m_mainWindow.load(), m_dialog.Hwnd());
    EXPECT_EQ(GetWindowTextString(m_button), L"Brelvanta v" + kMajorMinor);
    const RECT text = m_dialog.Link().TextRect();
    ASSERT_GT(text.right - text.left, 10) << "the text rectangle is taken at the first paint";
    RECT client{};
    ::GetClientRect(m_button, &client);
    ASSERT_LT(text.right, client.right) << "the text is shorter than the button";

    MoveTo(InsideText().x, InsideText().y);
    EXPECT_TRUE(m_dialog.Link().IsHot());
    EXPECT_EQ(::GetCapture(), m_button);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    // Beside the text, still on the button, is not the link.
    MoveTo(client.right - 2, InsideText().y);
    EXPECT_FALSE(m_dialog.Link().IsHot());
    EXPECT_NE(::GetCapture(), m_button);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(m_button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 2, InsideText().y));
    ::SendMessageW(m_button, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 2, InsideText().y));
    EXPECT_TRUE(m_opened.empty());

    MoveTo(InsideText().x, InsideText().y);
    ::SendMessageW(m_button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(InsideText().x, InsideText().y));
    ::SendMessageW(m_button, WM_LBUTTONUP, 0, MAKELPARAM(InsideText().x, InsideText().y));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], kTarget);
    EXPECT_NE(::GetCapture(), m_button);
}

TEST_F(ButtonLinkTest, AClickWithoutATargetOpensTheTextAsAnAddress)
{
    ::SendMessageW(m_button, BM_CLICK, 0, 0);
    m_dialog.Link().SetTarget(L"");
    ::SendMessageW(m_dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_LINK, BN_CLICKED), reinterpret_cast<LPARAM>(m_button));
    EXPECT_EQ(m_opened, (std::vector<std::wstring>{kTarget, L"https://Brelvanta v1.0"}));
}

TEST_F(ButtonLinkTest, TheListsHaveTheirColumnsAndStyles)
{
    for (const int id : {IDC_MAIN_MENU_LIST, IDC_SUBMENU_LIST})
    {
        const HWND list = ::GetDlgItem(m_dialog.Hwnd(), id);
        const auto style = ::GetWindowLongPtrW(list, GWL_STYLE);
        EXPECT_TRUE((style & LVS_SINGLESEL) && (style & LVS_SHOWSELALWAYS) && (style & LVS_NOSORTHEADER));
        const DWORD extended = ListView_GetExtendedListViewStyle(list);
        EXPECT_TRUE((extended & LVS_EX_CHECKBOXES) && (extended & LVS_EX_FULLROWSELECT));
        const UINT dpi = ::GetDpiForWindow(m_dialog.Hwnd());
        EXPECT_EQ(ListView_GetColumnWidth(list, 0), (static_cast<int>(dpi) * 40 + 48) / 96);
        RECT client{};
        ::GetClientRect(list, &client);
        EXPECT_GE(ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1), client.right - 1)
            << "the second column fills the rest";
    }
    wchar_t text[64]{};
    ListView_GetItemText(::GetDlgItem(m_dialog.Hwnd(), IDC_SUBMENU_LIST), 0, 1, text, 64);
    EXPECT_STREQ(text, L"Copy Filename(s)") << "the menu's access key means nothing in the list";

    // Texts that once named the dialog wrongly or were misspelt.
    EXPECT_EQ(LoadStringResource(IDS_HELP_COPY_WITH_OPTIONS),
              L"Brings up the Copy Filenames dialog that lets you customize the text copied");
    EXPECT_TRUE(CommandDescription(CommandType::CopyFilename)
                    .ends_with(L"Holding CTRL brings up the Copy with Options command."));
}
