#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/DialogDriver.h"

#include "tests/support/DropListDataObject.h"
#include "tests/support/FileHelpers.h"
#include "tools/common/ShellDataObject.h"

#include <algorithm>
#include <string>

namespace
{
const std::wstring kDefaultsForOneFile =
    L"Brelvanta>[Copy &Filename|Copy Filename and Delete|Copy Filename with Options|Configure Brelvanta]";

std::string Config(const std::string& mainMenu, const std::string& subMenu)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>" + mainMenu +
           "</MainMenu><SubMenu>" + subMenu + "</SubMenu></BrelvantaConfig>";
}

std::string Entries(std::initializer_list<const char*> types)
{
    std::string entries;
    for (const char* type : types)
        entries += std::string("<Command><Type>") + type + "</Type><Show>true</Show></Command>";
    return entries;
}
} // namespace

TEST_F(ShellExtTest, DefaultMenuFollowsTheSelection)
{
    SetClipboardText(nullptr);
    const auto files = MakeFiles({L"a.txt", L"b.txt", L"c.txt"});
    ASSERT_TRUE(CreateFolder(TempPath(L"folder")));

    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler({files[0]}).Get())), kDefaultsForOneFile);
    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler(files).Get())),
              L"Brelvanta>[Copy &Filenames|Copy Filenames with Options|Multi Rename|Configure Brelvanta]");
    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler({TempPath(L"folder")}).Get())),
              L"Brelvanta>[Copy &Filename|Copy Filename and Delete|Copy Filename with Options|Extract Folder|"
              L"Delete Empty Folders|Configure Brelvanta]");

    // Only the first 32 paths are tested for a folder.
    std::vector<std::wstring> many(32, files[0]);
    many.push_back(TempPath(L"folder"));
    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler(many).Get())).find(L"Extract"), std::wstring::npos);
    many.erase(many.begin());
    EXPECT_NE(MenuTexts(QueryMenu(CreateHandler(many).Get())).find(L"Extract"), std::wstring::npos);
}

TEST_F(ShellExtTest, LinkedFoldersAreNotFolders)
{
    // Wine cannot make links itself; the runner makes this one on the Unix side.
    const std::wstring link = BrelvantaDll::DistPath(L"..\\build\\test-links\\folder-link");
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "scripts/wine-run makes build/test-links/folder-link";
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler({link}).Get())).find(L"Extract"), std::wstring::npos);
}

TEST_F(ShellExtTest, PasteCommandsNeedAUsableNameOnTheClipboard)
{
    const auto files = MakeFiles({L"a.txt"});
    const std::wstring withPaste = L"Brelvanta>[Copy &Filename|Copy Filename and Delete|Paste Filename|"
                                   L"Paste Filename (Not Ext.)|Copy Filename with Options|Configure Brelvanta]";
    struct Case
    {
        std::wstring text;
        bool usable;
    };
    const Case cases[] = {
        {L"new name.txt", true},
        {std::wstring(259, L'n'), true},
        {std::wstring(260, L'n'), false},
        {std::wstring(1024 * 1024, L'n'), false},
        {L"", false},
        {L"a:b", false},
        {L"a\\b", false},
        {L"a\tb", false},
        {L"line\r\n", false},
        {L"what?", false},
        {L" .leading dot and spaces", true},
        {L"ends in a dot.", false},
        {L"ends in a space ", false},
        {L".", false},
        {L"..", false},
        {L"...", false},
        {L"CON", false},
        {L"con.txt", false},
        {L"Nul .tar.gz", false},
        {L"PRN", false},
        {L"aux", false},
        {L"COM1", false},
        {L"com9.log", false},
        {L"LPT1", false},
        {L"lpt9.x", false},
        {L"COM10", true},
        {L"LPT0", true},
        {L"CONSOLE.txt", true},
        {L"my con", true},
        {L"\u00E4\u4E2D\U0001F600", true},
    };
    for (const Case& c : cases)
    {
        SetClipboardText(c.text.c_str());
        EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler(files).Get())), c.usable ? withPaste : kDefaultsForOneFile)
            << c.text.size();
    }
    SetClipboardText(nullptr);
    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler(files).Get())), kDefaultsForOneFile);
}

TEST_F(ShellExtTest, AFileReadInPartNeverFloodsTheMenu)
{
    SetClipboardText(nullptr);
    const auto files = MakeFiles({L"a.txt"});
    // No SubMenu element: the main-menu entries are used as read, without normalisation.
    std::string entries;
    for (int i = 0; i < 50; ++i)
        entries += Entries({"COPY_FILENAME", "CONFIGURE"});
    WriteConfigFile("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>" + Entries({"CONFIGURE"}) +
                    entries + "</MainMenu></BrelvantaConfig>");
    HRESULT result = E_FAIL;
    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler(files).Get(), 1, CMF_NORMAL, &result)),
              L"Configure Brelvanta|Copy &Filename");
    EXPECT_EQ(HRESULT_CODE(result), 2);
}

TEST_F(ShellExtTest, NoIdBeyondTheShellsRange)
{
    SetClipboardText(nullptr);
    ASSERT_TRUE(CreateFolder(TempPath(L"folder")));
    const ComPtr<IContextMenu> handler = CreateHandler({TempPath(L"folder")});
    struct Case
    {
        UINT last;
        const wchar_t* menu;
    };
    // Six commands apply to one folder; the submenu item needs an id of its own.
    const Case cases[] = {
        {107, L"Brelvanta>[Copy &Filename|Copy Filename and Delete|Copy Filename with Options|Extract Folder|"
              L"Delete Empty Folders|Configure Brelvanta]"},
        {103, L"Brelvanta>[Copy &Filename|Copy Filename and Delete|Copy Filename with Options]"},
        {101, L"Brelvanta>[Copy &Filename]"},
        {100, L""},
        {99, L""},
    };
    for (const Case& c : cases)
    {
        HRESULT result = E_FAIL;
        const std::vector<MenuRow> rows = QueryMenu(handler.Get(), 100, CMF_NORMAL, &result, c.last);
        EXPECT_EQ(MenuTexts(rows), c.menu) << c.last;
        const UINT count = HRESULT_CODE(result);
        EXPECT_LE(100 + count, std::max(c.last + 1, 100u)) << c.last;
        for (const MenuRow& row : rows)
        {
            EXPECT_LE(row.id, c.last);
            for (const MenuRow& inner : row.submenu)
                EXPECT_LE(inner.id, c.last);
        }
    }
    // Main-menu commands use the range first.
    WriteConfigFile(Config(Entries({"COPY_FILENAME", "CONFIGURE", "COPY_FILENAME_WITH_OPTIONS"}), ""));
    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler({TempPath(L"folder")}).Get(), 100, CMF_NORMAL, nullptr, 101)),
              L"Copy &Filename|Configure Brelvanta");
}

TEST_F(ShellExtTest, IdsBitmapsAndCountsReadBack)
{
    SetClipboardText(L"name.txt");
    ASSERT_TRUE(CreateFolder(TempPath(L"x")));
    const auto files = MakeFiles({L"a.txt"});
    WriteConfigFile(Config("", Entries({"COPY_FILENAME", "COPY_FILENAME_AND_DELETE", "PASTE_FILENAME",
                                        "PASTE_FILENAME_NOT_EXT", "COPY_FILENAME_WITH_OPTIONS", "EXTRACT_FOLDER",
                                        "DELETE_EMPTY_FOLDERS", "MULTI_RENAME", "CONFIGURE"})));

    // A folder and a file with a name on the clipboard: all nine apply but Multi Rename needs two
    // items and the delete and paste commands exactly one; with the folder alone eight apply.
    HRESULT result = E_FAIL;
    const auto rows = QueryMenu(CreateHandler({TempPath(L"x")}).Get(), 100, CMF_NORMAL, &result);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(HRESULT_CODE(result), 9);
    EXPECT_EQ(rows[0].text, L"Brelvanta");
    EXPECT_EQ(rows[0].id, 108u);
    EXPECT_TRUE(rows[0].itemBitmap);
    ASSERT_EQ(rows[0].submenu.size(), 8u);
    for (size_t i = 0; i < rows[0].submenu.size(); ++i)
    {
        EXPECT_EQ(rows[0].submenu[i].id, 100 + i);
        EXPECT_TRUE(rows[0].submenu[i].checkBitmap) << i;
    }

    SetClipboardText(nullptr);
    const auto twoItems = QueryMenu(CreateHandler({TempPath(L"x"), files[0]}).Get(), 100, CMF_NORMAL, &result);
    EXPECT_EQ(HRESULT_CODE(result), 7);
    EXPECT_EQ(MenuTexts(twoItems), L"Brelvanta>[Copy &Filenames|Copy Filenames with Options|Extract Folders|"
                                   L"Delete Empty Folders|Multi Rename|Configure Brelvanta]");
}

TEST_F(ShellExtTest, TheConfigurationFileIsReadOnEveryMenu)
{
    SetClipboardText(nullptr);
    const auto files = MakeFiles({L"a.txt", L"b.txt"});
    const ComPtr<IContextMenu> handler = CreateHandler(files);
    HRESULT result = E_FAIL;

    WriteConfigFile(Config(Entries({"MULTI_RENAME", "COPY_FILENAME", "CONFIGURE"}), ""));
    EXPECT_EQ(MenuTexts(QueryMenu(handler.Get(), 1, CMF_NORMAL, &result)),
              L"Multi Rename|Copy &Filenames|Configure Brelvanta");
    EXPECT_EQ(HRESULT_CODE(result), 3) << "no submenu: every other command arrives hidden";

    WriteConfigFile(Config(Entries({"CONFIGURE"}), "<Command><Type>MULTI_RENAME</Type><Show>false</Show></Command>" +
                                                       Entries({"COPY_FILENAME_AND_DELETE"})));
    EXPECT_EQ(MenuTexts(QueryMenu(handler.Get(), 1, CMF_NORMAL, &result)), L"Configure Brelvanta");
    EXPECT_EQ(HRESULT_CODE(result), 1) << "nothing visible in the submenu: no submenu";

    WriteConfigFile("<BrelvantaConfig><MainMenu>");
    EXPECT_EQ(QueryMenu(handler.Get(), 1, CMF_NORMAL, &result).size(), 0u) << "malformed: no items";
    EXPECT_EQ(result, S_OK);
    std::string deep = "<a'>";
    while (deep.size() < 600 * 1024)
        deep += "<b>";
    WriteConfigFile(deep);
    EXPECT_EQ(QueryMenu(handler.Get(), 1, CMF_NORMAL, &result).size(), 0u) << "nested too deeply: no items";

    WriteConfigFile("<BrelvantaConfig><MainMenu>" + Entries({"CONFIGURE", "COPY_FILENAME"}) +
                    "</MainMenu></BrelvantaConfig>");
    EXPECT_EQ(MenuTexts(QueryMenu(handler.Get())), L"Configure Brelvanta|Copy &Filenames")
        << "no SubMenu: the entries read so far, no submenu";

    EXPECT_EQ(QueryMenu(handler.Get(), 1, CMF_DEFAULTONLY, &result).size(), 0u);
    EXPECT_EQ(result, S_OK);
}

TEST_F(ShellExtTest, InitializeRefusesEmptyInputAndKeepsTheSelection)
{
    SetClipboardText(nullptr);
    const auto files = MakeFiles({L"a.txt", L"b.txt", L"c.txt"});
    const BrelvantaDll& dll = BrelvantaDll::Get();
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(dll.getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put())), S_OK);
    ComPtr<IShellExtInit> init;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(init.Put())), S_OK);

    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    const auto three = ComPtr<IDataObject>::Attach(CreateDropListDataObject(files));
    EXPECT_EQ(init->Initialize(nullptr, three.Get(), nullptr), S_OK);
    const auto none = ComPtr<IDataObject>::Attach(CreateDropListDataObject({}));
    EXPECT_EQ(init->Initialize(nullptr, none.Get(), nullptr), E_INVALIDARG);
    EXPECT_NE(MenuTexts(QueryMenu(init.As<IContextMenu>().Get())).find(L"Multi Rename"), std::wstring::npos);

    // The older form of the list, in the ANSI code page, reads the same.
    const auto ansi = ComPtr<IDataObject>::Attach(CreateAnsiDropListDataObject({"C:\\a.txt", "C:\\b.txt"}));
    EXPECT_EQ(init->Initialize(nullptr, ansi.Get(), nullptr), S_OK);
    EXPECT_NE(MenuTexts(QueryMenu(init.As<IContextMenu>().Get())).find(L"Multi Rename"), std::wstring::npos);

    // The shell's own data object works the same way.
    ComPtr<IDataObject> shellObject;
    UniqueCoTaskMem folderId;
    ASSERT_EQ(CreateShellDataObject(TempFolder(), {L"a.txt"}, shellObject, folderId), S_OK);
    EXPECT_EQ(init->Initialize(nullptr, shellObject.Get(), nullptr), S_OK);
    EXPECT_EQ(MenuTexts(QueryMenu(init.As<IContextMenu>().Get())), kDefaultsForOneFile);
}

TEST_F(ShellExtTest, HugeAndLongSelectionsStayWhole)
{
    SetClipboardText(nullptr);
    std::vector<std::wstring> paths;
    for (int i = 0; i < 100000; ++i)
        paths.push_back(L"C:\\no such folder\\file " + std::to_wstring(i) + L".txt");
    HRESULT result = E_FAIL;
    const auto handler = CreateHandler(paths, &result);
    EXPECT_EQ(result, S_OK);
    EXPECT_NE(MenuTexts(QueryMenu(handler.Get())).find(L"Multi Rename"), std::wstring::npos);

    // A folder whose path is over 260 characters is still seen as a folder: its name arrives whole.
    std::wstring deep = TempFolder();
    while (deep.size() < 400)
    {
        deep += L"\\" + std::wstring(50, L'd');
        ASSERT_TRUE(CreateFolder(deep));
    }
    EXPECT_NE(MenuTexts(QueryMenu(CreateHandler({deep}).Get())).find(L"Extract"), std::wstring::npos);
}

TEST_F(ShellExtTest, InvokeCommandTakesOnlyOffsetsOfCommands)
{
    SetClipboardText(nullptr);
    const auto files = MakeFiles({L"a.txt"});
    const ComPtr<IContextMenu> handler = CreateHandler(files);
    HRESULT result = E_FAIL;
    QueryMenu(handler.Get(), 1, CMF_NORMAL, &result);
    const UINT count = HRESULT_CODE(result);
    ASSERT_EQ(count, 5u);

    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof(invoke);
    invoke.lpVerb = "copy";
    EXPECT_EQ(handler->InvokeCommand(&invoke), E_INVALIDARG) << "string verb";
    invoke.lpVerb = MAKEINTRESOURCEA(count - 1);
    EXPECT_EQ(handler->InvokeCommand(&invoke), E_INVALIDARG) << "the submenu item";
    invoke.lpVerb = MAKEINTRESOURCEA(count + 5);
    EXPECT_EQ(handler->InvokeCommand(&invoke), E_INVALIDARG) << "beyond the items";
    invoke.lpVerb = MAKEINTRESOURCEA(0);
    invoke.fMask = CMIC_MASK_SHIFT_DOWN | CMIC_MASK_CONTROL_DOWN;
    {
        // CTRL opens the copy options dialog.
        DialogDriver driver;
        driver.OnDialog(L"Copy Filenames", [](DialogHandle dlg) { dlg.Click(IDCANCEL); });
        EXPECT_EQ(handler->InvokeCommand(&invoke), S_OK);
        EXPECT_EQ(driver.PendingScripts(), 0u);
    }

    // A second menu replaces the commands of the first, with offsets from 0 again.
    WriteConfigFile(Config(Entries({"CONFIGURE"}), ""));
    QueryMenu(handler.Get(), 50, CMF_NORMAL, &result);
    EXPECT_EQ(HRESULT_CODE(result), 1);
    invoke.lpVerb = MAKEINTRESOURCEA(1);
    EXPECT_EQ(handler->InvokeCommand(&invoke), E_INVALIDARG) << "an offset of the first menu only";

    char name[64] = {};
    for (const UINT type : {GCS_VERBA, GCS_HELPTEXTA, GCS_VALIDATEA, GCS_VERBW, GCS_HELPTEXTW, GCS_VALIDATEW})
        EXPECT_EQ(handler->GetCommandString(0, type, nullptr, name, sizeof(name)), E_INVALIDARG) << type;
}
