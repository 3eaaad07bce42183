#pragma once

#include "copynames/ItemList.h"

#include <string_view>

// What is wrong with folder scan options as the options dialog read them, in the order the user is
// told: only the first problem is shown.
enum class ScanOptionsProblem
{
    None,
    BadIncludePattern, // the include pattern holds a character no file name can hold
    SamePatterns,      // include and exclude the same pattern: nothing would be included
    BadExcludePattern,
    BadDepth, // the depth limit is outside 1 to 100
};

// The characters no file name holds, so no pattern may hold them either.
inline constexpr std::wstring_view kForbiddenPatternCharacters = L"\\/:\"<>|";

inline constexpr int kMinScanDepth = 1;
inline constexpr int kMaxScanDepth = 100;

// The first problem of the options; the checks look at the patterns and depth in use whatever the
// scan choice and mode are.
ScanOptionsProblem CheckFolderScanOptions(const FolderScanOptions& options);

// The number that the leading decimal digits of the text make; 0 when it starts with none, and
// the largest int when they make more than that.
int ReadLeadingNumber(std::wstring_view text);
