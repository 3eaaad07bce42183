#include "copynames/CopyPathCommand.h"

#include "copynames/ClipboardText.h"
#include "copynames/ItemFormat.h"
#include "copynames/ItemList.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winui/Clipboard.h"
#include "winui/ShellOperationUi.h"

namespace
{
// The shell deletes nothing longer than this.
constexpr size_t kMaxDeletablePath = 260;
} // namespace

void CopyPathCommand::Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent)
{
    // CTRL wins over SHIFT: the options dialog opens instead.
    if (m_mode == kCopyNames && (keys & kControlKey) && m_withOptions)
    {
        m_withOptions->Invoke(selection, keys, parent);
        return;
    }
    const bool fullPaths = m_mode == kCopyNames && (keys & kShiftKey);
    ItemFormat format;
    format.MakeSimple(fullPaths ? ItemPartPath::kFullPath : ItemPartPath::kName);
    ItemList list;
    for (const std::wstring_view path : selection.paths)
        list.AddPath(path);
    list.Flatten();
    ClipboardText text;
    format.Format(list, text);
    if (!PutClipboardText(text.Text()))
        return;

    if (m_mode == kCopyNameAndDelete && !selection.paths.empty() && selection.paths[0].size() <= kMaxDeletablePath)
        ReportInexactPath(parent.Hwnd(), DeleteToRecycleBin({std::wstring(selection.paths[0])}, nullptr));
    // Otherwise the shell asks first and reports its own failures.
}
