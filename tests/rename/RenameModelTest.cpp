#include "rename/RenameModel.h"
#include "tests/rename/RenameTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/StringUtil.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace
{
class RenameModelTest : public TempFolderTest
{
};

std::vector<std::wstring> RowNames(const RenameModel& model)
{
    std::vector<std::wstring> names;
    for (const RenameItem* item : model.ListedItems())
        names.push_back(item->name);
    return names;
}
} // namespace

TEST_F(RenameModelTest, ListsSelectedEntriesByFolderThenName)
{
    const std::wstring sub = TempPath(L"b sub");
    ASSERT_TRUE(CreateFolder(sub));
    ASSERT_TRUE(WriteFileBytes(sub + L"\\z.txt", "z"));
    ASSERT_TRUE(WriteFileBytes(sub + L"\\y.txt", "y"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"\u00e4pfel.txt"), "1"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"Beta.txt"), "22"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"alpha.txt"), "333"));
    ASSERT_TRUE(::SetFileAttributesW(TempPath(L"alpha.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    const std::wstring path260 = TempPath(std::wstring(259 - TempFolder().size(), L'x'));
    const std::wstring path259 = TempPath(std::wstring(258 - TempFolder().size(), L'y'));
    ASSERT_EQ(path260.size(), 260u);
    ASSERT_TRUE(WriteFileBytes(path260, "long"));
    ASSERT_TRUE(WriteFileBytes(path259, "long"));
    const std::vector<std::wstring> selection{sub + L"\\z.txt",
                                              ToUpperCase(sub) + L"\\y.txt", // one folder under two spellings
                                              TempPath(L"BETA.TXT"),         // the shell may hand another case
                                              TempPath(L"b sub"),
                                              TempPath(L"alpha.txt"),
                                              TempPath(L"missing.txt"),
                                              TempPath(L"\u00e4pfel.txt"),
                                              path260,
                                              path259};
    RenameModel model = BuildRenameModel(selection);
    ASSERT_EQ(model.FolderCount(), 2u);
    EXPECT_EQ(RowNames(model), (std::vector<std::wstring>{L"alpha.txt", L"b sub", L"Beta.txt",
                                                          std::wstring(258 - TempFolder().size(), L'y'),
                                                          L"\u00e4pfel.txt", L"y.txt", L"z.txt"}));

    RenameFolder& top = *model.folders.at(TempFolder() + L"\\");
    EXPECT_EQ(top.displayPath, TempFolder() + L"\\");
    const RenameItem& alpha = top.entries.at(L"ALPHA.TXT");
    EXPECT_TRUE(alpha.readOnly);
    EXPECT_EQ(alpha.size, 3u);
    EXPECT_EQ(alpha.folder, &top);
    EXPECT_NE(alpha.modified, 0u);
    EXPECT_EQ(top.entries.at(L"B SUB").attributes & 1u, 1u);
    EXPECT_EQ(top.entries.at(L"\u00c4PFEL.TXT").name, L"\u00e4pfel.txt");
    ::SetFileAttributesW(TempPath(L"alpha.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

    model.NumberRows();
    const std::vector<RenameItem*> rows = model.ListedItems();
    EXPECT_EQ(rows[6]->listIndex, 6u);
    EXPECT_EQ(rows[6]->folderIndex, 1u);
    EXPECT_EQ(rows[6]->folder->displayPath, sub + L"\\");
    EXPECT_EQ(rows[4]->folderIndex, 4u);

    // A removed row leaves the list, but its name stays known to the checks; the rest renumber.
    model.RemoveFromList({rows[0], rows[5]});
    EXPECT_EQ(RowNames(model),
              (std::vector<std::wstring>{L"b sub", L"Beta.txt", std::wstring(258 - TempFolder().size(), L'y'),
                                         L"\u00e4pfel.txt", L"z.txt"}));
    EXPECT_TRUE(top.entries.contains(L"ALPHA.TXT"));
    EXPECT_FALSE(rows[0]->included);
    EXPECT_EQ(rows[6]->listIndex, 4u);
    EXPECT_EQ(rows[6]->folderIndex, 0u);
    EXPECT_EQ(rows[4]->folderIndex, 3u);
}

TEST_F(RenameModelTest, NamesWithoutAFolderUseThePreviousOne)
{
    ASSERT_TRUE(WriteFileBytes(TempPath(L"one.txt"), "1"));
    ASSERT_TRUE(WriteFileBytes(TempPath(L"two.txt"), "2"));
    RenameModel model = BuildRenameModel(std::vector<std::wstring>{TempPath(L"one.txt"), L"two.txt"});
    EXPECT_EQ(RowNames(model), (std::vector<std::wstring>{L"one.txt", L"two.txt"}));

    const std::wstring previous = [] {
        wchar_t buffer[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, buffer);
        return std::wstring(buffer);
    }();
    ASSERT_TRUE(::SetCurrentDirectoryW(TempFolder().c_str()));
    RenameModel current = BuildRenameModel(std::vector<std::wstring>{L"two.txt"});
    ::SetCurrentDirectoryW(previous.c_str());
    EXPECT_EQ(RowNames(current), (std::vector<std::wstring>{L"two.txt"}));
    EXPECT_EQ(current.folders.begin()->first, TempFolder() + L"\\");

    EXPECT_EQ(BuildRenameModel(std::vector<std::wstring>{TempPath(L"gone\\a.txt")}).ListedItems().size(), 0u);
}
