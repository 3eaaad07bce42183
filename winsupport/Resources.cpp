#include "winsupport/Resources.h"

#include "winsupport/UniqueHandle.h"

#include <algorithm>
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
    // A string table is stored in blocks of sixteen counted strings, block id / 16 + 1 holding the
    // string id. Read from the block itself, as LoadStringW does, without the window library.
    const HRSRC block = ::FindResourceW(g_resourceModule, MAKEINTRESOURCEW(id / 16 + 1), RT_STRING);
    if (!block)
        return {};
    const HGLOBAL loaded = ::LoadResource(g_resourceModule, block);
    const auto* entry = static_cast<const wchar_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!entry)
        return {};
    const wchar_t* const end = entry + ::SizeofResource(g_resourceModule, block) / sizeof(wchar_t);
    for (UINT skipped = 0; skipped < id % 16; ++skipped)
    {
        if (entry >= end || *entry >= end - entry)
            return {};
        entry += 1 + *entry;
    }
    if (entry >= end || *entry >= end - entry)
        return {};
    return std::wstring(entry + 1, *entry);
}

namespace
{
// Formats the pattern with arguments for every insert number the syntax allows, so that a pattern
// naming more inserts than were given reads an empty text instead of running past the array.
std::wstring FormatWithArguments(UINT id, const std::vector<DWORD_PTR>& given)
{
    const std::wstring pattern = LoadStringResource(id);
    if (pattern.empty())
        return {};
    std::vector<DWORD_PTR> arguments(99, reinterpret_cast<DWORD_PTR>(L""));
    std::copy_n(given.begin(), std::min(given.size(), arguments.size()), arguments.begin());
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern.c_str(), 0,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, reinterpret_cast<va_list*>(arguments.data()));
    UniqueLocal owner(buffer);
    if (length == 0 || !buffer)
        return pattern;
    return std::wstring(buffer, length);
}
} // namespace

std::wstring FormatStringResource(UINT id, std::initializer_list<std::wstring_view> inserts)
{
    const std::vector<std::wstring> texts(inserts.begin(), inserts.end());
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& text : texts)
        arguments.push_back(reinterpret_cast<DWORD_PTR>(text.c_str()));
    return FormatWithArguments(id, arguments);
}

std::wstring FormatStringResource(UINT id, int number)
{
    return FormatWithArguments(id, {static_cast<DWORD_PTR>(number)});
}

std::wstring FormatStringResource(UINT id, int first, int second)
{
    return FormatWithArguments(id, {static_cast<DWORD_PTR>(first), static_cast<DWORD_PTR>(second)});
}
