#include "rename/RunRename.h"

#include "rename/RenameCheck.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winui/Dialog.h"
#include "winui/ShellOperationUi.h"

RenameEnd RunRename(RenameModel& model, HWND owner, RenameProgress& progress)
{
    const RenameSummary summary = SummarizeStatus(model);
    const std::wstring title = LoadStringResource(IDS_RENAME_TITLE);
    if (summary.overallStatus != ItemStatus::Renamed)
    {
        ShowMessage(owner, ProblemSummary(model), title, MessageKind::Warning);
        return RenameEnd::Refused;
    }
    if (!summary.anyChange)
    {
        ShowMessage(owner, LoadStringResource(IDS_RENAME_NO_CHANGES), title, MessageKind::Information);
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
    ShowMessage(owner, StoppedMessage(plan, outcome), title, MessageKind::Warning);
    return outcome.renamed == 0 ? RenameEnd::NoneRenamed : RenameEnd::PartlyRenamed;
}
