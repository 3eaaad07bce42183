#include "menuconfig/CommandType.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

namespace
{
constexpr std::array<std::string_view, kCommandTypeCount> kNames = {
    "COPY_FILENAME",
    "COPY_FILENAME_AND_DELETE",
    "PASTE_FILENAME",
    "PASTE_FILENAME_NOT_EXT",
    "COPY_FILENAME_WITH_OPTIONS",
    "EXTRACT_FOLDER",
    "DELETE_EMPTY_FOLDERS",
    "MULTI_RENAME",
    "CONFIGURE",
};

constexpr std::array<UINT, kCommandTypeCount> kMenuTextIds = {
    IDS_COMMAND_COPY_FILENAME,
    IDS_COMMAND_COPY_FILENAME_AND_DELETE,
    IDS_COMMAND_PASTE_FILENAME,
    IDS_COMMAND_PASTE_FILENAME_NOT_EXT,
    IDS_COMMAND_COPY_WITH_OPTIONS,
    IDS_COMMAND_EXTRACT_FOLDER,
    IDS_COMMAND_DELETE_EMPTY_FOLDERS,
    IDS_COMMAND_MULTI_RENAME,
    IDS_COMMAND_CONFIGURE,
};
} // namespace

std::wstring CommandMenuText(CommandType type)
{
    const int number = static_cast<int>(type);
    if (number < 1 || number > kCommandTypeCount)
        return LoadStringResource(IDS_COMMAND_INVALID);
    return LoadStringResource(kMenuTextIds[static_cast<size_t>(number - 1)]);
}

std::string_view CommandTypeName(CommandType type) noexcept
{
    const int number = static_cast<int>(type);
    if (number < 1 || number > kCommandTypeCount)
        return {};
    return kNames[static_cast<size_t>(number - 1)];
}

std::optional<CommandType> CommandTypeFromName(std::string_view name) noexcept
{
    for (size_t i = 0; i < kNames.size(); ++i)
    {
        if (kNames[i] == name)
            return kAllCommandTypes[i];
    }
    return std::nullopt;
}
