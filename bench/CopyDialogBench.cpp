// The copy options dialog of the built DLL at 10,000 selected files. Against formatting the same
// list alone: a preview rebuild (format, the preview takes the text and draws), and a whole
// keystroke on the Full Controls page (parse, rebuild, status line, settings). Opening the dialog
// from the menu against building the item list and formatting it once. One line per case.
#include "bench/BenchHandler.h"
#include "bench/BenchTiming.h"
#include "copynames/ClipboardText.h"
#include "copynames/ItemFormat.h"
#include "copynames/ItemList.h"
#include "resources/resource.h"
#include "tests/support/DropListDataObject.h"
#include "winsupport/ComPtr.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr size_t kFiles = 10000;
// Two item texts the rebuild alternates between, so that each one changes the preview.
const wchar_t* const kDefinitions[] = {L"$name", L"$path"};

struct Run
{
    double invoked = 0;
    double shown = 0;
    bool measureRebuild = false;
    std::pair<double, double> rebuild{};
    std::pair<double, double> drawn{};
    std::pair<double, double> keystroke{};
    const ItemList* list = nullptr;
} g_run;
HHOOK g_hook = nullptr;

HWND FindDescendant(HWND parent, int id)
{
    struct Search
    {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) noexcept -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (::GetDlgCtrlID(child) != s.id)
                return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs inside the dialog's modal loop once it is shown.
void CALLBACK InDialog(HWND, UINT, UINT_PTR timer, DWORD) noexcept
{
    ::KillTimer(nullptr, timer);
    const HWND dialog = ::FindWindowW(L"#32770", L"Copy Filenames");
    if (g_run.measureRebuild && dialog)
    {
        ::SendMessageW(::GetDlgItem(dialog, IDC_COPY_PATHS_TABS), TCM_SETCURFOCUS, 2, 0);
        ItemFormat format;
        ClipboardText text;
        int formatted = 0;
        const auto formatAlone = [&] {
            if (!format.SetDefinition(kDefinitions[++formatted % 2]))
                return;
            format.SetSeparator(L"\\n");
            format.Format(*g_run.list, text);
        };
        // The preview's rebuild: the same formatting, then the preview takes the text; and the
        // same with the drawing that follows (the lines in view and the scroll bars).
        const HWND preview = ::GetDlgItem(dialog, IDC_COPY_PATHS_PREVIEW);
        const auto rebuild = [&](bool draw) {
            int rebuilt = 0;
            return MeasurePair(
                [&] {
                    if (!format.SetDefinition(kDefinitions[++rebuilt % 2]))
                        return;
                    format.SetSeparator(L"\\n");
                    format.Format(*g_run.list, text);
                    ::SetWindowTextW(preview, text.CStr());
                    if (draw)
                        ::UpdateWindow(preview);
                },
                formatAlone, 10);
        };
        g_run.rebuild = rebuild(false);
        g_run.drawn = rebuild(true);
        // A whole keystroke on the Full Controls page: the item text changes, the dialog
        // parses it, rebuilds the preview, updates the status line and remembers the texts.
        const HWND edit = FindDescendant(dialog, IDC_FULL_ITEM_TEXT);
        int typed = 0;
        g_run.keystroke = MeasurePair(
            [&] {
                ::SetWindowTextW(edit, kDefinitions[++typed % 2]);
                ::UpdateWindow(dialog);
            },
            formatAlone, 10);
    }
    if (dialog)
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HCBT_ACTIVATE)
    {
        wchar_t name[16] = {};
        ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
        if (std::wstring(name) == L"#32770" && g_run.shown == 0)
        {
            g_run.shown = Seconds();
            ::SetTimer(nullptr, 0, 0, &InDialog);
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// The menu offset of the command with this text, the submenu searched too; -1 when absent.
int OffsetOf(HMENU menu, const std::wstring& text)
{
    for (int index = 0; index < ::GetMenuItemCount(menu); ++index)
    {
        wchar_t buffer[128] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = buffer;
        item.cch = 128;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &item);
        if (item.hSubMenu)
        {
            if (const int inner = OffsetOf(item.hSubMenu, text); inner >= 0)
                return inner;
        }
        else if (text == buffer)
            return static_cast<int>(item.wID) - 1;
    }
    return -1;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    ComPtr<IClassFactory> factory = StartHandlerBench(argc, argv, "copydialog_bench");
    if (!factory)
        return 1;

    const std::vector<std::wstring> paths = MakeBenchFiles(kFiles);
    ItemList list;
    for (const std::wstring& path : paths)
        list.AddPath(path);
    list.Flatten();
    g_run.list = &list;

    const auto dataObject = ComPtr<IDataObject>::Attach(CreateDropListDataObject(paths));
    g_hook = ::SetWindowsHookExW(WH_CBT, &WatchActivation, nullptr, ::GetCurrentThreadId());
    // Each opening: a fresh handler and menu, then the command timed from its choice until the
    // dialog shows.
    auto open = [&](bool measureRebuild) {
        ComPtr<IShellExtInit> init;
        factory->CreateInstance(nullptr, IID_PPV_ARGS(init.Put()));
        init->Initialize(nullptr, dataObject.Get(), nullptr);
        const auto menu = init.As<IContextMenu>();
        const HMENU popup = ::CreatePopupMenu();
        menu->QueryContextMenu(popup, 0, 1, 100, CMF_NORMAL);
        const int offset = OffsetOf(popup, L"Copy Filenames with Options");
        ::DestroyMenu(popup);
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof(invoke);
        invoke.lpVerb = MAKEINTRESOURCEA(offset);
        g_run.shown = 0;
        g_run.measureRebuild = measureRebuild;
        g_run.invoked = Seconds();
        menu->InvokeCommand(&invoke);
        return g_run.shown > 0 ? g_run.shown - g_run.invoked : 1e9;
    };

    open(true);
    const auto [rebuild, format] = g_run.rebuild;
    std::printf("preview rebuild, %zu items: %8.2f ms, format alone %8.2f ms, ratio %.2f\n", kFiles, rebuild * 1e3,
                format * 1e3, rebuild / format);
    const auto [drawn, format1] = g_run.drawn;
    std::printf("  and drawn:                    %8.2f ms, format alone %8.2f ms, ratio %.2f\n", drawn * 1e3,
                format1 * 1e3, drawn / format1);
    const auto [keystroke, format2] = g_run.keystroke;
    std::printf("keystroke on Full Controls, %zu items: %8.2f ms, format alone %8.2f ms, ratio %.2f\n", kFiles,
                keystroke * 1e3, format2 * 1e3, keystroke / format2);

    double opening = 1e9;
    const auto [ignored, building] = MeasurePair([&] { opening = std::min(opening, open(false)); },
                                                 [&] {
                                                     ItemList built;
                                                     for (const std::wstring& path : paths)
                                                         built.AddPath(path);
                                                     built.Flatten();
                                                     ItemFormat once;
                                                     if (!once.SetDefinition(L"$name"))
                                                         return;
                                                     once.SetSeparator(L"\\n");
                                                     ClipboardText text;
                                                     once.Format(built, text);
                                                 },
                                                 5);
    (void)ignored;
    std::printf("dialog opening, %zu files: %8.2f ms, list and format %8.2f ms, ratio %.2f\n", kFiles, opening * 1e3,
                building * 1e3, opening / building);
    ::UnhookWindowsHookEx(g_hook);
    factory.Reset();
    ::CoUninitialize();
    return 0;
}
