#include "menuconfig/MenuConfig.h"

#include "tests/support/FileHelpers.h"
#include "tests/support/ProductStateTest.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace
{
const std::string kValidFile =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu><Command>"
    "<Type>CONFIGURE</Type><Show>true</Show></Command></MainMenu><SubMenu/></BrelvantaConfig>";

MenuConfig Defaults()
{
    MenuConfig config;
    DefaultMenuConfig(config);
    return config;
}

MenuConfig Nothing()
{
    return {};
}

class MenuConfigFileTest : public ProductStateTest
{
  protected:
    std::wstring ConfigFile() const { return TempPath(L"MenuCommands.xml"); }

    // What ReadMenuConfig answers, and what each program then builds its menu from.
    void ExpectOutcome(const char* what, bool complete, const MenuConfig& forShell, const MenuConfig& forConfigure)
    {
        MenuConfig read;
        EXPECT_EQ(ReadMenuConfig(ConfigFile(), read), complete) << what;
        EXPECT_EQ(LoadMenuConfig(ConfigFile(), OnMalformedMenuConfig::KeepWhatWasRead), forShell) << what;
        EXPECT_EQ(LoadMenuConfig(ConfigFile(), OnMalformedMenuConfig::UseDefaults), forConfigure) << what;
    }
};
} // namespace

TEST_F(MenuConfigFileTest, PathIsInTheRoamingApplicationDataAndItsFoldersAreMade)
{
    EXPECT_FALSE(PathExists(UserFolder()));
    const std::wstring path = MenuConfigPath();
    EXPECT_EQ(path, AppDataFolder() + L"\\Kaldrith\\Brelvanta\\MenuCommands.xml");
    EXPECT_TRUE(PathExists(UserFolder()));
    EXPECT_EQ(MenuConfigPath(), path);

    // Both programs read the file at that path.
    MenuConfig config{{{CommandType::MultiRename, false}}, {}};
    ASSERT_TRUE(WriteMenuConfig(path, config));
    NormaliseMenuConfig(config);
    EXPECT_EQ(LoadMenuConfig(MenuConfigPath(), OnMalformedMenuConfig::UseDefaults), config);
}

TEST_F(MenuConfigFileTest, WriteReplacesTheFileAndReadsBack)
{
    ASSERT_TRUE(WriteFileBytes(ConfigFile(), std::string(5000, 'x')));
    const MenuConfig config{{{CommandType::Configure, true}, {CommandType::CopyFilename, false}},
                            {{CommandType::MultiRename, true}}};
    ASSERT_TRUE(WriteMenuConfig(ConfigFile(), config));
    EXPECT_EQ(ReadFileBytes(ConfigFile()), SerialiseMenuConfig(config));

    MenuConfig read;
    EXPECT_TRUE(ReadMenuConfig(ConfigFile(), read));
    EXPECT_EQ(read, config);

    EXPECT_FALSE(WriteMenuConfig(TempPath(L"no such folder\\MenuCommands.xml"), config));
}

TEST_F(MenuConfigFileTest, PathsLongerThan260CharactersWork)
{
    std::wstring folder = TempFolder();
    while (folder.size() < 300)
    {
        folder += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(CreateFolder(folder));
    }
    const std::wstring path = folder + L"\\MenuCommands.xml";
    const MenuConfig config{{{CommandType::PasteFilename, true}}, {}};
    ASSERT_TRUE(WriteMenuConfig(path, config));
    MenuConfig read;
    EXPECT_TRUE(ReadMenuConfig(path, read));
    EXPECT_EQ(read, config);
}

TEST_F(MenuConfigFileTest, UnreadableFilesGiveTheDefaultsInBothPrograms)
{
    ExpectOutcome("missing", false, Defaults(), Defaults());

    ASSERT_TRUE(WriteFileBytes(ConfigFile(), ""));
    ExpectOutcome("zero length", false, Defaults(), Defaults());

    std::string large = kValidFile;
    large.resize(kMaxMenuConfigFileSize + 1, ' ');
    ASSERT_TRUE(WriteFileBytes(ConfigFile(), large));
    ExpectOutcome("over 1 MiB", false, Defaults(), Defaults());

    large.resize(kMaxMenuConfigFileSize);
    ASSERT_TRUE(WriteFileBytes(ConfigFile(), large));
    MenuConfig configureFirst{{{CommandType::Configure, true}}, {}};
    NormaliseMenuConfig(configureFirst);
    ExpectOutcome("exactly 1 MiB", true, configureFirst, configureFirst);

    // A reader meeting the writer's unshared handle gets the defaults for that one menu.
    {
        const UniqueFile writing(::CreateFileW(ConfigFile().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(writing);
        ExpectOutcome("open for writing", false, Defaults(), Defaults());
    }

    ASSERT_TRUE(DeleteTree(ConfigFile()));
    ASSERT_TRUE(CreateFolder(ConfigFile()));
    ExpectOutcome("a folder of that name", false, Defaults(), Defaults());
}

TEST_F(MenuConfigFileTest, MalformedFilesGiveNoItemsInTheShellAndTheDefaultsInTheConfigureTool)
{
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    std::string nested = "<BrelvantaConfig><MainMenu>";
    while (nested.size() < kMaxMenuConfigFileSize - 3)
        nested += "<a>";
    std::string garbage;
    for (unsigned i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 2654435761u) >> 24);
    const Case cases[] = {
        {"binary garbage", garbage},
        {"truncated", kValidFile.substr(0, kValidFile.size() - 20)},
        {"nested to the size limit", nested},
        {"UTF-16", std::string("\xFF\xFE<\0B\0", 6)},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(WriteFileBytes(ConfigFile(), c.bytes));
        ExpectOutcome(c.what, false, Nothing(), Defaults());
    }

    ASSERT_TRUE(WriteFileBytes(ConfigFile(), "<?xml version=\"1.0\"?>\n<BrelvantaConfig><MainMenu><Command>"
                                             "<Type>MULTI_RENAME</Type><Show>false</Show></Command>"
                                             "<Command><Type>MULTI_RENAME</Type></Command></MainMenu>"
                                             "</BrelvantaConfig>"));
    ExpectOutcome("no SubMenu", false,
                  MenuConfig{{{CommandType::MultiRename, false}, {CommandType::MultiRename, true}}, {}}, Defaults());
}
