// The empty-folder scan of a tree of 20,000 folders against a bare FindFirstFileW walk of the same
// tree, both in the same run. The scan is told about every folder as the progress window would be,
// and checks the message queue as often. Prints one line per case.
#include "bench/BenchTiming.h"
#include "foldertools/EmptyFolderScan.h"
#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"
#include "winui/ProgressPath.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace
{
// What the progress window costs the scan per folder, without a window.
struct QuietProgress final : MAbortBase
{
    ProgressPath path;
    void SetCurrentFolder(const std::wstring& folder) override { path.Record(folder); }
    bool IsAborted() override
    {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        return false;
    }
};

size_t BareWalk(const std::wstring& folder)
{
    size_t folders = 1;
    WIN32_FIND_DATAW data{};
    const UniqueFind find(::FindFirstFileW(ToLongPath(folder + L"\\*").c_str(), &data));
    if (!find)
        return folders;
    do
    {
        if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0)
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            folders += BareWalk(folder + L"\\" + data.cFileName);
    } while (::FindNextFileW(find.Get(), &data));
    return folders;
}

void MakeTree(const std::wstring& root)
{
    ::CreateDirectoryW(root.c_str(), nullptr);
    // 20 x 20 x 50 = 20,000 leaf folders below 420 inner ones; every 7th leaf holds a file.
    int leaf = 0;
    for (int a = 0; a < 20; ++a)
    {
        const std::wstring first = root + L"\\a" + std::to_wstring(a);
        ::CreateDirectoryW(first.c_str(), nullptr);
        for (int b = 0; b < 20; ++b)
        {
            const std::wstring second = first + L"\\b" + std::to_wstring(b);
            ::CreateDirectoryW(second.c_str(), nullptr);
            for (int c = 0; c < 50; ++c, ++leaf)
            {
                const std::wstring third = second + L"\\c" + std::to_wstring(c);
                ::CreateDirectoryW(third.c_str(), nullptr);
                if (leaf % 7 == 0)
                {
                    UniqueFile file(::CreateFileW((third + L"\\f.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
                }
            }
        }
    }
}
} // namespace

int wmain()
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring root = std::wstring(temp) + L"brelvanta-bench-folders";
    if (::GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES)
        MakeTree(root);

    double bestScan = 1e9;
    double bestBare = 1e9;
    size_t found = 0;
    size_t walked = 0;
    for (int round = 0; round < 5; ++round)
    {
        double start = Seconds();
        walked = BareWalk(root);
        bestBare = std::min(bestBare, Seconds() - start);
        start = Seconds();
        QuietProgress progress;
        EmptyFolderScan scan(progress);
        scan.Run({root});
        found = scan.Found().size();
        bestScan = std::min(bestScan, Seconds() - start);
    }
    std::printf("empty-folder scan, %zu folders (%zu empty found): scan %.1f ms, bare walk %.1f ms, ratio %.2f\n",
                walked, found, bestScan * 1000, bestBare * 1000, bestScan / bestBare);
    return 0;
}
