#include "rename/RenameCheck.h"
#include "rename/RenameProgress.h"
#include "tests/rename/RenameTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>

namespace
{
// Names of the shapes people rename: camera files, episodes, dated reports, words, numbers only.
class NameGenerator
{
  public:
    explicit NameGenerator(unsigned seed) : m_random(seed) {}

    std::vector<std::wstring> NameSet()
    {
        const int shape = Pick(8);
        const size_t count = 1 + static_cast<size_t>(Pick(8));
        const std::wstring stem = Word(Pick(4));
        const std::wstring tail = Word(Pick(3));
        std::set<std::wstring> names;
        while (names.size() < count)
        {
            std::wstring name;
            switch (shape)
            {
            case 0:
                name = L"IMG_" + Digits(4) + Extension();
                break;
            case 1:
                name = stem + L" S0" + Digits(1) + L"E" + Digits(2) + L" " + Word(1 + Pick(6)) + L".mkv";
                break;
            case 2:
                name = L"20" + Digits(2) + L"-" + Digits(2) + L"-" + Digits(2) + L" " + stem + tail + Extension();
                break;
            case 3:
                name = Digits(1 + Pick(30));
                break;
            case 4:
                name = Word(1 + Pick(3)) + L"#" + Digits(Pick(3)) + tail + Extension();
                break;
            case 5:
                name = std::wstring(1, Letter());
                break;
            case 6:
                name = stem + Mixed(1 + Pick(12)) + tail + (Pick(2) ? Extension() : L"");
                break;
            default:
                name = Mixed(1 + Pick(20)) + Extension();
                break;
            }
            names.insert(name);
        }
        std::vector<std::wstring> list(names.begin(), names.end());
        std::shuffle(list.begin(), list.end(), m_random);
        return list;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

  private:
    wchar_t Letter()
    {
        static constexpr std::wstring_view kLetters = L"abcXYZ _-.()\u00e4\u00df\u4e2d\u0661";
        return kLetters[static_cast<size_t>(Pick(static_cast<int>(kLetters.size())))];
    }
    std::wstring Word(int length)
    {
        std::wstring word;
        for (int i = 0; i < length; ++i)
            word += static_cast<wchar_t>(L'a' + Pick(4));
        return word;
    }
    std::wstring Digits(int length)
    {
        std::wstring digits;
        for (int i = 0; i < length; ++i)
            digits += static_cast<wchar_t>(L'0' + Pick(10));
        return digits;
    }
    std::wstring Mixed(int length)
    {
        std::wstring text;
        for (int i = 0; i < length; ++i)
            text += Pick(3) == 0 ? static_cast<wchar_t>(L'0' + Pick(10)) : Letter();
        return text;
    }
    std::wstring Extension()
    {
        static const wchar_t* const kExtensions[] = {L".jpg", L".JPG", L".txt", L".tar.gz", L""};
        return kExtensions[Pick(5)];
    }

    std::mt19937 m_random;
};

std::wstring Joined(const std::vector<std::wstring>& names)
{
    std::wstring text;
    for (const std::wstring& name : names)
        text += name + L" | ";
    return text;
}
} // namespace

TEST(RenamePropertyTest, EveryNameMatchesItsPatternAndComposesBackUnchanged)
{
    NameGenerator generator(20261209);
    for (int round = 0; round < 3000; ++round)
    {
        const std::vector<std::wstring> names = generator.NameSet();
        for (const bool numbers : {true, false})
        {
            const DerivedPattern derived = DerivePattern(names, numbers);
            for (const bool allowExtension : {false, true})
            {
                if (allowExtension && derived.commonExtension.empty())
                    continue; // the dialog never offers it then
                const PatternAnalysis analysis =
                    BuildSegments(derived.pattern, derived.commonExtension, allowExtension);
                for (const std::wstring& name : names)
                {
                    ASSERT_TRUE(MatchesPattern(name, analysis))
                        << WideToUtf8(derived.pattern + L" on " + name + L" of " + Joined(names));
                    ASSERT_EQ(Compose(analysis, name), name) << WideToUtf8(derived.pattern + L" of " + Joined(names));
                }
            }
        }
    }
}

TEST(RenamePropertyTest, BadInputEndsCleanly)
{
    std::vector<std::wstring> longNames;
    for (int i = 0; i < 50; ++i)
        longNames.push_back(std::wstring(200, L'a') + std::to_wstring(i * 7919) + std::wstring(40, L'b') + L".txt");
    const PatternAnalysis analysis = Analyze(longNames, true, false);
    EXPECT_EQ(analysis.pattern, std::wstring(200, L'a') + L"#" + std::wstring(40, L'b'));
    for (const std::wstring& name : longNames)
        EXPECT_EQ(Compose(analysis, name), name);

    std::vector<std::wstring> many;
    for (int i = 0; i < 10000; ++i)
        many.push_back(L"photo " + std::to_wstring(i % 97) + L" day " + std::to_wstring(i) + L".jpg");
    const PatternAnalysis manyAnalysis = Analyze(many, true, false);
    EXPECT_EQ(manyAnalysis.pattern, L"photo # day #");

    // Digit runs between one letter, a few letters changed in each name: the number-aware search's
    // variants multiply until its bound ends them, and the text search derives the rest.
    std::mt19937 random(11);
    std::vector<std::wstring> runs;
    for (int i = 0; i < 20; ++i)
    {
        std::wstring name(1, static_cast<wchar_t>(L'A' + i));
        for (int run = 0; run < 100; ++run)
            name += static_cast<wchar_t>(L'0' + random() % 10) + std::wstring(L"a");
        for (int flip = 0; flip < 3; ++flip)
            name[2 + 2 * (random() % 99)] = L'b';
        runs.push_back(name + static_cast<wchar_t>(L'A' + i * 7 % 26) + L".txt");
    }
    const PatternAnalysis runAnalysis = Analyze(runs, true, false);
    for (const std::wstring& name : runs)
    {
        EXPECT_TRUE(MatchesPattern(name, runAnalysis)) << name;
        EXPECT_EQ(Compose(runAnalysis, name), name);
    }

    const std::vector<std::wstring> digits{std::wstring(255, L'9'), std::wstring(254, L'1'), L"0"};
    const PatternAnalysis digitAnalysis = Analyze(digits, true, false);
    EXPECT_EQ(digitAnalysis.pattern, L"#");
    for (const std::wstring& name : digits)
        EXPECT_EQ(Compose(digitAnalysis, name), name);
}

class RenamePerformPropertyTest : public TempFolderTest
{
};

TEST_F(RenamePerformPropertyTest, RenamesNeverLoseOrOverwriteAFile)
{
    std::mt19937 random(77);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    constexpr int kRounds = 40;
    int renamedRounds = 0;
    int stoppedRounds = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        const std::wstring folder = TempPath(L"r" + std::to_wstring(round));
        ASSERT_TRUE(CreateFolder(folder));
        std::vector<std::wstring> files;
        for (int i = 0; i < 8; ++i)
            files.push_back(L"f" + std::to_wstring(i) + L".txt");
        std::vector<std::wstring> selected(files.begin(), files.begin() + 6);
        RenameModel model = ModelOfFiles(folder, files, selected);
        // Half the rounds give each item a name of its own among the selected and some free
        // ones, so that chains and cycles decide; the others draw names at random, clashes and
        // duplicates included.
        const bool distinct = round % 2 == 0;
        std::vector<std::wstring> pool(selected);
        for (int i = 8; i < 14; ++i)
            pool.push_back(L"f" + std::to_wstring(i) + L".txt");
        std::shuffle(pool.begin(), pool.end(), random);
        size_t next = 0;
        for (RenameItem* item : model.ListedItems())
        {
            item->included = true;
            const int kind = pick(4);
            if (distinct)
                item->newName = pool[next++];
            else
                item->newName = kind == 0 ? item->name : L"f" + std::to_wstring(pick(kind == 1 ? 8 : 12)) + L".txt";
        }
        for (auto& [path, f] : model.folders)
            CheckFolder(*f);
        const RenameSummary summary = SummarizeStatus(model);
        if (summary.overallStatus == ItemStatus::Renamed && summary.anyChange)
            ++renamedRounds;
        std::map<std::wstring, std::string> expected = FolderContents(folder);
        if (summary.overallStatus == ItemStatus::Renamed)
        {
            // In some rounds something is in the way: a name taken since the checks, a file held open.
            const std::vector<RenameItem*> plan = PlanRenames(model);
            std::wstring newcomer;
            if (!plan.empty() && pick(3) == 0)
            {
                newcomer = plan[static_cast<size_t>(pick(static_cast<int>(plan.size())))]->newName;
                if (expected.contains(ToUpperCase(newcomer)))
                    newcomer.clear(); // taken by a file that moves away first
                else
                    ASSERT_TRUE(WriteFileBytes(folder + L"\\" + newcomer, "newcomer"));
            }
            const bool locked = !plan.empty() && pick(3) == 0;
            UniqueFile lock;
            if (locked)
            {
                const RenameItem& item = *plan[static_cast<size_t>(pick(static_cast<int>(plan.size())))];
                lock.Reset(::CreateFileW((folder + L"\\" + item.name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
            }
            const RenameOutcome outcome = RenameProgressDlg().Perform(nullptr, plan);
            lock.Reset();
            EXPECT_EQ(outcome.renamed == plan.size(), outcome.stop == RenameOutcome::Stop::None) << round;
            if (newcomer.empty() && !locked)
            {
                EXPECT_EQ(outcome.renamed, plan.size()) << round;
            }
            if (outcome.stop != RenameOutcome::Stop::None)
                ++stoppedRounds;
            for (size_t i = 0; i < outcome.renamed; ++i)
                expected[ToUpperCase(plan[i]->newName)] = expected.extract(ToUpperCase(plan[i]->name)).mapped();
            if (!newcomer.empty())
                expected[ToUpperCase(newcomer)] = "newcomer";
        }
        EXPECT_EQ(FolderContents(folder), expected) << round;
    }
    // Rounds that are all refused would prove nothing about the renames themselves.
    EXPECT_GE(renamedRounds * 3, kRounds) << renamedRounds << " of " << kRounds << " rounds renamed";
    EXPECT_GE(stoppedRounds, 1) << "nothing was ever in the way";
    std::printf("rename on disk: %d of %d rounds renamed, %d stopped by something in the way, no file lost\n",
                renamedRounds, kRounds, stoppedRounds);
}
