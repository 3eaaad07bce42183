#include "copydialog/QuickFormat.h"

#include <array>

namespace
{
constexpr std::array<std::wstring_view, kQuickSeparatorCount> kSeparators{L"\\n", L",\\n", L" ", L"\\t", L","};
constexpr std::array<wchar_t, kQuickQuoteCount> kQuotes{L'"', L'\''};
// The first entry of each list adds no parameter, except the dates, which always name theirs.
constexpr std::array<std::wstring_view, kQuickPathSeparatorCount> kPathParameters{L"", L"doublebackslash",
                                                                                  L"forwardslash"};
constexpr std::array<std::wstring_view, kQuickSizeUnitCount> kSizeParameters{L"", L"kb", L"mb", L"gb", L"auto"};
constexpr std::array<std::wstring_view, kQuickDateFormatCount> kDateParameters{L"shortdatetime", L"longdatetime",
                                                                               L"shortdate", L"longdate"};
constexpr std::wstring_view kTab = L"\\t";

template <size_t N> size_t Clamped(int index) noexcept
{
    return index >= 0 && static_cast<size_t>(index) < N ? static_cast<size_t>(index) : 0;
}

template <size_t N> int IndexOf(const std::array<std::wstring_view, N>& entries, std::wstring_view text) noexcept
{
    for (size_t index = 0; index < N; ++index)
        if (entries[index] == text)
            return static_cast<int>(index);
    return -1;
}

void AppendAttribute(std::wstring& text, std::wstring_view name, std::wstring_view parameter)
{
    text.append(name);
    if (!parameter.empty())
        text.append(1, L':').append(parameter);
}

bool IsAsciiAlnum(wchar_t c) noexcept
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

// Reads the quick controls' texts from left to right.
class Reader
{
  public:
    explicit Reader(std::wstring_view text) noexcept : m_text(text) {}

    bool AtEnd() const noexcept { return m_position == m_text.size(); }
    bool Take(std::wstring_view expected) noexcept
    {
        if (m_text.substr(m_position, expected.size()) != expected)
            return false;
        m_position += expected.size();
        return true;
    }
    size_t Position() const noexcept { return m_position; }
    void Rewind(size_t position) noexcept { m_position = position; }

    // "$name" or "$name:parameter", both runs of ASCII letters and digits; false when there is none.
    bool Attribute(std::wstring_view& name, std::wstring_view& parameter) noexcept
    {
        if (!Take(L"$"))
            return false;
        name = Run();
        if (name.empty())
            return false;
        parameter = {};
        if (Take(L":"))
        {
            parameter = Run();
            if (parameter.empty())
                return false;
        }
        return true;
    }

  private:
    std::wstring_view Run() noexcept
    {
        const size_t start = m_position;
        while (!AtEnd() && IsAsciiAlnum(m_text[m_position]))
            ++m_position;
        return m_text.substr(start, m_position - start);
    }

    std::wstring_view m_text;
    size_t m_position = 0;
};
} // namespace

QuickTexts BuildQuickTexts(const QuickControls& controls)
{
    QuickTexts texts;
    std::wstring quote;
    if (controls.quote)
        quote.assign(1, kQuotes[Clamped<kQuickQuoteCount>(controls.quoteChar)]);
    texts.item = quote;
    // The folder separator counts for "$name" too: a scanned item's name holds its subfolders.
    AppendAttribute(texts.item, controls.fullPath ? L"$path" : L"$name",
                    kPathParameters[Clamped<kQuickPathSeparatorCount>(controls.pathSeparator)]);
    texts.item += quote;
    if (controls.addSize)
        AppendAttribute(texts.item.append(kTab), L"$size",
                        kSizeParameters[Clamped<kQuickSizeUnitCount>(controls.sizeUnit)]);
    if (controls.addDate)
        AppendAttribute(texts.item.append(kTab), L"$moddate",
                        kDateParameters[Clamped<kQuickDateFormatCount>(controls.dateFormat)]);
    texts.separator = kSeparators[Clamped<kQuickSeparatorCount>(controls.separator)];
    return texts;
}

std::optional<QuickControls> ReadQuickTexts(std::wstring_view item, std::wstring_view separator)
{
    QuickControls controls;
    controls.separator = IndexOf(kSeparators, separator);
    if (controls.separator < 0)
        return std::nullopt;

    Reader reader(item);
    wchar_t quote = 0;
    if (item.size() > 1)
        for (size_t index = 0; index < kQuotes.size(); ++index)
            if (item[0] == kQuotes[index])
            {
                quote = kQuotes[index];
                controls.quote = true;
                controls.quoteChar = static_cast<int>(index);
                reader.Take(std::wstring_view(&quote, 1));
            }

    std::wstring_view name, parameter;
    if (!reader.Attribute(name, parameter) || (name != L"path" && name != L"name"))
        return std::nullopt;
    controls.fullPath = name == L"path";
    // An empty parameter stands for the first entry only where that entry adds none.
    controls.pathSeparator = parameter.empty() ? 0 : IndexOf(kPathParameters, parameter);
    if (controls.pathSeparator <= 0 && !parameter.empty())
        return std::nullopt;
    if (quote && !reader.Take(std::wstring_view(&quote, 1)))
        return std::nullopt;

    // The size may be left out before the date: the controls build a date without a size too.
    const size_t beforeSize = reader.Position();
    if (reader.Take(kTab) && reader.Attribute(name, parameter) && name == L"size")
    {
        controls.addSize = true;
        controls.sizeUnit = parameter.empty() ? 0 : IndexOf(kSizeParameters, parameter);
        if (controls.sizeUnit <= 0 && !parameter.empty())
            return std::nullopt;
    }
    else
    {
        reader.Rewind(beforeSize);
    }
    if (reader.Take(kTab))
    {
        if (!reader.Attribute(name, parameter) || name != L"moddate")
            return std::nullopt;
        controls.addDate = true;
        controls.dateFormat = parameter.empty() ? 0 : IndexOf(kDateParameters, parameter);
        if (controls.dateFormat < 0)
            return std::nullopt;
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return controls;
}
