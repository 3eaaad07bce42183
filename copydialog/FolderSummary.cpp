#include "copydialog/FolderSummary.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

FolderSummary DescribeFolderScan(const FolderScanOptions& options)
{
    if (!options.scanFolders)
        return {LoadStringResource(IDS_SCAN_NAMES_ONLY_SUMMARY), {}};

    const UINT what = options.mode == FolderScanOptions::kFoldersOnly       ? IDS_SCAN_SUMMARY_FOLDERS
                      : options.mode == FolderScanOptions::kFilesAndFolders ? IDS_SCAN_SUMMARY_BOTH
                                                                            : IDS_SCAN_SUMMARY_FILES;
    FolderSummary summary{FormatStringResource(IDS_SCAN_SUMMARY, {LoadStringResource(what)}), {}};
    const auto add = [&summary](const std::wstring& part) {
        if (!summary.secondLine.empty())
            summary.secondLine += L" | ";
        summary.secondLine += part;
    };
    if (options.includeOn)
        add(FormatStringResource(IDS_SCAN_SUMMARY_INCLUDE, {options.includePattern}));
    if (options.excludeOn)
        add(FormatStringResource(IDS_SCAN_SUMMARY_EXCLUDE, {options.excludePattern}));
    if (options.depthLimited)
        add(FormatStringResource(IDS_SCAN_SUMMARY_DEPTH, options.depth));
    return summary;
}
