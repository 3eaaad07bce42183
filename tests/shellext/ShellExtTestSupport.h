#pragma once

#include "tests/support/ClipboardHelpers.h"
#include "tests/support/ProductStateTest.h"
#include "winsupport/ComPtr.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

// The built Brelvanta.dll of dist/, loaded once for the whole test program.
struct BrelvantaDll
{
    HMODULE module = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
    HRESULT(STDAPICALLTYPE* registerServer)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregisterServer)() = nullptr;
    HRESULT(STDAPICALLTYPE* install)(BOOL, PCWSTR) = nullptr;

    static const BrelvantaDll& Get();
    static std::wstring DistPath(const std::wstring& name);
};

// {6F2C1B8E-4A73-4D5B-9E21-7C8A3F1D5B42}, as registered by the DLL.
inline constexpr CLSID kHandlerClassId = {0x6f2c1b8e, 0x4a73, 0x4d5b, {0x9e, 0x21, 0x7c, 0x8a, 0x3f, 0x1d, 0x5b, 0x42}};
inline constexpr wchar_t kHandlerClassIdText[] = L"{6F2C1B8E-4A73-4D5B-9E21-7C8A3F1D5B42}";

// One item of a menu as GetMenuItemInfoW reads it back.
struct MenuRow
{
    UINT id = 0;
    std::wstring text;
    bool checkBitmap = false; // an unchecked-state bitmap
    bool itemBitmap = false;  // an item bitmap (hbmpItem)
    std::vector<MenuRow> submenu;
};
std::vector<MenuRow> ReadMenu(HMENU menu);
// "text|text|Brelvanta>[text|text]": the texts of a menu, compactly.
std::wstring MenuTexts(const std::vector<MenuRow>& rows);

class ShellExtTest : public ProductStateTest
{
  protected:
    // A handler initialised with a drop list of the paths; null when Initialize failed.
    ComPtr<IContextMenu> CreateHandler(const std::vector<std::wstring>& paths, HRESULT* initialize = nullptr);
    // Runs QueryContextMenu into a fresh popup menu and reads it back; idCmdLast 0 gives a range of 101 ids.
    std::vector<MenuRow> QueryMenu(IContextMenu* handler, UINT idCmdFirst = 1, UINT uFlags = CMF_NORMAL,
                                   HRESULT* result = nullptr, UINT idCmdLast = 0);
    void WriteConfigFile(const std::string& bytes);
    // Chooses the command with this menu text (as shown, "(s)" resolved) from a fresh menu, with
    // the invoke mask's keys (CMIC_MASK_SHIFT_DOWN, CMIC_MASK_CONTROL_DOWN); false when the menu
    // has no such command.
    bool InvokeByText(IContextMenu* handler, const std::wstring& text, DWORD mask = 0);
    // Files with these names in the test's folder; returns their full paths.
    std::vector<std::wstring> MakeFiles(const std::vector<std::wstring>& names);
};
