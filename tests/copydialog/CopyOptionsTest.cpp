#include "copydialog/CopyOptions.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/ProductStateTest.h"
#include "winsupport/SettingsStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::wstring Stored(const wchar_t* name)
{
    std::wstring text;
    return ReadSettingString(name, text) ? text : L"(none)";
}

// Counts the rebuilds of the preview it hears of.
class PreviewCounter final : public CopyOptionsObserver
{
  public:
    void OnCopyOptionsChanged(CopyOptionsChange change) override { rebuilds += change == CopyOptionsChange::Preview; }
    int rebuilds = 0;
};

class CopyOptionsTest : public ProductStateTest
{
  protected:
    void SetUp() override
    {
        ProductStateTest::SetUp();
        for (const wchar_t* name : {L"b.txt", L"a.txt"})
        {
            m_paths.push_back(TempPath(name));
            ASSERT_TRUE(WriteFileBytes(m_paths.back(), "12"));
        }
        for (const std::wstring& path : m_paths)
            m_list.AddPath(path);
        m_list.Flatten();
    }

    std::vector<std::wstring> m_paths;
    ItemList m_list;
};
} // namespace

TEST_F(CopyOptionsTest, RemembersWhatWasLastChosenOrStartsWithNames)
{
    struct Case
    {
        const wchar_t* item; // nullptr: nothing stored
        const wchar_t* separator;
        DWORD sort;
        const wchar_t* expectItem;
        const wchar_t* expectSeparator;
        SortOption expectSort;
        const wchar_t* expectPreview;
    };
    const Case cases[] = {
        {nullptr, nullptr, 0, L"$name", L"\\n", SortOption::AsSelected, L"b.txt\r\na.txt"},
        {L"<$name>", L",", 1, L"<$name>", L",", SortOption::NameAscending, L"<a.txt>,<b.txt>"},
        {L"$name", L" ", 8, L"$name", L" ", SortOption::PathLengthDescending, L"b.txt a.txt"},
        // An item text that is not valid, an empty one, and an unknown order are not used.
        {L"$nam", L" ", 9, L"$name", L"\\n", SortOption::AsSelected, L"b.txt\r\na.txt"},
        {L"", L" ", 2, L"$name", L"\\n", SortOption::NameDescending, L"b.txt\r\na.txt"},
    };
    for (const Case& c : cases)
    {
        ClearProductState();
        if (c.item)
        {
            ASSERT_TRUE(WriteSettingString(L"Format Text", c.item));
            ASSERT_TRUE(WriteSettingString(L"Separator Text", c.separator));
        }
        ASSERT_TRUE(WriteSettingDword(L"Sort Option", c.sort));
        ItemList list;
        for (const std::wstring& path : m_paths)
            list.AddPath(path);
        list.Flatten();

        CopyOptions options;
        options.SetItemList(list);
        options.RefreshPreview();
        const std::wstring what = c.item ? c.item : L"(nothing stored)";
        EXPECT_EQ(options.ItemText(), c.expectItem) << what;
        EXPECT_EQ(options.SeparatorText(), c.expectSeparator) << what;
        EXPECT_EQ(options.Sort(), c.expectSort) << what;
        EXPECT_EQ(list.sortOption, c.expectSort) << what;
        EXPECT_EQ(std::wstring(options.Preview().Text()), c.expectPreview) << what;
    }
}

TEST_F(CopyOptionsTest, EditsReachThePreviewAndOnlyValidTextsAreRemembered)
{
    enum class Step
    {
        Item,      // typed into the item text
        Separator, // typed into the separator
        Apply,     // both at once: a preset or the quick controls
        Sort,
    };
    struct Case
    {
        Step step;
        const wchar_t* item;
        const wchar_t* separator;
        SortOption sort;
        bool rebuilt;
        const wchar_t* preview;
        const wchar_t* storedItem;
        const wchar_t* storedSeparator;
    };
    constexpr SortOption kNone = SortOption::AsSelected;
    const Case cases[] = {
        {Step::Item, L"<$name>", nullptr, kNone, true, L"<b.txt>\r\n<a.txt>", L"<$name>", L"\\n"},
        {Step::Separator, nullptr, L";", kNone, true, L"<b.txt>;<a.txt>", L"<$name>", L";"},
        // The same text again: nothing to rebuild.
        {Step::Item, L"<$name>", nullptr, kNone, false, L"<b.txt>;<a.txt>", L"<$name>", L";"},
        // A text that is not valid waits: neither the preview nor the store takes it. A separator
        // typed meanwhile rebuilds with the parts read before the error, and is not remembered.
        {Step::Item, L"<$nam", nullptr, kNone, false, L"<b.txt>;<a.txt>", L"<$name>", L";"},
        {Step::Separator, nullptr, L"+", kNone, true, L"<+<", L"<$name>", L";"},
        {Step::Item, L"$name", nullptr, kNone, true, L"b.txt+a.txt", L"$name", L"+"},
        {Step::Apply, L"$name", L"\\t", kNone, true, L"b.txt\ta.txt", L"$name", L"\\t"},
        {Step::Sort, nullptr, nullptr, SortOption::NameAscending, true, L"a.txt\tb.txt", L"$name", L"\\t"},
        {Step::Sort, nullptr, nullptr, SortOption::NameAscending, false, L"a.txt\tb.txt", L"$name", L"\\t"},
        {Step::Sort, nullptr, nullptr, SortOption::AsSelected, true, L"b.txt\ta.txt", L"$name", L"\\t"},
    };
    CopyOptions options;
    options.SetItemList(m_list);
    PreviewCounter counter;
    options.AddObserver(counter);
    options.RefreshPreview();
    for (size_t row = 0; row < std::size(cases); ++row)
    {
        const Case& c = cases[row];
        const int before = counter.rebuilds;
        switch (c.step)
        {
        case Step::Item: {
            const bool valid = options.EditItemText(c.item);
            EXPECT_EQ(valid, options.ItemTextValid()) << "row " << row;
            break;
        }
        case Step::Separator:
            options.EditSeparatorText(c.separator);
            break;
        case Step::Apply:
            options.ApplyTexts(c.item, c.separator);
            break;
        case Step::Sort:
            options.SetSort(c.sort);
            break;
        }
        EXPECT_EQ(counter.rebuilds - before, c.rebuilt ? 1 : 0) << "row " << row;
        EXPECT_EQ(std::wstring(options.Preview().Text()), c.preview) << "row " << row;
        EXPECT_EQ(Stored(L"Format Text"), c.storedItem) << "row " << row;
        EXPECT_EQ(Stored(L"Separator Text"), c.storedSeparator) << "row " << row;
    }
    options.RemoveObserver(counter);
}
