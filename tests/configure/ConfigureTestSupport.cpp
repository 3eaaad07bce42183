#include "tests/configure/ConfigureTestSupport.h"

#include "tests/support/FileHelpers.h"

std::string CommandXml(const char* type, bool show)
{
    return std::string("<Command><Type>") + type + "</Type><Show>" + (show ? "true" : "false") + "</Show></Command>";
}

std::string ConfigXml(const std::string& mainMenu, const std::string& subMenu)
{
    const auto list = [](const std::string& name, const std::string& commands) {
        std::string element = "<";
        element += name;
        if (commands.empty())
            return element + "/>";
        element += ">";
        element += commands;
        element += "</";
        element += name;
        return element + ">";
    };
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BrelvantaConfig>" + list("MainMenu", mainMenu) +
           list("SubMenu", subMenu) + "</BrelvantaConfig>";
}

std::string DefaultConfigXml()
{
    std::string commands;
    for (const char* type :
         {"COPY_FILENAME", "COPY_FILENAME_AND_DELETE", "PASTE_FILENAME", "PASTE_FILENAME_NOT_EXT",
          "COPY_FILENAME_WITH_OPTIONS", "EXTRACT_FOLDER", "DELETE_EMPTY_FOLDERS", "MULTI_RENAME", "CONFIGURE"})
        commands += CommandXml(type);
    return ConfigXml("", commands);
}

std::wstring InstallConfigureProgram(const std::wstring& testFolder)
{
    const std::wstring folder = testFolder + L"\\Program Files \u00C4rger \u4E2D";
    const std::wstring program = folder + L"\\BrelvantaConfigure.exe";
    if (!CreateFolder(folder) || !::CopyFileW(BuiltConfigureProgram().c_str(), program.c_str(), FALSE))
        return {};
    return program;
}

void ConfigureProgramTest::SetUp()
{
    ProductStateTest::SetUp();
    m_program = InstallConfigureProgram(TempFolder());
    ASSERT_FALSE(m_program.empty()) << ::GetLastError();
}

std::wstring ConfigureProgramTest::ConfigFile()
{
    return UserFolder() + L"\\MenuCommands.xml";
}

void ConfigureProgramTest::WriteConfig(const std::string& bytes)
{
    ASSERT_TRUE(CreateFolder(AppDataFolder() + L"\\Kaldrith"));
    ASSERT_TRUE(CreateFolder(UserFolder()));
    ASSERT_TRUE(WriteFileBytes(ConfigFile(), bytes));
}

std::unique_ptr<ConfigureProcess> ConfigureProgramTest::Start()
{
    auto process = std::make_unique<ConfigureProcess>(m_program);
    EXPECT_TRUE(process->Started()) << ::GetLastError();
    EXPECT_TRUE(process->Started() && process->WaitForDialog()) << "the dialog was not shown";
    return process;
}
