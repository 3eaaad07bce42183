#include "configure/CommandTexts.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

namespace
{
struct CommandTextIds
{
    CommandType type;
    UINT menuText;
    UINT description;
};

constexpr CommandTextIds kTextIds[] = {
    {CommandType::CopyFilename, IDS_COMMAND_COPY_FILENAME, IDS_DESCRIPTION_COPY_FILENAME},
    {CommandType::CopyFilenameAndDelete, IDS_COMMAND_COPY_FILENAME_AND_DELETE,
     IDS_DESCRIPTION_COPY_FILENAME_AND_DELETE},
    {CommandType::PasteFilename, IDS_COMMAND_PASTE_FILENAME, IDS_DESCRIPTION_PASTE_FILENAME},
    {CommandType::PasteFilenameNotExt, IDS_COMMAND_PASTE_FILENAME_NOT_EXT, IDS_DESCRIPTION_PASTE_FILENAME_NOT_EXT},
    {CommandType::CopyFilenameWithOptions, IDS_COMMAND_COPY_WITH_OPTIONS, IDS_DESCRIPTION_COPY_WITH_OPTIONS},
    {CommandType::ExtractFolder, IDS_COMMAND_EXTRACT_FOLDER, IDS_DESCRIPTION_EXTRACT_FOLDER},
    {CommandType::DeleteEmptyFolders, IDS_COMMAND_DELETE_EMPTY_FOLDERS, IDS_DESCRIPTION_DELETE_EMPTY_FOLDERS},
    {CommandType::MultiRename, IDS_COMMAND_MULTI_RENAME, IDS_DESCRIPTION_MULTI_RENAME},
    {CommandType::Configure, IDS_COMMAND_CONFIGURE, IDS_DESCRIPTION_CONFIGURE},
};

const CommandTextIds* FindTextIds(CommandType type) noexcept
{
    for (const CommandTextIds& ids : kTextIds)
    {
        if (ids.type == type)
            return &ids;
    }
    return nullptr;
}
} // namespace

std::wstring CommandMenuText(CommandType type)
{
    const CommandTextIds* ids = FindTextIds(type);
    return LoadStringResource(ids ? ids->menuText : IDS_COMMAND_INVALID);
}

std::wstring CommandDescription(CommandType type)
{
    const CommandTextIds* ids = FindTextIds(type);
    return LoadStringResource(ids ? ids->description : IDS_DESCRIPTION_INVALID);
}
