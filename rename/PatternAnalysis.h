#pragma once

#include "rename/NameTags.h"
#include "rename/PatternDerivation.h"
#include "rename/PatternMatch.h"
#include "rename/RenameModel.h"
#include "rename/Segment.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// Sets `included` of every listed item from its match; an item that stops matching loses its new name.
void MatchListedItems(RenameModel& model, const PatternAnalysis& analysis);

// The text one part contributes to the new name.
std::wstring PartValue(const RenameItem& item, const Segment& segment, const std::wstring& value,
                       const SplitResult& split);
void ComposeNewName(RenameItem& item, const PatternAnalysis& analysis);
bool ComputeNumberBases(RenameModel& model, PatternAnalysis& analysis);
void CarryEdits(const PatternAnalysis& from, PatternAnalysis& to);

// Gives a literal its replacement text, and with it the flag of a text that cannot be used.
void SetReplacement(Segment& literal, std::wstring text);

// A decimal digit string read as a signed 64-bit number; longer values saturate at the largest one.
int64_t ReadNumber(std::wstring_view digits);
