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

// The entry's text; an entry out of the list's range counts as the first.
template <typename Entry, typename Text, size_t N> Text TextOf(const std::array<Text, N>& entries, Entry entry) noexcept
{
    const int index = static_cast<int>(entry);
    return entries[index >= 0 && static_cast<size_t>(index) < N ? static_cast<size_t>(index) : 0];
}

// The entry with this text; an empty text stands for the first entry where that one adds no
// parameter. None when no entry has the text.
template <typename Entry, size_t N>
std::optional<Entry> EntryOf(const std::array<std::wstring_view, N>& entries, std::wstring_view text) noexcept
{
    if (text.empty() && entries[0].empty())
        return Entry{};
    for (size_t index = 0; index < N; ++index)
        if (entries[index] == text)
            return static_cast<Entry>(index);
    return std::nullopt;
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
        quote.assign(1, TextOf(kQuotes, controls.quoteChar));
    texts.item = quote;
    // The folder separator counts for "$name" too: a scanned item's name holds its subfolders.
    AppendAttribute(texts.item, controls.fullPath ? L"$path" : L"$name",
                    TextOf(kPathParameters, controls.pathSeparator));
    texts.item += quote;
    if (controls.addSize)
        AppendAttribute(texts.item.append(kTab), L"$size", TextOf(kSizeParameters, controls.sizeUnit));
    if (controls.addDate)
        AppendAttribute(texts.item.append(kTab), L"$moddate", TextOf(kDateParameters, controls.dateFormat));
    texts.separator = TextOf(kSeparators, controls.separator);
    return texts;
}

std::optional<QuickControls> ReadQuickTexts(std::wstring_view item, std::wstring_view separator)
{
    QuickControls controls;
    const auto separatorEntry = EntryOf<QuickSeparator>(kSeparators, separator);
    if (!separatorEntry)
        return std::nullopt;
    controls.separator = *separatorEntry;

    Reader reader(item);
    wchar_t quote = 0;
    if (item.size() > 1)
        for (size_t index = 0; index < kQuotes.size(); ++index)
            if (item[0] == kQuotes[index])
            {
                quote = kQuotes[index];
                controls.quote = true;
                controls.quoteChar = static_cast<QuickQuote>(index);
                reader.Take(std::wstring_view(&quote, 1));
            }

    std::wstring_view name, parameter;
    if (!reader.Attribute(name, parameter) || (name != L"path" && name != L"name"))
        return std::nullopt;
    controls.fullPath = name == L"path";
    const auto pathSeparator = EntryOf<QuickPathSeparator>(kPathParameters, parameter);
    if (!pathSeparator)
        return std::nullopt;
    controls.pathSeparator = *pathSeparator;
    if (quote && !reader.Take(std::wstring_view(&quote, 1)))
        return std::nullopt;

    // The size may be left out before the date: the controls build a date without a size too.
    const size_t beforeSize = reader.Position();
    if (reader.Take(kTab) && reader.Attribute(name, parameter) && name == L"size")
    {
        controls.addSize = true;
        const auto sizeUnit = EntryOf<QuickSizeUnit>(kSizeParameters, parameter);
        if (!sizeUnit)
            return std::nullopt;
        controls.sizeUnit = *sizeUnit;
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
        // The dates always name their parameter, but an omitted one reads as the first entry.
        const auto dateFormat =
            parameter.empty() ? QuickDateFormat{} : EntryOf<QuickDateFormat>(kDateParameters, parameter);
        if (!dateFormat)
            return std::nullopt;
        controls.dateFormat = *dateFormat;
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return controls;
}
