#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/ShellConfirmation.h"

#include <windows.h>

#include <algorithm>
#include <map>

namespace
{
class NameCommandsTest : public ShellExtTest
{
  protected:
    // Runs the command of the menu shown for the paths.
    void Run(const std::vector<std::wstring>& paths, const std::wstring& text, DWORD mask = 0)
    {
        const ComPtr<IContextMenu> handler = CreateHandler(paths);
        ASSERT_TRUE(handler);
        ASSERT_TRUE(InvokeByText(handler.Get(), text, mask)) << text;
    }
};
} // namespace

TEST_F(NameCommandsTest, CopyNamesOrFullPathsInTheShellsOrder)
{
    const auto files = MakeFiles({L"a.txt", L"b \u00e4\U0001F600.txt", L"c"});
    SetClipboardText(L"old");
    Run({files[0]}, L"Copy &Filename");
    EXPECT_EQ(ClipboardTextNow(), L"a.txt");
    Run({files[0]}, L"Copy &Filename", CMIC_MASK_SHIFT_DOWN);
    EXPECT_EQ(ClipboardTextNow(), files[0]);
    Run({files[2], files[0], files[1]}, L"Copy &Filenames");
    EXPECT_EQ(ClipboardTextNow(), L"c\r\na.txt\r\nb \u00e4\U0001F600.txt\r\n");
    Run(files, L"Copy &Filenames", CMIC_MASK_SHIFT_DOWN);
    EXPECT_EQ(ClipboardTextNow(), files[0] + L"\r\n" + files[1] + L"\r\n" + files[2] + L"\r\n");

    // A path that vanished after the right-click is left out; with none left the clipboard is empty.
    const std::wstring gone = TempPath(L"gone.txt");
    ASSERT_TRUE(WriteFileBytes(gone, "x"));
    const ComPtr<IContextMenu> handler = CreateHandler({files[0], gone});
    ASSERT_TRUE(DeleteTree(gone));
    ASSERT_TRUE(InvokeByText(handler.Get(), L"Copy &Filenames"));
    EXPECT_EQ(ClipboardTextNow(), L"a.txt");
    const ComPtr<IContextMenu> alone = CreateHandler({files[2]});
    ASSERT_TRUE(DeleteTree(files[2]));
    ASSERT_TRUE(InvokeByText(alone.Get(), L"Copy &Filename"));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST_F(NameCommandsTest, ShortNamesReachTheCommandInTheirLongForm)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"Long Folder Name")));
    const std::wstring file = TempPath(L"Long Folder Name\\Long File Name.text");
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    std::wstring shortPath(32768, L'\0');
    shortPath.resize(::GetShortPathNameW(file.c_str(), shortPath.data(), 32768));
    ASSERT_NE(shortPath.find(L'~'), std::wstring::npos) << "no short name was made";

    Run({shortPath}, L"Copy &Filename", CMIC_MASK_SHIFT_DOWN);
    EXPECT_EQ(ClipboardTextNow(), file);
    // A short name that names nothing stays as it is (and then names nothing to copy).
    const std::wstring missing = TempPath(L"NOSUCH~1.TXT");
    Run({missing, shortPath}, L"Copy &Filenames");
    EXPECT_EQ(ClipboardTextNow(), L"Long File Name.text");

    // A name ending in a period below a short name keeps its period: its twin is another item.
    for (const wchar_t* name : {L"e.", L"e"})
        ASSERT_TRUE(WriteFileBytes(TempPath(L"Long Folder Name\\") + name, "x"));
    const std::wstring shortFolder = shortPath.substr(0, shortPath.rfind(L'\\') + 1);
    Run({shortFolder + L"e."}, L"Copy &Filename", CMIC_MASK_SHIFT_DOWN);
    EXPECT_EQ(ClipboardTextNow(), TempPath(L"Long Folder Name\\e."));
}

TEST_F(NameCommandsTest, CopyNameAndDeleteSendsTheItemToTheTrash)
{
    const std::wstring trash = TestTrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME must point at the test trash";
    const std::wstring name = L"copy-delete-" + std::to_wstring(::GetTickCount64()) + L".txt";
    const auto files = MakeFiles({name});
    {
        ShellConfirmationAnswerer answerer(IDYES);
        Run(files, L"Copy Filename and Delete", CMIC_MASK_SHIFT_DOWN);
        EXPECT_EQ(answerer.Answered(), 1);
    }
    EXPECT_EQ(ClipboardTextNow(), name) << "the name only, whatever the keys";
    EXPECT_FALSE(PathExists(files[0]));
    EXPECT_TRUE(PathExists(trash + L"\\" + name));
    DeleteTree(trash + L"\\" + name);

    // Saying No keeps the item; the name is on the clipboard all the same.
    const auto kept = MakeFiles({L"kept.txt"});
    {
        ShellConfirmationAnswerer answerer(IDNO);
        Run(kept, L"Copy Filename and Delete");
    }
    EXPECT_EQ(ClipboardTextNow(), L"kept.txt");
    EXPECT_TRUE(PathExists(kept[0]));
}

TEST_F(NameCommandsTest, CopyNameAndDeleteLeavesPathsOverTheLimitInPlace)
{
    std::wstring folder = TempFolder();
    while (folder.size() < 280)
    {
        folder += L"\\" + std::wstring(60, L'd');
        ASSERT_TRUE(CreateFolder(folder));
    }
    const std::wstring file = folder + L"\\long.txt";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    ShellConfirmationAnswerer answerer(IDYES);
    Run({file}, L"Copy Filename and Delete");
    EXPECT_EQ(ClipboardTextNow(), L"long.txt");
    EXPECT_TRUE(PathExists(file));
    EXPECT_EQ(answerer.Answered(), 0);
}

TEST_F(NameCommandsTest, PasteRenamesWithOrWithoutTheExtension)
{
    struct Case
    {
        const wchar_t* item;
        const wchar_t* clipboard;
        const wchar_t* command;
        const wchar_t* renamed;
    };
    const Case cases[] = {
        {L"old.txt", L"report.doc", L"Paste Filename", L"report.doc"},
        {L"old.txt", L"report.doc", L"Paste Filename (Not Ext.)", L"report.txt"},
        {L"data.csv", L"2.5 final", L"Paste Filename (Not Ext.)", L"2.csv"},
        {L"noext", L"name.with.dots", L"Paste Filename (Not Ext.)", L"name.with"},
        {L"old.txt", L"\u00e4\U0001F600 new", L"Paste Filename", L"\u00e4\U0001F600 new"},
        {L"old.txt", L".hidden", L"Paste Filename (Not Ext.)", L".txt"},
    };
    for (const Case& c : cases)
    {
        const auto files = MakeFiles({c.item});
        SetClipboardText(c.clipboard);
        Run(files, c.command);
        EXPECT_FALSE(PathExists(files[0])) << c.clipboard;
        EXPECT_TRUE(PathExists(TempPath(c.renamed))) << c.clipboard << L" -> " << c.renamed;
        DeleteTree(TempPath(c.renamed));
    }

    // A folder with a dot keeps nothing of it: the extension is only in the last component.
    ASSERT_TRUE(CreateFolder(TempPath(L"my.dir")));
    const auto inside = MakeFiles({L"my.dir\\readme"});
    SetClipboardText(L"notes.md");
    Run(inside, L"Paste Filename (Not Ext.)");
    EXPECT_TRUE(PathExists(TempPath(L"my.dir\\notes")));
}

TEST_F(NameCommandsTest, PasteRefusesAClipboardThatChangedSinceTheMenu)
{
    ASSERT_TRUE(CreateFolder(TempPath(L"sub")));
    const auto files = MakeFiles({L"stay.txt", L"other.txt"});
    ASSERT_TRUE(WriteFileBytes(files[1], "other"));
    // Each would move the item into another folder, replace another item or reach a device.
    for (const wchar_t* text : {L"sub\\moved.txt", L"..\\up.txt", L"", L"two\r\nlines", L"..", L".", L"sub", L"SUB",
                                L"other.txt", L"OTHER.TXT", L"con", L"LPT1.txt", L"trailing.", L"trailing "})
    {
        // The clipboard is tested when the menu opens; it changes before the command is chosen.
        SetClipboardText(L"usable.txt");
        const ComPtr<IContextMenu> handler = CreateHandler({files[0]});
        SetClipboardText(text);
        EXPECT_TRUE(InvokeByText(handler.Get(), L"Paste Filename"));
        EXPECT_TRUE(PathExists(files[0])) << text;
    }
    EXPECT_FALSE(PathExists(TempPath(L"sub\\moved.txt")));
    EXPECT_FALSE(PathExists(TempPath(L"sub\\stay.txt")));
    EXPECT_EQ(ReadFileBytes(files[1]), std::optional<std::string>("other"));

    // Keeping the extension can make a name that exists out of one that does not.
    SetClipboardText(L"other.doc");
    Run({files[0]}, L"Paste Filename (Not Ext.)");
    EXPECT_TRUE(PathExists(files[0]));
    EXPECT_EQ(ReadFileBytes(files[1]), std::optional<std::string>("other"));
}

// Names ending in a period or a space, the item's own or a folder's on its path, are common on
// shares served from other systems; a plain path reads them without it and reaches their twin.
// The command changes the selected item alone, or, when the twin stands in the way, nothing, and
// says which item it left.
TEST_F(NameCommandsTest, OnlyTheSelectedItemChangesWhenANameEndsInAPeriodOrSpace)
{
    struct Case
    {
        std::vector<std::wstring> files; // each holds its own path
        const wchar_t* item;
        const wchar_t* command;
        const wchar_t* renamed; // where Paste puts the item; null for Copy Filename and Delete
        bool refused;
    };
    const Case cases[] = {
        {{L"a "}, L"a ", L"Copy Filename and Delete", nullptr, false},
        {{L"a ", L"a"}, L"a ", L"Copy Filename and Delete", nullptr, true},
        {{L"e.", L"e.txt"}, L"e.", L"Copy Filename and Delete", nullptr, false},
        {{L"sub.\\a.txt"}, L"sub.\\a.txt", L"Copy Filename and Delete", nullptr, false},
        {{L"sub.\\a.txt", L"sub\\a.txt"}, L"sub.\\a.txt", L"Copy Filename and Delete", nullptr, true},
        {{L"old "}, L"old ", L"Paste Filename", L"new.txt", false},
        {{L"old ", L"old"}, L"old ", L"Paste Filename", L"new.txt", true},
        {{L"p.\\old.txt"}, L"p.\\old.txt", L"Paste Filename", L"p.\\new.txt", false},
        {{L"p.\\old.txt", L"p\\old.txt"}, L"p.\\old.txt", L"Paste Filename (Not Ext.)", L"p.\\new.txt", true},
        // The twin of "y " holds no old.txt that a plain path could reach.
        {{L"x. \\y \\old.txt", L"x. \\y\\other"},
         L"x. \\y \\old.txt",
         L"Paste Filename (Not Ext.)",
         L"x. \\y \\new.txt",
         false},
    };
    const std::wstring trash = TestTrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME must point at the test trash";
    int row = 0;
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        std::map<std::wstring, std::string> tree;
        // Told apart from what earlier runs left in the trash.
        const std::string tag = "row " + std::to_string(++row) + " at " + std::to_string(::GetTickCount64()) + " ";
        for (const std::wstring& file : c.files)
        {
            for (size_t slash = file.find(L'\\'); slash != std::wstring::npos; slash = file.find(L'\\', slash + 1))
                ASSERT_TRUE(CreateFolder(TempPath(file.substr(0, slash))));
            tree[file] = tag + std::string(file.begin(), file.end());
            ASSERT_TRUE(WriteFileBytes(TempPath(file), tree[file])) << file;
        }
        const std::wstring item = TempPath(c.item);
        SetClipboardText(L"new.txt");
        DialogDriver driver;
        driver.AnswerShellConfirmations();
        std::wstring message;
        driver.OnDialog(L"Brelvanta", [&](DialogHandle box) {
            message = box.GetText(0xFFFF);
            box.Click(IDOK);
        });
        auto expected = ReadTreeBelow(TempFolder());
        Run({item}, c.command);

        if (!c.refused)
        {
            expected.erase(c.item);
            if (c.renamed)
                expected[c.renamed] = tree[c.item];
        }
        EXPECT_EQ(ReadTreeBelow(TempFolder()), expected) << c.item << L", " << c.command;
        if (c.refused)
            EXPECT_NE(message.find(item), std::wstring::npos) << "the message names the item: " << message;
        else
            EXPECT_EQ(message, L"") << c.item;
        if (!c.renamed)
        {
            EXPECT_EQ(ClipboardTextNow(), std::wstring(c.item).substr(std::wstring(c.item).rfind(L'\\') + 1));
            const auto trashed = ReadTreeBelow(trash);
            const bool inTrash = std::any_of(trashed.begin(), trashed.end(),
                                             [&](const auto& entry) { return entry.second == tree[c.item]; });
            EXPECT_EQ(inTrash, !c.refused) << c.item;
        }
    }
}
