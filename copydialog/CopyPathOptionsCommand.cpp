#include "copydialog/CopyPathOptionsCommand.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

void CopyPathOptionsCommand::Invoke(const Selection&, KeyFlags, const CWindow&)
{
    // Not built yet: the copy options dialog comes later. Choosing it does nothing.
}

std::wstring CopyPathOptionsCommand::GetHelpText() const
{
    return LoadStringResource(IDS_HELP_COPY_WITH_OPTIONS);
}
