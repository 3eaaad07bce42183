#include "winui/TextLines.h"

#include <algorithm>
#include <cwctype>
#include <new>

namespace
{
bool IsWordChar(wchar_t c) noexcept
{
    return !std::iswspace(c) && !std::iswpunct(c);
}
} // namespace

void TextLines::Assign(const wchar_t* text) noexcept
{
    m_longest = 0;
    try
    {
        // The buffers keep their memory from one text to the next, which spares the page faults
        // of a new one.
        const wchar_t* const source = text ? text : L"";
        m_starts.assign(1, 0);
        size_t longestLength = 0;
        size_t length = 0;
        for (; source[length]; ++length)
        {
            if (source[length] != L'\n')
                continue;
            if (length - m_starts.back() > longestLength)
            {
                longestLength = length - m_starts.back();
                m_longest = m_starts.size() - 1;
            }
            m_starts.push_back(length + 1);
        }
        m_text.assign(source, length);
        if (length - m_starts.back() > longestLength)
            m_longest = m_starts.size() - 1;
    }
    catch (const std::bad_alloc&)
    {
        m_text.clear();
        m_starts.assign(1, 0); // the capacity is there already
        m_longest = 0;
    }
}

size_t TextLines::End(size_t line) const noexcept
{
    if (line + 1 >= Count())
        return m_text.size();
    size_t end = m_starts[line + 1] - 1; // the "\n"
    if (end > m_starts[line] && m_text[end - 1] == L'\r')
        --end;
    return end;
}

size_t TextLines::LineOf(size_t offset) const noexcept
{
    return static_cast<size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), offset) - m_starts.begin()) - 1;
}

size_t TextLines::Next(size_t offset) const noexcept
{
    if (offset >= m_text.size())
        return m_text.size();
    const size_t line = LineOf(offset);
    return offset == End(line) && line + 1 < Count() ? m_starts[line + 1] : offset + 1;
}

size_t TextLines::Previous(size_t offset) const noexcept
{
    if (offset == 0)
        return 0;
    const size_t line = LineOf(offset);
    return offset == m_starts[line] ? End(line - 1) : offset - 1;
}

size_t TextLines::NextWord(size_t offset) const noexcept
{
    const size_t size = m_text.size();
    if (offset < size && IsWordChar(m_text[offset]))
        while (offset < size && IsWordChar(m_text[offset]))
            ++offset;
    else if (offset < size)
        offset = Next(offset);
    while (offset < size && m_text[offset] != L'\r' && m_text[offset] != L'\n' && std::iswspace(m_text[offset]))
        ++offset;
    return offset;
}

size_t TextLines::PreviousWord(size_t offset) const noexcept
{
    while (offset > 0 && m_text[offset - 1] != L'\n' && std::iswspace(m_text[offset - 1]))
        --offset;
    if (offset > 0 && IsWordChar(m_text[offset - 1]))
        while (offset > 0 && IsWordChar(m_text[offset - 1]))
            --offset;
    else
        offset = Previous(offset);
    return offset;
}

std::pair<size_t, size_t> TextLines::WordAt(size_t offset) const noexcept
{
    const size_t line = LineOf(offset);
    const size_t start = m_starts[line];
    const size_t end = End(line);
    if (start == end)
        return {start, start};
    offset = std::min(offset, end - 1);
    const bool word = IsWordChar(m_text[offset]);
    size_t first = offset;
    while (first > start && IsWordChar(m_text[first - 1]) == word && m_text[first - 1] != L'\t')
        --first;
    size_t last = offset + 1;
    while (last < end && IsWordChar(m_text[last]) == word && m_text[last] != L'\t')
        ++last;
    return {first, last};
}
