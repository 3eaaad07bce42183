#pragma once

#include <optional>
#include <string>
#include <string_view>

// The entries of the quick controls' five lists; each value is the entry's position in its list.
enum class QuickSeparator : int
{
    kOnePerLine = 0,
    kOnePerLineComma = 1,
    kSpace = 2,
    kTab = 3,
    kComma = 4,
};
enum class QuickQuote : int
{
    kDouble = 0,
    kSingle = 1,
};
enum class QuickPathSeparator : int
{
    kBackslash = 0,       // no parameter
    kDoubleBackslash = 1, // doublebackslash
    kForwardSlash = 2,    // forwardslash
};
enum class QuickSizeUnit : int
{
    kBytes = 0, // no parameter
    kKilobytes = 1,
    kMegabytes = 2,
    kGigabytes = 3,
    kAuto = 4,
};
enum class QuickDateFormat : int
{
    kShortDateTime = 0,
    kLongDateTime = 1,
    kShortDate = 2,
    kLongDate = 3,
};

// The nine choices of the quick controls: the selections of five lists and four check boxes.
struct QuickControls
{
    QuickSeparator separator = QuickSeparator::kOnePerLine;
    bool quote = false; // quote each item...
    QuickQuote quoteChar = QuickQuote::kDouble;
    bool fullPath = false; // "$path" rather than "$name"
    QuickPathSeparator pathSeparator = QuickPathSeparator::kBackslash;
    bool addSize = false;
    QuickSizeUnit sizeUnit = QuickSizeUnit::kBytes;
    bool addDate = false;
    QuickDateFormat dateFormat = QuickDateFormat::kShortDateTime;

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
