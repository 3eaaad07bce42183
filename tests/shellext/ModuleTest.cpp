#include "tests/shellext/ShellExtTestSupport.h"

#include "winsupport/UniqueHandle.h"

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
} // namespace

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
