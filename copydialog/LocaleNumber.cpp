#include "copydialog/LocaleNumber.h"

#include <windows.h>

namespace
{
std::wstring LocaleText(LCTYPE type)
{
    wchar_t buffer[16] = {};
    return ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16) > 0 ? buffer : L"";
}

// The locale's grouping ("3;0", "3;2;0", "3") as the number format wants it (30, 32, 30...):
// a trailing 0 in the number repeats nothing, a text without ";0" groups only as listed.
UINT GroupingOf(const std::wstring& text)
{
    std::wstring digits;
    for (const wchar_t c : text)
        if (c >= L'0' && c <= L'9')
            digits += c;
    const bool repeats = text.size() >= 2 && text.compare(text.size() - 2, 2, L";0") == 0;
    if (repeats)
        digits.pop_back();
    else
        digits += L'0';
    UINT grouping = 0;
    for (const wchar_t c : digits)
        grouping = grouping * 10 + static_cast<UINT>(c - L'0');
    return grouping;
}
} // namespace

std::wstring FormatLocaleNumber(uint64_t value)
{
    // The locale's own values in a NUMBERFMTW with no fraction: the same text as the default
    // formatting with its fraction cut off, and right where the default grouping is not repeated.
    std::wstring decimal = LocaleText(LOCALE_SDECIMAL);
    std::wstring thousand = LocaleText(LOCALE_STHOUSAND);
    NUMBERFMTW format{};
    format.NumDigits = 0;
    format.LeadingZero = 1; // or zero itself comes out empty
    format.Grouping = GroupingOf(LocaleText(LOCALE_SGROUPING));
    format.lpDecimalSep = decimal.data();
    format.lpThousandSep = thousand.data();
    format.NegativeOrder = 1;
    const std::wstring digits = std::to_wstring(value);
    wchar_t buffer[64] = {};
    if (::GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, buffer, 64) <= 0)
        return digits;
    return buffer;
}
