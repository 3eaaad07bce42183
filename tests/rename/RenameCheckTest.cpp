#include "rename/RenameCheck.h"
#include "rename/RunRename.h"
#include "tests/rename/RenameTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/ShellConfirmation.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/StringUtil.h"

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
    EXPECT_EQ(StatusOf(L"a.txt"), kStatusRenamed); // case only: its own entry holds the name
    EXPECT_EQ(StatusOf(L"b.txt"), kStatusEmpty);
    EXPECT_EQ(StatusOf(L"c.txt"), kStatusUnchanged);
    EXPECT_EQ(StatusOf(L"d.txt"), kStatusRenamed); // exactly 255 characters
    EXPECT_EQ(StatusOf(L"e.txt"), kStatusTooLong);
    EXPECT_EQ(StatusOf(L"f.txt"), kStatusBadEnds);
    EXPECT_EQ(StatusOf(L"g.txt"), kStatusBadEnds);
    EXPECT_EQ(StatusOf(L"h.txt"), kStatusExisting); // an unlisted file keeps that name
    EXPECT_EQ(StatusOf(L"i.txt"), kStatusBadEnds);
    for (const wchar_t* device : {L"j.txt", L"k.txt", L"l.txt"})
        EXPECT_EQ(StatusOf(device), kStatusDeviceName) << device;
    EXPECT_EQ(StatusOf(L"m.txt"), kStatusBadCharacter);
    EXPECT_EQ(StatusOf(L"n.txt"), kStatusBadCharacter);
    EXPECT_EQ(StatusOf(L"other.txt"), kStatusRenamed);

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
    EXPECT_EQ(summary.overallStatus, kStatusPending);
    EXPECT_TRUE(summary.anyChange);
}

TEST_F(RenameCheckTest, FindsDuplicatesChainsAndCycles)
{
    Check({L"a.txt", L"b.txt", L"c.txt", L"x.txt", L"y.txt"}, {L"a.txt", L"b.txt", L"c.txt", L"x.txt", L"y.txt"},
          {{L"a.txt", L"b.txt"}, {L"b.txt", L"c.txt"}, {L"c.txt", L"d.txt"}, {L"x.txt", L"Same"}, {L"y.txt", L"SAME"}});
    EXPECT_EQ(StatusOf(L"a.txt"), kStatusRenamed);
    EXPECT_EQ(StatusOf(L"x.txt"), kStatusDuplicate);
    EXPECT_EQ(StatusOf(L"y.txt"), kStatusDuplicate);
    EXPECT_EQ(SummarizeStatus(m_model).overallStatus, kStatusDuplicate);

    Check({L"a.txt", L"b.txt", L"c.txt"}, {L"a.txt", L"b.txt", L"c.txt"},
          {{L"a.txt", L"b.txt"}, {L"b.txt", L"c.txt"}, {L"c.txt", L"d.txt"}});
    EXPECT_EQ(Order(), (std::vector<std::wstring>{L"c.txt", L"b.txt", L"a.txt"}));
    EXPECT_EQ(SummarizeStatus(m_model).overallStatus, kStatusRenamed);

    Check({L"a.txt", L"b.txt", L"c.txt"}, {L"a.txt", L"b.txt", L"c.txt"},
          {{L"a.txt", L"b.txt"}, {L"b.txt", L"a.txt"}, {L"c.txt", L"a.txt"}});
    EXPECT_EQ(StatusOf(L"a.txt"), kStatusRenamed); // its holder is refused already: the batch is
    EXPECT_EQ(StatusOf(L"b.txt"), kStatusDuplicate);
    EXPECT_EQ(StatusOf(L"c.txt"), kStatusDuplicate);

    Check({L"a.txt", L"b.txt"}, {L"a.txt", L"b.txt"}, {{L"a.txt", L"b.txt"}, {L"b.txt", L"a.txt"}});
    EXPECT_EQ(StatusOf(L"a.txt"), kStatusExisting);
    EXPECT_EQ(StatusOf(L"b.txt"), kStatusExisting);
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
    EXPECT_EQ(SummarizeStatus(m_model).overallStatus, kStatusExisting);
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
        EXPECT_EQ(SummarizeStatus(m_model).overallStatus, kStatusInvalidText) << text;
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
    EXPECT_EQ(StatusOf(L"a.txt"), kStatusExisting);
    EXPECT_EQ(StatusOf(L"b.txt"), kStatusExisting);
    EXPECT_EQ(StatusOf(L"c.txt"), kStatusExisting);
    EXPECT_EQ(StatusOf(L"d.txt"), kStatusRenamed) << "not a duplicate of I.txt";
    EXPECT_EQ(StatusOf(L"e.txt"), kStatusRenamed);

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
    ASSERT_EQ(SummarizeStatus(m_model).overallStatus, kStatusRenamed);

    const std::vector<RenameItem*> plan = PlanRenames(m_model);
    ASSERT_EQ(plan.size(), 4u);
    EXPECT_EQ(plan.front()->name, L"inner 1.txt"); // the deeper folder first
    const MoveLists lists = BuildMoveLists(plan);
    EXPECT_EQ(lists.sources.substr(0, sub.size() + 13), sub + L"\\inner 1.txt" + L'\0');
    EXPECT_EQ(lists.sources.back(), L'\0');
    EXPECT_EQ(lists.sources[lists.sources.size() - 2], L'\0');

    RenameProgressDlg progress;
    EXPECT_TRUE(RunRename(m_model, nullptr, progress));
    EXPECT_EQ(ReadFileBytes(TempPath(L"01_a 1.txt")), std::optional<std::string>("a 1.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"02_a 2.txt")), std::optional<std::string>("a 2.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"03_Sub\\04_inner 1.txt")), std::optional<std::string>("inner"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"keep.txt")), std::optional<std::string>("keep.txt"));
    EXPECT_FALSE(PathExists(TempPath(L"a 1.txt")));
}

TEST_F(RenameCheckTest, RenamesChainsInOrderAndCaseOnly)
{
    Check({L"a.txt", L"b.txt", L"c.txt"}, {L"a.txt", L"b.txt", L"c.txt"},
          {{L"a.txt", L"b.txt"}, {L"b.txt", L"c.txt"}, {L"c.txt", L"d.txt"}});
    RenameProgressDlg progress;
    EXPECT_TRUE(RunRename(m_model, nullptr, progress));
    EXPECT_EQ(ReadFileBytes(TempPath(L"b.txt")), std::optional<std::string>("a.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"c.txt")), std::optional<std::string>("b.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"d.txt")), std::optional<std::string>("c.txt"));
    EXPECT_FALSE(PathExists(TempPath(L"a.txt")));

    DeleteTree(TempPath(L"b.txt"));
    Check({L"x.txt"}, {L"x.txt"}, {{L"x.txt", L"X.txt"}});
    EXPECT_EQ(StatusOf(L"x.txt"), kStatusRenamed);
    const MoveLists lists = BuildMoveLists(PlanRenames(m_model));
    EXPECT_EQ(lists.destinations, TempPath(L"X.txt") + L'\0' + L'\0');
    if (IsWine())
        GTEST_SKIP() << "a case-only rename does nothing under Wine";
    RunRename(m_model, nullptr, progress);
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW(TempPath(L"x.txt").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ::FindClose(find);
    EXPECT_STREQ(found.cFileName, L"X.txt");
}

TEST_F(RenameCheckTest, RenameRefusesOrReportsNothingToDo)
{
    Check({L"a.txt", L"b.txt"}, {L"a.txt", L"b.txt"}, {{L"a.txt", L"b.txt"}, {L"b.txt", L"a.txt"}});
    RenameProgressDlg progress;
    {
        ShellConfirmationAnswerer answer(IDOK); // the problem summary
        EXPECT_FALSE(RunRename(m_model, nullptr, progress));
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_EQ(ReadFileBytes(TempPath(L"a.txt")), std::optional<std::string>("a.txt"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"b.txt")), std::optional<std::string>("b.txt"));

    Check({L"a.txt", L"b.txt"}, {L"a.txt", L"b.txt"}, {});
    {
        ShellConfirmationAnswerer answer(IDOK); // "No changes have been made..."
        EXPECT_TRUE(RunRename(m_model, nullptr, progress));
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_EQ(ReadFileBytes(TempPath(L"a.txt")), std::optional<std::string>("a.txt"));
}
