#include "rename/NameTags.h"

#include "rename/Digits.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <limits>

namespace
{
constexpr size_t kMaxWidth = 255;
constexpr uint64_t kMaxPartIndex = 260;

// Reads a run of digits, which may be empty where a number is optional; values beyond 64 bits
// saturate. Answers whether there was a digit.
bool ReadDigits(std::wstring_view body, size_t& at, uint64_t& value)
{
    const size_t begin = at;
    value = 0;
    for (; at < body.size() && IsDigit(body[at]); ++at)
    {
        const uint64_t digit = static_cast<uint64_t>(body[at] - L'0');
        value = value > (std::numeric_limits<uint64_t>::max() - digit) / 10 ? std::numeric_limits<uint64_t>::max()
                                                                            : value * 10 + digit;
    }
    return at > begin;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b)
{
    return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

uint64_t SaturatingMultiply(uint64_t a, uint64_t b)
{
    return b != 0 && a > std::numeric_limits<uint64_t>::max() / b ? std::numeric_limits<uint64_t>::max() : a * b;
}

class BoundedText
{
  public:
    explicit BoundedText(std::wstring* out) : m_out(out) {}
    void Append(std::wstring_view text)
    {
        if (!m_out || m_out->size() >= kMaxExpandedLength)
            return;
        m_out->append(text.substr(0, kMaxExpandedLength - m_out->size()));
    }

  private:
    std::wstring* m_out;
};

std::wstring Padded(uint64_t value, uint64_t width)
{
    std::wstring text = std::to_wstring(value);
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(width, kMaxWidth));
    if (text.size() < wanted)
        text.insert(0, wanted - text.size(), L'0');
    return text;
}

// One date format token and how it prints.
struct DateToken
{
    std::wstring_view token;
    std::wstring_view picture; // a GetDateFormatEx picture for the locale's month and weekday names
    int field;                 // what TokenText prints: 0 the picture, 1 to 9 numeric fields
    int width;                 // digits, 0 for no leading zeros
};

constexpr std::array<DateToken, 16> kDateTokens{{
    {L"timehms", L"", 7, 2},
    {L"time", L"", 8, 2},
    {L"hour", L"", 1, 2},
    {L"min", L"", 2, 2},
    {L"sec", L"", 3, 2},
    {L"yyyy", L"", 4, 4},
    {L"month", L"MMMM", 0, 0},
    {L"day", L"dddd", 0, 0},
    {L"mmm", L"MMM", 0, 0},
    {L"ddd", L"ddd", 0, 0},
    {L"yy", L"", 9, 2},
    {L"mm", L"", 5, 2},
    {L"dd", L"", 6, 2},
    {L"y", L"", 4, 0},
    {L"m", L"", 5, 0},
    {L"d", L"", 6, 0},
}};

std::wstring Number(unsigned value, int width)
{
    std::wstring text = std::to_wstring(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), L'0');
    return text;
}

std::wstring LocaleDate(const SYSTEMTIME& time, std::wstring_view picture)
{
    const std::wstring format(picture);
    std::array<wchar_t, 128> buffer{};
    const int length = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, format.c_str(), buffer.data(),
                                         static_cast<int>(buffer.size()), nullptr);
    return length > 0 ? std::wstring(buffer.data()) : std::wstring();
}

std::wstring TokenText(const DateToken& token, const SYSTEMTIME& t)
{
    switch (token.field)
    {
    case 0:
        return LocaleDate(t, token.picture);
    case 1:
        return Number(t.wHour, 2);
    case 2:
        return Number(t.wMinute, 2);
    case 3:
        return Number(t.wSecond, 2);
    case 4:
        return Number(t.wYear, token.width);
    case 5:
        return Number(t.wMonth, token.width);
    case 6:
        return Number(t.wDay, token.width);
    case 7:
        return Number(t.wHour, 2) + Number(t.wMinute, 2) + Number(t.wSecond, 2);
    case 8:
        return Number(t.wHour, 2) + Number(t.wMinute, 2);
    case 9:
        return Number(t.wYear % 100, 2);
    }
    return {};
}

// The date in the format's tokens; empty when the format yields nothing or the year is before 1900.
std::wstring FormatDate(uint64_t fileTime, std::wstring_view format)
{
    FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&utc, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    if (local.wYear < 1900)
        return {};
    std::wstring text;
    size_t at = 0;
    while (at < format.size())
    {
        const auto token = std::find_if(kDateTokens.begin(), kDateTokens.end(), [&](const DateToken& t) {
            return format.substr(at, t.token.size()) == t.token;
        });
        if (token != kDateTokens.end())
        {
            text += TokenText(*token, local);
            at += token->token.size();
            continue;
        }
        const wchar_t c = format[at++];
        if (std::wstring_view(L"\"%*/:<>?\\|").find(c) == std::wstring_view::npos)
            text += c;
    }
    return text;
}

std::wstring FolderName(std::wstring_view path)
{
    if (!path.empty() && path.back() == L'\\')
        path.remove_suffix(1);
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos)
        return path.size() == 2 && path[1] == L':' ? std::wstring() : std::wstring(path);
    return std::wstring(path.substr(slash + 1));
}

[[nodiscard]] bool DateTag(std::wstring_view body, const RenameItem* item, BoundedText& out)
{
    std::wstring_view format = L"yyyymmdd";
    if (body.size() > 1)
    {
        if (body[1] != L':' || body.size() == 2)
            return false;
        format = body.substr(2);
    }
    if (item)
    {
        const bool created = body[0] == L'C' || body[0] == L'c';
        out.Append(FormatDate(created ? item->created : item->modified, format));
    }
    return true;
}

[[nodiscard]] bool SizeTag(std::wstring_view body, const RenameItem* item, BoundedText& out)
{
    uint64_t width = 0;
    wchar_t unit = L'B';
    if (body.size() > 1)
    {
        if (body[1] != L':')
            return false;
        size_t at = 2;
        ReadDigits(body, at, width);
        if (at < body.size())
        {
            unit = body[at] >= L'a' && body[at] <= L'z' ? static_cast<wchar_t>(body[at] - L'a' + L'A') : body[at];
            if (std::wstring_view(L"BKMGA").find(unit) == std::wstring_view::npos || at + 1 != body.size())
                return false;
        }
    }
    if (!item)
        return true;
    constexpr uint64_t kKilo = 1024;
    constexpr uint64_t kMega = kKilo * 1024;
    constexpr uint64_t kGiga = kMega * 1024;
    const uint64_t size = item->size;
    auto roundedUp = [&](uint64_t unitSize) { return size / unitSize + (size % unitSize ? 1 : 0); };
    std::wstring letter;
    if (unit == L'A')
    {
        unit = size < kKilo ? L'B' : size < kMega ? L'K' : size < kGiga ? L'M' : L'G';
        letter = std::wstring(1, unit);
    }
    const uint64_t value = unit == L'K'   ? roundedUp(kKilo)
                           : unit == L'M' ? roundedUp(kMega)
                           : unit == L'G' ? roundedUp(kGiga)
                                          : size;
    out.Append(Padded(value, width) + letter);
    return true;
}

[[nodiscard]] bool PartTag(std::wstring_view body, const SplitResult* split, BoundedText& out)
{
    if (body.size() < 3 || body[1] != L':')
        return false;
    size_t at = 2;
    uint64_t k = 0;
    if (!ReadDigits(body, at, k) || at != body.size() || k > kMaxPartIndex)
        return false;
    if (!split || k == 0)
        return true;
    uint64_t index = 0;
    for (const auto& [segment, value] : split->parts)
    {
        if (segment->kind == SegmentKind::Literal && segment->commonText.empty())
            continue;
        if (++index == k)
        {
            out.Append(value);
            break;
        }
    }
    return true;
}

[[nodiscard]] bool CounterTag(std::wstring_view body, const RenameItem* item, BoundedText& out)
{
    size_t at = 0;
    uint64_t start = 0;
    uint64_t step = 1;
    uint64_t width = 0;
    ReadDigits(body, at, start);
    if (at < body.size() && body[at] == L',' && !ReadDigits(body, ++at, step))
        return false;
    if (at < body.size() && body[at] == L':' && !ReadDigits(body, ++at, width))
        return false;
    bool perFolder = false;
    if (at < body.size() && (body[at] == L'f' || body[at] == L'F'))
    {
        perFolder = true;
        ++at;
    }
    if (at != body.size())
        return false;
    if (item)
    {
        const uint64_t position = perFolder ? item->folderIndex : item->listIndex;
        out.Append(Padded(SaturatingAdd(start, SaturatingMultiply(step, position)), width));
    }
    return true;
}
// '<' opens a tag, checked apart.
bool IsForbidden(wchar_t c)
{
    return c < 32 || std::wstring_view(L"\"*/:?\\>|").find(c) != std::wstring_view::npos;
}
} // namespace

bool ParseNameTag(std::wstring_view text, size_t& pos, const RenameItem* item, const SplitResult* split,
                  std::wstring* out)
{
    const size_t stop = text.find_first_of(L"<>", pos);
    const bool closed = stop != std::wstring_view::npos && text[stop] == L'>';
    const std::wstring_view body = text.substr(pos, (stop == std::wstring_view::npos ? text.size() : stop) - pos);
    pos = stop == std::wstring_view::npos ? text.size() : closed ? stop + 1 : stop;
    if (!closed || body.empty())
        return false;
    BoundedText output(item ? out : nullptr);
    switch (body[0])
    {
    case L'D':
    case L'd':
    case L'C':
    case L'c':
        return DateTag(body, item, output);
    case L'S':
    case L's':
        return SizeTag(body, item, output);
    case L'F':
    case L'f':
        if (body.size() != 1)
            return false;
        if (item && item->folder)
            output.Append(FolderName(item->folder->path));
        return true;
    case L'N':
    case L'n':
        return PartTag(body, item ? split : nullptr, output);
    default:
        return IsDigit(body[0]) && CounterTag(body, item, output);
    }
}

std::wstring ExpandNameTags(std::wstring_view text, const RenameItem& item, const SplitResult& split)
{
    std::wstring out;
    size_t pos = 0;
    while (pos < text.size() && out.size() < kMaxExpandedLength)
    {
        const wchar_t c = text[pos++];
        if (c != L'<')
            out += c;
        else if (!ParseNameTag(text, pos, &item, &split, &out))
            continue; // nothing of a malformed tag goes into the name
    }
    return out;
}

bool IsInvalidReplacement(std::wstring_view text)
{
    size_t pos = 0;
    while (pos < text.size())
    {
        const wchar_t c = text[pos++];
        if (IsForbidden(c))
            return true;
        if (c == L'<' && !ParseNameTag(text, pos, nullptr, nullptr, nullptr))
            return true;
    }
    return false;
}
