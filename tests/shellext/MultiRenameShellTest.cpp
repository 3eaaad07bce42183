#include "tests/shellext/MultiRenameTestSupport.h"
#include "tests/support/ClipboardHelpers.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/KeyboardAccess.h"
#include "winsupport/SettingsStore.h"
#include "winsupport/StringUtil.h"

#include <commctrl.h>

#include <gtest/gtest.h>

using namespace rename_ids;

namespace
{
using Names = std::vector<std::wstring>;

// The check boxes remember their last states for the life of the DLL: each test starts unchecked.
void StartUnchecked(HWND dlg)
{
    for (const int id : {kAllowExtension, kNumbersAsText})
        if (IsButtonChecked(dlg, id))
            ClickCheck(dlg, id, false);
}

thread_local std::wstring* t_menuTexts = nullptr;

BOOL CALLBACK FindOpenMenu(HWND window, LPARAM context) noexcept
{
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (::IsWindowVisible(window) && std::wstring(name) == L"#32768")
    {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

// Reads the texts of the open popup menu, then closes it.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    HWND window = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindOpenMenu, reinterpret_cast<LPARAM>(&window));
    if (!window || !t_menuTexts || !t_menuTexts->empty())
        return;
    const auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
    {
        wchar_t text[128] = {};
        if (::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION) > 0)
            *t_menuTexts += (t_menuTexts->empty() ? L"" : L"|") + std::wstring(text);
    }
    ::EndMenu();
}

void ClickRadio(HWND dialog, int first, int last, int id)
{
    ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, id))) << id;
    ::CheckRadioButton(dialog, first, last, id);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::wstring Repeat(wchar_t c, size_t count)
{
    return std::wstring(count, c);
}
} // namespace

// What the dialog shows for typical sets: the part row, the check boxes' rules, the rows.
TEST_F(MultiRenameTest, ShowsThePartsAndRowsOfTypicalSets)
{
    struct Case
    {
        Names names;
        const wchar_t* parts;        // check boxes unchecked
        const wchar_t* partsWithExt; // "Allow Extension Changes" checked; null when it is disabled
        bool numbersEnabled;
    };
    const Case cases[] = {
        {{L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"}, L"IMG_|#|", L"IMG_|#|.jpg", true},
        {{L"Show S01E01.mkv", L"Show S01E02.mkv", L"Show S01E10.mkv"}, L"Show S01E|#|", L"Show S01E|#|.mkv", true},
        {{L"2021-03-07 report.pdf", L"2021-04-11 report.docx"},
         L"2021-|#|-|#| report",
         L"2021-|#|-|#| report|.*",
         true},
        {{L"notes", L"notes.txt"}, L"notes", nullptr, false},
        {{L"xAy.txt", L"xBy.txt"}, L"x|*|y", L"x|*|y.txt", false},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        const Names paths = MakeNamedFiles(c.names);
        std::wstring parts;
        std::wstring partsWithExt;
        Names oldNames;
        Names newNames;
        std::vector<int> states;
        bool extensionEnabled = false;
        bool numbersEnabled = false;
        ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
            StartUnchecked(dlg.Hwnd());
            parts = PartTexts(dlg.Hwnd());
            oldNames = ListColumn(dlg.Hwnd(), 0);
            newNames = ListColumn(dlg.Hwnd(), 1);
            states = StateImages(dlg.Hwnd());
            extensionEnabled = dlg.IsEnabled(kAllowExtension);
            numbersEnabled = dlg.IsEnabled(kNumbersAsText);
            if (extensionEnabled)
            {
                ClickCheck(dlg.Hwnd(), kAllowExtension, true);
                partsWithExt = PartTexts(dlg.Hwnd());
                ClickCheck(dlg.Hwnd(), kAllowExtension, false);
            }
            dlg.Click(IDCANCEL);
        }));
        const std::string what = WideToUtf8(c.names.front());
        EXPECT_EQ(parts, c.parts) << what;
        EXPECT_EQ(extensionEnabled, c.partsWithExt != nullptr) << what;
        EXPECT_EQ(partsWithExt, c.partsWithExt ? c.partsWithExt : L"") << what;
        EXPECT_EQ(numbersEnabled, c.numbersEnabled) << what;
        Names sorted = c.names;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(oldNames, sorted) << what;
        EXPECT_EQ(newNames, sorted) << what;
        EXPECT_EQ(states, std::vector<int>(c.names.size(), 2)) << what; // nothing to do yet
        EXPECT_EQ(Entries(), sorted) << what;                           // Cancel renames nothing
    }
}

// Typing into a common part renames every file; each file keeps its contents.
TEST_F(MultiRenameTest, AnEditOfACommonPartRenamesEveryFile)
{
    const Names paths = MakeNamedFiles({L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"});
    Names newNames;
    std::vector<int> states;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        TypeIntoPart(dlg.Hwnd(), 0, L"Holiday ");
        // The edit follows the part into the analysis that the check boxes choose.
        ClickCheck(dlg.Hwnd(), kAllowExtension, true);
        EXPECT_EQ(PartTexts(dlg.Hwnd()), L"Holiday |#|.jpg");
        EXPECT_EQ(ListColumn(dlg.Hwnd(), 1).front(), L"Holiday 0012.jpg");
        ClickCheck(dlg.Hwnd(), kAllowExtension, false);
        ClickCheck(dlg.Hwnd(), kNumbersAsText, true);
        EXPECT_EQ(PartTexts(dlg.Hwnd()).find(L'#'), std::wstring::npos);
        ClickCheck(dlg.Hwnd(), kNumbersAsText, false);
        EXPECT_EQ(PartTexts(dlg.Hwnd()), L"Holiday |#|");
        newNames = ListColumn(dlg.Hwnd(), 1);
        states = StateImages(dlg.Hwnd());
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(newNames, (Names{L"Holiday 0012.jpg", L"Holiday 0013.jpg", L"Holiday 0101.jpg"}));
    EXPECT_EQ(states, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(Entries(), (Names{L"Holiday 0012.jpg", L"Holiday 0013.jpg", L"Holiday 0101.jpg"}));
    EXPECT_TRUE(Holds(L"Holiday 0012.jpg", L"IMG_0012.jpg"));
    EXPECT_TRUE(Holds(L"Holiday 0101.jpg", L"IMG_0101.jpg"));
}

// Change Number: its enabled states, renumbering with the widths kept, the remembered boxes.
TEST_F(MultiRenameTest, RenumbersThroughChangeNumber)
{
    const Names paths = MakeNamedFiles({L"file007.txt", L"file010.txt"});
    Names renumbered;
    Names padded;
    std::wstring secondStart;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        NestedDialogs nested;
        nested.On(L"Change Number", [&](DialogHandle number) {
            EXPECT_TRUE(IsButtonChecked(number.Hwnd(), kNoChange));
            EXPECT_TRUE(IsButtonChecked(number.Hwnd(), kZerosNone));
            EXPECT_EQ(number.GetText(kStart), L"1");
            EXPECT_EQ(number.GetText(kDigits), L"4");
            EXPECT_FALSE(number.IsEnabled(kNumberReset));
            EXPECT_FALSE(number.IsEnabled(kStart));
            EXPECT_FALSE(number.IsEnabled(kDigits));
            // Clear Text takes the leading zeros away with it.
            EXPECT_TRUE(number.Click(kNumberClear));
            EXPECT_TRUE(IsButtonChecked(number.Hwnd(), kClearText));
            EXPECT_FALSE(number.IsEnabled(kNumberClear));
            EXPECT_FALSE(number.IsEnabled(kZerosMake));
            EXPECT_TRUE(number.IsEnabled(kNumberReset));
            EXPECT_TRUE(number.Click(kNumberReset));
            EXPECT_TRUE(IsButtonChecked(number.Hwnd(), kNoChange));
            ClickRadio(number.Hwnd(), kNoChange, kRenumber, kRenumber);
            EXPECT_TRUE(number.IsEnabled(kStart));
            number.SetText(kStart, L"1");
            EXPECT_TRUE(number.Click(IDOK));
        });
        ClickPartButton(dlg.Hwnd(), 0);
        renumbered = ListColumn(dlg.Hwnd(), 1);
        nested.On(L"Change Number", [&](DialogHandle number) {
            secondStart = number.GetText(kStart);
            EXPECT_TRUE(IsButtonChecked(number.Hwnd(), kRenumber));
            ClickRadio(number.Hwnd(), kZerosNone, kZerosMake, kZerosMake);
            EXPECT_TRUE(number.IsEnabled(kDigits));
            number.SetText(kDigits, L"2");
            number.SetText(kStart, L"5000000000");
            EXPECT_TRUE(number.Click(IDOK));
        });
        ClickPartButton(dlg.Hwnd(), 0);
        padded = ListColumn(dlg.Hwnd(), 1);
        // The start keeps only its low 32 bits in the settings.
        nested.On(L"Change Number", [&](DialogHandle number) {
            secondStart = number.GetText(kStart);
            EXPECT_EQ(number.GetText(kDigits), L"2");
            number.Click(IDCANCEL);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        EXPECT_EQ(ListColumn(dlg.Hwnd(), 1), padded); // Cancel leaves the part as it was
        EXPECT_EQ(nested.Pending(), 0u);
        // Back to renumbering from 1 for the rename itself.
        nested.On(L"Change Number", [&](DialogHandle number) {
            ClickRadio(number.Hwnd(), kZerosNone, kZerosMake, kZerosNone);
            number.SetText(kStart, L"1");
            number.Click(IDOK);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(renumbered, (Names{L"file001.txt", L"file004.txt"}));
    EXPECT_EQ(padded, (Names{L"file5000000000.txt", L"file5000000003.txt"}));
    EXPECT_EQ(secondStart, L"705032704");
    EXPECT_EQ(Entries(), (Names{L"file001.txt", L"file004.txt"}));
    EXPECT_TRUE(Holds(L"file001.txt", L"file007.txt"));
    EXPECT_TRUE(Holds(L"file004.txt", L"file010.txt"));
}

// The remembered start and digit count come back only as their boxes can show them: a count of
// two billion digits would make every name gigabytes long.
TEST_F(MultiRenameTest, RemembersNumbersOnlyAsTheirBoxesShowThem)
{
    const Names paths = MakeNamedFiles({L"file7.txt", L"file9.txt"});
    struct Case
    {
        DWORD digits;
        DWORD start;
        const wchar_t* digitsShown;
        const wchar_t* startShown;
        int state; // of both rows once "Make number with" that many digits
    };
    // 999 digits make names too long; 0 digits count as 1, which changes nothing here.
    for (const Case& c : {Case{0x7FFFFFF0, 5, L"999", L"5", 7}, Case{0xFFFFFFFF, 0x80000000, L"0", L"-2147483648", 2},
                          Case{12, 0, L"12", L"0", 1}})
    {
        ASSERT_TRUE(WriteSettingDword(L"NumberDlg NDigits", c.digits));
        ASSERT_TRUE(WriteSettingDword(L"NumberDlg Start", c.start));
        std::wstring digitsShown;
        std::wstring startShown;
        std::vector<int> states;
        ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
            StartUnchecked(dlg.Hwnd());
            NestedDialogs nested;
            nested.On(L"Change Number", [&](DialogHandle number) {
                digitsShown = number.GetText(kDigits);
                startShown = number.GetText(kStart);
                if (digitsShown.size() > 3)
                {
                    number.Click(IDCANCEL);
                    return;
                }
                ClickRadio(number.Hwnd(), kZerosNone, kZerosMake, kZerosMake);
                number.Click(IDOK);
            });
            ClickPartButton(dlg.Hwnd(), 0);
            states = StateImages(dlg.Hwnd());
            dlg.Click(IDCANCEL);
        }));
        EXPECT_EQ(digitsShown, c.digitsShown) << c.digits;
        EXPECT_EQ(startShown, c.startShown) << c.start;
        EXPECT_EQ(states, std::vector<int>(2, c.state)) << c.digits;
    }
}

// Change Wild: case changes and truncation; Clear Text gives every name the same name, refused.
TEST_F(MultiRenameTest, ChangesCaseAndLengthThroughChangeWild)
{
    const Names paths = MakeNamedFiles({L"Trip beach.jpg", L"Trip sky.jpg"});
    Names upper;
    Names truncated;
    NestedDialogs* messages = nullptr;
    std::wstring summary;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        EXPECT_EQ(PartTexts(dlg.Hwnd()), L"Trip |*|");
        NestedDialogs nested;
        messages = &nested;
        nested.On(L"Change Wild", [&](DialogHandle wild) {
            EXPECT_FALSE(wild.IsEnabled(kWildReset));
            EXPECT_FALSE(wild.IsEnabled(kLength));
            EXPECT_EQ(wild.GetText(kLength), L"8");
            ClickRadio(wild.Hwnd(), kCaseNone, kCaseLower, kCaseUpper);
            EXPECT_TRUE(wild.IsEnabled(kWildReset));
            wild.Click(IDOK);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        TypeIntoPart(dlg.Hwnd(), 0, L"Holiday ");
        upper = ListColumn(dlg.Hwnd(), 1);
        nested.On(L"Change Wild", [&](DialogHandle wild) {
            EXPECT_TRUE(IsButtonChecked(wild.Hwnd(), kCaseUpper));
            ClickRadio(wild.Hwnd(), kCaseNone, kCaseLower, kCaseLower);
            ClickCheck(wild.Hwnd(), kTruncate, true);
            EXPECT_TRUE(wild.IsEnabled(kLength));
            wild.SetText(kLength, L"4");
            wild.Click(IDOK);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        truncated = ListColumn(dlg.Hwnd(), 1);
        nested.On(L"Change Wild", [&](DialogHandle wild) {
            EXPECT_TRUE(wild.Click(kWildClear));
            EXPECT_TRUE(IsButtonChecked(wild.Hwnd(), kTruncate));
            EXPECT_EQ(wild.GetText(kLength), L"0");
            EXPECT_FALSE(wild.IsEnabled(kWildClear));
            wild.Click(IDOK);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        EXPECT_EQ(ListColumn(dlg.Hwnd(), 1), (Names{L"Holiday .jpg", L"Holiday .jpg"}));
        EXPECT_EQ(StateImages(dlg.Hwnd()), (std::vector<int>{5, 5}));
        nested.AnswerMessage();
        dlg.Click(IDOK); // refused: the dialog stays
        summary = nested.Messages().empty() ? L"" : nested.Messages().front();
        // Back to lower case at four characters, which renames.
        nested.On(L"Change Wild", [&](DialogHandle wild) {
            EXPECT_TRUE(wild.Click(kWildReset));
            EXPECT_FALSE(IsButtonChecked(wild.Hwnd(), kTruncate));
            ClickRadio(wild.Hwnd(), kCaseNone, kCaseLower, kCaseLower);
            ClickCheck(wild.Hwnd(), kTruncate, true);
            wild.SetText(kLength, L"4");
            wild.Click(IDOK);
        });
        ClickPartButton(dlg.Hwnd(), 0);
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(upper, (Names{L"Holiday BEACH.jpg", L"Holiday SKY.jpg"}));
    EXPECT_EQ(truncated, (Names{L"Holiday beac.jpg", L"Holiday sky.jpg"}));
    EXPECT_EQ(summary, L"Unable to rename files:\r\n2 files are being renamed to the same name.");
    EXPECT_EQ(Entries(), (Names{L"Holiday beac.jpg", L"Holiday sky.jpg"}));
    EXPECT_TRUE(Holds(L"Holiday beac.jpg", L"Trip beach.jpg"));
    EXPECT_TRUE(Holds(L"Holiday sky.jpg", L"Trip sky.jpg"));
}

// Tags in a common part take each file's own values; a malformed one refuses with status 9.
TEST_F(MultiRenameTest, TagsTakeEachFilesValues)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"2021")));
    const Names paths = MakeNamedFiles({L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"}, L"2021");
    Names numbered;
    std::vector<int> badStates;
    std::wstring summary;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        TypeIntoPart(dlg.Hwnd(), 0, L"<F> <X> ");
        badStates = StateImages(dlg.Hwnd());
        NestedDialogs nested;
        nested.AnswerMessage();
        dlg.Click(IDOK);
        summary = nested.Messages().empty() ? L"" : nested.Messages().front();
        TypeIntoPart(dlg.Hwnd(), 0, L"<F>-<10,5:3>-");
        numbered = ListColumn(dlg.Hwnd(), 1);
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(badStates, (std::vector<int>{7, 7, 7}));
    EXPECT_EQ(summary, L"Unable to rename files:\r\n3 files are being renamed to an invalid name. Filenames cannot "
                       L"contain any of these characters: \\ / : * ? \" < > |");
    EXPECT_EQ(numbered, (Names{L"2021-010-0012.jpg", L"2021-015-0013.jpg", L"2021-020-0101.jpg"}));
    EXPECT_EQ(Entries(L"2021"), numbered);
    EXPECT_TRUE(Holds(L"2021-020-0101.jpg", L"IMG_0101.jpg", L"2021"));
}

// Copy Names and Paste Names through the real clipboard, with every refusal of a bad clipboard;
// Reset brings back the derived names and the parts.
TEST_F(MultiRenameTest, CopiesAndPastesNames)
{
    const Names paths = MakeNamedFiles({L"a.jpg", L"b.jpg", L"c.jpg"});
    std::wstring copied;
    Names pasted;
    Names afterReset;
    bool partsEnabledAfterPaste = true;
    bool partsEnabledAfterReset = false;
    std::vector<std::wstring> messages;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        NestedDialogs nested;
        nested.AnswerMessage();
        dlg.Click(kCopyNames);
        copied = ClipboardTextNow();
        const std::wstring megabyteLine = Repeat(L'n', 1 << 20);
        std::wstring megabyteLines;
        for (int i = 0; i < 100000; ++i)
            megabyteLines += L"name" + std::to_wstring(i) + L"\r\n";
        for (const std::wstring& bad : {std::wstring(L"one\ntwo\n"), std::wstring(L"1\n2\n3\n4\n"), std::wstring(),
                                        std::wstring(L"x\ny:z\nw\n"), megabyteLine, megabyteLines})
        {
            SetClipboardText(bad.c_str());
            nested.AnswerMessage();
            dlg.Click(kPasteNames);
            EXPECT_EQ(ListColumn(dlg.Hwnd(), 1), (Names{L"a.jpg", L"b.jpg", L"c.jpg"}));
        }
        SetClipboardText(L"  Holiday\r\nBeach.png\r\n\r\n \t\r\nCity.\r\n");
        dlg.Click(kPasteNames);
        pasted = ListColumn(dlg.Hwnd(), 1);
        partsEnabledAfterPaste =
            ::IsWindowEnabled(PartRow(dlg.Hwnd()).front().window) != FALSE || dlg.IsEnabled(kAllowExtension);
        dlg.Click(kReset);
        afterReset = ListColumn(dlg.Hwnd(), 1);
        partsEnabledAfterReset = ::IsWindowEnabled(PartRow(dlg.Hwnd()).front().window) != FALSE;
        messages = nested.Messages();
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(copied, L"a.jpg\nb.jpg\nc.jpg\n");
    // The message formatting writes its line breaks as CR LF.
    const std::wstring count = L"The text on the clipboard must contain one line for each filename.\r\n\r\nNumber of "
                               L"files to rename: 3\r\nNumber of lines on clipboard: ";
    const std::wstring characters = L"The text on the clipboard cannot be used to name the files, since it contains "
                                    L"one of these characters which are not allowed in filenames:\n\\ / : * ? \" < > |";
    EXPECT_EQ(messages, (std::vector<std::wstring>{
                            L"The filenames have been copied to the clipboard.", count + L"2", count + L"4",
                            count + L"0", characters,
                            L"The text on the clipboard cannot be used to name the files, since at least one line is "
                            L"longer than the maximum filename length allowed by Windows (255 characters).",
                            count + L"100000"}));
    EXPECT_EQ(pasted, (Names{L"Holiday.jpg", L"Beach.jpg", L"City.jpg"}));
    EXPECT_FALSE(partsEnabledAfterPaste);
    EXPECT_EQ(afterReset, (Names{L"a.jpg", L"b.jpg", L"c.jpg"}));
    EXPECT_TRUE(partsEnabledAfterReset);
    EXPECT_EQ(Entries(), (Names{L"a.jpg", L"b.jpg", L"c.jpg"}));
}

// Refused renames leave the folder as it was: a name of a file not in the list or another file's
// short name, names the file system cannot hold, one folder named in two letter cases, a name
// ending in a period, a name too long; a chain lands in order, a swap is refused.
TEST_F(MultiRenameTest, RefusesWhatWouldLoseAFileAndOrdersChains)
{
    const Names files{L"a.txt", L"b.txt", L"c.txt", L"other.txt", L"quarterly report.txt"};
    const auto makeFiles = [&] {
        EXPECT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()) && CreateFolder(TempPath(L"sub")));
        MakeNamedFiles(files);
        MakeNamedFiles({L"x.txt", L"y.txt"}, L"sub");
    };
    makeFiles();
    const std::map<std::wstring, std::string> made = ReadTreeBelow(TempFolder());
    const Names abc{L"a.txt", L"b.txt", L"c.txt"};
    struct Case
    {
        Names selected;
        std::wstring clipboard;
        std::vector<int> states;
        const wchar_t* summary;
    };
    std::vector<Case> refused = {
        {abc,
         L"other\nx\ny\n",
         {6, 1, 1},
         L"Unable to rename files:\r\n1 file is being renamed to the same name as an existing file."},
        {abc,
         L"b\na\nc\n",
         {6, 6, 2},
         L"Unable to rename files:\r\n2 files are being renamed to the same name as existing files."},
        {abc, L"x\ny\nz \n", {1, 1, 1}, nullptr}, // trimmed: fine
        // b's rename would fail and a would land on b: refused before anything moves.
        {abc,
         L"b\nc\td\nz\n",
         {1, 7, 1},
         L"Unable to rename files:\r\n1 file is being renamed to an invalid name. Filenames cannot contain control "
         L"characters, such as a tab or a line break, or any of these characters: \\ / : * ? \" < > |"},
        {abc,
         L"nul\nCON\nlpt1.x\n",
         {7, 7, 7},
         L"Unable to rename files:\r\n3 files are being renamed to names that Windows reserves for devices. "
         L"Filenames cannot be CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, with or without an extension."},
        {{L"sub\\x.txt", L"SUB\\y.txt"},
         L"same\nsame\n",
         {5, 5},
         L"Unable to rename files:\r\n2 files are being renamed to the same name."},
    };
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(::GetShortPathNameW(TempPath(files.back()).c_str(), shortName.data(), MAX_PATH));
    shortName.erase(0, shortName.rfind(L'\\') + 1);
    if (shortName != files.back()) // where the volume gives short names
        refused.push_back(
            {{L"a.txt", L"b.txt"},
             shortName + L"\nz\n",
             {6, 1},
             L"Unable to rename files:\r\n1 file is being renamed to the same name as an existing file."});
    for (const Case& c : refused)
    {
        makeFiles(); // whatever the row before did
        Names selected;
        for (const std::wstring& name : c.selected)
            selected.push_back(TempPath(name));
        std::vector<int> states;
        std::wstring summary;
        ASSERT_TRUE(RunMultiRename(selected, [&](DialogHandle dlg) {
            StartUnchecked(dlg.Hwnd());
            SetClipboardText(c.clipboard.c_str());
            dlg.Click(kPasteNames); // the names keep .txt
            states = StateImages(dlg.Hwnd());
            NestedDialogs nested;
            nested.AnswerMessage();
            if (c.summary)
                dlg.Click(IDOK);
            summary = nested.Messages().empty() ? L"" : nested.Messages().front();
            dlg.Click(IDCANCEL);
        }));
        EXPECT_EQ(states, c.states) << WideToUtf8(c.clipboard);
        EXPECT_EQ(summary, c.summary ? c.summary : L"") << WideToUtf8(c.clipboard);
        EXPECT_EQ(ReadTreeBelow(TempFolder()), made) << WideToUtf8(c.clipboard);
    }
    ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
    const Names paths = MakeNamedFiles({L"a.txt", L"b.txt", L"c.txt", L"other.txt"});
    const Names selected(paths.begin(), paths.begin() + 3);

    // Period, too long: each refused with its own line.
    std::wstring summary;
    ASSERT_TRUE(RunMultiRename(selected, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        SetClipboardText((L"end.\n" + Repeat(L'L', 252) + L"\n" + Repeat(L'M', 251) + L"\n").c_str());
        dlg.Click(kPasteNames);
        // 252 + ".txt" is 256 characters, 251 + ".txt" exactly 255.
        EXPECT_EQ(StateImages(dlg.Hwnd()), (std::vector<int>{1, 7, 1}));
        NestedDialogs nested;
        nested.AnswerMessage();
        dlg.Click(IDOK);
        summary = nested.Messages().empty() ? L"" : nested.Messages().front();
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(summary, L"Unable to rename files:\r\n1 file is being renamed to a name that is too long (> 255 "
                       L"characters).");
    EXPECT_EQ(Entries(), (Names{L"a.txt", L"b.txt", L"c.txt", L"other.txt"}));

    // A chain: a to b, b to c, c to d; each file's contents move along.
    ASSERT_TRUE(RunMultiRename(selected, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        SetClipboardText(L"b\nc\nd\n");
        dlg.Click(kPasteNames);
        EXPECT_EQ(StateImages(dlg.Hwnd()), (std::vector<int>{1, 1, 1}));
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(Entries(), (Names{L"b.txt", L"c.txt", L"d.txt", L"other.txt"}));
    EXPECT_TRUE(Holds(L"b.txt", L"a.txt"));
    EXPECT_TRUE(Holds(L"c.txt", L"b.txt"));
    EXPECT_TRUE(Holds(L"d.txt", L"c.txt"));
    EXPECT_TRUE(Holds(L"other.txt", L"other.txt"));
}

// The names list's context menu: its texts follow the selection; removing rows, and the refusal to
// remove them all; a trailing period in a pasted name refused with the rule's sentence.
TEST_F(MultiRenameTest, ContextMenuOfTheNamesList)
{
    const Names paths = MakeNamedFiles({L"s01.txt", L"s02.txt", L"s03.txt"});
    std::wstring oneSelected;
    std::wstring twoSelected;
    Names afterRemove;
    std::vector<std::wstring> messages;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        const HWND list = dlg.Item(kNames);
        NestedDialogs nested;
        // A right-click's menu, read while it is open.
        auto readMenu = [&](std::wstring& texts) {
            RECT rect{};
            ::GetWindowRect(list, &rect);
            t_menuTexts = &texts;
            const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &ReadOpenMenu);
            ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                           MAKELPARAM(rect.left + 20, rect.top + 30));
            ::KillTimer(nullptr, timer);
            t_menuTexts = nullptr;
        };
        dlg.SelectRow(kNames, 1);
        readMenu(oneSelected);
        dlg.Command(kMenuSelectAll);
        readMenu(twoSelected);
        nested.AnswerMessage();
        dlg.Command(kMenuRemove); // every row: refused
        EXPECT_EQ(ListView_GetItemCount(list), 3);
        dlg.Command(kMenuInvert); // none selected now
        dlg.SelectRow(kNames, 0);
        dlg.Command(kMenuRemove);
        afterRemove = ListColumn(dlg.Hwnd(), 0);
        // The row numbers of the tags follow the list without the removed row.
        TypeIntoPart(dlg.Hwnd(), 0, L"<1>-");
        EXPECT_EQ(ListColumn(dlg.Hwnd(), 1), (Names{L"1-02.txt", L"2-03.txt"}));
        // Pasting onto the selected row only; Reset Name(s) gives it back its derived name.
        dlg.SelectRow(kNames, 0);
        SetClipboardText(L"end.\n");
        dlg.Command(kMenuPaste);
        EXPECT_EQ(ListColumn(dlg.Hwnd(), 1), (Names{L"end.txt", L"2-03.txt"}));
        dlg.Command(kMenuResetNames);
        EXPECT_EQ(ListColumn(dlg.Hwnd(), 1), (Names{L"1-02.txt", L"2-03.txt"}));
        ClickCheck(dlg.Hwnd(), kAllowExtension, true);
        dlg.SelectRow(kNames, 0);
        dlg.Command(kMenuPaste);
        EXPECT_EQ(StateImages(dlg.Hwnd()), (std::vector<int>{7, 1}));
        nested.AnswerMessage();
        dlg.Click(IDOK);
        ClickCheck(dlg.Hwnd(), kAllowExtension, false);
        messages = nested.Messages();
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(oneSelected, L"&Copy Name|&Paste Name|&Reset Name|Remove File From List|Select &All|&Invert Selection");
    EXPECT_EQ(twoSelected,
              L"&Copy Names|&Paste Names|&Reset Names|Remove Files From List|Select &All|&Invert Selection");
    EXPECT_EQ(afterRemove, (Names{L"s02.txt", L"s03.txt"}));
    EXPECT_EQ(messages, (std::vector<std::wstring>{
                            L"You cannot remove all the files from the list.",
                            L"Unable to rename files:\r\n1 file is being renamed to an invalid name. Filenames must "
                            L"not start or end with a space, and must not end with a period."}));
    EXPECT_EQ(Entries(), (Names{L"s01.txt", L"s02.txt", L"s03.txt"}));
}

// The window: its icon, its smallest size, its size remembered as "MultiRenameDlg", and the check
// boxes remembered for the next Multi Rename of the process (not stored).
TEST_F(MultiRenameTest, RemembersItsSizeAndCheckBoxes)
{
    const Names paths = MakeNamedFiles({L"IMG_0012.jpg", L"IMG_0013.jpg"});
    SIZE resized{};
    SIZE smallest{};
    int pasteGap = 0;
    int resetGap = 0;
    bool icon = false;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        StartUnchecked(dlg.Hwnd());
        icon = ::SendMessageW(dlg.Hwnd(), WM_GETICON, ICON_SMALL, 0) != 0;
        ::SetWindowPos(dlg.Hwnd(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
        RECT rect{};
        ::GetWindowRect(dlg.Hwnd(), &rect);
        smallest = {rect.right - rect.left, rect.bottom - rect.top};
        const auto gap = [&](int staying, int moving) {
            RECT left{};
            RECT right{};
            ::GetWindowRect(dlg.Item(staying), &left);
            ::GetWindowRect(dlg.Item(moving), &right);
            return static_cast<int>(right.left - left.right);
        };
        pasteGap = gap(kPasteNames, IDOK);
        resetGap = std::min(gap(kAllowExtension, kReset), gap(kNumbersAsText, kReset));
        ::SetWindowPos(dlg.Hwnd(), nullptr, 0, 0, 700, 480, SWP_NOMOVE | SWP_NOZORDER);
        ::GetWindowRect(dlg.Hwnd(), &rect);
        resized = {rect.right - rect.left, rect.bottom - rect.top};
        // The part row stays centred in the wider window.
        const std::vector<PartControl> parts = PartRow(dlg.Hwnd());
        RECT client{};
        ::GetClientRect(dlg.Hwnd(), &client);
        EXPECT_NEAR(parts.front().rect.left, client.right - parts.back().rect.right, 2);
        ClickCheck(dlg.Hwnd(), kAllowExtension, true);
        dlg.Click(IDCANCEL);
    }));
    EXPECT_TRUE(icon);
    const UINT dpi = [] {
        const HDC screen = ::GetDC(nullptr);
        const int value = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        return static_cast<UINT>(value);
    }();
    // 420 wide, or just wider where the dialog font would bring Rename closer than 6 to Paste Names
    // or Reset to the check boxes.
    const int leastGap = static_cast<int>((6 * dpi + 48) / 96);
    EXPECT_GE(pasteGap, leastGap);
    EXPECT_GE(resetGap, leastGap);
    if (smallest.cx != static_cast<LONG>((420 * dpi + 48) / 96))
    {
        EXPECT_GT(smallest.cx, static_cast<LONG>((420 * dpi + 48) / 96));
        EXPECT_EQ(std::min(pasteGap, resetGap), leastGap);
    }
    EXPECT_EQ(smallest.cy, static_cast<LONG>((300 * dpi + 48) / 96));
    DWORD width = 0;
    DWORD size = sizeof(width);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Kaldrith Software\\Brelvanta", L"MultiRenameDlgWidth",
                             RRF_RT_REG_DWORD, nullptr, &width, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(width, static_cast<DWORD>((resized.cx * 96 + dpi / 2) / dpi));

    SIZE reopened{};
    bool remembered = false;
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        RECT rect{};
        ::GetWindowRect(dlg.Hwnd(), &rect);
        reopened = {rect.right - rect.left, rect.bottom - rect.top};
        remembered = IsButtonChecked(dlg.Hwnd(), kAllowExtension);
        EXPECT_EQ(PartTexts(dlg.Hwnd()), L"IMG_|#|.jpg");
        StartUnchecked(dlg.Hwnd());
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(reopened.cx, resized.cx);
    EXPECT_EQ(reopened.cy, resized.cy);
    EXPECT_TRUE(remembered);
}

// Multi Rename and the dialogs of its part buttons as a keyboard user finds them: Multi Rename on
// the first part a user edits, Change Wild and Change Number on their first choice, the rename or
// OK as the default button, and an access key on every control, none given twice.
TEST_F(MultiRenameTest, OpensOnTheFirstPartWithUniqueAccessKeys)
{
    struct Row
    {
        Names names;
        const wchar_t* partDialog; // what the row's first button opens
        int partFocus;
    };
    const Row rows[] = {
        {{L"Trip beach.jpg", L"Trip sky.jpg"}, L"Change Wild", kTruncate},
        {{L"file007.txt", L"file010.txt"}, L"Change Number", kNoChange},
    };
    for (const Row& row : rows)
    {
        ASSERT_TRUE(CreateFolder(TempPath(row.partDialog)));
        const Names paths = MakeNamedFiles(row.names, row.partDialog);
        bool partShown = false;
        ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
            StartUnchecked(dlg.Hwnd());
            const std::vector<PartControl> parts = PartRow(dlg.Hwnd());
            const auto firstEdit =
                std::find_if(parts.begin(), parts.end(), [](const PartControl& part) { return !part.button; });
            ASSERT_NE(firstEdit, parts.end()) << PartTexts(dlg.Hwnd());
            EXPECT_EQ(::GetFocus(), firstEdit->window) << "focus on " << FocusedControlId(dlg.Hwnd());
            EXPECT_EQ(DefaultButtonId(dlg.Hwnd()), IDOK);
            EXPECT_EQ(AccessKeyFaults(dlg.Hwnd()), Names{});
            NestedDialogs nested;
            nested.On(row.partDialog, [&](DialogHandle part) {
                partShown = true;
                EXPECT_EQ(FocusedControlId(part.Hwnd()), row.partFocus) << row.partDialog;
                EXPECT_EQ(DefaultButtonId(part.Hwnd()), IDOK) << row.partDialog;
                EXPECT_EQ(AccessKeyFaults(part.Hwnd()), Names{}) << row.partDialog;
                part.Click(IDCANCEL);
            });
            ClickPartButton(dlg.Hwnd(), 0);
            dlg.Click(IDCANCEL);
        }));
        EXPECT_TRUE(partShown) << row.partDialog;
    }
}
