// The name-copying costs that grow with the selection: scanning a tree of 100,000 files against a
// bare FindFirstFileW walk of it, copying 100,000 names (format and clipboard) against a plain
// loop building the same text, and sorting 100,000 items by each order against a plain sort of
// their names. Prints one ratio per line.
#include "bench/BenchTiming.h"
#include "copynames/ClipboardText.h"
#include "copynames/ItemFormat.h"
#include "copynames/ItemList.h"
#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"
#include "winui/Clipboard.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 1000;

class NoAbort final : public MAbortBase
{
  public:
    void SetCurrentFolder(const std::wstring&) override {}
    bool IsAborted() override { return false; }
};

// 100 folders of 1,000 files each, made once and kept for later runs.
std::wstring BenchTree()
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"brelvanta-bench-names";
    const std::wstring done = root + L"\\complete";
    if (::GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES)
        return root + L"\\tree";
    std::fwprintf(stderr, L"making %d files once...\n", kFolders * kFilesPerFolder);
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW((root + L"\\tree").c_str(), nullptr);
    for (int folder = 0; folder < kFolders; ++folder)
    {
        const std::wstring path = root + L"\\tree\\folder " + std::to_wstring(folder);
        ::CreateDirectoryW(path.c_str(), nullptr);
        for (int file = 0; file < kFilesPerFolder; ++file)
        {
            const std::wstring name = path + L"\\photo " + std::to_wstring((file * 7919) % kFilesPerFolder) + L".jpg";
            UniqueFile handle(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            ::WriteFile(handle.Get(), name.c_str(), static_cast<DWORD>(file % 97), &written, nullptr);
        }
    }
    UniqueFile marker(::CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return root + L"\\tree";
}

// What no scan can avoid: enumerating every folder of the tree.
size_t BareWalk(const std::wstring& folder)
{
    size_t files = 0;
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileW((ToLongPath(folder) + L"\\*").c_str(), &data));
    if (!find)
        return 0;
    do
    {
        if (data.cFileName[0] == L'.' && (!data.cFileName[1] || (data.cFileName[1] == L'.' && !data.cFileName[2])))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            files += BareWalk(folder + L"\\" + data.cFileName);
        else
            ++files;
    } while (::FindNextFileW(find.Get(), &data));
    return files;
}

void PutOnClipboard(const std::wstring& text)
{
    if (!::OpenClipboard(nullptr))
        return;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueHglobal memory(::GlobalAlloc(GMEM_DDESHARE, bytes));
    std::memcpy(GlobalLockGuard(memory.Get()).Data(), text.c_str(), bytes);
    if (::SetClipboardData(CF_UNICODETEXT, memory.Get()))
        (void)memory.Release();
    ::CloseClipboard();
}

void Report(const wchar_t* what, double measured, double baseline)
{
    std::wprintf(L"%-44ls %6.2f  (%.1f ms against %.1f ms)\n", what, measured / baseline, measured * 1000,
                 baseline * 1000);
}
} // namespace

int wmain()
{
    const std::wstring tree = BenchTree();
    NoAbort abort;
    FolderScanOptions options;
    options.mode = FolderScanOptions::kFilesOnly;

    ItemList list;
    list.AddPath(tree);
    ScanSelectedFolders(list, abort, options);
    std::wprintf(L"tree: %zu files, bare walk finds %zu\n", list.Output().size(), BareWalk(tree));

    {
        const auto [scan, bare] = MeasurePair(
            [&] {
                ItemList scanned;
                scanned.AddPath(tree);
                ScanSelectedFolders(scanned, abort, options);
            },
            [&] { BareWalk(tree); }, 5);
        Report(L"scan of 100,000 files / bare walk", scan, bare);
    }
    {
        ItemFormat format;
        format.MakeSimple(ItemPartPath::kName);
        ClipboardText text;
        const auto [copy, plain] = MeasurePair(
            [&] {
                format.Format(list, text);
                (void)PutClipboardText(text.Text());
            },
            [&] {
                std::wstring plainText;
                for (const CFItem* item : list.Output())
                    plainText.append(item->Name()).append(L"\r\n");
                PutOnClipboard(plainText);
            },
            5);
        Report(L"copy of 100,000 names / plain loop", copy, plain);
    }
    {
        const wchar_t* names[] = {L"name A-Z",    L"name Z-A",      L"size up",        L"size down",
                                  L"modified up", L"modified down", L"path length up", L"path length down"};
        for (int option = 1; option < kSortOptionCount; ++option)
        {
            const auto [sorted, plain] = MeasurePair(
                [&] {
                    list.sortOption = static_cast<SortOption>(option);
                    list.Flatten();
                    list.Sort();
                },
                [&] {
                    std::vector<std::wstring> keys;
                    keys.reserve(list.Output().size());
                    for (const CFItem* item : list.Output())
                        keys.emplace_back(item->Name());
                    std::sort(keys.begin(), keys.end());
                },
                5);
            const std::wstring what = L"sort of 100,000 by " + std::wstring(names[option - 1]) + L" / plain sort";
            Report(what.c_str(), sorted, plain);
        }
    }
    return 0;
}
