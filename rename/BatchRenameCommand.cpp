#include "rename/BatchRenameCommand.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

void BatchRenameCommand::Invoke(const Selection&, KeyFlags, const CWindow&)
{
    // Not built yet: the Multi Rename dialog comes with the rename model. Choosing it does nothing.
}

std::wstring BatchRenameCommand::GetHelpText() const
{
    return LoadStringResource(IDS_HELP_MULTI_RENAME);
}
