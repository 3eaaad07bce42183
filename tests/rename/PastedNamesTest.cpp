#include "rename/PastedNames.h"

#include "winsupport/StringUtil.h"

#include <gtest/gtest.h>

// Clipboard text as lines of names: trimmed, blank lines dropped, Windows line ends alike; refused
// for characters no name may hold or for a line longer than a name may be.
TEST(PastedNamesTest, ReadsTheClipboardsLines)
{
    using Problem = PastedNames::Problem;
    struct Case
    {
        std::wstring text;
        Problem problem;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {L"a\nb\nc", Problem::None, {L"a", L"b", L"c"}},
        {L"  a \r\n\r\n\t\r\nb\r\n", Problem::None, {L"a", L"b"}},
        {L"", Problem::None, {}},
        {L"\n\n \n", Problem::None, {}},
        {L"x\ny:z", Problem::ForbiddenCharacter, {}},
        {L"ok\n<tag>", Problem::ForbiddenCharacter, {}},
        {std::wstring(255, L'n') + L"\nshort", Problem::None, {std::wstring(255, L'n'), L"short"}},
        {std::wstring(256, L'n'), Problem::LineTooLong, {}},
        // A forbidden character wins over a long line, as the messages come in that order.
        {std::wstring(300, L'n') + L"\n|", Problem::ForbiddenCharacter, {}},
    };
    for (const Case& c : cases)
    {
        const PastedNames pasted = ReadPastedNames(c.text);
        EXPECT_EQ(pasted.problem, c.problem) << WideToUtf8(c.text.substr(0, 20));
        if (c.problem == Problem::None)
        {
            EXPECT_EQ(pasted.lines, c.lines) << WideToUtf8(c.text.substr(0, 20));
        }
    }
}

// Without extension changes a pasted name keeps the old name's extension; an old name without one
// takes the line up to its first '.'.
TEST(PastedNamesTest, KeepsTheOldExtension)
{
    struct Case
    {
        const wchar_t* line;
        const wchar_t* oldName;
        const wchar_t* result;
    };
    for (const Case& c :
         {Case{L"Holiday", L"photo.jpg", L"Holiday.jpg"}, Case{L"Holiday.png", L"photo.jpg", L"Holiday.jpg"},
          Case{L"a.b.c", L"x.tar.gz", L"a.b.gz"}, Case{L"notes.v2.txt", L"README", L"notes"},
          Case{L".hidden", L"README", L""}, Case{L"plain", L".profile", L"plain.profile"}})
        EXPECT_EQ(KeepOldExtension(c.line, c.oldName), c.result) << WideToUtf8(c.line);

    RenameItem a;
    a.name = L"a.jpg";
    RenameItem b;
    b.name = L"b.jpg";
    ApplyPastedNames({&a, &b}, {L"one.png", L"two"}, false);
    EXPECT_EQ(a.newName, L"one.jpg");
    EXPECT_EQ(b.newName, L"two.jpg");
    EXPECT_TRUE(a.manualName && b.manualName);
    ApplyPastedNames({&a}, {L"one.png"}, true);
    EXPECT_EQ(a.newName, L"one.png");
    EXPECT_EQ(JoinNewNames({&a, &b}), L"one.png\ntwo.jpg\n");
}
