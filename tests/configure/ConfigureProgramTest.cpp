#include "tests/configure/ConfigureTestSupport.h"

#include "resources/resource.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/KeyboardAccess.h"
#include "winsupport/StringUtil.h"
#include "winui/Window.h"
#include "winui/WindowHandles.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <vector>

namespace
{
using Rows = std::vector<MenuEntry>;

MenuEntry Shown(CommandType type)
{
    return {type, true};
}
MenuEntry Hidden(CommandType type)
{
    return {type, false};
}

Rows DefaultRows()
{
    Rows rows;
    for (const CommandType type : kAllCommandTypes)
        rows.push_back(Shown(type));
    return rows;
}

// "1.0" of the program file's own version resource, read as the shell reads it.
std::wstring MajorMinorOf(const std::wstring& file)
{
    DWORD ignored = 0;
    std::vector<BYTE> block(::GetFileVersionInfoSizeW(file.c_str(), &ignored));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (block.empty() || !::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length))
        return L"no version resource";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS));
}

// The full path of the module of this name that a process has loaded; empty when it has none.
std::wstring ModulePathIn(HANDLE process, const std::wstring& name)
{
    HMODULE modules[512]{};
    DWORD needed = 0;
    if (!::K32EnumProcessModules(process, modules, sizeof(modules), &needed))
        return {};
    for (DWORD i = 0; i < std::min<DWORD>(needed / sizeof(HMODULE), 512); ++i)
    {
        wchar_t path[1024]{};
        ::K32GetModuleFileNameExW(process, modules[i], path, 1024);
        const std::wstring lower = ToLowerCase(path);
        if (lower.ends_with(L"\\" + name))
            return path;
    }
    return {};
}

std::wstring MessageText(HWND box)
{
    wchar_t text[1024]{};
    ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
    std::wstring shown = text;
    std::erase(shown, L'\r'); // the message box may show line breaks as CR LF
    return shown;
}

void PressOk(HWND box)
{
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// OK reports that the file could not be written; the dialog stays, and Cancel then ends it.
void ExpectOkRefusedThenCancel(const ConfigureProcess& program)
{
    program.PostCommand(IDOK);
    const HWND box = program.WaitForOtherWindow();
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box).substr(0, 34), L"Failed to write configuration to: ");
    PressOk(box);
    program.Command(IDCANCEL);
    EXPECT_EQ(program.WaitForExit(), 0u);
}
} // namespace

TEST_F(ConfigureProgramTest, ShowsTheDefaultsWithNoFileAndCancelWritesNothing)
{
    const auto program = Start();
    ASSERT_TRUE(program->Dialog());
    EXPECT_EQ(program->Rows(IDC_MAIN_MENU_LIST), Rows{});
    EXPECT_EQ(program->Rows(IDC_SUBMENU_LIST), DefaultRows());
    EXPECT_EQ(program->SelectedRows(IDC_SUBMENU_LIST), std::vector<int>{0});
    // A keyboard user starts on the list with the selected row; ENTER is OK; every control has a
    // key of its own.
    EXPECT_EQ(FocusedControlId(program->Dialog()), IDC_SUBMENU_LIST);
    EXPECT_EQ(DefaultButtonId(program->Dialog()), IDOK);
    EXPECT_EQ(AccessKeyFaults(program->Dialog()), std::vector<std::wstring>{});
    EXPECT_TRUE(program->IsEnabled(IDC_MOVE_TO_MAIN_MENU));
    EXPECT_FALSE(program->IsEnabled(IDC_MOVE_TO_SUBMENU));
    EXPECT_FALSE(program->IsEnabled(IDC_MOVE_UP));
    EXPECT_TRUE(program->IsEnabled(IDC_MOVE_DOWN));
    EXPECT_EQ(program->Text(IDC_DESCRIPTION).substr(0, 52), L"This command copies the selected file/folder names, ");
    EXPECT_EQ(program->Text(IDC_LINK), L"Brelvanta v" + MajorMinorOf(Program()));

    // The manifest takes effect: per-monitor DPI awareness, version 6 of the common controls.
    EXPECT_EQ(::GetAwarenessFromDpiAwarenessContext(::GetWindowDpiAwarenessContext(program->Dialog())),
              DPI_AWARENESS_PER_MONITOR_AWARE);
    const std::wstring commonControls = ToLowerCase(ModulePathIn(program->Process(), L"comctl32.dll"));
    EXPECT_NE(commonControls.find(L"common-controls_6595b64144ccf1df_6."), std::wstring::npos) << commonControls;

    program->Command(IDCANCEL);
    EXPECT_EQ(program->WaitForExit(), 0u);
    EXPECT_FALSE(PathExists(ConfigFile()));
    EXPECT_TRUE(PathExists(UserFolder())) << "the program makes the folders on its first start";
}

TEST_F(ConfigureProgramTest, ShowsAFileInOrderAndSelectsInOneListAtATime)
{
    const std::string file =
        ConfigXml(CommandXml("PASTE_FILENAME", false) + CommandXml("COPY_FILENAME") + CommandXml("PASTE_FILENAME"),
                  CommandXml("MULTI_RENAME", false) + CommandXml("NEW_COMMAND") + CommandXml("CONFIGURE"));
    WriteConfig(file);
    const auto program = Start();
    ASSERT_TRUE(program->Dialog());
    EXPECT_EQ(program->Rows(IDC_MAIN_MENU_LIST),
              (Rows{Hidden(CommandType::PasteFilename), Shown(CommandType::CopyFilename)}));
    // Types the file does not name arrive hidden at the end of the submenu.
    EXPECT_EQ(program->Rows(IDC_SUBMENU_LIST),
              (Rows{Hidden(CommandType::MultiRename), Shown(CommandType::Configure),
                    Hidden(CommandType::CopyFilenameAndDelete), Hidden(CommandType::PasteFilenameNotExt),
                    Hidden(CommandType::CopyFilenameWithOptions), Hidden(CommandType::ExtractFolder),
                    Hidden(CommandType::DeleteEmptyFolders)}));
    EXPECT_EQ(program->SelectedRows(IDC_SUBMENU_LIST), std::vector<int>{0});
    EXPECT_EQ(program->SelectedRows(IDC_MAIN_MENU_LIST), std::vector<int>{});

    program->SelectRow(IDC_MAIN_MENU_LIST, 0);
    EXPECT_EQ(program->SelectedRows(IDC_SUBMENU_LIST), std::vector<int>{});
    EXPECT_FALSE(program->IsEnabled(IDC_MOVE_UP));
    EXPECT_TRUE(program->IsEnabled(IDC_MOVE_DOWN));
    EXPECT_FALSE(program->IsEnabled(IDC_MOVE_TO_MAIN_MENU));
    EXPECT_TRUE(program->IsEnabled(IDC_MOVE_TO_SUBMENU));
    EXPECT_EQ(program->Text(IDC_DESCRIPTION).substr(0, 49), L"This command renames the selected file/folder usi");

    program->SelectRow(IDC_MAIN_MENU_LIST, 1);
    EXPECT_TRUE(program->IsEnabled(IDC_MOVE_UP));
    EXPECT_FALSE(program->IsEnabled(IDC_MOVE_DOWN));

    program->SelectRow(IDC_SUBMENU_LIST, 6);
    EXPECT_EQ(program->SelectedRows(IDC_MAIN_MENU_LIST), std::vector<int>{});
    EXPECT_TRUE(program->IsEnabled(IDC_MOVE_UP));
    EXPECT_FALSE(program->IsEnabled(IDC_MOVE_DOWN));
    EXPECT_TRUE(program->IsEnabled(IDC_MOVE_TO_MAIN_MENU));
    EXPECT_EQ(program->Text(IDC_DESCRIPTION).substr(0, 47), L"This command deletes all empty folders under th");

    // Closing the window is Cancel: even ticking a box leaves the file as it was.
    program->SetChecked(IDC_SUBMENU_LIST, 0, true);
    ::PostMessageW(program->Dialog(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program->WaitForExit(), 0u);
    EXPECT_EQ(ReadFileBytes(ConfigFile()), file);
    EXPECT_FALSE(PathExists(ConfigFile() + L".bak"));
}

TEST_F(ConfigureProgramTest, EachOperationEndsUpInTheWrittenFile)
{
    const auto program = Start();
    ASSERT_TRUE(program->Dialog());
    // Up on the first row and Down on the last change nothing.
    program->Command(IDC_MOVE_UP);
    EXPECT_EQ(program->Rows(IDC_SUBMENU_LIST), DefaultRows());
    program->SelectRow(IDC_SUBMENU_LIST, 8);
    program->Command(IDC_MOVE_DOWN);
    EXPECT_EQ(program->Rows(IDC_SUBMENU_LIST), DefaultRows());

    program->Command(IDC_MOVE_UP); // Configure above Multi Rename
    EXPECT_EQ(program->SelectedRows(IDC_SUBMENU_LIST), std::vector<int>{7});
    program->Command(IDC_MOVE_TO_MAIN_MENU); // Configure
    EXPECT_EQ(program->SelectedRows(IDC_MAIN_MENU_LIST), std::vector<int>{0});
    EXPECT_EQ(program->SelectedRows(IDC_SUBMENU_LIST), std::vector<int>{});
    program->SelectRow(IDC_SUBMENU_LIST, 0);
    program->Command(IDC_MOVE_TO_MAIN_MENU); // Copy Filename(s), after Configure
    EXPECT_EQ(program->SelectedRows(IDC_MAIN_MENU_LIST), std::vector<int>{1});
    program->Command(IDC_MOVE_UP);
    EXPECT_EQ(program->Rows(IDC_MAIN_MENU_LIST),
              (Rows{Shown(CommandType::CopyFilename), Shown(CommandType::Configure)}));
    program->SetChecked(IDC_SUBMENU_LIST, 1, false); // Paste Filename
    program->SetChecked(IDC_MAIN_MENU_LIST, 0, false);
    program->SetChecked(IDC_MAIN_MENU_LIST, 0, true);
    program->SelectRow(IDC_MAIN_MENU_LIST, 1);
    program->Command(IDC_MOVE_TO_SUBMENU); // Configure, back at the submenu's end
    EXPECT_EQ(program->SelectedRows(IDC_SUBMENU_LIST), std::vector<int>{7});
    program->Command(IDC_MOVE_DOWN);
    program->SelectRow(IDC_SUBMENU_LIST, 0);
    program->Command(IDC_MOVE_DOWN); // Copy Filename and Delete below Paste Filename

    program->PostCommand(IDOK);
    ASSERT_EQ(program->WaitForExit(), 0u);
    EXPECT_EQ(ReadFileBytes(ConfigFile()),
              ConfigXml(CommandXml("COPY_FILENAME"),
                        CommandXml("PASTE_FILENAME", false) + CommandXml("COPY_FILENAME_AND_DELETE") +
                            CommandXml("PASTE_FILENAME_NOT_EXT") + CommandXml("COPY_FILENAME_WITH_OPTIONS") +
                            CommandXml("EXTRACT_FOLDER") + CommandXml("DELETE_EMPTY_FOLDERS") +
                            CommandXml("MULTI_RENAME") + CommandXml("CONFIGURE")));
    EXPECT_FALSE(PathExists(ConfigFile() + L".new"));
}

TEST_F(ConfigureProgramTest, EmptiedListsAreWrittenAsEmptyElements)
{
    std::string all;
    for (const char* type :
         {"CONFIGURE", "MULTI_RENAME", "DELETE_EMPTY_FOLDERS", "EXTRACT_FOLDER", "COPY_FILENAME_WITH_OPTIONS",
          "PASTE_FILENAME_NOT_EXT", "PASTE_FILENAME", "COPY_FILENAME_AND_DELETE", "COPY_FILENAME"})
        all += CommandXml(type, type[0] != 'M');
    const std::string file = ConfigXml(all, "");
    WriteConfig(file);
    {
        const auto program = Start();
        ASSERT_TRUE(program->Dialog());
        // With an empty submenu the first main-menu row is the selected one.
        EXPECT_EQ(program->SelectedRows(IDC_MAIN_MENU_LIST), std::vector<int>{0});
        EXPECT_EQ(FocusedControlId(program->Dialog()), IDC_MAIN_MENU_LIST);
        EXPECT_TRUE(program->IsEnabled(IDC_MOVE_TO_SUBMENU));
        program->PostCommand(IDOK);
        ASSERT_EQ(program->WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(ConfigFile()), file);
        EXPECT_FALSE(PathExists(ConfigFile() + L".bak")) << "the program's own file needs no copy";
    }
    {
        const auto program = Start();
        ASSERT_TRUE(program->Dialog());
        for (int moved = 0; moved < 9; ++moved)
        {
            program->SelectRow(IDC_MAIN_MENU_LIST, 0);
            program->Command(IDC_MOVE_TO_SUBMENU);
        }
        EXPECT_EQ(program->Rows(IDC_MAIN_MENU_LIST), Rows{});
        program->PostCommand(IDOK);
        ASSERT_EQ(program->WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(ConfigFile()), ConfigXml("", all));
    }
}

TEST_F(ConfigureProgramTest, RestoreToDefaultIsSavedOnlyByOk)
{
    const std::string file = ConfigXml(CommandXml("MULTI_RENAME"), "");
    WriteConfig(file);
    {
        const auto program = Start();
        ASSERT_TRUE(program->Dialog());
        program->Command(IDC_RESTORE_DEFAULT);
        EXPECT_EQ(program->Rows(IDC_MAIN_MENU_LIST), Rows{});
        EXPECT_EQ(program->Rows(IDC_SUBMENU_LIST), DefaultRows());
        EXPECT_EQ(program->SelectedRows(IDC_SUBMENU_LIST), std::vector<int>{0});
        program->Command(IDCANCEL);
        EXPECT_EQ(program->WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(ConfigFile()), file);
    }
    {
        const auto program = Start();
        ASSERT_TRUE(program->Dialog());
        program->Command(IDC_RESTORE_DEFAULT);
        program->PostCommand(IDOK);
        ASSERT_EQ(program->WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(ConfigFile()), DefaultConfigXml());
    }
}

TEST_F(ConfigureProgramTest, ASecondStartBringsTheFirstToTheFrontAndEnds)
{
    const auto first = Start();
    ASSERT_TRUE(first->Dialog());
    // Something else takes the foreground first: a window of the test's own.
    const UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                               100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other);
    ::SetForegroundWindow(other.Get());
    ASSERT_EQ(::GetForegroundWindow(), other.Get());

    ConfigureProcess second(Program());
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_EQ(VisibleWindowsOf(first->Id()).size(), 1u) << "the first instance shows its one window";
    HWND foreground = nullptr;
    for (int attempt = 0; attempt < 250 && foreground != first->Dialog(); ++attempt)
    {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        ::Sleep(20);
        foreground = ::GetForegroundWindow();
    }
    EXPECT_EQ(foreground, first->Dialog());

    first->Command(IDCANCEL);
    EXPECT_EQ(first->WaitForExit(), 0u);
    // With the first one gone, the next start is the instance again.
    const auto third = Start();
    EXPECT_TRUE(third->Dialog());
}

TEST_F(ConfigureProgramTest, UnreadableFilesShowTheDefaultsAndSurviveTheSave)
{
    std::string deep = "<?xml version=\"1.0\"?>\n<BrelvantaConfig><MainMenu/><SubMenu>";
    for (int level = 0; level < 5000; ++level)
        deep += "<a>";
    // A quote in the first name hides this nesting from a check that takes it for an attribute's.
    std::string quoted = "<a\">";
    while (quoted.size() < 600 * 1024)
        quoted += "<b>";
    std::string large = DefaultConfigXml();
    large.insert(large.find("<BrelvantaConfig>"), 1024 * 1024, ' ');
    const struct Case
    {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"malformed XML", "<?xml version=\"1.0\"?>\n<BrelvantaConfig><MainMenu><Command>"},
        {"no submenu", "<BrelvantaConfig><MainMenu>" + CommandXml("MULTI_RENAME") + "</MainMenu></BrelvantaConfig>"},
        {"deeply nested", deep},
        {"deeply nested behind a quote", quoted},
        {"over a megabyte", large},
        {"not XML at all", std::string("\xFF\xFE\0<\0B\0", 8)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteConfig(c.bytes);
        const auto program = Start();
        ASSERT_TRUE(program->Dialog());
        EXPECT_EQ(program->Rows(IDC_MAIN_MENU_LIST), Rows{});
        EXPECT_EQ(program->Rows(IDC_SUBMENU_LIST), DefaultRows());
        program->PostCommand(IDOK);
        ASSERT_EQ(program->WaitForExit(), 0u);
        // Saving repairs the file, and what the user had is kept beside it.
        EXPECT_EQ(ReadFileBytes(ConfigFile()), DefaultConfigXml());
        EXPECT_EQ(ReadFileBytes(ConfigFile() + L".bak"), c.bytes);
        ASSERT_TRUE(DeleteTree(ConfigFile() + L".bak"));
    }
}

TEST_F(ConfigureProgramTest, AFileThatCannotBeReplacedStaysAsItWasAndTheDialogStaysOpen)
{
    const std::string file = ConfigXml(CommandXml("MULTI_RENAME"), "");
    WriteConfig(file);
    // Another program reads the file and lets nobody replace it meanwhile.
    UniqueFile held(
        ::CreateFileW(ConfigFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const auto program = Start();
    ASSERT_TRUE(program->Dialog());
    EXPECT_EQ(program->Rows(IDC_MAIN_MENU_LIST), Rows{Shown(CommandType::MultiRename)});
    program->SelectRow(IDC_MAIN_MENU_LIST, 0);
    program->Command(IDC_MOVE_TO_SUBMENU);

    program->PostCommand(IDOK);
    const HWND box = program->WaitForOtherWindow();
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box), L"Failed to write configuration to: " + ConfigFile() +
                                    L".\nPlease check that the file is not write protected.");
    EXPECT_FALSE(::GetDlgItem(box, IDCANCEL)) << "only an OK button";
    PressOk(box);
    EXPECT_EQ(program->WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE)) << "the dialog stays open";
    EXPECT_EQ(ReadFileBytes(ConfigFile()), file);
    EXPECT_FALSE(PathExists(ConfigFile() + L".new"));

    // Once the file is free, the same OK saves what the dialog shows.
    held.Reset();
    program->PostCommand(IDOK);
    ASSERT_EQ(program->WaitForExit(), 0u);
    std::string submenu;
    for (const char* type : {"COPY_FILENAME", "COPY_FILENAME_AND_DELETE", "PASTE_FILENAME", "PASTE_FILENAME_NOT_EXT",
                             "COPY_FILENAME_WITH_OPTIONS", "EXTRACT_FOLDER", "DELETE_EMPTY_FOLDERS", "CONFIGURE"})
        submenu += CommandXml(type, false); // not in the file: hidden at the submenu's end
    EXPECT_EQ(ReadFileBytes(ConfigFile()), ConfigXml("", submenu + CommandXml("MULTI_RENAME")));
}

TEST_F(ConfigureProgramTest, AReadOnlyFileIsNotReplaced)
{
    const std::string file = ConfigXml(CommandXml("MULTI_RENAME"), "");
    WriteConfig(file);
    ASSERT_TRUE(::SetFileAttributesW(ConfigFile().c_str(), FILE_ATTRIBUTE_READONLY));
    const auto program = Start();
    ASSERT_TRUE(program->Dialog());
    ExpectOkRefusedThenCancel(*program);
    EXPECT_EQ(ReadFileBytes(ConfigFile()), file);
    ::SetFileAttributesW(ConfigFile().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ConfigureProgramTest, AFolderInPlaceOfTheFileIsLeftAlone)
{
    ASSERT_TRUE(CreateFolder(AppDataFolder() + L"\\Kaldrith"));
    ASSERT_TRUE(CreateFolder(UserFolder()));
    ASSERT_TRUE(CreateFolder(ConfigFile()));
    ASSERT_TRUE(WriteFileBytes(ConfigFile() + L"\\notes.txt", "mine"));
    const auto program = Start();
    ASSERT_TRUE(program->Dialog());
    EXPECT_EQ(program->Rows(IDC_SUBMENU_LIST), DefaultRows());
    ExpectOkRefusedThenCancel(*program);
    EXPECT_EQ(ReadFileBytes(ConfigFile() + L"\\notes.txt"), "mine");
    EXPECT_FALSE(PathExists(ConfigFile() + L".new"));
}

TEST_F(ConfigureProgramTest, TheSystemMenuOpensTheAboutBox)
{
    const auto program = Start();
    ASSERT_TRUE(program->Dialog());
    for (const WPARAM command : {WPARAM{IDM_ABOUTBOX}, WPARAM{31}})
    {
        ::PostMessageW(program->Dialog(), WM_SYSCOMMAND, command, 0);
        const HWND about = program->WaitForOtherWindow();
        ASSERT_TRUE(about) << command;
        EXPECT_EQ(CaptionOf(about), L"About BrelvantaConfigure");
        EXPECT_EQ(GetWindowTextString(::GetDlgItem(about, IDC_ABOUT_VERSION)),
                  L"Configure Program for Brelvanta Windows File Explorer Extension, Version " +
                      MajorMinorOf(Program()));
        EXPECT_FALSE(GetWindowTextString(::GetDlgItem(about, IDC_ABOUT_NOTICE)).empty());
        EXPECT_EQ(FocusedControlId(about), IDOK);
        EXPECT_EQ(AccessKeyFaults(about), std::vector<std::wstring>{});
        PressOk(about);
        for (int attempt = 0; attempt < 100 && ::IsWindowVisible(about); ++attempt)
            ::Sleep(20);
        EXPECT_FALSE(::IsWindowVisible(about));
    }
    program->Command(IDCANCEL);
    EXPECT_EQ(program->WaitForExit(), 0u);
}
