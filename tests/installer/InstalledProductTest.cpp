// What the installed product does, checked from inside the prefix the package was installed in.
// tests/installer/install_test.py runs these between its msiexec steps and tells them where the
// package put the product.
#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/DropListDataObject.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/ModulePath.h"

#include <windows.h>
#include <msi.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr wchar_t kUpgradeCode[] = L"{D7C88046-82DF-4B0C-9593-BE79B453DE6C}";

// The value of an environment variable the install test sets; the test fails without it.
std::wstring Expected(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value ? value : L"";
}

bool SamePath(const std::wstring& left, const std::wstring& right)
{
    return ::CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

class InstalledProductTest : public TempFolderTest
{
  protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_folder = Expected(L"BRELVANTA_INSTALLED_FOLDER");
        ASSERT_FALSE(m_folder.empty()) << "run by tests/installer/install_test.py, which names the install folder";
    }

    std::wstring m_folder;
};
} // namespace

// Wine activates only classes registered for the machine: the install test runs this after a
// per-machine install.
TEST_F(InstalledProductTest, ShellCreatesTheHandlerFromTheInstalledDll)
{
    const std::wstring file = TempPath(L"report.txt");
    ASSERT_TRUE(WriteFileBytes(file, "x"));

    ComPtr<IShellExtInit> init;
    ASSERT_EQ(::CoCreateInstance(kHandlerClassId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(init.Put())), S_OK);
    const HMODULE module = ::GetModuleHandleW(L"Brelvanta.dll");
    ASSERT_TRUE(module);
    EXPECT_TRUE(SamePath(ModulePath(module), m_folder + L"\\Brelvanta.dll")) << ModulePath(module);

    const auto data = ComPtr<IDataObject>::Attach(CreateDropListDataObject({file}));
    ASSERT_EQ(init->Initialize(nullptr, data.Get(), nullptr), S_OK);
    const ComPtr<IContextMenu> menu = init.As<IContextMenu>();
    ASSERT_TRUE(menu);
    const HMENU popup = ::CreatePopupMenu();
    const HRESULT query = menu->QueryContextMenu(popup, 0, 1, 200, CMF_NORMAL);
    const std::vector<MenuRow> rows = ReadMenu(popup);
    ::DestroyMenu(popup);
    ASSERT_GT(HRESULT_CODE(query), 0);

    // The command may stand in the main menu or in the submenu, as the user's arrangement has it.
    std::vector<MenuRow> all = rows;
    for (const MenuRow& row : rows)
        all.insert(all.end(), row.submenu.begin(), row.submenu.end());
    const MenuRow* copy = nullptr;
    for (const MenuRow& row : all)
        if (row.text == L"Copy &Filename")
            copy = &row;
    ASSERT_TRUE(copy) << MenuTexts(rows);
    SetClipboardText(L"before");
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof(invoke);
    invoke.lpVerb = MAKEINTRESOURCEA(copy->id - 1);
    ASSERT_EQ(menu->InvokeCommand(&invoke), S_OK);
    EXPECT_EQ(ClipboardTextNow(), L"report.txt");
}

TEST_F(InstalledProductTest, StartMenuShortcutStartsTheConfigureProgram)
{
    const std::wstring shortcut = Expected(L"BRELVANTA_SHORTCUT");
    ASSERT_FALSE(shortcut.empty());
    ComPtr<IShellLinkW> link;
    ASSERT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.Put())), S_OK);
    ASSERT_EQ(link.As<IPersistFile>()->Load(shortcut.c_str(), STGM_READ), S_OK) << shortcut;
    std::wstring target(MAX_PATH, L'\0');
    ASSERT_EQ(link->GetPath(target.data(), MAX_PATH, nullptr, 0), S_OK);
    target.resize(wcslen(target.c_str()));
    EXPECT_TRUE(SamePath(target, m_folder + L"\\BrelvantaConfigure.exe")) << target;
    std::wstring folder(MAX_PATH, L'\0');
    ASSERT_EQ(link->GetWorkingDirectory(folder.data(), MAX_PATH), S_OK);
    folder.resize(wcslen(folder.c_str()));
    EXPECT_TRUE(SamePath(folder, m_folder) || SamePath(folder, m_folder + L"\\")) << folder;
}

// Windows Installer's own view of what is installed: one product of the expected version.
TEST_F(InstalledProductTest, OneProductOfTheExpectedVersion)
{
    const std::wstring version = Expected(L"BRELVANTA_INSTALLED_VERSION");
    ASSERT_FALSE(version.empty());
    std::vector<std::wstring> versions;
    wchar_t product[39];
    for (DWORD index = 0; ::MsiEnumRelatedProductsW(kUpgradeCode, 0, index, product) == ERROR_SUCCESS; ++index)
    {
        wchar_t text[64];
        DWORD length = 64;
        if (::MsiGetProductInfoW(product, INSTALLPROPERTY_VERSIONSTRING, text, &length) == ERROR_SUCCESS)
            versions.emplace_back(text);
        else
            versions.emplace_back(L"?");
    }
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(versions[0], version);
}
