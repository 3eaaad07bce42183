#include "winsupport/Resources.h"

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
