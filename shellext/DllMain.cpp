#include "shellext/BrelvantaModule.h"
#include "shellext/Registration.h"
#include "winsupport/Resources.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) noexcept
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        SetResourceModule(instance);
        ::DisableThreadLibraryCalls(instance);
        Module(); // made at load, so its guard exists before any thread asks for the factory
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() noexcept
{
    return Module().CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) noexcept
{
    return Module().GetClassObject(rclsid, riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() noexcept
{
    return RegisterServer(RegistrationScope::Machine);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() noexcept
{
    return UnregisterServer(RegistrationScope::Machine);
}

// "regsvr32 /i:user /n" registers for the current user only.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL bInstall, PCWSTR pszCmdLine) noexcept
{
    const bool perUser = pszCmdLine && ::CompareStringOrdinal(pszCmdLine, -1, L"user", -1, TRUE) == CSTR_EQUAL;
    const RegistrationScope scope = perUser ? RegistrationScope::User : RegistrationScope::Machine;
    if (!bInstall)
        return UnregisterServer(scope);
    const HRESULT result = RegisterServer(scope);
    if (FAILED(result))
    {
        // Take back what was written. The caller learns of the failure that matters, the
        // registration's; keys the undo could not remove are the same ones it could not write.
        [[maybe_unused]] const HRESULT undone = UnregisterServer(scope);
    }
    return result;
}
