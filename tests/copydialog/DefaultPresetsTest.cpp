#include "copydialog/Presets.h"

#include "copynames/ItemFormat.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <map>

namespace
{
std::wstring DistPresetsFile()
{
    return WindowsPathOfUnixPath(Utf8ToWide(BRELVANTA_DIST_DIR)) + L"\\presets.xml";
}

// Short date and time of the user's locale, as a table row shows a modified date.
std::wstring LocalDateTime(const FILETIME& utc)
{
    SYSTEMTIME system{};
    SYSTEMTIME local{};
    EXPECT_TRUE(::FileTimeToSystemTime(&utc, &system));
    EXPECT_TRUE(::SystemTimeToTzSpecificLocalTime(nullptr, &system, &local));
    std::array<wchar_t, 100> date{};
    std::array<wchar_t, 100> time{};
    EXPECT_GT(::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date.data(), 100), 0);
    EXPECT_GT(::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, time.data(), 100), 0);
    return std::wstring(date.data()) + L" " + time.data();
}

// The default presets as a fresh installation offers them, applied to real files.
class DefaultPresetsTest : public TempFolderTest
{
  protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        const std::optional<std::string> bytes = ReadFileBytes(DistPresetsFile());
        ASSERT_TRUE(bytes) << "the build puts presets.xml into dist/";
        m_bytes = *bytes;
        ASSERT_TRUE(ParsePresets(m_bytes, m_presets));

        m_folder = TempPath(L"My files");
        ASSERT_TRUE(CreateFolder(m_folder));
        m_paths = {m_folder + L"\\read me.txt", m_folder + L"\\photo.2024.jpg", m_folder + L"\\#1 & more"};
        const std::array<std::string, 3> contents = {"hello", std::string(2048, 'p'), ""};
        for (size_t i = 0; i < m_paths.size(); ++i)
        {
            ASSERT_TRUE(WriteFileBytes(m_paths[i], contents[i]));
            // Whole seconds apart in 2021, so that no locale shows two of them alike.
            ULARGE_INTEGER when{};
            when.QuadPart = 132539328000000000ull + i * 36000000000ull;
            m_times[i] = {when.LowPart, when.HighPart};
            const UniqueFile file(::CreateFileW(m_paths[i].c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(file);
            ASSERT_TRUE(::SetFileTime(file.Get(), nullptr, nullptr, &m_times[i]));
        }
    }

    // The clipboard text the preset gives for the three files, selected in order.
    std::wstring Formatted(const std::wstring& name)
    {
        const int index = FindPresetByName(m_presets, name);
        EXPECT_GE(index, 0) << name;
        if (index < 0)
            return {};
        ItemList list;
        for (const std::wstring& path : m_paths)
            list.AddPath(path);
        list.Flatten();
        ItemFormat format;
        EXPECT_TRUE(format.SetDefinition(m_presets[index].item)) << name << L": " << format.Error();
        format.SetSeparator(m_presets[index].separator);
        ClipboardText text;
        format.Format(list, text);
        return std::wstring(text.Text());
    }

    std::string m_bytes;
    PresetList m_presets;
    std::wstring m_folder;
    std::vector<std::wstring> m_paths;
    std::array<FILETIME, 3> m_times{};
};
} // namespace

TEST_F(DefaultPresetsTest, FileIsInTheWrittenFormAndEveryPresetIsValid)
{
    EXPECT_EQ(SerialisePresets(m_presets), m_bytes); // a save changes nothing but what the user changed
    EXPECT_GE(m_presets.size(), 7u);
    for (size_t i = 0; i < m_presets.size(); ++i)
    {
        EXPECT_EQ(FindPresetByName(m_presets, m_presets[i].name), static_cast<int>(i)) << "names are unique";
        ItemFormat format;
        EXPECT_TRUE(format.SetDefinition(m_presets[i].item)) << m_presets[i].name << L": " << format.Error();
    }
}

TEST_F(DefaultPresetsTest, EachPresetWritesWhatItsNameSays)
{
    const std::wstring& f = m_folder;
    std::wstring slashed = f;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    // As a Linux shell on Windows mounts the folder's drive.
    const std::wstring wsl = L"/mnt/" + std::wstring(1, static_cast<wchar_t>(std::towlower(f[0]))) + slashed.substr(2);
    std::wstring escaped; // as JSON writes the folder
    for (const wchar_t c : f)
        escaped += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
    std::wstring url;
    for (const wchar_t c : slashed)
        url += c == L' ' ? std::wstring(L"%20") : std::wstring(1, c);
    ASSERT_EQ(url.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789:/._-%~"),
              std::wstring::npos)
        << L"the test folder's path holds characters this test does not encode: " << url;

    const std::map<std::wstring, std::wstring> expected = {
        {L"Names", L"read me.txt\r\nphoto.2024.jpg\r\n#1 & more"},
        {L"Full paths", f + L"\\read me.txt\r\n" + f + L"\\photo.2024.jpg\r\n" + f + L"\\#1 & more"},
        {L"Quoted paths for a command line",
         L"\"" + f + L"\\read me.txt\" \"" + f + L"\\photo.2024.jpg\" \"" + f + L"\\#1 & more\""},
        {L"Table of name, size and modified date", L"read me.txt\t5\t" + LocalDateTime(m_times[0]) +
                                                       L"\r\nphoto.2024.jpg\t2048\t" + LocalDateTime(m_times[1]) +
                                                       L"\r\n#1 & more\t0\t" + LocalDateTime(m_times[2])},
        {L"Markdown list", L"- read me\\.txt\r\n- photo\\.2024\\.jpg\r\n- \\#1 \\& more"},
        {L"Paths with forward slashes",
         slashed + L"/read me.txt\r\n" + slashed + L"/photo.2024.jpg\r\n" + slashed + L"/#1 & more"},
        {L"File URLs", L"file:///" + url + L"/read%20me.txt\r\nfile:///" + url + L"/photo.2024.jpg\r\nfile:///" + url +
                           L"/%231%20%26%20more"},
        {L"JSON strings, one per line", L"\"" + escaped + L"\\\\read me.txt\"\r\n\"" + escaped +
                                            L"\\\\photo.2024.jpg\"\r\n\"" + escaped + L"\\\\#1 & more\""},
        {L"Quoted paths for a Linux shell (WSL)",
         L"'" + wsl + L"/read me.txt' '" + wsl + L"/photo.2024.jpg' '" + wsl + L"/#1 & more'"},
        {L"Names on one line, comma-separated", L"read me.txt, photo.2024.jpg, #1 & more"},
        {L"Names without extension", L"read me\r\nphoto.2024\r\n#1 & more"},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(Formatted(name), text) << name;
    EXPECT_EQ(expected.size(), m_presets.size()) << "every default preset is checked";
}

// Each preset's text, read by what its name promises to serve, gives back exactly the selected
// items, for names that readers treat specially and names of every script.
TEST_F(DefaultPresetsTest, EachPresetIsReadBackByItsReader)
{
    const std::vector<std::wstring> names = {L"__init__.py",
                                             L"1. intro.txt",
                                             L"- dash.txt",
                                             L"[link](x).txt",
                                             L"&amp; entity.txt",
                                             L"#hash; 100%",
                                             L"it's a=b^c",
                                             L"a  b , c.txt",
                                             L"{x} ~y` !z",
                                             L"R\u00e9sum\u00e9 \u2013 final\u2019s",
                                             L"\U0001F600 e",
                                             L"\u65e5\u672c \u0639\u0631\u0628\u064a \u03b1\u03b2",
                                             L".hidden",
                                             L"+plus",
                                             L"folder"};
    m_paths.clear();
    for (const std::wstring& name : names)
    {
        m_paths.push_back(m_folder + L"\\" + name);
        ASSERT_TRUE(name == L"folder" ? CreateFolder(m_paths.back()) : WriteFileBytes(m_paths.back(), "x"));
    }
    const auto lines = [](const std::wstring& text) {
        std::vector<std::wstring> split;
        for (size_t start = 0; start <= text.size();)
        {
            size_t end = text.find(L"\r\n", start);
            if (end == std::wstring::npos)
                end = text.size();
            split.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return split;
    };

    EXPECT_EQ(lines(Formatted(L"Names")), names);
    EXPECT_EQ(lines(Formatted(L"Full paths")), m_paths);

    // The command line, as programs split theirs.
    int count = 0;
    const UniqueLocal arguments(reinterpret_cast<HLOCAL>(
        ::CommandLineToArgvW((L"program " + Formatted(L"Quoted paths for a command line")).c_str(), &count)));
    ASSERT_TRUE(arguments);
    const auto argv = static_cast<wchar_t**>(arguments.Get());
    EXPECT_EQ(std::vector<std::wstring>(argv + 1, argv + count), m_paths);

    // The table, as a tab-separated reader takes its first column.
    std::vector<std::wstring> firstColumn;
    for (const std::wstring& row : lines(Formatted(L"Table of name, size and modified date")))
        firstColumn.push_back(row.substr(0, row.find(L'\t')));
    EXPECT_EQ(firstColumn, names);

    // Forward slashes: the file system opens each path.
    std::vector<std::wstring> opened;
    for (std::wstring path : lines(Formatted(L"Paths with forward slashes")))
        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            opened.push_back(path);
    EXPECT_EQ(opened.size(), m_paths.size());

    // File URLs, percent-decoded to UTF-8 as browsers and libraries read them.
    std::vector<std::wstring> decoded;
    for (const std::wstring& url : lines(Formatted(L"File URLs")))
    {
        ASSERT_EQ(url.rfind(L"file:///", 0), 0u) << WideToUtf8(url);
        std::wstring path = PercentDecodeUtf8(std::wstring_view(url).substr(8));
        std::replace(path.begin(), path.end(), L'/', L'\\');
        decoded.push_back(path);
    }
    EXPECT_EQ(decoded, m_paths);

    // JSON strings, as a JSON parser reads each line.
    const std::optional<std::string> parsed =
        FilterOnHost(L"/usr/bin/python3",
                     "-c 'import json,sys; [sys.stdout.buffer.write((json.loads(l.decode()) + "
                     "chr(13) + chr(10)).encode()) for l in sys.stdin.buffer]'",
                     Formatted(L"JSON strings, one per line") + L"\r\n");
    ASSERT_TRUE(parsed) << "python3 reads the JSON strings";
    std::vector<std::wstring> strings;
    for (const std::wstring& line : lines(Utf8ToWide(*parsed)))
        if (!line.empty())
            strings.push_back(line);
    EXPECT_EQ(strings, m_paths);

    // Quoted paths for a Linux shell on Windows, as a POSIX shell splits its words; each path,
    // mounted back as its drive, is the file.
    const std::optional<std::string> words =
        FilterOnHost(L"/bin/sh", "-c 'set -f; IFS=; eval set -- $(cat); for a; do printf %s\\\\n $a; done'",
                     Formatted(L"Quoted paths for a Linux shell (WSL)"));
    ASSERT_TRUE(words) << "the host's shell reads the quoted paths";
    std::vector<std::wstring> mounted;
    std::wstring wordLines = Utf8ToWide(*words);
    for (size_t at = wordLines.find(L'\n'); at != std::wstring::npos; at = wordLines.find(L'\n', at + 2))
        wordLines.replace(at, 1, L"\r\n");
    for (const std::wstring& line : lines(wordLines))
    {
        if (line.empty())
            continue;
        ASSERT_EQ(line.rfind(L"/mnt/", 0), 0u) << WideToUtf8(line);
        std::wstring path = std::wstring(1, line[5]) + L":" + line.substr(6);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << WideToUtf8(line);
        mounted.push_back(path);
    }
    std::vector<std::wstring> lowerDrives = m_paths;
    for (std::wstring& path : lowerDrives)
        path[0] = static_cast<wchar_t>(std::towlower(path[0]));
    EXPECT_EQ(mounted, lowerDrives);

    // The Markdown list, as a CommonMark renderer shows it.
    std::string html;
    const std::optional<std::vector<std::wstring>> items = MarkdownListItems(Formatted(L"Markdown list"), &html);
    if (!items)
        GTEST_SKIP() << "no CommonMark renderer (cmark) on the host to read the Markdown list";
    EXPECT_EQ(*items, names) << html;
}
