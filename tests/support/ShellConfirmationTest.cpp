#include "tests/support/FileHelpers.h"
#include "tests/support/ShellConfirmation.h"
#include "tests/support/TempFolderTest.h"
#include "winui/ShellOperationUi.h"

#include <windows.h>
#include <shellapi.h>

namespace
{
int DeleteToRecycleBin(const std::wstring& path)
{
    std::wstring from = path + L'\0'; // the list ends with a second NUL
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    return ::SHFileOperationW(&operation);
}

using ShellConfirmationTest = TempFolderTest;
} // namespace

TEST_F(ShellConfirmationTest, YesSendsTheFileToTheTestTrashOnly)
{
    const std::wstring trash = TestTrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME must point at the test trash";
    const std::wstring name = L"confirm-" + std::to_wstring(::GetTickCount64()) + L".txt";
    const std::wstring file = TempPath(name);
    ASSERT_TRUE(WriteFileBytes(file, "contents"));

    ShellConfirmationAnswerer answerer(IDYES);
    EXPECT_EQ(DeleteToRecycleBin(file), 0);
    EXPECT_EQ(answerer.Answered(), 1);
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(ReadFileBytes(trash + L"\\" + name), "contents");
    DeleteTree(trash + L"\\" + name);
}

TEST_F(ShellConfirmationTest, NoKeepsTheFile)
{
    const std::wstring file = TempPath(L"kept.txt");
    ASSERT_TRUE(WriteFileBytes(file, "contents"));

    ShellConfirmationAnswerer answerer(IDNO);
    DeleteToRecycleBin(file);
    EXPECT_EQ(answerer.Answered(), 1);
    EXPECT_EQ(ReadFileBytes(file), "contents");
}
