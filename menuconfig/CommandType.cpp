#include "menuconfig/CommandType.h"

#include "winsupport/Resources.h"

std::wstring CommandMenuText(CommandType type)
{
    const CommandInfo* command = FindCommand(type);
    return LoadStringResource(command ? command->menuText : IDS_COMMAND_INVALID);
}

std::wstring CommandHelpText(CommandType type)
{
    const CommandInfo* command = FindCommand(type);
    return command && command->helpText != 0 ? LoadStringResource(command->helpText) : std::wstring();
}

int CommandIconId(CommandType type) noexcept
{
    const CommandInfo* command = FindCommand(type);
    return command ? command->icon : 0;
}

std::string_view CommandTypeName(CommandType type) noexcept
{
    const CommandInfo* command = FindCommand(type);
    return command ? command->name : std::string_view();
}

std::optional<CommandType> CommandTypeFromName(std::string_view name) noexcept
{
    for (const CommandInfo& command : kCommands)
    {
        if (command.name == name)
            return command.type;
    }
    return std::nullopt;
}
