#pragma once

#include "rename/PatternAnalysis.h"
#include "rename/RenameModel.h"

#include <string>

// Sets the status of every entry of the folder and fills its resolved order.
void CheckFolder(RenameFolder& folder);

// Recomputes every new name and status under the analysis: what the dialog runs after each change.
void RecomputeNames(RenameModel& model, const PatternAnalysis& analysis);

struct RenameSummary
{
    ItemStatus overallStatus = ItemStatus::Renamed;
    bool anyChange = false;
};
RenameSummary SummarizeStatus(const RenameModel& model);

// The text shown when Rename is refused.
std::wstring ProblemSummary(const RenameModel& model);
