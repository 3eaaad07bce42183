#include "copydialog/ScanOptionsCheck.h"

#include <climits>

namespace
{
bool HasForbiddenCharacter(std::wstring_view pattern)
{
    return pattern.find_first_of(kForbiddenPatternCharacters) != std::wstring_view::npos;
}
} // namespace

ScanOptionsProblem CheckFolderScanOptions(const FolderScanOptions& options)
{
    if (options.includeOn && HasForbiddenCharacter(options.includePattern))
        return ScanOptionsProblem::BadIncludePattern;
    if (options.includeOn && options.excludeOn && options.includePattern == options.excludePattern)
        return ScanOptionsProblem::SamePatterns;
    if (options.excludeOn && HasForbiddenCharacter(options.excludePattern))
        return ScanOptionsProblem::BadExcludePattern;
    if (options.depthLimited && (options.depth < kMinScanDepth || options.depth > kMaxScanDepth))
        return ScanOptionsProblem::BadDepth;
    return ScanOptionsProblem::None;
}

int ReadLeadingNumber(std::wstring_view text)
{
    long long number = 0;
    for (const wchar_t c : text)
    {
        if (c < L'0' || c > L'9')
            break;
        number = number * 10 + (c - L'0');
        if (number > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(number);
}
