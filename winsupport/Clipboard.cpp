#include "winsupport/Clipboard.h"

#include "winsupport/UniqueHandle.h"

#include <cwchar>

std::wstring OpenClipboardText()
{
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return {};
    const GlobalLockGuard lock(data);
    if (!lock.Data())
        return {};
    const auto* text = static_cast<const wchar_t*>(lock.Data());
    const size_t available = ::GlobalSize(data) / sizeof(wchar_t);
    return std::wstring(text, ::wcsnlen(text, available));
}
