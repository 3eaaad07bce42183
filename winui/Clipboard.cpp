#include "winui/Clipboard.h"

#include "winsupport/UniqueHandle.h"

#include <cstring>
#include <cwchar>

namespace
{
// About a fifth of a second in all: long enough for a clipboard manager, short enough for a click.
constexpr int kOpenAttempts = 20;
constexpr DWORD kOpenPause = 10;
} // namespace

ClipboardSession::ClipboardSession(ClipboardWait wait) noexcept : m_open(::OpenClipboard(nullptr) != FALSE)
{
    for (int attempt = 1; !m_open && wait == ClipboardWait::Briefly && attempt < kOpenAttempts; ++attempt)
    {
        ::Sleep(kOpenPause);
        m_open = ::OpenClipboard(nullptr) != FALSE;
    }
}

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

std::wstring ReadClipboardText()
{
    const ClipboardSession clipboard;
    return clipboard.IsOpen() ? OpenClipboardText() : std::wstring();
}

bool PutClipboardText(std::wstring_view text)
{
    UniqueHglobal memory;
    if (!text.empty())
    {
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        memory.Reset(::GlobalAlloc(GMEM_MOVEABLE, bytes));
        if (!memory)
            return false;
        const GlobalLockGuard lock(memory.Get());
        if (!lock.Data())
            return false;
        std::memcpy(lock.Data(), text.data(), text.size() * sizeof(wchar_t));
        static_cast<wchar_t*>(lock.Data())[text.size()] = L'\0';
    }
    const ClipboardSession clipboard;
    if (!clipboard.IsOpen() || !::EmptyClipboard())
        return false;
    if (!memory)
        return true;
    if (!::SetClipboardData(CF_UNICODETEXT, memory.Get()))
        return false;
    (void)memory.Release(); // the clipboard owns it now
    return true;
}

void CopyTextForUser(std::wstring_view text)
{
    if (!PutClipboardText(text))
        ::MessageBeep(MB_ICONWARNING);
}
