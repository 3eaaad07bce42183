// The packaged menu's command, driven through the DLL's exports as the file manager drives it: the
// flyout must show, hide and run the same commands as the classic menu for the same selection.
#include "shellext/PackagedMenu.h"
#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace
{
// {070D7289-EA5A-42FA-A267-958BEEEF4B00}, the verb's class in the package.
constexpr CLSID kExplorerCommandClassId = {
    0x070d7289, 0xea5a, 0x42fa, {0xa2, 0x67, 0x95, 0x8b, 0xee, 0xef, 0x4b, 0x00}};

std::wstring Taken(LPWSTR text)
{
    std::wstring copy = text ? text : L"";
    ::CoTaskMemFree(text);
    return copy;
}

std::wstring Title(IExplorerCommand* command, IShellItemArray* items)
{
    LPWSTR text = nullptr;
    EXPECT_EQ(command->GetTitle(items, &text), S_OK);
    return Taken(text);
}

EXPCMDSTATE State(IExplorerCommand* command, IShellItemArray* items)
{
    EXPCMDSTATE state = ECS_DISABLED;
    EXPECT_EQ(command->GetState(items, FALSE, &state), S_OK);
    return state;
}

std::vector<ComPtr<IExplorerCommand>> SubCommands(IExplorerCommand* root)
{
    std::vector<ComPtr<IExplorerCommand>> commands;
    ComPtr<IEnumExplorerCommand> list;
    EXPECT_EQ(root->EnumSubCommands(list.Put()), S_OK);
    if (!list)
        return commands;
    ComPtr<IExplorerCommand> command;
    while (list->Next(1, command.Put(), nullptr) == S_OK)
        commands.push_back(command);
    return commands;
}

// The classic menu's commands in order, main menu first, as the flyout titles them (no "&").
std::wstring ClassicTitles(const std::vector<MenuRow>& rows)
{
    std::wstring texts;
    for (const MenuRow& row : rows)
    {
        if (!row.submenu.empty())
        {
            texts += ClassicTitles(row.submenu);
            continue;
        }
        std::wstring text = row.text;
        std::erase(text, L'&');
        texts += text + L"|";
    }
    return texts;
}

class ExplorerCommandTest : public ShellExtTest
{
  protected:
    ComPtr<IExplorerCommand> CreateRoot()
    {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(BrelvantaDll::Get().getClassObject(kExplorerCommandClassId, IID_PPV_ARGS(factory.Put())), S_OK);
        ComPtr<IExplorerCommand> root;
        if (factory)
        {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(root.Put())), S_OK);
        }
        return root;
    }

    // An item array of real paths, as the file manager hands it over.
    static ComPtr<IShellItemArray> Items(const std::vector<std::wstring>& paths)
    {
        std::vector<UniqueCoTaskMem> lists;
        std::vector<PCIDLIST_ABSOLUTE> pointers;
        for (const std::wstring& path : paths)
        {
            PIDLIST_ABSOLUTE list = nullptr;
            EXPECT_EQ(::SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr), S_OK) << path;
            lists.emplace_back(list);
            pointers.push_back(list);
        }
        ComPtr<IShellItemArray> items;
        EXPECT_EQ(::SHCreateShellItemArrayFromIDLists(static_cast<UINT>(pointers.size()), pointers.data(), items.Put()),
                  S_OK);
        return items;
    }

    // The titles of the flyout's shown commands for the selection, each followed by "|".
    std::wstring FlyoutTitles(IShellItemArray* items)
    {
        std::wstring texts;
        for (const ComPtr<IExplorerCommand>& command : SubCommands(CreateRoot().Get()))
        {
            const EXPCMDSTATE state = State(command.Get(), items);
            EXPECT_TRUE(state == ECS_ENABLED || state == ECS_HIDDEN) << state;
            if (state == ECS_ENABLED)
                texts += Title(command.Get(), items) + L"|";
        }
        return texts;
    }

    // Runs the flyout's command of this title on the paths.
    void Invoke(const std::vector<std::wstring>& paths, const std::wstring& title)
    {
        const ComPtr<IShellItemArray> items = Items(paths);
        for (const ComPtr<IExplorerCommand>& command : SubCommands(CreateRoot().Get()))
        {
            if (State(command.Get(), items.Get()) == ECS_ENABLED && Title(command.Get(), items.Get()) == title)
            {
                EXPECT_EQ(command->Invoke(items.Get(), nullptr), S_OK) << title;
                return;
            }
        }
        ADD_FAILURE() << "the flyout shows no " << testing::PrintToString(title);
    }
};

// Holds the keys down for the test's thread, as GetKeyState reads them.
class HeldKeys
{
  public:
    explicit HeldKeys(std::initializer_list<int> keys)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        std::copy(std::begin(m_saved), std::end(m_saved), state);
        for (const int key : keys)
            state[key] = 0x80;
        ::SetKeyboardState(state);
    }
    ~HeldKeys() { ::SetKeyboardState(m_saved); }

  private:
    BYTE m_saved[256]{};
};
} // namespace

TEST_F(ExplorerCommandTest, TheRootIsAFlyoutWithTheLibrarysIcon)
{
    const ComPtr<IExplorerCommand> root = CreateRoot();
    ASSERT_TRUE(root);
    EXPECT_TRUE(root.As<IObjectWithSite>());
    EXPECT_EQ(Title(root.Get(), nullptr), L"Brelvanta");
    EXPECT_EQ(State(root.Get(), nullptr), ECS_ENABLED);
    EXPCMDFLAGS flags = 0;
    ASSERT_EQ(root->GetFlags(&flags), S_OK);
    EXPECT_EQ(flags, static_cast<EXPCMDFLAGS>(ECF_HASSUBCOMMANDS));

    // "<the DLL's own path>,-<icon id>": an icon the platform can load from the library, for the
    // root and for every command.
    wchar_t dll[MAX_PATH] = {};
    ::GetModuleFileNameW(BrelvantaDll::Get().module, dll, MAX_PATH);
    std::vector<std::wstring> locations;
    const auto expectLoadableIcon = [&](IExplorerCommand* command) {
        LPWSTR icon = nullptr;
        ASSERT_EQ(command->GetIcon(nullptr, &icon), S_OK);
        const std::wstring location = Taken(icon);
        const size_t comma = location.rfind(L",-");
        ASSERT_NE(comma, std::wstring::npos) << location;
        EXPECT_EQ(::CompareStringOrdinal(location.c_str(), static_cast<int>(comma), dll, -1, TRUE), CSTR_EQUAL)
            << location;
        HICON small = nullptr;
        EXPECT_EQ(::ExtractIconExW(location.substr(0, comma).c_str(), -std::stoi(location.substr(comma + 2)), nullptr,
                                   &small, 1),
                  1u)
            << location;
        if (small)
            ::DestroyIcon(small);
        locations.push_back(location);
    };
    expectLoadableIcon(root.Get());

    // Every sub-command is a plain command that also answers without a selection.
    const auto commands = SubCommands(root.Get());
    ASSERT_FALSE(commands.empty());
    for (const ComPtr<IExplorerCommand>& command : commands)
    {
        ASSERT_EQ(command->GetFlags(&flags), S_OK);
        EXPECT_EQ(flags, static_cast<EXPCMDFLAGS>(ECF_DEFAULT));
        EXPECT_EQ(State(command.Get(), nullptr), ECS_ENABLED);
        ComPtr<IEnumExplorerCommand> none;
        EXPECT_TRUE(FAILED(command->EnumSubCommands(none.Put())));
        EXPECT_FALSE(none);
        expectLoadableIcon(command.Get());
    }
    // The default arrangement shows all nine: only the two paste commands share an icon.
    const std::set<std::wstring> distinct(locations.begin(), locations.end());
    EXPECT_EQ(distinct.size() + 1, locations.size());

    // An array of items with no file-system path hides the whole command.
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    const UniqueCoTaskMem owned(computer);
    PCIDLIST_ABSOLUTE lists[] = {computer};
    ComPtr<IShellItemArray> virtualItems;
    ASSERT_EQ(::SHCreateShellItemArrayFromIDLists(1, lists, virtualItems.Put()), S_OK);
    EXPECT_EQ(State(root.Get(), virtualItems.Get()), ECS_HIDDEN);
    EXPECT_EQ(State(root.Get(), Items({MakeFiles({L"a.txt"})[0]}).Get()), ECS_ENABLED);
}

TEST_F(ExplorerCommandTest, TheFlyoutShowsWhatTheClassicMenuShows)
{
    const auto files = MakeFiles({L"a.txt", L"b.txt", L"c.txt"});
    const std::wstring folder = TempPath(L"folder");
    ASSERT_TRUE(CreateFolder(folder));
    const std::string allNine = "<Command><Type>COPY_FILENAME</Type><Show>true</Show></Command>"
                                "<Command><Type>COPY_FILENAME_AND_DELETE</Type><Show>true</Show></Command>"
                                "<Command><Type>PASTE_FILENAME</Type><Show>true</Show></Command>"
                                "<Command><Type>PASTE_FILENAME_NOT_EXT</Type><Show>true</Show></Command>"
                                "<Command><Type>COPY_FILENAME_WITH_OPTIONS</Type><Show>true</Show></Command>"
                                "<Command><Type>EXTRACT_FOLDER</Type><Show>true</Show></Command>"
                                "<Command><Type>DELETE_EMPTY_FOLDERS</Type><Show>true</Show></Command>"
                                "<Command><Type>MULTI_RENAME</Type><Show>true</Show></Command>"
                                "<Command><Type>CONFIGURE</Type><Show>true</Show></Command>";
    struct Case
    {
        const char* config; // null: the default menu
        std::vector<std::wstring> paths;
        const wchar_t* clipboard;
        std::wstring expected; // the flyout, which must also be the classic menu
    };
    const std::string mainAndSub = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>"
                                   "<Command><Type>MULTI_RENAME</Type><Show>true</Show></Command>"
                                   "<Command><Type>CONFIGURE</Type><Show>false</Show></Command>"
                                   "<Command><Type>COPY_FILENAME</Type><Show>true</Show></Command>"
                                   "</MainMenu><SubMenu>"
                                   "<Command><Type>CONFIGURE</Type><Show>true</Show></Command>"
                                   "<Command><Type>PASTE_FILENAME</Type><Show>true</Show></Command>"
                                   "<Command><Type>COPY_FILENAME</Type><Show>true</Show></Command>"
                                   "<Command><Type>EXTRACT_FOLDER</Type><Show>true</Show></Command>"
                                   "</SubMenu></BrelvantaConfig>";
    const std::string everything = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>" + allNine +
                                   "</MainMenu><SubMenu></SubMenu></BrelvantaConfig>";
    const Case cases[] = {
        {nullptr,
         {files[0]},
         nullptr,
         L"Copy Filename|Copy Filename and Delete|Copy Filename with Options|Configure Brelvanta|"},
        {nullptr, files, nullptr, L"Copy Filenames|Copy Filenames with Options|Multi Rename|Configure Brelvanta|"},
        {nullptr,
         {folder},
         nullptr,
         L"Copy Filename|Copy Filename and Delete|Copy Filename with Options|Extract Folder|Delete Empty Folders|"
         L"Configure Brelvanta|"},
        {nullptr,
         {files[0]},
         L"new name.txt",
         L"Copy Filename|Copy Filename and Delete|Paste Filename|Paste Filename (Not Ext.)|Copy Filename with "
         L"Options|Configure Brelvanta|"},
        {nullptr,
         {files[0]},
         L"what?",
         L"Copy Filename|Copy Filename and Delete|Copy Filename with Options|Configure Brelvanta|"},
        {nullptr, files, L"new name.txt",
         L"Copy Filenames|Copy Filenames with Options|Multi Rename|Configure Brelvanta|"},
        {everything.c_str(),
         {files[0], folder},
         L"name",
         L"Copy Filenames|Copy Filenames with Options|Extract Folders|Delete Empty Folders|Multi Rename|"
         L"Configure Brelvanta|"},
        // Main-menu entries first; a hidden first occurrence hides the type, later ones are dropped.
        {mainAndSub.c_str(), {files[0]}, L"name", L"Copy Filename|Paste Filename|"},
        {mainAndSub.c_str(), {folder, files[0]}, nullptr, L"Multi Rename|Copy Filenames|Extract Folders|"},
    };
    for (const Case& c : cases)
    {
        ClearProductState();
        if (c.config)
            WriteConfigFile(c.config);
        SetClipboardText(c.clipboard);
        const ComPtr<IShellItemArray> items = Items(c.paths);
        EXPECT_EQ(FlyoutTitles(items.Get()), c.expected) << c.paths.size() << " " << (c.config ? "set" : "default");
        EXPECT_EQ(ClassicTitles(QueryMenu(CreateHandler(c.paths).Get())), c.expected) << c.paths.size();
    }
    SetClipboardText(nullptr);
}

TEST_F(ExplorerCommandTest, EnumerationReadsTheConfigurationOnceAndWalksItsList)
{
    const ComPtr<IExplorerCommand> root = CreateRoot();
    ASSERT_TRUE(root);
    ComPtr<IEnumExplorerCommand> list;
    ASSERT_EQ(root->EnumSubCommands(list.Put()), S_OK);

    // A change to the file reaches the next menu, never one already listed.
    WriteConfigFile("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>"
                    "<Command><Type>CONFIGURE</Type><Show>true</Show></Command></MainMenu><SubMenu>"
                    "</SubMenu></BrelvantaConfig>");
    EXPECT_EQ(SubCommands(root.Get()).size(), 1u);

    IExplorerCommand* fetched[12] = {};
    ULONG count = 99;
    EXPECT_EQ(list->Next(2, fetched, &count), S_OK);
    EXPECT_EQ(count, 2u);
    const std::wstring second = Title(fetched[1], nullptr);
    ComPtr<IEnumExplorerCommand> clone;
    ASSERT_EQ(list->Clone(clone.Put()), S_OK);
    EXPECT_EQ(list->Skip(1), S_OK);
    EXPECT_EQ(list->Next(12, fetched + 2, &count), S_FALSE) << "the default menu has nine commands";
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(list->Next(1, fetched + 8, &count), S_FALSE);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(list->Skip(1), S_FALSE);
    for (ULONG index = 0; index < 8; ++index)
        fetched[index]->Release();

    // The clone goes on from where the list was; a reset starts over.
    ComPtr<IExplorerCommand> third;
    ASSERT_EQ(clone->Next(1, third.Put(), nullptr), S_OK);
    EXPECT_EQ(Title(third.Get(), nullptr), L"Paste Filename");
    EXPECT_EQ(clone->Reset(), S_OK);
    EXPECT_EQ(clone->Skip(1), S_OK);
    ASSERT_EQ(clone->Next(1, third.Put(), nullptr), S_OK);
    EXPECT_EQ(Title(third.Get(), nullptr), second);
    EXPECT_EQ(second, L"Copy Filename and Delete");
}

TEST_F(ExplorerCommandTest, InvokeRunsTheCommandOnTheItemsWithTheKeysHeldThen)
{
    const auto files = MakeFiles({L"a.txt", L"b \u00e4\U0001F600.txt", L"old.txt"});
    SetClipboardText(L"old");
    Invoke({files[0]}, L"Copy Filename");
    EXPECT_EQ(ClipboardTextNow(), L"a.txt");
    {
        const HeldKeys shift({VK_SHIFT});
        Invoke({files[1], files[0]}, L"Copy Filenames");
    }
    EXPECT_EQ(ClipboardTextNow(), files[1] + L"\r\n" + files[0] + L"\r\n");

    // Short names reach the command in their long form.
    ASSERT_TRUE(CreateFolder(TempPath(L"Long Folder Name")));
    const std::wstring longFile = TempPath(L"Long Folder Name\\Long File Name.text");
    ASSERT_TRUE(WriteFileBytes(longFile, "x"));
    std::wstring shortPath(32768, L'\0');
    shortPath.resize(::GetShortPathNameW(longFile.c_str(), shortPath.data(), 32768));
    ASSERT_NE(shortPath.find(L'~'), std::wstring::npos) << "no short name was made";
    {
        const HeldKeys shift({VK_SHIFT});
        Invoke({shortPath}, L"Copy Filename");
    }
    EXPECT_EQ(ClipboardTextNow(), longFile);

    SetClipboardText(L"report.doc");
    Invoke({files[2]}, L"Paste Filename (Not Ext.)");
    EXPECT_TRUE(PathExists(TempPath(L"report.txt")));
    EXPECT_FALSE(PathExists(files[2]));

    // Without a selection there is nothing to run.
    const auto commands = SubCommands(CreateRoot().Get());
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands[0]->Invoke(nullptr, nullptr), E_INVALIDARG);
}

namespace
{
// The classic menu of one file as the user's state leaves it: the count of its items.
class DuplicateRuleTest : public ExplorerCommandTest
{
  protected:
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kClassicMenuRestoredParent);
        ExplorerCommandTest::TearDown();
    }

    static constexpr wchar_t kClassicMenuRestoredParent[] =
        L"Software\\Classes\\CLSID\\{86ca1aa0-34aa-4e8b-a509-50c905bae2a2}";

    // Sets up the marker the package's registration writes (null: none) and the key that brings
    // the legacy menu back, then counts what the classic handler adds for one file.
    size_t ClassicItems(const DWORD* marker, bool classicMenuRestored)
    {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kPackagedMenuKeyPath, kPackagedMenuValue);
        if (marker)
        {
            EXPECT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kPackagedMenuKeyPath, kPackagedMenuValue, REG_DWORD, marker,
                                        sizeof(*marker)),
                      ERROR_SUCCESS);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kClassicMenuRestoredParent);
        if (classicMenuRestored)
        {
            UniqueHkey key;
            EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kClassicMenuRestoredKeyPath, 0, nullptr, 0, KEY_WRITE,
                                        nullptr, key.Put(), nullptr),
                      ERROR_SUCCESS);
        }
        if (m_file.empty())
            m_file = MakeFiles({L"a.txt"})[0];
        return QueryMenu(CreateHandler({m_file}).Get()).size();
    }

    static DWORD PlatformBuild()
    {
        using GetVersionFunction = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
        const auto getVersion = reinterpret_cast<GetVersionFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
        RTL_OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof(version);
        return getVersion && getVersion(&version) == 0 ? version.dwBuildNumber : 0;
    }

    // Both sides of the rule on a platform of build 22000 or later.
    void ExpectTheRuleOfTheNewMenu()
    {
        const DWORD on = 1;
        const DWORD off = 0;
        EXPECT_EQ(ClassicItems(nullptr, false), 1u) << "no package: the classic menu as ever";
        EXPECT_EQ(ClassicItems(&off, false), 1u);
        EXPECT_EQ(ClassicItems(&on, false), 0u) << "the packaged menu lists the commands";
        EXPECT_EQ(ClassicItems(&on, true), 1u) << "the legacy menu is back in place of the new one";
    }

  private:
    std::wstring m_file;
};

// Writes the platform's version values of the machine's hive for as long as it lives, then puts
// the old ones back.
class PlatformVersionValues
{
  public:
    PlatformVersionValues(const wchar_t* version, DWORD major, DWORD minor, const wchar_t* build)
    {
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, m_key.Put());
        Save(L"CurrentVersion");
        Save(L"CurrentMajorVersionNumber");
        Save(L"CurrentMinorVersionNumber");
        Save(L"CurrentBuildNumber");
        ::RegSetValueExW(m_key.Get(), L"CurrentVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                         static_cast<DWORD>((std::wcslen(version) + 1) * sizeof(wchar_t)));
        ::RegSetValueExW(m_key.Get(), L"CurrentMajorVersionNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&major),
                         sizeof(major));
        ::RegSetValueExW(m_key.Get(), L"CurrentMinorVersionNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&minor),
                         sizeof(minor));
        ::RegSetValueExW(m_key.Get(), L"CurrentBuildNumber", 0, REG_SZ, reinterpret_cast<const BYTE*>(build),
                         static_cast<DWORD>((std::wcslen(build) + 1) * sizeof(wchar_t)));
    }
    PlatformVersionValues(const PlatformVersionValues&) = delete;
    PlatformVersionValues& operator=(const PlatformVersionValues&) = delete;
    ~PlatformVersionValues()
    {
        for (const Saved& saved : m_saved)
        {
            if (saved.present)
                ::RegSetValueExW(m_key.Get(), saved.name, 0, saved.type, saved.data.data(),
                                 static_cast<DWORD>(saved.data.size()));
            else
                ::RegDeleteValueW(m_key.Get(), saved.name);
        }
    }

  private:
    struct Saved
    {
        const wchar_t* name;
        bool present;
        DWORD type;
        std::vector<BYTE> data;
    };

    void Save(const wchar_t* name)
    {
        Saved saved{name, false, 0, std::vector<BYTE>(256)};
        DWORD size = static_cast<DWORD>(saved.data.size());
        saved.present =
            ::RegQueryValueExW(m_key.Get(), name, nullptr, &saved.type, saved.data.data(), &size) == ERROR_SUCCESS;
        saved.data.resize(saved.present ? size : 0);
        m_saved.push_back(std::move(saved));
    }

    UniqueHkey m_key;
    std::vector<Saved> m_saved;
};

constexpr wchar_t kChildResultVariable[] = L"BRELVANTA_DUPLICATE_RULE_RESULT";
} // namespace

TEST_F(DuplicateRuleTest, TheClassicMenuAddsNothingOnlyWhereThePackagedMenuShows)
{
    const DWORD on = 1;
    if (PlatformBuild() < 22000)
    {
        // The older platform has no packaged menu: the marker changes nothing.
        EXPECT_EQ(ClassicItems(&on, false), 1u);
        EXPECT_EQ(ClassicItems(nullptr, false), 1u);
    }
    else
    {
        ExpectTheRuleOfTheNewMenu();
    }

    // The newer platform's side, in a copy of this program that Wine presents as that platform.
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!::GetProcAddress(ntdll, "wine_get_version") || PlatformBuild() >= 22000)
        return;
    wchar_t program[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    // A prefix with no version configured takes the platform's from these values at each start.
    std::optional<PlatformVersionValues> presented(std::in_place, L"6.3", 10, 0, L"22000");
    const std::wstring result = TempPath(L"child-result.txt");
    ::SetEnvironmentVariableW(kChildResultVariable, result.c_str());
    std::wstring command = L"\"" + std::wstring(program) +
                           L"\" --gtest_also_run_disabled_tests "
                           L"--gtest_filter=DuplicateRuleTest.DISABLED_OnTheNewerPlatform";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    ::SetEnvironmentVariableW(kChildResultVariable, nullptr);
    if (started)
    {
        ::WaitForSingleObject(process.hProcess, 60000);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    presented.reset();
    ASSERT_TRUE(started);
    const std::optional<std::string> said = ReadFileBytes(result);
    ASSERT_TRUE(said) << "the copy of the program ran no test";
    if (said->starts_with("skipped"))
        GTEST_SKIP() << *said;
    EXPECT_EQ(*said, "passed");
}

// Run only by the test above, in a process that reports build 22000 or later.
TEST_F(DuplicateRuleTest, DISABLED_OnTheNewerPlatform)
{
    wchar_t result[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(kChildResultVariable, result, MAX_PATH), 0u);
    if (PlatformBuild() < 22000)
    {
        WriteFileBytes(result,
                       "skipped: this Wine cannot present build 22000 (build " + std::to_string(PlatformBuild()) + ")");
        return;
    }
    ExpectTheRuleOfTheNewMenu();
    WriteFileBytes(result, HasFailure() ? "failed" : "passed");
}
