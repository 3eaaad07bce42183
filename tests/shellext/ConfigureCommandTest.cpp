#include "tests/shellext/ShellExtTestSupport.h"

#include "tests/support/DropListDataObject.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <cstring>

#ifndef BRELVANTA_CONFIGURE_PROBE
#error "the build passes the probe program's path"
#endif

namespace
{
using ConfigureCommandTest = ShellExtTest;
} // namespace

TEST_F(ConfigureCommandTest, StartsTheProgramBesideTheDll)
{
    // An install folder of its own, with a stand-in for the configure program that says how it was started.
    const std::wstring folder = TempPath(L"Install Folder \u00E4");
    ASSERT_TRUE(CreateFolder(folder));
    ASSERT_TRUE(
        ::CopyFileW(BrelvantaDll::DistPath(L"Brelvanta.dll").c_str(), (folder + L"\\Brelvanta.dll").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(WindowsPathOfUnixPath(Utf8ToWide(BRELVANTA_CONFIGURE_PROBE)).c_str(),
                            (folder + L"\\BrelvantaConfigure.exe").c_str(), FALSE));

    const UniqueHmodule dll(::LoadLibraryW((folder + L"\\Brelvanta.dll").c_str()));
    ASSERT_TRUE(dll);
    ASSERT_NE(dll.Get(), BrelvantaDll::Get().module) << "the copy must load as a module of its own";
    const auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(::GetProcAddress(dll.Get(), "DllGetClassObject")));
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put())), S_OK);
        ComPtr<IShellExtInit> init;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(init.Put())), S_OK);
        const auto files = MakeFiles({L"a.txt"});
        const auto dataObject = ComPtr<IDataObject>::Attach(CreateDropListDataObject(files));
        ASSERT_EQ(init->Initialize(nullptr, dataObject.Get(), nullptr), S_OK);
        const ComPtr<IContextMenu> menu = init.As<IContextMenu>();
        const std::vector<MenuRow> rows = QueryMenu(menu.Get(), 1);
        ASSERT_EQ(rows.size(), 1u);
        ASSERT_EQ(rows[0].submenu.back().text, L"Configure Brelvanta");

        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof(invoke);
        invoke.lpVerb = MAKEINTRESOURCEA(rows[0].submenu.back().id - 1);
        ASSERT_EQ(menu->InvokeCommand(&invoke), S_OK);
    }

    // The command does not wait for the program.
    std::optional<std::string> started;
    for (int attempt = 0; attempt < 200 && !started; ++attempt)
    {
        ::Sleep(50);
        started = ReadFileBytes(folder + L"\\started.txt");
    }
    ASSERT_TRUE(started) << "the configure program did not start";
    const std::wstring expected = L"\"" + folder + L"\\BrelvantaConfigure.exe\"";
    std::wstring commandLine(started->size() / sizeof(wchar_t), L'\0');
    std::memcpy(commandLine.data(), started->data(), commandLine.size() * sizeof(wchar_t));
    EXPECT_EQ(commandLine, expected);
}
