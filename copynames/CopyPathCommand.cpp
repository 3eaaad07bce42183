#include "copynames/CopyPathCommand.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

void CopyPathCommand::Invoke(const Selection&, KeyFlags, const CWindow&)
{
    // Not built yet: copying needs the item list and the format language. Choosing it does nothing.
}

std::wstring CopyPathCommand::GetHelpText() const
{
    return LoadStringResource(m_mode == kCopyNameAndDelete ? IDS_HELP_COPY_FILENAME_AND_DELETE
                                                           : IDS_HELP_COPY_FILENAME);
}
