// The Multi Rename dialog on 10,000 files of one folder: opening it (the model, the analyses, the
// window with its part row and list, painted) against building the model and its analysis alone;
// and the refresh after an edit of a common part (new names, statuses, the list painted) against
// composing and checking the names alone. Ratios of the same run.
#include "bench/BenchTiming.h"
#include "rename/ChangeTextDlg.h"
#include "rename/RenameCheck.h"
#include "winsupport/FolderEnumerator.h"
#include "winsupport/Resources.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int kFiles = 10000;

std::wstring MakeFolder()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"BrelvantaRenameBench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < kFiles; ++i)
    {
        const std::wstring path = folder + L"IMG_" + std::to_wstring(100000 + i) + L".jpg";
        const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
    }
    return folder;
}

void RemoveFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    FolderEnumerator entries(folder);
    while (entries.Next())
        names.emplace_back(entries.Name());
    for (const std::wstring& name : names)
        ::DeleteFileW((folder + name).c_str());
    ::RemoveDirectoryW(folder.c_str());
}

// What the dialog derives before its window exists, and what it runs when it opens, without a window.
void ModelAndAnalysis(const std::vector<std::wstring>& paths)
{
    RenameModel model = BuildRenameModel(paths);
    std::vector<std::wstring> names;
    for (const RenameItem* item : model.ListedItems())
        names.push_back(item->name);
    std::array<PatternAnalysis, 4> analyses = AnalyseNames(names).byChoice;
    MatchListedItems(model, analyses[0]);
    ComputeNumberBases(model, analyses[0]);
    ComputeNumberBases(model, analyses[1]);
    model.NumberRows();
    RecomputeNames(model, analyses[0]);
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

void OpenDialog(const std::vector<std::wstring>& paths)
{
    RenameModel model = BuildRenameModel(paths);
    ChangeTextDlg dialog(model);
    if (!dialog.Create(nullptr))
        return;
    ::ShowWindow(dialog.Hwnd(), SW_SHOWNA);
    ::UpdateWindow(dialog.Hwnd());
    Pump();
    dialog.Destroy();
}

HWND FirstPartEdit(HWND dialog)
{
    return ::FindWindowExW(dialog, nullptr, L"EDIT", nullptr);
}
} // namespace

int wmain()
{
    SetResourceModule(::GetModuleHandleW(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::wstring folder = MakeFolder();
    std::vector<std::wstring> paths;
    for (int i = 0; i < kFiles; ++i)
        paths.push_back(folder + L"IMG_" + std::to_wstring(100000 + i) + L".jpg");

    const auto [open, bare] = MeasurePair([&] { OpenDialog(paths); }, [&] { ModelAndAnalysis(paths); }, 7);
    std::wprintf(L"%-44ls %10.2f ms\n%-44ls %10.2f ms\n%-44ls %10.2f\n", L"open the dialog on 10000 files", open * 1e3,
                 L"model and analysis alone", bare * 1e3, L"ratio (limit 2)", open / bare);

    RenameModel model = BuildRenameModel(paths);
    ChangeTextDlg dialog(model);
    if (!dialog.Create(nullptr))
        return 1;
    ::ShowWindow(dialog.Hwnd(), SW_SHOWNA);
    ::UpdateWindow(dialog.Hwnd());
    Pump();
    const HWND edit = FirstPartEdit(dialog.Hwnd());
    int edits = 0;
    int composes = 0; // each case alternates its own two texts, so that every run is a change
    PatternAnalysis analysis = BuildSegments(L"IMG_#", L".jpg", false);
    analysis.segments.front().newText = L"Photo";
    RenameModel alone = BuildRenameModel(paths);
    MatchListedItems(alone, analysis);
    alone.NumberRows();
    const auto [refresh, compose] = MeasurePair(
        [&] {
            const std::wstring text = (edits++ % 2) ? L"Photo " : L"Photo-";
            ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            ::UpdateWindow(dialog.Hwnd());
            Pump();
        },
        [&] {
            analysis.segments.front().newText = (composes++ % 2) ? L"Photo " : L"Photo-";
            RecomputeNames(alone, analysis);
        },
        9);
    // What the list shows now, so that a refresh that did nothing cannot pass for a fast one.
    const RenameItem* first = model.ListedItems().front();
    std::wprintf(L"%-44ls %ls -> %ls\n", L"first row after the edits", first->name.c_str(), first->newName.c_str());
    dialog.Destroy();
    std::wprintf(L"%-44ls %10.2f ms\n%-44ls %10.2f ms\n%-44ls %10.2f\n", L"refresh after an edit, 10000 rows",
                 refresh * 1e3, L"composing and checking alone", compose * 1e3, L"ratio (limit 3)", refresh / compose);
    RemoveFolder(folder);
    return 0;
}
