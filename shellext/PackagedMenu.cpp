#include "shellext/PackagedMenu.h"

#include "winsupport/UniqueHandle.h"

namespace
{
using RtlGetVersionFunction = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);

// The build ntdll reports: a host's manifest cannot hide it, as it can from GetVersionEx.
DWORD PlatformBuild() noexcept
{
    static const DWORD build = [] {
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        const FARPROC address = ntdll ? ::GetProcAddress(ntdll, "RtlGetVersion") : nullptr;
        if (!address)
            return DWORD{0};
        const auto getVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(address));
        RTL_OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof(version);
        return getVersion(&version) == 0 ? version.dwBuildNumber : DWORD{0};
    }();
    return build;
}

bool PackageRegisteredForUser() noexcept
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kPackagedMenuKeyPath, kPackagedMenuValue, RRF_RT_REG_DWORD, nullptr,
                          &value, &size) == ERROR_SUCCESS &&
           value != 0;
}

bool ClassicMenuRestored() noexcept
{
    UniqueHkey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, kClassicMenuRestoredKeyPath, 0, KEY_QUERY_VALUE, key.Put()) ==
           ERROR_SUCCESS;
}
} // namespace

bool PackagedMenuInUse() noexcept
{
    return PlatformBuild() >= kFirstPackagedMenuBuild && PackageRegisteredForUser() && !ClassicMenuRestored();
}
