#include "tests/support/DropListDataObject.h"

#include "winsupport/ComPtr.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

namespace
{
template <typename Char> class DropListDataObject final : public IDataObject
{
  public:
    explicit DropListDataObject(std::vector<std::basic_string<Char>> paths) : m_paths(std::move(paths)) {}

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override
    {
        static const QITAB interfaces[] = {QITABENT(DropListDataObject, IDataObject), {}};
        return ::QISearch(this, interfaces, riid, ppv);
    }
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return ++m_references; }
    IFACEMETHODIMP_(ULONG) Release() noexcept override
    {
        const ULONG references = --m_references;
        if (references == 0)
            delete this;
        return references;
    }

    IFACEMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) noexcept override
    {
        if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        size_t characters = 2; // the list ends with an empty name
        for (const auto& path : m_paths)
            characters += path.size() + 1;
        const HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(Char));
        if (!memory)
            return E_OUTOFMEMORY;
        const GlobalLockGuard lock(memory);
        auto* drop = static_cast<DROPFILES*>(lock.Data());
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = sizeof(Char) == sizeof(wchar_t);
        auto* text = reinterpret_cast<Char*>(drop + 1);
        for (const auto& path : m_paths)
        {
            std::memcpy(text, path.c_str(), (path.size() + 1) * sizeof(Char));
            text += path.size() + 1;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    IFACEMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
    IFACEMETHODIMP QueryGetData(FORMATETC* format) noexcept override
    {
        return format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    }
    IFACEMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) noexcept override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    IFACEMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
    IFACEMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) noexcept override { return E_NOTIMPL; }
    IFACEMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    IFACEMETHODIMP DUnadvise(DWORD) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
    IFACEMETHODIMP EnumDAdvise(IEnumSTATDATA**) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }

  private:
    ~DropListDataObject() = default;
    ULONG m_references = 1;
    std::vector<std::basic_string<Char>> m_paths;
};
} // namespace

IDataObject* CreateDropListDataObject(std::vector<std::wstring> paths)
{
    return new DropListDataObject<wchar_t>(std::move(paths));
}

IDataObject* CreateAnsiDropListDataObject(std::vector<std::string> paths)
{
    return new DropListDataObject<char>(std::move(paths));
}
