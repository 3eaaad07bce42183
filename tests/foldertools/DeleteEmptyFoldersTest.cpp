#include "foldertools/ClipboardPaths.h"
#include "foldertools/DelEmptyFoldersCommand.h"
#include "foldertools/EmptyFolderScan.h"
#include "resources/resource.h"
#include "tests/foldertools/FolderToolsTestSupport.h"
#include "tests/support/ClipboardHelpers.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/KeyboardAccess.h"
#include "winsupport/LongPath.h"
#include "winui/ProgressPath.h"
#include "winui/WindowHandles.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <malloc.h>

#include <cstdio>
#include <random>
#include <set>

namespace
{
// A scan that is never cancelled and remembers the folders it was told about.
struct Recorder : MAbortBase
{
    std::vector<std::wstring> folders;
    bool abortAfterFirst = false;
    void SetCurrentFolder(const std::wstring& folder) override { folders.push_back(folder); }
    bool IsAborted() override { return abortAfterFirst && folders.size() > 1; }
};

// A scan on a thread of the file manager's stack size, three quarters of it used by the host.
struct ScanOnHostStack
{
    std::wstring root;
    std::vector<std::wstring> found;
    bool finished = false;

    static DWORD WINAPI Thread(void* context)
    {
        volatile char* usedByHost = static_cast<char*>(_alloca(768 * 1024));
        usedByHost[0] = 0;
        auto& run = *static_cast<ScanOnHostStack*>(context);
        Recorder recorder;
        EmptyFolderScan scan(recorder);
        run.finished = scan.Run({run.root});
        run.found = scan.Found();
        return 0;
    }
};
} // namespace

class DeleteEmptyFoldersTest : public FolderToolsTest
{
  protected:
    std::vector<std::wstring> Scan(const std::vector<std::wstring>& names)
    {
        Recorder recorder;
        EmptyFolderScan scan(recorder);
        std::vector<std::wstring> folders;
        for (const std::wstring& name : names)
            folders.push_back(name.find(L':') != std::wstring::npos ? name : TempPath(name));
        EXPECT_TRUE(scan.Run(folders));
        return scan.Found();
    }
    void Invoke(const std::vector<std::wstring>& names, KeyFlags keys = 0)
    {
        DelEmptyFoldersCommand command(L"Delete Empty Folders");
        command.Invoke(SelectionOf(names), keys, CWindow());
    }
};

TEST_F(DeleteEmptyFoldersTest, OnlyTheTopOfAnEmptySubtreeIsFound)
{
    MakeFolders({L"top\\a\\b", L"top\\c", L"full\\empty\\deeper", L"full\\kept"});
    MakeTree({{L"full\\kept\\file.txt", "x"}});
    EXPECT_EQ(Scan({L"top"}), std::vector<std::wstring>{TempPath(L"top")});
    EXPECT_EQ(Scan({L"full"}), std::vector<std::wstring>{TempPath(L"full\\empty")});
    // Two selected folders: the whole list is sorted ordinally.
    EXPECT_EQ(Scan({L"top", L"full"}), (std::vector<std::wstring>{TempPath(L"full\\empty"), TempPath(L"top")}));
}

TEST_F(DeleteEmptyFoldersTest, HiddenFilesCountUnlessTheyAreTheShellsOwn)
{
    struct Case
    {
        const wchar_t* name;
        bool hidden;
        bool empty;
    };
    const Case cases[] = {{L"Thumbs.db", true, true},
                          {L"desktop.ini", true, true},
                          {L"Thumbs.db", false, false},
                          {L"Desktop.ini", true, false},
                          {L"other.txt", true, false}};
    int i = 0;
    for (const Case& c : cases)
    {
        const std::wstring folder = L"case" + std::to_wstring(++i);
        MakeTree({{folder + L"\\" + c.name, "x"}});
        if (c.hidden)
            SetHidden(TempPath(folder + L"\\" + c.name));
        EXPECT_EQ(Scan({folder}).size(), c.empty ? 1u : 0u) << c.name << (c.hidden ? " hidden" : " visible");
    }
    MakeTree({{L"both\\Thumbs.db", "t"}, {L"both\\desktop.ini", "d"}});
    SetHidden(TempPath(L"both\\Thumbs.db"));
    SetHidden(TempPath(L"both\\desktop.ini"));
    EXPECT_EQ(Scan({L"both"}).size(), 1u);
}

TEST_F(DeleteEmptyFoldersTest, LinksAreNeverFollowedAndDeepTreesAreRead)
{
    // build/test-links holds an empty folder and a link to it: the link counts for nothing.
    const std::wstring links = TestLinksFolder();
    ASSERT_NE(::GetFileAttributesW((links + L"\\folder-link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    Recorder recorder;
    EmptyFolderScan scan(recorder);
    ASSERT_TRUE(scan.Run({links}));
    EXPECT_EQ(scan.Found(), std::vector<std::wstring>{links});
    for (const std::wstring& folder : recorder.folders)
        EXPECT_EQ(folder.find(L"folder-link"), std::wstring::npos) << "followed the link";

    std::wstring deep = L"deep";
    while (TempPath(deep).size() < 320)
        deep += L"\\" + std::wstring(50, L'y');
    MakeTree({{deep + L"\\file.txt", "f"}});
    MakeFolders({L"deep\\empty"});
    EXPECT_EQ(Scan({L"deep"}), std::vector<std::wstring>{TempPath(L"deep\\empty")}) << "a file 320 deep counts";
}

TEST(EntryWeightTest, OnlyLinksAmongReparsePointsHoldNothing)
{
    struct Case
    {
        DWORD attributes;
        DWORD tag;
        const wchar_t* name;
        EntryWeight weight;
    };
    constexpr DWORD kReparse = FILE_ATTRIBUTE_REPARSE_POINT;
    constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;
    const Case cases[] = {
        {kReparse | kFolder, 0xA000000C, L"symbolic link", EntryWeight::Nothing},
        {kReparse, 0xA000000C, L"file symbolic link", EntryWeight::Nothing},
        {kReparse | kFolder, 0xA0000003, L"junction", EntryWeight::Nothing},
        {kReparse | kFolder, 0, L"link without a tag (Wine)", EntryWeight::Nothing},
        {kReparse, 0x80000013, L"deduplicated file", EntryWeight::File},
        {kReparse, 0x9000601A, L"cloud file", EntryWeight::File},
        {kReparse | kFolder, 0x9000601A, L"cloud folder", EntryWeight::File},
        {kReparse, 0xC0000004, L"tiered storage", EntryWeight::File},
        {kReparse, 0x80000017, L"compressed system file", EntryWeight::File},
        {kReparse | FILE_ATTRIBUTE_HIDDEN, 0x80000013, L"desktop.ini", EntryWeight::File},
        {kFolder, 0, L"folder", EntryWeight::Subfolder},
        {kFolder | FILE_ATTRIBUTE_HIDDEN, 0, L"hidden folder", EntryWeight::Subfolder},
        {FILE_ATTRIBUTE_NORMAL, 0, L"a.txt", EntryWeight::File},
        {FILE_ATTRIBUTE_HIDDEN, 0, L"desktop.ini", EntryWeight::Nothing},
        {FILE_ATTRIBUTE_HIDDEN, 0, L"Thumbs.db", EntryWeight::Nothing},
        {FILE_ATTRIBUTE_HIDDEN, 0, L"Desktop.ini", EntryWeight::HiddenFile},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WeighEntry(c.attributes, c.tag, c.name), c.weight) << c.name;
}

// The file manager's threads have 1 MiB of stack, which a recursive scan of about 1,200 levels
// fills. Wine resolves a path in time that grows steeply with its depth (1,000 levels take half a
// minute to make and to scan) and gives no thread less than 1 MiB, so the scan runs here where
// the host has used three quarters of the stack already: 400 levels in the last 256 KiB.
TEST_F(DeleteEmptyFoldersTest, AChainDeeperThanTheStackIsScannedWithoutRecursion)
{
    std::vector<std::wstring> chain{TempPath(L"c")};
    ASSERT_TRUE(CreateFolder(chain.back()));
    while (chain.size() < 400)
    {
        chain.push_back(chain.back() + L"\\c");
        ASSERT_TRUE(CreateFolder(chain.back())) << chain.size();
    }
    const size_t withFile = chain.size() / 2;
    ASSERT_TRUE(WriteFileBytes(chain[withFile] + L"\\file.txt", "f"));

    // Left behind if the thread never ends, so that it never writes into a finished test.
    auto* run = new ScanOnHostStack{chain.front(), {}, false};
    const UniqueKernelHandle thread(::CreateThread(nullptr, 1024 * 1024, &ScanOnHostStack::Thread, run,
                                                   STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(::WaitForSingleObject(thread.Get(), 120000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ASSERT_TRUE(::GetExitCodeThread(thread.Get(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(run->finished);
    EXPECT_EQ(run->found, std::vector<std::wstring>{chain[withFile + 1]});
    delete run;

    // Deepest first, so that the tear-down's recursive removal meets a short tree.
    EXPECT_TRUE(DeleteTree(chain[withFile] + L"\\file.txt"));
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        EXPECT_TRUE(::RemoveDirectoryW(ToLongPath(*it).c_str()));
}

TEST_F(DeleteEmptyFoldersTest, CancellingStopsTheScan)
{
    MakeFolders({L"a\\b\\c"});
    Recorder recorder;
    recorder.abortAfterFirst = true;
    EmptyFolderScan scan(recorder);
    EXPECT_FALSE(scan.Run({TempPath(L"a")}));
}

TEST_F(DeleteEmptyFoldersTest, ASingleWhollyEmptySelectionIsDeletedWithoutTheDialog)
{
    const std::wstring name = L"empty" + std::to_wstring(::GetTickCount64());
    MakeFolders({name + L"\\sub"});
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    Invoke({name});
    EXPECT_FALSE(PathExists(TempPath(name)));
    EXPECT_TRUE(PathExists(TestTrashFiles() + L"\\" + name));
    for (const std::wstring& caption : driver.SeenCaptions())
        EXPECT_NE(caption, L"Delete Empty Folders");
}

TEST_F(DeleteEmptyFoldersTest, TheDialogListsPrunesCopiesAndDeletes)
{
    MakeFolders({L"root\\b", L"root\\a", L"root\\c", L"root\\d"});
    MakeTree({{L"root\\file.txt", "keep"}});
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        EXPECT_EQ(dlg.ListRows(IDC_EMPTY_FOLDERS_LIST),
                  (std::vector<std::wstring>{TempPath(L"root\\a"), TempPath(L"root\\b"), TempPath(L"root\\c"),
                                             TempPath(L"root\\d")}));
        EXPECT_EQ(dlg.GetText(IDC_EMPTY_FOLDERS_STATUS), L"4 empty folders found");
        EXPECT_FALSE(dlg.IsVisible(IDC_EMPTY_FOLDERS_REMOVE));
        // A keyboard user starts on the list; ENTER deletes.
        EXPECT_EQ(FocusedControlId(dlg.Hwnd()), IDC_EMPTY_FOLDERS_LIST);
        EXPECT_EQ(DefaultButtonId(dlg.Hwnd()), IDOK);

        dlg.SelectRow(IDC_EMPTY_FOLDERS_LIST, 0);
        EXPECT_TRUE(dlg.IsVisible(IDC_EMPTY_FOLDERS_REMOVE));
        EXPECT_TRUE(dlg.IsEnabled(IDC_EMPTY_FOLDERS_REMOVE));
        EXPECT_EQ(AccessKeyFaults(dlg.Hwnd()), std::vector<std::wstring>{});
        dlg.Command(IDM_EMPTY_FOLDERS_COPY_PATHS);
        EXPECT_EQ(ClipboardTextNow(), TempPath(L"root\\a"));
        dlg.SelectRow(IDC_EMPTY_FOLDERS_LIST, 1);
        dlg.Command(IDM_EMPTY_FOLDERS_COPY_PATHS);
        EXPECT_EQ(ClipboardTextNow(), TempPath(L"root\\a") + L"\r\n" + TempPath(L"root\\b") + L"\r\n");

        // a and b leave the list only; c is deleted at once from the context menu.
        EXPECT_TRUE(dlg.Click(IDC_EMPTY_FOLDERS_REMOVE));
        EXPECT_EQ(dlg.GetText(IDC_EMPTY_FOLDERS_STATUS), L"2 empty folders found");
        EXPECT_FALSE(dlg.IsEnabled(IDC_EMPTY_FOLDERS_REMOVE));
        dlg.SelectRow(IDC_EMPTY_FOLDERS_LIST, 0);
        dlg.Command(IDM_EMPTY_FOLDERS_DELETE);
        EXPECT_EQ(dlg.GetText(IDC_EMPTY_FOLDERS_STATUS), L"1 empty folder found");
        EXPECT_EQ(dlg.ListRows(IDC_EMPTY_FOLDERS_LIST), std::vector<std::wstring>{TempPath(L"root\\d")});
        EXPECT_TRUE(dlg.Click(IDOK));
    });
    Invoke({L"root"});
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_TRUE(PathExists(TempPath(L"root\\a")));
    EXPECT_TRUE(PathExists(TempPath(L"root\\b")));
    EXPECT_FALSE(PathExists(TempPath(L"root\\c")));
    EXPECT_FALSE(PathExists(TempPath(L"root\\d")));
    EXPECT_TRUE(PathExists(TempPath(L"root\\file.txt")));
}

TEST_F(DeleteEmptyFoldersTest, ControlShowsTheDialogAndCancelDeletesNothing)
{
    MakeFolders({L"only\\sub"});
    DialogDriver driver;
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        EXPECT_EQ(dlg.ListRows(IDC_EMPTY_FOLDERS_LIST), std::vector<std::wstring>{TempPath(L"only")});
        EXPECT_EQ(dlg.GetText(IDC_EMPTY_FOLDERS_STATUS), L"1 empty folder found");
        dlg.SelectAllRows(IDC_EMPTY_FOLDERS_LIST);
        dlg.Command(IDM_EMPTY_FOLDERS_REMOVE);
        EXPECT_EQ(dlg.GetText(IDC_EMPTY_FOLDERS_STATUS), L"No empty folders found");
        EXPECT_FALSE(dlg.IsEnabled(IDOK));
        EXPECT_TRUE(dlg.Click(IDCANCEL));
    });
    Invoke({L"only"}, kControlKey);
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_TRUE(PathExists(TempPath(L"only\\sub")));

    MakeTree({{L"full\\f.txt", "f"}});
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        EXPECT_EQ(dlg.GetText(IDC_EMPTY_FOLDERS_STATUS), L"No empty folders found");
        EXPECT_FALSE(dlg.IsEnabled(IDOK));
        dlg.Click(IDCANCEL);
    });
    Invoke({L"full"});
    EXPECT_EQ(driver.PendingScripts(), 0u);
    // Files only, or nothing that exists: no scan, no dialog.
    const size_t seen = driver.SeenCaptions().size();
    Invoke({L"full\\f.txt", L"vanished"});
    EXPECT_EQ(driver.SeenCaptions().size(), seen);
}

TEST_F(DeleteEmptyFoldersTest, TheContextMenuFitsTheSelectionAndOpensAtTheItemFromTheKeyboard)
{
    MakeFolders({L"menu\\a", L"menu\\b"});
    MakeTree({{L"menu\\f.txt", "f"}});
    DialogDriver driver;
    std::vector<int> itemCounts;
    POINT expected{};
    POINT shown{};
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        const HWND list = dlg.Item(IDC_EMPTY_FOLDERS_LIST);
        // Nothing selected: no menu at all.
        ::SendMessageW(dlg.Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
        dlg.SelectRow(IDC_EMPTY_FOLDERS_LIST, 1);
        RECT item{};
        ListView_GetItemRect(list, 1, &item, LVIR_BOUNDS);
        expected = {item.left + 5, item.top + 5};
        ::ClientToScreen(list, &expected);
        ::PostMessageW(dlg.Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
        driver.OnPopupMenu([&, dlg](HWND menu) {
            itemCounts.push_back(::GetMenuItemCount(reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0))));
            RECT place{};
            ::GetWindowRect(menu, &place);
            shown = {place.left, place.top};
            ::EndMenu();
            dlg.SelectAllRows(IDC_EMPTY_FOLDERS_LIST);
            ::PostMessageW(dlg.Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg.Item(IDC_EMPTY_FOLDERS_LIST)), -1);
            driver.OnPopupMenu([&, dlg](HWND second) {
                itemCounts.push_back(
                    ::GetMenuItemCount(reinterpret_cast<HMENU>(::SendMessageW(second, MN_GETHMENU, 0, 0))));
                ::EndMenu();
                ::PostMessageW(dlg.Hwnd(), WM_COMMAND, IDCANCEL, 0);
            });
        });
    });
    Invoke({L"menu"});
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_EQ(itemCounts, (std::vector<int>{4, 3})) << "OneFolder, then Folders";
    EXPECT_EQ(shown.x, expected.x);
    EXPECT_EQ(shown.y, expected.y);
}

TEST_F(DeleteEmptyFoldersTest, AFileSavedWhileTheListIsShownKeepsItsFolder)
{
    MakeFolders({L"root\\a", L"root\\b\\deeper", L"root\\c", L"root\\d"});
    MakeTree({{L"root\\file.txt", "keep"}});
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    std::wstring skippedText;
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle dlg) {
        EXPECT_EQ(dlg.ListRows(IDC_EMPTY_FOLDERS_LIST).size(), 4u);
        // Saved or synced in while the user looks at the list: a file deep down, a hidden file.
        EXPECT_TRUE(WriteFileBytes(TempPath(L"root\\b\\deeper\\saved.txt"), "saved"));
        EXPECT_TRUE(WriteFileBytes(TempPath(L"root\\c\\notes"), "hidden"));
        SetHidden(TempPath(L"root\\c\\notes"));
        dlg.Click(IDOK);
    });
    driver.OnDialog(L"Delete Empty Folders", [&](DialogHandle box) {
        skippedText = box.GetText(0xFFFF);
        box.Click(IDOK);
    });
    Invoke({L"root"});
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_EQ(skippedText, L"2 folders were not deleted because they are no longer empty.");
    EXPECT_FALSE(PathExists(TempPath(L"root\\a")));
    EXPECT_FALSE(PathExists(TempPath(L"root\\d")));
    EXPECT_EQ(ReadFileBytes(TempPath(L"root\\b\\deeper\\saved.txt")), std::optional<std::string>("saved"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"root\\c\\notes")), std::optional<std::string>("hidden"));
    EXPECT_EQ(ReadFileBytes(TempPath(L"root\\file.txt")), std::optional<std::string>("keep"));

    // Nothing changed: no word about skipped folders.
    MakeFolders({L"again\\x", L"again\\y"});
    MakeTree({{L"again\\file.txt", "keep"}});
    driver.OnDialog(L"Delete Empty Folders", [](DialogHandle dlg) { dlg.Click(IDOK); });
    const size_t seen = driver.SeenCaptions().size();
    Invoke({L"again"});
    const std::vector<std::wstring> after(driver.SeenCaptions().begin() + static_cast<ptrdiff_t>(seen),
                                          driver.SeenCaptions().end());
    EXPECT_EQ(after, (std::vector<std::wstring>{L"Scanning for empty folders", L"Delete Empty Folders"}));
    EXPECT_FALSE(PathExists(TempPath(L"again\\x")));
    EXPECT_FALSE(PathExists(TempPath(L"again\\y")));
}

TEST_F(DeleteEmptyFoldersTest, TheOwnerIsDisabledAndNoScanOutlivesItsWindows)
{
    // Enough folders that the scan is still running when the driver's timer first fires.
    std::vector<std::wstring> folders;
    for (int i = 0; i < 500; ++i)
        folders.push_back(L"tree\\f" + std::to_wstring(i));
    MakeFolders(folders);
    DialogDriver driver;
    driver.AnswerShellConfirmations();
    for (const bool destroyOwner : {false, true})
    {
        const UniqueWindow owner(::CreateWindowExW(0, L"STATIC", L"file manager", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                                   nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(owner);
        bool ownerEnabled = true;
        driver.OnDialog(L"Scanning for empty folders", [&](DialogHandle progress) {
            ownerEnabled = ::IsWindowEnabled(owner.Get()) != FALSE;
            EXPECT_EQ(FocusedControlId(progress.Hwnd()), IDCANCEL);
            ::DestroyWindow(destroyOwner ? owner.Get() : progress.Hwnd());
        });
        DelEmptyFoldersCommand command(L"Delete Empty Folders");
        command.Invoke(SelectionOf({L"tree"}), 0, CWindow(owner.Get()));
        EXPECT_EQ(driver.PendingScripts(), 0u);
        EXPECT_FALSE(ownerEnabled) << "owner destroyed: " << destroyOwner;
        EXPECT_TRUE(PathExists(TempPath(L"tree\\f499"))) << "owner destroyed: " << destroyOwner;
        EXPECT_EQ(::IsWindow(owner.Get()), !destroyOwner);
        if (!destroyOwner)
        {
            EXPECT_TRUE(::IsWindowEnabled(owner.Get())) << "enabled again once the scan ended";
        }
    }
    EXPECT_EQ(driver.ShellConfirmationsAnswered(), 0);
}

TEST(ProgressPathTest, PathsOfOnePeriodShrinkToTheirCommonStart)
{
    ProgressPath path;
    EXPECT_EQ(path.Take(), L"");
    path.Record(L"C:\\data\\one");
    EXPECT_EQ(path.Take(), L"C:\\data\\one");
    EXPECT_EQ(path.Take(), L"C:\\data\\one") << "a period with no report shows the last path";
    path.Record(L"C:\\data\\two");
    path.Record(L"C:\\data\\three");
    EXPECT_EQ(path.Take(), L"C:\\data\\t...");
    path.Record(L"C:\\x");
    path.Record(L"C:\\x");
    EXPECT_EQ(path.Take(), L"C:\\x");
}

TEST(ClipboardPathsTest, OneNameHasNoLineBreak)
{
    EXPECT_EQ(ClipboardPathText({L"C:\\a"}).Text(), L"C:\\a");
    EXPECT_EQ(ClipboardPathText({L"C:\\a", L"C:\\b"}).Text(), L"C:\\a\r\nC:\\b\r\n");
    EXPECT_EQ(ClipboardPathText({}).Text(), L"");
}

// Random trees: after the command every file (hidden ones too) still exists, and only folders whose
// whole subtree held no counted file are gone.
TEST_F(DeleteEmptyFoldersTest, RandomTreesLoseNoFile)
{
    std::mt19937 random(7);
    int trees = 0;
    size_t files = 0;
    size_t foldersGone = 0;
    for (int run = 0; run < 80; ++run)
    {
        DeleteTree(TempFolder());
        CreateFolder(TempFolder());
        std::vector<std::wstring> folders{L"r"};
        for (int i = 0; i < 25; ++i)
            folders.push_back(folders[random() % folders.size()] + L"\\f" + std::to_wstring(i));
        MakeFolders(folders);
        std::map<std::wstring, std::string> tree;
        const wchar_t* fileNames[] = {L"a.txt", L"Thumbs.db", L"desktop.ini", L".h"};
        for (int i = 0; i < 6; ++i)
            tree[folders[random() % folders.size()] + L"\\" + fileNames[random() % 4]] = std::to_string(i);
        MakeTree(tree);
        std::set<std::wstring> counted; // folders holding a counted file
        for (const auto& [path, bytes] : tree)
        {
            const bool hidden = random() % 2 == 0;
            if (hidden)
                SetHidden(TempPath(path));
            const std::wstring name = path.substr(path.rfind(L'\\') + 1);
            const bool ignored = hidden && (name == L"Thumbs.db" || name == L"desktop.ini");
            if (!ignored)
                counted.insert(path.substr(0, path.rfind(L'\\')));
        }
        const auto before = ReadTree(TempFolder());
        DialogDriver driver;
        driver.AnswerShellConfirmations();
        driver.OnDialog(L"Delete Empty Folders", [](DialogHandle dlg) {
            if (dlg.IsEnabled(IDOK))
                dlg.Click(IDOK);
            else
                dlg.Click(IDCANCEL);
        });
        Invoke({L"r"}, kControlKey);
        ++trees;
        const auto kept = [&](const std::wstring& folder) {
            for (const std::wstring& full : counted)
                if (full == folder || full.rfind(folder + L"\\", 0) == 0)
                    return true;
            return false;
        };
        for (const std::wstring& folder : folders)
        {
            EXPECT_EQ(PathExists(TempPath(folder)), kept(folder)) << "run " << run;
            foldersGone += kept(folder) ? 0 : 1;
        }
        // Every file is still in place, except the shell's own hidden files of deleted folders,
        // which went to the Recycle Bin with them.
        for (const auto& [path, bytes] : before)
        {
            if (!kept(path.substr(0, path.rfind(L'\\'))))
                continue;
            const auto now = ReadFileBytes(TempPath(path));
            EXPECT_TRUE(now.has_value()) << "run " << run << " lost a file";
            EXPECT_EQ(now.value_or(""), bytes);
            ++files;
        }
    }
    std::printf("delete empty: %d trees, %zu files checked, %zu folders deleted, no file lost\n", trees, files,
                foldersGone);
}
