#pragma once

#include <string>
#include <string_view>

// The one conversion point between the product's UTF-16 text and the UTF-8 of its XML files.
// Invalid input (unpaired surrogates, bad UTF-8) becomes U+FFFD rather than failing.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

// The text in upper or lower case by the system's case table, as the file system compares
// names: comparing upper-case keys ordinally is comparing names case-insensitively.
std::wstring ToUpperCase(std::wstring_view text);
std::wstring ToLowerCase(std::wstring_view text);

// "(s)" becomes nothing for one selected item and "s" for any other count.
std::wstring ResolvePlural(const std::wstring& text, size_t itemCount);

// A menu text as it reads outside a menu: the "&" that marks its access key dropped, "&&" shown as
// one "&".
std::wstring WithoutAccessKey(std::wstring_view text);
