#include "tests/support/ClipboardHelpers.h"

#include "winsupport/UniqueHandle.h"
#include "winui/Clipboard.h"

#include <cstring>
#include <cwchar>

void SetClipboardText(const wchar_t* text)
{
    for (int attempt = 0; attempt < 50 && !::OpenClipboard(nullptr); ++attempt)
        ::Sleep(10);
    ::EmptyClipboard();
    if (text)
    {
        const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
        const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
        {
            const GlobalLockGuard lock(memory);
            std::memcpy(lock.Data(), text, bytes);
        }
        if (!::SetClipboardData(CF_UNICODETEXT, memory))
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

std::wstring ClipboardTextNow()
{
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        const ClipboardSession clipboard;
        if (clipboard.IsOpen())
            return OpenClipboardText();
        ::Sleep(10);
    }
    return L"(the clipboard could not be opened)";
}
