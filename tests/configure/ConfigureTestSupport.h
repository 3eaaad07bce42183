#pragma once

#include "tests/configure/ConfigureProcess.h"
#include "tests/support/ProductStateTest.h"

#include <memory>
#include <string>

// One command of MenuCommands.xml as the program writes it.
std::string CommandXml(const char* type, bool show = true);
// The whole file as the program writes it; an empty list is a self-closing element.
std::string ConfigXml(const std::string& mainMenu, const std::string& subMenu);
// The defaults as written: all nine commands in the submenu, shown.
std::string DefaultConfigXml();

// Copies the built program into a folder of the test's folder whose name has spaces and letters
// beyond ASCII, as an install folder may; its path, or empty on failure.
std::wstring InstallConfigureProgram(const std::wstring& testFolder);

// Each test runs the built configure program from an install folder whose name has spaces and
// letters beyond ASCII, with no product state before or after it.
class ConfigureProgramTest : public ProductStateTest
{
  protected:
    void SetUp() override;

    // %APPDATA%\Kaldrith\Brelvanta\MenuCommands.xml
    static std::wstring ConfigFile();
    void WriteConfig(const std::string& bytes);
    // Starts the program and waits for its dialog; fails the test when it does not come.
    std::unique_ptr<ConfigureProcess> Start();
    const std::wstring& Program() const noexcept { return m_program; }

  private:
    std::wstring m_program;
};
