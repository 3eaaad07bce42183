#include "shellext/BrelvantaShExt.h"

#include "copynames/PropertyRuntime.h"
#include "menuconfig/MenuConfig.h"
#include "shellext/PackagedMenu.h"
#include "shellext/ShellSelection.h"
#include "winsupport/ErrorHandling.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <new>

namespace
{
// Releases a storage medium handed out by a data object.
class StorageMedium
{
  public:
    StorageMedium() noexcept = default;
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    ~StorageMedium()
    {
        if (m_data)
            ::GlobalUnlock(m_medium.hGlobal);
        ::ReleaseStgMedium(&m_medium);
    }
    STGMEDIUM* Put() noexcept { return &m_medium; }
    HGLOBAL Global() const noexcept { return m_medium.hGlobal; }
    // The medium's memory, locked on first use until the medium is released.
    const void* Data() noexcept
    {
        if (!m_data && m_medium.tymed == TYMED_HGLOBAL)
            m_data = ::GlobalLock(m_medium.hGlobal);
        return m_data;
    }

  private:
    STGMEDIUM m_medium{};
    const void* m_data = nullptr;
};

// Reads the drop list in one pass, each name whole and never past the memory's end. Asking
// DragQueryFileW for each index walks the list from its start every time: quadratic, which
// freezes the file manager on a selection of many thousand items.
PathList DropListPaths(const void* data, size_t size, std::shared_ptr<const void> owner)
{
    PathList paths;
    if (size < sizeof(DROPFILES))
        return paths;
    const auto* drop = static_cast<const DROPFILES*>(data);
    if (drop->pFiles < sizeof(DROPFILES) || drop->pFiles >= size)
        return paths;
    const char* begin = static_cast<const char*>(data) + drop->pFiles;
    const size_t bytes = size - drop->pFiles;
    if (drop->fWide)
    {
        paths = PathList::FromNulSeparated(
            std::wstring_view(reinterpret_cast<const wchar_t*>(begin), bytes / sizeof(wchar_t)), std::move(owner));
    }
    else
    {
        const std::string_view list(begin, bytes);
        std::wstring path;
        for (size_t start = 0; start < list.size();)
        {
            const size_t end = std::min(list.find('\0', start), list.size());
            if (end == start)
                break;
            const int length = static_cast<int>(std::min<size_t>(end - start, 32767));
            path.resize(static_cast<size_t>(length));
            path.resize(static_cast<size_t>(
                ::MultiByteToWideChar(CP_ACP, 0, list.data() + start, length, path.data(), length)));
            if (!path.empty())
                paths.Append(path);
            start = end + 1;
        }
    }
    return paths;
}

} // namespace

HRESULT CBrelvantaShExt::CreateInstance(REFIID riid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    auto* handler = new (std::nothrow) CBrelvantaShExt();
    if (!handler)
        return E_OUTOFMEMORY;
    const HRESULT result = handler->QueryInterface(riid, ppv);
    handler->Release();
    return result;
}

IFACEMETHODIMP CBrelvantaShExt::QueryInterface(REFIID riid, void** ppv) noexcept
{
    static const QITAB interfaces[] = {
        QITABENT(CBrelvantaShExt, IShellExtInit),
        QITABENT(CBrelvantaShExt, IContextMenu),
        {},
    };
    return ::QISearch(this, interfaces, riid, ppv);
}

IFACEMETHODIMP_(ULONG) CBrelvantaShExt::AddRef() noexcept
{
    return ++m_references;
}

IFACEMETHODIMP_(ULONG) CBrelvantaShExt::Release() noexcept
{
    const ULONG references = --m_references;
    if (references == 0)
        delete this;
    return references;
}

IFACEMETHODIMP CBrelvantaShExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* pdtobj, HKEY) noexcept
try
{
    if (!pdtobj)
        return E_INVALIDARG;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    auto medium = std::make_shared<StorageMedium>();
    if (FAILED(pdtobj->GetData(&format, medium->Put())))
        return E_INVALIDARG;
    if (!medium->Data())
        return E_INVALIDARG;
    // The selection views the drop list where it is, for as long as the handler keeps it.
    PathList paths = DropListPaths(medium->Data(), ::GlobalSize(medium->Global()), medium);
    if (paths.empty())
        return E_INVALIDARG; // the previous selection stays
    m_selection = SelectionOf(std::move(paths));
    return S_OK;
}
CATCH_RETURN()

IFACEMETHODIMP CBrelvantaShExt::QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                                 UINT uFlags) noexcept
try
{
    // The packaged menu lists the same commands, in the legacy menu too: none shows twice.
    if ((uFlags & CMF_DEFAULTONLY) || PackagedMenuInUse())
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    // Read on every right-click, so a change from the configure program shows at once.
    const MenuConfig config = LoadMenuConfig(MenuConfigPath(), OnMalformedMenuConfig::KeepWhatWasRead);
    const UINT count = BuildMenu(m_commands, config, m_selection, hmenu, indexMenu, idCmdFirst, idCmdLast);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, count);
}
CATCH_RETURN()

IFACEMETHODIMP CBrelvantaShExt::InvokeCommand(CMINVOKECOMMANDINFO* pici) noexcept
try
{
    // A verb given as a string has a pointer beyond the low word.
    if (!pici || !IS_INTRESOURCE(pici->lpVerb))
        return E_INVALIDARG;
    const auto found = m_commands.commands.find(LOWORD(reinterpret_cast<UINT_PTR>(pici->lpVerb)));
    if (found == m_commands.commands.end())
        return E_INVALIDARG;

    m_selection.paths = ExpandShortNamesOf(m_selection.paths);
    KeyFlags keys = 0;
    if (pici->fMask & CMIC_MASK_SHIFT_DOWN)
        keys |= kShiftKey;
    if (pici->fMask & CMIC_MASK_CONTROL_DOWN)
        keys |= kControlKey;

    // Whatever the command loaded of the property system goes once the command is done.
    struct PropertyRuntimeRelease
    {
        ~PropertyRuntimeRelease() { DropPropertyRuntime(); }
    } propertyRuntimeRelease;
    CWindow parent(pici->hwnd);
    found->second->Invoke(m_selection, keys, parent);
    parent.Detach();
    return S_OK;
}
CATCH_RETURN()

IFACEMETHODIMP CBrelvantaShExt::GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) noexcept
{
    return E_INVALIDARG;
}
