#pragma once

#include <optional>
#include <string>
#include <string_view>

// The nine choices of the quick controls: the selections of five lists and four check boxes. Each
// list index is the position of its entry in the page's list.
struct QuickControls
{
    int separator = 0;     // one per line, one per line + comma, space, tab, comma
    bool quote = false;    // quote each item...
    int quoteChar = 0;     // ...with the double quote (0) or the single quote (1)
    bool fullPath = false; // "$path" rather than "$name"
    int pathSeparator = 0; // \ (none), \\ (doublebackslash), / (forwardslash)
    bool addSize = false;
    int sizeUnit = 0; // bytes (none), kb, mb, gb, auto
    bool addDate = false;
    int dateFormat = 0; // shortdatetime, longdatetime, shortdate, longdate

    bool operator==(const QuickControls&) const = default;
};

// The two texts of the item format language that the quick controls stand for.
struct QuickTexts
{
    std::wstring item;
    std::wstring separator;
};

inline constexpr int kQuickSeparatorCount = 5;
inline constexpr int kQuickQuoteCount = 2;
inline constexpr int kQuickPathSeparatorCount = 3;
inline constexpr int kQuickSizeUnitCount = 5;
inline constexpr int kQuickDateFormatCount = 4;

// The texts the choices give. Indices out of range count as the first entry.
QuickTexts BuildQuickTexts(const QuickControls& controls);

// The choices that give exactly these texts, when there are any: the texts must have the shape
// BuildQuickTexts makes (an omitted size or date parameter reads as the first entry).
std::optional<QuickControls> ReadQuickTexts(std::wstring_view item, std::wstring_view separator);
