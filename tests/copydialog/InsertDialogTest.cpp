#include "copydialog/InsertDlg.h"

#include "copydialog/InsertExamples.h"
#include "copydialog/InsertFragments.h"
#include "copynames/ItemFormat.h"
#include "copynames/PropertyRuntime.h"
#include "resources/resource.h"
#include "tests/copydialog/CopyDialogTestSupport.h"
#include "tests/copydialog/StandInProperties.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/Resources.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{
constexpr wchar_t kCaption[] = L"Insert File/Folder Attribute";

// Chooses an entry of a drop-down list as a user would: the list tells its dialog.
void Choose(const DialogHandle& dialog, int id, int index)
{
    const HWND list = dialog.Descendant(id);
    ASSERT_NE(list, nullptr) << id;
    ASSERT_TRUE(::IsWindowEnabled(list)) << id;
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

int Chosen(const DialogHandle& dialog, int id)
{
    return static_cast<int>(::SendMessageW(dialog.Descendant(id), CB_GETCURSEL, 0, 0));
}

void ClickRadio(const DialogHandle& dialog, int id)
{
    EXPECT_TRUE(UserClick(dialog.ChildWith(id), id)) << id;
}

std::wstring TextOf(const DialogHandle& dialog, int id)
{
    return GetWindowTextString(dialog.Descendant(id));
}

// Selects a tab as a click on it would.
void SelectTab(const DialogHandle& dialog, int index)
{
    ::SendMessageW(dialog.Item(IDC_INSERT_TABS), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
}

bool PageShown(const DialogHandle& dialog, int controlId)
{
    return ::IsWindowVisible(dialog.ChildWith(controlId).Hwnd()) != FALSE;
}

std::vector<std::wstring> ComboEntries(const DialogHandle& dialog, int id)
{
    const HWND list = dialog.Descendant(id);
    std::vector<std::wstring> entries;
    const int count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
    {
        std::wstring text(static_cast<size_t>(::SendMessageW(list, CB_GETLBTEXTLEN, index, 0)), L'\0');
        ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(text);
    }
    return entries;
}

// The dialog over real files of the test's folder, each run with the memory of a fresh process
// unless a test carries it on itself.
class InsertDialogTest : public TempFolderTest
{
  protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        RememberedInsertState() = InsertDialogMemory{};
    }
    void TearDown() override
    {
        RememberedInsertState() = InsertDialogMemory{};
        DropPropertyRuntime();
        TempFolderTest::TearDown();
    }

    // Real files of these names and sizes, listed in this order.
    const ItemList& Files(const std::vector<std::pair<std::wstring, size_t>>& files)
    {
        m_list = std::make_unique<ItemList>();
        m_paths.clear();
        m_paths.reserve(files.size());
        for (const auto& [name, size] : files)
        {
            m_paths.push_back(TempPath(name));
            EXPECT_TRUE(WriteFileBytes(m_paths.back(), std::string(size, 'x')));
        }
        for (const std::wstring& path : m_paths)
            m_list->AddPath(path);
        m_list->Flatten();
        return *m_list;
    }
    const std::vector<std::wstring>& Paths() const noexcept { return m_paths; }

    // Runs the dialog with the script, which ends it.
    std::optional<std::wstring> Run(const ItemList& list, DialogDriver::Script script)
    {
        DialogDriver driver;
        driver.OnDialog(kCaption, std::move(script));
        const std::optional<std::wstring> result = ShowInsertDialog(CWindow(m_owner.Hwnd()), list);
        EXPECT_EQ(driver.PendingScripts(), 0u);
        EXPECT_FALSE(driver.TimedOut());
        return result;
    }

    OwnerWindow m_owner;

  private:
    std::vector<std::wstring> m_paths;
    std::unique_ptr<ItemList> m_list;
};

// What the copy writes for an item of the list with this definition.
std::wstring Copied(const ItemList& list, const std::wstring& definition, size_t index = 0)
{
    ItemList one;
    one.AddPath(list.Output().at(index)->Path());
    one.Flatten();
    ItemFormat format;
    EXPECT_TRUE(format.SetDefinition(definition)) << definition;
    ClipboardText text;
    format.Format(one, text);
    return std::wstring(text.Text());
}
} // namespace

TEST_F(InsertDialogTest, EveryRadioBuildsItsTextWithItsOptionsAndShowsItsExample)
{
    const ItemList& list = Files({{L"report.txt", 5000}, {L"b.dat", 1}});
    const std::optional<std::wstring> result = Run(list, [&](DialogHandle dialog) {
        EXPECT_EQ(ComboEntries(dialog, IDC_INSERT_EXAMPLE),
                  (std::vector<std::wstring>{ExampleEntryText(Paths()[0]), ExampleEntryText(Paths()[1])}));
        EXPECT_EQ(Chosen(dialog, IDC_INSERT_EXAMPLE), 0);
        EXPECT_TRUE(PageShown(dialog, IDC_INSERT_NAME));
        EXPECT_FALSE(PageShown(dialog, IDC_INSERT_PROPERTY_LIST));
        EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$name;");
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), L"report.txt");
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_TYPE_EXAMPLE), Copied(list, L"$type"));

        struct Step
        {
            int radio;
            std::vector<std::pair<int, int>> choices; // list, entry
            std::wstring text;
            int example;
        };
        const Step steps[] = {
            {IDC_INSERT_NAME, {{IDC_INSERT_NAME_LIST, 1}}, L"$namenoext;", IDC_INSERT_NAME_EXAMPLE},
            {IDC_INSERT_NAME, {{IDC_INSERT_NAME_LIST, 2}}, L"$ext;", IDC_INSERT_NAME_EXAMPLE},
            {IDC_INSERT_PATH, {}, L"$path;", IDC_INSERT_PATH_EXAMPLE},
            {IDC_INSERT_PATH,
             {{IDC_INSERT_PATH_LIST, 1}, {IDC_INSERT_SEPARATOR_LIST, 2}},
             L"$folder:forwardslash;",
             IDC_INSERT_PATH_EXAMPLE},
            {IDC_INSERT_PATH,
             {{IDC_INSERT_PATH_LIST, 0}, {IDC_INSERT_SEPARATOR_LIST, 1}},
             L"$path:doublebackslash;",
             IDC_INSERT_PATH_EXAMPLE},
            {IDC_INSERT_TYPE, {}, L"$type;", IDC_INSERT_TYPE_EXAMPLE},
            {IDC_INSERT_SIZE, {{IDC_INSERT_SIZE_LIST, 1}}, L"$size:kb;", IDC_INSERT_SIZE_EXAMPLE},
            {IDC_INSERT_SIZE, {{IDC_INSERT_SIZE_LIST, 4}}, L"$size:auto;", IDC_INSERT_SIZE_EXAMPLE},
            {IDC_INSERT_SIZE, {{IDC_INSERT_SIZE_LIST, 0}}, L"$size;", IDC_INSERT_SIZE_EXAMPLE},
            {IDC_INSERT_DATE, {{IDC_INSERT_DATE_TIME_LIST, 2}}, L"$credate;", IDC_INSERT_DATE_EXAMPLE},
            {IDC_INSERT_DATE, {{IDC_INSERT_DATE_FORMAT_LIST, 3}}, L"$credate:longdate;", IDC_INSERT_DATE_EXAMPLE},
            {IDC_INSERT_DATE,
             {{IDC_INSERT_DATE_TIME_LIST, 1}, {IDC_INSERT_DATE_FORMAT_LIST, 1}},
             L"$accdate:longdatetime;",
             IDC_INSERT_DATE_EXAMPLE},
        };
        for (const Step& step : steps)
        {
            ClickRadio(dialog, step.radio);
            for (const auto& [listId, entry] : step.choices)
                Choose(dialog, listId, entry);
            EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), step.text);
            EXPECT_EQ(TextOf(dialog, step.example), Copied(list, step.text)) << step.text;
        }

        // Only the selected row's lists can be used.
        const int lists[] = {IDC_INSERT_NAME_LIST, IDC_INSERT_PATH_LIST,      IDC_INSERT_SEPARATOR_LIST,
                             IDC_INSERT_SIZE_LIST, IDC_INSERT_DATE_TIME_LIST, IDC_INSERT_DATE_FORMAT_LIST};
        ClickRadio(dialog, IDC_INSERT_TYPE);
        for (const int id : lists)
            EXPECT_FALSE(::IsWindowEnabled(dialog.Descendant(id))) << id;
        ClickRadio(dialog, IDC_INSERT_PATH);
        for (const int id : lists)
            EXPECT_EQ(::IsWindowEnabled(dialog.Descendant(id)) != FALSE,
                      id == IDC_INSERT_PATH_LIST || id == IDC_INSERT_SEPARATOR_LIST)
                << id;

        // Another example file: every row shows it.
        Choose(dialog, IDC_INSERT_EXAMPLE, 1);
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), L"dat") << "the name row is at Extension Only";
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_TYPE_EXAMPLE), Copied(list, L"$type", 1));
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_SIZE_EXAMPLE), L"1");
        EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$path:doublebackslash;");
        EXPECT_TRUE(dialog.Click(IDOK));
    });
    EXPECT_EQ(result, L"$path:doublebackslash;");
}

TEST_F(InsertDialogTest, OkAndEnterReturnTheTextCancelAndEscapeNothing)
{
    const ItemList& list = Files({{L"a.txt", 10}});
    EXPECT_EQ(Run(list,
                  [](DialogHandle dialog) {
                      ClickRadio(dialog, IDC_INSERT_SIZE);
                      Choose(dialog, IDC_INSERT_SIZE_LIST, 2);
                      EXPECT_TRUE(dialog.Click(IDOK));
                  }),
              L"$size:mb;");
    EXPECT_EQ(Run(list,
                  [](DialogHandle dialog) {
                      ClickRadio(dialog, IDC_INSERT_TYPE);
                      EXPECT_TRUE(dialog.Click(IDCANCEL));
                  }),
              std::nullopt);
    // Enter and Escape inside a page end the whole dialog.
    EXPECT_EQ(Run(list,
                  [](DialogHandle dialog) {
                      ClickRadio(dialog, IDC_INSERT_TYPE);
                      ::SetFocus(dialog.Descendant(IDC_INSERT_TYPE));
                      dialog.PressKey(VK_RETURN);
                  }),
              L"$type;");
    EXPECT_EQ(Run(list,
                  [](DialogHandle dialog) {
                      ::SetFocus(dialog.Descendant(IDC_INSERT_NAME_LIST));
                      dialog.PressKey(VK_ESCAPE);
                  }),
              std::nullopt);
    // Help opens the reference page installed beside the library and leaves the dialog open.
    std::vector<std::wstring> opened;
    SetReferenceOpener([&opened](const std::wstring& page) {
        opened.push_back(page);
        return true;
    });
    EXPECT_EQ(Run(list,
                  [](DialogHandle dialog) {
                      EXPECT_TRUE(dialog.Click(IDHELP));
                      EXPECT_TRUE(::IsWindowVisible(dialog.Hwnd()));
                      EXPECT_TRUE(dialog.Click(IDOK));
                  }),
              L"$type;");
    SetReferenceOpener(nullptr);
    EXPECT_EQ(opened, std::vector<std::wstring>{ReferencePagePath()});
    EXPECT_TRUE(ReferencePagePath().ends_with(L"\\reference.html"));
}

TEST_F(InsertDialogTest, TheNextOpeningShowsWhatTheLastOneLeft)
{
    const ItemList& list = Files({{L"one.txt", 1}, {L"two.txt", 2}, {L"three.txt", 3}});
    RECT placed{};
    int nameWidth = 0;
    Run(list, [&](DialogHandle dialog) {
        RECT start{};
        ::GetWindowRect(dialog.Hwnd(), &start);
        Choose(dialog, IDC_INSERT_EXAMPLE, 2);
        ClickRadio(dialog, IDC_INSERT_DATE);
        Choose(dialog, IDC_INSERT_DATE_TIME_LIST, 1);
        Choose(dialog, IDC_INSERT_DATE_FORMAT_LIST, 2);
        ClickRadio(dialog, IDC_INSERT_PATH); // the radio last chosen counts
        Choose(dialog, IDC_INSERT_SEPARATOR_LIST, 2);
        SelectTab(dialog, 1);
        EXPECT_TRUE(PageShown(dialog, IDC_INSERT_PROPERTY_LIST));
        EXPECT_TRUE(UserClick(dialog.ChildWith(IDC_INSERT_HIDE_EMPTY), IDC_INSERT_HIDE_EMPTY));
        ListView_SetColumnWidth(dialog.Descendant(IDC_INSERT_PROPERTY_LIST), 0, 180);
        nameWidth = ListView_GetColumnWidth(dialog.Descendant(IDC_INSERT_PROPERTY_LIST), 0);
        ::SetWindowPos(dialog.Hwnd(), nullptr, start.left + 30, start.top + 20, start.right - start.left + 120,
                       start.bottom - start.top + 80, SWP_NOZORDER);
        ::GetWindowRect(dialog.Hwnd(), &placed);
        EXPECT_TRUE(dialog.Click(IDCANCEL)); // remembered however the dialog ends
    });

    Run(list, [&](DialogHandle dialog) {
        EXPECT_EQ(Chosen(dialog, IDC_INSERT_EXAMPLE), 2);
        EXPECT_TRUE(PageShown(dialog, IDC_INSERT_PROPERTY_LIST));
        EXPECT_FALSE(PageShown(dialog, IDC_INSERT_NAME));
        EXPECT_TRUE(::IsDlgButtonChecked(dialog.ChildWith(IDC_INSERT_HIDE_EMPTY).Hwnd(), IDC_INSERT_HIDE_EMPTY));
        EXPECT_EQ(ListView_GetColumnWidth(dialog.Descendant(IDC_INSERT_PROPERTY_LIST), 0), nameWidth);
        RECT now{};
        ::GetWindowRect(dialog.Hwnd(), &now);
        EXPECT_TRUE(::EqualRect(&now, &placed));
        // The tab, the list and the note followed the bigger window.
        RECT tab{}, listRect{};
        ::GetWindowRect(dialog.Item(IDC_INSERT_TABS), &tab);
        ::GetWindowRect(dialog.Descendant(IDC_INSERT_PROPERTY_LIST), &listRect);
        EXPECT_GT(listRect.bottom, tab.top + (tab.bottom - tab.top) / 2);
        EXPECT_LT(listRect.right, tab.right);
        EXPECT_GT(listRect.right, tab.right - 40);

        SelectTab(dialog, 0);
        EXPECT_TRUE(::IsDlgButtonChecked(dialog.ChildWith(IDC_INSERT_PATH).Hwnd(), IDC_INSERT_PATH));
        EXPECT_EQ(Chosen(dialog, IDC_INSERT_DATE_TIME_LIST), 1);
        EXPECT_EQ(Chosen(dialog, IDC_INSERT_DATE_FORMAT_LIST), 2);
        EXPECT_EQ(Chosen(dialog, IDC_INSERT_SEPARATOR_LIST), 2);
        EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$path:forwardslash;");
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), L"three.txt");
        // It cannot be made smaller than it first opened.
        ::SetWindowPos(dialog.Hwnd(), nullptr, 0, 0, 50, 50, SWP_NOZORDER | SWP_NOMOVE);
        RECT small{};
        ::GetWindowRect(dialog.Hwnd(), &small);
        EXPECT_GE(small.right - small.left, placed.right - placed.left - 120);
        EXPECT_TRUE(dialog.Click(IDOK));
    });
}

TEST_F(InsertDialogTest, WithoutItemsTheTextsStillComeAndTheListsStayEmpty)
{
    const ItemList empty;
    const std::optional<std::wstring> result = Run(empty, [](DialogHandle dialog) {
        EXPECT_TRUE(ComboEntries(dialog, IDC_INSERT_EXAMPLE).empty());
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), L"");
        ClickRadio(dialog, IDC_INSERT_SIZE);
        Choose(dialog, IDC_INSERT_SIZE_LIST, 3);
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_SIZE_EXAMPLE), L"");
        SelectTab(dialog, 1);
        EXPECT_TRUE(dialog.ListRows(IDC_INSERT_PROPERTY_LIST).empty());
        EXPECT_FALSE(TextOf(dialog, IDC_INSERT_PROPERTY_NOTE).empty()) << "the page says why it is empty";
        EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"") << "no property row is selected";
        SelectTab(dialog, 0);
        EXPECT_TRUE(dialog.Click(IDOK));
    });
    EXPECT_EQ(result, L"$size:gb;");
}

TEST_F(InsertDialogTest, ManyItemsOfferTwentyFourExamples)
{
    // The list is only read for its items' paths: 100,000 of them need no files.
    std::vector<std::wstring> paths;
    paths.reserve(100000);
    for (int index = 0; index < 100000; ++index)
        paths.push_back(L"C:\\Many\\item" + std::to_wstring(index) + L".txt");
    std::vector<std::unique_ptr<FileCFItem>> items;
    std::vector<const CFItem*> pointers;
    for (const std::wstring& path : paths)
    {
        items.push_back(std::make_unique<FileCFItem>(path));
        pointers.push_back(items.back().get());
    }
    DialogDriver driver;
    driver.OnDialog(kCaption, [](DialogHandle dialog) {
        const std::vector<std::wstring> entries = ComboEntries(dialog, IDC_INSERT_EXAMPLE);
        ASSERT_EQ(entries.size(), 24u);
        EXPECT_EQ(entries[1], L"item4167.txt\u2003\u2014\u2003C:\\Many");
        EXPECT_EQ(entries.back(), L"item95841.txt\u2003\u2014\u2003C:\\Many");
        EXPECT_TRUE(dialog.Click(IDCANCEL));
    });
    CInsertDlg dialog(pointers);
    EXPECT_EQ(dialog.ShowModal(m_owner.Hwnd()), IDCANCEL);
    EXPECT_EQ(driver.PendingScripts(), 0u);
}

TEST_F(InsertDialogTest, ExamplesOfFilesThatVanishAndOfOddNamesStillShow)
{
    const std::wstring longName = std::wstring(251, L'z') + L".txt";
    ASSERT_EQ(longName.size(), 255u);
    const std::wstring pairName = L"\U0001F4C4\U0001F4C4 notes";
    const ItemList& list = Files({{longName, 4}, {pairName, 2048}});
    const std::optional<std::wstring> result = Run(list, [&](DialogHandle dialog) {
        EXPECT_EQ(ComboEntries(dialog, IDC_INSERT_EXAMPLE)[0], longName + L"\u2003\u2014\u2003" + TempFolder());
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), longName);
        const std::wstring size = Copied(list, L"$size", 1);
        for (const std::wstring& path : Paths())
            EXPECT_TRUE(::DeleteFileW(path.c_str()));
        Choose(dialog, IDC_INSERT_EXAMPLE, 1);
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), pairName);
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_SIZE_EXAMPLE), size);
        ClickRadio(dialog, IDC_INSERT_NAME);
        Choose(dialog, IDC_INSERT_NAME_LIST, 2);
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), L"") << "a name without a dot has no extension";
        SelectTab(dialog, 1);
        EXPECT_TRUE(PageShown(dialog, IDC_INSERT_PROPERTY_LIST));
        Choose(dialog, IDC_INSERT_EXAMPLE, 0);
        SelectTab(dialog, 0);
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_NAME_EXAMPLE), L"txt");
        EXPECT_TRUE(dialog.Click(IDOK));
    });
    EXPECT_EQ(result, L"$ext;");
}

TEST_F(InsertDialogTest, PropertyPageSaysWhyItListsNothing)
{
    const ItemList& list = Files({{L"a.txt", 1}});
    // Without a property system, whatever the platform.
    SetPropertyRuntimeForTesting(std::make_shared<PropertyRunTimeDLLs>(PropertyRunTimeDLLs::EntryPoints{}));
    Run(list, [](DialogHandle dialog) {
        ClickRadio(dialog, IDC_INSERT_TYPE);
        SelectTab(dialog, 1);
        EXPECT_TRUE(dialog.ListRows(IDC_INSERT_PROPERTY_LIST).empty());
        EXPECT_EQ(TextOf(dialog, IDC_INSERT_PROPERTY_NOTE), LoadStringResource(IDS_INSERT_NO_PROPERTY_SYSTEM));
        EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"");
        EXPECT_TRUE(dialog.Click(IDCANCEL));
    });
    DropPropertyRuntime();

    // With the platform's own: under Wine it offers nothing for the file, and the page must say
    // so without calling what is missing.
    Run(list, [](DialogHandle dialog) {
        SelectTab(dialog, 1);
        const std::vector<std::wstring> rows = dialog.ListRows(IDC_INSERT_PROPERTY_LIST);
        if (rows.empty())
            EXPECT_FALSE(TextOf(dialog, IDC_INSERT_PROPERTY_NOTE).empty());
        else
            EXPECT_EQ(TextOf(dialog, IDC_INSERT_PROPERTY_NOTE), L"");
        EXPECT_TRUE(dialog.Click(IDCANCEL));
    });
}

TEST_F(InsertDialogTest, PropertyRowsGiveTheirTextAndADoubleClickEndsTheDialog)
{
    if (!PlatformHasPropertySystem())
        GTEST_SKIP() << "no property system on this platform";
    // Wine lists no properties: the stand-ins offer some, as a Windows shell would.
    UseStandInProperties({
        {L"System.Size", L"Size", L"12 KB"},
        {L"System.Title", L"Title", L""},
        {L"System.Author", L"Authors", L"Ann"},
        {L"System.Custom.NoName", L"", L"x"},
        {L"Vendor.Thing", L"Thing", L"y"}, // not the system's: never listed
    });
    const ItemList& list = Files({{L"a.txt", 1}});
    const auto rowCenter = [](HWND listView, int row) {
        RECT rect{};
        ListView_GetItemRect(listView, row, &rect, LVIR_LABEL);
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    };
    EXPECT_EQ(Run(list,
                  [&](DialogHandle dialog) {
                      ClickRadio(dialog, IDC_INSERT_DATE);
                      SelectTab(dialog, 1);
                      const DialogHandle page = dialog.ChildWith(IDC_INSERT_PROPERTY_LIST);
                      EXPECT_EQ(page.ListRows(IDC_INSERT_PROPERTY_LIST),
                                (std::vector<std::wstring>{L"Authors", L"Size", L"Title", L""}));
                      EXPECT_EQ(TextOf(dialog, IDC_INSERT_PROPERTY_NOTE), L"");
                      EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"") << "no row is selected yet";
                      page.SelectRow(IDC_INSERT_PROPERTY_LIST, 1);
                      EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$property:Size;");
                      page.SelectRow(IDC_INSERT_PROPERTY_LIST, 3);
                      EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$property:Custom.NoName;");

                      // Empty values hidden: Title goes; the texts ask for all four names, the
                      // display names only for the three rows shown.
                      const int askedBefore = StandInDescriptionsAsked();
                      EXPECT_TRUE(UserClick(page, IDC_INSERT_HIDE_EMPTY));
                      EXPECT_EQ(page.ListRows(IDC_INSERT_PROPERTY_LIST),
                                (std::vector<std::wstring>{L"Authors", L"Size", L""}));
                      EXPECT_EQ(ListView_GetNextItem(page.Item(IDC_INSERT_PROPERTY_LIST), -1, LVNI_SELECTED), 2)
                          << "the remembered row stays selected";
                      EXPECT_EQ(StandInDescriptionsAsked() - askedBefore, 4 + 3);

                      // The attribute page's text comes back with its page.
                      SelectTab(dialog, 0);
                      EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$moddate;");
                      SelectTab(dialog, 1);
                      EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$property:Custom.NoName;");

                      // A double-click: its first click selects the row.
                      const HWND listView = page.Item(IDC_INSERT_PROPERTY_LIST);
                      page.SelectRow(IDC_INSERT_PROPERTY_LIST, 0);
                      ::SendMessageW(listView, WM_LBUTTONDBLCLK, MK_LBUTTON, rowCenter(listView, 0));
                  }),
              L"$property:Author;");

    // The next opening shows the property page with the row chosen last.
    EXPECT_EQ(Run(list,
                  [&](DialogHandle dialog) {
                      EXPECT_TRUE(PageShown(dialog, IDC_INSERT_PROPERTY_LIST));
                      EXPECT_EQ(dialog.GetText(IDC_INSERT_TEXT), L"$property:Author;");
                      EXPECT_TRUE(dialog.Click(IDOK));
                  }),
              L"$property:Author;");
}
