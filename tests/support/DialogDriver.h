#pragma once

#include "tests/support/ShellConfirmation.h"

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A dialog window of the test's thread as a user sees it: its controls by id.
class DialogHandle
{
  public:
    explicit DialogHandle(HWND hwnd) noexcept : m_hwnd(hwnd) {}
    HWND Hwnd() const noexcept { return m_hwnd; }
    HWND Item(int id) const noexcept { return ::GetDlgItem(m_hwnd, id); }

    std::wstring Caption() const;
    // The text of an edit, a static or a button.
    std::wstring GetText(int id) const;
    // WM_SETTEXT; an edit then tells its parent itself.
    void SetText(int id, const std::wstring& text) const;
    bool IsVisible(int id) const noexcept;
    bool IsEnabled(int id) const noexcept;
    // Clicks a button as a user would: only a visible, enabled one (false otherwise). Click waits
    // for the handler; PostClick returns at once, for a click that opens a modal window.
    bool Click(int id) const;
    bool PostClick(int id) const;
    // Drop-down lists and check boxes: the change and then the notification a user's choice sends
    // (the messages alone send none). False for a control that is missing, hidden or disabled.
    bool Select(int id, int index) const;
    bool Check(int id, bool checked) const;
    // The control with this id among all the windows inside the dialog, its pages' included;
    // null when there is none.
    HWND Descendant(int id) const;
    // The child dialog (a tab page, say) that holds the control; an empty handle when none does.
    DialogHandle ChildWith(int id) const;
    // A menu command, as a context menu would send it.
    void Command(int id) const;
    // Presses a key in the focused window as a user would, through the dialog's keyboard
    // handling, with CTRL and SHIFT held as asked; returns once the messages are handled.
    void PressKey(UINT key, bool control = false, bool shift = false) const;

    // List views: the first column of every row, selection of rows.
    std::vector<std::wstring> ListRows(int id) const;
    void SelectRow(int id, int row, bool selected = true) const;
    void SelectAllRows(int id) const;

  private:
    HWND m_hwnd;
};

// Runs scripts on the dialogs that the code under test opens on the test's thread: each script
// waits for a visible dialog with its caption, runs inside that dialog's message loop, and is
// dropped once run. A script that throws fails the test and cancels its dialog. Dialogs still
// open after the timeout are cancelled so that no test hangs. Every dialog window shown on the
// thread while the driver lives is recorded, scripted or not.
class DialogDriver
{
  public:
    using Script = std::function<void(DialogHandle)>;

    explicit DialogDriver(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    ~DialogDriver();

    // Queues a script for the next dialog with this caption (empty: any dialog window).
    void OnDialog(std::wstring caption, Script script);
    // Queues a script for the next popup menu window (class "#32768") of the thread; the script
    // ends the menu itself (EndMenu).
    void OnPopupMenu(std::function<void(HWND)> script);
    // Answers the shell's confirmation windows with this button while the driver lives. Windows
    // that it answers (dialogs not of this framework that have the button) are not recorded.
    void AnswerShellConfirmations(int buttonId = IDYES);
    int ShellConfirmationsAnswered() const noexcept;

    size_t PendingScripts() const noexcept { return m_scripts.size() + m_menuScripts.size(); }
    bool TimedOut() const noexcept { return m_timedOut; }
    // Captions of the dialog windows (message boxes included) that were shown, in order.
    const std::vector<std::wstring>& SeenCaptions() const noexcept { return m_seen; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static LRESULT CALLBACK WatchWindows(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Record(HWND window);
    bool IsAnsweredConfirmation(HWND window) const noexcept;
    // False when the script threw; that fails the test.
    bool RunScript(const std::function<void()>& script, const std::wstring& what);
    void Poll();
    void CancelOpenDialogs();
    std::vector<HWND> VisibleDialogs() const;
    bool RunMenuScript();

    struct Pending
    {
        std::wstring caption;
        Script script;
    };
    const std::chrono::milliseconds m_timeout;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::deque<Pending> m_scripts;
    std::deque<std::function<void(HWND)>> m_menuScripts;
    std::vector<std::wstring> m_seen;
    std::vector<HWND> m_handled;
    std::vector<HWND> m_shown; // recorded and not yet destroyed
    std::unique_ptr<ShellConfirmationAnswerer> m_confirmations;
    int m_confirmationButton = 0;
    UINT_PTR m_timer = 0;
    HHOOK m_hook = nullptr;
    bool m_running = false;
    bool m_timedOut = false;
};
