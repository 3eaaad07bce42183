// What a screen reader gets from the Multi Rename dialog of the built DLL: each row's status in
// words, and part buttons named for what a click on them does, as their tooltips say.
#include "tests/shellext/MultiRenameTestSupport.h"
#include "tests/support/AccessibleReader.h"
#include "tests/support/ClipboardHelpers.h"
#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

using namespace rename_ids;

namespace
{
using Names = std::vector<std::wstring>;

constexpr wchar_t kNumberPart[] = L"Number part: click to renumber it, clear it or change its leading zeros";
constexpr wchar_t kWildPart[] = L"Wild part: click to change its case, shorten it or clear it";
constexpr wchar_t kExtensionPart[] = L"Extension part: click to change its case, shorten it or clear it";

// Each row's description, in list order.
Names Descriptions(HWND dialog)
{
    const HWND list = ::GetDlgItem(dialog, kNames);
    Names texts;
    const long rows = static_cast<long>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (long row = 0; row < rows; ++row)
        texts.push_back(ReadAccessible(list, row + 1).description);
    return texts;
}
} // namespace

// Every status a row can show after an edit of the first common part is read as words.
TEST_F(MultiRenameTest, ScreenReadersReadEachRowsStatus)
{
    struct Case
    {
        const wchar_t* typed; // into the first common part
        const wchar_t* status;
    };
    const Case cases[] = {
        {L"IMG_", L"Unchanged: the new name is the old name"},
        {L"PIC_", L"Will be renamed"},
        {L"a<", L"Error: a common part holds text that is not allowed in names"},
        {L" ", L"Error: the new name starts with a space, or ends with a space or a period"},
        {L"", L"Will be renamed"},
    };
    const Names paths = MakeNamedFiles({L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"});
    ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
        for (const Case& c : cases)
        {
            TypeIntoPart(dlg.Hwnd(), 0, c.typed);
            EXPECT_EQ(Descriptions(dlg.Hwnd()), Names(3, c.status)) << c.typed;
        }
        dlg.Click(IDCANCEL);
    }));

    // Pasted names: two rows get one name, the third the name a file outside the list keeps.
    ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
    const Names clash = MakeNamedFiles({L"a1.txt", L"a2.txt", L"b.txt", L"kept.txt"});
    ASSERT_TRUE(RunMultiRename({clash[0], clash[1], clash[2]}, [&](DialogHandle dlg) {
        SetClipboardText(L"same.txt\r\nsame.txt\r\nkept.txt");
        dlg.Click(kPasteNames);
        EXPECT_EQ(Descriptions(dlg.Hwnd()),
                  (Names{L"Error: another file gets the same new name", L"Error: another file gets the same new name",
                         L"Error: the new name belongs to a file that keeps its name"}));
        dlg.Click(IDCANCEL);
    }));
}

// The buttons of number and wild parts, whose texts are only "#", "*" and ".*".
TEST_F(MultiRenameTest, PartButtonsAreNamedForWhatAClickDoes)
{
    struct Case
    {
        Names names;
        bool allowExtension;
        Names expected; // each button's name, left to right
    };
    const Case cases[] = {
        {{L"IMG_0012.jpg", L"IMG_0013.jpg"}, false, {kNumberPart}},
        {{L"xAy.txt", L"xBy.txt"}, false, {kWildPart}},
        {{L"2021-03-07 report.pdf", L"2021-04-11 report.docx"}, true, {kNumberPart, kNumberPart, kExtensionPart}},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        const Names paths = MakeNamedFiles(c.names);
        Names names;
        Names tips;
        ASSERT_TRUE(RunMultiRename(paths, [&](DialogHandle dlg) {
            if (IsButtonChecked(dlg.Hwnd(), kAllowExtension) != c.allowExtension)
                ClickCheck(dlg.Hwnd(), kAllowExtension, c.allowExtension);
            for (const PartControl& part : PartRow(dlg.Hwnd()))
                if (part.button)
                {
                    names.push_back(ReadAccessible(part.window).name);
                    tips.push_back(TipOf(part.window));
                }
            ClickCheck(dlg.Hwnd(), kAllowExtension, false);
            dlg.Click(IDCANCEL);
        }));
        EXPECT_EQ(names, c.expected) << c.names.front();
        EXPECT_EQ(tips, c.expected) << c.names.front();
    }
}
