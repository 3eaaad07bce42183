#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The text the copy commands put on the clipboard: a growing UTF-16 buffer, always NUL-terminated,
// whose line breaks are the clipboard's CR LF.
class ClipboardText
{
  public:
    ClipboardText();

    // Appends the text with every LF written as CR LF; everything else, CR included, unchanged.
    void Append(std::wstring_view text);
    void Clear() noexcept;

    std::wstring_view Text() const noexcept { return {m_buffer.data(), m_length}; }
    const wchar_t* CStr() const noexcept { return m_buffer.data(); }
    size_t Length() const noexcept { return m_length; }
    size_t Capacity() const noexcept { return m_buffer.size() - 1; }

  private:
    void Reserve(size_t length);

    std::vector<wchar_t> m_buffer; // capacity + 1 for the NUL
    size_t m_length = 0;
};
