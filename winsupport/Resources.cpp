#include "winsupport/Resources.h"

#include "winsupport/UniqueHandle.h"

#include <vector>

namespace
{
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE ResourceModule() noexcept
{
    return g_resourceModule;
}

void SetResourceModule(HINSTANCE module) noexcept
{
    g_resourceModule = module;
}

std::wstring LoadStringResource(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer to the read-only resource itself.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(g_resourceModule, id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<size_t>(length));
}

std::wstring FormatStringResource(UINT id, std::initializer_list<std::wstring_view> inserts)
{
    const std::wstring pattern = LoadStringResource(id);
    if (pattern.empty())
        return {};
    std::vector<std::wstring> texts(inserts.begin(), inserts.end());
    // Every insert number the syntax allows has an argument, so a pattern naming more inserts
    // than were given reads an empty text instead of running past the array.
    std::vector<DWORD_PTR> arguments(99, reinterpret_cast<DWORD_PTR>(L""));
    for (size_t index = 0; index < texts.size() && index < arguments.size(); ++index)
        arguments[index] = reinterpret_cast<DWORD_PTR>(texts[index].c_str());
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern.c_str(), 0,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, reinterpret_cast<va_list*>(arguments.data()));
    UniqueLocal owner(buffer);
    if (length == 0 || !buffer)
        return pattern;
    return std::wstring(buffer, length);
}
