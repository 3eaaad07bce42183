#include "copydialog/InsertExamples.h"
#include "copydialog/InsertFragments.h"
#include "copydialog/InsertPropertyList.h"
#include "copynames/ItemFormat.h"
#include "copynames/PropertyRuntime.h"
#include "tests/copydialog/StandInProperties.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
// Items of paths that need not exist: picking examples reads nothing from the disk.
struct PathItems
{
    explicit PathItems(size_t count)
    {
        paths.reserve(count);
        for (size_t index = 0; index < count; ++index)
            paths.push_back(L"C:\\Work\\file" + std::to_wstring(index) + L".txt");
        for (const std::wstring& path : paths)
            items.push_back(std::make_unique<FileCFItem>(path));
        for (const auto& item : items)
            pointers.push_back(item.get());
    }
    std::vector<std::wstring> paths;
    std::vector<std::unique_ptr<FileCFItem>> items;
    std::vector<const CFItem*> pointers;
};

std::vector<size_t> PickedPositions(size_t count)
{
    const PathItems items(count);
    std::vector<size_t> positions;
    for (const CFItem* example : PickInsertExamples(items.pointers))
        positions.push_back(static_cast<size_t>(std::find(items.pointers.begin(), items.pointers.end(), example) -
                                                items.pointers.begin()));
    return positions;
}
} // namespace

TEST(InsertModelTest, ExamplesSpreadOverTheWholeList)
{
    EXPECT_TRUE(PickedPositions(0).empty());
    EXPECT_EQ(PickedPositions(1), std::vector<size_t>{0});
    EXPECT_EQ(PickedPositions(24).size(), 24u);
    const std::vector<size_t> of25 = PickedPositions(25);
    ASSERT_EQ(of25.size(), 13u);
    EXPECT_EQ(of25.back(), 24u);
    const std::vector<size_t> of100 = PickedPositions(100);
    ASSERT_EQ(of100.size(), 20u);
    for (size_t index = 0; index < of100.size(); ++index)
        EXPECT_EQ(of100[index], index * 5);
    // 100,000 items: a step of 4,167 still gives 24 examples, the last one near the end.
    const std::vector<size_t> many = PickedPositions(100000);
    ASSERT_EQ(many.size(), 24u);
    EXPECT_EQ(many[1], 4167u);
    EXPECT_EQ(many.back(), 23u * 4167u);
}

TEST(InsertModelTest, ExampleEntriesNameTheFileThenItsFolder)
{
    EXPECT_EQ(ExampleEntryText(L"C:\\Work\\report.txt"), L"report.txt\u2003\u2014\u2003C:\\Work");
    EXPECT_EQ(ExampleEntryText(L"\\\\server\\share\\a b.txt"), L"a b.txt\u2003\u2014\u2003\\\\server\\share");
    EXPECT_EQ(ExampleEntryText(L"report.txt"), L"report.txt");
    EXPECT_EQ(ExampleEntryText(L"\\report.txt"), L"\\report.txt");
    EXPECT_EQ(ExampleEntryText(L""), L"");
}

TEST(InsertModelTest, EveryRowBuildsAFragmentTheFormatLanguageAccepts)
{
    struct Case
    {
        InsertAttribute attribute;
        InsertOptionSelections selections;
        std::wstring fragment;
    };
    const Case cases[] = {
        {kInsertName, {0, 0, 0, 0, 0, 0}, L"$name;"},
        {kInsertName, {1, 0, 0, 0, 0, 0}, L"$namenoext;"},
        {kInsertName, {2, 1, 2, 4, 2, 3}, L"$ext;"}, // other rows' lists do not count
        {kInsertPath, {0, 0, 0, 0, 0, 0}, L"$path;"},
        {kInsertPath, {0, 0, 1, 0, 0, 0}, L"$path:doublebackslash;"},
        {kInsertPath, {0, 1, 2, 0, 0, 0}, L"$folder:forwardslash;"},
        {kInsertType, {2, 1, 2, 4, 2, 3}, L"$type;"},
        {kInsertSize, {0, 0, 0, 0, 0, 0}, L"$size;"},
        {kInsertSize, {0, 0, 0, 1, 0, 0}, L"$size:kb;"},
        {kInsertSize, {0, 0, 0, 3, 0, 0}, L"$size:gb;"},
        {kInsertSize, {0, 0, 0, 4, 0, 0}, L"$size:auto;"},
        {kInsertDate, {0, 0, 0, 0, 0, 0}, L"$moddate;"},
        {kInsertDate, {0, 0, 0, 0, 1, 1}, L"$accdate:longdatetime;"},
        {kInsertDate, {0, 0, 0, 0, 2, 0}, L"$credate;"},
        {kInsertDate, {0, 0, 0, 0, 2, 3}, L"$credate:longdate;"},
        {kInsertDate, {0, 0, 0, 0, 0, 2}, L"$moddate:shortdate;"},
        // A list with nothing selected (CB_ERR) or out of range counts as its first entry.
        {kInsertSize, {0, 0, 0, -1, 0, 0}, L"$size;"},
        {kInsertPath, {0, 7, 9, 0, 0, 0}, L"$path;"},
    };
    for (const Case& c : cases)
    {
        const std::wstring fragment = AttributeFragment(c.attribute, c.selections);
        EXPECT_EQ(fragment, c.fragment);
        ItemFormat format;
        EXPECT_TRUE(format.SetDefinition(L"a " + fragment + L"b")) << fragment << L": " << format.Error();
        EXPECT_EQ(format.Parts().size(), 3u) << fragment << L": the ';' ends the reference";
    }
    EXPECT_EQ(PropertyFragment(L"Photo.DateTaken"), L"$property:Photo.DateTaken;");
}

class InsertExampleTest : public TempFolderTest
{
};

TEST_F(InsertExampleTest, ExamplesMatchWhatTheCopyWritesEvenForLongAndSurrogateNames)
{
    // The longest name, and one with pairs for characters outside the basic plane (the Unix side
    // under Wine holds 255 bytes of UTF-8 a name, so the two cannot be one).
    const std::wstring name = std::wstring(250, L'n') + L".text";
    ASSERT_EQ(name.size(), 255u);
    const std::wstring path = TempPath(name);
    ASSERT_TRUE(WriteFileBytes(path, std::string(3000, 'x')));
    ItemList list;
    list.AddPath(path);
    list.Flatten();
    ASSERT_EQ(list.Output().size(), 1u);
    const CFItem& item = *list.Output()[0];

    EXPECT_EQ(FragmentExample(L"$name;", item), name);
    EXPECT_EQ(FragmentExample(L"$namenoext;", item), name.substr(0, name.size() - 5));
    EXPECT_EQ(FragmentExample(L"$ext;", item), L"text");
    std::wstring forward = path;
    std::replace(forward.begin(), forward.end(), L'\\', L'/');
    EXPECT_EQ(FragmentExample(L"$path:forwardslash;", item), forward);
    for (const InsertAttribute attribute : kInsertAttributes)
        for (int unit = 0; unit < InsertOptionCount(kSizeUnitOptions); ++unit)
            for (int format = 0; format < InsertOptionCount(kDateFormatOptions); ++format)
            {
                const std::wstring fragment = AttributeFragment(attribute, {0, 1, 1, unit, 2, format});
                ItemFormat whole;
                ASSERT_TRUE(whole.SetDefinition(fragment));
                ClipboardText copied;
                whole.Format(list, copied);
                EXPECT_EQ(FragmentExample(fragment, item), std::wstring(copied.Text())) << fragment;
            }

    const std::wstring pairPath = TempPath(L"\U0001F600\U0001F4C4.\U0001F600");
    ASSERT_TRUE(WriteFileBytes(pairPath, "x"));
    ItemList pairList;
    pairList.AddPath(pairPath);
    pairList.Flatten();
    ASSERT_EQ(pairList.Output().size(), 1u);
    EXPECT_EQ(FragmentExample(L"$namenoext;", *pairList.Output()[0]), L"\U0001F600\U0001F4C4");
    EXPECT_EQ(FragmentExample(L"$ext;", *pairList.Output()[0]), L"\U0001F600");

    // The example comes from what the list read: the file may go meanwhile.
    ASSERT_TRUE(::DeleteFileW(path.c_str()));
    EXPECT_EQ(FragmentExample(L"$name;", item), name);
}

namespace
{
InsertPropertyList Build(bool hideEmpty, std::vector<std::wstring>* asked = nullptr)
{
    const std::vector<std::wstring> names{L"Size", L"Title", L"Author", L"Comment", L"Custom.Thing", L"Kind"};
    const std::map<std::wstring, std::wstring> texts{
        {L"System.Size", L"12 KB"},
        {L"System.Author", L"Ann"},
        {L"System.Custom.Thing", L"x"},
        {L"System.Kind", L""}, // present but empty
    };
    return BuildInsertPropertyList(names, texts, hideEmpty, [asked](const std::wstring& canonical) -> std::wstring {
        if (asked)
            asked->push_back(canonical);
        if (canonical == L"System.Size")
            return L"size";
        if (canonical == L"System.Title")
            return L"Title";
        if (canonical == L"System.Author")
            return L"Authors";
        if (canonical == L"System.Kind")
            return L"Kind";
        return {}; // no description
    });
}

std::vector<std::wstring> Names(const InsertPropertyList& list)
{
    std::vector<std::wstring> names;
    for (const InsertPropertyRow& row : list.rows)
        names.push_back(row.name);
    return names;
}
} // namespace

TEST(InsertModelTest, PropertyRowsSortByDisplayNameAndHideEmptyValues)
{
    const InsertPropertyList all = Build(false);
    EXPECT_EQ(all.state, PropertyListState::kListed);
    // By display name without regard to case; rows the system names not go last, by name.
    EXPECT_EQ(Names(all),
              (std::vector<std::wstring>{L"Author", L"Kind", L"Size", L"Title", L"Comment", L"Custom.Thing"}));
    EXPECT_EQ(all.rows[0].displayName, L"Authors");
    EXPECT_EQ(all.rows[0].value, L"Ann");
    EXPECT_EQ(all.rows[3].value, L"") << "a name missing from the texts has an empty text";

    std::vector<std::wstring> asked;
    const InsertPropertyList shown = Build(true, &asked);
    EXPECT_EQ(Names(shown), (std::vector<std::wstring>{L"Author", L"Size", L"Custom.Thing"}));
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"System.Size", L"System.Author", L"System.Custom.Thing"}))
        << "hidden rows are not described";

    const std::map<std::wstring, std::wstring> noTexts;
    const auto none = [](const std::wstring&) { return std::wstring(); };
    EXPECT_EQ(BuildInsertPropertyList({L"Title"}, noTexts, true, none).state, PropertyListState::kAllEmpty);
    EXPECT_EQ(BuildInsertPropertyList({}, noTexts, false, none).state, PropertyListState::kNoProperties);
}

TEST_F(InsertExampleTest, PropertyListOfAFileAsksTheSystemOnlyWhatItOffers)
{
    const std::wstring path = TempPath(L"a.txt");
    ASSERT_TRUE(WriteFileBytes(path, "x"));

    // No property system at all: nothing is asked and the page says why.
    SetPropertyRuntimeForTesting(std::make_shared<PropertyRunTimeDLLs>(PropertyRunTimeDLLs::EntryPoints{}));
    EXPECT_EQ(ListInsertProperties(path, false).state, PropertyListState::kNoPropertySystem);
    EXPECT_EQ(PropertyDisplayName(L"System.Size"), L"");

    // A system that offers no properties for the file: its description lookup is never called
    // (where it is missing, as under Wine, calling it ends the process).
    UseStandInProperties({});
    if (PlatformHasPropertySystem())
    {
        EXPECT_EQ(ListInsertProperties(path, false).state, PropertyListState::kNoProperties);
        EXPECT_EQ(ListInsertProperties(L"", false).state, PropertyListState::kNoExample);
        EXPECT_EQ(StandInDescriptionsAsked(), 0);
    }
    EXPECT_EQ(PropertyDisplayName(L"System.Size"), L"") << "a failed lookup gives no name";
    UseStandInProperties({{L"System.Size", L"Size", L""}, {L"System.Custom", L"", L""}});
    EXPECT_EQ(PropertyDisplayName(L"System.Size"), L"Size");
    EXPECT_EQ(PropertyDisplayName(L"System.Custom"), L"") << "a description without a display name";
    DropPropertyRuntime();

    // The platform's own property system, loaded for real: under Wine it offers nothing, and
    // listing must come back without ending the process.
    const InsertPropertyList real = ListInsertProperties(path, false);
    if (real.state == PropertyListState::kListed)
        EXPECT_FALSE(real.rows.empty());
    else
        EXPECT_TRUE(real.rows.empty());
    DropPropertyRuntime();
}
