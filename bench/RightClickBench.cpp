// What every right-click costs: Initialize plus QueryContextMenu of the built DLL, against a bare
// loop making the calls no handler can avoid (reading the drop list, asking whether the clipboard
// holds text, 32 attribute queries, finding and reading the menu configuration file, inserting the
// menu items). Prints one line per case.
#include "bench/BenchHandler.h"
#include "bench/BenchTiming.h"
#include "tests/support/DropListDataObject.h"
#include "winsupport/ComPtr.h"
#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace
{

std::string ReadConfigBytes(const std::wstring& path)
{
    const UniqueFile file(::CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes(4096, '\0');
    DWORD read = 0;
    if (file)
        ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

std::wstring MenuConfigFile()
{
    wchar_t appData[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::wstring(appData) + L"\\Kaldrith\\Brelvanta\\MenuCommands.xml";
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    ComPtr<IClassFactory> factory = StartHandlerBench(argc, argv, "rightclick_bench");
    if (!factory)
        return 1;

    // Real files, so that the attribute queries find something.
    const std::vector<std::wstring> all = MakeBenchFiles(10000);

    for (const size_t count : {size_t{1}, size_t{100}, size_t{10000}})
    {
        const std::vector<std::wstring> paths(all.begin(), all.begin() + static_cast<ptrdiff_t>(count));
        const auto dataObject = ComPtr<IDataObject>::Attach(CreateDropListDataObject(paths));

        const auto [handler, bare] = MeasurePair(
            [&] {
                ComPtr<IShellExtInit> init;
                factory->CreateInstance(nullptr, IID_PPV_ARGS(init.Put()));
                init->Initialize(nullptr, dataObject.Get(), nullptr);
                const HMENU menu = ::CreatePopupMenu();
                init.As<IContextMenu>()->QueryContextMenu(menu, 0, 1, 100, CMF_NORMAL);
                ::DestroyMenu(menu);
            },
            [&] {
                FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
                STGMEDIUM medium{};
                dataObject->GetData(&format, &medium);
                // Reading the list once is unavoidable; keeping a copy is the handler's own cost.
                size_t names = 0;
                {
                    const GlobalLockGuard lock(medium.hGlobal);
                    const auto* drop = static_cast<const DROPFILES*>(lock.Data());
                    for (auto* name =
                             reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(drop) + drop->pFiles);
                         *name; name += std::wcslen(name) + 1)
                        ++names;
                }
                ::ReleaseStgMedium(&medium);
                if (names != paths.size())
                    std::abort();
                ::IsClipboardFormatAvailable(CF_UNICODETEXT);
                for (size_t i = 0; i < std::min<size_t>(paths.size(), 32); ++i)
                    ::GetFileAttributesW(paths[i].c_str());
                const std::string config = ReadConfigBytes(MenuConfigFile());
                const HMENU menu = ::CreatePopupMenu();
                const HMENU popup = ::CreatePopupMenu();
                for (int item = 0; item < 5; ++item)
                    ::InsertMenuW(popup, item, MF_BYPOSITION | MF_STRING, 1 + item, L"Copy &Filenames");
                ::InsertMenuW(menu, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Brelvanta");
                ::DestroyMenu(menu);
            });

        std::printf("right-click, %5zu paths: handler %8.1f us, bare loop %8.1f us, ratio %.2f\n", count, handler * 1e6,
                    bare * 1e6, handler / bare);
    }
    factory.Reset();
    ::CoUninitialize();
    return 0;
}
