#pragma once

#include "copynames/ItemList.h"

#include <string>

// The two lines of the copy options dialog's "Folder Options" group: what the scan does, and which
// of its limits are on.
struct FolderSummary
{
    std::wstring firstLine;
    std::wstring secondLine;
};

FolderSummary DescribeFolderScan(const FolderScanOptions& options);
