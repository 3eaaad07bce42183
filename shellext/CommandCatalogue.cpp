#include "shellext/CommandCatalogue.h"

#include "copydialog/CopyPathOptionsCommand.h"
#include "copynames/CopyPathCommand.h"
#include "copynames/PastePathCommand.h"
#include "foldertools/DelEmptyFoldersCommand.h"
#include "foldertools/ExtractFolderCommand.h"
#include "rename/BatchRenameCommand.h"
#include "shellext/RunConfigureCommand.h"

bool IsCommandVisible(const MenuEntry& entry, const Selection& selection)
{
    if (!entry.show)
        return false;
    const size_t items = selection.paths.size();
    switch (entry.type)
    {
    case CommandType::CopyFilenameAndDelete:
        return items == 1;
    case CommandType::PasteFilename:
    case CommandType::PasteFilenameNotExt:
        return items == 1 && selection.clipboardHasName;
    case CommandType::ExtractFolder:
    case CommandType::DeleteEmptyFolders:
        return selection.hasFolder;
    case CommandType::MultiRename:
        return items >= 2;
    default:
        return true;
    }
}

std::unique_ptr<MenuItem> CreateCommand(CommandType type)
{
    std::wstring text = CommandMenuText(type);
    switch (type)
    {
    case CommandType::CopyFilename:
        return std::make_unique<CopyPathCommand>(std::move(text), CopyPathCommand::kCopyNames,
                                                 std::make_unique<CopyPathOptionsCommand>(std::wstring()));
    case CommandType::CopyFilenameAndDelete:
        return std::make_unique<CopyPathCommand>(std::move(text), CopyPathCommand::kCopyNameAndDelete);
    case CommandType::PasteFilename:
        return std::make_unique<PastePathCommand>(std::move(text), PastePathCommand::kPasteName);
    case CommandType::PasteFilenameNotExt:
        return std::make_unique<PastePathCommand>(std::move(text), PastePathCommand::kPasteNameKeepExtension);
    case CommandType::CopyFilenameWithOptions:
        return std::make_unique<CopyPathOptionsCommand>(std::move(text));
    case CommandType::ExtractFolder:
        return std::make_unique<ExtractFolderCommand>(std::move(text));
    case CommandType::DeleteEmptyFolders:
        return std::make_unique<DelEmptyFoldersCommand>(std::move(text));
    case CommandType::MultiRename:
        return std::make_unique<BatchRenameCommand>(std::move(text));
    case CommandType::Configure:
        return std::make_unique<RunConfigureCommand>(std::move(text));
    default:
        return nullptr;
    }
}
