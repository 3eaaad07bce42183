#include "command/PathList.h"

#include <gtest/gtest.h>

#include <memory>

#include <cwchar>

TEST(PathListTest, KeepsEachPathWholeAndTerminated)
{
    PathList paths{L"C:\\a.txt", L"", L"\\\\server\\share\\\U0001F600 b"};
    paths.Append(std::wstring(40000, L'x'));
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[0], L"C:\\a.txt");
    EXPECT_EQ(paths[1], L"");
    EXPECT_EQ(paths[2], L"\\\\server\\share\\\U0001F600 b");
    EXPECT_EQ(paths[3].size(), 40000u);
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(std::wcslen(paths.CStr(i)), paths[i].size()) << i;

    size_t visited = 0;
    for (const std::wstring_view path : paths)
        EXPECT_EQ(path, paths[visited++]);
    EXPECT_EQ(visited, 4u);
    EXPECT_TRUE(PathList().empty());
    EXPECT_NE(paths, PathList{L"C:\\a.txt"});
}

TEST(PathListTest, ReadsANulSeparatedListUpToItsEnd)
{
    using namespace std::literals;
    struct Case
    {
        std::wstring_view list;
        PathList paths;
    };
    const Case cases[] = {
        {L"a\0bc\0\0ignored\0\0"sv, PathList{L"a", L"bc"}},
        {L"a\0bc"sv, PathList{L"a", L"bc"}}, // no terminator at the end of the memory
        {L"a\0bc\0"sv, PathList{L"a", L"bc"}},
        {L"\0a\0"sv, PathList{}},
        {L""sv, PathList{}},
    };
    const auto owner = std::make_shared<int>(0);
    for (const Case& c : cases)
    {
        // Viewing the memory where it is, or copying it when its last path has no terminator.
        for (const PathList& paths : {PathList::FromNulSeparated(c.list), PathList::FromNulSeparated(c.list, owner)})
        {
            EXPECT_EQ(paths, c.paths) << c.list.size();
            if (!paths.empty())
            {
                EXPECT_EQ(std::wcslen(paths.CStr(paths.size() - 1)), paths[paths.size() - 1].size());
            }
        }
    }
}

TEST(PathListTest, AViewBecomesItsOwnBlockBeforeItChanges)
{
    std::wstring memory(L"first\0second\0\0", 15);
    auto owner = std::make_shared<int>(0);
    PathList paths = PathList::FromNulSeparated(memory, owner);
    EXPECT_EQ(paths.CStr(0), memory.c_str()) << "nothing copied";
    EXPECT_EQ(owner.use_count(), 2);
    const PathList copy = paths;
    paths.Append(L"third");
    EXPECT_EQ(owner.use_count(), 2) << "the copy still views the memory";
    memory[0] = L'F';
    EXPECT_EQ(paths, (PathList{L"first", L"second", L"third"}));
    EXPECT_EQ(copy, (PathList{L"First", L"second"}));
}
