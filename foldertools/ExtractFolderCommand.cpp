#include "foldertools/ExtractFolderCommand.h"

#include "foldertools/ClashDlg.h"
#include "foldertools/ExtractionGroups.h"
#include "foldertools/ShellFileOperation.h"
#include "resources/resource.h"
#include "winsupport/LongPath.h"
#include "winsupport/Resources.h"
#include "winsupport/UniqueHandle.h"

#include <shellapi.h>

#include <cwchar>

namespace
{
void Split(const std::vector<MovePair>& pairs, std::vector<std::wstring>& from, std::vector<std::wstring>& to)
{
    for (const MovePair& pair : pairs)
    {
        from.push_back(pair.from);
        to.push_back(pair.to);
    }
}

bool IsEmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data{};
    const UniqueFind find(::FindFirstFileExW(ToLongPath(folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, 0));
    if (!find)
        return false;
    do
    {
        if (std::wcscmp(data.cFileName, L".") != 0 && std::wcscmp(data.cFileName, L"..") != 0)
            return false;
    } while (::FindNextFileW(find.Get(), &data));
    return true;
}

// A folder selected together with a folder that holds it moves up with its holder; extracting
// both would move its contents out from under the second operation.
std::vector<std::wstring> OutermostPaths(const PathList& paths)
{
    std::vector<std::wstring> outermost;
    for (const std::wstring_view path : paths)
    {
        bool inside = false;
        for (const std::wstring_view other : paths)
            inside = inside || (other.size() + 1 < path.size() && path[other.size()] == L'\\' &&
                                ::CompareStringOrdinal(path.data(), static_cast<int>(other.size()), other.data(),
                                                       static_cast<int>(other.size()), TRUE) == CSTR_EQUAL);
        if (!inside)
            outermost.emplace_back(path);
    }
    return outermost;
}
} // namespace

void ExtractFolderCommand::Invoke(const Selection& selection, KeyFlags, const CWindow& parent)
{
    ExtractionGroups groups;
    for (const std::wstring& path : OutermostPaths(selection.paths))
        groups.AddSelected(path);
    groups.AssignTemporaryNames();
    if (groups.ExtractionCount() == 0)
        return;
    if (groups.HasClashes())
    {
        CClashDlg dialog(groups.ClashHeading(), groups.ClashDetails());
        dialog.ShowModal(parent.Hwnd());
        return;
    }

    std::vector<std::wstring> from;
    std::vector<std::wstring> to;
    Split(groups.Renames(), from, to);
    if (!RunShellOperation(FO_MOVE, from, to, FOF_ALLOWUNDO, nullptr).Succeeded())
        return;
    from.clear();
    to.clear();
    Split(groups.Moves(), from, to);
    if (!RunShellOperation(FO_MOVE, from, to, FOF_ALLOWUNDO, nullptr).Succeeded())
        return;
    // Only folders the moves left empty: whatever else is in one stays where the user can see it.
    std::vector<std::wstring> emptied;
    for (const std::wstring& folder : groups.Deletions())
        if (IsEmptyFolder(folder))
            emptied.push_back(folder);
    RunShellOperation(FO_DELETE, emptied, {}, FOF_ALLOWUNDO, nullptr);
}

std::wstring ExtractFolderCommand::GetHelpText() const
{
    return LoadStringResource(IDS_HELP_EXTRACT_FOLDER);
}
