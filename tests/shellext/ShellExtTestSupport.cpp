#include "tests/shellext/ShellExtTestSupport.h"

#include "tests/support/DropListDataObject.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef BRELVANTA_DIST_DIR
#error "the build passes the dist folder"
#endif

namespace
{
template <typename Function> void Resolve(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
} // namespace

const BrelvantaDll& BrelvantaDll::Get()
{
    static const BrelvantaDll dll = [] {
        BrelvantaDll loaded;
        loaded.module = ::LoadLibraryW(DistPath(L"Brelvanta.dll").c_str());
        if (loaded.module)
        {
            Resolve(loaded.module, "DllGetClassObject", loaded.getClassObject);
            Resolve(loaded.module, "DllCanUnloadNow", loaded.canUnloadNow);
            Resolve(loaded.module, "DllRegisterServer", loaded.registerServer);
            Resolve(loaded.module, "DllUnregisterServer", loaded.unregisterServer);
            Resolve(loaded.module, "DllInstall", loaded.install);
        }
        // Every test here needs the DLL: without it they would only crash one after the other.
        if (!loaded.getClassObject || !loaded.canUnloadNow || !loaded.registerServer || !loaded.unregisterServer ||
            !loaded.install)
        {
            std::fprintf(stderr, "%ls did not load with its five exports: build the x86_64 tree first\n",
                         DistPath(L"Brelvanta.dll").c_str());
            std::exit(1);
        }
        return loaded;
    }();
    return dll;
}

std::wstring BrelvantaDll::DistPath(const std::wstring& name)
{
    return WindowsPathOfUnixPath(Utf8ToWide(BRELVANTA_DIST_DIR)) + L"\\" + name;
}

std::vector<MenuRow> ReadMenu(HMENU menu)
{
    std::vector<MenuRow> rows;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
    {
        std::wstring text(512, L'\0');
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_BITMAP;
        item.dwTypeData = text.data();
        item.cch = static_cast<UINT>(text.size());
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item))
            continue;
        text.resize(item.cch);
        MenuRow row{item.wID, text, item.hbmpUnchecked != nullptr, item.hbmpItem != nullptr, {}};
        if (item.hSubMenu)
            row.submenu = ReadMenu(item.hSubMenu);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::wstring MenuTexts(const std::vector<MenuRow>& rows)
{
    std::wstring texts;
    for (const MenuRow& row : rows)
    {
        if (!texts.empty())
            texts += L"|";
        texts += row.text;
        if (!row.submenu.empty())
            texts += L">[" + MenuTexts(row.submenu) + L"]";
    }
    return texts;
}

ComPtr<IContextMenu> ShellExtTest::CreateHandler(const std::vector<std::wstring>& paths, HRESULT* initialize)
{
    const BrelvantaDll& dll = BrelvantaDll::Get();
    ComPtr<IClassFactory> factory;
    if (!dll.getClassObject || FAILED(dll.getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put()))))
        return {};
    ComPtr<IShellExtInit> init;
    if (FAILED(factory->CreateInstance(nullptr, IID_PPV_ARGS(init.Put()))))
        return {};
    const auto dataObject = ComPtr<IDataObject>::Attach(CreateDropListDataObject(paths));
    const HRESULT result = init->Initialize(nullptr, dataObject.Get(), nullptr);
    if (initialize)
        *initialize = result;
    if (FAILED(result))
        return {};
    return init.As<IContextMenu>();
}

std::vector<MenuRow> ShellExtTest::QueryMenu(IContextMenu* handler, UINT idCmdFirst, UINT uFlags, HRESULT* result,
                                             UINT idCmdLast)
{
    const HMENU menu = ::CreatePopupMenu();
    const HRESULT query =
        handler->QueryContextMenu(menu, 0, idCmdFirst, idCmdLast ? idCmdLast : idCmdFirst + 100, uFlags);
    if (result)
        *result = query;
    std::vector<MenuRow> rows = ReadMenu(menu);
    ::DestroyMenu(menu);
    return rows;
}

void ShellExtTest::WriteConfigFile(const std::string& bytes)
{
    ASSERT_TRUE(CreateFolder(AppDataFolder() + L"\\Kaldrith"));
    ASSERT_TRUE(CreateFolder(UserFolder()));
    ASSERT_TRUE(WriteFileBytes(UserFolder() + L"\\MenuCommands.xml", bytes));
}

bool ShellExtTest::InvokeByText(IContextMenu* handler, const std::wstring& text, DWORD mask)
{
    constexpr UINT kFirst = 1;
    std::vector<MenuRow> rows = QueryMenu(handler, kFirst);
    for (size_t index = 0; index < rows.size(); ++index)
    {
        const MenuRow row = rows[index];
        rows.insert(rows.end(), row.submenu.begin(), row.submenu.end());
        if (row.text != text || !row.submenu.empty())
            continue;
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof(invoke);
        invoke.fMask = mask;
        invoke.lpVerb = MAKEINTRESOURCEA(row.id - kFirst);
        return SUCCEEDED(handler->InvokeCommand(&invoke));
    }
    return false;
}

std::vector<std::wstring> ShellExtTest::MakeFiles(const std::vector<std::wstring>& names)
{
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names)
    {
        paths.push_back(TempPath(name));
        EXPECT_TRUE(WriteFileBytes(paths.back(), "x"));
    }
    return paths;
}
