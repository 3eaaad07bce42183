#include "tests/support/DialogDriver.h"
#include "tests/support/FrameworkTestIds.h"
#include "tests/support/HighContrast.h"
#include "tests/winui/DebugOutputCapture.h"
#include "winui/ButtonLink.h"
#include "winui/Control.h"
#include "winui/Dialog.h"
#include "winui/WindowHandles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

namespace
{
constexpr COLORREF kDrawnColour = RGB(200, 30, 40);
constexpr wchar_t kMiddleDot = L'\u00B7';

// The list's own context menu: one command, which reaches the dialog.
class CTestList final : public CListViewCtrl
{
  public:
    POINT menuPoint{-1, -1};

  protected:
    void OnContextMenu(POINT point) override
    {
        menuPoint = point;
        const UniqueHmenu menu(::CreatePopupMenu());
        ::AppendMenuW(menu.Get(), MF_STRING, IDM_TEST_LIST_COMMAND, L"Test command");
        TrackMenu(menu.Get(), point);
    }
};

// An owner-drawn button that paints itself in one colour.
class CTestDrawnButton final : public CControl
{
  public:
    int draws = 0;

  protected:
    std::optional<LRESULT> OnParentMessage(UINT message, WPARAM, LPARAM lParam) override
    {
        if (message != WM_DRAWITEM)
            return std::nullopt;
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const UniqueGdiObject brush(::CreateSolidBrush(kDrawnColour));
        ::FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(brush.Get()));
        ++draws;
        return TRUE;
    }
};

// An edit that shows spaces as middle dots; an 'x' typed into it throws.
class CTestSpacesEdit final : public CControl
{
  protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CHAR && wParam == L'x')
            throw std::runtime_error("the edit refused an x");
        if (message == WM_CHAR && wParam == L' ')
            return CallOriginal(message, kMiddleDot, lParam);
        if (message == WM_SETTEXT && lParam)
        {
            std::wstring shown = reinterpret_cast<const wchar_t*>(lParam);
            std::replace(shown.begin(), shown.end(), L' ', kMiddleDot);
            return CallOriginal(message, wParam, reinterpret_cast<LPARAM>(shown.c_str()));
        }
        return std::nullopt;
    }
};

class CControlsDlg : public CDialog
{
  public:
    CControlsDlg() : CDialog(IDD_TEST_CONTROLS) {}
    CTestList list;
    CTestDrawnButton button;
    CTestSpacesEdit edit;
    int listCommands = 0;

  protected:
    bool OnInitDialog() override
    {
        list.Attach(Hwnd(), IDC_TEST_LIST);
        button.Attach(Hwnd(), IDC_TEST_DRAWN);
        edit.Attach(Hwnd(), IDC_TEST_SPACES);
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = 150;
        ListView_InsertColumn(list.Hwnd(), 0, &column);
        for (const wchar_t* text : {L"alpha", L"beta", L"gamma"})
        {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = ListView_GetItemCount(list.Hwnd());
            item.pszText = const_cast<wchar_t*>(text);
            ListView_InsertItem(list.Hwnd(), &item);
        }
        return true;
    }
    bool OnCommand(int id, int code, HWND control) override
    {
        if (id == IDM_TEST_LIST_COMMAND)
        {
            ++listCommands;
            return true;
        }
        return CDialog::OnCommand(id, code, control);
    }
};

LONG_PTR ProcedureOf(HWND window)
{
    return ::GetWindowLongPtrW(window, GWLP_WNDPROC);
}

void Pump()
{
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}
} // namespace

TEST(ControlTest, TheOriginalProcedureIsBackWhenTheObjectOrTheWindowGoes)
{
    const HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR original = ProcedureOf(edit);
    {
        CTestSpacesEdit control;
        ASSERT_TRUE(control.Attach(edit));
        EXPECT_NE(ProcedureOf(edit), original);
        EXPECT_EQ(CControl::FromHandle(edit), &control);
        CTestSpacesEdit second;
        EXPECT_FALSE(second.Attach(edit)) << "one object per control";
        ::SetWindowTextW(edit, L"a b");
        EXPECT_EQ(GetWindowTextString(edit), L"a\u00B7b");
    }
    EXPECT_EQ(ProcedureOf(edit), original);
    EXPECT_EQ(CControl::FromHandle(edit), nullptr);
    ::SetWindowTextW(edit, L"a b");
    EXPECT_EQ(GetWindowTextString(edit), L"a b") << "the edit is plain again";

    CTestSpacesEdit control;
    ASSERT_TRUE(control.Attach(edit));
    ::DestroyWindow(edit);
    EXPECT_EQ(control.Hwnd(), nullptr) << "let go with the window";
    EXPECT_FALSE(control.Attach(nullptr));
}

TEST(ControlTest, TheControlsOfATemplateBehaveAsTheirObjectsSay)
{
    ModelessDialog<CControlsDlg> dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    ::ShowWindow(dialog.Hwnd(), SW_SHOW);

    // The owner-drawn button is drawn by its own object, from the WM_DRAWITEM of its parent.
    ::RedrawWindow(dialog.button.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(dialog.button.draws, 0);
    const HDC dc = ::GetDC(dialog.button.Hwnd());
    EXPECT_EQ(::GetPixel(dc, 3, 3), kDrawnColour);
    ::ReleaseDC(dialog.button.Hwnd(), dc);

    // Typed spaces become middle dots; an exception in the handler is reported, and the edit
    // carries on with the key as its own procedure sees it.
    DebugOutputCapture output;
    const HWND edit = dialog.edit.Hwnd();
    ::SetWindowTextW(edit, L"");
    for (const wchar_t c : std::wstring(L"a bx"))
        ::PostMessageW(edit, WM_CHAR, c, 1);
    Pump();
    EXPECT_EQ(GetWindowTextString(edit), L"a\u00B7bx");
    EXPECT_TRUE(output.Contains("control 9142 dropped message 0x0102: the edit refused an x")) << output.Text();
}

TEST(ControlTest, AListViewShowsItsOwnContextMenuAndItsCommandReachesTheDialog)
{
    ModelessDialog<CControlsDlg> dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    ::ShowWindow(dialog.Hwnd(), SW_SHOW);
    const HWND list = dialog.list.Hwnd();
    DialogDriver driver;
    RECT shown{};
    driver.OnPopupMenu([&](HWND menu) {
        ::GetWindowRect(menu, &shown);
        // The first item, as a click would choose it.
        ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    });
    POINT click{20, 30};
    ::ClientToScreen(list, &click);
    ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(click.x, click.y));
    Pump();
    EXPECT_EQ(dialog.list.menuPoint.x, click.x);
    EXPECT_EQ(dialog.list.menuPoint.y, click.y);
    EXPECT_EQ(shown.left, click.x);
    EXPECT_EQ(shown.top, click.y);
    EXPECT_EQ(dialog.listCommands, 1);

    // From the keyboard the menu opens at the focused row.
    ListView_SetItemState(list, 2, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    RECT row{};
    ListView_GetItemRect(list, 2, &row, LVIR_LABEL);
    POINT corner{row.left, row.top};
    ::ClientToScreen(list, &corner);
    driver.OnPopupMenu([](HWND) { ::EndMenu(); });
    ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    EXPECT_GT(dialog.list.menuPoint.x, corner.x);
    EXPECT_GT(dialog.list.menuPoint.y, corner.y);
    EXPECT_LT(dialog.list.menuPoint.y, corner.y + (row.bottom - row.top));
    EXPECT_EQ(dialog.listCommands, 1) << "a dismissed menu sends nothing";
    EXPECT_EQ(driver.PendingScripts(), 0u);
}

// The link keeps its own blue, except under a high-contrast theme: there it takes the system's
// link colour, the only one the user's theme promises to show on the button's face.
TEST(ControlTest, TheLinkTakesTheSystemLinkColourInAHighContrastTheme)
{
    const UniqueWindow button(::CreateWindowExW(0, L"BUTTON", L"example.org", WS_POPUP | BS_OWNERDRAW, 0, 0, 120, 20,
                                                nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(button);
    ScreenDpi dpi;
    CButtonLink link(dpi);
    ASSERT_TRUE(link.Attach(button.Get()));
    // How many pixels of each colour a paint of the link leaves.
    const auto paint = [&]() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 120;
        info.bmiHeader.biHeight = -20;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        const UniqueHbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        const UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
        const SelectObjectGuard selected(memory.Get(), bitmap.Get());
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button.Get();
        item.hDC = memory.Get();
        item.rcItem = {0, 0, 120, 20};
        link.DrawItem(item);
        std::map<COLORREF, int> counts;
        for (int i = 0; i < 120 * 20; ++i)
        {
            const DWORD pixel = static_cast<const DWORD*>(bits)[i];
            ++counts[RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF)];
        }
        return counts;
    };
    const COLORREF blue = RGB(0, 51, 153);
    EXPECT_GT(paint()[blue], 0);

    HIGHCONTRASTW before{};
    before.cbSize = sizeof(before);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(before), &before, 0));
    HIGHCONTRASTW on{};
    on.cbSize = sizeof(on);
    on.dwFlags = HCF_HIGHCONTRASTON;
    const bool set = ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(on), &on, 0) != FALSE;
    HIGHCONTRASTW now{};
    now.cbSize = sizeof(now);
    ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(now), &now, 0);
    if (!set || !(now.dwFlags & HCF_HIGHCONTRASTON))
    {
        ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(before), &before, 0);
        GTEST_SKIP() << "this platform does not turn a high-contrast theme on (SPI_SETHIGHCONTRAST)";
    }
    std::map<COLORREF, int> contrast;
    COLORREF linkColour = 0;
    {
        const HighContrastColours colours;
        linkColour = ::GetSysColor(COLOR_HOTLIGHT);
        contrast = paint();
    }
    before.lpszDefaultScheme = nullptr;
    ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(before), &before, 0);
    EXPECT_GT(contrast[linkColour], 0);
    EXPECT_EQ(contrast[blue], 0);
}
