#include "resources/resource.h"
#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/AccessibleReader.h"
#include "tests/support/HighContrast.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/KeyboardAccess.h"
#include "winsupport/SettingsStore.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>

namespace
{
constexpr wchar_t kCaption[] = L"Copy Filenames";

RECT RectIn(HWND dialog, HWND control)
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The tab as a click on it would choose it.
void ChooseTab(const DialogHandle& dlg, int index)
{
    ::SendMessageW(dlg.Item(IDC_COPY_PATHS_TABS), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
}

int CurrentTab(const DialogHandle& dlg)
{
    return static_cast<int>(::SendMessageW(dlg.Item(IDC_COPY_PATHS_TABS), TCM_GETCURSEL, 0, 0));
}

// The page holding the control, which must be the page shown.
DialogHandle ShownPage(const DialogHandle& dlg, int id)
{
    const DialogHandle page = dlg.ChildWith(id);
    EXPECT_TRUE(page.Hwnd() && ::IsWindowVisible(page.Hwnd())) << "the page of control " << id << " is not shown";
    return page;
}

// An entry of a drop-down list chosen as a keyboard user does: the list opened, the entry
// moved to, ENTER.
void ChooseFromDropDown(const DialogHandle& dlg, HWND list, int index)
{
    ::SetFocus(list);
    ::SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    dlg.PressKey(VK_RETURN);
}

// The option button of a group that is chosen, from the group's first button on.
int ChosenOption(HWND dialog, int firstId)
{
    const HWND first = ::GetDlgItem(dialog, firstId);
    for (HWND option = first; option; option = ::GetNextDlgGroupItem(dialog, option, FALSE))
    {
        if (::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return ::GetDlgCtrlID(option);
        if (::GetNextDlgGroupItem(dialog, option, FALSE) == first)
            break;
    }
    return firstId;
}

std::wstring Setting(const wchar_t* name)
{
    std::wstring text;
    return ReadSettingString(name, text) ? text : L"<none>";
}

DWORD NumberSetting(const wchar_t* name)
{
    DWORD number = 0xFFFFFFFF;
    ReadSettingDword(name, number);
    return number;
}

class CopyDialogTest : public ShellExtTest
{
  protected:
    // Chooses the options command from the menu of the paths (or, with a mask, "Copy Filename(s)"
    // with those keys) and runs the script in the dialog; false when the dialog never showed.
    // Windows the dialog opens itself get their scripts from more.
    bool Open(const std::vector<std::wstring>& paths, DialogDriver::Script script, DWORD mask = 0,
              const std::function<void(DialogDriver&)>& more = {})
    {
        DialogDriver driver;
        bool shown = false;
        driver.OnDialog(kCaption, [&](DialogHandle dlg) {
            shown = true;
            script(dlg);
        });
        if (more)
            more(driver);
        const ComPtr<IContextMenu> handler = CreateHandler(paths);
        EXPECT_TRUE(handler);
        if (!handler)
            return false;
        const bool many = paths.size() > 1;
        const std::wstring command = mask ? (many ? L"Copy &Filenames" : L"Copy &Filename")
                                          : (many ? L"Copy Filenames with Options" : L"Copy Filename with Options");
        EXPECT_TRUE(InvokeByText(handler.Get(), command, mask)) << command;
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_EQ(driver.PendingScripts(), 0u);
        return shown;
    }
};
} // namespace

TEST_F(CopyDialogTest, OpensOnTheSelectionAndCopiesThePreviewOnOk)
{
    const auto files = MakeFiles({L"b.txt", L"a.txt", L"c d.txt"});
    SetClipboardText(L"before");
    // Cancel leaves the clipboard alone; both the options command and CTRL open the dialog.
    for (const DWORD mask :
         {DWORD{0}, DWORD{CMIC_MASK_CONTROL_DOWN}, DWORD{CMIC_MASK_CONTROL_DOWN | CMIC_MASK_SHIFT_DOWN}})
    {
        EXPECT_TRUE(Open(
            files,
            [](DialogHandle dlg) {
                EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"b.txt\r\na.txt\r\nc d.txt");
                EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_STATUS), L"Files: 3;  Total Files Size: 3 bytes");
                EXPECT_FALSE(dlg.IsEnabled(IDC_COPY_PATHS_STATUS));
                EXPECT_EQ(CurrentTab(dlg), 0);
                dlg.Click(IDCANCEL);
            },
            mask))
            << mask;
        EXPECT_EQ(ClipboardTextNow(), L"before");
    }
    EXPECT_TRUE(Open(files, [](DialogHandle dlg) { dlg.Click(IDOK); }));
    EXPECT_EQ(ClipboardTextNow(), L"b.txt\r\na.txt\r\nc d.txt");
    EXPECT_EQ(NumberSetting(L"CopyPathsDlgWidth") > 0 && NumberSetting(L"CopyPathsDlgWidth") != 0xFFFFFFFF, true);

    // A list that formats to nothing empties the clipboard rather than leaving it.
    SetClipboardText(L"before");
    const std::wstring gone = TempPath(L"gone.txt");
    ASSERT_TRUE(WriteFileBytes(gone, "x"));
    const ComPtr<IContextMenu> handler = CreateHandler({gone});
    ASSERT_TRUE(DeleteTree(gone));
    DialogDriver driver;
    driver.OnDialog(kCaption, [](DialogHandle dlg) {
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"");
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_STATUS), L"Files: 0;  Total Files Size: 0 bytes");
        dlg.Click(IDOK);
    });
    ASSERT_TRUE(InvokeByText(handler.Get(), L"Copy Filename with Options"));
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST_F(CopyDialogTest, WithoutFoldersThePreviewTakesTheFolderOptionsRoom)
{
    const auto files = MakeFiles({L"a.txt"});
    ASSERT_TRUE(CreateFolder(TempPath(L"folder")));
    struct Geometry
    {
        RECT tab, sort, preview, group;
        bool folderOptions;
    };
    auto measure = [](Geometry& g) {
        return [&g](DialogHandle dlg) {
            g.tab = RectIn(dlg.Hwnd(), dlg.Item(IDC_COPY_PATHS_TABS));
            g.sort = RectIn(dlg.Hwnd(), dlg.Item(IDC_COPY_PATHS_SORT));
            g.preview = RectIn(dlg.Hwnd(), dlg.Item(IDC_COPY_PATHS_PREVIEW));
            g.group = RectIn(dlg.Hwnd(), dlg.Item(IDC_COPY_PATHS_FOLDER_GROUP));
            g.folderOptions = true;
            for (const int id :
                 {IDC_COPY_PATHS_FOLDER_GROUP, IDC_COPY_PATHS_SUMMARY1, IDC_COPY_PATHS_SUMMARY2, IDC_COPY_PATHS_CHANGE})
                g.folderOptions = g.folderOptions && dlg.IsVisible(id);
            dlg.Click(IDCANCEL);
        };
    };
    Geometry plain{}, withFolder{};
    ASSERT_TRUE(Open(files, measure(plain)));
    ClearProductState(); // both at the template size
    ASSERT_TRUE(Open({TempPath(L"folder"), files[0]}, measure(withFolder)));
    EXPECT_FALSE(plain.folderOptions);
    EXPECT_TRUE(withFolder.folderOptions);
    const int distance = withFolder.tab.top - withFolder.group.top;
    EXPECT_GT(distance, 0);
    EXPECT_EQ(plain.tab.top, withFolder.tab.top - distance);
    EXPECT_EQ(plain.sort.top, withFolder.sort.top - distance);
    EXPECT_EQ(plain.preview.top, withFolder.preview.top - distance);
    EXPECT_EQ(plain.preview.bottom, withFolder.preview.bottom) << "the preview keeps its bottom and grows";
    EXPECT_EQ(plain.tab.bottom - plain.tab.top, withFolder.tab.bottom - withFolder.tab.top);
}

TEST_F(CopyDialogTest, SortOrderIsSharedRememberedAndShownAtOnce)
{
    std::vector<std::wstring> files = MakeFiles({L"b.txt", L"c.txt"});
    ASSERT_TRUE(WriteFileBytes(TempPath(L"a.txt"), "12345"));
    files.push_back(TempPath(L"a.txt"));
    ASSERT_TRUE(Open(files, [](DialogHandle dlg) {
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_SORT), L"As Selected");
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_STATUS), L"Files: 3;  Total Files Size: 7 bytes");
        dlg.Select(IDC_COPY_PATHS_SORT, 2);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"c.txt\r\nb.txt\r\na.txt");
        dlg.Select(IDC_COPY_PATHS_SORT, 4);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt\r\nc.txt\r\nb.txt");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"a.txt\r\nc.txt\r\nb.txt");
    EXPECT_EQ(NumberSetting(L"Sort Option"), 4u);

    // The next opening sorts the same way; "As Selected" goes back to the shell's order.
    ASSERT_TRUE(Open(files, [](DialogHandle dlg) {
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_SORT), L"By Size (largest first)");
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt\r\nc.txt\r\nb.txt");
        dlg.Select(IDC_COPY_PATHS_SORT, 1);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt\r\nb.txt\r\nc.txt");
        dlg.Select(IDC_COPY_PATHS_SORT, 0);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"b.txt\r\nc.txt\r\na.txt");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"b.txt\r\nc.txt\r\na.txt");
    EXPECT_EQ(NumberSetting(L"Sort Option"), 0u);

    // A stored option out of range reads as none.
    ASSERT_TRUE(WriteSettingDword(L"Sort Option", 9));
    ASSERT_TRUE(Open(files, [](DialogHandle dlg) {
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_SORT), L"As Selected");
        dlg.Click(IDCANCEL);
    }));
}

TEST_F(CopyDialogTest, TheChosenTabIsRemembered)
{
    const auto files = MakeFiles({L"a.txt"});
    ASSERT_TRUE(Open(files, [](DialogHandle dlg) {
        ChooseTab(dlg, 2);
        EXPECT_EQ(CurrentTab(dlg), 2);
        ShownPage(dlg, IDC_FULL_ITEM_TEXT);
        EXPECT_FALSE(::IsWindowVisible(dlg.ChildWith(IDC_PRESETS_LIST).Hwnd()));
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(NumberSetting(L"Tab Index"), 2u);
    ASSERT_TRUE(Open(files, [](DialogHandle dlg) {
        EXPECT_EQ(CurrentTab(dlg), 2);
        ShownPage(dlg, IDC_FULL_ITEM_TEXT);
        dlg.Click(IDCANCEL);
    }));
    for (const DWORD stored : {DWORD{3}, DWORD{7}})
    {
        ASSERT_TRUE(WriteSettingDword(L"Tab Index", stored));
        ASSERT_TRUE(Open(files, [](DialogHandle dlg) {
            EXPECT_EQ(CurrentTab(dlg), 0);
            ShownPage(dlg, IDC_PRESETS_LIST);
            dlg.Click(IDCANCEL);
        }));
    }
}

TEST_F(CopyDialogTest, QuickControlsBuildTheFormat)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        ChooseTab(dlg, 1);
        const DialogHandle page = ShownPage(dlg, IDC_QUICK_SEPARATOR);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt\r\nb.txt");
        // The lists of quote, size and date follow their check boxes; the folder separator never waits.
        EXPECT_FALSE(page.IsEnabled(IDC_QUICK_QUOTE_CHAR));
        EXPECT_TRUE(page.IsEnabled(IDC_QUICK_PATH_SEPARATOR));
        EXPECT_TRUE(page.Check(IDC_QUICK_QUOTE, true));
        EXPECT_TRUE(page.IsEnabled(IDC_QUICK_QUOTE_CHAR));
        EXPECT_TRUE(page.Select(IDC_QUICK_QUOTE_CHAR, 1));
        EXPECT_TRUE(page.Select(IDC_QUICK_SEPARATOR, 4));
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"'a.txt','b.txt'");
        EXPECT_EQ(Setting(L"Format Text"), L"'$name'");
        EXPECT_EQ(Setting(L"Separator Text"), L",");

        EXPECT_TRUE(page.Check(IDC_QUICK_QUOTE, false));
        EXPECT_FALSE(page.IsEnabled(IDC_QUICK_QUOTE_CHAR));
        EXPECT_TRUE(page.Check(IDC_QUICK_FULL_PATH, true));
        EXPECT_TRUE(page.Select(IDC_QUICK_PATH_SEPARATOR, 2));
        EXPECT_TRUE(page.Check(IDC_QUICK_ADD_SIZE, true));
        EXPECT_TRUE(page.Select(IDC_QUICK_SIZE_UNIT, 0));
        EXPECT_TRUE(page.Select(IDC_QUICK_SEPARATOR, 3));
        EXPECT_EQ(Setting(L"Format Text"), L"$path:forwardslash\\t$size");
        EXPECT_EQ(Setting(L"Separator Text"), L"\\t");
        dlg.Click(IDOK);
    }));
    std::wstring slashed = TempFolder();
    for (wchar_t& c : slashed)
        if (c == L'\\')
            c = L'/';
    EXPECT_EQ(ClipboardTextNow(), slashed + L"/a.txt\t1\t" + slashed + L"/b.txt\t1");

    // The next opening reads the remembered texts back into the controls.
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        EXPECT_EQ(CurrentTab(dlg), 1);
        const DialogHandle page = ShownPage(dlg, IDC_QUICK_SEPARATOR);
        EXPECT_EQ(page.GetText(IDC_QUICK_SEPARATOR), L"Tab");
        EXPECT_EQ(::SendMessageW(page.Item(IDC_QUICK_FULL_PATH), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(page.GetText(IDC_QUICK_PATH_SEPARATOR), L"/");
        EXPECT_EQ(::SendMessageW(page.Item(IDC_QUICK_ADD_SIZE), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(page.GetText(IDC_QUICK_SIZE_UNIT), L"Bytes");
        EXPECT_EQ(::SendMessageW(page.Item(IDC_QUICK_ADD_DATE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_FALSE(page.IsEnabled(IDC_QUICK_DATE_FORMAT));
        dlg.Click(IDCANCEL);
    }));
}

TEST_F(CopyDialogTest, QuickControlsResetAFormatTheyCannotShowAndRestoreItWhenUntouched)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    ASSERT_TRUE(WriteSettingString(L"Format Text", L"$name;"));
    ASSERT_TRUE(WriteSettingString(L"Separator Text", L"\\n"));
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 1));
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_QUICK_SEPARATOR);
        EXPECT_EQ(page.GetText(IDC_QUICK_SEPARATOR), L"One per line");
        EXPECT_EQ(::SendMessageW(page.Item(IDC_QUICK_QUOTE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(Setting(L"Format Text"), L"$name");
        EXPECT_EQ(Setting(L"Separator Text"), L"\\n");
        // Leaving untouched puts the old texts back on the formatter.
        ChooseTab(dlg, 2);
        const DialogHandle full = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
        EXPECT_EQ(full.GetText(IDC_FULL_ITEM_TEXT), L"$name;");
        EXPECT_EQ(Setting(L"Format Text"), L"$name;");
        ChooseTab(dlg, 1);
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"a.txt\r\nb.txt");

    // A separator with no quick entry resets as well.
    ASSERT_TRUE(WriteSettingString(L"Format Text", L"\"$name\""));
    ASSERT_TRUE(WriteSettingString(L"Separator Text", L"; "));
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_QUICK_SEPARATOR);
        EXPECT_EQ(::SendMessageW(page.Item(IDC_QUICK_QUOTE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt\r\nb.txt");
        // Touched: the built texts stay when leaving.
        EXPECT_TRUE(page.Check(IDC_QUICK_QUOTE, true));
        ChooseTab(dlg, 2);
        EXPECT_EQ(ShownPage(dlg, IDC_FULL_ITEM_TEXT).GetText(IDC_FULL_ITEM_TEXT), L"\"$name\"");
        EXPECT_EQ(ShownPage(dlg, IDC_FULL_ITEM_TEXT).GetText(IDC_FULL_SEPARATOR_TEXT), L"\\n");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"\"a.txt\"\r\n\"b.txt\"");
}

TEST_F(CopyDialogTest, FullControlsEditTheTextsWithVisibleSpaces)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 2));
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
        EXPECT_EQ(page.GetText(IDC_FULL_ITEM_TEXT), L"$name");
        EXPECT_EQ(page.GetText(IDC_FULL_SEPARATOR_TEXT), L"\\n");
        EXPECT_FALSE(page.IsVisible(IDC_FULL_ERROR));
        EXPECT_TRUE(page.IsEnabled(IDC_FULL_INSERT));

        // A typed space shows as a middle dot and reaches the formatter as a space.
        ::SetFocus(page.Item(IDC_FULL_ITEM_TEXT));
        ::SendMessageW(page.Item(IDC_FULL_ITEM_TEXT), EM_SETSEL, 5, 5);
        page.PressKey(VK_SPACE);
        page.PressKey('X');
        EXPECT_EQ(page.GetText(IDC_FULL_ITEM_TEXT), L"$name\u00b7x");
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt x\r\nb.txt x");
        page.SetText(IDC_FULL_ITEM_TEXT, L"< $name >");
        EXPECT_EQ(page.GetText(IDC_FULL_ITEM_TEXT), L"<\u00b7$name\u00b7>");
        EXPECT_EQ(Setting(L"Format Text"), L"< $name >");

        // Newline and Tab go in at the separator's caret; the list shows "Insert" again.
        page.SetText(IDC_FULL_SEPARATOR_TEXT, L", ");
        ::SendMessageW(page.Item(IDC_FULL_SEPARATOR_TEXT), EM_SETSEL, 1, 1);
        ChooseFromDropDown(dlg, page.Item(IDC_FULL_INSERT_ESCAPE), 2);
        EXPECT_EQ(page.GetText(IDC_FULL_INSERT_ESCAPE), L"Insert");
        ::SendMessageW(page.Item(IDC_FULL_SEPARATOR_TEXT), EM_SETSEL, 5, 5);
        ChooseFromDropDown(dlg, page.Item(IDC_FULL_INSERT_ESCAPE), 1);
        EXPECT_EQ(page.GetText(IDC_FULL_SEPARATOR_TEXT), L",\\t\u00b7\\n");
        EXPECT_EQ(Setting(L"Separator Text"), L",\\t \\n");
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"< a.txt >,\t \r\n< b.txt >");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"< a.txt >,\t \r\n< b.txt >");
    // The texts come back on the next opening, spaces as dots.
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
        EXPECT_EQ(page.GetText(IDC_FULL_ITEM_TEXT), L"<\u00b7$name\u00b7>");
        dlg.Click(IDCANCEL);
    }));
}

TEST_F(CopyDialogTest, AnInvalidItemTextShowsItsErrorAndIsNeverRemembered)
{
    const auto files = MakeFiles({L"a.txt"});
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 2));
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
        const RECT full = RectIn(page.Hwnd(), page.Item(IDC_FULL_ITEM_TEXT));
        page.SetText(IDC_FULL_ITEM_TEXT, L"$nosuch");
        EXPECT_TRUE(page.IsVisible(IDC_FULL_ERROR));
        const RECT shortened = RectIn(page.Hwnd(), page.Item(IDC_FULL_ITEM_TEXT));
        const RECT error = RectIn(page.Hwnd(), page.Item(IDC_FULL_ERROR));
        EXPECT_LT(shortened.right, full.right);
        EXPECT_LE(shortened.right, error.left) << "the indicator stands beside the text, not over it";
        EXPECT_EQ(error.right, full.right);
        EXPECT_EQ(TipOf(page.Item(IDC_FULL_ERROR)), L"No such attribute \"$nosuch\"");
        EXPECT_EQ(ReadAccessible(page.Item(IDC_FULL_ERROR)).name, L"No such attribute \"$nosuch\"")
            << "a screen reader reads the message as the indicator's name";
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt") << "the preview waits for a valid text";
        EXPECT_EQ(Setting(L"Format Text"), L"<none>");
        // Nor does a separator change remember the invalid text.
        page.SetText(IDC_FULL_SEPARATOR_TEXT, L",");
        EXPECT_EQ(Setting(L"Format Text"), L"<none>");

        // A long message is cut for the tooltip only.
        const std::wstring longName(100, L'q');
        page.SetText(IDC_FULL_ITEM_TEXT, L"$" + longName);
        const std::wstring tip = TipOf(page.Item(IDC_FULL_ERROR));
        EXPECT_EQ(tip.size(), 79u);
        EXPECT_EQ(tip.substr(0, 19), L"No such attribute \"");
        EXPECT_EQ(tip.substr(76), L"...");
        EXPECT_EQ(ReadAccessible(page.Item(IDC_FULL_ERROR)).name, L"No such attribute \"$" + longName + L"\"")
            << "whole for a screen reader";

        page.SetText(IDC_FULL_ITEM_TEXT, L"<$name>");
        EXPECT_FALSE(page.IsVisible(IDC_FULL_ERROR));
        EXPECT_EQ(RectIn(page.Hwnd(), page.Item(IDC_FULL_ITEM_TEXT)).right, full.right);
        EXPECT_EQ(Setting(L"Format Text"), L"<$name>");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"<a.txt>");

    // The indicator's click tells the whole message in a box; the dialog stays open.
    HWND dialog = nullptr;
    std::wstring message;
    ASSERT_TRUE(Open(
        files,
        [&](DialogHandle dlg) {
            dialog = dlg.Hwnd();
            const DialogHandle page = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
            page.SetText(IDC_FULL_ITEM_TEXT, L"$name]");
            EXPECT_TRUE(page.PostClick(IDC_FULL_ERROR));
        },
        0,
        [&](DialogDriver& driver) {
            driver.OnDialog(kCaption, [&](DialogHandle box) {
                message = box.GetText(0xFFFF);
                box.Click(IDOK);
                EXPECT_TRUE(::IsWindowVisible(dialog));
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            });
        }));
    EXPECT_EQ(message, L"Unexpected ']' (use '\\]' to insert a ']').");
    EXPECT_EQ(ClipboardTextNow(), L"<a.txt>") << "OK copies the preview last built";
}

TEST_F(CopyDialogTest, DefinitionsFailingAtEveryPositionAndAMegabyteOfText)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 2));
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
        // Every prefix of a rich definition, as if typed one character at a time: the preview
        // shows the last valid one, the indicator follows validity.
        const std::wstring definition = L"\"$path:forwardslash,urlencode\"\\t$size:kb; $moddate:longdate\\$ \\]";
        std::wstring lastValid = L"$name";
        for (size_t length = 1; length <= definition.size(); ++length)
        {
            page.SetText(IDC_FULL_ITEM_TEXT, definition.substr(0, length));
            const bool valid = !page.IsVisible(IDC_FULL_ERROR);
            if (valid)
                lastValid = definition.substr(0, length);
            EXPECT_EQ(Setting(L"Format Text") == L"<none>" ? L"$name" : Setting(L"Format Text"), lastValid) << length;
        }
        EXPECT_EQ(lastValid, definition);

        // A megabyte in each edit: taken whole, no hang.
        std::wstring huge(1 << 20, L'x');
        huge.replace(0, 6, L"$name ");
        page.SetText(IDC_FULL_ITEM_TEXT, huge);
        EXPECT_FALSE(page.IsVisible(IDC_FULL_ERROR));
        EXPECT_EQ(Setting(L"Format Text").size(), huge.size());
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW).size(), 2 * huge.size() + 2);
        page.SetText(IDC_FULL_SEPARATOR_TEXT, std::wstring(1 << 20, L' '));
        EXPECT_EQ(Setting(L"Separator Text").size(), size_t{1} << 20);
        page.SetText(IDC_FULL_ITEM_TEXT, L"$name");
        page.SetText(IDC_FULL_SEPARATOR_TEXT, L"|");
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"a.txt|b.txt");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"a.txt|b.txt");
}

namespace
{
// Runs a check on the test's thread once a condition holds, from whichever message loop runs then
// (a dialog's own, or one of the windows it opens): for looking at a dialog after a window it
// opened has gone.
class WhenReady
{
  public:
    WhenReady(std::function<bool()> ready, std::function<void()> then)
        : m_ready(std::move(ready)), m_then(std::move(then))
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 50, &Tick);
    }
    WhenReady(const WhenReady&) = delete;
    WhenReady& operator=(const WhenReady&) = delete;
    ~WhenReady()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool Ran() const noexcept { return m_ran; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
    {
        WhenReady* self = s_current;
        if (!self || self->m_ran || !self->m_ready())
            return;
        self->m_ran = true;
        self->m_then();
    }
    static inline WhenReady* s_current = nullptr;
    std::function<bool()> m_ready;
    std::function<void()> m_then;
    UINT_PTR m_timer = 0;
    bool m_ran = false;
};
} // namespace

TEST_F(CopyDialogTest, PresetsPageAppliesMovesRenamesAndDeletes)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    ASSERT_TRUE(CreateFolder(UserFolder()));
    ASSERT_TRUE(WriteFileBytes(UserFolder() + L"\\Presets.xml",
                               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Presets>"
                               "<Preset><Name>Names</Name><Item>$name</Item><Separator>\\n</Separator></Preset>"
                               "<Preset><Name>Markdown</Name><Item>- $name</Item><Separator>\\n</Separator></Preset>"
                               "<Preset><Name>Quoted</Name><Item>\"$name\"</Item><Separator> </Separator></Preset>"
                               "</Presets>"));
    auto names = [&] {
        const std::string bytes = ReadFileBytes(UserFolder() + L"\\Presets.xml").value_or("");
        std::string found;
        for (size_t at = bytes.find("<Name>"); at != std::string::npos; at = bytes.find("<Name>", at + 1))
            found += bytes.substr(at + 6, bytes.find("</Name>", at) - at - 6) + "|";
        return found;
    };
    auto buttons = [](const DialogHandle& page) {
        std::wstring states;
        for (const int id : {IDC_PRESETS_MOVE_UP, IDC_PRESETS_MOVE_DOWN, IDC_PRESETS_RENAME, IDC_PRESETS_DELETE})
            states += page.IsEnabled(id) ? L'1' : L'0';
        return states;
    };
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_PRESETS_LIST);
        EXPECT_EQ(page.ListRows(IDC_PRESETS_LIST), (std::vector<std::wstring>{L"Names", L"Markdown", L"Quoted"}));
        // The preset of the current texts is selected.
        EXPECT_EQ(ListView_GetNextItem(page.Item(IDC_PRESETS_LIST), -1, LVNI_SELECTED), 0);
        EXPECT_EQ(buttons(page), L"0111");
        page.SelectRow(IDC_PRESETS_LIST, 0, false);
        EXPECT_EQ(buttons(page), L"0000");
        EXPECT_FALSE(page.Click(IDC_PRESETS_DELETE));

        page.SelectRow(IDC_PRESETS_LIST, 2);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"\"a.txt\" \"b.txt\"");
        EXPECT_EQ(Setting(L"Format Text"), L"\"$name\"");
        EXPECT_EQ(Setting(L"Separator Text"), L" ");
        EXPECT_EQ(buttons(page), L"1011");

        page.SelectRow(IDC_PRESETS_LIST, 1);
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"- a.txt\r\n- b.txt");
        EXPECT_TRUE(page.Click(IDC_PRESETS_MOVE_UP));
        EXPECT_EQ(page.ListRows(IDC_PRESETS_LIST), (std::vector<std::wstring>{L"Markdown", L"Names", L"Quoted"}));
        EXPECT_EQ(ListView_GetNextItem(page.Item(IDC_PRESETS_LIST), -1, LVNI_SELECTED), 0);
        EXPECT_EQ(buttons(page), L"0111");
        EXPECT_EQ(names(), "Markdown|Names|Quoted|");
        EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_PREVIEW), L"- a.txt\r\n- b.txt") << "moving applies nothing";
        EXPECT_TRUE(page.Click(IDC_PRESETS_MOVE_DOWN));
        EXPECT_TRUE(page.Click(IDC_PRESETS_MOVE_DOWN));
        EXPECT_EQ(names(), "Names|Quoted|Markdown|");
        EXPECT_EQ(buttons(page), L"1011");

        EXPECT_TRUE(page.Click(IDC_PRESETS_DELETE));
        EXPECT_EQ(page.ListRows(IDC_PRESETS_LIST), (std::vector<std::wstring>{L"Names", L"Quoted"}));
        EXPECT_EQ(buttons(page), L"0000");
        EXPECT_EQ(names(), "Names|Quoted|");
        dlg.Click(IDOK);
    }));
    EXPECT_EQ(ClipboardTextNow(), L"- a.txt\r\n- b.txt") << "a deleted preset's texts stay in use";

    // Rename; the list follows. Deleting the last presets leaves an empty file.
    HWND dialog = nullptr;
    ASSERT_TRUE(Open(
        files,
        [&](DialogHandle dlg) {
            dialog = dlg.Hwnd();
            const DialogHandle page = ShownPage(dlg, IDC_PRESETS_LIST);
            page.SelectRow(IDC_PRESETS_LIST, 1);
            EXPECT_TRUE(page.PostClick(IDC_PRESETS_RENAME));
        },
        0,
        [&](DialogDriver& driver) {
            driver.OnDialog(L"Rename Preset", [&](DialogHandle rename) {
                rename.SetText(IDC_PRESET_RENAME_EDIT, L"  Quoted names ");
                rename.Click(IDOK);
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            });
        }));
    EXPECT_EQ(names(), "Names|Quoted names|");
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_PRESETS_LIST);
        EXPECT_EQ(page.ListRows(IDC_PRESETS_LIST), (std::vector<std::wstring>{L"Names", L"Quoted names"}));
        for (int row = 1; row >= 0; --row)
        {
            page.SelectRow(IDC_PRESETS_LIST, row);
            EXPECT_TRUE(page.Click(IDC_PRESETS_DELETE));
        }
        EXPECT_EQ(buttons(page), L"0000");
        dlg.Click(IDCANCEL);
    }));
    EXPECT_EQ(names(), "");
    EXPECT_NE(ReadFileBytes(UserFolder() + L"\\Presets.xml").value_or("").find("<Presets"), std::string::npos);
}

TEST_F(CopyDialogTest, FolderOptionsScanAndTheStatusLineFollows)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"photos")));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"photos\\x.jpg"), "1234"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"photos\\y.png"), "123456"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"notes.txt"), "12"));
    const std::vector<std::wstring> paths{TempPath(L"photos"), TempPath(L"notes.txt")};

    HWND dialog = nullptr;
    std::vector<std::wstring> seen;
    bool scanned = false;
    // Once the scan is over: what the dialog shows, then OK.
    auto look = [&] {
        const DialogHandle dlg(dialog);
        seen.push_back(dlg.GetText(IDC_COPY_PATHS_SUMMARY1) + L" / " + dlg.GetText(IDC_COPY_PATHS_SUMMARY2));
        seen.push_back(dlg.GetText(IDC_COPY_PATHS_STATUS));
        seen.push_back(dlg.GetText(IDC_COPY_PATHS_PREVIEW));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    {
        WhenReady later([&] { return scanned && dialog && ::IsWindowEnabled(dialog); }, look);
        ASSERT_TRUE(Open(
            paths,
            [&](DialogHandle dlg) {
                dialog = dlg.Hwnd();
                EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_SUMMARY1), L"Copy selected folder names only.");
                EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_SUMMARY2), L"");
                EXPECT_EQ(dlg.GetText(IDC_COPY_PATHS_STATUS), L"Files & Folders: 2;  Total Files Size: 2 bytes");
                EXPECT_TRUE(dlg.PostClick(IDC_COPY_PATHS_CHANGE));
            },
            0,
            [&](DialogDriver& driver) {
                driver.OnDialog(L"Folder Options", [&](DialogHandle options) {
                    options.Check(IDC_SCAN_FOLDERS, true);
                    options.Check(IDC_SCAN_INCLUDE_ON, true);
                    options.SetText(IDC_SCAN_INCLUDE_PATTERN, L"*.jpg");
                    scanned = true;
                    options.Click(IDOK);
                });
            }));
        EXPECT_TRUE(later.Ran());
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], L"Scan selected folders for files. / Only include: *.jpg");
    EXPECT_EQ(seen[1], L"Files: 2;  Total Files Size: 6 bytes");
    EXPECT_EQ(seen[2], L"photos\\x.jpg\r\nnotes.txt");
    EXPECT_EQ(ClipboardTextNow(), L"photos\\x.jpg\r\nnotes.txt");
}

TEST_F(CopyDialogTest, InsertPutsItsFragmentAtTheCaretAndTheCopyFollows)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 2));
    for (const bool accept : {true, false})
    {
        HWND dialog = nullptr;
        bool insertShown = false;
        std::wstring fragment;
        ASSERT_TRUE(Open(
            files,
            [&](DialogHandle dlg) {
                dialog = dlg.Hwnd();
                const DialogHandle page = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
                page.SetText(IDC_FULL_ITEM_TEXT, L"<$name>");
                ::SendMessageW(page.Item(IDC_FULL_ITEM_TEXT), EM_SETSEL, 1, 1);
                EXPECT_TRUE(page.PostClick(IDC_FULL_INSERT));
            },
            0,
            [&](DialogDriver& driver) {
                driver.OnDialog(L"Insert File/Folder Attribute", [&](DialogHandle insert) {
                    insertShown = true;
                    const DialogHandle attributes = ShownPage(insert, IDC_INSERT_SIZE);
                    attributes.Click(IDC_INSERT_SIZE);
                    fragment = insert.GetText(IDC_INSERT_TEXT);
                    insert.Click(accept ? IDOK : IDCANCEL);
                    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                });
            }));
        EXPECT_TRUE(insertShown);
        EXPECT_EQ(fragment, L"$size;");
        if (accept)
        {
            // At the caret, between "<" and "$name": the preview, the clipboard and the
            // remembered text all have it.
            EXPECT_EQ(Setting(L"Format Text"), L"<$size;$name>");
            EXPECT_EQ(ClipboardTextNow(), L"<1a.txt>\r\n<1b.txt>");
        }
        else
        {
            EXPECT_EQ(Setting(L"Format Text"), L"<$name>") << "Cancel inserts nothing";
            EXPECT_EQ(ClipboardTextNow(), L"<a.txt>\r\n<b.txt>");
        }
    }
}

TEST_F(CopyDialogTest, FullControlsSaveTheTextsAsAPreset)
{
    const auto files = MakeFiles({L"a.txt"});
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 2));
    HWND dialog = nullptr;
    ASSERT_TRUE(Open(
        files,
        [&](DialogHandle dlg) {
            dialog = dlg.Hwnd();
            const DialogHandle page = ShownPage(dlg, IDC_FULL_ITEM_TEXT);
            page.SetText(IDC_FULL_ITEM_TEXT, L"$name ($size)");
            page.SetText(IDC_FULL_SEPARATOR_TEXT, L"; ");
            EXPECT_TRUE(page.PostClick(IDC_FULL_SAVE_PRESET));
        },
        0,
        [&](DialogDriver& driver) {
            driver.OnDialog(L"Preset Name", [&](DialogHandle name) {
                name.SetText(IDC_PRESET_NAME_EDIT, L"Names and sizes");
                name.Click(IDOK);
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            });
        }));
    EXPECT_EQ(ClipboardTextNow(), L"a.txt (1)");
    const std::string bytes = ReadFileBytes(UserFolder() + L"\\Presets.xml").value_or("");
    EXPECT_NE(bytes.find("<Preset><Name>Names and sizes</Name><Item>$name ($size)</Item><Separator>;"),
              std::string::npos)
        << bytes;
    EXPECT_NE(bytes.find("</Preset></Presets>"), std::string::npos) << "appended last";
    // The new preset is the one the Presets page finds for the current texts.
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 0));
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_PRESETS_LIST);
        const int selected = ListView_GetNextItem(page.Item(IDC_PRESETS_LIST), -1, LVNI_SELECTED);
        ASSERT_GE(selected, 0);
        EXPECT_EQ(page.ListRows(IDC_PRESETS_LIST)[static_cast<size_t>(selected)], L"Names and sizes");
        dlg.Click(IDCANCEL);
    }));
}

// The "Insert" list of the Full Controls page inserts on a deliberate choice only: the arrow keys
// move through the closed list and ESC closes the open one without typing anything; ENTER in the
// open list inserts its entry once.
TEST_F(CopyDialogTest, TheInsertListInsertsOnAChoiceNotOnArrowKeys)
{
    const auto files = MakeFiles({L"a.txt"});
    ASSERT_TRUE(WriteSettingDword(L"Tab Index", 2));
    ASSERT_TRUE(Open(files, [&](DialogHandle dlg) {
        const DialogHandle page = ShownPage(dlg, IDC_FULL_SEPARATOR_TEXT);
        const HWND list = page.Item(IDC_FULL_INSERT_ESCAPE);
        page.SetText(IDC_FULL_SEPARATOR_TEXT, L",");
        ::SendMessageW(page.Item(IDC_FULL_SEPARATOR_TEXT), EM_SETSEL, 1, 1);
        ::SetFocus(list);
        for (const UINT key : {VK_DOWN, VK_DOWN, VK_UP, VK_DOWN})
            dlg.PressKey(key);
        EXPECT_EQ(page.GetText(IDC_FULL_SEPARATOR_TEXT), L",") << "moving through the closed list";
        ::SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
        dlg.PressKey(VK_DOWN);
        dlg.PressKey(VK_ESCAPE);
        ASSERT_TRUE(::IsWindow(dlg.Hwnd())) << "ESC closed the drop-down, not the dialog";
        EXPECT_EQ(page.GetText(IDC_FULL_SEPARATOR_TEXT), L",") << "ESC in the open list";
        ChooseFromDropDown(dlg, list, 2);
        EXPECT_EQ(page.GetText(IDC_FULL_SEPARATOR_TEXT), L",\\t");
        EXPECT_EQ(page.GetText(IDC_FULL_INSERT_ESCAPE), L"Insert");
        dlg.Click(IDCANCEL);
    }));
}

// Each dialog of the copy command as a keyboard user finds it: the focus on the control the
// command is for (never a push button: on Windows a focused one takes ENTER), OK the default
// button, and an access key on every control a user operates, none given twice within a dialog
// and its shown page. With a folder selected, so that "Change..." is there.
TEST_F(CopyDialogTest, EveryDialogOpensOnItsFirstControlWithUniqueAccessKeys)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"photos")));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"notes.txt"), "12"));
    const std::vector<std::wstring> paths{TempPath(L"photos"), TempPath(L"notes.txt")};
    struct Row
    {
        const wchar_t* caption;
        DWORD tab;   // of Copy Filenames
        int opener;  // the button of Copy Filenames or its page that opens the dialog; 0: itself
        std::function<int(const DialogHandle&)> focus;
        const wchar_t* itemText = nullptr; // typed on the Full Controls page before the opener
    };
    const auto id = [](int control) { return [control](const DialogHandle&) { return control; }; };
    const Row rows[] = {
        {kCaption, 0, 0, id(IDC_PRESETS_LIST)},
        {kCaption, 1, 0, id(IDC_QUICK_SEPARATOR)},
        {kCaption, 2, 0, id(IDC_FULL_ITEM_TEXT)},
        {L"Folder Options", 0, IDC_COPY_PATHS_CHANGE,
         [](const DialogHandle& dlg) { return ChosenOption(dlg.Hwnd(), IDC_SCAN_NAMES_ONLY); }},
        // The Insert dialog opens on the tab it was left on: the chosen attribute or the first
        // control of the property page.
        {L"Insert File/Folder Attribute", 2, IDC_FULL_INSERT,
         [](const DialogHandle& dlg) {
             const DialogHandle attributes = dlg.ChildWith(IDC_INSERT_NAME);
             return ::IsWindowVisible(attributes.Hwnd()) ? ChosenOption(attributes.Hwnd(), IDC_INSERT_NAME)
                                                         : IDC_INSERT_HIDE_EMPTY;
         }},
        // Texts that no preset holds yet, or saving would only say which one does.
        {L"Preset Name", 2, IDC_FULL_SAVE_PRESET, id(IDC_PRESET_NAME_EDIT), L"<$name>"},
    };
    const auto expectKeyboardStart = [](const Row& row, const DialogHandle& dlg) {
        EXPECT_EQ(FocusedControlId(dlg.Hwnd()), row.focus(dlg)) << row.caption << ", tab " << row.tab;
        EXPECT_EQ(DefaultButtonId(dlg.Hwnd()), IDOK) << row.caption;
        EXPECT_EQ(AccessKeyFaults(dlg.Hwnd()), std::vector<std::wstring>{}) << row.caption << ", tab " << row.tab;
    };
    for (const Row& row : rows)
    {
        ASSERT_TRUE(WriteSettingDword(L"Tab Index", row.tab));
        HWND dialog = nullptr;
        bool shown = false;
        ASSERT_TRUE(Open(
            paths,
            [&](DialogHandle dlg) {
                dialog = dlg.Hwnd();
                if (!row.opener)
                {
                    shown = true;
                    expectKeyboardStart(row, dlg);
                    dlg.Click(IDCANCEL);
                    return;
                }
                if (row.itemText)
                    dlg.ChildWith(IDC_FULL_ITEM_TEXT).SetText(IDC_FULL_ITEM_TEXT, row.itemText);
                const HWND opener = dlg.Descendant(row.opener);
                EXPECT_TRUE(opener && ::PostMessageW(::GetParent(opener), WM_COMMAND, MAKEWPARAM(row.opener, BN_CLICKED),
                                                     reinterpret_cast<LPARAM>(opener)));
            },
            0,
            [&](DialogDriver& driver) {
                if (!row.opener)
                    return;
                driver.OnDialog(row.caption, [&](DialogHandle dlg) {
                    shown = true;
                    expectKeyboardStart(row, dlg);
                    if (const HWND tabs = dlg.Item(IDC_INSERT_TABS))
                    {
                        // The other page of the Insert dialog, with the dialog's own controls.
                        const LRESULT other = 1 - ::SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
                        ::SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(other), 0);
                        EXPECT_EQ(AccessKeyFaults(dlg.Hwnd()), std::vector<std::wstring>{}) << "Insert, tab " << other;
                        ::SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(1 - other), 0);
                    }
                    dlg.Click(IDCANCEL);
                    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                });
            }));
        EXPECT_TRUE(shown) << row.caption;
    }
}

// The page of a tab dialog that is shown now.
HWND PageShownNow(const DialogHandle& dlg)
{
    for (HWND child = ::GetWindow(dlg.Hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child) && IsPage(child))
            return child;
    return nullptr;
}

// A user switches to a dark high-contrast theme while the dialog is open: every page, and every
// page of the Insert dialog opened then, stands on the system's window colour and each of its texts
// stands out from what it is drawn on (a fixed white page under white text would not, nor a list
// that kept the colours it started with).
TEST_F(CopyDialogTest, EveryPageIsReadableInAHighContrastTheme)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    std::optional<HighContrastColours> colours;
    HWND dialog = nullptr;
    int pagesSeen = 0;
    const auto checkPages = [&](const DialogHandle& dlg, int tabsId, const char* name) {
        const int tabs = static_cast<int>(::SendMessageW(dlg.Item(tabsId), TCM_GETITEMCOUNT, 0, 0));
        for (int tab = 0; tab < tabs; ++tab)
        {
            ::SendMessageW(dlg.Item(tabsId), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
            const HWND page = PageShownNow(dlg);
            ASSERT_TRUE(page) << name << " tab " << tab;
            ++pagesSeen;
            ExpectReadablePage(page, name + std::string(" tab ") + std::to_string(tab));
        }
    };
    ASSERT_TRUE(Open(
        files,
        [&](DialogHandle dlg) {
            dialog = dlg.Hwnd();
            colours.emplace();
            if (!colours->Applied())
            {
                dlg.Click(IDCANCEL);
                return;
            }
            checkPages(dlg, IDC_COPY_PATHS_TABS, "Copy Filenames");
            ChooseTab(dlg, 2);
            EXPECT_TRUE(ShownPage(dlg, IDC_FULL_INSERT).PostClick(IDC_FULL_INSERT));
        },
        0,
        [&](DialogDriver& driver) {
            driver.OnDialog(L"Insert File/Folder Attribute", [&](DialogHandle insert) {
                checkPages(insert, IDC_INSERT_TABS, "Insert");
                insert.Click(IDCANCEL);
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            });
        }));
    if (!colours->Applied())
        GTEST_SKIP() << "this platform did not take the system colours of a high-contrast theme";
    EXPECT_EQ(pagesSeen, 5) << "three pages and the Insert dialog's two";
}
