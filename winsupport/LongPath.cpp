#include "winsupport/LongPath.h"

std::wstring ToLongPath(const std::wstring& path)
{
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\')
    {
        if (path.size() >= 3 && path[2] == L'?')
            return path;
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    if (path.size() >= 2 && path[1] == L':')
        return L"\\\\?\\" + path;
    return path;
}

std::wstring FromLongPath(const std::wstring& path)
{
    if (path.starts_with(L"\\\\?\\UNC\\"))
        return L"\\\\" + path.substr(8);
    if (!path.starts_with(L"\\\\?\\"))
        return path;
    const std::wstring rest = path.substr(4);
    return rest.size() >= 2 && rest[1] == L':' ? rest : std::wstring();
}
