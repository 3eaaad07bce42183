#include "foldertools/ExtractFolderCommand.h"
#include "foldertools/ExtractionGroups.h"
#include "resources/resource.h"
#include "tests/foldertools/FolderToolsTestSupport.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/KeyboardAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>

namespace
{
std::wstring ShortPath(const std::wstring& path)
{
    std::wstring shortPath(32768, L'\0');
    shortPath.resize(::GetShortPathNameW(path.c_str(), shortPath.data(), 32768));
    return shortPath;
}

std::wstring Unique(const wchar_t* name)
{
    static int counter = 0;
    return name + std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(++counter);
}
} // namespace

class ExtractFolderTest : public FolderToolsTest
{
  protected:
    void Extract(const std::vector<std::wstring>& names)
    {
        ExtractFolderCommand command(L"Extract Folder(s)");
        command.Invoke(SelectionOf(names), 0, CWindow());
    }
};

TEST_F(ExtractFolderTest, MovesTheContentsUpAndSendsTheFolderToTheTrash)
{
    const std::wstring a = Unique(L"A");
    MakeTree({{a + L"\\a.txt", "alpha"}, {a + L"\\B\\b.txt", "beta"}, {a + L"\\.hidden", "h"}});
    SetHidden(TempPath(a + L"\\.hidden"));
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    Extract({a});
    const std::map<std::wstring, std::string> expected{{L".hidden", "h"}, {L"B\\b.txt", "beta"}, {L"a.txt", "alpha"}};
    EXPECT_EQ(ReadTree(TempFolder()), expected);
    EXPECT_EQ(ListFolders(TempFolder()), std::vector<std::wstring>{L"B"});
    EXPECT_TRUE(PathExists(TestTrashFiles() + L"\\" + a)) << "the emptied folder is in the test trash";
    EXPECT_EQ(driver.SeenCaptions().size(), 0u);
}

TEST_F(ExtractFolderTest, AFolderHoldingItsOwnNameGoesThroughATemporaryName)
{
    MakeTree({{L"photos\\photos\\p.jpg", "p"}, {L"photos\\1.jpg", "1"}, {L"photos000000", "taken"}});
    ExtractionGroups groups;
    groups.AddSelected(TempPath(L"photos"));
    groups.AssignTemporaryNames();
    ASSERT_FALSE(groups.HasClashes());
    ASSERT_EQ(groups.Renames().size(), 1u);
    EXPECT_EQ(groups.Renames()[0].to, TempPath(L"photos000001")) << "photos000000 is taken";

    DialogDriver driver;
    driver.AnswerShellConfirmations();
    Extract({L"photos"});
    const std::map<std::wstring, std::string> expected{
        {L"1.jpg", "1"}, {L"photos\\p.jpg", "p"}, {L"photos000000", "taken"}};
    EXPECT_EQ(ReadTree(TempFolder()), expected);
    EXPECT_FALSE(PathExists(TempPath(L"photos000001")));
}

TEST_F(ExtractFolderTest, MovedEntriesKeepTheirOwnSpelling)
{
    MakeTree({{L"Photos\\photos\\p.jpg", "p"}, {L"Photos\\IMG.jpg", "i"}});
    ExtractionGroups groups;
    groups.AddSelected(TempPath(L"Photos"));
    groups.AssignTemporaryNames();
    ASSERT_FALSE(groups.HasClashes());
    ASSERT_EQ(groups.Renames().size(), 1u) << "photos clashes with Photos whatever its case";
    std::vector<std::wstring> destinations;
    for (const MovePair& move : groups.Moves())
        destinations.push_back(move.to);
    std::sort(destinations.begin(), destinations.end());
    EXPECT_EQ(destinations, (std::vector<std::wstring>{TempPath(L"IMG.jpg"), TempPath(L"photos")}));

    DialogDriver driver;
    driver.AnswerShellConfirmations();
    Extract({L"Photos"});
    EXPECT_EQ(ListFolders(TempFolder()), std::vector<std::wstring>{L"photos"});
    const std::map<std::wstring, std::string> expected{{L"IMG.jpg", "i"}, {L"photos\\p.jpg", "p"}};
    EXPECT_EQ(ReadTree(TempFolder()), expected);
}

TEST_F(ExtractFolderTest, ClashesAreListedAndNothingMoves)
{
    struct Case
    {
        std::map<std::wstring, std::string> tree;
        std::vector<std::wstring> selected;
        const wchar_t* heading;
        std::wstring details;
    };
    const std::wstring parent = TempFolder() + L"\\";
    // The short name the file system gives a parent's file: an entry moved up under it would
    // replace that file. Wine makes them by hashing the long name, so ask for it.
    const std::wstring quarterly = L"quarterly report.txt";
    ASSERT_TRUE(WriteFileBytes(TempPath(quarterly), "q"));
    const std::wstring shortPath = ShortPath(TempPath(quarterly));
    const std::wstring shortName = shortPath.substr(shortPath.rfind(L'\\') + 1);
    ASSERT_TRUE(!shortName.empty() && shortName != quarterly) << "the file system makes no short names here";
    // The same parent spelt through its short name: still one folder.
    const std::wstring shortParent = ShortPath(TempFolder());
    ASSERT_NE(shortParent, TempFolder());
    const std::wstring noteClash =
        L"Extracting into " + parent + L"\n\n\"note.txt\" exists in:\n    subfolder: \"A\"\n    subfolder: \"B\"\n\n";
    const Case cases[] = {
        {{{L"readme.txt", "r"}, {L"A\\Readme.TXT", "R"}},
         {L"A"},
         L"Cannot extract folder, due to the following clashes:",
         L"Extracting into " + parent + L"\n\n\"readme.txt\" exists in:\n    this folder\n    subfolder: \"A\"\n\n"},
        {{{L"A\\note.txt", "a"}, {L"B\\note.txt", "b"}, {L"B\\other.txt", "o"}},
         {L"A", L"B"},
         L"Cannot extract folders, due to the following clashes:",
         noteClash},
        {{{L"A\\note.txt", "a"}, {L"B\\note.txt", "b"}},
         {L"A", shortParent + L"\\B"},
         L"Cannot extract folders, due to the following clashes:",
         noteClash},
        {{{quarterly, "q"}, {L"A\\" + shortName, "s"}},
         {L"A"},
         L"Cannot extract folder, due to the following clashes:",
         L"Extracting into " + parent + L"\n\n\"" + shortName +
             L"\" exists in:\n    this folder\n    subfolder: \"A\"\n\n"},
    };
    for (const Case& c : cases)
    {
        DeleteTree(TempFolder());
        CreateFolder(TempFolder());
        MakeTree(c.tree);
        DialogDriver driver;
        std::wstring heading;
        std::wstring details;
        driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
            heading = dlg.GetText(IDC_CLASH_HEADING);
            details = dlg.GetText(IDC_CLASH_DETAILS);
            EXPECT_EQ(FocusedControlId(dlg.Hwnd()), IDOK);
            EXPECT_EQ(DefaultButtonId(dlg.Hwnd()), IDOK);
            EXPECT_EQ(AccessKeyFaults(dlg.Hwnd()), std::vector<std::wstring>{});
            EXPECT_TRUE(dlg.Click(IDOK));
        });
        Extract(c.selected);
        EXPECT_EQ(heading, c.heading) << c.selected.back();
        std::wstring expected;
        for (const wchar_t ch : c.details)
            expected += ch == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, ch);
        EXPECT_EQ(details, expected);
        EXPECT_EQ(ReadTree(TempFolder()), c.tree) << "nothing moved";
    }
}

TEST_F(ExtractFolderTest, FilesLinksAndVanishedFoldersAreLeftAlone)
{
    MakeTree({{L"file.txt", "f"}, {L"A\\a.txt", "a"}});
    const std::wstring link = TestLinksFolder() + L"\\folder-link";
    ASSERT_NE(::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u)
        << "scripts/wine-run makes build/test-links/folder-link";
    DialogDriver driver(std::chrono::seconds(5));
    Extract({L"file.txt", link, L"gone", L"a-renamed-away"});
    EXPECT_TRUE(PathExists(TestLinksFolder() + L"\\target"));
    EXPECT_TRUE(PathExists(TempPath(L"A\\a.txt")));
    EXPECT_EQ(driver.SeenCaptions().size(), 0u);
}

TEST_F(ExtractFolderTest, AFolderSelectedWithItsHolderMovesWithIt)
{
    MakeTree({{L"A\\B\\b.txt", "b"}, {L"A\\a.txt", "a"}});
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    Extract({L"A\\B", L"A"});
    const std::map<std::wstring, std::string> expected{{L"B\\b.txt", "b"}, {L"a.txt", "a"}};
    EXPECT_EQ(ReadTree(TempFolder()), expected);
}

TEST_F(ExtractFolderTest, AnEmptyFolderIsSimplyDeleted)
{
    MakeFolders({L"empty"});
    MakeTree({{L"keep.txt", "k"}});
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    Extract({L"empty"});
    EXPECT_FALSE(PathExists(TempPath(L"empty")));
    EXPECT_TRUE(PathExists(TempPath(L"keep.txt")));
}

TEST_F(ExtractFolderTest, LongNamesAndDeepTreesLoseNothing)
{
    const std::wstring longName(255, L'n');
    const std::wstring longFolder(255, L'm');
    std::wstring deep = L"d";
    while (TempPath(deep).size() < 300)
        deep += L"\\" + std::wstring(40, L'x');
    MakeTree({{deep + L"\\inner\\deep.txt", "deep"}, {L"L\\" + longName, "long"}, {longFolder + L"\\a.txt", "a"}});
    const auto before = ReadTree(TempFolder());
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    Extract({deep + L"\\inner", L"L", longFolder});
    const auto after = ReadTree(TempFolder());
    // Whatever the shell could do, every file is still somewhere with its contents.
    std::multiset<std::string> contentsBefore;
    std::multiset<std::string> contentsAfter;
    for (const auto& [name, bytes] : before)
        contentsBefore.insert(bytes);
    for (const auto& [name, bytes] : after)
        contentsAfter.insert(bytes);
    EXPECT_EQ(contentsAfter, contentsBefore);
    EXPECT_EQ(ReadFileBytes(TempPath(longName)).value_or(""), "long") << "a file with a 255-character name moved up";
}

// Random trees: after the command every file is still there with its contents, at its new place,
// or the clash dialog came and nothing moved.
TEST_F(ExtractFolderTest, RandomTreesLoseNoFile)
{
    std::mt19937 random(20261209);
    const std::vector<std::wstring> names{L"a", L"B", L"c.txt", L"A.TXT", L"d", L"sub", L"x y", L"\u00e4"};
    int trees = 0;
    int clashes = 0;
    size_t files = 0;
    for (int run = 0; run < 150; ++run)
    {
        DeleteTree(TempFolder());
        CreateFolder(TempFolder());
        std::map<std::wstring, std::string> tree;
        std::vector<std::wstring> selected;
        const int folders = 1 + static_cast<int>(random() % 3);
        for (int f = 0; f < folders; ++f)
            selected.push_back(L"F" + std::to_wstring(f));
        // The selected folders may hold their own name: F0\F0.
        for (int i = 0; i < 8; ++i)
        {
            std::wstring top = random() % 4 == 0 ? L"" : selected[random() % selected.size()] + L"\\";
            std::wstring name = names[random() % names.size()];
            if (random() % 5 == 0 && !top.empty())
                name = top.substr(0, top.size() - 1);
            std::wstring path = top + name;
            if (random() % 2)
                path += L"\\" + names[random() % names.size()];
            bool blocked = false;
            for (const auto& [existing, bytes] : tree)
            {
                // A file cannot also be a folder, on any file system; Unix case twins are avoided too.
                const auto same = [](const std::wstring& x, const std::wstring& y) {
                    return ::CompareStringOrdinal(x.c_str(), -1, y.c_str(), -1, TRUE) == CSTR_EQUAL;
                };
                if (same(existing, path) || same(existing.substr(0, path.size() + 1), path + L"\\") ||
                    same(path.substr(0, existing.size() + 1), existing + L"\\"))
                    blocked = true;
                const size_t slash = path.find(L'\\');
                const size_t otherSlash = existing.find(L'\\');
                if (slash != std::wstring::npos && otherSlash != std::wstring::npos &&
                    same(path.substr(0, slash), existing.substr(0, otherSlash)) &&
                    path.substr(0, slash) != existing.substr(0, otherSlash))
                    blocked = true;
            }
            if (std::find(selected.begin(), selected.end(), path) != selected.end())
                blocked = true;
            if (!blocked)
                tree[path] = "content " + std::to_string(run) + "/" + std::to_string(i);
        }
        MakeFolders(selected);
        MakeTree(tree);
        const auto before = ReadTree(TempFolder());
        DialogDriver driver;
        driver.AnswerShellConfirmations();
        bool clashed = false;
        driver.OnDialog(L"Extract Folders Clash", [&](DialogHandle dlg) {
            clashed = true;
            dlg.Click(IDOK);
        });
        Extract(selected);
        const auto after = ReadTree(TempFolder());
        ++trees;
        files += before.size();
        if (clashed)
        {
            ++clashes;
            EXPECT_EQ(after, before) << "run " << run;
            continue;
        }
        // Each file lost exactly one leading component when it was in a selected folder.
        std::map<std::wstring, std::string> expected;
        for (const auto& [path, bytes] : before)
        {
            const size_t slash = path.find(L'\\');
            const bool inSelected = slash != std::wstring::npos && std::find(selected.begin(), selected.end(),
                                                                             path.substr(0, slash)) != selected.end();
            expected[inSelected ? path.substr(slash + 1) : path] = bytes;
        }
        EXPECT_EQ(after, expected) << "run " << run;
    }
    RecordProperty("trees", trees);
    std::printf("extract: %d trees, %d refused with the clash dialog and left as they were, %zu files checked\n", trees,
                clashes, files);
}
