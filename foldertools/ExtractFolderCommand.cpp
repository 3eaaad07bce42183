#include "foldertools/ExtractFolderCommand.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

void ExtractFolderCommand::Invoke(const Selection&, KeyFlags, const CWindow&)
{
    // Not built yet: extracting comes with the folder tools. Choosing it does nothing.
}

std::wstring ExtractFolderCommand::GetHelpText() const
{
    return LoadStringResource(IDS_HELP_EXTRACT_FOLDER);
}
