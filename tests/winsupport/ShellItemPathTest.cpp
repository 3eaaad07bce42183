#include "winsupport/FileIdentity.h"
#include "winsupport/LongPath.h"
#include "winsupport/ShellItemPath.h"

#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"

#include <vector>

namespace
{
class ShellItemPathTest : public TempFolderTest
{
  protected:
    // Folders end in a backslash; every name is made exactly as written.
    void Make(const std::vector<std::wstring>& entries)
    {
        for (const std::wstring& entry : entries)
        {
            if (entry.ends_with(L'\\'))
                ASSERT_TRUE(CreateFolder(TempPath(entry.substr(0, entry.size() - 1)))) << entry;
            else
                ASSERT_TRUE(WriteFileBytes(TempPath(entry), "x")) << entry;
        }
    }
};

enum class Outcome
{
    AsGiven,
    Respelt,
    Refused,
};
} // namespace

// Whatever the shell is handed must name the selected item, never its twin without the trailing
// period or space, nor a device: either the path itself, a spelling through short names that opens
// the same item, or nothing.
TEST_F(ShellItemPathTest, NamesExactlyTheItemOrNothing)
{
    struct Case
    {
        std::vector<std::wstring> entries;
        std::wstring item;
        Outcome outcome;
    };
    const std::vector<Case> cases = {
        {{L"a.txt"}, L"a.txt", Outcome::AsGiven},
        {{L"sub\\", L"sub\\a b.txt"}, L"sub\\a b.txt", Outcome::AsGiven},
        {{L"e.\\"}, L"e.", Outcome::Respelt},
        {{L"e.\\", L"e\\", L"e\\keep.txt"}, L"e.", Outcome::Refused},
        {{L"x \\", L"x\\"}, L"x ", Outcome::Refused},
        {{L"a "}, L"a ", Outcome::Respelt},
        {{L"a ", L"a"}, L"a ", Outcome::Refused},
        {{L"sub.\\", L"sub.\\a.txt"}, L"sub.\\a.txt", Outcome::Respelt},
        {{L"sub.\\", L"sub.\\a.txt", L"sub\\", L"sub\\a.txt"}, L"sub.\\a.txt", Outcome::Refused},
        {{L"one. \\", L"one. \\two.\\", L"one. \\two.\\f."}, L"one. \\two.\\f.", Outcome::Respelt},
        {{L"nul.txt"}, L"nul.txt", Outcome::Refused},
        {{L"CON\\"}, L"CON", Outcome::Refused},
        {{}, L"gone.", Outcome::Refused},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        Make(c.entries);
        const std::wstring item = TempPath(c.item);
        const std::wstring shellPath = ShellItemPath(item);
        switch (c.outcome)
        {
        case Outcome::AsGiven:
            EXPECT_EQ(shellPath, item);
            EXPECT_EQ(ShellItemPath(ToLongPath(item)), item) << "the long form is taken in its plain form";
            break;
        case Outcome::Respelt:
            ASSERT_FALSE(shellPath.empty()) << c.item;
            EXPECT_NE(shellPath, item);
            EXPECT_EQ(IdentifyItem(shellPath), IdentifyItem(ToLongPath(item))) << c.item;
            EXPECT_TRUE(IdentifyItem(shellPath).has_value()) << c.item;
            break;
        case Outcome::Refused:
            EXPECT_EQ(shellPath, L"") << c.item;
            break;
        }
    }
}

TEST_F(ShellItemPathTest, TargetsTakeOnlyNamesThatReachTheFileSystemAsGiven)
{
    Make({L"dir.\\", L"dir\\"});
    Make({L"plain\\"});
    EXPECT_EQ(ShellTargetPath(TempPath(L"plain"), L"new.txt"), TempPath(L"plain\\new.txt"));
    EXPECT_EQ(ShellTargetPath(TempPath(L"plain\\"), L"new.txt"), TempPath(L"plain\\new.txt"));
    for (const wchar_t* name : {L"new.", L"new ", L"con", L"Com1.txt", L"a\tb", L"a:b", L"..", L""})
        EXPECT_EQ(ShellTargetPath(TempPath(L"plain"), name), L"") << name;
    EXPECT_EQ(ShellTargetPath(TempPath(L"dir."), L"new.txt"), L"") << "its folder's twin would take the item";
    for (const wchar_t* path : {L"relative\\a.txt", L"\\rooted\\a.txt", L"\\\\?\\Volume{x}\\a.txt"})
        EXPECT_EQ(ShellItemPath(path), L"") << path;
}
