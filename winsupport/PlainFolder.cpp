#include "winsupport/PlainFolder.h"

#include "winsupport/LongPath.h"

bool IsPlainFolder(DWORD attributes) noexcept
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsPlainFolder(const std::wstring& path)
{
    return IsPlainFolder(::GetFileAttributesW(ToLongPath(path).c_str()));
}
