#include "rename/RenameCheck.h"
#include "rename/RunRename.h"
#include "tests/rename/RenameTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/ShellConfirmation.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <gtest/gtest.h>

namespace
{
class RenameCheckTest : public TempFolderTest
{
  protected:
    // Builds the model of the selected files and gives each the new name of `renames`.
    void Check(const std::vector<std::wstring>& files, const std::vector<std::wstring>& selected,
               const std::map<std::wstring, std::wstring>& renames)
    {
        m_model = ModelOfFiles(TempFolder(), files, selected);
        for (RenameItem* item : m_model.ListedItems())
        {
            item->included = true;
            const auto to = renames.find(item->name);
            item->newName = to == renames.end() ? item->name : to->second;
        }
        for (auto& [path, folder] : m_model.folders)
            CheckFolder(*folder);
    }

    ItemStatus StatusOf(const std::wstring& name)
    {
        RenameFolder& folder = *m_model.folders.begin()->second;
        return folder.entries.at(ToUpperCase(name)).status;
    }

    std::vector<std::wstring> Order()
    {
        std::vector<std::wstring> names;
        for (RenameItem* item : PlanRenames(m_model))
            names.push_back(item->name);
        return names;
    }

    RenameModel m_model;
};
} // namespace

TEST_F(RenameCheckTest, AppliesTheRulesOfOneName)
{
    const std::wstring n255(251, L'n');
    Check({L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt", L"f.txt", L"g.txt", L"h.txt", L"i.txt", L"j.txt", L"k.txt",
           L"l.txt", L"m.txt", L"n.txt", L"other.txt"},
          {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt", L"f.txt", L"g.txt", L"h.txt", L"i.txt", L"j.txt", L"k.txt",
           L"l.txt", L"m.txt", L"n.txt"},
          {{L"a.txt", L"A.txt"},
           {L"j.txt", L"NUL"},
           {L"k.txt", L"con .txt"},
           {L"l.txt", L"Com9.log"},
           {L"m.txt", L"x\ty.txt"},
           {L"n.txt", L"a\u0001b"},
           {L"b.txt", L""},
           {L"d.txt", n255 + L".txt"},
           {L"e.txt", n255 + L".txtx"},
           {L"f.txt", L" f.txt"},
           {L"g.txt", L"g."},
           {L"h.txt", L"OTHER.txt"},
           {L"i.txt", L"i "}});
    EXPECT_EQ(StatusOf(L"a.txt"), ItemStatus::Renamed); // case only: its own entry holds the name
    EXPECT_EQ(StatusOf(L"b.txt"), ItemStatus::Empty);
    EXPECT_EQ(StatusOf(L"c.txt"), ItemStatus::Unchanged);
    EXPECT_EQ(StatusOf(L"d.txt"), ItemStatus::Renamed); // exactly 255 characters
    EXPECT_EQ(StatusOf(L"e.txt"), ItemStatus::TooLong);
    EXPECT_EQ(StatusOf(L"f.txt"), ItemStatus::BadEnds);
    EXPECT_EQ(StatusOf(L"g.txt"), ItemStatus::BadEnds);
    EXPECT_EQ(StatusOf(L"h.txt"), ItemStatus::Existing); // an unlisted file keeps that name
    EXPECT_EQ(StatusOf(L"i.txt"), ItemStatus::BadEnds);
    for (const wchar_t* device : {L"j.txt", L"k.txt", L"l.txt"})
        EXPECT_EQ(StatusOf(device), ItemStatus::DeviceName) << device;
    EXPECT_EQ(StatusOf(L"m.txt"), ItemStatus::BadCharacter);
    EXPECT_EQ(StatusOf(L"n.txt"), ItemStatus::BadCharacter);
    EXPECT_EQ(StatusOf(L"other.txt"), ItemStatus::Renamed);

    EXPECT_EQ(
        ProblemSummary(m_model),
        L"Unable to rename files:"
        L"\r\n1 file is being renamed to the same name as an existing file."
        L"\r\n1 file is being renamed to empty name."
        L"\r\n3 files are being renamed to an invalid name. Filenames must not start or end with a space, and "
        L"must not end with a period."
        L"\r\n1 file is being renamed to a name that is too long (> 255 characters)."
        L"\r\n2 files are being renamed to an invalid name. Filenames cannot contain control characters, such as "
        L"a tab or a line break, or any of these characters: \\ / : * ? \" < > |"
        L"\r\n3 files are being renamed to names that Windows reserves for devices. Filenames cannot be CON, PRN, "
        L"AUX, NUL, COM1 to COM9 or LPT1 to LPT9, with or without an extension.");
    const RenameSummary summary = SummarizeStatus(m_model);
    EXPECT_EQ(summary.overallStatus, ItemStatus::Pending);
    EXPECT_TRUE(summary.anyChange);
}

TEST_F(RenameCheckTest, FindsDuplicatesChainsAndCycles)
{
    Check({L"a.txt", L"b.txt", L"c.txt", L"x.txt", L"y.txt"}, {L"a.txt", L"b.txt", L"c.txt", L"x.txt", L"y.txt"},
          {{L"a.txt", L"b.txt"}, {L"b.txt", L"c.txt"}, {L"c.txt", L"d.txt"}, {L"x.txt", L"Same"}, {L"y.txt", L"SAME"}});
    EXPECT_EQ(StatusOf(L"a.txt"), ItemStatus::Renamed);
    EXPECT_EQ(StatusOf(L"x.txt"), ItemStatus::Duplicate);
    EXPECT_EQ(StatusOf(L"y.txt"), ItemStatus::Duplicate);
    EXPECT_EQ(SummarizeStatus(m_model).overallStatus, ItemStatus::Duplicate);

    Check({L"a.txt", L"b.txt", L"c.txt"}, {L"a.txt", L"b.txt", L"c.txt"},
          {{L"a.txt", L"b.txt"}, {L"b.txt", L"c.txt"}, {L"c.txt", L"d.txt"}});
    EXPECT_EQ(Order(), (std::vector<std::wstring>{L"c.txt", L"b.txt", L"a.txt"}));
    EXPECT_EQ(SummarizeStatus(m_model).overallStatus, ItemStatus::Renamed);

    Check({L"a.txt", L"b.txt", L"c.txt"}, {L"a.txt", L"b.txt", L"c.txt"},
          {{L"a.txt", L"b.txt"}, {L"b.txt", L"a.txt"}, {L"c.txt", L"a.txt"}});
    EXPECT_EQ(StatusOf(L"a.txt"), ItemStatus::Renamed); // its holder is refused already: the batch is
    EXPECT_EQ(StatusOf(L"b.txt"), ItemStatus::Duplicate);
    EXPECT_EQ(StatusOf(L"c.txt"), ItemStatus::Duplicate);

    Check({L"a.txt", L"b.txt"}, {L"a.txt", L"b.txt"}, {{L"a.txt", L"b.txt"}, {L"b.txt", L"a.txt"}});
    EXPECT_EQ(StatusOf(L"a.txt"), ItemStatus::Existing);
    EXPECT_EQ(StatusOf(L"b.txt"), ItemStatus::Existing);
    EXPECT_EQ(ProblemSummary(m_model),
              L"Unable to rename files:\r\n2 files are being renamed to the same name as existing files.");
    EXPECT_TRUE(Order().empty());

    // A long chain listed against its order, and a ring of a thousand files.
    std::vector<std::wstring> chain;
    std::map<std::wstring, std::wstring> forward;
    std::map<std::wstring, std::wstring> ring;
    for (int i = 0; i < 1000; ++i)
    {
        wchar_t name[16];
        swprintf(name, 16, L"f%04d", i);
        chain.push_back(name);
        wchar_t next[16];
        swprintf(next, 16, L"f%04d", i + 1);
        forward[name] = next;
        swprintf(next, 16, L"f%04d", (i + 1) % 1000);
        ring[name] = next;
    }
    Check(chain, chain, forward);
    const std::vector<std::wstring> order = Order();
    ASSERT_EQ(order.size(), 1000u);
    EXPECT_EQ(order.front(), L"f0999");
    EXPECT_EQ(order.back(), L"f0000");
    for (auto& [path, folder] : m_model.folders)
        for (auto& [key, item] : folder->entries)
            item.newName = ring[item.name];
    CheckFolder(*m_model.folders.begin()->second);
    EXPECT_EQ(SummarizeStatus(m_model).overallStatus, ItemStatus::Existing);
}

TEST_F(RenameCheckTest, InvalidCommonTextMarksEveryRow)
{
    m_model = ModelOfFiles(TempFolder(), {L"IMG_1.jpg", L"IMG_2.jpg"}, {L"IMG_1.jpg", L"IMG_2.jpg"});
    PatternAnalysis analysis = OpenModel(m_model, true, false);
    EXPECT_FALSE(SummarizeStatus(m_model).anyChange);
    for (const wchar_t* text : {L"<X>", L"a\tb", L"a?"})
    {
        analysis.segments[0].newText = text;
        analysis.segments[0].invalidText = IsInvalidReplacement(analysis.segments[0].newText);
        RecomputeNames(m_model, analysis);
        EXPECT_EQ(SummarizeStatus(m_model).overallStatus, ItemStatus::InvalidText) << text;
        EXPECT_EQ(ProblemSummary(m_model),
                  L"Unable to rename files:\r\n2 files are being renamed to an invalid name. Filenames cannot contain "
                  L"any of these characters: \\ / : * ? \" < > |");
    }
}

// The file system keeps the long s and the dotless i apart from s and I, which linguistic casing
// merges in every locale; a Turkish locale also splits i from I, which the file system merges.
TEST_F(RenameCheckTest, ClashesFollowTheFileSystemsCaseRulesInAnyLocale)
{
    Check({L"FILE.txt", L"\u017Fun.txt", L"sun.txt", L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"},
          {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"},
          {{L"a.txt", L"file.txt"},
           {L"b.txt", L"SUN.TXT"},
           {L"c.txt", L"\u017FUN.TXT"},
           {L"d.txt", L"\u0131.txt"},
           {L"e.txt", L"I.txt"}});
    const RenameFolder& folder = *m_model.folders.begin()->second;
    EXPECT_EQ(folder.entries.size(), 8u) << "two names the file system tells apart are two entries";
    EXPECT_EQ(StatusOf(L"a.txt"), ItemStatus::Existing);
    EXPECT_EQ(StatusOf(L"b.txt"), ItemStatus::Existing);
    EXPECT_EQ(StatusOf(L"c.txt"), ItemStatus::Existing);
    EXPECT_EQ(StatusOf(L"d.txt"), ItemStatus::Renamed) << "not a duplicate of I.txt";
    EXPECT_EQ(StatusOf(L"e.txt"), ItemStatus::Renamed);

    // Deeper folders first, whatever the case of their paths.
    ASSERT_TRUE(CreateFolder(TempPath(L"Sub")));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"Sub\\inner.txt"), "inner"));
    RenameModel model;
    RenameFolder& top = model.AddFolder(TempFolder() + L"\\");
    RenameFolder& sub = model.AddFolder(ToUpperCase(TempFolder()) + L"\\SUB\\");
    for (RenameFolder* each : {&top, &sub})
        for (auto& [key, item] : each->entries)
        {
            item.newName = item.name + L"x";
            each->resolvedOrder.push_back(&item);
        }
    std::vector<const RenameFolder*> folders;
    for (const RenameItem* item : PlanRenames(model))
        if (folders.empty() || folders.back() != item->folder)
            folders.push_back(item->folder);
    EXPECT_EQ(folders, (std::vector<const RenameFolder*>{&sub, &top}));
}

TEST_F(RenameCheckTest, PerformsTheRenamesOnDisk)
{
    const std::wstring sub = TempPath(L"Sub");
    ASSERT_TRUE(CreateFolder(sub));
    ASSERT_TRUE(WriteFileBytes(sub + L"\\inner 1.txt", "inner"));
    m_model = ModelOfFiles(TempFolder(), {L"a 1.txt", L"a 2.txt", L"keep.txt"}, {L"a 1.txt", L"a 2.txt", L"Sub"});
    m_model.AddFolder(sub + L"\\").entries.at(L"INNER 1.TXT").notInList = false;
    PatternAnalysis analysis = OpenModel(m_model, true, false);
    ASSERT_EQ(analysis.pattern, L"*");
    analysis.segments[0].keepValue = false;
    analysis.segments[0].newText = L"<1:2>_";
    RecomputeNames(m_model, analysis);
    ASSERT_EQ(SummarizeStatus(m_model).overallStatus, ItemStatus::Renamed);

    const std::vector<RenameItem*> plan = PlanRenames(m_model);
    ASSERT_EQ(plan.size(), 4u);
    EXPECT_EQ(plan.front()->name, L"inner 1.txt"); // the deeper folder first

    RenameProgressDlg progress;
    EXPECT_EQ(RunRename(m_model, nullptr, progress), RenameEnd::Done);
    EXPECT_EQ(ReadFileBytes(TempPath(L"01_a 1.txt")), std::optional<std::string>("a 1.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"02_a 2.txt")), std::optional<std::string>("a 2.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"03_Sub\\04_inner 1.txt")), std::optional<std::string>("inner"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"keep.txt")), std::optional<std::string>("keep.txt"));
    EXPECT_FALSE(PathExists(TempPath(L"a 1.txt")));
}

// Each rename is its own move, looked at on disk before and after: a chain lands in order, and the
// first rename that cannot land stops the ones after it. Nothing is ever overwritten.
TEST_F(RenameCheckTest, RenamesOneByOneAndStopsAtTheFirstThatCannotLand)
{
    using Stop = RenameOutcome::Stop;
    using Plan = std::vector<std::pair<std::wstring, std::wstring>>; // old -> new, in the order tried
    const Plan chain{{L"c.txt", L"d.txt"}, {L"b.txt", L"c.txt"}, {L"a.txt", L"b.txt"}};
    struct Case
    {
        Plan plan;             // made by hand, past the checks; an empty new name: quarterly's short name
        const wchar_t* made;   // made after planning: a name taken since the checks
        const wchar_t* locked; // held open without sharing: its move fails
        size_t renamed;
        Stop stop;
    };
    const Case cases[] = {
        {chain, nullptr, nullptr, 3, Stop::None},
        {chain, L"d.txt", nullptr, 0, Stop::TargetTaken},
        {chain, nullptr, L"b.txt", 1, Stop::Failed},
        {{{L"a.txt", L""}}, nullptr, nullptr, 0, Stop::TargetTaken},
        {{{L"c.txt", L"d.txt"}, {L"b.txt", L"x\ty.txt"}}, nullptr, nullptr, 0, Stop::Refused},
        {{{L"c.txt", L"d.txt"}, {L"b.txt", L"nul.txt"}}, nullptr, nullptr, 0, Stop::Refused},
        {{{L"a.txt", L"A.txt"}}, nullptr, nullptr, 1, Stop::None}, // the name is its own
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        ModelOfFiles(TempFolder(), {L"a.txt", L"b.txt", L"c.txt", L"quarterly report.txt"}, {});
        RenameModel model;
        RenameFolder& folder = model.AddFolder(TempFolder() + L"\\");
        std::map<std::wstring, std::string> expected = FolderContents(TempFolder());
        std::vector<RenameItem*> plan;
        for (const auto& [from, to] : c.plan)
        {
            RenameItem& item = folder.entries.at(ToUpperCase(from));
            item.newName = to.empty() ? ShortName(TempPath(L"quarterly report.txt")) : to;
            plan.push_back(&item);
        }
        const std::string what = "row " + std::to_string(&c - cases);
        if (c.made)
        {
            ASSERT_TRUE(WriteFileBytes(TempPath(c.made), "newcomer"));
        }
        RenameOutcome outcome;
        {
            const UniqueFile lock(c.locked ? ::CreateFileW(TempPath(c.locked).c_str(), GENERIC_READ, 0, nullptr,
                                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                           : INVALID_HANDLE_VALUE);
            outcome = RenameProgressDlg().Perform(nullptr, plan);
        }
        EXPECT_EQ(outcome.renamed, c.renamed) << what;
        EXPECT_EQ(outcome.stop, c.stop) << what;
        EXPECT_EQ(outcome.shell.inexactPath.empty(), c.stop != Stop::Refused) << what;
        for (size_t i = 0; i < outcome.renamed; ++i)
            expected[ToUpperCase(plan[i]->newName)] = expected.extract(ToUpperCase(plan[i]->name)).mapped();
        if (c.made)
            expected[ToUpperCase(c.made)] = "newcomer";
        EXPECT_EQ(FolderContents(TempFolder()), expected) << what;
    }
}

TEST_F(RenameCheckTest, ACaseOnlyRenameShowsOnDisk)
{
    if (IsWine())
        GTEST_SKIP() << "a case-only rename does nothing under Wine";
    RenameModel model = ModelOfFiles(TempFolder(), {L"a.txt"}, {});
    RenameItem& item = model.AddFolder(TempFolder() + L"\\").entries.at(L"A.TXT");
    item.newName = L"A.txt";
    EXPECT_EQ(RenameProgressDlg().Perform(nullptr, {&item}).stop, RenameOutcome::Stop::None);
    WIN32_FIND_DATAW found{};
    const UniqueFind find(::FindFirstFileW(TempPath(L"a.txt").c_str(), &found));
    ASSERT_TRUE(find);
    EXPECT_STREQ(found.cFileName, L"A.txt");
}

// When the renames stop, the user learns where and why, which files were renamed and which were
// not; long lists are cut and counted.
TEST_F(RenameCheckTest, TellsWhichFilesWereRenamedWhenStopped)
{
    std::vector<RenameItem> items;
    for (int i = 10; i < 25; ++i)
    {
        items.push_back(ItemNamed(L"f" + std::to_wstring(i)));
        items.back().newName = L"g" + std::to_wstring(i);
    }
    std::vector<RenameItem*> list;
    for (RenameItem& item : items)
        list.push_back(&item);
    RenameOutcome outcome;
    outcome.stop = RenameOutcome::Stop::TargetTaken;
    EXPECT_EQ(StoppedMessage(list, outcome), L"Renaming stopped at \"f10\": a file or folder named \"g10\" already "
                                             L"exists, and was left as it is.\r\n\r\nNo file was renamed.");
    outcome.stop = RenameOutcome::Stop::Failed;
    outcome.renamed = 12;
    EXPECT_EQ(StoppedMessage(list, outcome),
              L"Renaming stopped at \"f22\": it could not be renamed to \"g22\".\r\n\r\nRenamed (12):\r\nf10 -> "
              L"g10\r\nf11 -> g11\r\nf12 -> g12\r\nf13 -> g13\r\nf14 -> g14\r\nf15 -> g15\r\nf16 -> g16\r\nf17 -> "
              L"g17\r\nf18 -> g18\r\nf19 -> g19\r\nand 2 more\r\n\r\nNot renamed (3):\r\nf22 -> g22\r\nf23 -> "
              L"g23\r\nf24 -> g24");
}

TEST_F(RenameCheckTest, RenameRefusesOrReportsNothingToDo)
{
    Check({L"a.txt", L"b.txt"}, {L"a.txt", L"b.txt"}, {{L"a.txt", L"b.txt"}, {L"b.txt", L"a.txt"}});
    RenameProgressDlg progress;
    {
        ShellConfirmationAnswerer answer(IDOK); // the problem summary
        EXPECT_EQ(RunRename(m_model, nullptr, progress), RenameEnd::Refused);
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_EQ(ReadFileBytes(TempPath(L"a.txt")), std::optional<std::string>("a.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"b.txt")), std::optional<std::string>("b.txt"));

    Check({L"a.txt", L"b.txt"}, {L"a.txt", L"b.txt"}, {});
    {
        ShellConfirmationAnswerer answer(IDOK); // "No changes have been made..."
        EXPECT_EQ(RunRename(m_model, nullptr, progress), RenameEnd::Done);
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_EQ(ReadFileBytes(TempPath(L"a.txt")), std::optional<std::string>("a.txt"));
}
