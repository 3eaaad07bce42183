#include "copynames/PastePathCommand.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

void PastePathCommand::Invoke(const Selection&, KeyFlags, const CWindow&)
{
    // Not built yet: the rename from the clipboard comes with the name-copying commands. Choosing it does nothing.
}

std::wstring PastePathCommand::GetHelpText() const
{
    return LoadStringResource(m_mode == kPasteNameKeepExtension ? IDS_HELP_PASTE_FILENAME_NOT_EXT
                                                                : IDS_HELP_PASTE_FILENAME);
}
