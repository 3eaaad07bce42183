// The preview of the copy options dialog, in the dialog the built DLL shows: a read-only text box
// that takes long texts at once and is read, scrolled, selected and copied like an edit.
#include "resources/resource.h"
#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/AccessibleReader.h"
#include "tests/support/ClipboardHelpers.h"
#include "tests/support/DialogDriver.h"
#include "winsupport/ComPtr.h"
#include "winui/Window.h"
#include "winui/WindowHandles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

namespace
{
constexpr wchar_t kCaption[] = L"Copy Filenames";
constexpr wchar_t kPreviewClass[] = L"BrelvantaTextView";

std::pair<size_t, size_t> Selection(HWND preview)
{
    DWORD start = 0, end = 0;
    ::SendMessageW(preview, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

size_t FirstVisibleLine(HWND preview)
{
    return static_cast<size_t>(::SendMessageW(preview, EM_GETFIRSTVISIBLELINE, 0, 0));
}

SCROLLINFO ScrollBar(HWND preview, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(preview, bar, &info);
    return info;
}

int LineHeight(HWND preview)
{
    const WindowDc dc(preview);
    const SelectObjectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(preview, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    return metrics.tmHeight;
}

void Mouse(HWND preview, UINT message, int x, int y, WPARAM keys = 0)
{
    ::SendMessageW(preview, message, keys, MAKELPARAM(x, y));
}

// How many pixels of the client area's top band of this height have the colour.
int PixelsOf(HWND preview, COLORREF colour, int height)
{
    RECT client{};
    ::GetClientRect(preview, &client);
    const WindowDc dc(preview);
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < client.right; ++x)
            count += ::GetPixel(dc.Get(), x, y) == colour;
    return count;
}

class PreviewTest : public ShellExtTest
{
  protected:
    // Opens the dialog on two files and runs the script on its preview, the focus in it.
    // Without cancel the script's own windows end the dialog.
    void WithPreview(const std::function<void(DialogHandle, HWND)>& script, bool cancel = true)
    {
        DialogDriver driver;
        m_driver = &driver;
        bool shown = false;
        driver.OnDialog(kCaption, [&](DialogHandle dlg) {
            shown = true;
            const HWND preview = dlg.Item(IDC_COPY_PATHS_PREVIEW);
            ::SetFocus(preview);
            script(dlg, preview);
            if (cancel)
                ::PostMessageW(dlg.Hwnd(), WM_COMMAND, IDCANCEL, 0);
        });
        const ComPtr<IContextMenu> handler = CreateHandler(MakeFiles({L"a.txt", L"b.txt"}));
        ASSERT_TRUE(handler);
        EXPECT_TRUE(InvokeByText(handler.Get(), L"Copy Filenames with Options"));
        EXPECT_TRUE(shown);
        EXPECT_FALSE(driver.TimedOut());
        m_driver = nullptr;
    }

    DialogDriver* m_driver = nullptr;
};
} // namespace

TEST_F(PreviewTest, TakesTheTextWholeAndCountsItsLines)
{
    WithPreview([](DialogHandle dlg, HWND preview) {
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt\r\nb.txt");
        EXPECT_EQ(::SendMessageW(preview, EM_GETLINECOUNT, 0, 0), 2);

        std::wstring lines;
        for (int line = 0; line < 10000; ++line)
            lines += L"line " + std::to_wstring(line) + L"\r\n";
        lines += L"end";
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, lines);
        EXPECT_EQ(GetWindowTextString(preview), lines);
        EXPECT_EQ(::SendMessageW(preview, EM_GETLINECOUNT, 0, 0), 10001);

        wchar_t small[5] = {L'x', L'x', L'x', L'x', L'x'};
        EXPECT_EQ(::SendMessageW(preview, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(small)), 4);
        EXPECT_EQ(std::wstring(small), L"line") << "cut and ended";

        // Lone line feeds end lines too; a final one starts an empty last line.
        for (const auto& [text, count] : {std::pair{L"", 1}, {L"one", 1}, {L"a\nb\r\nc", 3}, {L"a\n", 2}})
        {
            dlg.SetText(IDC_COPY_PATHS_PREVIEW, text);
            EXPECT_EQ(::SendMessageW(preview, EM_GETLINECOUNT, 0, 0), count) << text;
            EXPECT_EQ(GetWindowTextString(preview), text);
        }
        ::SendMessageW(preview, WM_SETTEXT, 0, 0);
        EXPECT_EQ(::GetWindowTextLengthW(preview), 0) << "no text is an empty one";
    });
}

TEST_F(PreviewTest, ScrollsByBarWheelAndKeys)
{
    WithPreview([](DialogHandle dlg, HWND preview) {
        std::wstring lines;
        for (int line = 0; line < 10000; ++line)
            lines += L"file " + std::to_wstring(line) + L".txt\r\n";
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, lines);
        const SCROLLINFO vertical = ScrollBar(preview, SB_VERT);
        EXPECT_EQ(vertical.nMax, 10000) << "10,001 lines, the last one empty";
        const size_t page = vertical.nPage;
        ASSERT_GT(page, 1u);
        EXPECT_EQ(page, static_cast<size_t>(ScrollBar(preview, SB_VERT).nPage));

        ::SendMessageW(preview, WM_VSCROLL, SB_PAGEDOWN, 0);
        EXPECT_EQ(FirstVisibleLine(preview), page);
        ::SendMessageW(preview, WM_VSCROLL, SB_LINEUP, 0);
        EXPECT_EQ(FirstVisibleLine(preview), page - 1);
        ::SendMessageW(preview, WM_VSCROLL, SB_BOTTOM, 0);
        EXPECT_EQ(FirstVisibleLine(preview), 10001 - page) << "the last page fills the view";
        EXPECT_EQ(ScrollBar(preview, SB_VERT).nPos, static_cast<int>(10001 - page));
        ::SendMessageW(preview, WM_VSCROLL, SB_TOP, 0);
        EXPECT_EQ(FirstVisibleLine(preview), 0u);

        UINT wheelLines = 3;
        ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0);
        ::SendMessageW(preview, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
        EXPECT_EQ(FirstVisibleLine(preview), wheelLines == WHEEL_PAGESCROLL ? page : wheelLines);
        ::SendMessageW(preview, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        EXPECT_EQ(FirstVisibleLine(preview), 0u);

        // The caret takes the view along.
        dlg.PressKey(VK_END, true);
        EXPECT_EQ(Selection(preview), std::make_pair(lines.size(), lines.size()));
        EXPECT_EQ(FirstVisibleLine(preview), 10001 - page);
        dlg.PressKey(VK_HOME, true);
        EXPECT_EQ(FirstVisibleLine(preview), 0u);
        dlg.PressKey(VK_NEXT);
        EXPECT_EQ(FirstVisibleLine(preview), page);
        EXPECT_EQ(Selection(preview).first, lines.find(L"file " + std::to_wstring(page) + L"."));
        for (size_t line = 0; line < page; ++line)
            dlg.PressKey(VK_DOWN, false, true);
        EXPECT_EQ(Selection(preview).second, lines.find(L"file " + std::to_wstring(2 * page) + L"."));
        EXPECT_EQ(FirstVisibleLine(preview), page + 1) << "one line further at a time";

        // A line wider than the view scrolls sideways, and back at its start.
        const std::wstring wide(2000, L'W');
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, L"short\r\n" + wide);
        RECT client{};
        ::GetClientRect(preview, &client);
        EXPECT_GT(ScrollBar(preview, SB_HORZ).nMax, static_cast<int>(client.right));
        dlg.PressKey(VK_END, true);
        EXPECT_GT(ScrollBar(preview, SB_HORZ).nPos, 0);
        dlg.PressKey(VK_HOME);
        EXPECT_EQ(ScrollBar(preview, SB_HORZ).nPos, 0);
    });
}

TEST_F(PreviewTest, SelectsWithKeysAndMouseAndCopiesTheSelection)
{
    SetClipboardText(L"before");
    WithPreview([](DialogHandle dlg, HWND preview) {
        const std::wstring text = L"alpha beta\r\ngamma\tdelta\nlast";
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, text);
        // Coming in with TAB selects it all, as in an edit.
        ::SendMessageW(dlg.Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(dlg.Item(IDOK)), TRUE);
        ::SendMessageW(dlg.Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(preview), TRUE);
        EXPECT_EQ(::GetFocus(), preview);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{0}, text.size()));

        dlg.PressKey(VK_HOME, true);
        dlg.PressKey(VK_END, false, true);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{0}, size_t{10}));
        dlg.PressKey('C', true);
        EXPECT_EQ(ClipboardTextNow(), L"alpha beta");

        dlg.PressKey(VK_RIGHT); // the selection collapses to its end
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{10}, size_t{10}));
        dlg.PressKey(VK_RIGHT); // over "\r\n" in one step
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{12}, size_t{12}));
        dlg.PressKey(VK_LEFT);
        EXPECT_EQ(Selection(preview).first, 10u);
        dlg.PressKey(VK_HOME, true);
        dlg.PressKey(VK_RIGHT, true);
        EXPECT_EQ(Selection(preview).first, 6u) << "a word and its space";
        dlg.PressKey(VK_DOWN, false, true);
        dlg.PressKey(VK_INSERT, true);
        EXPECT_EQ(ClipboardTextNow().substr(0, 7), L"beta\r\ng");

        dlg.PressKey('A', true);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{0}, text.size()));
        ::SendMessageW(preview, WM_COPY, 0, 0);
        EXPECT_EQ(ClipboardTextNow(), text);

        // The mouse: a click before the first character of a line, a double-click on a word,
        // a drag across lines and SHIFT to extend.
        const int height = LineHeight(preview);
        Mouse(preview, WM_LBUTTONDOWN, 0, height + 1);
        Mouse(preview, WM_LBUTTONUP, 0, height + 1);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{12}, size_t{12}));
        Mouse(preview, WM_LBUTTONDBLCLK, 3, height + 1);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{12}, size_t{17})) << "gamma";
        Mouse(preview, WM_LBUTTONUP, 3, height + 1);
        Mouse(preview, WM_LBUTTONDOWN, 0, 1);
        Mouse(preview, WM_MOUSEMOVE, 2000, 2 * height + 1, MK_LBUTTON);
        Mouse(preview, WM_LBUTTONUP, 2000, 2 * height + 1);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{0}, text.size()));
        Mouse(preview, WM_LBUTTONDOWN, 0, 1);
        Mouse(preview, WM_LBUTTONUP, 0, 1);
        Mouse(preview, WM_LBUTTONDOWN, 0, height + 1, MK_SHIFT);
        Mouse(preview, WM_LBUTTONUP, 0, height + 1);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{0}, size_t{12}));
    });
}

// A screen reader reads the preview as a read-only multi-line edit: named by its label, its value
// the text, its selection through EM_GETSEL; what it still holds once the dialog is gone fails
// instead of reaching a view that no longer exists.
TEST_F(PreviewTest, ScreenReadersReadItAsAReadOnlyText)
{
    ComPtr<IAccessible> kept;
    WithPreview([&](DialogHandle dlg, HWND preview) {
        AccessibleRead read = ReadAccessible(preview);
        ASSERT_TRUE(read.found);
        EXPECT_EQ(read.name, L"Clipboard") << "the group box is its label";
        EXPECT_EQ(read.value, L"a.txt\r\nb.txt");
        EXPECT_EQ(read.role, ROLE_SYSTEM_TEXT);
        const long expected = STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;
        EXPECT_EQ(read.state & expected, expected);

        for (const std::wstring text : {L"", L"one", L"\u00e4\u4e2d\r\nx\ty"})
        {
            dlg.SetText(IDC_COPY_PATHS_PREVIEW, text);
            EXPECT_EQ(ReadAccessible(preview).value, text);
        }
        ::EnableWindow(preview, FALSE);
        EXPECT_NE(ReadAccessible(preview).state & STATE_SYSTEM_UNAVAILABLE, 0);
        ::EnableWindow(preview, TRUE);

        ASSERT_HRESULT_SUCCEEDED(
            ::AccessibleObjectFromWindow(preview, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(kept.Put())));
    });
    ASSERT_TRUE(kept);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR value = nullptr;
    EXPECT_EQ(kept->get_accValue(self, &value), RPC_E_DISCONNECTED);
    EXPECT_EQ(value, nullptr);
}

// The caret is the system's: a screen reader finds it where the view placed it.
TEST_F(PreviewTest, ScreenReadersFindTheCaret)
{
    WithPreview([](DialogHandle dlg, HWND preview) {
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, L"first line\r\nsecond");
        ::SendMessageW(preview, EM_SETSEL, 15, 15);
        ComPtr<IAccessible> caret;
        if (FAILED(::AccessibleObjectFromWindow(preview, static_cast<DWORD>(OBJID_CARET), IID_PPV_ARGS(caret.Put()))) ||
            !caret)
            GTEST_SKIP() << "this platform's accessibility API gives no caret object";
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        long left = 0, top = 0, width = 0, height = 0;
        if (FAILED(caret->accLocation(&left, &top, &width, &height, self)))
            GTEST_SKIP() << "this platform's caret object does not tell where the caret is";
        POINT expected{};
        ::GetCaretPos(&expected);
        ::ClientToScreen(preview, &expected);
        EXPECT_EQ(left, expected.x);
        EXPECT_EQ(top, expected.y);
        EXPECT_GE(top, [&] {
            RECT window{};
            ::GetWindowRect(preview, &window);
            return window.top + LineHeight(preview) - 1;
        }()) << "on the second line";
    });
}

TEST_F(PreviewTest, HasAContextMenuOfCopyAndSelectAll)
{
    // Copy, a line, Select All; Copy greyed without a selection, both at work with one.
    std::vector<std::vector<std::wstring>> menus;
    std::vector<std::vector<bool>> enabled;
    const auto readMenu = [&](HWND menuWindow, bool end) {
        const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        menus.emplace_back();
        enabled.emplace_back();
        for (int index = 0; index < ::GetMenuItemCount(menu); ++index)
        {
            wchar_t buffer[64] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(index), buffer, 64, MF_BYPOSITION);
            menus.back().push_back(buffer);
            enabled.back().push_back(!(::GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION) & MF_GRAYED));
        }
        if (end)
            ::EndMenu();
    };
    std::pair<size_t, size_t> selected;
    WithPreview(
        [&](DialogHandle dlg, HWND preview) {
            dlg.SetText(IDC_COPY_PATHS_PREVIEW, L"some text");
            ::PostMessageW(preview, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview), MAKELPARAM(-1, -1));
            m_driver->OnPopupMenu([&, dlg, preview](HWND first) {
                readMenu(first, false);
                ::PostMessageW(first, WM_CHAR, L'a', 0); // Select &All
                POINT corner{1, 1};
                ::ClientToScreen(preview, &corner);
                ::PostMessageW(preview, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview),
                               MAKELPARAM(corner.x, corner.y));
                m_driver->OnPopupMenu([&, dlg, preview](HWND second) {
                    readMenu(second, true);
                    selected = Selection(preview);
                    ::PostMessageW(dlg.Hwnd(), WM_COMMAND, IDCANCEL, 0);
                });
            });
        },
        false);
    const std::vector<std::wstring> items{L"&Copy", L"", L"Select &All"};
    EXPECT_EQ(menus, (std::vector<std::vector<std::wstring>>{items, items}));
    EXPECT_EQ(enabled, (std::vector<std::vector<bool>>{{false, false, true}, {true, false, true}}));
    EXPECT_EQ(selected, std::make_pair(size_t{0}, size_t{9})) << "Select All chosen from the first menu";
}

TEST_F(PreviewTest, DrawsTheLinesInViewAndTheSelection)
{
    WithPreview([](DialogHandle dlg, HWND preview) {
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, L"MMMMMMMMMMMMMMMMMMMM\r\nMMMMMMMMMM");
        ::UpdateWindow(preview);
        const int height = LineHeight(preview);
        const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
        const WindowDc dc(preview);
        const COLORREF background = ::GetPixel(dc.Get(), 0, 0);
        RECT client{};
        ::GetClientRect(preview, &client);
        const int area = client.right * height;
        EXPECT_LT(PixelsOf(preview, background, height), area) << "the first line shows text";
        EXPECT_EQ(PixelsOf(preview, highlight, height), 0);

        dlg.PressKey('A', true);
        ::UpdateWindow(preview);
        EXPECT_GT(PixelsOf(preview, highlight, height), 0) << "the selection is marked";

        // Scrolled down a line, the second line is drawn at the top: a shorter run of text.
        std::wstring lines;
        for (int line = 0; line < 200; ++line)
            lines += L"M\r\n";
        lines += std::wstring(40, L'M');
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, lines);
        ::UpdateWindow(preview);
        const int narrow = area - PixelsOf(preview, background, height);
        ::SendMessageW(preview, WM_VSCROLL, SB_BOTTOM, 0);
        ::UpdateWindow(preview);
        const SCROLLINFO vertical = ScrollBar(preview, SB_VERT);
        // The last line lies at the bottom of the view: find its band.
        const int lastTop = static_cast<int>(200 - vertical.nPos) * height;
        int wide = 0;
        for (int y = lastTop; y < lastTop + height; ++y)
            for (int x = 0; x < client.right; ++x)
                wide += ::GetPixel(dc.Get(), x, y) != background;
        EXPECT_GT(wide, narrow) << "the last line, forty characters long, is drawn where it belongs";
    });
}

TEST_F(PreviewTest, TakesHugeAndUnusualTextsWithoutHarm)
{
    SetClipboardText(L"before");
    WithPreview([](DialogHandle dlg, HWND preview) {
        // A megabyte on one line.
        const std::wstring huge(1'000'000, L'x');
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, huge + L"\r\nend");
        ::UpdateWindow(preview);
        dlg.PressKey(VK_END, false, true);
        EXPECT_EQ(Selection(preview), std::make_pair(size_t{0}, huge.size()));
        EXPECT_GT(ScrollBar(preview, SB_HORZ).nPos, 0);
        ::UpdateWindow(preview);
        ::SendMessageW(preview, WM_COPY, 0, 0);
        EXPECT_EQ(ClipboardTextNow().size(), huge.size());

        // Right-to-left script, surrogate pairs, tabs and NUL-free control characters.
        const std::wstring mixed = L"\u05E9\u05DC\u05D5\u05DD name\t\U0001F600 \u0627\u0644\x01z\r\n\t\t\ttabbed";
        dlg.SetText(IDC_COPY_PATHS_PREVIEW, mixed);
        ::UpdateWindow(preview);
        dlg.PressKey('A', true);
        ::UpdateWindow(preview);
        ::SendMessageW(preview, WM_COPY, 0, 0);
        EXPECT_EQ(ClipboardTextNow(), mixed);
        dlg.PressKey(VK_END, true);
        dlg.PressKey(VK_LEFT, true);
        dlg.PressKey(VK_UP);
        ::UpdateWindow(preview);
        EXPECT_EQ(::SendMessageW(preview, EM_GETLINECOUNT, 0, 0), 2);
    });
}

TEST_F(PreviewTest, TheClassLivesWhileADialogUsesIt)
{
    HMODULE dll = nullptr;
    bool registered = false;
    WithPreview([&](DialogHandle, HWND preview) {
        dll = ::GetModuleHandleW(L"Brelvanta.dll");
        WNDCLASSEXW info{};
        info.cbSize = sizeof(info);
        registered = ::GetClassInfoExW(dll, kPreviewClass, &info) != FALSE;
        wchar_t name[64] = {};
        ::GetClassNameW(preview, name, 64);
        EXPECT_EQ(std::wstring(name), kPreviewClass);
    });
    EXPECT_TRUE(registered);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_NE(dll, nullptr);
    ASSERT_EQ(::GetModuleHandleW(L"Brelvanta.dll"), dll) << "the library is still loaded";
    EXPECT_FALSE(::GetClassInfoExW(dll, kPreviewClass, &info))
        << "no class is left behind that points into the library";
}
