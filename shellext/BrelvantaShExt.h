#pragma once

#include "shellext/ContextMenu.h"
#include "shellext/ServerLock.h"
#include "command/Selection.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <vector>

// {6F2C1B8E-4A73-4D5B-9E21-7C8A3F1D5B42}
inline constexpr CLSID CLSID_BrelvantaShExt = {
    0x6f2c1b8e, 0x4a73, 0x4d5b, {0x9e, 0x21, 0x7c, 0x8a, 0x3f, 0x1d, 0x5b, 0x42}};

// The context-menu handler the file manager creates on every right-click: it takes the selection,
// adds the configured commands to the menu, and runs the one the user picks.
class CBrelvantaShExt final : public IShellExtInit, public IContextMenu
{
  public:
    static HRESULT CreateInstance(REFIID riid, void** ppv) noexcept;

    // IUnknown
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override;
    IFACEMETHODIMP_(ULONG) Release() noexcept override;

    // IShellExtInit
    IFACEMETHODIMP Initialize(PCIDLIST_ABSOLUTE pidlFolder, IDataObject* pdtobj, HKEY hkeyProgID) noexcept override;

    // IContextMenu
    IFACEMETHODIMP QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                    UINT uFlags) noexcept override;
    IFACEMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* pici) noexcept override;
    IFACEMETHODIMP GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved, CHAR* pszName,
                                    UINT cchMax) noexcept override;

  private:
    CBrelvantaShExt() noexcept = default;
    ~CBrelvantaShExt() = default;

    // Holds the server lock while the handler lives. The first member, so it is let go after
    // every other one: their destructors run the library's code too.
    ServerLockHolder m_serverLock;
    std::atomic<ULONG> m_references{1};
    Selection m_selection;
    CommandMap m_commands;
};
