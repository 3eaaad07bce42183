#include "copydialog/LocaleNumber.h"
#include "copydialog/QuickFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace
{
std::wstring Describe(const QuickControls& c)
{
    const auto number = [](auto entry) { return std::to_wstring(static_cast<int>(entry)); };
    return L"sep " + number(c.separator) + L" quote " + number(c.quote) + L"/" + number(c.quoteChar) + L" path " +
           number(c.fullPath) + L"/" + number(c.pathSeparator) + L" size " + number(c.addSize) + L"/" +
           number(c.sizeUnit) + L" date " + number(c.addDate) + L"/" + number(c.dateFormat);
}
} // namespace

TEST(QuickFormatTest, BuildsTheTextsOfTheChoices)
{
    struct Case
    {
        QuickControls controls;
        const wchar_t* item;
        const wchar_t* separator;
    };
    const Case cases[] = {
        {{}, L"$name", L"\\n"},
        {{.separator = QuickSeparator::kComma, .quote = true, .quoteChar = QuickQuote::kSingle}, L"'$name'", L","},
        {{.separator = QuickSeparator::kOnePerLineComma,
          .quote = true,
          .quoteChar = QuickQuote::kDouble,
          .fullPath = true,
          .pathSeparator = QuickPathSeparator::kForwardSlash,
          .addSize = true,
          .sizeUnit = QuickSizeUnit::kKilobytes},
         L"\"$path:forwardslash\"\t$size:kb",
         L",\\n"},
        // The folder separator counts for names too, and is written inside the quotes.
        {{.separator = QuickSeparator::kSpace, .quote = true, .pathSeparator = QuickPathSeparator::kDoubleBackslash},
         L"\"$name:doublebackslash\"",
         L" "},
        // A quote list left on an entry while quoting is off adds nothing.
        {{.separator = QuickSeparator::kTab, .quoteChar = QuickQuote::kSingle, .addDate = true},
         L"$name\t$moddate:shortdatetime",
         L"\\t"},
        {{.addSize = true, .sizeUnit = QuickSizeUnit::kAuto, .addDate = true, .dateFormat = QuickDateFormat::kLongDate},
         L"$name\t$size:auto\t$moddate:longdate",
         L"\\n"},
        // Out of range reads as the first entry.
        {{.separator = static_cast<QuickSeparator>(9),
          .quote = true,
          .quoteChar = static_cast<QuickQuote>(-1),
          .pathSeparator = static_cast<QuickPathSeparator>(7),
          .addSize = true,
          .sizeUnit = static_cast<QuickSizeUnit>(5)},
         L"\"$name\"\t$size",
         L"\\n"},
    };
    for (const Case& c : cases)
    {
        const QuickTexts texts = BuildQuickTexts(c.controls);
        // "\t" in the expected item texts above stands for the two characters backslash and t.
        std::wstring expected = c.item;
        for (size_t at = expected.find(L'\t'); at != std::wstring::npos; at = expected.find(L'\t', at))
            expected.replace(at, 1, L"\\t");
        EXPECT_EQ(texts.item, expected) << Describe(c.controls);
        EXPECT_EQ(texts.separator, c.separator) << Describe(c.controls);
    }
}

TEST(QuickFormatTest, EveryChoiceReadsBackFromItsTexts)
{
    // All 5*2*2*2*3*2*5*2*4 combinations (quote char and units only where they count).
    int combinations = 0;
    for (int separator = 0; separator < kQuickSeparatorCount; ++separator)
        for (int quote = 0; quote < 3; ++quote)
            for (int fullPath = 0; fullPath < 2; ++fullPath)
                for (int pathSeparator = 0; pathSeparator < kQuickPathSeparatorCount; ++pathSeparator)
                    for (int size = -1; size < kQuickSizeUnitCount; ++size)
                        for (int date = -1; date < kQuickDateFormatCount; ++date)
                        {
                            QuickControls c;
                            c.separator = static_cast<QuickSeparator>(separator);
                            c.quote = quote > 0;
                            c.quoteChar = static_cast<QuickQuote>(quote > 0 ? quote - 1 : 0);
                            c.fullPath = fullPath != 0;
                            c.pathSeparator = static_cast<QuickPathSeparator>(pathSeparator);
                            c.addSize = size >= 0;
                            c.sizeUnit = static_cast<QuickSizeUnit>(size >= 0 ? size : 0);
                            c.addDate = date >= 0;
                            c.dateFormat = static_cast<QuickDateFormat>(date >= 0 ? date : 0);
                            const QuickTexts texts = BuildQuickTexts(c);
                            const auto read = ReadQuickTexts(texts.item, texts.separator);
                            ASSERT_TRUE(read) << texts.item << L" / " << texts.separator;
                            EXPECT_EQ(*read, c) << texts.item;
                            ++combinations;
                        }
    EXPECT_EQ(combinations, 5 * 3 * 2 * 3 * 6 * 5);
}

TEST(QuickFormatTest, ReadsOnlyItsOwnShape)
{
    const auto read = ReadQuickTexts(L"$path:forwardslash\\t$size:kb\\t$moddate", L",");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, (QuickControls{.separator = QuickSeparator::kComma,
                                    .fullPath = true,
                                    .pathSeparator = QuickPathSeparator::kForwardSlash,
                                    .addSize = true,
                                    .sizeUnit = QuickSizeUnit::kKilobytes,
                                    .addDate = true,
                                    .dateFormat = QuickDateFormat::kShortDateTime}));

    // A date needs no size before it.
    EXPECT_EQ(ReadQuickTexts(L"'$name'\\t$moddate:longdate", L" "),
              (QuickControls{.separator = QuickSeparator::kSpace,
                             .quote = true,
                             .quoteChar = QuickQuote::kSingle,
                             .addDate = true,
                             .dateFormat = QuickDateFormat::kLongDate}));

    struct Case
    {
        const wchar_t* item;
        const wchar_t* separator;
    };
    const Case refused[] = {
        {L"$name;", L"\\n"},                   // a ';' ends the reference in the language, not here
        {L"$name", L"\\r\\n"},                 // no such separator entry
        {L"$name", L""},                       //
        {L"$Name", L"\\n"},                    // names are lower case
        {L"$name:kb", L"\\n"},                 // not a folder separator
        {L"$name:", L"\\n"},                   // an empty parameter
        {L"$name\\t$moddate\\t$size", L"\\n"}, // size before date only
        {L"$name\\t$size:bytes", L"\\n"},      // bytes is the entry without a parameter
        {L"$name\\t$moddate:short", L"\\n"},
        {L"\"$name'", L"\\n"},       // quotes must match
        {L"\"$name", L"\\n"},        //
        {L"$name\"", L"\\n"},        // a closing quote without an opening one
        {L"\"", L"\\n"},             // one character is no quote
        {L"'$name'x", L"\\n"},       // nothing may follow
        {L"$name \\t$size", L"\\n"}, // nor stand between
        {L"$name\\t", L"\\n"},       //
        {L"$name\\n$size", L"\\n"},  //
        {L"$size", L"\\n"},          // a name or path comes first
        {L"", L"\\n"},
        {L"$name\\t$size\\t$size", L"\\n"},
        {L"$p\u00e4th", L"\\n"},
    };
    for (const Case& c : refused)
        EXPECT_FALSE(ReadQuickTexts(c.item, c.separator)) << c.item << L" / " << c.separator;
}

TEST(QuickFormatTest, BadInputAtEveryPositionIsRefusedNotMisread)
{
    // Every prefix and every one-character change of a full quick format: each reads as what
    // building its result gives back, or not at all.
    const std::wstring full = L"'$path:doublebackslash'\\t$size:gb\\t$moddate:longdatetime";
    for (size_t length = 0; length <= full.size(); ++length)
        for (const wchar_t replacement : {L'\0', L'x', L'$', L':', L'\\', L'\'', L';', L'\u00b7'})
        {
            std::wstring text = full.substr(0, length);
            if (replacement && length < full.size())
                text += replacement;
            const auto read = ReadQuickTexts(text, L" ");
            if (!read)
                continue;
            // A date without its parameter is built with it; anything else builds back as read.
            const std::wstring built = BuildQuickTexts(*read).item;
            if (text.ends_with(L"$moddate"))
                EXPECT_EQ(built, text + L":shortdatetime") << "read as something else";
            else
                EXPECT_EQ(built, text) << "read as something else";
        }
}

TEST(LocaleNumberTest, GroupsDigitsAsTheUserLocaleDoes)
{
    // The expected texts come from the locale's own separator, computed by hand here.
    wchar_t thousand[8] = {};
    ASSERT_GT(::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, thousand, 8), 0);
    wchar_t grouping[16] = {};
    ASSERT_GT(::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SGROUPING, grouping, 16), 0);
    if (std::wstring(grouping) != L"3;0")
        GTEST_SKIP() << "the test locale groups digits otherwise";
    const std::wstring t = thousand;
    EXPECT_EQ(FormatLocaleNumber(0), L"0");
    EXPECT_EQ(FormatLocaleNumber(999), L"999");
    EXPECT_EQ(FormatLocaleNumber(1234), L"1" + t + L"234");
    EXPECT_EQ(FormatLocaleNumber(5678901), L"5" + t + L"678" + t + L"901");
    EXPECT_EQ(FormatLocaleNumber(18446744073709551615ull),
              L"18" + t + L"446" + t + L"744" + t + L"073" + t + L"709" + t + L"551" + t + L"615");
}
