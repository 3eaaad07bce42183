#include "tests/configure/ConfigureTestSupport.h"
#include "tests/shellext/ShellExtTestSupport.h"

#include "resources/resource.h"

namespace
{
class ConfigureMenuTest : public ShellExtTest
{
};
} // namespace

// What the program saves is what the DLL's next right-click shows.
TEST_F(ConfigureMenuTest, TheNextRightClickShowsWhatWasSaved)
{
    const auto files = MakeFiles({L"a.txt"});
    const std::wstring programPath = InstallConfigureProgram(TempFolder());
    ASSERT_FALSE(programPath.empty());
    ConfigureProcess program(programPath);
    ASSERT_TRUE(program.WaitForDialog());
    program.SelectRow(IDC_SUBMENU_LIST, 8); // Configure Brelvanta
    program.Command(IDC_MOVE_TO_MAIN_MENU);
    program.SetChecked(IDC_SUBMENU_LIST, 0, false); // Copy Filename(s)
    program.SelectRow(IDC_SUBMENU_LIST, 4);         // Copy Filename(s) with Options
    program.Command(IDC_MOVE_UP);
    program.PostCommand(IDOK);
    ASSERT_EQ(program.WaitForExit(), 0u);

    EXPECT_EQ(MenuTexts(QueryMenu(CreateHandler(files).Get())),
              L"Configure Brelvanta|Brelvanta>[Copy Filename and Delete|Copy Filename with Options]");
}
