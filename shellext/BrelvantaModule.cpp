#include "shellext/BrelvantaModule.h"

#include "shellext/BrelvantaShExt.h"
#include "shellext/ExplorerCommand.h"
#include "shellext/ServerLock.h"
#include "winui/Dialog.h"

#include <shlwapi.h>

#include <iterator>
#include <new>

namespace
{
using CreateFunction = HRESULT (*)(REFIID riid, void** ppv) noexcept;

// The creatable classes: the classic context-menu handler, and the packaged menu's command.
struct CreatableClass
{
    const CLSID* clsid;
    CreateFunction create;
};
constexpr CreatableClass kClasses[] = {
    {&CLSID_BrelvantaShExt, &CBrelvantaShExt::CreateInstance},
    {&CLSID_BrelvantaExplorerCommand, &CreateBrelvantaExplorerCommand},
};
static_assert(std::size(kClasses) == CBrelvantaModule::kClassCount);
} // namespace

// Creates the objects of one class. The module's cache holds one reference that does not count: the
// factory locks the module only while some caller holds it too.
class CClassFactory final : public IClassFactory
{
  public:
    explicit CClassFactory(CreateFunction create) noexcept : m_create(create) {}

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override
    {
        static const QITAB interfaces[] = {QITABENT(CClassFactory, IClassFactory), {}};
        return ::QISearch(this, interfaces, riid, ppv);
    }

    IFACEMETHODIMP_(ULONG) AddRef() noexcept override
    {
        const ULONG references = ++m_references;
        if (references == 2)
            Module().Lock();
        return references;
    }

    IFACEMETHODIMP_(ULONG) Release() noexcept override
    {
        const ULONG references = --m_references;
        if (references == 1)
            Module().Unlock();
        else if (references == 0)
            delete this;
        return references;
    }

    IFACEMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return m_create(riid, ppv);
    }

    IFACEMETHODIMP LockServer(BOOL fLock) noexcept override
    {
        if (fLock)
            Module().Lock();
        else
            Module().Unlock();
        return S_OK;
    }

  private:
    CreateFunction m_create;
    std::atomic<ULONG> m_references{1};
};

CBrelvantaModule::CBrelvantaModule() noexcept
{
    m_initialised = ::InitializeCriticalSectionAndSpinCount(&m_factoryGuard, 0) != FALSE;
}

CBrelvantaModule::~CBrelvantaModule()
{
    for (std::atomic<CClassFactory*>& cached : m_factories)
        if (CClassFactory* factory = cached.exchange(nullptr))
            factory->Release();
    if (m_initialised)
        ::DeleteCriticalSection(&m_factoryGuard);
}

LONG CBrelvantaModule::Lock() noexcept
{
    return LockServer();
}

LONG CBrelvantaModule::Unlock() noexcept
{
    return UnlockServer();
}

LONG CBrelvantaModule::GetLockCount() const noexcept
{
    return ServerLockCount();
}

HRESULT CBrelvantaModule::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!m_initialised)
        return E_UNEXPECTED;
    size_t row = 0;
    while (row < std::size(kClasses) && !::IsEqualCLSID(rclsid, *kClasses[row].clsid))
        ++row;
    if (row == std::size(kClasses))
        return CLASS_E_CLASSNOTAVAILABLE;

    std::atomic<CClassFactory*>& cached = m_factories[row];
    CClassFactory* factory = cached.load();
    if (!factory)
    {
        ::EnterCriticalSection(&m_factoryGuard);
        factory = cached.load();
        if (!factory)
        {
            factory = new (std::nothrow) CClassFactory(kClasses[row].create);
            cached.store(factory);
        }
        ::LeaveCriticalSection(&m_factoryGuard);
        if (!factory)
            return E_OUTOFMEMORY;
    }
    const HRESULT result = factory->QueryInterface(riid, ppv);
    return *ppv ? result : CLASS_E_CLASSNOTAVAILABLE;
}

CBrelvantaModule& Module() noexcept
{
    static CBrelvantaModule module;
    return module;
}

bool CBrelvantaModule::CanUnload() const noexcept
{
    return GetLockCount() == 0 && CDialog::LiveCount() == 0;
}
