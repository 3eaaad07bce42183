#include "rename/PatternAnalysis.h"
#include "rename/PatternChoice.h"
#include "tests/rename/RenameTestSupport.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/StringUtil.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace
{
struct DerivationCase
{
    std::vector<std::wstring> names;
    bool numbers;
    std::wstring pattern;
    std::wstring extension;
};

std::wstring Kinds(const PatternAnalysis& analysis)
{
    std::wstring kinds;
    for (const Segment& segment : analysis.segments)
        kinds += segment.kind == SegmentKind::Literal  ? (segment.keepValue ? L'f' : L'L')
                 : segment.kind == SegmentKind::Number ? L'#'
                 : segment.extensionWild               ? L'e'
                                                       : L'*';
    return kinds;
}
} // namespace

TEST(PatternDerivationTest, FindsTheCommonTextAndTheVaryingParts)
{
    const DerivationCase cases[] = {
        {{L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"}, true, L"IMG_#", L".jpg"},
        {{L"a1b", L"a22b"}, true, L"a#b", L""},
        {{L"report.txt", L"report.doc"}, true, L"report", L".*"},
        {{L"notes", L"notes.txt"}, true, L"notes", L""},
        {{L"xAy", L"xBy"}, true, L"x*y", L""},
        {{L"a#1.txt", L"a#2.txt"}, true, L"a\\##", L".txt"},
        {{L"a#1.txt", L"a#2.txt"}, false, L"a\\#*", L".txt"},
        {{L"IMG_0012.jpg", L"IMG_0013.jpg"}, false, L"IMG_001*", L".jpg"},
        // Episodes: the season and episode numbers both vary; every title holds a 't'.
        {{L"Show S01E02 Pilot.mkv", L"Show S01E03 Storm.mkv", L"Show S02E01 Return.mkv"},
         true,
         L"Show S#E# *t*",
         L".mkv"},
        {{L"Show S01E02 Pilot.mkv", L"Show S01E03 Zen.mkv"}, true, L"Show S01E# *", L".mkv"},
        // Dated reports.
        {{L"2021-03-07 report final.pdf", L"2021-04-11 report draft.pdf"}, true, L"2021-#-# report *f*", L".pdf"},
        {{L"2021-03-07 report.pdf", L"2021-04-11 report.pdf"}, false, L"2021-0*-* report", L".pdf"},
        {{L"a", L"b", L"c"}, true, L"*", L""},
        {{L"same.txt", L"same.doc"}, true, L"same", L".*"},
        {{L"x.tar.gz", L"y.tar.gz"}, true, L"*.tar", L".gz"},
        {{L"only"}, true, L"only", L""},
        {{L"\u00e4rger-\u4e2d1.txt", L"\u00e4rger-\u4e2d2.txt"}, true, L"\u00e4rger-\u4e2d#", L".txt"},
        {{L"abcXdef", L"ghiXjkl"}, true, L"*X*", L""},
        {{L"123", L"4567", L"8"}, true, L"#", L""},
        // A number inside the varying middles becomes part of their anchor.
        {{L"x_12_a.jpg", L"y_345_b.jpg", L"z_6_c.jpg"}, true, L"*_#_*", L".jpg"},
        {{L"x_12_a.jpg", L"y_345_b.jpg", L"z_6_c.jpg"}, false, L"*_*_*", L".jpg"},
        {{L"p1q 7", L"r22s 8"}, true, L"*#* #", L""},
    };
    for (const DerivationCase& c : cases)
    {
        const DerivedPattern derived = DerivePattern(c.names, c.numbers);
        EXPECT_EQ(derived.pattern, c.pattern) << c.names.front();
        EXPECT_EQ(derived.commonExtension, c.extension) << c.names.front();
    }
}

// The text search splits the middles level by level; these sets take it through pieces without
// the anchor, ties of the reference string and long chains of short anchors, some holding digits.
TEST(PatternDerivationTest, TextSearchSplitsEveryLevelAlike)
{
    const DerivationCase cases[] = {
        {{L"q1a2b3c4z", L"q5a6b7c8z", L"q9a0b1c2z"}, false, L"q*a*b*c*z", L""},
        {{L"xaybz", L"ybzxa", L"zxayb"}, false, L"*xa*", L""},
        {{L"abab", L"baba", L"aabb"}, false, L"*ab*", L""},
        {{L"k3m", L"m4k", L"km5"}, false, L"*k*", L""},
        {{L"one_two", L"two_one", L"_twoone"}, false, L"*one*", L""},
    };
    for (const DerivationCase& c : cases)
        EXPECT_EQ(DerivePattern(c.names, c.numbers).pattern, c.pattern) << c.names.front();

    // Single digits between alternating letters: which anchors survive depends on every name.
    const auto digitNames = [](size_t count) {
        std::mt19937 random(7);
        std::vector<std::wstring> names(count);
        for (std::wstring& name : names)
            for (int run = 0; run < 60; ++run)
            {
                name += static_cast<wchar_t>(L'0' + random() % 10);
                name += static_cast<wchar_t>(L'a' + run % 2);
            }
        return names;
    };
    EXPECT_EQ(DerivePattern(digitNames(50), false).pattern, L"*a*b2a*9*b*a*b");
    EXPECT_EQ(DerivePattern(digitNames(200), false).pattern, L"*0*b*a*b*a*b*a*b");
}

TEST(PatternDerivationTest, SegmentsAlternateAndCarryTheExtension)
{
    PatternAnalysis kept = Analyze({L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"}, true, false);
    EXPECT_EQ(Kinds(kept), L"L#f");
    EXPECT_EQ(kept.pattern, L"IMG_#");
    PatternAnalysis allowed = Analyze({L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"}, true, true);
    EXPECT_EQ(allowed.pattern, L"IMG_#.jpg");
    EXPECT_EQ(allowed.segments.back().commonText, L".jpg");

    PatternAnalysis differing = Analyze({L"report.txt", L"report.doc"}, true, true);
    EXPECT_EQ(Kinds(differing), L"Le");
    EXPECT_EQ(differing.pattern, L"report.*");

    EXPECT_EQ(Kinds(BuildSegments(L"*#", L"", false)), L"f*f#f");
    EXPECT_EQ(Kinds(BuildSegments(L"", L"", false)), L"f");
    // A '#' of the shared extension is a character, not a number.
    const std::vector<std::wstring> sharp{L"notes1.c#", L"draft22.c#", L"x.c#"};
    const PatternAnalysis extension = Analyze(sharp, true, true);
    EXPECT_EQ(extension.pattern.substr(extension.pattern.size() - 4), L".c\\#");
    for (const std::wstring& name : sharp)
    {
        EXPECT_TRUE(MatchesPattern(name, extension)) << name;
        EXPECT_EQ(Compose(extension, name), name);
    }
    EXPECT_FALSE(MatchesPattern(L"x.c1", extension));

    const PatternAnalysis escaped = BuildSegments(L"a\\#b*", L"", false);
    EXPECT_EQ(escaped.segments.front().commonText, L"a#b");
    EXPECT_FALSE(escaped.segments.front().invalidText);
}

TEST(PatternMatchTest, MatchesCaseInsensitivelyWithEveryPatternCharacter)
{
    auto matches = [](const std::wstring& pattern, const std::wstring& name, bool allowExtension = true) {
        PatternAnalysis analysis;
        analysis.pattern = pattern;
        analysis.allowExtension = allowExtension;
        return MatchesPattern(name, analysis);
    };
    EXPECT_TRUE(matches(L"img_#", L"IMG_0012.jpg", false));
    EXPECT_FALSE(matches(L"img_#", L"IMG_0012.jpg", true));
    EXPECT_FALSE(matches(L"IMG_#", L"IMG_.jpg", false));
    EXPECT_TRUE(matches(L"", L"anything"));
    EXPECT_TRUE(matches(L"a*b*c", L"aXXbYYc"));
    EXPECT_FALSE(matches(L"a*b*c", L"aXXbYY"));
    EXPECT_TRUE(matches(L"a?c", L"abc"));
    EXPECT_TRUE(matches(L"a/b", L"ab"));
    EXPECT_TRUE(matches(L"ab**//", L"ab"));
    EXPECT_TRUE(matches(L"a\\#", L"a#"));
    EXPECT_FALSE(matches(L"a\\#", L"a1"));
    EXPECT_TRUE(matches(L"#", L"21"));
    EXPECT_TRUE(matches(L"#*1", L"21")); // a number leaves a digit the rest needs
    EXPECT_FALSE(matches(L"#1", L"1"));
    // Many wilds over a long name that never matches: remembered failures keep this quick.
    EXPECT_FALSE(matches(std::wstring(40, L'*') + L"b", std::wstring(255, L'a')));
}

TEST(PatternMatchTest, SplitsNamesIntoTheirParts)
{
    const PatternAnalysis analysis = Analyze({L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"}, true, false);
    const SplitResult split = SplitName(ItemNamed(L"IMG_0101.jpg"), analysis);
    ASSERT_TRUE(split.complete);
    ASSERT_EQ(split.parts.size(), 3u);
    EXPECT_EQ(split.parts[0].second, L"IMG_");
    EXPECT_EQ(split.parts[1].second, L"0101");
    EXPECT_EQ(split.parts[2].second, L"");
    EXPECT_EQ(split.extension, L".jpg");

    const PatternAnalysis wilds = BuildSegments(L"*-*", L"", true);
    const SplitResult shortest = SplitName(ItemNamed(L"a-b-c"), wilds);
    ASSERT_TRUE(shortest.complete);
    EXPECT_EQ(shortest.parts[1].second, L"a"); // the leftmost wild is as short as possible
    EXPECT_EQ(shortest.parts[3].second, L"b-c");

    const PatternAnalysis extension = Analyze({L"report.txt", L"report.doc"}, true, true);
    EXPECT_TRUE(SplitName(ItemNamed(L"report.doc"), extension).complete);
    EXPECT_FALSE(SplitName(ItemNamed(L"reportdoc"), extension).complete);
}

TEST(PartValueTest, NumbersRenumberPadAndClear)
{
    PatternAnalysis analysis = BuildSegments(L"file#", L"", false);
    Segment& number = analysis.segments[1];
    number.base = 7;
    number.renumber = true;
    number.start = 1;
    EXPECT_EQ(Compose(analysis, L"file007"), L"file001");
    EXPECT_EQ(Compose(analysis, L"file010"), L"file004");
    number.start = 0;
    number.base = 100;
    EXPECT_EQ(Compose(analysis, L"file10"), L"file0"); // never below zero
    number.start = -1;
    EXPECT_EQ(Compose(analysis, L"file0105"), L"file0105"); // an unset start keeps the number
    number.renumber = false;

    number.zerosMode = ZerosMode::MakeDigits;
    number.digits = 4;
    EXPECT_EQ(Compose(analysis, L"file7"), L"file0007");
    EXPECT_EQ(Compose(analysis, L"file000123"), L"file0123");
    EXPECT_EQ(Compose(analysis, L"file123456"), L"file123456");
    number.digits = 0;
    EXPECT_EQ(Compose(analysis, L"file007"), L"file7");
    EXPECT_EQ(Compose(analysis, L"file000"), L"file0");
    number.zerosMode = ZerosMode::Remove;
    EXPECT_EQ(Compose(analysis, L"file000"), L"file0");
    EXPECT_EQ(Compose(analysis, L"file0070"), L"file70");
    number.clear = true;
    EXPECT_EQ(Compose(analysis, L"file0070"), L"file");

    // Beyond 64 bits a number reads as the largest one; renumbering then stays at its start.
    number.clear = false;
    number.zerosMode = ZerosMode::Unchanged;
    number.renumber = true;
    number.start = 5;
    number.base = ReadNumber(L"99999999999999999999999");
    EXPECT_EQ(Compose(analysis, L"file99999999999999999999999"), L"file5");
    EXPECT_EQ(ReadNumber(L"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ReadNumber(L"9223372036854775808"), INT64_MAX);

    // Change Number: a start given without renumbering leaves the part's start as it was.
    number.Change(NumberChange{.renumber = false, .start = 40});
    EXPECT_FALSE(number.renumber);
    EXPECT_EQ(number.start, 5);
    number.Change(NumberChange{.renumber = true, .start = 40, .zerosMode = ZerosMode::MakeDigits, .digits = 3});
    EXPECT_EQ(Compose(analysis, L"file99999999999999999999999"), L"file040");
}

TEST(PartValueTest, WildsTruncateAndChangeCase)
{
    PatternAnalysis analysis = BuildSegments(L"x*y", L"", false);
    Segment& wild = analysis.segments[1];
    EXPECT_EQ(Compose(analysis, L"xHello Worldy.txt"), L"xHello Worldy.txt");
    wild.truncate = true;
    wild.maxLength = 5;
    EXPECT_EQ(Compose(analysis, L"xHello Worldy.txt"), L"xHelloy.txt");
    wild.maxLength = 0;
    EXPECT_EQ(Compose(analysis, L"xHello Worldy.txt"), L"xy.txt");
    wild.truncate = false;
    wild.caseMode = CaseMode::Upper;
    EXPECT_EQ(Compose(analysis, L"x\u00e4bcy.txt"), L"x\u00c4BCy.txt");
    wild.caseMode = CaseMode::Lower;
    EXPECT_EQ(Compose(analysis, L"xABCy.TXT"), L"xabcy.TXT");
    // Change Wild holds the length to what a part can keep: none below zero, 32 bits above.
    wild.Change(WildChange{.caseMode = CaseMode::Lower, .truncate = true, .maxLength = -3});
    EXPECT_EQ(wild.maxLength, 0);
    wild.Change(WildChange{.caseMode = CaseMode::Lower, .truncate = true, .maxLength = INT64_MAX});
    EXPECT_EQ(wild.maxLength, INT32_MAX);
    EXPECT_EQ(Compose(analysis, L"xABCy.TXT"), L"xabcy.TXT");
    wild.Change(WildChange{.caseMode = CaseMode::Lower});

    // Edited common text, and a filler the user typed into.
    analysis.segments[0].newText = L"new ";
    analysis.segments[2].newText = L"-end";
    EXPECT_EQ(Compose(analysis, L"xABCy.TXT"), L"new abc-end.TXT");
    PatternAnalysis filler = BuildSegments(L"a*", L"", false);
    EXPECT_EQ(Compose(filler, L"abc.d"), L"abc.d");
    filler.segments[2].keepValue = false;
    filler.segments[2].newText = L"_z";
    EXPECT_EQ(Compose(filler, L"abc.d"), L"abc_z.d");
}

TEST(CarryEditsTest, KeepsEditsOfCorrespondingParts)
{
    const std::vector<std::wstring> names{L"IMG_0012 a end.jpg", L"IMG_0013 b end.png"};
    PatternAnalysis numbers = Analyze(names, true, false);
    ASSERT_EQ(numbers.pattern, L"IMG_# * end");
    numbers.segments[0].newText = L"Photo ";
    numbers.segments[1].zerosMode = ZerosMode::Remove;
    numbers.segments[3].truncate = true;
    numbers.segments[3].maxLength = 0;

    PatternAnalysis withExtension = Analyze(names, true, true);
    CarryEdits(numbers, withExtension);
    EXPECT_EQ(withExtension.segments[0].newText, L"Photo ");
    EXPECT_EQ(withExtension.segments[1].zerosMode, ZerosMode::Remove);
    EXPECT_TRUE(withExtension.segments[3].truncate);
    EXPECT_EQ(Compose(withExtension, L"IMG_0012 a end.jpg"), L"Photo 12  end.jpg");
    EXPECT_TRUE(withExtension.segments.back().extensionWild);

    PatternAnalysis asText = Analyze(names, false, false);
    CarryEdits(numbers, asText); // IMG_001 no longer corresponds: nothing carries
    EXPECT_EQ(asText.segments[0].newText, L"IMG_001");
}

using PatternChoiceTest = TempFolderTest;

// The two boxes hold only where the names give them a use, whatever was asked or remembered; a box
// that changes the reading carries the typed texts along.
TEST_F(PatternChoiceTest, BoxesHoldOnlyWhereTheNamesAllow)
{
    struct Case
    {
        std::vector<std::wstring> names;
        bool extensionChoosable;
        bool numbersChoosable;
    };
    const std::vector<Case> cases{
        {{L"IMG_0012.jpg", L"IMG_0013.jpg"}, true, true},
        {{L"IMG_0012.jpg", L"IMG_0013"}, false, true}, // a name without an extension
        {{L"alpha.txt", L"beta.txt"}, true, false},    // no number to read as text
        {{L"README", L"LICENSE"}, false, false},
    };
    for (const Case& c : cases)
    {
        const std::string names = WideToUtf8(c.names[0] + L" " + c.names[1]);
        const RenameModel model = ModelOfFiles(TempFolder(), c.names, c.names);
        for (int wish = 0; wish < 4; ++wish)
        {
            const bool allowExtension = (wish & 1) != 0;
            const bool numbersAsText = (wish & 2) != 0;
            PatternChoice choice;
            choice.Analyse(model, allowExtension, numbersAsText);
            EXPECT_EQ(choice.ExtensionChoosable(), c.extensionChoosable) << names;
            EXPECT_EQ(choice.NumbersChoosable(), c.numbersChoosable) << names;
            EXPECT_EQ(choice.AllowExtension(), allowExtension && c.extensionChoosable) << names << wish;
            EXPECT_EQ(choice.NumbersAsText(), numbersAsText && c.numbersChoosable) << names << wish;

            // Choosing from the other state lands on the same reading.
            choice.Choose(!allowExtension, !numbersAsText);
            choice.Choose(allowExtension, numbersAsText);
            EXPECT_EQ(choice.AllowExtension(), allowExtension && c.extensionChoosable) << names << wish;
            EXPECT_EQ(choice.NumbersAsText(), numbersAsText && c.numbersChoosable) << names << wish;
        }
    }

    const std::vector<std::wstring> names{L"IMG_0012 a.jpg", L"IMG_0013 b.jpg"};
    const RenameModel model = ModelOfFiles(TempFolder(), names, names);
    PatternChoice choice;
    choice.Analyse(model, false, false);
    ASSERT_EQ(choice.Current().pattern, L"IMG_# *");
    choice.TypeReplacement(0, L"Photo<");
    EXPECT_TRUE(choice.Current().segments[0].invalidText);
    choice.TypeReplacement(0, L"Photo ");
    EXPECT_FALSE(choice.Current().segments[0].invalidText);
    choice.Choose(true, false);
    EXPECT_TRUE(choice.AllowExtension());
    EXPECT_EQ(choice.Current().segments[0].newText, L"Photo ") << "the typed text goes along";
    choice.Analyse(model, choice.AllowExtension(), choice.NumbersAsText());
    EXPECT_TRUE(choice.AllowExtension()) << "analysing anew keeps the boxes";
    EXPECT_EQ(choice.Current().segments[0].newText, L"IMG_") << "and drops the edits";
}

namespace
{
class NumberBasesTest : public TempFolderTest
{
  protected:
    // The model of the files, all listed, matched against the analysis of their names.
    PatternAnalysis Open(const std::vector<std::wstring>& files)
    {
        m_model = ModelOfFiles(TempFolder(), files, files);
        std::vector<std::wstring> names;
        for (const RenameItem* item : m_model.ListedItems())
            names.push_back(item->name);
        PatternAnalysis analysis = Analyze(names, true, false);
        MatchListedItems(m_model, analysis);
        return analysis;
    }
    static std::vector<int64_t> Bases(const PatternAnalysis& analysis)
    {
        std::vector<int64_t> bases;
        for (const Segment& segment : analysis.segments)
            if (segment.kind == SegmentKind::Number)
                bases.push_back(segment.base);
        return bases;
    }

    RenameModel m_model;
};
} // namespace

TEST_F(NumberBasesTest, EachNumberStartsAtItsSmallestValue)
{
    PatternAnalysis one = Open({L"IMG_0012.jpg", L"IMG_0007.jpg", L"IMG_0101.jpg"});
    ASSERT_EQ(one.pattern, L"IMG_#");
    EXPECT_TRUE(ComputeNumberBases(m_model, one));
    EXPECT_EQ(Bases(one), std::vector<int64_t>{7});
    EXPECT_FALSE(ComputeNumberBases(m_model, one)) << "nothing changes the second time";

    // Each number on its own: the smallest season and the smallest episode need not meet.
    PatternAnalysis two = Open({L"Show S02E03.mkv", L"Show S01E10.mkv", L"Show S03E05.mkv"});
    ASSERT_EQ(two.pattern, L"Show S#E#");
    EXPECT_TRUE(ComputeNumberBases(m_model, two));
    EXPECT_EQ(Bases(two), (std::vector<int64_t>{1, 3}));
}

TEST_F(NumberBasesTest, OnlyIncludedItemsCountAndHugeNumbersSaturate)
{
    PatternAnalysis analysis = Open({L"a5.txt", L"a9.txt", L"a99999999999999999999999.txt"});
    ASSERT_EQ(analysis.pattern, L"a#");
    for (RenameItem* item : m_model.ListedItems())
        item->included = item->name != L"a5.txt";
    EXPECT_TRUE(ComputeNumberBases(m_model, analysis));
    EXPECT_EQ(Bases(analysis), std::vector<int64_t>{9}) << "a5 is not included";
    for (RenameItem* item : m_model.ListedItems())
        item->included = item->name.size() > 10;
    EXPECT_TRUE(ComputeNumberBases(m_model, analysis));
    EXPECT_EQ(Bases(analysis), std::vector<int64_t>{std::numeric_limits<int64_t>::max()});

    // No item included, or no number at all: the bases stay as they are.
    for (RenameItem* item : m_model.ListedItems())
        item->included = false;
    EXPECT_FALSE(ComputeNumberBases(m_model, analysis));
    EXPECT_EQ(Bases(analysis), std::vector<int64_t>{std::numeric_limits<int64_t>::max()});
    PatternAnalysis text = Open({L"alpha.txt", L"beta.txt"});
    EXPECT_TRUE(Bases(text).empty());
    EXPECT_FALSE(ComputeNumberBases(m_model, text));
}
