#include "menuconfig/MenuConfig.h"

#include "tests/support/XmlSamples.h"
#include "winsupport/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

namespace
{
using T = CommandType;

MenuEntry Shown(CommandType type)
{
    return {type, true};
}
MenuEntry Hidden(CommandType type)
{
    return {type, false};
}

std::string Document(const std::string& mainMenu, const std::string& subMenu)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>" + mainMenu +
           "</MainMenu><SubMenu>" + subMenu + "</SubMenu></BrelvantaConfig>";
}

std::string Command(const std::string& type, const std::string& show)
{
    return "<Command><Type>" + type + "</Type><Show>" + show + "</Show></Command>";
}

std::string Describe(const std::vector<MenuEntry>& entries)
{
    std::string text;
    for (const MenuEntry& entry : entries)
        text += std::to_string(static_cast<int>(entry.type)) + (entry.show ? "+ " : "- ");
    return text;
}
} // namespace

TEST(MenuConfigTest, DefaultFileIsByteExact)
{
    MenuConfig config;
    DefaultMenuConfig(config);
    std::string commands;
    for (const char* name :
         {"COPY_FILENAME", "COPY_FILENAME_AND_DELETE", "PASTE_FILENAME", "PASTE_FILENAME_NOT_EXT",
          "COPY_FILENAME_WITH_OPTIONS", "EXTRACT_FOLDER", "DELETE_EMPTY_FOLDERS", "MULTI_RENAME", "CONFIGURE"})
        commands += Command(name, "true");
    EXPECT_EQ(SerialiseMenuConfig(config), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                           "<BrelvantaConfig><MainMenu/><SubMenu>" +
                                               commands + "</SubMenu></BrelvantaConfig>");
}

TEST(MenuConfigTest, WrittenFormHasTheDeclarationLineThenOneLineAndEmptyTags)
{
    const MenuConfig config{{Hidden(T::MultiRename), Shown(T::CopyFilename)}, {}};
    const std::string bytes = SerialiseMenuConfig(config).value();
    EXPECT_EQ(bytes, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>" +
                         Command("MULTI_RENAME", "false") + Command("COPY_FILENAME", "true") +
                         "</MainMenu><SubMenu/></BrelvantaConfig>");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 1);
    EXPECT_NE(bytes.back(), '\n');

    const MenuConfig empty;
    EXPECT_EQ(SerialiseMenuConfig(empty),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu/><SubMenu/></BrelvantaConfig>");
}

TEST(MenuConfigTest, EntriesWithoutANameAreNotWritten)
{
    const MenuConfig config{
        {{static_cast<CommandType>(0), true}, Shown(T::Configure), {static_cast<CommandType>(10), true}}, {}};
    EXPECT_EQ(SerialiseMenuConfig(config), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig><MainMenu>" +
                                               Command("CONFIGURE", "true") +
                                               "</MainMenu><SubMenu/></BrelvantaConfig>");
}

TEST(MenuConfigTest, ReadsEntriesAsTheFileHasThem)
{
    struct Case
    {
        const char* what;
        std::string xml;
        bool complete;
        std::vector<MenuEntry> mainMenu;
        std::vector<MenuEntry> subMenu;
    };
    const Case cases[] = {
        {"two in the main menu, none below",
         Document(Command("COPY_FILENAME", "true") + Command("PASTE_FILENAME", "true"), ""),
         true,
         {Shown(T::CopyFilename), Shown(T::PasteFilename)},
         {}},
        {"type names are exact",
         Document(Command("copy_filename", "true") + Command(" COPY_FILENAME", "true") +
                      Command("COPY_FILENAME ", "true") + Command("", "true") + Command("MULTI_RENAME", "true"),
                  ""),
         true,
         {Shown(T::MultiRename)},
         {}},
        {"show values",
         Document(Command("COPY_FILENAME", "false") + Command("COPY_FILENAME_AND_DELETE", "0") +
                      Command("PASTE_FILENAME", "no") + Command("PASTE_FILENAME_NOT_EXT", "TRUE") +
                      Command("COPY_FILENAME_WITH_OPTIONS", "2") + Command("EXTRACT_FOLDER", " false ") +
                      Command("DELETE_EMPTY_FOLDERS", "\t1\n") + "<Command><Type>MULTI_RENAME</Type></Command>" +
                      Command("CONFIGURE", ""),
                  ""),
         true,
         {Hidden(T::CopyFilename), Hidden(T::CopyFilenameAndDelete), Shown(T::PasteFilename),
          Shown(T::PasteFilenameNotExt), Shown(T::CopyFilenameWithOptions), Hidden(T::ExtractFolder),
          Shown(T::DeleteEmptyFolders), Shown(T::MultiRename), Shown(T::Configure)},
         {}},
        {"children of any name count; comments and attributes do not",
         Document("<!-- a comment --><Other a=\"1\"><Type>CONFIGURE</Type><Show>false</Show></Other>",
                  "<?pi x?>" + Command("MULTI_RENAME", "true")),
         true,
         {Hidden(T::Configure)},
         {Shown(T::MultiRename)}},
        {"escapes, CDATA and a byte order mark",
         "\xEF\xBB\xBF<BrelvantaConfig><MainMenu><Command><Type><![CDATA[CONFIGURE]]></Type><Show>f&#97;lse</Show>"
         "</Command></MainMenu><SubMenu/></BrelvantaConfig>",
         true,
         {Hidden(T::Configure)},
         {}},
        {"no SubMenu keeps the main menu read",
         "<?xml version=\"1.0\"?><BrelvantaConfig><MainMenu>" + Command("CONFIGURE", "true") +
             "</MainMenu></BrelvantaConfig>",
         false,
         {Shown(T::Configure)},
         {}},
        {"no MainMenu",
         "<BrelvantaConfig><SubMenu>" + Command("CONFIGURE", "true") + "</SubMenu></BrelvantaConfig>",
         false,
         {},
         {}},
        {"another document element", "<Config><MainMenu/><SubMenu/></Config>", false, {}, {}},
        {"truncated",
         Document(Command("CONFIGURE", "true"), Command("MULTI_RENAME", "true")).substr(0, 150),
         false,
         {},
         {}},
        {"binary", std::string("\x00\x01\xFF\xFE<\x80\x81", 8), false, {}, {}},
        {"text only", "BrelvantaConfig", false, {}, {}},
    };
    for (const Case& c : cases)
    {
        MenuConfig config;
        EXPECT_EQ(ParseMenuConfig(c.xml, config), c.complete) << c.what;
        EXPECT_EQ(Describe(config.mainMenu), Describe(c.mainMenu)) << c.what;
        EXPECT_EQ(Describe(config.subMenu), Describe(c.subMenu)) << c.what;
    }
}

TEST(MenuConfigTest, NormaliseKeepsFirstOccurrencesAndAppendsMissingTypesHidden)
{
    MenuConfig config{{Shown(T::CopyFilename), Shown(T::PasteFilename)}, {}};
    NormaliseMenuConfig(config);
    EXPECT_EQ(Describe(config.mainMenu), "1+ 3+ ");
    EXPECT_EQ(Describe(config.subMenu), "2- 4- 5- 6- 7- 8- 9- ");

    MenuConfig repeated{{Hidden(T::Configure), Shown(T::MultiRename), Shown(T::Configure)},
                        {Shown(T::MultiRename), Shown(T::CopyFilename), Hidden(T::CopyFilename)}};
    NormaliseMenuConfig(repeated);
    EXPECT_EQ(Describe(repeated.mainMenu), "9- 8+ ");
    EXPECT_EQ(Describe(repeated.subMenu), "1+ 2- 3- 4- 5- 6- 7- ");

    MenuConfig defaults;
    DefaultMenuConfig(defaults);
    MenuConfig normalised = defaults;
    NormaliseMenuConfig(normalised);
    EXPECT_EQ(normalised, defaults);
}

TEST(MenuConfigTest, WrittenConfigurationsReadBackUnchanged)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round)
    {
        std::vector<CommandType> types(kAllCommandTypes.begin(), kAllCommandTypes.end());
        std::shuffle(types.begin(), types.end(), random);
        const size_t split = random() % (types.size() + 1);
        MenuConfig config;
        for (size_t i = 0; i < types.size(); ++i)
            (i < split ? config.mainMenu : config.subMenu).push_back({types[i], random() % 2 == 0});

        MenuConfig read;
        ASSERT_TRUE(ParseMenuConfig(SerialiseMenuConfig(config).value(), read));
        NormaliseMenuConfig(read);
        ASSERT_EQ(read, config) << Describe(config.mainMenu) << "/ " << Describe(config.subMenu);
    }
}

TEST(MenuConfigTest, HostileDocumentsAreMalformedNotFatal)
{
    std::string deep = "<BrelvantaConfig><MainMenu>";
    while (deep.size() < kMaxMenuConfigFileSize - 4)
        deep += "<a>";
    MenuConfig config;
    EXPECT_FALSE(ParseMenuConfig(deep, config));
    EXPECT_TRUE(config.mainMenu.empty());

    // Nested exactly to the limit still reads; one level more does not.
    const auto nested = [](size_t depth) {
        std::string open, close;
        for (size_t level = 3; level <= depth; ++level)
        {
            open += "<x>";
            close += "</x>";
        }
        return Document(Command("CONFIGURE", "true") + open + close, "");
    };
    EXPECT_TRUE(ParseMenuConfig(nested(kMaxMenuConfigNesting), config));
    EXPECT_FALSE(ParseMenuConfig(nested(kMaxMenuConfigNesting + 1), config));

    // Entity references are never expanded: the reader knows no entities of the document's own.
    const std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
                             "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
                             "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">]>"
                             "<BrelvantaConfig><MainMenu><Command><Type>&lol3;</Type></Command>" +
                             Command("CONFIGURE", "&lol3;") + "</MainMenu><SubMenu/></BrelvantaConfig>";
    MenuConfig bombed;
    EXPECT_TRUE(ParseMenuConfig(bomb, bombed));
    EXPECT_EQ(Describe(bombed.mainMenu), "9+ ");

    std::string wide = "<BrelvantaConfig><MainMenu>";
    while (wide.size() < kMaxMenuConfigFileSize - 100)
        wide += Command("MULTI_RENAME", "false");
    wide += "</MainMenu><SubMenu/></BrelvantaConfig>";
    MenuConfig many;
    EXPECT_TRUE(ParseMenuConfig(wide, many));
    NormaliseMenuConfig(many);
    EXPECT_EQ(Describe(many.mainMenu), "8- ");
    EXPECT_EQ(many.subMenu.size(), 8u);
}

// The file is read on every right-click, on a thread of the file manager that may have little stack
// to spare: no document, however deep, may cost more of it than the reader's own few frames.
TEST(MenuConfigTest, NoDocumentExhaustsTheStack)
{
    const std::optional<size_t> complete = ReadSamplesOnSmallStack(kMaxMenuConfigFileSize, kMaxMenuConfigNesting,
                                                                   20261209, [](const std::string& document) {
                                                                       MenuConfig config;
                                                                       return ParseMenuConfig(document, config);
                                                                   });
    ASSERT_TRUE(complete.has_value());
    EXPECT_EQ(*complete, 0u) << "none of them is a menu configuration";
}

// Every row of the command table names strings the library has, an icon of the commands' own (9 is
// the submenu's) and a file name that reads back as its type and no other.
TEST(CommandTableTest, EveryRowHasItsTextsIconAndName)
{
    std::set<std::string_view> names;
    for (const CommandInfo& command : kCommands)
    {
        const int type = static_cast<int>(command.type);
        EXPECT_NE(CommandMenuText(command.type), L"") << type;
        EXPECT_NE(CommandMenuText(command.type), CommandMenuText(CommandType::Invalid)) << type;
        if (command.helpText != 0)
        {
            EXPECT_NE(LoadStringResource(command.helpText), L"") << type;
        }
        EXPECT_TRUE(command.icon >= 1 && command.icon <= 8) << type;
        EXPECT_EQ(CommandTypeFromName(CommandTypeName(command.type)), command.type) << type;
        EXPECT_TRUE(names.insert(command.name).second) << type;
    }
    for (const int outside : {0, -1, 10, 1000})
    {
        EXPECT_EQ(CommandMenuText(static_cast<CommandType>(outside)), L"Invalid") << outside;
        EXPECT_EQ(CommandTypeName(static_cast<CommandType>(outside)), "") << outside;
    }
}
