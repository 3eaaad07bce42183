#include "tests/shellext/MultiRenameTestSupport.h"
#include "tests/support/ClipboardHelpers.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace rename_ids;

namespace
{
using Names = std::vector<std::wstring>;
using Tree = std::map<std::wstring, std::string>; // as ReadTreeBelow gives it: path -> contents

std::wstring Numbered(const wchar_t* stem, int number, int width, const wchar_t* extension)
{
    std::wstring digits = std::to_wstring(number);
    digits.insert(0, static_cast<size_t>(std::max(0, width - static_cast<int>(digits.size()))), L'0');
    return stem + digits + extension;
}
} // namespace

using MultiRenameBadInputTest = MultiRenameTest;

// Ten thousand files of one folder: the list holds them all and one edit gives every one its new
// name. (The shell's move of ten thousand files takes minutes under Wine: renaming itself is
// tested on smaller sets.)
TEST_F(MultiRenameBadInputTest, TenThousandFilesInOneFolder)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"many")));
    Names names;
    for (int i = 0; i < 10000; ++i)
        names.push_back(Numbered(L"DSC", i, 5, L".jpg"));
    const Names paths = MakeNamedFiles(names, L"many");
    int rows = 0;
    std::wstring last;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        rows = ListView_GetItemCount(dlg.Item(kNames));
        TypeIntoPart(dlg.Hwnd(), 0, L"Trip-");
        const Names newNames = ListColumn(dlg.Hwnd(), 1);
        last = newNames.back();
        EXPECT_EQ(std::count_if(newNames.begin(), newNames.end(),
                                [](const std::wstring& name) { return name.rfind(L"Trip-", 0) == 0; }),
                  10000);
        EXPECT_EQ(StateImages(dlg.Hwnd()), std::vector<int>(10000, 1));
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(rows, 10000);
    EXPECT_EQ(last, L"Trip-09999.jpg");
    EXPECT_EQ(Entries(L"many"), names);
}

// Files of 200 folders: the Folder column, and each folder's files renamed in place.
TEST_F(MultiRenameBadInputTest, FilesInTwoHundredFolders)
{
    Names paths;
    for (int f = 0; f < 200; ++f)
    {
        const std::wstring folder = Numbered(L"f", f, 3, L"");
        ASSERT_TRUE(CreateFolder(TempPath(folder)));
        for (const Names made = MakeNamedFiles({L"take1.wav", L"take2.wav"}, folder); const std::wstring& path : made)
            paths.push_back(path);
    }
    int columns = 0;
    std::wstring folderOfLast;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        columns = Header_GetItemCount(ListView_GetHeader(dlg.Item(kNames)));
        folderOfLast = ListColumn(dlg.Hwnd(), 2).back();
        EXPECT_EQ(PartTexts(dlg.Hwnd()), L"take|#|");
        TypeIntoPart(dlg.Hwnd(), 0, L"mix");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(folderOfLast, TempPath(L"f199\\"));
    for (const wchar_t* folder : {L"f000", L"f123", L"f199"})
    {
        EXPECT_EQ(Entries(folder), (Names{L"mix1.wav", L"mix2.wav"})) << WideToUtf8(folder);
        EXPECT_TRUE(Holds(L"mix2.wav", L"take2.wav", folder));
    }
}

// Names that are all digits renumber; names as long as a path allows take a name of 255
// characters and refuse one of 256; paths too long to select are left alone.
TEST_F(MultiRenameBadInputTest, DigitNamesAndLongNames)
{
    const Names digits = MakeNamedFiles({L"123.txt", L"4567.txt", L"89.txt"});
    Names renumbered;
    ASSERT_TRUE(RunMultiRename(digits, [&](DialogHandle dlg) {
        EXPECT_EQ(PartTexts(dlg.Hwnd()), L"|#|");
        NestedDialogs nested;
        nested.On(L"Change Number", [](DialogHandle number) {
            ::CheckRadioButton(number.Hwnd(), kNoChange, kRenumber, kRenumber);
            number.SetText(kStart, L"1");
            number.Click(IDOK);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        renumbered = ListColumn(dlg.Hwnd(), 1);
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(renumbered, (Names{L"35.txt", L"4479.txt", L"1.txt"}));
    EXPECT_EQ(Entries(), (Names{L"1.txt", L"35.txt", L"4479.txt"}));
    EXPECT_TRUE(Holds(L"4479.txt", L"4567.txt"));
    for (const wchar_t* name : {L"1.txt", L"35.txt", L"4479.txt"})
        ASSERT_TRUE(DeleteTree(TempPath(name)));

    // The longest names the selection takes: full paths of 259 characters.
    const size_t room = 259 - TempPath(L"").size();
    ASSERT_GT(room, 20u);
    const std::wstring stem(room - 5, L'L');
    const Names longNames = MakeNamedFiles({stem + L"1.txt", stem + L"2.txt"});
    std::vector<int> states;
    std::wstring summary;
    ASSERT_TRUE(RunMultiRename(longNames, [&](DialogHandle dlg) {
        // Long enough for 255 characters, then one more.
        const std::wstring fits = std::wstring(255 - 5, L'M');
        TypeIntoPart(dlg.Hwnd(), 0, fits);
        EXPECT_EQ(StateImages(dlg.Hwnd()), (std::vector<int>{1, 1}));
        TypeIntoPart(dlg.Hwnd(), 0, fits + L"M");
        states = StateImages(dlg.Hwnd());
        NestedDialogs nested;
        nested.AnswerMessage();
        dlg.Click(IDOK);
        summary = nested.Messages().empty() ? L"" : nested.Messages().front();
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(states, (std::vector<int>{7, 7}));
    EXPECT_EQ(summary, L"Unable to rename files:\r\n2 files are being renamed to a name that is too long (> 255 "
                       L"characters).");
    EXPECT_EQ(Entries(), (Names{stem + L"1.txt", stem + L"2.txt"}));

    // One character more and the paths are not taken at all: no dialog, nothing renamed.
    const Names tooLong = MakeNamedFiles({stem + L"L1.txt", stem + L"L2.txt"});
    const ComPtr<IContextMenu> handler = CreateHandler(tooLong);
    ASSERT_TRUE(handler);
    DialogDriver driver(std::chrono::seconds(10));
    EXPECT_TRUE(InvokeByText(handler.Get(), L"Multi Rename"));
    EXPECT_TRUE(driver.SeenCaptions().empty());
    EXPECT_EQ(Entries().size(), 4u);
}

// Files that go or come while the dialog is open: a name taken meanwhile refuses the rename and
// keeps the newcomer; a file that has gone leaves the list and the others are renamed.
TEST_F(MultiRenameBadInputTest, FilesThatVanishOrAppearBeforeRename)
{
    const Names paths = MakeNamedFiles({L"a1.txt", L"a2.txt", L"a3.txt"});
    std::wstring summary;
    int rowsAfter = 0;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        TypeIntoPart(dlg.Hwnd(), 0, L"b");
        ASSERT_TRUE(DeleteTree(TempPath(L"a2.txt")));
        ASSERT_TRUE(WriteFileBytes(TempPath(L"b3.txt"), "newcomer"));
        NestedDialogs nested;
        nested.AnswerMessage();
        dlg.Click(IDOK);
        summary = nested.Messages().empty() ? L"" : nested.Messages().front();
        rowsAfter = ListView_GetItemCount(dlg.Item(kNames));
        EXPECT_EQ(StateImages(dlg.Hwnd()), (std::vector<int>{1, 6}));
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(summary, L"Unable to rename files:\r\n1 file is being renamed to the same name as an existing file.");
    EXPECT_EQ(rowsAfter, 2);
    EXPECT_EQ(Entries(), (Names{L"a1.txt", L"a3.txt", L"b3.txt"}));
    EXPECT_EQ(ReadFileBytes(TempPath(L"b3.txt")), std::optional<std::string>("newcomer"));

    ASSERT_TRUE(DeleteTree(TempPath(L"b3.txt")));
    ASSERT_TRUE(RunMultiRename({TempPath(L"a1.txt"), TempPath(L"a3.txt")}, [&](DialogHandle dlg) {
        TypeIntoPart(dlg.Hwnd(), 0, L"c");
        ASSERT_TRUE(DeleteTree(TempPath(L"a1.txt")));
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(Entries(), (Names{L"c3.txt"}));
    EXPECT_TRUE(Holds(L"c3.txt", L"a3.txt"));
}

// A rename that fails stops the ones after it, so that nothing lands on a name that was never
// freed; a message tells which files were renamed and which were not. With nothing renamed the
// dialog stays open.
TEST_F(MultiRenameBadInputTest, AFailedRenameStopsTheOnesAfterIt)
{
    struct Case
    {
        const wchar_t* locked; // held open without sharing, so that its move fails
        const wchar_t* message;
        bool closes;
        Tree after;
    };
    const Case cases[] = {
        {L"b.txt",
         L"Renaming stopped at \"b.txt\": it could not be renamed to \"c.txt\".\r\n\r\nRenamed (1):\r\nc.txt -> "
         L"d.txt\r\n\r\nNot renamed (2):\r\nb.txt -> c.txt\r\na.txt -> b.txt",
         true,
         {{L"a.txt", "a.txt"}, {L"b.txt", "b.txt"}, {L"d.txt", "c.txt"}}},
        {L"c.txt",
         L"Renaming stopped at \"c.txt\": it could not be renamed to \"d.txt\".\r\n\r\nNo file was renamed.",
         false,
         {{L"a.txt", "a.txt"}, {L"b.txt", "b.txt"}, {L"c.txt", "c.txt"}}},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        const Names paths = MakeNamedFiles({L"a.txt", L"b.txt", L"c.txt"});
        std::vector<std::wstring> messages;
        bool closed = false;
        ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
            SetClipboardText(L"b\nc\nd\n");
            dlg.Click(kPasteNames);
            const UniqueFile lock(::CreateFileW(TempPath(c.locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(lock);
            NestedDialogs nested;
            nested.AnswerMessage();
            dlg.Click(IDOK);
            messages = nested.Messages();
            closed = !::IsWindowVisible(dlg.Hwnd()); // ended: it goes once its loop returns
            if (!closed)
                dlg.Click(IDCANCEL);
        }));
        EXPECT_EQ(messages, std::vector<std::wstring>{c.message}) << WideToUtf8(c.locked);
        EXPECT_EQ(closed, c.closes) << WideToUtf8(c.locked);
        EXPECT_EQ(ReadTreeBelow(TempFolder()), c.after) << WideToUtf8(c.locked);
    }
}

// An item whose name, or whose folder's name, ends in a period or a space is renamed itself, never
// its twin without them; when Windows cannot be given exactly that item, nothing changes and a
// message says so.
TEST_F(MultiRenameBadInputTest, NamesEndingInAPeriodOrASpaceRenameOnlyThemselves)
{
    struct Case
    {
        Names made; // folders end in a backslash; each file holds its own path
        Names selected;
        size_t part; // the common part typed into
        const wchar_t* typed;
        bool refused;
        Tree after;
    };
    const Case cases[] = {
        {{L"a ", L"a", L"b "}, {L"a ", L"b "}, 1, L"x", true, {{L"a", "a"}, {L"a ", "a "}, {L"b ", "b "}}},
        {{L"a ", L"b "}, {L"a ", L"b "}, 1, L"x", false, {{L"ax", "a "}, {L"bx", "b "}}},
        {{L"sub.\\", L"sub.\\x.txt", L"sub.\\y.txt", L"sub\\", L"sub\\x.txt"},
         {L"sub.\\x.txt", L"sub.\\y.txt"},
         0,
         L"n",
         true,
         {{L"sub.\\", ""},
          {L"sub.\\x.txt", "sub.\\x.txt"},
          {L"sub.\\y.txt", "sub.\\y.txt"},
          {L"sub\\", ""},
          {L"sub\\x.txt", "sub\\x.txt"}}},
        {{L"sub.\\", L"sub.\\x.txt", L"sub.\\y.txt"},
         {L"sub.\\x.txt", L"sub.\\y.txt"},
         0,
         L"n",
         false,
         {{L"sub.\\", ""}, {L"sub.\\nx.txt", "sub.\\x.txt"}, {L"sub.\\ny.txt", "sub.\\y.txt"}}},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        for (const std::wstring& made : c.made)
            ASSERT_TRUE(made.ends_with(L'\\') ? CreateFolder(TempPath(made.substr(0, made.size() - 1)))
                                              : WriteFileBytes(TempPath(made), WideToUtf8(made)));
        Names paths;
        for (const std::wstring& name : c.selected)
            paths.push_back(TempPath(name));
        std::wstring message;
        ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
            TypeIntoPart(dlg.Hwnd(), c.part, c.typed);
            NestedDialogs nested;
            nested.On(L"Brelvanta", [&](DialogHandle box) {
                message = box.GetText(0xFFFF);
                box.Click(IDOK);
            });
            dlg.Click(IDOK);
            if (::IsWindowVisible(dlg.Hwnd()))
                dlg.Click(IDCANCEL);
        }));
        const std::string what = WideToUtf8(c.selected.front());
        EXPECT_EQ(message.starts_with(L"Nothing was changed: Windows cannot be given exactly this item."), c.refused)
            << what;
        EXPECT_EQ(ReadTreeBelow(TempFolder()), c.after) << what;
    }
}
