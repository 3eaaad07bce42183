#include "tests/configure/ConfigureProcess.h"

#include "tests/support/FileHelpers.h"
#include "winsupport/StringUtil.h"
#include "winui/Window.h"

#include <commctrl.h>

#ifndef BRELVANTA_CONFIGURE_EXE
#error "the build passes the configure program's path"
#endif

namespace
{
constexpr wchar_t kDialogCaption[] = L"Configure Brelvanta Menu Commands";

// Memory in another process, freed with the object.
class RemoteMemory
{
  public:
    RemoteMemory(HANDLE process, size_t size) noexcept
        : m_process(process),
          m_address(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory()
    {
        if (m_address)
            ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    void* Address() const noexcept { return m_address; }

  private:
    HANDLE m_process;
    void* m_address;
};

bool WaitUntil(DWORD timeoutMs, const auto& done)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done())
    {
        if (::GetTickCount64() > end)
            return false;
        ::Sleep(20);
    }
    return true;
}
} // namespace

std::wstring BuiltConfigureProgram()
{
    return WindowsPathOfUnixPath(Utf8ToWide(BRELVANTA_CONFIGURE_EXE));
}

namespace
{
struct WindowSearch
{
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

// A named callback: a lambda does not convert to the platform's calling convention on i686.
BOOL CALLBACK CollectWindow(HWND window, LPARAM context) noexcept
{
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64]{};
    ::GetClassNameW(window, name, 64);
    if (owner == search.processId && ::IsWindowVisible(window) && wcscmp(name, search.className) == 0)
        search.found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* className)
{
    WindowSearch search{processId, className, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring CaptionOf(HWND window)
{
    wchar_t text[512]{};
    ::InternalGetWindowText(window, text, 512);
    return text;
}

ConfigureProcess::ConfigureProcess(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return;
    UniqueKernelHandle(info.hThread).Reset();
    m_process.Reset(info.hProcess);
    m_processId = info.dwProcessId;
}

ConfigureProcess::~ConfigureProcess()
{
    if (!m_process || ::WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0)
        return;
    ::TerminateProcess(m_process.Get(), 99);
    ::WaitForSingleObject(m_process.Get(), 10000);
}

HWND ConfigureProcess::WaitForDialog(DWORD timeoutMs)
{
    WaitUntil(timeoutMs, [this] {
        for (HWND window : VisibleWindowsOf(m_processId))
        {
            if (CaptionOf(window) == kDialogCaption)
                m_dialog = window;
        }
        return m_dialog != nullptr || ::WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0;
    });
    return m_dialog;
}

DWORD ConfigureProcess::WaitForExit(DWORD timeoutMs) const
{
    if (::WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

HWND ConfigureProcess::WaitForOtherWindow(DWORD timeoutMs) const
{
    HWND other = nullptr;
    WaitUntil(timeoutMs, [&] {
        for (HWND window : VisibleWindowsOf(m_processId))
        {
            if (window != m_dialog)
                other = window;
        }
        return other != nullptr;
    });
    return other;
}

LRESULT ConfigureProcess::SendItemMessage(int listId, UINT message, WPARAM wParam, LVITEMW& item) const
{
    const RemoteMemory remote(m_process.Get(), sizeof(item));
    if (!remote.Address() || !::WriteProcessMemory(m_process.Get(), remote.Address(), &item, sizeof(item), nullptr))
        return -1;
    const LRESULT result =
        ::SendMessageW(::GetDlgItem(m_dialog, listId), message, wParam, reinterpret_cast<LPARAM>(remote.Address()));
    ::ReadProcessMemory(m_process.Get(), remote.Address(), &item, sizeof(item), nullptr);
    return result;
}

std::vector<MenuEntry> ConfigureProcess::Rows(int listId) const
{
    const HWND list = ::GetDlgItem(m_dialog, listId);
    std::vector<MenuEntry> rows;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
    {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendItemMessage(listId, LVM_GETITEMW, 0, item);
        const auto state = static_cast<UINT>(::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
        rows.push_back({static_cast<CommandType>(item.lParam), (state >> 12) - 1 == 1});
    }
    return rows;
}

std::vector<int> ConfigureProcess::SelectedRows(int listId) const
{
    const HWND list = ::GetDlgItem(m_dialog, listId);
    std::vector<int> selected;
    for (int row = -1; (row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
        selected.push_back(row);
    return selected;
}

void ConfigureProcess::SelectRow(int listId, int row) const
{
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendItemMessage(listId, LVM_SETITEMSTATE, row, item);
}

void ConfigureProcess::SetChecked(int listId, int row, bool checked) const
{
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendItemMessage(listId, LVM_SETITEMSTATE, row, item);
}

std::wstring ConfigureProcess::Text(int id) const
{
    return GetWindowTextString(::GetDlgItem(m_dialog, id));
}

bool ConfigureProcess::IsEnabled(int id) const noexcept
{
    return ::IsWindowEnabled(::GetDlgItem(m_dialog, id)) != FALSE;
}

void ConfigureProcess::Command(int id) const
{
    ::SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_dialog, id)));
}

void ConfigureProcess::PostCommand(int id) const
{
    ::PostMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_dialog, id)));
}
