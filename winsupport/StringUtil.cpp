#include "winsupport/StringUtil.h"

#include <windows.h>

#include <climits>
#include <new>

std::string WideToUtf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    if (text.size() > INT_MAX / 4)
        throw std::bad_alloc();
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

std::wstring Utf8ToWide(std::string_view text)
{
    if (text.empty())
        return {};
    if (text.size() > INT_MAX)
        throw std::bad_alloc();
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, result.data(), needed);
    return result;
}

namespace
{
// The user's language's simple case mapping, as the window library's CharUpperBuffW and
// CharLowerBuffW apply it; one character for one, so the length stays.
std::wstring MapCase(std::wstring_view text, DWORD mapping)
{
    std::wstring mapped(text.size(), L'\0');
    if (text.empty())
        return mapped;
    if (text.size() > INT_MAX)
        throw std::bad_alloc();
    const int length = static_cast<int>(text.size());
    if (::LCMapStringW(LOCALE_USER_DEFAULT, mapping, text.data(), length, mapped.data(), length) != length)
        return std::wstring(text);
    return mapped;
}
} // namespace

std::wstring ToUpperCase(std::wstring_view text)
{
    return MapCase(text, LCMAP_UPPERCASE);
}

std::wstring ToLowerCase(std::wstring_view text)
{
    return MapCase(text, LCMAP_LOWERCASE);
}

std::wstring ResolvePlural(const std::wstring& text, size_t itemCount)
{
    const std::wstring_view replacement = itemCount == 1 ? L"" : L"s";
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();)
    {
        if (text.compare(i, 3, L"(s)") == 0)
        {
            result += replacement;
            i += 3;
        }
        else
            result += text[i++];
    }
    return result;
}

std::wstring WithoutAccessKey(std::wstring_view text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}
