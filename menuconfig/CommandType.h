#pragma once

#include <array>
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

inline constexpr int kCommandTypeCount = 9;

// Types 1 to 9 in their fixed order.
inline constexpr std::array<CommandType, kCommandTypeCount> kAllCommandTypes = {
    CommandType::CopyFilename,
    CommandType::CopyFilenameAndDelete,
    CommandType::PasteFilename,
    CommandType::PasteFilenameNotExt,
    CommandType::CopyFilenameWithOptions,
    CommandType::ExtractFolder,
    CommandType::DeleteEmptyFolders,
    CommandType::MultiRename,
    CommandType::Configure,
};

// The menu text of a type as the string table holds it (ampersand and "(s)" included), shown by
// the menu and by the configure program; "Invalid" outside 1 to 9.
std::wstring CommandMenuText(CommandType type);

// The name of a type in the menu configuration file ("COPY_FILENAME"...); empty outside 1 to 9.
std::string_view CommandTypeName(CommandType type) noexcept;

// The type a file name stands for; the comparison is exact, byte for byte.
std::optional<CommandType> CommandTypeFromName(std::string_view name) noexcept;
