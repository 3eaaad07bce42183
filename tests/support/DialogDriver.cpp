#include "tests/support/DialogDriver.h"

#include "winui/Dialog.h"
#include "winui/Window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <exception>

namespace
{
thread_local DialogDriver* t_driver = nullptr;

bool HasClass(HWND window, const wchar_t* name)
{
    std::array<wchar_t, 16> className{};
    ::GetClassNameW(window, className.data(), static_cast<int>(className.size()));
    return std::wstring(className.data()) == name;
}

bool IsDialogClass(HWND window)
{
    return HasClass(window, L"#32770");
}

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM context) noexcept
{
    DWORD process = 0;
    if (::GetWindowThreadProcessId(window, &process) == ::GetCurrentThreadId() && ::IsWindowVisible(window) &&
        HasClass(window, L"#32768"))
    {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) noexcept
{
    if (::IsWindowVisible(window) && IsDialogClass(window))
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}
} // namespace

std::wstring DialogHandle::Caption() const
{
    return GetWindowTextString(m_hwnd);
}

std::wstring DialogHandle::GetText(int id) const
{
    return GetWindowTextString(Item(id));
}

void DialogHandle::SetText(int id, const std::wstring& text) const
{
    ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool DialogHandle::IsVisible(int id) const noexcept
{
    return ::IsWindowVisible(Item(id)) != FALSE;
}

bool DialogHandle::IsEnabled(int id) const noexcept
{
    return ::IsWindowEnabled(Item(id)) != FALSE;
}

bool DialogHandle::Click(int id) const
{
    const HWND button = Item(id);
    if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button))
        return false;
    ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

bool DialogHandle::Select(int id, int index) const
{
    const HWND list = Item(id);
    if (!list || !::IsWindowVisible(list) || !::IsWindowEnabled(list))
        return false;
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}

bool DialogHandle::Check(int id, bool checked) const
{
    const HWND button = Item(id);
    if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button))
        return false;
    ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

namespace
{
struct ChildSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindChild(HWND child, LPARAM context) noexcept
{
    auto& search = *reinterpret_cast<ChildSearch*>(context);
    if (::GetDlgCtrlID(child) != search.id)
        return TRUE;
    search.found = child;
    return FALSE;
}
} // namespace

HWND DialogHandle::Descendant(int id) const
{
    ChildSearch search{id, nullptr};
    ::EnumChildWindows(m_hwnd, &FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DialogHandle DialogHandle::ChildWith(int id) const
{
    const HWND control = Descendant(id);
    return DialogHandle(control ? ::GetParent(control) : nullptr);
}

bool DialogHandle::PostClick(int id) const
{
    const HWND button = Item(id);
    if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button))
        return false;
    ::PostMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

void DialogHandle::Command(int id) const
{
    ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void DialogHandle::PressKey(UINT key, bool control, bool shift) const
{
    std::array<BYTE, 256> keys{};
    ::GetKeyboardState(keys.data());
    std::array<BYTE, 256> before = keys;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys.data());
    // The key goes to the dialog being driven: to its focused control, or to the dialog itself
    // when the focus is elsewhere (a busy machine may not have moved it yet).
    const HWND focus = ::GetFocus();
    const HWND target = focus && (focus == m_hwnd || ::IsChild(m_hwnd, focus)) ? focus : m_hwnd;
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    // The loop of a dialog: its keyboard handling first, as the modal loop does.
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (!::IsWindow(m_hwnd) || !::IsDialogMessageW(m_hwnd, &message))
        {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    ::SetKeyboardState(before.data());
}

std::vector<std::wstring> DialogHandle::ListRows(int id) const
{
    const HWND list = Item(id);
    std::vector<std::wstring> rows;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row)
    {
        std::wstring text(32768, L'\0');
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        text.resize(static_cast<size_t>(length));
        rows.push_back(std::move(text));
    }
    return rows;
}

void DialogHandle::SelectRow(int id, int row, bool selected) const
{
    ListView_SetItemState(Item(id), row, selected ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (selected)
        ListView_SetSelectionMark(Item(id), row);
}

void DialogHandle::SelectAllRows(int id) const
{
    ListView_SetItemState(Item(id), -1, LVIS_SELECTED, LVIS_SELECTED);
}

DialogDriver::DialogDriver(std::chrono::milliseconds timeout) : m_timeout(timeout)
{
    t_driver = this;
    // A thread timer runs inside whatever message loop the code under test is in; the hook sees
    // each window as it is activated, however briefly it is shown.
    m_timer = ::SetTimer(nullptr, 0, 20, &DialogDriver::Tick);
    m_hook = ::SetWindowsHookExW(WH_CBT, &DialogDriver::WatchWindows, nullptr, ::GetCurrentThreadId());
}

DialogDriver::~DialogDriver()
{
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
    ::KillTimer(nullptr, m_timer);
    t_driver = nullptr;
}

LRESULT CALLBACK DialogDriver::WatchWindows(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (t_driver && code == HCBT_ACTIVATE)
    {
        t_driver->Record(reinterpret_cast<HWND>(wParam));
        // Look for it at the next message the thread takes, not only at the next tick: a window
        // that code under test shows while it works (a progress window) may be gone before then.
        // A posted WM_TIMER with its procedure is dispatched to that procedure.
        if (!t_driver->m_scripts.empty())
            ::PostThreadMessageW(::GetCurrentThreadId(), WM_TIMER, t_driver->m_timer,
                                 reinterpret_cast<LPARAM>(&DialogDriver::Tick));
    }
    if (t_driver && code == HCBT_DESTROYWND)
    {
        // Window handles are used again: a later dialog may get the handle of one that has gone.
        std::erase(t_driver->m_shown, reinterpret_cast<HWND>(wParam));
        std::erase(t_driver->m_handled, reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogDriver::Record(HWND window)
{
    if (!IsDialogClass(window) || (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ||
        std::find(m_shown.begin(), m_shown.end(), window) != m_shown.end())
        return;
    m_shown.push_back(window);
    if (!IsAnsweredConfirmation(window))
        m_seen.push_back(GetWindowTextString(window));
}

bool DialogDriver::IsAnsweredConfirmation(HWND window) const noexcept
{
    // What the answerer clicks: a dialog window with its button.
    return m_confirmations && ::GetDlgItem(window, m_confirmationButton) && !CDialog::FromHandle(window);
}

bool DialogDriver::RunScript(const std::function<void()>& script, const std::wstring& what)
{
    m_running = true;
    bool completed = false;
    try
    {
        script();
        completed = true;
    }
    catch (const std::exception& error)
    {
        ADD_FAILURE() << "the script for " << what << " threw: " << error.what();
    }
    catch (...)
    {
        ADD_FAILURE() << "the script for " << what << " threw";
    }
    m_running = false;
    return completed;
}

void DialogDriver::OnDialog(std::wstring caption, Script script)
{
    m_scripts.push_back({std::move(caption), std::move(script)});
}

void DialogDriver::OnPopupMenu(std::function<void(HWND)> script)
{
    m_menuScripts.push_back(std::move(script));
}

bool DialogDriver::RunMenuScript()
{
    if (m_menuScripts.empty())
        return false;
    // Popup menus are top-level windows of the system's menu class, not children of the dialog.
    HWND menu = nullptr;
    ::EnumWindows(&FindMenuWindow, reinterpret_cast<LPARAM>(&menu));
    if (!menu)
        return false;
    auto script = std::move(m_menuScripts.front());
    m_menuScripts.pop_front();
    if (!RunScript([&] { script(menu); }, L"a popup menu"))
        ::EndMenu();
    return true;
}

void DialogDriver::AnswerShellConfirmations(int buttonId)
{
    m_confirmationButton = buttonId;
    m_confirmations = std::make_unique<ShellConfirmationAnswerer>(buttonId);
}

int DialogDriver::ShellConfirmationsAnswered() const noexcept
{
    return m_confirmations ? m_confirmations->Answered() : 0;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    if (t_driver)
        t_driver->Poll();
}

std::vector<HWND> DialogDriver::VisibleDialogs() const
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void DialogDriver::Poll()
{
    if (m_running)
        return; // a script is waiting for a window of its own
    if (std::chrono::steady_clock::now() - m_start > m_timeout)
    {
        m_timedOut = true;
        ::EndMenu();
        CancelOpenDialogs();
        return;
    }
    if (RunMenuScript())
        return;
    const std::vector<HWND> dialogs = VisibleDialogs();
    for (const HWND window : dialogs)
        Record(window);
    if (m_scripts.empty())
        return;
    for (const HWND window : dialogs)
    {
        // The answerer clicks the shell's confirmations; no script is meant for them.
        if (std::find(m_handled.begin(), m_handled.end(), window) != m_handled.end() || IsAnsweredConfirmation(window))
            continue;
        const std::wstring caption = GetWindowTextString(window);
        Pending& next = m_scripts.front();
        if (!next.caption.empty() && next.caption != caption)
            continue;
        Pending pending = std::move(next);
        m_scripts.pop_front();
        m_handled.push_back(window);
        // A script that stopped half-way leaves its dialog waiting: cancel it now, not at the timeout.
        if (!RunScript([&] { pending.script(DialogHandle(window)); }, L"\"" + caption + L"\"") && ::IsWindow(window))
            ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
}

void DialogDriver::CancelOpenDialogs()
{
    for (const HWND window : VisibleDialogs())
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
