#include "winsupport/ShellTypeName.h"

#include <windows.h>
#include <shellapi.h>

std::wstring ShellTypeName(const std::wstring& name, bool folder)
{
    SHFILEINFOW info{};
    const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!::SHGetFileInfoW(name.c_str(), attributes, &info, sizeof(info), SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
        return {};
    return info.szTypeName;
}
