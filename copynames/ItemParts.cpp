#include "copynames/ItemParts.h"

#include "winsupport/ShellTypeName.h"
#include "winsupport/StringUtil.h"

#include <windows.h>

#include <cwctype>
#include <string_view>

namespace
{
// The text of a date or time formatting call, whose first call reports the length it needs.
template <typename FormatCall> std::wstring FormattedText(FormatCall format)
{
    const int length = format(nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    const int written = format(text.data(), length);
    if (written <= 0)
        return {};
    text.resize(static_cast<size_t>(written - 1));
    return text;
}

bool KeptByUrlEncoding(wchar_t c, bool keepSeparators) noexcept
{
    if (std::iswalnum(static_cast<wint_t>(c)))
        return true;
    switch (c)
    {
    case L'-':
    case L'.':
    case L'_':
    case L'~':
        return true;
    case L'\\':
    case L'/':
    case L':':
        return keepSeparators;
    default:
        return false;
    }
}

bool IsHighSurrogate(wchar_t c) noexcept
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) noexcept
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The inside of a JSON string that a JSON reader reads back as the text: quotes and backslashes
// escaped, control characters as \u escapes, everything else as it stands (JSON is Unicode). A
// surrogate without its pair, which a file name may hold but no UTF-8 text can carry, is a \u
// escape too, which a JSON reader reads back as that very unit.
std::wstring JsonEscape(std::wstring_view text)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring escaped;
    escaped.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        const bool lone = (IsHighSurrogate(c) && (i + 1 == text.size() || !IsLowSurrogate(text[i + 1]))) ||
                          (IsLowSurrogate(c) && (i == 0 || !IsHighSurrogate(text[i - 1])));
        if (c == L'"' || c == L'\\')
        {
            escaped += L'\\';
            escaped += c;
        }
        else if (c < 0x20 || lone)
        {
            escaped += L"\\u";
            for (const int shift : {12, 8, 4, 0})
                escaped += kDigits[(c >> shift) & 0xF];
        }
        else
        {
            escaped += c;
        }
    }
    return escaped;
}

// A word that a POSIX shell reads back as the text: in single quotes, inside which nothing is
// special, each single quote of the text closing the quotes, escaped, and opening them again.
std::wstring ShellQuote(std::wstring_view text)
{
    std::wstring quoted(1, L'\'');
    quoted.reserve(text.size() + 2);
    for (const wchar_t c : text)
    {
        if (c == L'\'')
            quoted += L"'\\''";
        else
            quoted += c;
    }
    quoted += L'\'';
    return quoted;
}

// Text that a Markdown reader shows as it stands: each ASCII punctuation character, which could
// start emphasis, a link, a list, a heading, an entity or code, is escaped with a backslash, as
// CommonMark allows for every one of them. "__init__.py" stays a name, "1. intro.txt" no list item.
std::wstring MarkdownEscape(std::wstring_view text)
{
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t c : text)
    {
        if (c < 128 && std::iswpunct(static_cast<wint_t>(c)))
            escaped += L'\\';
        escaped += c;
    }
    return escaped;
}

// Percent-encodes, in lower-case hexadecimal, each character not kept. By default each UTF-16 unit is
// one escape of at least two digits, as stored presets know it (a unit above 0xFF gives three or four
// digits, which URL readers do not decode). With utf8, an escape per byte of the character's UTF-8
// form, as every URL reader decodes it: an en dash is %e2%80%93, a surrogate pair one character of four
// bytes; a surrogate without its pair, which no URL can carry, becomes U+FFFD.
std::wstring UrlEncode(std::wstring_view text, bool keepSeparators, bool utf8)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring encoded;
    encoded.reserve(text.size());
    const auto writeByte = [&encoded](unsigned byte) {
        encoded += L'%';
        encoded += kDigits[(byte >> 4) & 0xF];
        encoded += kDigits[byte & 0xF];
    };
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (KeptByUrlEncoding(c, keepSeparators))
        {
            encoded += c;
            continue;
        }
        if (!utf8)
        {
            const unsigned value = c;
            encoded += L'%';
            if (value > 0xFFF)
                encoded += kDigits[(value >> 12) & 0xF];
            if (value > 0xFF)
                encoded += kDigits[(value >> 8) & 0xF];
            encoded += kDigits[(value >> 4) & 0xF];
            encoded += kDigits[value & 0xF];
            continue;
        }
        // One character: a surrogate pair whole; WideToUtf8 makes a lone surrogate U+FFFD.
        const bool pair = IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        for (const char byte : WideToUtf8(text.substr(i, pair ? 2 : 1)))
            writeByte(static_cast<unsigned char>(byte));
        i += pair ? 1 : 0;
    }
    return encoded;
}
} // namespace

void ItemPartText::AppendTo(const CFItem&, ClipboardText& out) const
{
    out.Append(m_text);
}

void ItemPartPath::AppendTo(const CFItem& item, ClipboardText& out) const
{
    const std::wstring_view name = item.Name();
    std::wstring_view text;
    switch (m_kind)
    {
    case kFullPath:
        text = item.Path();
        break;
    case kName:
        text = name;
        break;
    case kFolder:
        text = item.Path().substr(0, item.Path().size() - name.size());
        break;
    case kExtension: {
        const size_t dot = name.rfind(L'.');
        text = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot + 1);
        break;
    }
    case kNameWithoutExtension:
        text = name.substr(0, name.rfind(L'.'));
        break;
    default:
        return;
    }
    if (m_separator == kBackslash && m_encoding == kNoEncoding)
    {
        out.Append(text);
        return;
    }

    std::wstring result;
    result.reserve(text.size() + 4);
    if (m_separator == kWslMount && text.size() >= 2 && text[1] == L':' && std::iswalpha(text[0]) && text[0] < 128 &&
        (m_kind == kFullPath || m_kind == kFolder))
    {
        // The drive as a Linux shell on Windows mounts it: C:\x is /mnt/c/x.
        result = L"/mnt/";
        result += static_cast<wchar_t>(std::towlower(text[0]));
        text.remove_prefix(2);
        if (text.empty())
            result += L'/';
    }
    for (const wchar_t c : text)
    {
        if (c != L'\\')
            result += c;
        else if (m_separator == kDoubleBackslash)
            result += L"\\\\";
        else if (m_separator == kForwardSlash || m_separator == kWslMount)
            result += L'/';
        else
            result += c;
    }
    if (m_encoding == kEncodeMarkdown)
        result = MarkdownEscape(result);
    else if (m_encoding == kEncodeJson)
        result = JsonEscape(result);
    else if (m_encoding == kShellQuote)
        result = ShellQuote(result);
    else if (m_encoding != kNoEncoding)
        result = UrlEncode(result, m_encoding == kEncodeNames || m_encoding == kEncodeNamesUtf8,
                           m_encoding == kEncodeNamesUtf8 || m_encoding == kEncodeAllUtf8);
    out.Append(result);
}

void ItemPartDate::AppendTo(const CFItem& item, ClipboardText& out) const
{
    const uint64_t value = m_time == kCreation     ? item.creationTime
                           : m_time == kLastAccess ? item.lastAccessTime
                                                   : item.lastWriteTime;
    if (value == 0)
        return;
    const FILETIME fileTime{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    SYSTEMTIME utc, local;
    if (!::FileTimeToSystemTime(&fileTime, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return;

    const bool longDate = m_format == kLongDate || m_format == kLongDateTime;
    const std::wstring date = FormattedText([&](wchar_t* buffer, int size) {
        return ::GetDateFormatW(LOCALE_USER_DEFAULT, longDate ? DATE_LONGDATE : DATE_SHORTDATE, &local, nullptr, buffer,
                                size);
    });
    if (!date.empty())
        out.Append(date);
    if (m_format != kShortDateTime && m_format != kLongDateTime)
        return;
    const std::wstring time = FormattedText([&](wchar_t* buffer, int size) {
        return ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, buffer, size);
    });
    if (!time.empty())
    {
        out.Append(L" ");
        out.Append(time);
    }
}

void ItemPartSize::AppendTo(const CFItem& item, ClipboardText& out) const
{
    if (item.IsFolder())
        return;
    const uint64_t size = item.size;
    Unit unit = m_unit;
    if (unit == kAuto)
        unit = size < 1024ull         ? kBytes
               : size < 1048576ull    ? kKilobytes
               : size < 1073741824ull ? kMegabytes
                                      : kGigabytes;

    // Rounded up; written so that sizes near 2^64 do not wrap.
    const int shift = unit == kKilobytes ? 10 : unit == kMegabytes ? 20 : unit == kGigabytes ? 30 : 0;
    const uint64_t mask = (uint64_t{1} << shift) - 1;
    const uint64_t value = (size >> shift) + ((size & mask) != 0 ? 1 : 0);
    std::wstring text = std::to_wstring(value);
    if (m_unit == kAuto)
        text += L"BKMG"[static_cast<int>(unit)];
    out.Append(text);
}

void ItemPartType::AppendTo(const CFItem& item, ClipboardText& out) const
{
    out.Append(ShellTypeName(std::wstring(item.Name()), item.IsFolder()));
}

void ItemPartProperty::AppendTo(const CFItem& item, ClipboardText& out) const
{
    const auto found = item.propertyValues.find(m_name);
    if (found != item.propertyValues.end())
        out.Append(found->second);
}
