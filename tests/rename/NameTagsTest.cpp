#include "rename/NameTags.h"
#include "rename/RenameCheck.h"
#include "tests/rename/RenameTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/UniqueHandle.h"

#include <gtest/gtest.h>

namespace
{
uint64_t LocalFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0};
    SYSTEMTIME utc{};
    EXPECT_TRUE(::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    FILETIME time{};
    EXPECT_TRUE(::SystemTimeToFileTime(&utc, &time));
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool Valid(const std::wstring& text)
{
    return !IsInvalidReplacement(text);
}

class NameTagsTest : public TempFolderTest
{
};
} // namespace

TEST_F(NameTagsTest, ExpandsTheTagsOfRealFiles)
{
    const std::wstring folder = TempPath(L"2021");
    ASSERT_TRUE(CreateFolder(folder));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\IMG_0012.jpg", std::string(1536, 'x')));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\IMG_0013.jpg", std::string(1023, 'x')));
    const uint64_t modified = LocalFileTime(2021, 3, 7, 9, 5, 4);
    {
        UniqueHandle<FileHandleTraits> file(::CreateFileW((folder + L"\\IMG_0012.jpg").c_str(), FILE_WRITE_ATTRIBUTES,
                                                          0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        const FILETIME time{static_cast<DWORD>(modified), static_cast<DWORD>(modified >> 32)};
        ASSERT_TRUE(::SetFileTime(file.Get(), nullptr, nullptr, &time));
    }
    RenameModel model =
        BuildRenameModel(std::vector<std::wstring>{folder + L"\\IMG_0012.jpg", folder + L"\\IMG_0013.jpg"});
    PatternAnalysis analysis = OpenModel(model, true, false);
    RenameItem& first =
        model.ListedItems()[0]->name == L"IMG_0012.jpg" ? *model.ListedItems()[0] : *model.ListedItems()[1];
    const SplitResult split = SplitName(first, analysis);
    auto expand = [&](const std::wstring& text) { return ExpandNameTags(text, first, split); };

    EXPECT_EQ(expand(L"<D>"), L"20210307");
    EXPECT_EQ(expand(L"<d:d-m-yy>"), L"7-3-21");
    EXPECT_EQ(expand(L"<D:dd/mm/yyyy>"), L"07032021");
    EXPECT_EQ(expand(L"<D:timehms time hour min sec>"), L"090504 0905 09 05 04");
    EXPECT_EQ(expand(L"<D:\"%*?|\\>"), L"");
    EXPECT_EQ(expand(L"<D:month>").empty(), false);
    EXPECT_EQ(expand(L"<S:A>"), L"2K");
    EXPECT_EQ(expand(L"<S>"), L"1536");
    EXPECT_EQ(expand(L"<S:B>"), L"1536");
    EXPECT_EQ(expand(L"<S:8k>"), L"00000002");
    EXPECT_EQ(expand(L"<F>"), L"2021");
    EXPECT_EQ(expand(L"<N:1>-<N:2>-<N:3>-<N:0>"), L"IMG_-0012--");
    EXPECT_EQ(expand(L"a<C>b").size(), 10u);
    EXPECT_EQ(expand(L"x<X>y<z"), L"xy");
    EXPECT_EQ(expand(std::wstring(300, L'a') + L"<D>").size(), kMaxExpandedLength);
    EXPECT_EQ(expand(L"<1:300>").size(), 255u);

    analysis.segments[0].newText = L"<S:A>_";
    analysis.segments[0].invalidText = IsInvalidReplacement(analysis.segments[0].newText);
    RecomputeNames(model, analysis);
    for (const RenameItem* item : model.ListedItems())
        EXPECT_EQ(item->newName, item->size == 1536 ? L"2K_0012.jpg" : L"1023B_0013.jpg");
}

TEST(NameTagsCounterTest, CountsDownTheListAndPerFolder)
{
    RenameFolder folder;
    folder.path = L"C:\\";
    RenameItem item = ItemNamed(L"a");
    item.folder = &folder;
    const SplitResult split;
    auto at = [&](const std::wstring& text, uint32_t row, uint32_t inFolder) {
        item.listIndex = row;
        item.folderIndex = inFolder;
        return ExpandNameTags(text, item, split);
    };
    EXPECT_EQ(at(L"<1>", 0, 0) + at(L"<1>", 1, 0) + at(L"<1>", 2, 0), L"123");
    EXPECT_EQ(at(L"<10,5:3>", 0, 0) + at(L"<10,5:3>", 1, 0) + at(L"<10,5:3>", 2, 0), L"010015020");
    EXPECT_EQ(at(L"<1f>", 5, 0) + at(L"<1F>", 6, 1), L"12");
    EXPECT_EQ(at(L"<F>", 0, 0), L""); // a drive root has no folder name
    EXPECT_EQ(at(L"<99999999999999999999999,99999999999999999999>", 3, 0), L"18446744073709551615");
    item.size = 0;
    EXPECT_EQ(at(L"<S:K>", 0, 0), L"0");
    item.size = 1;
    EXPECT_EQ(at(L"<S:K>", 0, 0), L"1");
    item.size = 1048577;
    EXPECT_EQ(at(L"<S:a>", 0, 0) + at(L"<S:M>", 0, 0) + at(L"<S:G>", 0, 0), L"2M21");
    item.size = 42;
    EXPECT_EQ(at(L"<S:5>", 0, 0), L"00042");
}

TEST(NameTagsCounterTest, ValidatesWithoutAnItem)
{
    for (const wchar_t* good : {L"", L"plain", L"<D>", L"<c:yyyy>", L"<S>", L"<S:>", L"<S:12>", L"<s:3g>", L"<F>",
                                L"<N:260>", L"<1>", L"<0,1:0f>", L"a<1>b<D>c", L"<S:A><F>"})
        EXPECT_TRUE(Valid(good)) << good;
    for (const wchar_t* bad : {L"<",     L"<X>",  L"<>",      L"<D",   L"<D:>", L"<D;x>", L"<S:5Q>", L"<S:KB>",
                               L"<F:x>", L"<N:>", L"<N:261>", L"<N1>", L"<1,>", L"<1:>",  L"<1x>",   L"<1<2>>",
                               L"a/b",   L"a:b",  L"a*",      L"?",    L"\\",   L"a>b",   L"|",      L"\""})
        EXPECT_FALSE(Valid(bad)) << bad;
    // Nested and unterminated tags move on without hanging.
    size_t pos = 1;
    EXPECT_FALSE(ParseNameTag(L"<a<b>", pos, nullptr, nullptr, nullptr));
    EXPECT_EQ(pos, 2u);
    pos = 1;
    EXPECT_FALSE(ParseNameTag(L"<abc", pos, nullptr, nullptr, nullptr));
    EXPECT_EQ(pos, 4u);
}
