#include "rename/RunRename.h"

#include "rename/RenameCheck.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

bool RunRename(RenameModel& model, HWND owner, RenameProgress& progress)
{
    const RenameSummary summary = SummarizeStatus(model);
    const std::wstring title = LoadStringResource(IDS_RENAME_TITLE);
    if (summary.overallStatus != kStatusRenamed)
    {
        ::MessageBoxW(owner, ProblemSummary(model).c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (summary.anyChange)
    {
        progress.Begin();
        progress.Perform(owner, PlanRenames(model));
        return true;
    }
    ::MessageBoxW(owner, LoadStringResource(IDS_RENAME_NO_CHANGES).c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
    return true;
}
