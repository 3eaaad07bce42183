#include "winsupport/LongPath.h"

#include "winsupport/UniqueHandle.h"

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

std::wstring ExpandShortNames(const std::wstring& path)
{
    std::wstring expanded;
    size_t start = 0;
    while (start <= path.size())
    {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring name = path.substr(start, end - start);
        WIN32_FIND_DATAW data{};
        if (name.find(L'~') != std::wstring::npos && !expanded.empty() && expanded.back() == L'\\')
        {
            const UniqueFind find(::FindFirstFileW(ToLongPath(expanded + name).c_str(), &data));
            expanded += find ? std::wstring(data.cFileName) : name;
        }
        else
        {
            expanded += name;
        }
        if (end == path.size())
            break;
        expanded += L'\\';
        start = end + 1;
    }
    return expanded;
}
