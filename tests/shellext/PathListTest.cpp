#include "shellext/PathList.h"

#include <gtest/gtest.h>

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
