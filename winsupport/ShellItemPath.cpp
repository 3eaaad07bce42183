#include "winsupport/ShellItemPath.h"

#include "winsupport/FileIdentity.h"
#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"

#include <cwctype>
#include <optional>

namespace
{
// Characters that no name of a plain path can hold.
bool HasForbiddenCharacter(std::wstring_view name)
{
    for (const wchar_t c : name)
        if (c < 32 || std::wstring_view(L"\"*/:<>?\\|").find(c) != std::wstring_view::npos)
            return true;
    return false;
}

// The length of "C:\" or "\\server\share\" at the path's start; 0 for any other path.
size_t RootLength(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' && std::iswalpha(path[0]))
        return 3;
    if (!path.starts_with(L"\\\\"))
        return 0;
    const size_t serverEnd = path.find(L'\\', 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2)
        return 0;
    const size_t shareEnd = path.find(L'\\', serverEnd + 1);
    if (shareEnd == serverEnd + 1)
        return 0;
    return shareEnd == std::wstring::npos ? path.size() : shareEnd + 1;
}

std::wstring ShortName(const std::wstring& path)
{
    WIN32_FIND_DATAW data{};
    const UniqueFind find(::FindFirstFileW(ToLongPath(path).c_str(), &data));
    return find ? std::wstring(data.cAlternateFileName) : std::wstring();
}

bool IsMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
} // namespace

bool EndsInPeriodOrSpace(std::wstring_view name)
{
    return !name.empty() && (name.back() == L'.' || name.back() == L' ');
}

bool IsDeviceName(std::wstring_view name)
{
    // The device is the part before the first dot, spaces dropped: "con .txt" opens the console too.
    std::wstring stem(name.substr(0, name.find(L'.')));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (wchar_t& c : stem)
        c = static_cast<wchar_t>(std::towupper(c));
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL")
        return true;
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) && stem[3] >= L'1' &&
           stem[3] <= L'9';
}

bool IsPlainName(std::wstring_view name)
{
    return !name.empty() && name != L"." && name != L".." && !HasForbiddenCharacter(name) &&
           !EndsInPeriodOrSpace(name) && !IsDeviceName(name);
}

std::wstring ShellItemPath(const std::wstring& given)
{
    const std::wstring path = FromLongPath(given);
    const size_t root = RootLength(path);
    if (root == 0)
        return {};

    std::wstring spelling = path.substr(0, root);
    bool respelt = false;
    size_t start = root;
    while (start < path.size())
    {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring_view name(path.data() + start, end - start);
        if (name.empty() || name == L"." || name == L".." || HasForbiddenCharacter(name) || IsDeviceName(name))
            return {};
        if (EndsInPeriodOrSpace(name))
        {
            const std::wstring shortName = ShortName(path.substr(0, end));
            if (shortName.empty() || !IsPlainName(shortName))
                return {};
            spelling += shortName;
            respelt = true;
        }
        else
        {
            spelling += name;
        }
        if (end < path.size())
            spelling += L'\\';
        start = end + 1;
    }
    if (!respelt)
        return path;

    const std::optional<FileIdentity> item = IdentifyItem(ToLongPath(path));
    if (!item || IdentifyItem(spelling) != item)
        return {};
    // The shell may yet read the item's long name back into a plain path: that path must reach
    // this item or none.
    const std::optional<FileIdentity> plain = IdentifyItem(path);
    if (plain ? plain != item : !IsMissing(::GetLastError()))
        return {};
    return spelling;
}

std::wstring ShellTargetPath(const std::wstring& folder, std::wstring_view name)
{
    if (!IsPlainName(name))
        return {};
    std::wstring target = ShellItemPath(folder);
    if (target.empty())
        return {};
    if (target.back() != L'\\')
        target += L'\\';
    target += name;
    return target;
}
