#include "shellext/ExplorerCommand.h"

#include "copynames/PropertyRuntime.h"
#include "menuconfig/MenuConfig.h"
#include "shellext/CommandCatalogue.h"
#include "shellext/ContextMenu.h"
#include "shellext/ServerLock.h"
#include "shellext/ShellSelection.h"
#include "winsupport/ComPtr.h"
#include "winsupport/ErrorHandling.h"
#include "winsupport/ModulePath.h"
#include "winsupport/Resources.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"
#include "resources/resource.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace
{
// Reference counting and the server lock, shared by the classes below. A function named like a
// virtual of several bases overrides all of them.
template <typename... Interfaces> class ComObject : public Interfaces...
{
  public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return ++m_references; }
    IFACEMETHODIMP_(ULONG) Release() noexcept override
    {
        const ULONG references = --m_references;
        if (references == 0)
            delete this;
        return references;
    }

  protected:
    ComObject() noexcept = default;
    virtual ~ComObject() = default;

  private:
    // The first member, so it is let go after every other one.
    ServerLockHolder m_serverLock;
    std::atomic<ULONG> m_references{1};
};

// Hands out a new object's interface and drops the creator's reference.
template <typename Object> HRESULT Hand(Object* object, REFIID riid, void** ppv) noexcept
{
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT result = object->QueryInterface(riid, ppv);
    object->Release();
    return result;
}

// A second reference to an object the caller lends.
template <typename T> ComPtr<T> Borrow(T* object) noexcept
{
    if (object)
        object->AddRef();
    return ComPtr<T>::Attach(object);
}

HRESULT CopyText(const std::wstring& text, LPWSTR* out) noexcept
{
    if (!out)
        return E_POINTER;
    return ::SHStrDupW(text.c_str(), out);
}

// The file-system paths of the items, long form; items without one (a library, a phone) are left out.
PathList FileSystemPaths(IShellItemArray* items)
{
    PathList paths;
    DWORD count = 0;
    if (FAILED(items->GetCount(&count)))
        return paths;
    for (DWORD index = 0; index < count; ++index)
    {
        ComPtr<IShellItem> item;
        if (FAILED(items->GetItemAt(index, item.Put())))
            continue;
        UniqueCoTaskMem path;
        if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, reinterpret_cast<LPWSTR*>(path.Put()))) && path)
            paths.Append(static_cast<const wchar_t*>(path.Get()));
    }
    return ExpandShortNamesOf(paths);
}

// Whether any item has a file-system path: the first one found answers.
bool HasFileSystemItem(IShellItemArray* items) noexcept
{
    DWORD count = 0;
    if (FAILED(items->GetCount(&count)))
        return false;
    for (DWORD index = 0; index < count; ++index)
    {
        ComPtr<IShellItem> item;
        UniqueCoTaskMem path;
        if (SUCCEEDED(items->GetItemAt(index, item.Put())) &&
            SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, reinterpret_cast<LPWSTR*>(path.Put()))) && path)
            return true;
    }
    return false;
}

// The selection of one flyout. The file manager asks every sub-command for its state with the same
// item array: the paths, the clipboard and the folder test are read once per array.
class FlyoutSelection
{
  public:
    const Selection& Of(IShellItemArray* items)
    {
        if (items != m_items.Get())
        {
            m_selection = SelectionOf(FileSystemPaths(items));
            m_items = Borrow(items);
        }
        return m_selection;
    }

  private:
    ComPtr<IShellItemArray> m_items;
    Selection m_selection;
};

// The parent window the site offers; none without a site.
HWND SiteWindow(IUnknown* site) noexcept
{
    HWND window = nullptr;
    if (site && FAILED(::IUnknown_GetWindow(site, &window)))
        window = nullptr;
    return window;
}

// Keeps the site the file manager sets.
class SiteHolder : public IObjectWithSite
{
  public:
    IFACEMETHODIMP SetSite(IUnknown* punkSite) noexcept override
    {
        m_site = Borrow(punkSite);
        return S_OK;
    }
    IFACEMETHODIMP GetSite(REFIID riid, void** ppvSite) noexcept override
    {
        if (!ppvSite)
            return E_POINTER;
        *ppvSite = nullptr;
        return m_site ? m_site->QueryInterface(riid, ppvSite) : E_FAIL;
    }

  protected:
    ComPtr<IUnknown> m_site;
};

// One command of the flyout.
class CFlyoutCommand final : public ComObject<IExplorerCommand, SiteHolder>
{
  public:
    CFlyoutCommand(MenuEntry entry, std::shared_ptr<FlyoutSelection> selection, ComPtr<IUnknown> site) noexcept
        : m_entry(entry), m_selection(std::move(selection))
    {
        m_site = std::move(site);
    }

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override
    {
        static const QITAB interfaces[] = {
            QITABENT(CFlyoutCommand, IExplorerCommand),
            QITABENT(CFlyoutCommand, IObjectWithSite),
            {},
        };
        return ::QISearch(this, interfaces, riid, ppv);
    }

    IFACEMETHODIMP GetTitle(IShellItemArray* psiItemArray, LPWSTR* ppszName) noexcept override
    try
    {
        const size_t count = psiItemArray ? m_selection->Of(psiItemArray).paths.size() : 1;
        return CopyText(WithoutAccessKey(ResolvePlural(CommandMenuText(m_entry.type), count)), ppszName);
    }
    CATCH_RETURN()

    // The menu icons are compiled-in images drawn into menu bitmaps; the packaged menu takes only
    // icon resources, so its sub-commands show none.
    IFACEMETHODIMP GetIcon(IShellItemArray*, LPWSTR* ppszIcon) noexcept override
    try
    {
        // The same drawing as the classic menu's bitmap, as an icon resource of this library.
        const int icon = CommandIconId(m_entry.type);
        if (icon < 1 || icon > 8)
        {
            if (ppszIcon)
                *ppszIcon = nullptr;
            return E_NOTIMPL;
        }
        return CopyText(ModulePath(ResourceModule()) + L",-" + std::to_wstring(IDI_MENU_ICON_BASE + icon), ppszIcon);
    }
    CATCH_RETURN()

    IFACEMETHODIMP GetToolTip(IShellItemArray*, LPWSTR* ppszInfotip) noexcept override
    try
    {
        const std::wstring help = CommandHelpText(m_entry.type);
        if (help.empty())
        {
            if (ppszInfotip)
                *ppszInfotip = nullptr;
            return E_NOTIMPL;
        }
        return CopyText(help, ppszInfotip);
    }
    CATCH_RETURN()

    IFACEMETHODIMP GetCanonicalName(GUID* pguidCommandName) noexcept override
    {
        if (!pguidCommandName)
            return E_POINTER;
        *pguidCommandName = GUID_NULL;
        return E_NOTIMPL;
    }

    // Hidden exactly when the classic menu leaves the command out for the same selection.
    IFACEMETHODIMP GetState(IShellItemArray* psiItemArray, BOOL, EXPCMDSTATE* pCmdState) noexcept override
    try
    {
        if (!pCmdState)
            return E_POINTER;
        const bool shown = !psiItemArray || IsCommandVisible(m_entry, m_selection->Of(psiItemArray));
        *pCmdState = shown ? ECS_ENABLED : ECS_HIDDEN;
        return S_OK;
    }
    CATCH_RETURN()

    IFACEMETHODIMP Invoke(IShellItemArray* psiItemArray, IBindCtx*) noexcept override
    try
    {
        if (!psiItemArray)
            return E_INVALIDARG;
        const Selection& selection = m_selection->Of(psiItemArray);
        if (selection.paths.empty())
            return E_INVALIDARG;
        const std::unique_ptr<MenuItem> command = CreateCommand(m_entry.type);
        if (!command)
            return E_UNEXPECTED;
        KeyFlags keys = 0;
        if (::GetKeyState(VK_SHIFT) < 0)
            keys |= kShiftKey;
        if (::GetKeyState(VK_CONTROL) < 0)
            keys |= kControlKey;

        // Whatever the command loaded of the property system goes once the command is done.
        struct PropertyRuntimeRelease
        {
            ~PropertyRuntimeRelease() { DropPropertyRuntime(); }
        } propertyRuntimeRelease;
        CWindow parent(SiteWindow(m_site.Get()));
        command->Invoke(selection, keys, parent);
        parent.Detach();
        return S_OK;
    }
    CATCH_RETURN()

    IFACEMETHODIMP GetFlags(EXPCMDFLAGS* pFlags) noexcept override
    {
        if (!pFlags)
            return E_POINTER;
        *pFlags = ECF_DEFAULT;
        return S_OK;
    }

    IFACEMETHODIMP EnumSubCommands(IEnumExplorerCommand** ppEnum) noexcept override
    {
        if (ppEnum)
            *ppEnum = nullptr;
        return E_NOTIMPL;
    }

  private:
    ~CFlyoutCommand() override = default;

    MenuEntry m_entry;
    std::shared_ptr<FlyoutSelection> m_selection;
};

using CommandList = std::vector<ComPtr<IExplorerCommand>>;

// The flyout's commands, one after the other; clones share the list and copy the position.
class CFlyoutEnum final : public ComObject<IEnumExplorerCommand>
{
  public:
    CFlyoutEnum(std::shared_ptr<const CommandList> commands, size_t next) noexcept
        : m_commands(std::move(commands)), m_next(next)
    {
    }

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override
    {
        static const QITAB interfaces[] = {QITABENT(CFlyoutEnum, IEnumExplorerCommand), {}};
        return ::QISearch(this, interfaces, riid, ppv);
    }

    IFACEMETHODIMP Next(ULONG celt, IExplorerCommand** pUICommand, ULONG* pceltFetched) noexcept override
    {
        if (!pUICommand || (celt > 1 && !pceltFetched))
            return E_POINTER;
        ULONG fetched = 0;
        for (; fetched < celt && m_next < m_commands->size(); ++fetched, ++m_next)
        {
            pUICommand[fetched] = (*m_commands)[m_next].Get();
            pUICommand[fetched]->AddRef();
        }
        if (pceltFetched)
            *pceltFetched = fetched;
        return fetched == celt ? S_OK : S_FALSE;
    }

    IFACEMETHODIMP Skip(ULONG celt) noexcept override
    {
        const size_t left = m_commands->size() - m_next;
        const bool all = celt <= left;
        m_next += all ? celt : left;
        return all ? S_OK : S_FALSE;
    }

    IFACEMETHODIMP Reset() noexcept override
    {
        m_next = 0;
        return S_OK;
    }

    IFACEMETHODIMP Clone(IEnumExplorerCommand** ppenum) noexcept override
    {
        if (!ppenum)
            return E_POINTER;
        *ppenum = nullptr;
        return Hand(new (std::nothrow) CFlyoutEnum(m_commands, m_next), IID_PPV_ARGS(ppenum));
    }

  private:
    ~CFlyoutEnum() override = default;

    std::shared_ptr<const CommandList> m_commands;
    size_t m_next;
};

// The "Brelvanta" command at the top of the packaged menu.
class CBrelvantaExplorerCommand final : public ComObject<IExplorerCommand, SiteHolder>
{
  public:
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override
    {
        static const QITAB interfaces[] = {
            QITABENT(CBrelvantaExplorerCommand, IExplorerCommand),
            QITABENT(CBrelvantaExplorerCommand, IObjectWithSite),
            {},
        };
        return ::QISearch(this, interfaces, riid, ppv);
    }

    IFACEMETHODIMP GetTitle(IShellItemArray*, LPWSTR* ppszName) noexcept override
    {
        return CopyText(L"Brelvanta", ppszName);
    }

    // The library's own icon, by the path of the library itself: with a surrogate the host
    // process is not the file manager.
    IFACEMETHODIMP GetIcon(IShellItemArray*, LPWSTR* ppszIcon) noexcept override
    try
    {
        return CopyText(ModulePath(ResourceModule()) + L",-" + std::to_wstring(IDI_BRELVANTA), ppszIcon);
    }
    CATCH_RETURN()

    IFACEMETHODIMP GetToolTip(IShellItemArray*, LPWSTR* ppszInfotip) noexcept override
    {
        if (ppszInfotip)
            *ppszInfotip = nullptr;
        return E_NOTIMPL;
    }

    IFACEMETHODIMP GetCanonicalName(GUID* pguidCommandName) noexcept override
    {
        if (!pguidCommandName)
            return E_POINTER;
        *pguidCommandName = CLSID_BrelvantaExplorerCommand;
        return S_OK;
    }

    // Shown for any selection that holds a file-system item; the file manager may ask before it
    // has one.
    IFACEMETHODIMP GetState(IShellItemArray* psiItemArray, BOOL, EXPCMDSTATE* pCmdState) noexcept override
    {
        if (!pCmdState)
            return E_POINTER;
        const bool shown = !psiItemArray || HasFileSystemItem(psiItemArray);
        *pCmdState = shown ? ECS_ENABLED : ECS_HIDDEN;
        return S_OK;
    }

    IFACEMETHODIMP Invoke(IShellItemArray*, IBindCtx*) noexcept override { return E_NOTIMPL; }

    IFACEMETHODIMP GetFlags(EXPCMDFLAGS* pFlags) noexcept override
    {
        if (!pFlags)
            return E_POINTER;
        *pFlags = ECF_HASSUBCOMMANDS;
        return S_OK;
    }

    // The configuration is read once for each menu: the commands it shows, main-menu entries
    // first, each type once where it first occurs.
    IFACEMETHODIMP EnumSubCommands(IEnumExplorerCommand** ppEnum) noexcept override
    try
    {
        if (!ppEnum)
            return E_POINTER;
        *ppEnum = nullptr;
        const MenuConfig config = LoadMenuConfig(MenuConfigPath(), OnMalformedMenuConfig::KeepWhatWasRead);
        const MenuEntries entries = FirstOccurrences(config);
        const auto selection = std::make_shared<FlyoutSelection>();
        auto commands = std::make_shared<CommandList>();
        for (const std::vector<MenuEntry>* part : {&entries.mainMenu, &entries.subMenu})
        {
            for (const MenuEntry& entry : *part)
            {
                if (!entry.show)
                    continue;
                auto* command = new CFlyoutCommand(entry, selection, m_site);
                commands->push_back(ComPtr<IExplorerCommand>::Attach(command));
            }
        }
        return Hand(new CFlyoutEnum(std::move(commands), 0), IID_PPV_ARGS(ppEnum));
    }
    CATCH_RETURN()

  private:
    ~CBrelvantaExplorerCommand() override = default;
};
} // namespace

HRESULT CreateBrelvantaExplorerCommand(REFIID riid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return Hand(new (std::nothrow) CBrelvantaExplorerCommand(), riid, ppv);
}
