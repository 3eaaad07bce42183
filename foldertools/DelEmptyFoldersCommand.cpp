#include "foldertools/DelEmptyFoldersCommand.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

void DelEmptyFoldersCommand::Invoke(const Selection&, KeyFlags, const CWindow&)
{
    // Not built yet: the empty-folder search comes with the folder tools. Choosing it does nothing.
}

std::wstring DelEmptyFoldersCommand::GetHelpText() const
{
    return LoadStringResource(IDS_HELP_DELETE_EMPTY_FOLDERS);
}
