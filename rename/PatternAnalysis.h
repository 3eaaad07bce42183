#pragma once

#include "rename/RenameModel.h"
#include "rename/Segment.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The pattern of the listed names and its segments, for one choice of the two check boxes.
struct PatternAnalysis
{
    std::wstring pattern;
    std::vector<Segment> segments;
    bool allowExtension = false;
};

// Which analysis the two check boxes select.
constexpr size_t AnalysisIndex(bool numbersAsText, bool allowExtension)
{
    return 2 * (numbersAsText ? 1 : 0) + (allowExtension ? 1 : 0);
}

struct DerivedPattern
{
    std::wstring pattern;
    std::wstring commonExtension; // empty when a name has no extension, ".*" when they differ
};

DerivedPattern DerivePattern(const std::vector<std::wstring>& names, bool detectNumbers);
PatternAnalysis BuildSegments(const std::wstring& pattern, const std::wstring& commonExtension, bool allowExtension);

// The listed names read all four ways, one analysis per choice of the two check boxes (by
// AnalysisIndex), and which check boxes can be ticked at all.
struct NameAnalyses
{
    std::array<PatternAnalysis, 4> byChoice;
    bool extensionChangesPossible = true; // both readings found an extension the names share
    bool numbersFound = true;             // the reading that detects numbers found one
};
NameAnalyses AnalyseNames(const std::vector<std::wstring>& names);

bool MatchesPattern(std::wstring_view name, const PatternAnalysis& analysis);
// Sets `included` of every listed item from its match; an item that stops matching loses its new name.
void MatchListedItems(RenameModel& model, const PatternAnalysis& analysis);

struct SplitResult
{
    std::vector<std::pair<const Segment*, std::wstring>> parts;
    std::wstring extension; // the kept extension when extension changes are not allowed
    bool complete = false;  // every segment matched and the name was used up
};
SplitResult SplitName(const RenameItem& item, const PatternAnalysis& analysis);

// The text one part contributes to the new name.
std::wstring PartValue(const RenameItem& item, const Segment& segment, const std::wstring& value,
                       const SplitResult& split);
void ComposeNewName(RenameItem& item, const PatternAnalysis& analysis);
bool ComputeNumberBases(RenameModel& model, PatternAnalysis& analysis);
void CarryEdits(const PatternAnalysis& from, PatternAnalysis& to);

// True when a replacement text holds a character not allowed in names or a malformed tag.
bool IsInvalidReplacement(std::wstring_view text);

// A decimal digit string read as a signed 64-bit number; longer values saturate at the largest one.
int64_t ReadNumber(std::wstring_view digits);
