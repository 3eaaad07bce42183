// BrelvantaHost: a small window that plays the file manager for Brelvanta.dll.
//
//   BrelvantaHost.exe <folder>                       lists the folder; a right-click shows the handler's menu
//   BrelvantaHost.exe --tour <folder> <shot-folder>  prints the menus for one file, three files and one
//                                                    folder, runs Copy Filenames, and saves BMP screenshots
//
// The handler is created the way the file manager creates it: CoCreateInstance of the registered class,
// a data object made by the shell for the selected items, a real popup menu tracked on our window.

#include "resources/resource.h"
#include "shellext/BrelvantaShExt.h" // the class id only: the handler itself comes from the registry
#include "winsupport/ComPtr.h"
#include "winui/Clipboard.h"
#include "winui/Window.h"
#include "winui/WindowHandles.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "tools/common/ShellDataObject.h"
#include "tools/common/WindowBitmap.h"
#include "winsupport/StringUtil.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace
{
// COM (apartment-threaded, with OLE for the clipboard) for the life of the program.
class OleSession
{
  public:
    OleSession() noexcept : m_result(::OleInitialize(nullptr)) {}
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession()
    {
        if (SUCCEEDED(m_result))
            ::OleUninitialize();
    }
    HRESULT Result() const noexcept { return m_result; }

  private:
    HRESULT m_result;
};

constexpr UINT kFirstCommandId = 1;
constexpr UINT kLastCommandId = 0x7FFF;
constexpr wchar_t kWindowClass[] = L"BrelvantaHostWindow";

void Print(const std::wstring& line)
{
    const std::string utf8 = WideToUtf8(line) + "\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::wstring HResultText(HRESULT result)
{
    wchar_t hex[16];
    ::wsprintfW(hex, L"0x%08X", static_cast<unsigned>(result));
    return hex;
}

struct Entry
{
    std::wstring name;
    bool folder = false;
};

std::vector<Entry> ListFolder(const std::wstring& folder)
{
    std::vector<Entry> entries;
    WIN32_FIND_DATAW data{};
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find)
        return entries;
    do
    {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(find.Get(), &data));
    // Folders first, then files, each by name, as the file manager shows them.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.folder != b.folder)
            return a.folder;
        return ::StrCmpLogicalW(a.name.c_str(), b.name.c_str()) < 0;
    });
    return entries;
}

std::wstring FullPath(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        if (length < full.size())
        {
            full.resize(length);
            break;
        }
        full.resize(length);
    }
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    return full;
}

struct HandlerMenu
{
    ComPtr<IContextMenu> handler;
    UniqueHmenu menu;
};

// Creates the registered handler for the selection and lets it fill a new popup menu.
// On failure, error says what went wrong in words a person can act on.
HRESULT BuildHandlerMenu(const std::wstring& folder, const std::vector<std::wstring>& names, HandlerMenu& out,
                         std::wstring& error)
{
    ComPtr<IShellExtInit> init;
    HRESULT result = ::CoCreateInstance(CLSID_BrelvantaShExt, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(init.Put()));
    if (FAILED(result))
    {
        error = result == REGDB_E_CLASSNOTREG
                    ? L"Brelvanta is not registered on this machine (" + HResultText(result) +
                          L").\nRegister it with: regsvr32 Brelvanta.dll"
                    : L"The Brelvanta handler could not be created (" + HResultText(result) + L").";
        return result;
    }
    ComPtr<IDataObject> dataObject;
    UniqueCoTaskMem folderId;
    result = CreateShellDataObject(folder, names, dataObject, folderId);
    if (FAILED(result))
    {
        error = L"The shell made no data object for the selection (" + HResultText(result) + L").";
        return result;
    }
    result = init->Initialize(static_cast<PCIDLIST_ABSOLUTE>(folderId.Get()), dataObject.Get(), nullptr);
    if (FAILED(result))
    {
        error = L"The handler refused the selection (" + HResultText(result) + L").";
        return result;
    }
    ComPtr<IContextMenu> handler = init.As<IContextMenu>();
    if (!handler)
    {
        error = L"The handler has no IContextMenu.";
        return E_NOINTERFACE;
    }
    UniqueHmenu menu(::CreatePopupMenu());
    if (!menu)
    {
        error = L"No popup menu could be created.";
        return HRESULT_FROM_WIN32(::GetLastError());
    }
    result = handler->QueryContextMenu(menu.Get(), 0, kFirstCommandId, kLastCommandId, CMF_NORMAL);
    if (FAILED(result))
    {
        error = L"The handler added no items (" + HResultText(result) + L").";
        return result;
    }
    out.handler = std::move(handler);
    out.menu = std::move(menu);
    return S_OK;
}

HRESULT InvokeOffset(IContextMenu* handler, UINT offset, HWND window)
{
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.hwnd = window;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    if (::GetKeyState(VK_SHIFT) < 0)
        info.fMask |= CMIC_MASK_SHIFT_DOWN;
    if (::GetKeyState(VK_CONTROL) < 0)
        info.fMask |= CMIC_MASK_CONTROL_DOWN;
    return handler->InvokeCommand(&info);
}

struct MenuLine
{
    UINT id = 0;
    std::wstring text;
    bool separator = false;
    bool bitmap = false;
    HMENU submenu = nullptr;
};

std::vector<MenuLine> ReadMenu(HMENU menu)
{
    std::vector<MenuLine> lines;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
    {
        std::wstring text(512, L'\0');
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE | MIIM_BITMAP | MIIM_CHECKMARKS;
        item.dwTypeData = text.data();
        item.cch = static_cast<UINT>(text.size());
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item))
            continue;
        text.resize(item.cch);
        lines.push_back({item.wID, text, (item.fType & MFT_SEPARATOR) != 0,
                         item.hbmpItem != nullptr || item.hbmpUnchecked != nullptr, item.hSubMenu});
    }
    return lines;
}

void PrintMenu(HMENU menu, const std::wstring& indent)
{
    for (const MenuLine& line : ReadMenu(menu))
    {
        if (line.separator)
        {
            Print(indent + L"--------");
            continue;
        }
        std::wstring row = indent + line.text;
        if (line.submenu)
            row += L"  >";
        else
            row += L"  (offset " + std::to_wstring(line.id - kFirstCommandId) + L")";
        if (line.bitmap)
            row += L"  [icon]";
        Print(row);
        if (line.submenu)
            PrintMenu(line.submenu, indent + L"    ");
    }
}

// The offset of the first item whose text starts with prefix, searching submenus too.
// Watches for a dialog with the caption while a command runs (of this process, or of a program the
// command started): photographs it, reads its list when it is ours, and cancels it, so that a
// headless tour never waits for a person.
class DialogPhotographer
{
  public:
    enum class Owner
    {
        ThisProcess,
        AnyProcess
    };
    DialogPhotographer(std::wstring caption, std::wstring shot, Owner owner = Owner::ThisProcess)
        : m_caption(std::move(caption)), m_shot(std::move(shot)), m_owner(owner), m_thread([this] { Run(); })
    {
    }
    DialogPhotographer(const DialogPhotographer&) = delete;
    DialogPhotographer& operator=(const DialogPhotographer&) = delete;
    ~DialogPhotographer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    // What was seen, once the command has returned.
    const std::vector<std::wstring>& Report() const noexcept { return m_report; }
    // Waits for a dialog that another program shows (up to ten seconds), then tells what was seen.
    const std::vector<std::wstring>& WaitForReport()
    {
        m_thread.join();
        return m_report;
    }

  private:
    void Run() noexcept
    {
        for (int attempt = 0; attempt < 500 && !m_stop; ++attempt)
        {
            const HWND dialog = ::FindWindowW(L"#32770", m_caption.c_str());
            DWORD process = 0;
            const bool ours = ::GetWindowThreadProcessId(dialog, &process) && process == ::GetCurrentProcessId();
            if (dialog && (ours || m_owner == Owner::AnyProcess) && ::IsWindowVisible(dialog))
            {
                ::Sleep(300); // let it paint
                m_report.push_back(L"dialog \"" + m_caption + L"\" opened" + (ours ? L"" : L" by another program"));
                // A list view of another process cannot be read from here.
                const HWND list = ours ? ::FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
                const int rows = list ? static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
                const HWND header = list ? reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
                const int columns =
                    header ? std::max(1, static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0))) : 1;
                for (int row = 0; row < rows; ++row)
                {
                    // A list of several columns (old and new names) prints them side by side.
                    std::wstring line;
                    for (int column = 0; column < columns; ++column)
                    {
                        wchar_t text[1024] = {};
                        LVITEMW item{};
                        item.iSubItem = column;
                        item.pszText = text;
                        item.cchTextMax = 1024;
                        ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
                        line += (column ? L" -> " : L"") + std::wstring(text);
                    }
                    m_report.push_back(L"  row: " + line);
                }
                // The copy options dialog: what it would copy, and its status line.
                if (ours && ::GetDlgItem(dialog, IDC_COPY_PATHS_PREVIEW))
                {
                    std::wstring preview = GetWindowTextString(::GetDlgItem(dialog, IDC_COPY_PATHS_PREVIEW));
                    // Each line under the one before, as the report is printed indented.
                    for (size_t at = preview.find(L"\r\n"); at != std::wstring::npos; at = preview.find(L"\r\n", at + 8))
                        preview.replace(at, 2, L"\r\n      ");
                    m_report.push_back(L"  preview:");
                    m_report.push_back(L"    " + preview);
                    m_report.push_back(L"  status: " + GetWindowTextString(::GetDlgItem(dialog, IDC_COPY_PATHS_STATUS)));
                }
                m_report.push_back(SaveWindowsBitmap({dialog}, m_shot) ? L"screenshot: " + m_shot
                                                                       : L"screenshot failed: " + m_shot);
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            ::Sleep(20);
        }
    }

    const std::wstring m_caption;
    const std::wstring m_shot;
    const Owner m_owner;
    std::vector<std::wstring> m_report;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

bool FindItem(HMENU menu, const std::wstring& prefix, UINT& offset)
{
    for (const MenuLine& line : ReadMenu(menu))
    {
        if (line.submenu)
        {
            if (FindItem(line.submenu, prefix, offset))
                return true;
        }
        else if (!line.separator && line.text.compare(0, prefix.size(), prefix) == 0)
        {
            offset = line.id - kFirstCommandId;
            return true;
        }
    }
    return false;
}

// Key presses that walk from the top of the menu to its first submenu and open it.
std::vector<WPARAM> KeysToFirstSubmenu(HMENU menu)
{
    std::vector<WPARAM> keys;
    for (const MenuLine& line : ReadMenu(menu))
    {
        if (line.separator)
            continue;
        keys.push_back(VK_DOWN);
        if (line.submenu)
        {
            keys.push_back(VK_RIGHT);
            return keys;
        }
    }
    return {};
}

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM context)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && std::wstring(className) == L"#32768")
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleMenuWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(CollectMenuWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Waits until count menu windows are shown, then gives them a moment to paint.
std::vector<HWND> WaitForMenuWindows(size_t count)
{
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::vector<HWND> windows = VisibleMenuWindows();
        if (windows.size() >= count)
        {
            ::Sleep(300);
            return VisibleMenuWindows();
        }
        ::Sleep(50);
    }
    return {};
}

// Runs on its own thread while the menu is tracked: photographs the menu (and its first submenu when
// keys to open it are given), then closes the menu.
struct MenuCamera
{
    HWND owner = nullptr;
    std::wstring menuShot;
    std::wstring submenuShot;
    std::wstring openShot;
    std::vector<WPARAM> submenuKeys;
    std::vector<std::wstring> saved;
    std::vector<std::wstring> failed;

    static DWORD WINAPI Run(void* context)
    {
        static_cast<MenuCamera*>(context)->Shoot();
        return 0;
    }

    void Shoot()
    {
        std::vector<HWND> menus = WaitForMenuWindows(1);
        if (menus.empty())
            failed.push_back(menuShot + L" (the menu did not appear)");
        else
        {
            Record({menus.front()}, menuShot);
            if (!submenuShot.empty() && !submenuKeys.empty())
            {
                for (WPARAM key : submenuKeys)
                {
                    ::PostMessageW(owner, WM_KEYDOWN, key, 0);
                    ::PostMessageW(owner, WM_KEYUP, key, 0xC0000000);
                    ::Sleep(60);
                }
                std::vector<HWND> opened = WaitForMenuWindows(2);
                HWND submenu = nullptr;
                for (HWND window : opened)
                    if (window != menus.front())
                        submenu = window;
                if (submenu)
                {
                    Record({submenu}, submenuShot);
                    Record({menus.front(), submenu}, openShot);
                }
                else
                    failed.push_back(submenuShot + L" (the submenu did not open)");
            }
        }
        for (int press = 0; press < 3; ++press)
        {
            ::PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0);
            ::Sleep(50);
        }
        // Closes the menu even when it never showed or ignores the keys.
        ::SendMessageTimeoutW(owner, WM_CANCELMODE, 0, 0, SMTO_NORMAL, 2000, nullptr);
    }

    void Record(const std::vector<HWND>& windows, const std::wstring& path)
    {
        if (SaveWindowsBitmap(windows, path))
            saved.push_back(path);
        else
            failed.push_back(path);
    }
};

struct HostState
{
    std::wstring folder;
    std::vector<Entry> entries;
    HWND list = nullptr;
};

HostState g_host;

void FillList(HWND list, const std::vector<Entry>& entries)
{
    ListView_DeleteAllItems(list);
    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images)
        ListView_SetImageList(list, images, LVSIL_SMALL); // the system list: the view must not destroy it
    int row = 0;
    for (const Entry& entry : entries)
    {
        const std::wstring path = g_host.folder + L"\\" + entry.name;
        SHFILEINFOW file{};
        ::SHGetFileInfoW(path.c_str(), 0, &file, sizeof(file), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(entry.name.c_str());
        item.iImage = file.iIcon;
        const int index = ListView_InsertItem(list, &item);
        ListView_SetItemText(list, index, 1, file.szTypeName);
        ++row;
    }
}

std::vector<std::wstring> SelectedNames(HWND list)
{
    std::vector<std::wstring> names;
    for (int index = ListView_GetNextItem(list, -1, LVNI_SELECTED); index >= 0;
         index = ListView_GetNextItem(list, index, LVNI_SELECTED))
        if (static_cast<size_t>(index) < g_host.entries.size())
            names.push_back(g_host.entries[static_cast<size_t>(index)].name);
    return names;
}

void ShowContextMenu(HWND window, POINT at)
{
    const std::vector<std::wstring> names = SelectedNames(g_host.list);
    if (names.empty())
        return;
    HandlerMenu menu;
    std::wstring error;
    if (FAILED(BuildHandlerMenu(g_host.folder, names, menu, error)))
    {
        ::MessageBoxW(window, error.c_str(), L"Brelvanta Host", MB_OK | MB_ICONWARNING);
        return;
    }
    if (::GetMenuItemCount(menu.menu.Get()) == 0)
        return;
    ::SetForegroundWindow(window);
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu.menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    if (chosen >= kFirstCommandId)
    {
        const HRESULT result = InvokeOffset(menu.handler.Get(), chosen - kFirstCommandId, window);
        if (FAILED(result))
            ::MessageBoxW(window, (L"The command failed (" + HResultText(result) + L").").c_str(), L"Brelvanta Host",
                          MB_OK | MB_ICONWARNING);
    }
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE: {
        g_host.list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                                        0, 0, 0, window, nullptr, nullptr, nullptr);
        if (!g_host.list)
            return -1;
        ListView_SetExtendedListViewStyle(g_host.list, LVS_EX_FULLROWSELECT);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 260;
        column.pszText = const_cast<wchar_t*>(L"Name");
        ListView_InsertColumn(g_host.list, 0, &column);
        column.cx = 160;
        column.pszText = const_cast<wchar_t*>(L"Type");
        ListView_InsertColumn(g_host.list, 1, &column);
        FillList(g_host.list, g_host.entries);
        return 0;
    }
    case WM_SIZE:
        ::MoveWindow(g_host.list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(g_host.list);
        return 0;
    case WM_CONTEXTMENU: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (at.x == -1 && at.y == -1) // from the keyboard: under the focused row
        {
            RECT row{};
            const int focused = ListView_GetNextItem(g_host.list, -1, LVNI_FOCUSED);
            if (focused >= 0 && ListView_GetItemRect(g_host.list, focused, &row, LVIR_LABEL))
                at = {row.left, row.bottom};
            ::ClientToScreen(g_host.list, &at);
        }
        ShowContextMenu(window, at);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

UniqueWindow CreateHostWindow(HINSTANCE instance, int show)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassExW(&windowClass);
    UniqueWindow window(::CreateWindowExW(0, kWindowClass, (L"Brelvanta Host - " + g_host.folder).c_str(),
                                          WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480, 360, nullptr, nullptr,
                                          instance, nullptr));
    if (window)
    {
        ::ShowWindow(window.Get(), show);
        ::UpdateWindow(window.Get());
    }
    return window;
}

int RunInteractive(HINSTANCE instance, int show)
{
    UniqueWindow window = CreateHostWindow(instance, show);
    if (!window)
        return 1;
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    static_cast<void>(window.Release()); // already destroyed through WM_CLOSE
    return static_cast<int>(message.wParam);
}

std::wstring ClipboardText()
{
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        const ClipboardSession clipboard;
        if (clipboard.IsOpen())
        {
            const std::wstring text = OpenClipboardText();
            return text.empty() ? L"(clipboard empty)" : text;
        }
        ::Sleep(20);
    }
    return L"(the clipboard could not be opened)";
}

void EmptyClipboard()
{
    for (int attempt = 0; attempt < 50 && !::OpenClipboard(nullptr); ++attempt)
        ::Sleep(20);
    ::EmptyClipboard();
    ::CloseClipboard();
}

// Tracks the menu on the window while a camera thread photographs it and closes it again.
void PhotographMenu(HWND window, HMENU menu, const std::wstring& shotBase)
{
    MenuCamera camera;
    camera.owner = window;
    camera.menuShot = shotBase + L".bmp";
    camera.submenuShot = shotBase + L"-submenu.bmp";
    camera.openShot = shotBase + L"-open.bmp";
    camera.submenuKeys = KeysToFirstSubmenu(menu);
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, MenuCamera::Run, &camera, 0, nullptr));
    if (!thread)
    {
        Print(L"  screenshot: no camera thread");
        return;
    }
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    ::SetForegroundWindow(window);
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, bounds.left + 40, bounds.top + 60, 0, window, nullptr));
    // The camera may still be closing the menu: let its sent messages through until it is done.
    const HANDLE cameraThread = thread.Get();
    while (::MsgWaitForMultipleObjects(1, &cameraThread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
    {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message != WM_KEYDOWN && message.message != WM_KEYUP)
                ::DispatchMessageW(&message);
    }
    if (chosen != 0)
        Print(L"  (the menu returned item " + std::to_wstring(chosen) + L"; not run)");
    for (const std::wstring& path : camera.saved)
        Print(L"  screenshot: " + path);
    for (const std::wstring& path : camera.failed)
        Print(L"  screenshot failed: " + path);
}

int RunTour(HINSTANCE instance, const std::wstring& shotFolder)
{
    UniqueWindow window = CreateHostWindow(instance, SW_SHOWNORMAL);
    if (!window)
    {
        Print(L"The host window could not be created (error " + std::to_wstring(::GetLastError()) + L").");
        return 1;
    }
    ::CreateDirectoryW(shotFolder.c_str(), nullptr);
    // Let the window paint, then keep a picture of its list (under Xvfb the caption comes out black).
    for (const DWORD until = ::GetTickCount() + 500; ::GetTickCount() < until;)
    {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        ::Sleep(20);
    }
    const std::wstring windowShot = shotFolder + L"\\host-window.bmp";
    Print(SaveWindowsBitmap({g_host.list}, windowShot) ? L"screenshot: " + windowShot
                                                       : L"screenshot failed: " + windowShot);
    Print(L"");

    std::vector<std::wstring> files;
    std::vector<std::wstring> folders;
    for (const Entry& entry : g_host.entries)
        (entry.folder ? folders : files).push_back(entry.name);

    struct Stop
    {
        std::wstring title;
        std::wstring shot;
        std::vector<std::wstring> names;
    };
    std::vector<Stop> stops;
    if (!files.empty())
        stops.push_back({L"One file", L"menu-one-file", {files.front()}});
    if (files.size() >= 3)
        stops.push_back({L"Three files", L"menu-three-files", {files.begin(), files.begin() + 3}});
    if (!folders.empty())
        stops.push_back({L"One folder", L"menu-folder", {folders.front()}});
    // A folder with an empty folder inside: Delete Empty Folders lists it in its dialog.
    for (const std::wstring& folder : folders)
        if (folder == L"Projects")
            stops.push_back({L"A folder holding an empty folder", L"menu-projects", {folder}});

    // The camera files: Multi Rename shows what they have in common and their new names.
    std::vector<std::wstring> photos;
    for (const std::wstring& file : files)
        if (file.rfind(L"IMG_", 0) == 0)
            photos.push_back(file);
    if (photos.size() >= 2)
        stops.push_back({L"The camera files", L"menu-photos", photos});

    int status = 0;
    // Invokes a menu item, prints what its dialog shows and photographs it; the photographer
    // cancels the dialog, so nothing on disk changes.
    const auto photographCommand = [&](const HandlerMenu& menu, const wchar_t* item, const wchar_t* caption,
                                       const wchar_t* shot) {
        UINT offset = 0;
        if (!FindItem(menu.menu.Get(), item, offset))
            return;
        HRESULT result = E_FAIL;
        std::vector<std::wstring> report;
        {
            DialogPhotographer photographer(caption, shotFolder + L"\\" + shot);
            result = InvokeOffset(menu.handler.Get(), offset, window.Get());
            report = photographer.Report();
        }
        Print(L"  invoked \"" + std::wstring(item) + L"\": " + HResultText(result));
        for (const std::wstring& line : report)
            Print(L"  " + line);
        if (report.empty())
            status = 1;
    };
    for (const Stop& stop : stops)
    {
        std::wstring selection;
        for (const std::wstring& name : stop.names)
            selection += (selection.empty() ? L"" : L", ") + name;
        Print(L"== " + stop.title + L": " + selection);
        HandlerMenu menu;
        std::wstring error;
        if (FAILED(BuildHandlerMenu(g_host.folder, stop.names, menu, error)))
        {
            std::replace(error.begin(), error.end(), L'\n', L' ');
            Print(L"  " + error);
            status = 1;
            continue;
        }
        PrintMenu(menu.menu.Get(), L"  ");
        if (::GetMenuItemCount(menu.menu.Get()) > 0)
            PhotographMenu(window.Get(), menu.menu.Get(), shotFolder + L"\\" + stop.shot);

        if (stop.shot == L"menu-projects")
            photographCommand(menu, L"Delete Empty Folders", L"Delete Empty Folders", L"delete-empty-folders.bmp");
        // Photographed and cancelled: the tour renames nothing.
        if (stop.shot == L"menu-photos")
            photographCommand(menu, L"Multi Rename", L"Multi Rename", L"multi-rename.bmp");
        UINT configureOffset = 0;
        if (stop.shot == L"menu-one-file" && FindItem(menu.menu.Get(), L"Configure Brelvanta", configureOffset))
        {
            // The command starts the configure program beside the DLL and does not wait for it.
            DialogPhotographer photographer(L"Configure Brelvanta Menu Commands", shotFolder + L"\\configure.bmp",
                                            DialogPhotographer::Owner::AnyProcess);
            const HRESULT result = InvokeOffset(menu.handler.Get(), configureOffset, window.Get());
            Print(L"  invoked \"Configure Brelvanta\": " + HResultText(result));
            const std::vector<std::wstring>& report = photographer.WaitForReport();
            for (const std::wstring& line : report)
                Print(L"  " + line);
            if (report.empty())
            {
                Print(L"  the configure program showed no window");
                status = 1;
            }
        }
        if (stop.names.size() == 3)
            photographCommand(menu, L"Copy Filenames with Options", L"Copy Filenames", L"copy-options.bmp");
        if (stop.names.size() == 3)
        {
            UINT offset = 0;
            if (!FindItem(menu.menu.Get(), L"Copy &Filename", offset))
            {
                Print(L"  no item starting with \"Copy &Filename\"");
                status = 1;
                continue;
            }
            EmptyClipboard();
            const HRESULT result = InvokeOffset(menu.handler.Get(), offset, window.Get());
            Print(L"  invoked offset " + std::to_wstring(offset) + L": " + HResultText(result));
            Print(L"  clipboard:");
            // One clipboard line per printed line, each indented.
            std::wstring lines = ClipboardText();
            for (size_t at = lines.find(L"\r\n"); at != std::wstring::npos; at = lines.find(L"\r\n", at + 6))
                lines.replace(at, 2, L"\r\n    ");
            Print(L"    " + lines);
        }
        Print(L"");
    }
    return status;
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    int argumentCount = 0;
    UniqueLocal argumentMemory(::CommandLineToArgvW(::GetCommandLineW(), &argumentCount));
    const auto* arguments = static_cast<wchar_t* const*>(argumentMemory.Get());
    if (!arguments)
        return 1;
    const bool tour = argumentCount == 4 && std::wstring(arguments[1]) == L"--tour";
    if (!tour && argumentCount != 2)
    {
        const wchar_t* usage = L"BrelvantaHost.exe <folder>\nBrelvantaHost.exe --tour <folder> <screenshot-folder>";
        Print(usage);
        ::MessageBoxW(nullptr, usage, L"Brelvanta Host", MB_OK | MB_ICONINFORMATION);
        return 2;
    }

    OleSession ole;
    if (FAILED(ole.Result()))
        return 1;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    g_host.folder = FullPath(arguments[tour ? 2 : 1]);
    g_host.entries = ListFolder(g_host.folder);
    return tour ? RunTour(instance, FullPath(arguments[3])) : RunInteractive(instance, show);
}
