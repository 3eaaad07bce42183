#pragma once

#include "menuconfig/MenuConfig.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The path of the configure program this tree built, as a Windows path.
std::wstring BuiltConfigureProgram();

// A started configure program, driven from outside as a user would through window messages.
// The process is ended when the object goes, so no instance outlives its test.
class ConfigureProcess
{
  public:
    // Starts the program as the DLL does: its quoted full path as the whole command line.
    explicit ConfigureProcess(const std::wstring& program);
    ConfigureProcess(const ConfigureProcess&) = delete;
    ConfigureProcess& operator=(const ConfigureProcess&) = delete;
    ~ConfigureProcess();

    bool Started() const noexcept { return m_process.IsValid(); }
    DWORD Id() const noexcept { return m_processId; }
    HANDLE Process() const noexcept { return m_process.Get(); }
    // Waits for the main dialog to be shown; null on time-out or when the process ended first.
    HWND WaitForDialog(DWORD timeoutMs = 20000);
    HWND Dialog() const noexcept { return m_dialog; }
    // Waits for the process to end; its exit code, or STILL_ACTIVE on time-out.
    DWORD WaitForExit(DWORD timeoutMs = 20000) const;
    // A visible dialog window of the process other than the main dialog (message box, about box).
    HWND WaitForOtherWindow(DWORD timeoutMs = 10000) const;

    // Rows of a list: the command type from the item data and the check box.
    std::vector<MenuEntry> Rows(int listId) const;
    std::vector<int> SelectedRows(int listId) const;
    void SelectRow(int listId, int row) const;
    void SetChecked(int listId, int row, bool checked) const;
    std::wstring Text(int id) const;
    bool IsEnabled(int id) const noexcept;
    // Sends the button's click notification whatever the button's state, as a message would.
    void Command(int id) const;
    // Posts the click: for buttons that may open a modal window (OK, the system menu).
    void PostCommand(int id) const;

  private:
    // Runs one list-view message whose lParam is an LVITEMW in the program's memory.
    LRESULT SendItemMessage(int listId, UINT message, WPARAM wParam, LVITEMW& item) const;

    UniqueKernelHandle m_process;
    DWORD m_processId = 0;
    HWND m_dialog = nullptr;
};

// The visible top-level windows of a process with this class ("#32770" for dialogs).
std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* className = L"#32770");
// The caption of a top-level window without sending it a message.
std::wstring CaptionOf(HWND window);
