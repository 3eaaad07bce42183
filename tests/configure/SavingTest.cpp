#include "configure/MenuConfigFile.h"

#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/UniqueHandle.h"

#include <gtest/gtest.h>

namespace
{
MenuConfig Arranged()
{
    MenuConfig config;
    DefaultMenuConfig(config);
    config.mainMenu.push_back({CommandType::Configure, false});
    config.subMenu.pop_back();
    return config;
}

class MenuConfigFileSaveTest : public TempFolderTest
{
  protected:
    std::wstring File() const { return TempPath(L"MenuCommands.xml"); }
};
} // namespace

TEST_F(MenuConfigFileSaveTest, SavesWhatTheSharedWriterWritesAndReadsItBack)
{
    MenuConfigFile file(File());
    EXPECT_EQ(file.Load(), [] {
        MenuConfig defaults;
        DefaultMenuConfig(defaults);
        return defaults;
    }());
    ASSERT_TRUE(file.Save(Arranged()));
    EXPECT_EQ(ReadFileBytes(File()), SerialiseMenuConfig(Arranged()));
    EXPECT_TRUE(file.KeptCopy().empty());
    EXPECT_FALSE(PathExists(File() + L".new"));

    MenuConfigFile again(File());
    EXPECT_EQ(again.Load(), Arranged());
    ASSERT_TRUE(again.Save(Arranged()));
    EXPECT_FALSE(PathExists(File() + L".bak")) << "its own file needs no copy";
}

TEST_F(MenuConfigFileSaveTest, KeepsEveryFileItCouldNotShowBeforeReplacingIt)
{
    const struct Case
    {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"malformed", "<BrelvantaConfig><MainMenu>"},
        {"a comment of the user's", *SerialiseMenuConfig(Arranged()) + "<!-- mine -->"},
        {"written by hand",
         "<?xml version=\"1.0\"?>\n<BrelvantaConfig>\n  <MainMenu/>\n  <SubMenu/>\n</BrelvantaConfig>\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFileBytes(File(), c.bytes));
        // A copy from an earlier save is never overwritten.
        ASSERT_TRUE(WriteFileBytes(File() + L".bak", "older"));
        MenuConfigFile file(File());
        file.Load();
        ASSERT_TRUE(file.Save(Arranged()));
        EXPECT_EQ(file.KeptCopy(), File() + L".bak2");
        EXPECT_EQ(ReadFileBytes(File() + L".bak2"), c.bytes);
        EXPECT_EQ(ReadFileBytes(File() + L".bak"), "older");
        EXPECT_EQ(ReadFileBytes(File()), SerialiseMenuConfig(Arranged()));
        // Once replaced, the file is the program's own.
        ASSERT_TRUE(file.Save(Arranged()));
        EXPECT_TRUE(file.KeptCopy().empty());
        ASSERT_TRUE(DeleteTree(File() + L".bak"));
        ASSERT_TRUE(DeleteTree(File() + L".bak2"));
    }
}

TEST_F(MenuConfigFileSaveTest, AFailedSaveLeavesTheOldFileAndNothingElse)
{
    ASSERT_TRUE(WriteFileBytes(File(), "<BrelvantaConfig>"));
    MenuConfigFile file(File());
    file.Load();
    {
        const UniqueFile held(
            ::CreateFileW(File().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(file.Save(Arranged()));
    }
    EXPECT_EQ(ReadFileBytes(File()), "<BrelvantaConfig>");
    EXPECT_FALSE(PathExists(File() + L".new"));
    EXPECT_FALSE(PathExists(File() + L".bak")) << "no copy is left of a file still in place";

    MenuConfigFile nowhere(TempPath(L"no such folder\\MenuCommands.xml"));
    nowhere.Load();
    EXPECT_FALSE(nowhere.Save(Arranged()));
}
