#include "foldertools/ExtractFolderCommand.h"

#include "foldertools/ClashDlg.h"
#include "foldertools/ExtractionGroups.h"
#include "winsupport/FolderEnumerator.h"
#include "winsupport/Resources.h"
#include "winsupport/StringUtil.h"
#include "winui/ShellOperationUi.h"

#include <shellapi.h>

#include <unordered_set>

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
    FolderEnumerator entries(folder);
    return !entries.Next() && entries.ReadWhole();
}

// A folder selected together with a folder that holds it moves up with its holder; extracting
// both would move its contents out from under the second operation.
std::vector<std::wstring> OutermostPaths(const PathList& paths)
{
    // Each path's ancestors are looked up among the selected paths, upper-cased once: a
    // selection of many thousand items costs its depth per item, not the whole selection.
    std::unordered_set<std::wstring> selected;
    for (const std::wstring_view path : paths)
        selected.insert(ToUpperCase(path));
    std::vector<std::wstring> outermost;
    for (const std::wstring_view path : paths)
    {
        const std::wstring key = ToUpperCase(path);
        bool inside = false;
        for (size_t slash = key.find(L'\\'); slash != std::wstring::npos && !inside; slash = key.find(L'\\', slash + 1))
            inside = slash + 1 < key.size() && selected.count(key.substr(0, slash)) != 0;
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
    // The three operations run one after another: a path the shell cannot be given exactly, found
    // only at its turn, would leave the folders half extracted or under their temporary names.
    ShellOperationResult refused;
    refused.inexactPath = groups.InexactPath();
    if (!refused.inexactPath.empty())
    {
        ReportInexactPath(parent.Hwnd(), refused);
        return;
    }

    const auto run = [&](UINT operation, const std::vector<std::wstring>& from, const std::vector<std::wstring>& to) {
        const ShellOperationResult result = RunShellOperation(operation, from, to, FOF_ALLOWUNDO, nullptr);
        ReportInexactPath(parent.Hwnd(), result); // only if an item changed since it was checked
        return result.Succeeded();
    };
    std::vector<std::wstring> from;
    std::vector<std::wstring> to;
    Split(groups.Renames(), from, to);
    if (!run(FO_MOVE, from, to))
        return;
    from.clear();
    to.clear();
    Split(groups.Moves(), from, to);
    if (!run(FO_MOVE, from, to))
        return;
    // Only folders the moves left empty: whatever else is in one stays where the user can see it.
    std::vector<std::wstring> emptied;
    for (const std::wstring& folder : groups.Deletions())
        if (IsEmptyFolder(folder))
            emptied.push_back(folder);
    run(FO_DELETE, emptied, {});
}
