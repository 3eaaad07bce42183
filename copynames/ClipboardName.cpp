#include "copynames/ClipboardName.h"

#include <algorithm>
#include <string_view>

namespace
{
constexpr size_t kMaxClipboardNameLength = 259;
}

bool IsUsableFileName(const wchar_t* text, size_t available)
{
    const size_t limit = std::min(available, kMaxClipboardNameLength + 1);
    size_t length = 0;
    for (; length < limit && text[length] != L'\0'; ++length)
    {
        const wchar_t c = text[length];
        if (c < 32 || std::wstring_view(L"\"*/:<>?\\|").find(c) != std::wstring_view::npos)
            return false;
    }
    return length >= 1 && length <= kMaxClipboardNameLength;
}
