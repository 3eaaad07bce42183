#include "foldertools/DelEmptyFoldersCommand.h"

#include "foldertools/DeleteEmptyFoldersDlg.h"
#include "winsupport/PlainFolder.h"

void DelEmptyFoldersCommand::Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent)
{
    std::vector<std::wstring> folders;
    for (const std::wstring_view path : selection.paths)
    {
        std::wstring folder(path);
        if (IsPlainFolder(folder))
            folders.push_back(std::move(folder));
    }
    if (folders.empty())
        return;
    DeleteEmptyFoldersDlg dialog(parent.Hwnd(), std::move(folders), (keys & kControlKey) != 0);
    if (!dialog.Scan())
        return;
    const std::vector<std::wstring>& found = dialog.Found();
    if (!dialog.ControlHeld() && dialog.SelectedFolders().size() == 1 && found.size() == 1 &&
        found.front() == dialog.SelectedFolders().front())
    {
        DeleteEmptyFoldersDlg::DeleteFolders(found, parent.Hwnd());
        return;
    }
    if (dialog.Run())
        DeleteEmptyFoldersDlg::DeleteFolders(dialog.Found(), parent.Hwnd());
}
