#include "configure/CommandTexts.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

namespace
{
struct CommandTextIds
{
    CommandType type;
    UINT description;
};

constexpr CommandTextIds kTextIds[] = {
    {CommandType::CopyFilename, IDS_DESCRIPTION_COPY_FILENAME},
    {CommandType::CopyFilenameAndDelete, IDS_DESCRIPTION_COPY_FILENAME_AND_DELETE},
    {CommandType::PasteFilename, IDS_DESCRIPTION_PASTE_FILENAME},
    {CommandType::PasteFilenameNotExt, IDS_DESCRIPTION_PASTE_FILENAME_NOT_EXT},
    {CommandType::CopyFilenameWithOptions, IDS_DESCRIPTION_COPY_WITH_OPTIONS},
    {CommandType::ExtractFolder, IDS_DESCRIPTION_EXTRACT_FOLDER},
    {CommandType::DeleteEmptyFolders, IDS_DESCRIPTION_DELETE_EMPTY_FOLDERS},
    {CommandType::MultiRename, IDS_DESCRIPTION_MULTI_RENAME},
    {CommandType::Configure, IDS_DESCRIPTION_CONFIGURE},
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

std::wstring CommandDescription(CommandType type)
{
    const CommandTextIds* ids = FindTextIds(type);
    return LoadStringResource(ids ? ids->description : IDS_DESCRIPTION_INVALID);
}
