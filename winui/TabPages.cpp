#include "winui/TabPages.h"

#include <commctrl.h>

#include <algorithm>

namespace
{
// The tab sets of the thread, each dialog's in turn: the keyboard hook asks each whether a
// CTRL+TAB is for it. Plain pointers, so that nothing is left to run at thread exit.
thread_local TabPages* t_firstTabPages = nullptr;
thread_local HHOOK t_keyHook = nullptr;

bool IsEdit(HWND control) noexcept
{
    wchar_t className[16]{};
    return ::GetClassNameW(control, className, 16) > 0 && ::lstrcmpiW(className, L"Edit") == 0;
}
} // namespace

bool CTabPage::InitDialog()
{
    m_layout = std::make_unique<AnchorLayout>(Hwnd(), SharedDpi());
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    DeclareAnchors(*m_layout, outer.right, outer.bottom);
    return OnInitDialog();
}

std::optional<INT_PTR> CTabPage::FrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SIZE:
        // A page is placed by the tab control, not by a resizable dialog of its own.
        Dpi().Update(Hwnd());
        if (m_layout)
        {
            m_layout->Layout(LOWORD(lParam), HIWORD(lParam));
            OnLayout();
        }
        break;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(Background());
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        // Painted here, not left to the system: themed dialogs may draw their own grey.
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, Background());
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        // Labels, radio buttons and check boxes: on the page's colour, not on the dialog's grey.
        if (IsEdit(reinterpret_cast<HWND>(lParam)))
            break;
        const auto dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<INT_PTR>(Background());
    }
    default:
        break;
    }
    return std::nullopt;
}

TabPages::~TabPages()
{
    Unregister();
}

void TabPages::Attach(HWND dialog, int tabId)
{
    m_dialog = dialog;
    if (!m_tab.Attach(dialog, tabId))
        throw std::runtime_error("the tab control of the pages is missing");
    // The pages lie over the tab control: it must not paint over them.
    ::SetWindowLongPtrW(m_tab.Hwnd(), GWL_STYLE, ::GetWindowLongPtrW(m_tab.Hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
    Register();
}

void TabPages::Insert(const std::wstring& text, std::unique_ptr<CDialog> dialog, ITabDlg& page)
{
    const HWND window = page.GetPageWnd();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    const int index = Count();
    m_pages.push_back({std::move(dialog), &page});
    if (TabCtrl_InsertItem(m_tab.Hwnd(), index, &item) != index)
    {
        m_pages.pop_back();
        throw std::runtime_error("a tab could not be added");
    }
    // Just above the tab control in the z-order: painted over it, and reached by TAB next to it.
    const HWND above = ::GetWindow(m_tab.Hwnd(), GW_HWNDPREV);
    if (above != window)
        ::SetWindowPos(window, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(window, SW_HIDE);
    PlacePages();
}

void TabPages::Select(int index)
{
    if (index < 0 || index >= Count())
        return;
    const HWND focus = ::GetFocus();
    const bool focusInPage = m_current >= 0 && ::IsChild(Page(m_current).GetPageWnd(), focus);
    if (m_current >= 0)
        Page(m_current).OnPageDeselected();
    m_current = index;
    ITabDlg& page = Page(index);
    page.OnPageSelected();
    if (TabCtrl_GetCurSel(m_tab.Hwnd()) != index)
        TabCtrl_SetCurSel(m_tab.Hwnd(), index);
    PlacePages();
    ::ShowWindow(page.GetPageWnd(), SW_SHOW);
    for (const Entry& entry : m_pages)
        if (entry.page != &page)
            ::ShowWindow(entry.page->GetPageWnd(), SW_HIDE);
    if (focusInPage)
    {
        // The focus must not stay on a hidden control: it moves to the new page's first one.
        HWND next = ::GetNextDlgTabItem(page.GetPageWnd(), nullptr, FALSE);
        if (!next || !::IsChild(page.GetPageWnd(), next))
            next = m_tab.Hwnd();
        ::SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    }
}

bool TabPages::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom != m_tab.Hwnd() || header.code != TCN_SELCHANGE)
        return false;
    Select(TabCtrl_GetCurSel(m_tab.Hwnd()));
    return true;
}

RECT TabPages::DisplayArea() const noexcept
{
    RECT area{};
    ::GetWindowRect(m_tab.Hwnd(), &area);
    ::MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(m_tab.Hwnd(), FALSE, &area);
    return area;
}

void TabPages::PlacePages() const noexcept
{
    const RECT area = DisplayArea();
    for (const Entry& entry : m_pages)
        ::SetWindowPos(entry.page->GetPageWnd(), nullptr, area.left, area.top, area.right - area.left,
                       area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<LRESULT> TabPages::TabControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_WINDOWPOSCHANGED: {
        // The tab control works out its display area for the new size first.
        const LRESULT result = CallOriginal(message, wParam, lParam);
        m_pages.PlacePages();
        return result;
    }
    case WM_DESTROY:
        m_pages.Unregister();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool TabPages::StepOnKey(const MSG& message) noexcept
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || ::GetKeyState(VK_CONTROL) >= 0 ||
        ::GetKeyState(VK_MENU) < 0 || Count() == 0)
        return false;
    if (message.hwnd != m_dialog && !::IsChild(m_dialog, message.hwnd))
        return false;
    if (!::IsWindowEnabled(m_dialog) || !::IsWindowVisible(m_dialog))
        return false; // a window of its own is open over the dialog
    const int step = ::GetKeyState(VK_SHIFT) < 0 ? Count() - 1 : 1;
    // As a click on the tab would: the dialog hears of the change and selects the page.
    TabCtrl_SetCurFocus(m_tab.Hwnd(), (std::max(m_current, 0) + step) % Count());
    return true;
}

LRESULT CALLBACK TabPages::KeyHook(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HC_ACTION && wParam == PM_REMOVE)
    {
        auto& message = *reinterpret_cast<MSG*>(lParam);
        for (TabPages* pages = t_firstTabPages; pages; pages = pages->m_nextOnThread)
            if (pages->StepOnKey(message))
            {
                // Taken: the dialog's loop must not move the focus for it as for a TAB.
                message.message = WM_NULL;
                break;
            }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void TabPages::Register()
{
    Unregister();
    if (!t_keyHook)
        t_keyHook = ::SetWindowsHookExW(WH_GETMESSAGE, &KeyHook, nullptr, ::GetCurrentThreadId());
    m_nextOnThread = t_firstTabPages;
    t_firstTabPages = this;
}

void TabPages::Unregister() noexcept
{
    for (TabPages** link = &t_firstTabPages; *link; link = &(*link)->m_nextOnThread)
        if (*link == this)
        {
            *link = m_nextOnThread;
            break;
        }
    m_nextOnThread = nullptr;
    if (!t_firstTabPages && t_keyHook)
    {
        ::UnhookWindowsHookEx(t_keyHook);
        t_keyHook = nullptr;
    }
}
