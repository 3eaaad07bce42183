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

// A user may keep the file elsewhere behind a symbolic link: the program reads through the link and
// saves into the file it leads to, keeping a copy of that file beside it when it must.
TEST_F(MenuConfigFileSaveTest, ALinkedFileIsReadAndWrittenThroughTheLink)
{
    const std::wstring target = TempPath(L"synchronised.xml");
    ASSERT_TRUE(WriteFileBytes(target, *SerialiseMenuConfig(Arranged())));
    ASSERT_TRUE(MakeFileLink(File(), target));
    MenuConfig changed = Arranged();
    changed.mainMenu.front().show = true;

    MenuConfigFile file(File());
    EXPECT_EQ(file.Load(), Arranged());
    ASSERT_TRUE(file.Save(changed));
    EXPECT_EQ(ReadFileBytes(target), SerialiseMenuConfig(changed));
    EXPECT_TRUE(file.KeptCopy().empty());
    EXPECT_FALSE(PathExists(target + L".new"));

    ASSERT_TRUE(WriteFileBytes(target, "<BrelvantaConfig>"));
    MenuConfigFile malformed(File());
    malformed.Load();
    ASSERT_TRUE(malformed.Save(changed));
    EXPECT_EQ(malformed.KeptCopy(), target + L".bak");
    EXPECT_EQ(ReadFileBytes(target + L".bak"), "<BrelvantaConfig>");
    EXPECT_EQ(ReadFileBytes(File()), SerialiseMenuConfig(changed));

    ASSERT_TRUE(RemoveFileLink(File()));
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
