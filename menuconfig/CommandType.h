#pragma once

#include "resources/resource.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The nine context-menu commands. The numbers are fixed: they order the default menu and name
// the commands in the menu configuration file.
enum class CommandType : int
{
    Invalid = 0,
    CopyFilename = 1,
    CopyFilenameAndDelete = 2,
    PasteFilename = 3,
    PasteFilenameNotExt = 4,
    CopyFilenameWithOptions = 5,
    ExtractFolder = 6,
    DeleteEmptyFolders = 7,
    MultiRename = 8,
    Configure = 9,
};

// When the menu offers a command, judged from the selection.
enum class ShownWhen
{
    Always,
    OneItem,
    OneItemAndClipboardName, // the clipboard holds text usable as a file name
    AnyFolder,               // one of the first selected paths is a folder
    TwoOrMoreItems,
};

// Everything both programs know of one command. The library also makes an object for each row:
// the command catalogue does not compile while a row has no maker there.
struct CommandInfo
{
    CommandType type;
    std::string_view name; // in the menu configuration file
    UINT menuText;         // string ids; the menu text keeps its ampersand and "(s)"
    UINT helpText;         // 0: none
    UINT description;      // what the configure program says the command does
    int icon;              // the menu icon, 1 to 9
    ShownWhen shownWhen;
};

// The commands in their fixed order, type 1 first.
inline constexpr std::array kCommands = {
    CommandInfo{CommandType::CopyFilename, "COPY_FILENAME", IDS_COMMAND_COPY_FILENAME, IDS_HELP_COPY_FILENAME,
                IDS_DESCRIPTION_COPY_FILENAME, 2, ShownWhen::Always},
    CommandInfo{CommandType::CopyFilenameAndDelete, "COPY_FILENAME_AND_DELETE", IDS_COMMAND_COPY_FILENAME_AND_DELETE,
                IDS_HELP_COPY_FILENAME_AND_DELETE, IDS_DESCRIPTION_COPY_FILENAME_AND_DELETE, 3, ShownWhen::OneItem},
    CommandInfo{CommandType::PasteFilename, "PASTE_FILENAME", IDS_COMMAND_PASTE_FILENAME, IDS_HELP_PASTE_FILENAME,
                IDS_DESCRIPTION_PASTE_FILENAME, 5, ShownWhen::OneItemAndClipboardName},
    CommandInfo{CommandType::PasteFilenameNotExt, "PASTE_FILENAME_NOT_EXT", IDS_COMMAND_PASTE_FILENAME_NOT_EXT,
                IDS_HELP_PASTE_FILENAME_NOT_EXT, IDS_DESCRIPTION_PASTE_FILENAME_NOT_EXT, 5,
                ShownWhen::OneItemAndClipboardName},
    CommandInfo{CommandType::CopyFilenameWithOptions, "COPY_FILENAME_WITH_OPTIONS", IDS_COMMAND_COPY_WITH_OPTIONS,
                IDS_HELP_COPY_WITH_OPTIONS, IDS_DESCRIPTION_COPY_WITH_OPTIONS, 4, ShownWhen::Always},
    CommandInfo{CommandType::ExtractFolder, "EXTRACT_FOLDER", IDS_COMMAND_EXTRACT_FOLDER, IDS_HELP_EXTRACT_FOLDER,
                IDS_DESCRIPTION_EXTRACT_FOLDER, 7, ShownWhen::AnyFolder},
    CommandInfo{CommandType::DeleteEmptyFolders, "DELETE_EMPTY_FOLDERS", IDS_COMMAND_DELETE_EMPTY_FOLDERS,
                IDS_HELP_DELETE_EMPTY_FOLDERS, IDS_DESCRIPTION_DELETE_EMPTY_FOLDERS, 6, ShownWhen::AnyFolder},
    CommandInfo{CommandType::MultiRename, "MULTI_RENAME", IDS_COMMAND_MULTI_RENAME, IDS_HELP_MULTI_RENAME,
                IDS_DESCRIPTION_MULTI_RENAME, 1, ShownWhen::TwoOrMoreItems},
    CommandInfo{CommandType::Configure, "CONFIGURE", IDS_COMMAND_CONFIGURE, 0, IDS_DESCRIPTION_CONFIGURE, 8,
                ShownWhen::Always},
};

inline constexpr size_t kCommandTypeCount = kCommands.size();

// A type's row number doubles as its place in the table: type n is row n - 1.
constexpr bool CommandsAreNumberedInOrder()
{
    for (size_t row = 0; row < kCommands.size(); ++row)
    {
        if (static_cast<size_t>(kCommands[row].type) != row + 1)
            return false;
    }
    return true;
}
static_assert(CommandsAreNumberedInOrder(), "the table lists types 1, 2, 3... in order");

// The type's row of the table; none outside 1 to the count.
constexpr const CommandInfo* FindCommand(CommandType type) noexcept
{
    const auto number = static_cast<size_t>(type);
    return number >= 1 && number <= kCommands.size() ? &kCommands[number - 1] : nullptr;
}

// The place of a row of the table.
constexpr size_t RowOf(const CommandInfo& command) noexcept
{
    return static_cast<size_t>(&command - kCommands.data());
}

// Types 1 to 9 in their fixed order.
inline constexpr auto kAllCommandTypes = [] {
    std::array<CommandType, kCommands.size()> types{};
    for (size_t row = 0; row < kCommands.size(); ++row)
        types[row] = kCommands[row].type;
    return types;
}();

// The menu text of a type as the string table holds it (ampersand and "(s)" included), shown by
// the menu and by the configure program; "Invalid" outside 1 to 9.
std::wstring CommandMenuText(CommandType type);

// The one-line help text of a type; empty for the configure command and outside 1 to 9.
std::wstring CommandHelpText(CommandType type);

// The number of a type's menu icon, 1 to 8; 0 outside 1 to 9.
int CommandIconId(CommandType type) noexcept;

// The name of a type in the menu configuration file ("COPY_FILENAME"...); empty outside 1 to 9.
std::string_view CommandTypeName(CommandType type) noexcept;

// The type a file name stands for; the comparison is exact, byte for byte.
std::optional<CommandType> CommandTypeFromName(std::string_view name) noexcept;
