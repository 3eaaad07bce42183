#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace
{
// The menu offset of the item whose text starts so, searching the submenu too; -1 when absent.
int OffsetOf(const std::vector<MenuRow>& rows, const std::wstring& text, UINT idCmdFirst)
{
    for (const MenuRow& row : rows)
    {
        if (row.text.rfind(text, 0) == 0)
            return static_cast<int>(row.id - idCmdFirst);
        if (const int inner = OffsetOf(row.submenu, text, idCmdFirst); inner >= 0)
            return inner;
    }
    return -1;
}
} // namespace

using FolderToolsShellTest = ShellExtTest;

// The commands run from the menu of the built DLL, with the DLL's own dialog templates and texts.
TEST_F(FolderToolsShellTest, BothCommandsRunFromTheMenu)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"A")));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"readme.txt"), "r"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"A\\README.txt"), "R"));
    ASSERT_TRUE(CreateFolder(TempPath(L"E")));
    ASSERT_TRUE(CreateFolder(TempPath(L"E\\empty")));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"E\\keep.txt"), "k"));

    DialogDriver driver;
    std::wstring heading;
    driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
        heading = dlg.GetText(1301);
        EXPECT_EQ(BrelvantaDll::Get().canUnloadNow(), S_FALSE);
        dlg.Click(IDOK);
    });
    std::vector<std::wstring> rows;
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        rows = dlg.ListRows(1400);
        dlg.Click(IDCANCEL);
    });
    for (const wchar_t* command : {L"Extract Folder", L"Delete Empty Folders"})
    {
        const std::wstring folder = TempPath(command[0] == L'E' ? L"A" : L"E");
        const ComPtr<IContextMenu> handler = CreateHandler({folder});
        ASSERT_TRUE(handler);
        const int offset = OffsetOf(QueryMenu(handler.Get(), 1), command, 1);
        ASSERT_GE(offset, 0) << command;
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof(invoke);
        invoke.lpVerb = MAKEINTRESOURCEA(offset);
        EXPECT_EQ(handler->InvokeCommand(&invoke), S_OK);
    }
    EXPECT_EQ(heading, L"Cannot extract folder, due to the following clashes:");
    EXPECT_EQ(rows, std::vector<std::wstring>{TempPath(L"E\\empty")});
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_TRUE(PathExists(TempPath(L"A\\README.txt")));
    EXPECT_TRUE(PathExists(TempPath(L"E\\empty")));
}

// Names ending in a period or a space, a folder's own or one on its path, are common on shares
// served from other systems; a plain path reads them without it and reaches their twin. Only the
// selected folder changes, or, when a twin stands in the way now or would once the moves are done,
// nothing does and the user is told which item was left.
TEST_F(FolderToolsShellTest, OnlyTheSelectedFolderChangesWhenANameEndsInAPeriodOrSpace)
{
    struct Case
    {
        std::vector<std::wstring> entries; // folders end in a backslash; each file holds its own name
        const wchar_t* selected;
        const wchar_t* command;
        std::vector<std::wstring> after; // what is left when the command goes ahead
        const wchar_t* refused;          // the item the message names
    };
    const wchar_t* const extract = L"Extract Folder";
    const wchar_t* const deleteEmpty = L"Delete Empty Folders";
    const Case cases[] = {
        {{L"e.\\"}, L"e.", deleteEmpty, {}, nullptr},
        {{L"e.\\", L"e\\keep.txt"}, L"e.", deleteEmpty, {}, L"e."},
        {{L"r\\e.\\", L"r\\e\\keep.txt"}, L"r", deleteEmpty, {}, L"r\\e."},
        // The scan reads e. itself, not its empty twin.
        {{L"r\\e.\\f.txt", L"r\\e\\"}, L"r", deleteEmpty, {L"r\\", L"r\\e.\\", L"r\\e.\\f.txt"}, nullptr},
        {{L"x \\"}, L"x ", deleteEmpty, {}, nullptr},
        {{L"x \\", L"x\\keep.txt"}, L"x ", deleteEmpty, {}, L"x "},
        {{L"p.\\e\\", L"p.\\keep.txt"}, L"p.\\e", deleteEmpty, {L"p.\\", L"p.\\keep.txt"}, nullptr},
        {{L"p.\\e\\", L"p\\e\\keep.txt"}, L"p.\\e", deleteEmpty, {}, L"p.\\e"},
        {{L"x \\a.txt", L"x \\sub\\b.txt"}, L"x ", extract, {L"a.txt", L"sub\\", L"sub\\b.txt"}, nullptr},
        {{L"x \\a.txt", L"x\\keep.txt"}, L"x ", extract, {}, L"x "},
        // Moved up, its entry x would become the twin that the folder's deletion then reaches.
        {{L"x.\\x\\f.txt", L"x.\\g.txt"}, L"x.", extract, {}, L"x."},
        // An entry whose name ends in a period cannot move up under its own name.
        {{L"d\\e.\\f.txt", L"d\\g.txt"}, L"d", extract, {}, L"d\\e."},
        {{L"p.\\x\\a.txt"}, L"p.\\x", extract, {L"p.\\", L"p.\\a.txt"}, nullptr},
        {{L"p.\\x\\a.txt", L"p\\x\\b.txt"}, L"p.\\x", extract, {}, L"p.\\x"},
        // Renamed to a temporary name, moved out of and deleted, all inside a folder named so.
        {{L"p.\\photos\\photos\\p.jpg", L"p.\\photos\\1.jpg"},
         L"p.\\photos",
         extract,
         {L"p.\\", L"p.\\1.jpg", L"p.\\photos\\", L"p.\\photos\\p.jpg"},
         nullptr},
    };
    int row = 0;
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        const std::string tag = "row " + std::to_string(++row) + " ";
        const auto contents = [&](const std::wstring& entry) {
            const std::wstring name = entry.substr(entry.rfind(L'\\') + 1);
            return entry.ends_with(L'\\') ? std::string() : tag + std::string(name.begin(), name.end());
        };
        for (const std::wstring& entry : c.entries)
        {
            for (size_t slash = entry.find(L'\\'); slash != std::wstring::npos; slash = entry.find(L'\\', slash + 1))
                ASSERT_TRUE(CreateFolder(TempPath(entry.substr(0, slash))));
            if (!entry.ends_with(L'\\'))
            {
                ASSERT_TRUE(WriteFileBytes(TempPath(entry), contents(entry))) << entry;
            }
        }
        const auto before = ReadTreeBelow(TempFolder());
        std::map<std::wstring, std::string> expected;
        for (const std::wstring& entry : c.after)
            expected[entry] = contents(entry);

        DialogDriver driver;
        driver.AnswerShellConfirmations();
        // A selected folder that holds a file: the empty folders in it are listed first.
        const bool holdsFile = std::any_of(c.entries.begin(), c.entries.end(), [&](const std::wstring& entry) {
            return entry.starts_with(std::wstring(c.selected) + L"\\") && !entry.ends_with(L'\\');
        });
        if (c.command == deleteEmpty && holdsFile)
            driver.OnDialog(L"Delete Empty Folders", [](DialogHandle dlg) { dlg.Click(IDOK); });
        std::wstring message;
        driver.OnDialog(L"Brelvanta", [&](DialogHandle box) {
            message = box.GetText(0xFFFF);
            box.Click(IDOK);
        });
        const ComPtr<IContextMenu> handler = CreateHandler({TempPath(c.selected)});
        ASSERT_TRUE(handler);
        ASSERT_TRUE(InvokeByText(handler.Get(), c.command)) << c.selected;

        EXPECT_EQ(ReadTreeBelow(TempFolder()), c.refused ? before : expected) << c.selected << L", " << c.command;
        if (c.refused)
            EXPECT_NE(message.find(TempPath(c.refused)), std::wstring::npos) << c.selected << L": " << message;
        else
            EXPECT_EQ(message, L"") << c.selected;
    }
}
