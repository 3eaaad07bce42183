#pragma once

// The digits a number part and a counter tag read: ASCII only, as the file system sorts them.
constexpr bool IsDigit(wchar_t c) noexcept
{
    return c >= L'0' && c <= L'9';
}
