#include "copynames/ClipboardName.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace
{
constexpr size_t kMaxClipboardNameLength = 259;

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
} // namespace

bool IsUsableFileName(const wchar_t* text, size_t available)
{
    const size_t limit = std::min(available, kMaxClipboardNameLength + 1);
    size_t length = 0;
    while (length < limit && text[length] != L'\0')
        ++length;
    return length <= kMaxClipboardNameLength && IsUsableFileName(std::wstring_view(text, length));
}

bool IsUsableFileName(std::wstring_view name)
{
    if (name.empty() || name.size() > kMaxClipboardNameLength)
        return false;
    for (const wchar_t c : name)
        if (c < 32 || std::wstring_view(L"\"*/:<>?\\|").find(c) != std::wstring_view::npos)
            return false;
    // "." and ".." name folders, and Windows drops a trailing dot or space: each would reach
    // another item than the one named.
    if (name.back() == L'.' || name.back() == L' ')
        return false;
    return !IsDeviceName(name);
}
