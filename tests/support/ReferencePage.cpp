#include "tests/support/ReferencePage.h"

#include "tests/support/FileHelpers.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace
{
// The page's text with the few entities it uses read; nothing when it holds markup or an unknown
// entity, which the examples' cells must not.
std::optional<std::wstring> PlainText(std::wstring_view html)
{
    std::wstring text;
    for (size_t at = 0; at < html.size(); ++at)
    {
        if (html[at] == L'<')
            return std::nullopt;
        if (html[at] != L'&')
        {
            text += html[at];
            continue;
        }
        const size_t end = html.find(L';', at);
        if (end == std::wstring_view::npos)
            return std::nullopt;
        const std::wstring_view entity = html.substr(at + 1, end - at - 1);
        if (entity == L"lt")
            text += L'<';
        else if (entity == L"gt")
            text += L'>';
        else if (entity == L"amp")
            text += L'&';
        else if (entity == L"quot")
            text += L'"';
        else if (entity.size() > 1 && entity[0] == L'#')
            text += static_cast<wchar_t>(std::stoi(std::wstring(entity.substr(1))));
        else
            return std::nullopt;
        at = end;
    }
    return text;
}

// The inside of the first element opened by `open` in the row and closed by `close`.
std::optional<std::wstring_view> Inside(std::wstring_view row, std::wstring_view open, std::wstring_view close)
{
    const size_t start = row.find(open);
    if (start == std::wstring_view::npos)
        return std::nullopt;
    const size_t begin = start + open.size();
    const size_t end = row.find(close, begin);
    if (end == std::wstring_view::npos)
        return std::nullopt;
    return row.substr(begin, end - begin);
}

size_t Count(std::wstring_view text, std::wstring_view what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::wstring_view::npos; at = text.find(what, at + what.size()))
        ++count;
    return count;
}

std::wstring PagePath()
{
    return WindowsPathOfUnixPath(L"" BRELVANTA_REFERENCE_PAGE);
}
} // namespace

std::vector<ReferenceExample> ReadReferenceExamples(const std::wstring& kind)
{
    std::vector<ReferenceExample> examples;
    const std::optional<std::string> bytes = ReadFileBytes(PagePath());
    EXPECT_TRUE(bytes) << "cannot read " << PagePath();
    if (!bytes)
        return examples;
    const std::wstring page = Utf8ToWide(*bytes);
    const std::wstring code = L"<code class=\"" + kind + L"\">";

    for (size_t start = page.find(L"<tr"); start != std::wstring::npos; start = page.find(L"<tr", start + 3))
    {
        const size_t end = page.find(L"</tr>", start);
        if (end == std::wstring::npos)
            break;
        const std::wstring_view row = std::wstring_view(page).substr(start, end - start);
        if (row.find(code) == std::wstring_view::npos)
            continue;
        ReferenceExample example;
        example.row = std::wstring(row);
        const auto text = Inside(row, code, L"</code>");
        const auto items = Inside(row, L"<td class=\"item\">", L"</td>");
        std::optional<std::wstring> plainText = text ? PlainText(*text) : std::nullopt;
        EXPECT_TRUE(plainText && items) << "an example without its text or items: " << example.row;
        if (!plainText || !items)
            continue;
        example.text = *plainText;
        for (size_t at = 0; at <= items->size();)
        {
            size_t next = items->find(L"<br>", at);
            if (next == std::wstring_view::npos)
                next = items->size();
            const auto item = PlainText(items->substr(at, next - at));
            EXPECT_TRUE(item && !item->empty()) << "an unreadable item: " << example.row;
            example.items.push_back(item.value_or(L""));
            at = next + 4;
        }
        if (const auto separator = Inside(row, L"<code class=\"separator\">", L"</code>"))
        {
            const auto plain = PlainText(*separator);
            EXPECT_TRUE(plain) << "an unreadable separator: " << example.row;
            example.hasSeparator = true;
            example.separator = plain.value_or(L"");
        }
        for (const wchar_t* outcome : {L"result", L"error", L"invalid"})
        {
            const std::wstring open = L"<samp class=\"" + std::wstring(outcome) + L"\">";
            if (const auto expected = Inside(row, open, L"</samp>"))
            {
                const auto plain = PlainText(*expected);
                EXPECT_TRUE(plain) << "an unreadable outcome: " << example.row;
                example.outcome = outcome;
                example.expected = plain.value_or(L"");
            }
        }
        EXPECT_FALSE(example.outcome.empty()) << "an example without its outcome: " << example.row;
        if (const auto needs = Inside(row, L"data-needs=\"", L"\""))
            example.needs = std::wstring(*needs);
        examples.push_back(std::move(example));
    }
    // A marked text outside a whole row would be an example no test reads.
    EXPECT_EQ(Count(page, code), examples.size()) << "examples of kind " << kind << " outside an example row";
    EXPECT_FALSE(examples.empty()) << "no examples of kind " << kind;
    return examples;
}

unsigned long long LocalFileTime(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME local{
        static_cast<WORD>(year),   static_cast<WORD>(month),  0, static_cast<WORD>(day), static_cast<WORD>(hour),
        static_cast<WORD>(minute), static_cast<WORD>(second), 0};
    SYSTEMTIME utc{};
    FILETIME time{};
    EXPECT_TRUE(::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) && ::SystemTimeToFileTime(&utc, &time));
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ReferenceSamples::~ReferenceSamples()
{
    for (auto made = m_made.rbegin(); made != m_made.rend(); ++made)
        EXPECT_TRUE(DeleteTree(*made)) << "left behind: " << *made;
}

bool ReferenceSamples::AddFolder(const std::wstring& path)
{
    if (PathExists(path))
        return true;
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos && slash > 2 && !AddFolder(path.substr(0, slash)))
        return false;
    if (!::CreateDirectoryW(path.c_str(), nullptr))
        return false;
    m_made.push_back(path);
    return true;
}

bool ReferenceSamples::AddFolder(const std::wstring& path, const Times& times)
{
    return AddFolder(path) && SetTimes(path, times);
}

bool ReferenceSamples::AddFile(const std::wstring& path, size_t size, const Times& times)
{
    if (!AddFolder(path.substr(0, path.rfind(L'\\'))))
        return false;
    const bool existed = PathExists(path);
    if (!WriteFileBytes(path, std::string(size, 'x')))
        return false;
    if (!existed)
        m_made.push_back(path);
    return SetTimes(path, times);
}

bool ReferenceSamples::SetTimes(const std::wstring& path, const Times& times)
{
    auto fileTime = [](unsigned long long value) {
        return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    };
    const FILETIME created = fileTime(times.created), accessed = fileTime(times.accessed),
                   modified = fileTime(times.modified);
    {
        UniqueFile item(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!item || !::SetFileTime(item.Get(), &created, &accessed, &modified))
            return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    if (::CompareFileTime(&data.ftCreationTime, &created) != 0)
        m_creationTimesKept = false;
    return ::CompareFileTime(&data.ftLastWriteTime, &modified) == 0 &&
           ::CompareFileTime(&data.ftLastAccessTime, &accessed) == 0;
}
