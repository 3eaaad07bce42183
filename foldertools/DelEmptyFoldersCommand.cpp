#include "foldertools/DelEmptyFoldersCommand.h"

#include "foldertools/DeleteEmptyFoldersDlg.h"
#include "foldertools/ShellFileOperation.h"
#include "resources/resource.h"
#include "winsupport/LongPath.h"
#include "winsupport/Resources.h"

void DelEmptyFoldersCommand::Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent)
{
    std::vector<std::wstring> folders;
    for (const std::wstring_view path : selection.paths)
    {
        const std::wstring folder(path);
        const DWORD attributes = ::GetFileAttributesW(ToLongPath(folder).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            folders.push_back(folder);
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
        DeleteFoldersToRecycleBin(found, parent.Hwnd());
        return;
    }
    if (dialog.Run())
        DeleteFoldersToRecycleBin(dialog.Found(), parent.Hwnd());
}

std::wstring DelEmptyFoldersCommand::GetHelpText() const
{
    return LoadStringResource(IDS_HELP_DELETE_EMPTY_FOLDERS);
}
