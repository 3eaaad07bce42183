#include "rename/RunRename.h"

#include "rename/RenameCheck.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

RenameEnd RunRename(RenameModel& model, HWND owner, RenameProgress& progress)
{
    const RenameSummary summary = SummarizeStatus(model);
    const std::wstring title = LoadStringResource(IDS_RENAME_TITLE);
    if (summary.overallStatus != kStatusRenamed)
    {
        ::MessageBoxW(owner, ProblemSummary(model).c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
        return RenameEnd::Refused;
    }
    if (!summary.anyChange)
    {
        ::MessageBoxW(owner, LoadStringResource(IDS_RENAME_NO_CHANGES).c_str(), title.c_str(),
                      MB_OK | MB_ICONINFORMATION);
        return RenameEnd::Done;
    }
    progress.Begin();
    const std::vector<RenameItem*> plan = PlanRenames(model);
    const RenameOutcome outcome = progress.Perform(owner, plan);
    if (outcome.stop == RenameOutcome::Stop::None)
        return RenameEnd::Done;
    ReportInexactPath(owner, outcome.shell);
    if (outcome.stop == RenameOutcome::Stop::Refused)
        return RenameEnd::Refused;
    ::MessageBoxW(owner, StoppedMessage(plan, outcome).c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
    return outcome.renamed == 0 ? RenameEnd::NoneRenamed : RenameEnd::PartlyRenamed;
}
