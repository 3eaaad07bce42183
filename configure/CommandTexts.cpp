#include "configure/CommandTexts.h"

#include "winsupport/Resources.h"

std::wstring CommandDescription(CommandType type)
{
    const CommandInfo* command = FindCommand(type);
    return LoadStringResource(command ? command->description : IDS_DESCRIPTION_INVALID);
}
