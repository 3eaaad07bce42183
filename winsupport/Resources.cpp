#include "winsupport/Resources.h"

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

namespace
{
std::wstring FormatWithArguments(UINT id, const DWORD_PTR* arguments)
{
    const std::wstring pattern = LoadStringResource(id);
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern.c_str(), 0,
        0, reinterpret_cast<LPWSTR>(&buffer), 0, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
    std::wstring text = length ? std::wstring(buffer, length) : pattern;
    ::LocalFree(buffer);
    return text;
}
} // namespace

std::wstring FormatStringResource(UINT id, std::initializer_list<std::wstring> inserts)
{
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& insert : inserts)
        arguments.push_back(reinterpret_cast<DWORD_PTR>(insert.c_str()));
    arguments.push_back(0);
    return FormatWithArguments(id, arguments.data());
}

std::wstring FormatStringResource(UINT id, int number)
{
    const DWORD_PTR arguments[] = {static_cast<DWORD_PTR>(number), 0};
    return FormatWithArguments(id, arguments);
}
