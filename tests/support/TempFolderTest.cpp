#include "tests/support/TempFolderTest.h"

#include "tests/support/FileHelpers.h"

#include <windows.h>

#include <array>

void TempFolderTest::SetUp()
{
    static unsigned counter = 0;
    std::array<wchar_t, MAX_PATH + 1> temp{};
    ASSERT_NE(::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()), 0u);
    std::wstring base = temp.data();
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    m_folder =
        base + L"\\brelvanta-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    DeleteTree(m_folder);
    ASSERT_TRUE(CreateFolder(m_folder));
}

void TempFolderTest::TearDown()
{
    if (!m_folder.empty())
    {
        EXPECT_TRUE(DeleteTree(m_folder)) << "left behind";
    }
}
