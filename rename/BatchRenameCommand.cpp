#include "rename/BatchRenameCommand.h"

#include "rename/ChangeTextDlg.h"

#include <string>
#include <vector>

void BatchRenameCommand::Invoke(const Selection& selection, KeyFlags, const CWindow& parent)
{
    std::vector<std::wstring> paths;
    paths.reserve(selection.paths.size());
    for (const std::wstring_view path : selection.paths)
        paths.emplace_back(path);
    RenameModel model = BuildRenameModel(paths);
    if (model.ListedItems().empty())
        return; // every selected name went before the folders were read: nothing to rename
    ChangeTextDlg dialog(model);
    dialog.Run(parent.Hwnd());
}
