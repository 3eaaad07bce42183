#include "tests/shellext/ShellExtTestSupport.h"

#include "tests/support/DropListDataObject.h"
#include "winsupport/UniqueHandle.h"

#include <shlwapi.h>

#include <string>

namespace
{
std::wstring ReadDefault(HKEY root, const std::wstring& path, const wchar_t* name = nullptr)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<absent>";
    return value;
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    UniqueHkey key;
    return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

const std::wstring kClassKey = std::wstring(L"Software\\Classes\\CLSID\\") + kHandlerClassIdText;
const std::wstring kFileHandler = L"Software\\Classes\\*\\ShellEx\\ContextMenuHandlers\\BrelvantaShExt";
const std::wstring kFolderHandler = L"Software\\Classes\\Folder\\ShellEx\\ContextMenuHandlers\\BrelvantaShExt";

// The registration as the file manager finds it under one root.
void ExpectRegistered(HKEY root, const char* where)
{
    EXPECT_EQ(ReadDefault(root, kClassKey), L"BrelvantaShExt Class") << where;
    EXPECT_EQ(ReadDefault(root, kClassKey + L"\\InprocServer32"), BrelvantaDll::DistPath(L"Brelvanta.dll")) << where;
    EXPECT_EQ(ReadDefault(root, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment") << where;
    EXPECT_EQ(ReadDefault(root, kFileHandler), kHandlerClassIdText) << where;
    EXPECT_EQ(ReadDefault(root, kFolderHandler), kHandlerClassIdText) << where;
}

void ExpectUnregistered(HKEY root, const char* where)
{
    EXPECT_FALSE(KeyExists(root, kClassKey)) << where;
    EXPECT_FALSE(KeyExists(root, kFileHandler)) << where;
    EXPECT_FALSE(KeyExists(root, kFolderHandler)) << where;
    // Shared keys stay.
    EXPECT_TRUE(KeyExists(root, L"Software\\Classes\\CLSID")) << where;
    EXPECT_TRUE(KeyExists(root, L"Software\\Classes\\*\\ShellEx\\ContextMenuHandlers")) << where;
    EXPECT_TRUE(KeyExists(root, L"Software\\Classes\\Folder\\ShellEx\\ContextMenuHandlers")) << where;
}

using ModuleTest = ShellExtTest;

// Serves a drop list whose medium is released through this object, and asks the library at
// that moment whether it could be unloaded: the handler lets go of the medium while its members
// are destroyed.
class ReleaseProbe final : public IDataObject
{
  public:
    explicit ReleaseProbe(const std::vector<std::wstring>& paths)
        : m_inner(ComPtr<IDataObject>::Attach(CreateDropListDataObject(paths)))
    {
    }

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override
    {
        static const QITAB interfaces[] = {QITABENT(ReleaseProbe, IDataObject), {}};
        return ::QISearch(this, interfaces, riid, ppv);
    }
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return ++m_references; }
    IFACEMETHODIMP_(ULONG) Release() noexcept override
    {
        // Each medium handed out holds one reference; its release is the moment to look.
        if (m_mediums > 0 && m_references == m_mediums + 1)
        {
            --m_mediums;
            unloadAnswers.push_back(BrelvantaDll::Get().canUnloadNow());
            ::GlobalFree(m_memory.back());
            m_memory.pop_back();
        }
        return --m_references;
    }
    IFACEMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) noexcept override
    {
        const HRESULT result = m_inner->GetData(format, medium);
        if (SUCCEEDED(result))
        {
            m_memory.push_back(medium->hGlobal);
            medium->pUnkForRelease = this;
            AddRef();
            ++m_mediums;
        }
        return result;
    }
    IFACEMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
    IFACEMETHODIMP QueryGetData(FORMATETC* format) noexcept override { return m_inner->QueryGetData(format); }
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

    std::vector<HRESULT> unloadAnswers;

  private:
    ComPtr<IDataObject> m_inner;
    std::vector<HGLOBAL> m_memory;
    ULONG m_references = 1; // on the test's stack: the last reference is the test's own
    ULONG m_mediums = 0;
};
} // namespace

TEST_F(ModuleTest, TheHandlerKeepsTheLibraryLoadedUntilItsMembersAreGone)
{
    const BrelvantaDll& dll = BrelvantaDll::Get();
    ASSERT_TRUE(dll.module);
    ASSERT_EQ(dll.canUnloadNow(), S_OK);
    const auto files = MakeFiles({L"a.txt"});
    ReleaseProbe probe(files);
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(dll.getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put())), S_OK);
        ComPtr<IShellExtInit> handler;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(handler.Put())), S_OK);
        factory.Reset();
        ASSERT_EQ(handler->Initialize(nullptr, &probe, nullptr), S_OK);
        EXPECT_TRUE(probe.unloadAnswers.empty()) << "the selection keeps the drop list";
    }
    ASSERT_EQ(probe.unloadAnswers.size(), 1u);
    EXPECT_EQ(probe.unloadAnswers[0], S_FALSE) << "the module was unlocked while the handler's members lived";
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

TEST_F(ModuleTest, ClassObjectAndUnloadRules)
{
    const BrelvantaDll& dll = BrelvantaDll::Get();
    ASSERT_TRUE(dll.module) << "dist/Brelvanta.dll must be built";
    EXPECT_EQ(dll.getClassObject(kHandlerClassId, IID_IClassFactory, nullptr), E_POINTER);
    void* unknown = reinterpret_cast<void*>(1);
    EXPECT_EQ(dll.getClassObject(IID_IUnknown, IID_IClassFactory, &unknown), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(dll.getClassObject(kHandlerClassId, IID_IContextMenu, &unknown), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(dll.canUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(dll.getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put())), S_OK);
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE) << "a caller holds the factory";
    ComPtr<IClassFactory> again;
    ASSERT_EQ(dll.getClassObject(kHandlerClassId, IID_PPV_ARGS(again.Put())), S_OK);
    EXPECT_EQ(again.Get(), factory.Get()) << "the factory is cached";
    again.Reset();

    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.Get()), IID_PPV_ARGS(aggregated.Put())),
              CLASS_E_NOAGGREGATION);
    ComPtr<IContextMenu> handler;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(handler.Put())), S_OK);
    EXPECT_TRUE(handler.As<IShellExtInit>());
    factory.Reset();
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE) << "a handler lives";
    handler.Reset();
    EXPECT_EQ(dll.canUnloadNow(), S_OK);

    ASSERT_EQ(dll.getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put())), S_OK);
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE) << "locked";
    ASSERT_EQ(dll.getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put())), S_OK);
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

TEST_F(ModuleTest, RegistersPerUserAndRemovesOnlyItsOwnKeys)
{
    const BrelvantaDll& dll = BrelvantaDll::Get();
    ASSERT_TRUE(dll.module);
    for (const wchar_t* commandLine : {L"user", L"User", L"USER"})
    {
        ASSERT_EQ(dll.install(TRUE, commandLine), S_OK);
        ExpectRegistered(HKEY_CURRENT_USER, "per user");
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClassKey)) << "per user only";
        ASSERT_EQ(dll.install(FALSE, commandLine), S_OK);
        ExpectUnregistered(HKEY_CURRENT_USER, "per user");
    }
}

TEST_F(ModuleTest, RegistersPerMachineAndActivatesThroughCom)
{
    const BrelvantaDll& dll = BrelvantaDll::Get();
    ASSERT_TRUE(dll.module);
    ASSERT_EQ(dll.install(TRUE, L"users"), S_OK) << "not the whole string \"user\": the machine";
    ExpectRegistered(HKEY_LOCAL_MACHINE, "per machine");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClassKey));
    ASSERT_EQ(dll.unregisterServer(), S_OK);
    ExpectUnregistered(HKEY_LOCAL_MACHINE, "per machine");

    ASSERT_EQ(dll.registerServer(), S_OK);
    ComPtr<IShellExtInit> init;
    EXPECT_EQ(::CoCreateInstance(kHandlerClassId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(init.Put())), S_OK);
    ASSERT_TRUE(init);
    EXPECT_TRUE(init.As<IContextMenu>());
    init.Reset();
    ASSERT_EQ(dll.install(FALSE, nullptr), S_OK);
    ExpectUnregistered(HKEY_LOCAL_MACHINE, "per machine");
    ComPtr<IUnknown> gone;
    EXPECT_EQ(::CoCreateInstance(kHandlerClassId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(gone.Put())),
              REGDB_E_CLASSNOTREG);
}
