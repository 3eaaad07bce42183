#include "copynames/ItemList.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/LongPath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

namespace
{
// A progress window stand-in that records the folders and can cancel or act at any folder.
class RecordingAbort : public MAbortBase
{
  public:
    void SetCurrentFolder(const std::wstring& folder) override
    {
        folders.push_back(folder);
        if (onFolder)
            onFolder(folder);
    }
    bool IsAborted() override
    {
        ++questions;
        return abortAfter >= 0 && questions > abortAfter;
    }

    std::vector<std::wstring> folders;
    std::function<void(const std::wstring&)> onFolder;
    int abortAfter = -1; // answers "aborted" after this many questions; -1 never
    int questions = 0;
};

class ItemListTest : public TempFolderTest
{
  protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        // photos holds b.jpg, A.jpg and 2019 (holding c.jpg); notes.txt stands beside it.
        Make(L"photos\\");
        Make(L"photos\\b.jpg", 2000);
        Make(L"photos\\A.jpg", 1000);
        Make(L"photos\\2019\\");
        Make(L"photos\\2019\\c.jpg", 3000);
        Make(L"notes.txt", 1000);
    }

    void Make(const std::wstring& relative, size_t bytes = 0)
    {
        const std::wstring path = TempPath(relative);
        if (path.back() == L'\\')
            ASSERT_TRUE(CreateFolder(path.substr(0, path.size() - 1))) << path;
        else
            ASSERT_TRUE(WriteFileBytes(path, std::string(bytes, 'x'))) << path;
    }

    // The names of the output, "|"-separated, folders marked with a trailing '/'.
    static std::wstring Names(const ItemList& list)
    {
        std::wstring names;
        for (const CFItem* item : list.Output())
        {
            if (!names.empty())
                names += L'|';
            names += item->Name();
            if (item->IsFolder())
                names += L'/';
        }
        return names;
    }

    std::wstring Scanned(FolderScanOptions options, std::vector<std::wstring> selected = {L"photos"})
    {
        m_selected.clear();
        for (const std::wstring& name : selected)
            m_selected.push_back(TempPath(name));
        ItemList list;
        for (const std::wstring& path : m_selected)
            list.AddPath(path);
        RecordingAbort abort;
        ScanSelectedFolders(list, abort, options);
        return Names(list);
    }

    std::vector<std::wstring> m_selected; // the list keeps views of them
};

FolderScanOptions Options(FolderScanOptions::Mode mode, int depth = 0)
{
    FolderScanOptions options;
    options.mode = mode;
    options.depthLimited = depth > 0;
    options.depth = depth > 0 ? depth : 1;
    return options;
}
} // namespace

TEST_F(ItemListTest, ScansInPreOrderByModeAndDepth)
{
    using O = FolderScanOptions;
    EXPECT_EQ(Scanned(Options(O::kFilesAndFolders)),
              L"photos/|photos\\A.jpg|photos\\b.jpg|photos\\2019/|photos\\2019\\c.jpg");
    EXPECT_EQ(Scanned(Options(O::kFilesOnly)), L"photos\\A.jpg|photos\\b.jpg|photos\\2019\\c.jpg");
    EXPECT_EQ(Scanned(Options(O::kFilesOnly, 1)), L"photos\\A.jpg|photos\\b.jpg");
    EXPECT_EQ(Scanned(Options(O::kFoldersOnly)), L"photos/|photos\\2019/");
    EXPECT_EQ(Scanned(Options(O::kFilesAndFolders, 1)), L"photos/|photos\\A.jpg|photos\\b.jpg|photos\\2019/");
    EXPECT_EQ(Scanned(Options(O::kFilesAndFolders, 2)),
              L"photos/|photos\\A.jpg|photos\\b.jpg|photos\\2019/|photos\\2019\\c.jpg");
    // Files stay as they are; each selected folder is replaced where it was selected.
    EXPECT_EQ(Scanned(Options(O::kFilesOnly), {L"notes.txt", L"photos", L"missing", L"notes.txt"}),
              L"notes.txt|photos\\A.jpg|photos\\b.jpg|photos\\2019\\c.jpg|notes.txt");
}

TEST_F(ItemListTest, ADriveRootScansAsItsOwnEntries)
{
    const std::wstring root = L"C:\\";
    ItemList list;
    list.AddPath(root);
    RecordingAbort abort;
    ScanSelectedFolders(list, abort, Options(FolderScanOptions::kFilesAndFolders, 2));
    ASSERT_GT(list.Output().size(), 2u);
    EXPECT_EQ(list.Output().front()->Path(), root) << "the selected root itself";
    bool windows = false;
    for (const CFItem* item : list.Output())
    {
        const std::wstring_view path = item->Path();
        EXPECT_EQ(path.find(L"\\\\"), std::wstring_view::npos) << std::wstring(path);
        if (item == list.Output().front())
            continue;
        EXPECT_EQ(std::wstring(path.substr(0, 3)), root);
        EXPECT_EQ(item->Name(), path.substr(3)) << "below the root, the name is the path";
        windows = windows || ToLongPath(std::wstring(path)) == L"\\\\?\\C:\\windows\\system32";
    }
    EXPECT_TRUE(windows) << "a folder two levels down";
    EXPECT_EQ(abort.folders.front(), root);
}

TEST_F(ItemListTest, PatternsFilterFilesOnly)
{
    Make(L"photos\\ab.jpg");
    Make(L"photos\\2019\\keep.TXT");
    FolderScanOptions options = Options(FolderScanOptions::kFilesAndFolders);
    options.includeOn = true;
    options.includePattern = L"*.JPG";
    EXPECT_EQ(Scanned(options),
              L"photos/|photos\\A.jpg|photos\\ab.jpg|photos\\b.jpg|photos\\2019/|photos\\2019\\c.jpg");
    options.excludeOn = true;
    options.excludePattern = L"?.jpg";
    EXPECT_EQ(Scanned(options), L"photos/|photos\\ab.jpg|photos\\2019/");
    options.includePattern = L"*.txt";
    options.excludeOn = false;
    EXPECT_EQ(Scanned(options), L"photos/|photos\\2019/|photos\\2019\\keep.TXT") << "folders are never filtered";
    options.includeOn = false;
    options.excludeOn = true;
    options.excludePattern = L"*";
    EXPECT_EQ(Scanned(options), L"photos/|photos\\2019/");
}

TEST_F(ItemListTest, ItemsCarryTheirFileData)
{
    m_selected = {TempPath(L"photos"), TempPath(L"notes.txt")};
    ItemList list;
    for (const std::wstring& path : m_selected)
        list.AddPath(path);
    list.Flatten();
    ASSERT_EQ(list.Output().size(), 2u);
    EXPECT_TRUE(list.ContainsFolders());
    EXPECT_EQ(list.Output()[0]->size, 0u);
    EXPECT_EQ(list.Output()[1]->size, 1000u);
    EXPECT_EQ(list.TotalSize(), 1000u);
    EXPECT_NE(list.Output()[1]->lastWriteTime, 0u);
    EXPECT_EQ(list.Output()[1]->Path().data(), m_selected[1].c_str()) << "the selection's text is not copied";

    RecordingAbort abort;
    ScanSelectedFolders(list, abort, Options(FolderScanOptions::kFilesOnly));
    EXPECT_EQ(list.TotalSize(), 7000u);
    EXPECT_EQ(abort.folders, (std::vector<std::wstring>{TempPath(L"photos"), TempPath(L"photos\\2019")}));
    FolderScanOptions options;
    EXPECT_FALSE(StatusCountsFolders(list, options)) << "files only, scanned";
    options.mode = FolderScanOptions::kFilesAndFolders;
    EXPECT_TRUE(StatusCountsFolders(list, options));
    list.expand = false;
    options.mode = FolderScanOptions::kFilesOnly;
    EXPECT_TRUE(StatusCountsFolders(list, options)) << "folders listed as themselves";
}

TEST_F(ItemListTest, SortsWithTheirTieRules)
{
    Make(L"photos\\same-size-b.txt", 1000);
    Make(L"photos\\Same-size-a.txt", 1000);
    m_selected = {TempPath(L"photos")};
    ItemList list;
    list.AddPath(m_selected[0]);
    RecordingAbort abort;
    ScanSelectedFolders(list, abort, Options(FolderScanOptions::kFilesAndFolders));
    const std::wstring asScanned = Names(list);

    struct Case
    {
        SortOption option;
        const wchar_t* names;
    };
    const Case cases[] = {
        {SortOption::NameAscending,
         L"photos/|photos\\2019/"
         L"|photos\\2019\\c.jpg|photos\\A.jpg|photos\\b.jpg|photos\\Same-size-a.txt|photos\\same-size-b.txt"},
        {SortOption::NameDescending, L"photos\\same-size-b.txt|photos\\Same-size-a.txt|photos\\b.jpg|photos\\A.jpg|"
                                     L"photos\\2019\\c.jpg|photos\\2019/|photos/"},
        // Equal sizes: folders first, then by name; descending is the exact reverse.
        {SortOption::SizeAscending,
         L"photos/|photos\\2019/"
         L"|photos\\A.jpg|photos\\Same-size-a.txt|photos\\same-size-b.txt|photos\\b.jpg|photos\\2019\\c.jpg"},
        {SortOption::SizeDescending,
         L"photos\\2019\\c.jpg|photos\\b.jpg|photos\\same-size-b.txt|photos\\Same-size-a.txt|"
         L"photos\\A.jpg|photos\\2019/|photos/"},
        {SortOption::PathLengthAscending,
         L"photos/|photos\\2019/"
         L"|photos\\A.jpg|photos\\b.jpg|photos\\2019\\c.jpg|photos\\Same-size-a.txt|photos\\same-size-b.txt"},
        {SortOption::PathLengthDescending,
         L"photos\\same-size-b.txt|photos\\Same-size-a.txt|photos\\2019\\c.jpg|photos\\b."
         L"jpg|photos\\A.jpg|photos\\2019/|photos/"},
    };
    for (const Case& c : cases)
    {
        list.sortOption = c.option;
        list.changed = false;
        list.Flatten();
        list.Sort();
        EXPECT_TRUE(list.changed);
        EXPECT_EQ(Names(list), c.names) << "option " << static_cast<int>(c.option);
    }
    list.sortOption = SortOption::AsSelected;
    list.Flatten();
    list.changed = false;
    list.Sort();
    EXPECT_TRUE(list.changed);
    EXPECT_EQ(Names(list), asScanned);

    // Modified dates, with ties by name.
    const auto setTime = [](const std::wstring& path, uint64_t time) {
        const FILETIME fileTime{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        const HANDLE file = ::CreateFileW(ToLongPath(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &fileTime));
        ::CloseHandle(file);
    };
    const uint64_t base = 133000000000000000ull;
    setTime(TempPath(L"photos"), base + 5);
    setTime(TempPath(L"photos\\2019"), base + 5);
    setTime(TempPath(L"photos\\2019\\c.jpg"), base + 1);
    setTime(TempPath(L"photos\\A.jpg"), base + 3);
    setTime(TempPath(L"photos\\b.jpg"), base + 2);
    setTime(TempPath(L"photos\\Same-size-a.txt"), base + 4);
    setTime(TempPath(L"photos\\same-size-b.txt"), base + 4);
    ItemList dated;
    dated.AddPath(m_selected[0]);
    ScanSelectedFolders(dated, abort, Options(FolderScanOptions::kFilesAndFolders));
    dated.sortOption = SortOption::ModifiedAscending;
    dated.Sort();
    EXPECT_EQ(Names(dated), L"photos\\2019\\c.jpg|photos\\b.jpg|photos\\A.jpg|photos\\Same-size-a.txt|photos\\same-"
                            L"size-b.txt|photos/|photos\\2019/");
    dated.sortOption = SortOption::ModifiedDescending;
    dated.Flatten();
    dated.Sort();
    EXPECT_EQ(Names(dated),
              L"photos\\2019/|photos/"
              L"|photos\\same-size-b.txt|photos\\Same-size-a.txt|photos\\A.jpg|photos\\b.jpg|photos\\2019\\c.jpg");
}

TEST_F(ItemListTest, CancellingListsEachSelectedFolderAsItself)
{
    Make(L"second\\");
    Make(L"second\\x.txt");
    m_selected = {TempPath(L"photos"), TempPath(L"notes.txt"), TempPath(L"second")};
    for (int abortAfter = 0; abortAfter < 12; ++abortAfter)
    {
        ItemList list;
        for (const std::wstring& path : m_selected)
            list.AddPath(path);
        RecordingAbort abort;
        abort.abortAfter = abortAfter;
        ScanSelectedFolders(list, abort, Options(FolderScanOptions::kFilesAndFolders));
        if (abort.questions <= abortAfter)
        {
            EXPECT_EQ(Names(list), L"photos/|photos\\A.jpg|photos\\b.jpg|photos\\2019/|photos\\2019\\c.jpg|notes.txt|"
                                   L"second/|second\\x.txt");
            break;
        }
        EXPECT_EQ(Names(list), L"photos/|notes.txt|second/") << "cancelled after " << abortAfter;
        EXPECT_FALSE(list.expand);
        EXPECT_FALSE(list.includeFolders);
        for (const auto& item : list.Items())
        {
            if (const auto* folder = dynamic_cast<const FolderCFItem*>(item.get()))
            {
                EXPECT_TRUE(folder->children.empty());
            }
        }
    }
}

TEST_F(ItemListTest, VanishedEntriesAndUnreadablePathsAreLeftOut)
{
    // The subfolder goes after it was listed but before it is read; a file goes before its
    // folder is read.
    RecordingAbort abort;
    abort.onFolder = [&](const std::wstring& folder) {
        if (folder == TempPath(L"photos"))
        {
            EXPECT_TRUE(DeleteTree(TempPath(L"photos\\b.jpg")));
        }
        else if (folder == TempPath(L"photos\\2019"))
        {
            EXPECT_TRUE(DeleteTree(folder));
        }
    };
    m_selected = {TempPath(L"photos")};
    ItemList list;
    list.AddPath(m_selected[0]);
    list.AddPath(L"C:\\no\\such\\path");
    list.AddPath(L"");
    EXPECT_EQ(list.ItemCount(), 1u);
    ScanSelectedFolders(list, abort, Options(FolderScanOptions::kFilesAndFolders));
    EXPECT_EQ(Names(list), L"photos/|photos\\A.jpg|photos\\2019/");
}

TEST_F(ItemListTest, LinksAreListedLikeFilesAndNotFollowed)
{
    // Wine cannot make links; the test runner made this one on the Unix side.
    const std::wstring links = WindowsPathOfUnixPath(L"" BRELVANTA_SOURCE_DIR L"/build/test-links");
    const DWORD attributes = ::GetFileAttributesW((links + L"\\folder-link").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "scripts/wine-run makes build/test-links/folder-link";
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    m_selected = {links};
    ItemList list;
    list.AddPath(m_selected[0]);
    RecordingAbort abort;
    FolderScanOptions options = Options(FolderScanOptions::kFilesOnly);
    options.includeOn = true;
    options.includePattern = L"folder-*";
    ScanSelectedFolders(list, abort, options);
    EXPECT_EQ(Names(list), L"test-links\\folder-link/");
    const auto* link = dynamic_cast<const ExpandedCFItem*>(list.Output()[0]);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->GetKind(), ExpandedCFItem::kReparsePoint);
    for (const std::wstring& folder : abort.folders)
        EXPECT_EQ(folder.find(L"folder-link"), std::wstring::npos) << "a link is never read";

    // A selected link is a file item.
    const std::wstring selectedLink = links + L"\\folder-link";
    ItemList selected;
    selected.AddPath(selectedLink);
    EXPECT_FALSE(selected.ContainsFolders());
}

TEST_F(ItemListTest, TreesDeeperThanTheOldPathLimitAreScanned)
{
    std::wstring relative = L"deep";
    Make(relative + L"\\");
    for (int level = 0; level < 12; ++level)
    {
        relative += L"\\" + std::wstring(40, static_cast<wchar_t>(L'a' + level)) + L"\u00e9\U0001F600";
        Make(relative + L"\\");
    }
    Make(relative + L"\\last file.txt", 5);
    ASSERT_GT(TempPath(relative).size(), 500u);
    m_selected = {TempPath(L"deep")};
    ItemList list;
    list.AddPath(m_selected[0]);
    RecordingAbort abort;
    ScanSelectedFolders(list, abort, Options(FolderScanOptions::kFilesOnly));
    ASSERT_EQ(list.Output().size(), 1u);
    EXPECT_EQ(list.Output()[0]->Name(), relative + L"\\last file.txt");
    EXPECT_EQ(list.TotalSize(), 5u);
    EXPECT_EQ(abort.folders.size(), 13u);
}

TEST(WildcardTest, MatchesLikeTheShell)
{
    struct Case
    {
        const wchar_t* pattern;
        const wchar_t* name;
        bool match;
    };
    const Case cases[] = {
        {L"*.*", L"a.txt", true},
        {L"*.*", L"noext", false},
        {L"*", L"", true},
        {L"", L"", true},
        {L"", L"a", false},
        {L"*.txt", L"a.txt", true},
        {L"*.txt", L"a.txt.bak", false},
        {L"?.jpg", L"a.jpg", true},
        {L"?.jpg", L"ab.jpg", false},
        {L"a?c", L"ac", false},
        {L"a*b*c", L"aXbYbZc", true},
        {L"a*b*c", L"aXbYbZ", false},
        {L"\\*x", L"*x", true},
        {L"\\*x", L"ax", false},
        {L"\\?", L"?", true},
        {L"\\?", L"a", false},
        {L"a/b", L"ab", true},
        {L"ab//", L"ab", true},
        {L"ab*/*", L"ab", true},
        {L"a\\", L"a", false},
        {L"*a", L"aaaa", true},
        {L"**a**", L"bab", true},
        {L"\u00e4*", L"\u00e4x", true},
        {L"*\\\\", L"a\\", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << L" / " << c.name;

    // Many stars against a long name that fails late: no blow-up.
    EXPECT_FALSE(MatchWildcard(std::wstring(50, L'*') + L"b", std::wstring(100000, L'a')));
}

TEST_F(ItemListTest, ScanResultsCanBeDroppedInTheCurrentOrder)
{
    const std::wstring photos = TempPath(L"photos"), notes = TempPath(L"notes.txt");
    ItemList list;
    list.AddPath(photos);
    list.AddPath(notes);
    list.Flatten();
    RecordingAbort abort;
    ScanSelectedFolders(list, abort, Options(FolderScanOptions::kFilesAndFolders));
    list.SetSortOption(SortOption::NameDescending);
    EXPECT_EQ(Names(list), L"photos\\b.jpg|photos\\A.jpg|photos\\2019\\c.jpg|photos\\2019/|photos/|notes.txt");
    EXPECT_EQ(list.TotalSize(), 7000u);

    list.changed = false;
    list.DropScanResults();
    EXPECT_TRUE(list.changed);
    EXPECT_FALSE(list.expand);
    EXPECT_FALSE(list.includeFolders);
    EXPECT_EQ(Names(list), L"photos/|notes.txt") << "still sorted Z-A";
    EXPECT_EQ(list.TotalSize(), 1000u);
    for (const auto& item : list.Items())
    {
        if (const auto* folder = dynamic_cast<const FolderCFItem*>(item.get()))
        {
            EXPECT_TRUE(folder->children.empty());
        }
    }

    // Back to the selection order, from any sorted one.
    list.SetSortOption(SortOption::NameAscending);
    EXPECT_EQ(Names(list), L"notes.txt|photos/");
    list.changed = false;
    list.SetSortOption(SortOption::AsSelected);
    EXPECT_TRUE(list.changed);
    EXPECT_EQ(Names(list), L"photos/|notes.txt");
}
