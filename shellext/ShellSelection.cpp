#include "shellext/ShellSelection.h"

#include "copynames/ClipboardName.h"
#include "winsupport/LongPath.h"
#include "winsupport/PlainFolder.h"
#include "winsupport/UniqueHandle.h"
#include "winui/Clipboard.h"

#include <algorithm>
#include <string>

namespace
{
constexpr size_t kFolderTestLimit = 32;
} // namespace

bool ClipboardHoldsFileName()
{
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT))
        return false;
    const ClipboardSession clipboard(ClipboardWait::Never);
    if (!clipboard.IsOpen())
        return false;
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return false;
    const GlobalLockGuard lock(data);
    if (!lock.Data())
        return false;
    // The memory need not hold a terminator: never look past its size.
    return IsUsableFileName(static_cast<const wchar_t*>(lock.Data()), ::GlobalSize(data) / sizeof(wchar_t));
}

Selection SelectionOf(PathList paths)
{
    Selection selection{std::move(paths), false, false};
    selection.clipboardHasName = ClipboardHoldsFileName();
    const size_t tested = std::min(selection.paths.size(), kFolderTestLimit);
    for (size_t index = 0; index < tested && !selection.hasFolder; ++index)
        selection.hasFolder = IsPlainFolder(std::wstring(selection.paths[index]));
    return selection;
}

PathList ExpandShortNamesOf(const PathList& paths)
{
    const auto hasTilde = [](std::wstring_view path) { return path.find(L'~') != std::wstring_view::npos; };
    bool anyShortName = false;
    for (const std::wstring_view path : paths)
        anyShortName = anyShortName || hasTilde(path);
    if (!anyShortName)
        return paths;
    PathList expanded;
    for (const std::wstring_view path : paths)
        expanded.Append(hasTilde(path) ? ExpandShortNames(std::wstring(path)) : std::wstring(path));
    return expanded;
}
