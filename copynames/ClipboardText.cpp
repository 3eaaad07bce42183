#include "copynames/ClipboardText.h"

#include "winsupport/Clipboard.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

ClipboardText::ClipboardText() : m_buffer(1, L'\0') {}

void ClipboardText::Reserve(size_t length)
{
    if (length <= Capacity())
        return;
    const size_t grown = std::max(Capacity() * 2, size_t{256});
    m_buffer.resize(std::max(grown, length) + 1);
}

void ClipboardText::Append(std::wstring_view text)
{
    const size_t lineFeeds = static_cast<size_t>(std::count(text.begin(), text.end(), L'\n'));
    Reserve(m_length + text.size() + lineFeeds);
    wchar_t* out = m_buffer.data() + m_length;
    if (lineFeeds == 0)
    {
        std::memcpy(out, text.data(), text.size() * sizeof(wchar_t));
        out += text.size();
    }
    else
    {
        for (const wchar_t c : text)
        {
            if (c == L'\n')
                *out++ = L'\r';
            *out++ = c;
        }
    }
    m_length = static_cast<size_t>(out - m_buffer.data());
    *out = L'\0';
}

void ClipboardText::Clear() noexcept
{
    m_length = 0;
    m_buffer[0] = L'\0';
}

bool ClipboardText::PutOnClipboard() const
{
    const ClipboardSession clipboard;
    if (!clipboard.IsOpen())
        return false;
    ::EmptyClipboard();
    if (m_length == 0)
        return true;

    const size_t bytes = (m_length + 1) * sizeof(wchar_t);
    UniqueHglobal memory(::GlobalAlloc(GMEM_DDESHARE, bytes));
    if (!memory)
        return false;
    {
        GlobalLockGuard lock(memory.Get());
        if (!lock.Data())
            return false;
        std::memcpy(lock.Data(), m_buffer.data(), bytes);
    }
    if (!::SetClipboardData(CF_UNICODETEXT, memory.Get()))
        return false;
    (void)memory.Release(); // the clipboard owns it now
    return true;
}
