#include "shellext/CommandCatalogue.h"

#include "copydialog/CopyPathOptionsCommand.h"
#include "copynames/CopyPathCommand.h"
#include "copynames/PastePathCommand.h"
#include "foldertools/DelEmptyFoldersCommand.h"
#include "foldertools/ExtractFolderCommand.h"
#include "rename/BatchRenameCommand.h"
#include "shellext/RunConfigureCommand.h"
#include "winsupport/Resources.h"

#include <utility>

namespace
{
// How the object of each command in the table is made, given its menu text. A row of the table
// without its maker here stops the build where kMakers asks for it.
template <CommandType type> std::unique_ptr<MenuItem> MakeCommand(std::wstring text) = delete;

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::CopyFilename>(std::wstring text)
{
    // CTRL opens the options dialog instead.
    return std::make_unique<CopyPathCommand>(std::move(text), CopyPathCommand::kCopyNames,
                                             std::make_unique<CopyPathOptionsCommand>(std::wstring()));
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::CopyFilenameAndDelete>(std::wstring text)
{
    return std::make_unique<CopyPathCommand>(std::move(text), CopyPathCommand::kCopyNameAndDelete);
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::PasteFilename>(std::wstring text)
{
    return std::make_unique<PastePathCommand>(std::move(text), PastePathCommand::kPasteName);
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::PasteFilenameNotExt>(std::wstring text)
{
    return std::make_unique<PastePathCommand>(std::move(text), PastePathCommand::kPasteNameKeepExtension);
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::CopyFilenameWithOptions>(std::wstring text)
{
    return std::make_unique<CopyPathOptionsCommand>(std::move(text));
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::ExtractFolder>(std::wstring text)
{
    return std::make_unique<ExtractFolderCommand>(std::move(text));
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::DeleteEmptyFolders>(std::wstring text)
{
    return std::make_unique<DelEmptyFoldersCommand>(std::move(text));
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::MultiRename>(std::wstring text)
{
    return std::make_unique<BatchRenameCommand>(std::move(text));
}

template <> std::unique_ptr<MenuItem> MakeCommand<CommandType::Configure>(std::wstring text)
{
    return std::make_unique<RunConfigureCommand>(std::move(text));
}

using CommandMaker = std::unique_ptr<MenuItem> (*)(std::wstring text);

// The makers in the table's order.
constexpr auto kMakers = []<size_t... row>(std::index_sequence<row...>)
{
    return std::array<CommandMaker, sizeof...(row)>{&MakeCommand<kCommands[row].type>...};
}
(std::make_index_sequence<kCommands.size()>());
} // namespace

bool IsCommandVisible(const MenuEntry& entry, const Selection& selection)
{
    if (!entry.show)
        return false;
    const CommandInfo* command = FindCommand(entry.type);
    if (!command)
        return true;
    const size_t items = selection.paths.size();
    switch (command->shownWhen)
    {
    case ShownWhen::OneItem:
        return items == 1;
    case ShownWhen::OneItemAndClipboardName:
        return items == 1 && selection.clipboardHasName;
    case ShownWhen::AnyFolder:
        return selection.hasFolder;
    case ShownWhen::TwoOrMoreItems:
        return items >= 2;
    case ShownWhen::Always:
        return true;
    }
    return true;
}

std::unique_ptr<MenuItem> CreateCommand(CommandType type)
{
    const CommandInfo* command = FindCommand(type);
    if (!command)
        return nullptr;
    return kMakers[RowOf(*command)](LoadStringResource(command->menuText));
}
