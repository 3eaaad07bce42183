#pragma once

#include "rename/RenameModel.h"
#include "rename/Segment.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// True when the name (without its extension unless the analysis allows extension changes) matches
// the pattern, letter case aside.
[[nodiscard]] bool MatchesPattern(std::wstring_view name, const PatternAnalysis& analysis);

struct SplitResult
{
    std::vector<std::pair<const Segment*, std::wstring>> parts;
    std::wstring extension; // the kept extension when extension changes are not allowed
    bool complete = false;  // every segment matched and the name was used up
};
SplitResult SplitName(const RenameItem& item, const PatternAnalysis& analysis);
