#include "copynames/ItemParts.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/StringUtil.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

namespace
{
std::wstring TextOf(const ItemPartBase& part, const CFItem& item)
{
    ClipboardText text;
    part.AppendTo(item, text);
    return std::wstring(text.Text());
}

std::wstring PathText(const CFItem& item, ItemPartPath::Kind kind,
                      ItemPartPath::Separator separator = ItemPartPath::kBackslash,
                      ItemPartPath::Encoding encoding = ItemPartPath::kNoEncoding)
{
    return TextOf(ItemPartPath(kind, separator, encoding), item);
}
} // namespace

TEST(ItemPartPathTest, KindsOfSelectedAndScannedItems)
{
    using P = ItemPartPath;
    const FileCFItem archive(L"C:\\data\\archive.tar.gz");
    EXPECT_EQ(PathText(archive, P::kFullPath), L"C:\\data\\archive.tar.gz");
    EXPECT_EQ(PathText(archive, P::kName), L"archive.tar.gz");
    EXPECT_EQ(PathText(archive, P::kFolder), L"C:\\data\\");
    EXPECT_EQ(PathText(archive, P::kExtension), L"gz");
    EXPECT_EQ(PathText(archive, P::kNameWithoutExtension), L"archive.tar");

    const FileCFItem hidden(L"C:\\repo\\.gitignore");
    EXPECT_EQ(PathText(hidden, P::kExtension), L"gitignore");
    EXPECT_EQ(PathText(hidden, P::kNameWithoutExtension), L"");
    const FileCFItem plain(L"C:\\x\\readme");
    EXPECT_EQ(PathText(plain, P::kExtension), L"");
    EXPECT_EQ(PathText(plain, P::kNameWithoutExtension), L"readme");
    const FileCFItem root(L"C:\\");
    EXPECT_EQ(PathText(root, P::kName), L"") << "a drive root has an empty name";

    const ExpandedCFItem scanned(L"C:\\data\\", L"photos\\2019\\a.jpg", ExpandedCFItem::kFile);
    EXPECT_EQ(PathText(scanned, P::kName), L"photos\\2019\\a.jpg");
    EXPECT_EQ(PathText(scanned, P::kFolder), L"C:\\data\\");
    EXPECT_EQ(PathText(scanned, P::kFullPath), L"C:\\data\\photos\\2019\\a.jpg");
    EXPECT_EQ(PathText(scanned, P::kName, P::kForwardSlash), L"photos/2019/a.jpg");
    EXPECT_EQ(PathText(scanned, P::kFullPath, P::kDoubleBackslash), L"C:\\\\data\\\\photos\\\\2019\\\\a.jpg");
    // As a Linux shell on Windows names them: the drive under /mnt, forward slashes.
    EXPECT_EQ(PathText(archive, P::kFullPath, P::kWslMount), L"/mnt/c/data/archive.tar.gz");
    EXPECT_EQ(PathText(archive, P::kFolder, P::kWslMount), L"/mnt/c/data/");
    EXPECT_EQ(PathText(FileCFItem(L"d:\\x"), P::kFullPath, P::kWslMount), L"/mnt/d/x");
    EXPECT_EQ(PathText(root, P::kFullPath, P::kWslMount), L"/mnt/c/");
    EXPECT_EQ(PathText(scanned, P::kName, P::kWslMount), L"photos/2019/a.jpg");
    EXPECT_EQ(PathText(FileCFItem(L"\\\\srv\\share\\a.txt"), P::kFullPath, P::kWslMount), L"//srv/share/a.txt")
        << "a network path has no drive to mount";
    const ExpandedCFItem dotted(L"C:\\", L"my.pics\\readme", ExpandedCFItem::kFile);
    EXPECT_EQ(PathText(dotted, P::kExtension), L"pics\\readme");
    EXPECT_EQ(PathText(dotted, P::kNameWithoutExtension), L"my");
}

TEST(ItemPartPathTest, UrlEncodingsWriteCodeUnitsOrUtf8)
{
    using P = ItemPartPath;
    const FileCFItem spaced(L"C:\\a b\\c.txt");
    EXPECT_EQ(PathText(spaced, P::kFullPath, P::kBackslash, P::kEncodeNames), L"C:\\a%20b\\c.txt");
    EXPECT_EQ(PathText(spaced, P::kFullPath, P::kBackslash, P::kEncodeAll), L"C%3a%5ca%20b%5cc.txt");
    EXPECT_EQ(PathText(spaced, P::kFullPath, P::kForwardSlash, P::kEncodeNames), L"C:/a%20b/c.txt");
    EXPECT_EQ(PathText(spaced, P::kFullPath, P::kForwardSlash, P::kEncodeAll), L"C%3a%2fa%20b%2fc.txt");

    // Letters and digits of any script stay. The stored encodings write each other unit as %xx, %xxx or
    // %xxxx; their UTF-8 twins write the escapes of its UTF-8 bytes, which URL readers decode: the
    // name comes back whole.
    const FileCFItem unicode(L"C:\\\u00e4\u4e2d\u0663-._~!%#&+\u00a0\u2013\U0001F600");
    EXPECT_EQ(PathText(unicode, P::kName, P::kBackslash, P::kEncodeNames),
              L"\u00e4\u4e2d\u0663-._~%21%25%23%26%2b%a0%2013%d83d%de00");
    EXPECT_EQ(PathText(unicode, P::kName, P::kBackslash, P::kEncodeNamesUtf8),
              L"\u00e4\u4e2d\u0663-._~%21%25%23%26%2b%c2%a0%e2%80%93%f0%9f%98%80");
    EXPECT_EQ(PathText(spaced, P::kFullPath, P::kForwardSlash, P::kEncodeAllUtf8), L"C%3a%2fa%20b%2fc.txt");
    for (const wchar_t* name :
         {L"R\u00e9sum\u00e9 \u2013 final\u2019s.docx", L"\U0001F600 \u00d7 \u05d0.txt", L"100% & #1 [x](y).txt",
          L"\u00e4\u00f6\u00fc\u00df \u4e2d\u6587 \u0639\u0631\u0628\u064a"})
    {
        const std::wstring encoded =
            PathText(FileCFItem(std::wstring(L"C:\\") + name), P::kName, P::kBackslash, P::kEncodeAllUtf8);
        EXPECT_EQ(PercentDecodeUtf8(encoded), name) << WideToUtf8(encoded);
    }
}

// Words for a POSIX shell and the insides of JSON strings: what their readers take back as the
// name, lone surrogates (which a file name may hold) included.
TEST(ItemPartPathTest, ShellWordsAndJsonStrings)
{
    using P = ItemPartPath;
    const struct
    {
        const wchar_t* name;
        P::Encoding encoding;
        const wchar_t* text;
    } rows[] = {
        {L"plain.txt", P::kShellQuote, L"'plain.txt'"},
        {L"it's $HOME `x` \"q\" *", P::kShellQuote, L"'it'\\''s $HOME `x` \"q\" *'"},
        {L"''", P::kShellQuote, L"''\\'''\\'''"},
        {L"a\"b", P::kEncodeJson, L"a\\\"b"},
        {L"tab\tend", P::kEncodeJson, L"tab\\u0009end"},
        {L"\U0001F600 pair", P::kEncodeJson, L"\U0001F600 pair"},
        {L"lone \xD800 high", P::kEncodeJson, L"lone \\ud800 high"},
        {L"lone \xDC00 low", P::kEncodeJson, L"lone \\udc00 low"},
        {L"\xDC00\xD800 swapped", P::kEncodeJson, L"\\udc00\\ud800 swapped"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PathText(FileCFItem(std::wstring(L"C:\\") + row.name), P::kName, P::kBackslash, row.encoding),
                  row.text)
            << WideToUtf8(row.name);
}

// A Markdown list of names, read back by a CommonMark renderer, shows every name as it is: nothing
// becomes emphasis, a link, a nested list, a heading or an entity.
TEST(ItemPartPathTest, MarkdownNamesReadBackAsTheyAre)
{
    using P = ItemPartPath;
    const std::vector<std::wstring> names = {L"__init__.py",      L"1. intro.txt",
                                             L"- dash.txt",       L"+ plus",
                                             L"[link](x).txt",    L"&amp; entity.txt",
                                             L"#hash.txt",        L"*star* and _under_",
                                             L"`tick`.txt",       L"!bang [x]",
                                             L"~~strike~~",       L"100%{brace}.txt",
                                             L"a  b.txt",         L"R\u00e9sum\u00e9 \u2013 final\u2019s.docx",
                                             L"\U0001F600 emoji", L"trailing.",
                                             L"=== heading"};
    std::wstring markdown;
    for (const std::wstring& name : names)
        markdown +=
            L"- " + PathText(FileCFItem(L"C:\\x\\" + name), P::kName, P::kBackslash, P::kEncodeMarkdown) + L"\n";
    std::string html;
    const std::optional<std::vector<std::wstring>> read = MarkdownListItems(markdown, &html);
    if (!read)
        GTEST_SKIP() << "no CommonMark renderer (cmark) on the host to read the list";
    EXPECT_EQ(*read, names) << html;
}

TEST(ItemPartSizeTest, UnitsRoundUpAtTheirBoundaries)
{
    using S = ItemPartSize;
    struct Case
    {
        uint64_t size;
        S::Unit unit;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, S::kAuto, L"0B"},
        {1023, S::kAuto, L"1023B"},
        {1024, S::kAuto, L"1K"},
        {1025, S::kAuto, L"2K"},
        {1048575, S::kAuto, L"1024K"},
        {1048576, S::kAuto, L"1M"},
        {1073741823, S::kAuto, L"1024M"},
        {1073741824, S::kAuto, L"1G"},
        {5368709121, S::kAuto, L"6G"},
        {1, S::kKilobytes, L"1"},
        {0, S::kKilobytes, L"0"},
        {1048577, S::kMegabytes, L"2"},
        {1073741825, S::kGigabytes, L"2"},
        {1234567, S::kBytes, L"1234567"},
        {UINT64_MAX, S::kBytes, L"18446744073709551615"},
        {UINT64_MAX, S::kGigabytes, L"17179869184"},
        {UINT64_MAX, S::kAuto, L"17179869184G"},
    };
    FileCFItem file(L"C:\\x\\f");
    for (const Case& c : cases)
    {
        file.size = c.size;
        EXPECT_EQ(TextOf(ItemPartSize(c.unit), file), c.text) << c.size << " unit " << static_cast<int>(c.unit);
    }
    ExpandedCFItem folder(L"C:\\", L"x\\sub", ExpandedCFItem::kDirectory);
    folder.size = 5;
    EXPECT_EQ(TextOf(ItemPartSize(S::kAuto), folder), L"") << "folders have no size";
}

TEST(ItemPartDateTest, DatesFollowTheUsersLocaleAndTimeZone)
{
    using D = ItemPartDate;
    FileCFItem file(L"C:\\x\\f");
    // 2024-07-15 12:34:56 UTC, which is summer time in most zones that have one.
    const SYSTEMTIME utc{2024, 7, 1, 15, 12, 34, 56, 0};
    FILETIME fileTime;
    ASSERT_TRUE(::SystemTimeToFileTime(&utc, &fileTime));
    file.lastWriteTime = (uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime;
    file.creationTime = file.lastWriteTime - 864000000000ull; // a day earlier

    SYSTEMTIME local;
    ASSERT_TRUE(::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    auto expected = [&](const SYSTEMTIME& time, DWORD dateFlags, bool withTime) {
        wchar_t date[100], clock[100];
        std::wstring text;
        if (::GetDateFormatW(LOCALE_USER_DEFAULT, dateFlags, &time, nullptr, date, 100))
            text = date;
        if (withTime && ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 100))
            text += std::wstring(L" ") + clock;
        return text;
    };
    EXPECT_EQ(TextOf(D(D::kLastWrite, D::kShortDate), file), expected(local, DATE_SHORTDATE, false));
    EXPECT_EQ(TextOf(D(D::kLastWrite, D::kLongDate), file), expected(local, DATE_LONGDATE, false));
    EXPECT_EQ(TextOf(D(D::kLastWrite, D::kShortDateTime), file), expected(local, DATE_SHORTDATE, true));
    EXPECT_EQ(TextOf(D(D::kLastWrite, D::kLongDateTime), file), expected(local, DATE_LONGDATE, true));
    EXPECT_NE(TextOf(D(D::kCreation, D::kLongDate), file), TextOf(D(D::kLastWrite, D::kLongDate), file));
    EXPECT_EQ(TextOf(D(D::kLastAccess, D::kLongDateTime), file), L"") << "a time of zero writes nothing";
    file.lastAccessTime = UINT64_MAX;
    EXPECT_EQ(TextOf(D(D::kLastAccess, D::kLongDateTime), file), L"") << "a time beyond the calendar";
}

TEST(ItemPartTypeTest, TypeNamesComeFromTheNameAlone)
{
    // The file need not exist: the type is derived from its name.
    const FileCFItem file(L"C:\\does-not-exist\\report.txt");
    const ExpandedCFItem folder(L"C:\\", L"nothing\\here", ExpandedCFItem::kDirectory);
    SHFILEINFOW info{};
    ASSERT_TRUE(::SHGetFileInfoW(L"report.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                                 SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES));
    EXPECT_EQ(TextOf(ItemPartType(), file), info.szTypeName);
    ASSERT_TRUE(::SHGetFileInfoW(L"nothing\\here", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                                 SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES));
    EXPECT_EQ(TextOf(ItemPartType(), folder), info.szTypeName);
}

TEST(ItemPartPropertyTest, ValuesComeFromTheItemsCache)
{
    FileCFItem file(L"C:\\x\\photo.jpg");
    file.propertyValues[L"Photo.DateTaken"] = L"line one\nline two";
    ClipboardText text;
    ItemPartProperty(L"Photo.DateTaken").AppendTo(file, text);
    ItemPartProperty(L"Size").AppendTo(file, text);
    EXPECT_EQ(text.Text(), L"line one\r\nline two");
}
