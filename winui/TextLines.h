#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A text and where its lines start, for the preview's text view. A line ends before "\r\n" or
// "\n"; offsets count UTF-16 units, and a caret place is an offset from 0 to Size().
class TextLines
{
  public:
    // Takes the text up to its NUL (null: an empty text), in one pass; the memory stays from one
    // text to the next. A text too big for memory leaves an empty one.
    void Assign(const wchar_t* text) noexcept;

    const std::wstring& Text() const noexcept { return m_text; }
    size_t Size() const noexcept { return m_text.size(); }
    size_t Count() const noexcept { return m_starts.size(); }
    size_t Start(size_t line) const noexcept { return m_starts[line]; }
    // Where the line's break begins, or the end of the text.
    size_t End(size_t line) const noexcept;
    size_t LineOf(size_t offset) const noexcept;
    // The line with the most characters.
    size_t Longest() const noexcept { return m_longest; }

    // The caret places next to an offset: a line break is one step.
    size_t Next(size_t offset) const noexcept;
    size_t Previous(size_t offset) const noexcept;
    // After the word at the offset and the spaces behind it; before the word ahead of it.
    size_t NextWord(size_t offset) const noexcept;
    size_t PreviousWord(size_t offset) const noexcept;
    // The run around the character at the offset, within its line: a word, or a run of other
    // characters; tabs end both. Empty on an empty line.
    std::pair<size_t, size_t> WordAt(size_t offset) const noexcept;

  private:
    std::wstring m_text;
    std::vector<size_t> m_starts{0};
    size_t m_longest = 0;
};
