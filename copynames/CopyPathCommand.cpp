#include "copynames/CopyPathCommand.h"

#include "copynames/ClipboardText.h"
#include "copynames/ItemFormat.h"
#include "copynames/ItemList.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

#include <shellapi.h>

namespace
{
// The shell deletes nothing longer than this.
constexpr size_t kMaxDeletablePath = 260;

// Sends the item to the Recycle Bin; the shell asks first and reports its own failures.
void DeleteToRecycleBin(std::wstring_view path)
{
    std::wstring source(path);
    source.append(2, L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    ::SHFileOperationW(&operation);
}
} // namespace

void CopyPathCommand::Invoke(const Selection& selection, KeyFlags keys, const CWindow&)
{
    // CTRL will open the copy options dialog; until it exists, CTRL copies like no key.
    const bool fullPaths = m_mode == kCopyNames && (keys & kShiftKey);
    ItemFormat format;
    format.MakeSimple(fullPaths ? ItemPartPath::kFullPath : ItemPartPath::kName);
    ItemList list;
    for (const std::wstring_view path : selection.paths)
        list.AddPath(path);
    list.Flatten();
    ClipboardText text;
    format.Format(list, text);
    if (!text.PutOnClipboard())
        return;

    if (m_mode == kCopyNameAndDelete && !selection.paths.empty() && selection.paths[0].size() <= kMaxDeletablePath)
        DeleteToRecycleBin(selection.paths[0]);
}

std::wstring CopyPathCommand::GetHelpText() const
{
    return LoadStringResource(m_mode == kCopyNameAndDelete ? IDS_HELP_COPY_FILENAME_AND_DELETE
                                                           : IDS_HELP_COPY_FILENAME);
}
