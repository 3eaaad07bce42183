#pragma once

#include <cstdint>
#include <string>

// A whole number in the user's locale, with its digit grouping and no fractional part
// ("5,678,901" in English).
std::wstring FormatLocaleNumber(uint64_t value);
