#include "shellext/PackagedMenu.h"

#include "winsupport/PlatformVersion.h"
#include "winsupport/UniqueHandle.h"

namespace
{
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
    return PlatformVersion().dwBuildNumber >= kFirstPackagedMenuBuild && PackageRegisteredForUser() && !ClassicMenuRestored();
}
