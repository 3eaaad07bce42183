#include "winsupport/LongPath.h"

#include <gtest/gtest.h>

TEST(LongPathTest, DrivePathsAndNetworkPathsGetTheLongForm)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* longPath;
    };
    for (const Case& c : {
             Case{L"C:\\Users\\a.txt", L"\\\\?\\C:\\Users\\a.txt"},
             Case{L"z:", L"\\\\?\\z:"},
             Case{L"\\\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a"},
             Case{L"\\\\?\\C:\\a", L"\\\\?\\C:\\a"},
             Case{L"\\\\?\\UNC\\server\\share", L"\\\\?\\UNC\\server\\share"},
             Case{L"relative\\a", L"relative\\a"},
             Case{L"\\rooted", L"\\rooted"},
             Case{L"", L""},
         })
    {
        EXPECT_EQ(ToLongPath(c.path), c.longPath) << c.path;
        const std::wstring_view path(c.path);
        if ((path.size() >= 2 && path[1] == L':') || path.starts_with(L"\\\\s"))
        {
            EXPECT_EQ(FromLongPath(c.longPath), c.path) << c.path;
        }
    }
    EXPECT_EQ(FromLongPath(L"\\\\?\\Volume{0}\\a"), L"") << "a volume name has no plain form";
    EXPECT_EQ(FromLongPath(L"relative\\a"), L"relative\\a");
}
