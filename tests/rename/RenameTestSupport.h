#pragma once

#include "rename/PatternAnalysis.h"
#include "rename/RenameModel.h"

#include <map>
#include <string>
#include <vector>

// The analysis the dialog starts with for these names.
PatternAnalysis Analyze(const std::vector<std::wstring>& names, bool detectNumbers, bool allowExtension);

// An item with only a name, for the values of one part.
RenameItem ItemNamed(const std::wstring& name);

// The new name of `name` under the analysis after `edit` changed its segments.
std::wstring Compose(const PatternAnalysis& analysis, const std::wstring& name);

// Creates the files (each holding its own name) in the folder and builds the model of those selected.
RenameModel ModelOfFiles(const std::wstring& folder, const std::vector<std::wstring>& files,
                         const std::vector<std::wstring>& selected);

// What ReadTreeBelow finds, by upper-case path: as the file system tells names apart.
std::map<std::wstring, std::string> FolderContents(const std::wstring& folder);

// The short (8.3) name of an existing item; its own name when it has none.
std::wstring ShortName(const std::wstring& path);

// Matches, numbers, bases and names the model the way the dialog does at opening.
PatternAnalysis OpenModel(RenameModel& model, bool detectNumbers, bool allowExtension);
