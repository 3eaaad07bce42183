#include "copydialog/FolderScanOptionsDlg.h"
#include "copydialog/FolderSummary.h"
#include "copydialog/ScanningFoldersDlg.h"

#include "resources/resource.h"
#include "tests/copydialog/CopyDialogTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"

#include <algorithm>
#include <functional>

namespace
{
const std::wstring kBadDepth = L"Invalid depth limit, this must be a number between 1 and 100.";
const std::wstring kSamePatterns = L"Can't have the same pattern for \"include-only\" and \"exclude\", since this "
                                   L"would mean nothing being included.";

std::wstring BadPattern(const std::wstring& which)
{
    return L"Invalid \"" + which +
           L"\" pattern, since filenames cannot contain any of these characters: \\ / : \" < > |";
}

FolderScanOptions Scanning()
{
    FolderScanOptions options;
    options.scanFolders = true;
    return options;
}

using Actions = std::function<void(DialogHandle)>;

// What pressing OK in the options dialog gives: the message shown (the dialog then stays open
// and is cancelled), or the options taken over.
struct OkOutcome
{
    bool accepted = false;
    std::wstring message;
    FolderScanOptions options;
};

OkOutcome PressOk(FolderScanOptions options, const Actions& setup)
{
    DialogDriver driver;
    std::vector<std::wstring> messages;
    driver.OnDialog(L"Folder Options", [&](DialogHandle dialog) {
        setup(dialog);
        dialog.PostClick(IDOK);
        AnswerMessage(driver, L"Folder Options", messages, [dialog] { dialog.PostClick(IDCANCEL); });
    });
    OkOutcome outcome;
    outcome.accepted = EditFolderScanOptions(CWindow(), options);
    EXPECT_FALSE(driver.TimedOut());
    outcome.message = messages.empty() ? L"" : messages[0];
    outcome.options = options;
    return outcome;
}

// A click on each of the controls in turn.
Actions Clicks(std::initializer_list<int> ids)
{
    return [ids = std::vector<int>(ids)](DialogHandle dialog) {
        for (const int id : ids)
            EXPECT_TRUE(UserClick(dialog, id)) << id;
    };
}

Actions Then(Actions first, Actions second)
{
    return [first, second](DialogHandle dialog) {
        first(dialog);
        second(dialog);
    };
}

Actions Type(int id, std::wstring text)
{
    return [id, text](DialogHandle dialog) { dialog.SetText(id, text); };
}

constexpr int kRuledControls[] = {IDC_SCAN_MODE_FILES,      IDC_SCAN_MODE_FOLDERS,    IDC_SCAN_MODE_BOTH,
                                  IDC_SCAN_INCLUDE_ON,      IDC_SCAN_INCLUDE_PATTERN, IDC_SCAN_EXCLUDE_ON,
                                  IDC_SCAN_EXCLUDE_PATTERN, IDC_SCAN_DEPTH_ON,        IDC_SCAN_DEPTH};

// Which of the nine controls of the enable rule are enabled, in the order above.
std::vector<bool> Enabled(const DialogHandle& dialog)
{
    std::vector<bool> enabled;
    for (const int id : kRuledControls)
        enabled.push_back(dialog.IsEnabled(id));
    return enabled;
}
} // namespace

TEST(FolderScanOptionsDlgTest, ShowsTheOptionsAndEnablesByTheRule)
{
    FolderScanOptions options;
    options.mode = static_cast<FolderScanOptions::Mode>(7); // shown as files only
    options.includePattern = L"*.txt";
    options.depth = 3;
    std::vector<std::vector<bool>> states;
    DialogDriver driver;
    driver.OnDialog(L"Folder Options", [&](DialogHandle dialog) {
        EXPECT_TRUE(dialog.IsEnabled(IDC_SCAN_NAMES_ONLY));
        EXPECT_EQ(::IsDlgButtonChecked(dialog.Hwnd(), IDC_SCAN_NAMES_ONLY), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(dialog.Hwnd(), IDC_SCAN_MODE_FILES), BST_CHECKED);
        EXPECT_EQ(dialog.GetText(IDC_SCAN_INCLUDE_PATTERN), L"*.txt");
        EXPECT_EQ(dialog.GetText(IDC_SCAN_EXCLUDE_PATTERN), L"*.*");
        EXPECT_EQ(dialog.GetText(IDC_SCAN_DEPTH), L"3");
        states.push_back(Enabled(dialog));
        UserClick(dialog, IDC_SCAN_FOLDERS);
        states.push_back(Enabled(dialog));
        UserClick(dialog, IDC_SCAN_INCLUDE_ON);
        UserClick(dialog, IDC_SCAN_DEPTH_ON);
        states.push_back(Enabled(dialog));
        UserClick(dialog, IDC_SCAN_MODE_FOLDERS);
        states.push_back(Enabled(dialog));
        UserClick(dialog, IDC_SCAN_MODE_BOTH);
        UserClick(dialog, IDC_SCAN_EXCLUDE_ON);
        UserClick(dialog, IDC_SCAN_INCLUDE_ON);
        states.push_back(Enabled(dialog));
        UserClick(dialog, IDC_SCAN_NAMES_ONLY);
        states.push_back(Enabled(dialog));
        dialog.Click(IDCANCEL);
    });
    const FolderScanOptions before = options;
    EXPECT_FALSE(EditFolderScanOptions(CWindow(), options));
    EXPECT_EQ(options, before) << "Cancel leaves the options as they were";
    EXPECT_EQ(driver.PendingScripts(), 0u);

    // mode files, folders, both; include box, edit; exclude box, edit; depth box, edit.
    const std::vector<std::vector<bool>> expected = {
        {false, false, false, false, false, false, false, false, false}, // not scanning
        {true, true, true, true, false, true, false, true, false},       // scanning
        {true, true, true, true, true, true, false, true, true},         // include and depth ticked
        {true, true, true, false, false, false, false, true, true},      // folders only: no patterns
        {true, true, true, true, false, true, true, true, true},         // both; exclude on, include off
        {false, false, false, false, false, false, false, false, false}, // names only again
    };
    EXPECT_EQ(states, expected);
}

TEST(FolderScanOptionsDlgTest, OkReadsTheControlsAndChecksInOrder)
{
    struct Case
    {
        const char* what;
        FolderScanOptions start;
        Actions setup;
        std::wstring message; // empty: accepted
        std::function<void(FolderScanOptions&)> change = {};
    };
    const auto tick = [](int box, int edit, const std::wstring& text) { return Then(Type(edit, text), Clicks({box})); };
    const Case cases[] = {
        {"OK with nothing changed", {}, Clicks({}), L""},
        {"scan files and folders",
         {},
         Clicks({IDC_SCAN_FOLDERS, IDC_SCAN_MODE_BOTH}),
         L"",
         [](FolderScanOptions& o) {
             o.scanFolders = true;
             o.mode = FolderScanOptions::kFilesAndFolders;
         }},
        {"depth 0 switches the limit off", Scanning(), tick(IDC_SCAN_DEPTH_ON, IDC_SCAN_DEPTH, L"0"), L"",
         [](FolderScanOptions& o) { o.depth = 0; }}, // as the tick read it; shown again next time
        {"depth without digits switches it off", Scanning(),
         Then(Clicks({IDC_SCAN_DEPTH_ON}), Type(IDC_SCAN_DEPTH, L"")), L""},
        {"depth 100", Scanning(), tick(IDC_SCAN_DEPTH_ON, IDC_SCAN_DEPTH, L"100"), L"",
         [](FolderScanOptions& o) {
             o.depthLimited = true;
             o.depth = 100;
         }},
        {"depth 101", Scanning(), tick(IDC_SCAN_DEPTH_ON, IDC_SCAN_DEPTH, L"101"), kBadDepth},
        {"depth beyond any number", Scanning(), tick(IDC_SCAN_DEPTH_ON, IDC_SCAN_DEPTH, L"99999999999999999999"),
         kBadDepth},
        {"depth typed after ticking counts on OK", Scanning(),
         Then(tick(IDC_SCAN_DEPTH_ON, IDC_SCAN_DEPTH, L"2"), Type(IDC_SCAN_DEPTH, L"12")), L"",
         [](FolderScanOptions& o) {
             o.depthLimited = true;
             o.depth = 12;
         }},
        {"a less-than sign in the include pattern", Scanning(),
         tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"a<b"), BadPattern(L"include-only")},
        {"a space in the include pattern", Scanning(), tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"a b*"),
         L"",
         [](FolderScanOptions& o) {
             o.includeOn = true;
             o.includePattern = L"a b*";
         }},
        {"a ticked include box with an empty edit is off and keeps its pattern", Scanning(),
         Then(tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"*.doc"), Type(IDC_SCAN_INCLUDE_PATTERN, L"")), L"",
         [](FolderScanOptions& o) { o.includePattern = L"*.doc"; }},
        {"the same pattern in both", Scanning(),
         Then(tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"*.txt"),
              tick(IDC_SCAN_EXCLUDE_ON, IDC_SCAN_EXCLUDE_PATTERN, L"*.txt")),
         kSamePatterns},
        {"the same pattern with the exclude box cleared", Scanning(),
         Then(tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"*.txt"),
              Then(tick(IDC_SCAN_EXCLUDE_ON, IDC_SCAN_EXCLUDE_PATTERN, L"*.txt"), Clicks({IDC_SCAN_EXCLUDE_ON}))),
         L"",
         [](FolderScanOptions& o) {
             o.includeOn = true;
             o.includePattern = L"*.txt";
             o.excludePattern = L"*.txt";
         }},
        {"patterns differing in case only", Scanning(),
         Then(tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"*.TXT"),
              tick(IDC_SCAN_EXCLUDE_ON, IDC_SCAN_EXCLUDE_PATTERN, L"*.txt")),
         L"",
         [](FolderScanOptions& o) {
             o.includeOn = o.excludeOn = true;
             o.includePattern = L"*.TXT";
             o.excludePattern = L"*.txt";
         }},
        {"a bad exclude pattern", Scanning(), tick(IDC_SCAN_EXCLUDE_ON, IDC_SCAN_EXCLUDE_PATTERN, L"x|y"),
         BadPattern(L"exclude")},
        {"the include pattern is told first", Scanning(),
         Then(Then(tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"a:b"),
                   tick(IDC_SCAN_EXCLUDE_ON, IDC_SCAN_EXCLUDE_PATTERN, L"a:b")),
              tick(IDC_SCAN_DEPTH_ON, IDC_SCAN_DEPTH, L"500")),
         BadPattern(L"include-only")},
        {"the same patterns before a bad depth", Scanning(),
         Then(Then(tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"x"),
                   tick(IDC_SCAN_EXCLUDE_ON, IDC_SCAN_EXCLUDE_PATTERN, L"x")),
              tick(IDC_SCAN_DEPTH_ON, IDC_SCAN_DEPTH, L"500")),
         kSamePatterns},
        {"folders only still checks a ticked include box", Scanning(),
         Then(tick(IDC_SCAN_INCLUDE_ON, IDC_SCAN_INCLUDE_PATTERN, L"\"q\""), Clicks({IDC_SCAN_MODE_FOLDERS})),
         BadPattern(L"include-only")},
        {"so does not scanning at all", Scanning(),
         Then(tick(IDC_SCAN_EXCLUDE_ON, IDC_SCAN_EXCLUDE_PATTERN, L"c/d"), Clicks({IDC_SCAN_NAMES_ONLY})),
         BadPattern(L"exclude")},
    };
    for (const Case& c : cases)
    {
        const OkOutcome outcome = PressOk(c.start, c.setup);
        EXPECT_EQ(outcome.message, c.message) << c.what;
        EXPECT_EQ(outcome.accepted, c.message.empty()) << c.what;
        FolderScanOptions expected = c.start;
        if (c.change && c.message.empty())
            c.change(expected);
        EXPECT_EQ(outcome.options, expected) << c.what;
    }
}

TEST(FolderSummaryTest, DescribesTheScanAndItsLimits)
{
    FolderScanOptions options;
    options.includeOn = options.excludeOn = options.depthLimited = true;
    FolderSummary summary = DescribeFolderScan(options);
    EXPECT_EQ(summary.firstLine, L"Copy selected folder names only.");
    EXPECT_EQ(summary.secondLine, L"");

    options = Scanning();
    summary = DescribeFolderScan(options);
    EXPECT_EQ(summary.firstLine, L"Scan selected folders for files.");
    EXPECT_EQ(summary.secondLine, L"");

    options.mode = FolderScanOptions::kFoldersOnly;
    options.depthLimited = true;
    options.depth = 7;
    summary = DescribeFolderScan(options);
    EXPECT_EQ(summary.firstLine, L"Scan selected folders for subfolders only.");
    EXPECT_EQ(summary.secondLine, L"Depth limit: 7");

    options.mode = FolderScanOptions::kFilesAndFolders;
    options.includeOn = options.excludeOn = true;
    options.includePattern = L"*.jpg";
    options.excludePattern = L"%1 100%";
    summary = DescribeFolderScan(options);
    EXPECT_EQ(summary.firstLine, L"Scan selected folders for files & subfolders.");
    EXPECT_EQ(summary.secondLine, L"Only include: *.jpg | Exclude: %1 100% | Depth limit: 7");

    options.depthLimited = options.includeOn = false;
    EXPECT_EQ(DescribeFolderScan(options).secondLine, L"Exclude: %1 100%");
}

namespace
{
// Lets the windows of the thread handle their messages for a while.
void PumpFor(HWND dialog, DWORD milliseconds)
{
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (::GetTickCount64() < end)
    {
        DispatchWaitingMessages(dialog);
        ::Sleep(10);
    }
}

// A scan of a real folder tree with its progress window, over a window standing for the copy
// options dialog.
class FolderScanTest : public TempFolderTest
{
  protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        // Large enough that the scan asks whether to stop many times after the driver's first tick.
        for (const wchar_t* top : {L"first", L"second"})
        {
            for (int folder = 0; folder < 12; ++folder)
            {
                const std::wstring path = TempPath(top) + L"\\sub" + std::to_wstring(folder);
                ASSERT_TRUE(CreateFolder(TempPath(top)));
                ASSERT_TRUE(CreateFolder(path));
                for (int file = 0; file < 60; ++file)
                    ASSERT_TRUE(WriteFileBytes(path + L"\\f" + std::to_wstring(file) + L".txt", "x"));
            }
        }
        m_paths = {TempPath(L"first"), TempPath(L"second")};
        for (const std::wstring& path : m_paths)
            m_list.AddPath(path);
        m_list.Flatten();
    }

    std::vector<std::wstring> OutputPaths() const
    {
        std::vector<std::wstring> paths;
        for (const CFItem* item : m_list.Output())
            paths.push_back(std::wstring(item->Path()));
        return paths;
    }

    OwnerWindow m_owner;
    DialogDriver m_driver;
    std::vector<std::wstring> m_paths; // the list keeps views of them
    ItemList m_list;
};
} // namespace

TEST_F(FolderScanTest, AFinishedScanListsTheContents)
{
    bool ownerEnabled = true;
    std::wstring shown;
    m_driver.OnDialog(L"Reading folders", [&](DialogHandle progress) {
        ownerEnabled = ::IsWindowEnabled(m_owner.Hwnd()) != FALSE;
        EXPECT_EQ(progress.Caption(), L"Reading folders");
        EXPECT_EQ(GetWindowTextString(::FindWindowExW(progress.Hwnd(), nullptr, L"Static", nullptr)),
                  L"Reading folder:");
        PumpFor(progress.Hwnd(), 250); // the scan waits meanwhile; the window's timer shows its folder
        shown = progress.GetText(IDC_SCANNING_FOLDERS_PATH);
    });
    RunFolderScan(CWindow(m_owner.Hwnd()), m_list, Scanning());
    EXPECT_EQ(m_driver.PendingScripts(), 0u) << "the scan ended before the progress window was seen";
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(::IsWindowEnabled(m_owner.Hwnd()));
    EXPECT_EQ(shown.rfind(TempPath(L"first"), 0), 0u) << shown;
    EXPECT_TRUE(m_list.expand);
    EXPECT_FALSE(m_list.includeFolders);
    EXPECT_EQ(m_list.Output().size(), 2u * 12 * 60);
    EXPECT_FALSE(::FindWindowW(nullptr, L"Reading folders")) << "the progress window is gone";
}

TEST_F(FolderScanTest, CancelLeavesNoPartialResult)
{
    m_driver.OnDialog(L"Reading folders", [](DialogHandle progress) { EXPECT_TRUE(progress.Click(IDCANCEL)); });
    FolderScanOptions options = Scanning();
    options.mode = FolderScanOptions::kFilesAndFolders;
    RunFolderScan(CWindow(m_owner.Hwnd()), m_list, options);
    EXPECT_EQ(m_driver.PendingScripts(), 0u);
    EXPECT_FALSE(m_list.expand);
    EXPECT_FALSE(m_list.includeFolders);
    EXPECT_EQ(OutputPaths(), m_paths);
    EXPECT_TRUE(::IsWindowEnabled(m_owner.Hwnd()));

    // Escape cancels as the button does; a scan afterwards starts from scratch.
    m_driver.OnDialog(L"Reading folders", [](DialogHandle progress) {
        ::SetFocus(progress.Item(IDCANCEL));
        progress.PressKey(VK_ESCAPE);
    });
    RunFolderScan(CWindow(m_owner.Hwnd()), m_list, options);
    EXPECT_EQ(OutputPaths(), m_paths);
    RunFolderScan(CWindow(m_owner.Hwnd()), m_list, options);
    EXPECT_EQ(m_list.Output().size(), 2u + 2 * 12 * 61);
}

TEST_F(FolderScanTest, FoldersThatVanishMidwayAreLeftOut)
{
    // The second selected folder goes while the first is read.
    m_driver.OnDialog(L"Reading folders", [&](DialogHandle) { EXPECT_TRUE(DeleteTree(TempPath(L"second"))); });
    FolderScanOptions options = Scanning();
    options.mode = FolderScanOptions::kFilesAndFolders;
    RunFolderScan(CWindow(m_owner.Hwnd()), m_list, options);
    EXPECT_EQ(m_driver.PendingScripts(), 0u);
    EXPECT_TRUE(m_list.expand);
    std::vector<std::wstring> paths = OutputPaths();
    ASSERT_EQ(paths.size(), 2u + 12 * 61);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), TempPath(L"second")), 1) << "listed as itself";
    for (const std::wstring& path : paths)
        EXPECT_TRUE(path.rfind(TempPath(L"first"), 0) == 0 || path == TempPath(L"second")) << path;
}
