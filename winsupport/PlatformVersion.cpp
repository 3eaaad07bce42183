#include "winsupport/PlatformVersion.h"

namespace
{
using RtlGetVersionFunction = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
}

const RTL_OSVERSIONINFOW& PlatformVersion() noexcept
{
    static const RTL_OSVERSIONINFOW version = [] {
        RTL_OSVERSIONINFOW read{};
        read.dwOSVersionInfoSize = sizeof(read);
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        const FARPROC address = ntdll ? ::GetProcAddress(ntdll, "RtlGetVersion") : nullptr;
        if (!address)
            return RTL_OSVERSIONINFOW{};
        const auto getVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(address));
        return getVersion(&read) == 0 ? read : RTL_OSVERSIONINFOW{};
    }();
    return version;
}
