#include "copynames/ClipboardText.h"

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
