#include "tests/support/ProductStateTest.h"

#include "tests/support/FileHelpers.h"
#include "winsupport/SettingsStore.h"

#include <windows.h>

std::wstring ProductStateTest::UserFolder()
{
    return AppDataFolder() + L"\\Kaldrith\\Brelvanta";
}

void ProductStateTest::ClearProductState()
{
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, kProductKeyPath);
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
    ASSERT_TRUE(DeleteTree(UserFolder()));
}

void ProductStateTest::SetUp()
{
    TempFolderTest::SetUp();
    ClearProductState();
}

void ProductStateTest::TearDown()
{
    ClearProductState();
    TempFolderTest::TearDown();
}
