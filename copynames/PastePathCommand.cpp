#include "copynames/PastePathCommand.h"

#include "copynames/ClipboardName.h"
#include "resources/resource.h"
#include "winsupport/LongPath.h"
#include "winsupport/Resources.h"
#include "winui/Clipboard.h"
#include "winui/ShellOperationUi.h"

#include <shellapi.h>

namespace
{
// The shell renames nothing longer than this, nor to anything longer.
constexpr size_t kMaxRenamePath = 260;

} // namespace

std::wstring PastedName(std::wstring_view itemPath, std::wstring_view clipboardText, PastePathCommand::Mode mode)
{
    std::wstring name(clipboardText);
    if (mode != PastePathCommand::kPasteNameKeepExtension)
        return name;
    const size_t textDot = name.rfind(L'.');
    if (textDot != std::wstring::npos)
        name.erase(textDot);
    const size_t dot = itemPath.rfind(L'.');
    const size_t slash = itemPath.rfind(L'\\');
    if (dot != std::wstring_view::npos && (slash == std::wstring_view::npos || dot > slash))
        name.append(itemPath.substr(dot));
    return name;
}

void PastePathCommand::Invoke(const Selection& selection, KeyFlags, const CWindow& parent)
{
    if (selection.paths.empty())
        return;
    // Read and closed at once: no other program waits for the clipboard while the shell works.
    const std::wstring text = ReadClipboardText();
    // The menu showed this command for a usable name, but the clipboard may have changed since.
    if (!IsUsableFileName(text))
        return;

    const std::wstring_view path = selection.paths[0];
    const size_t slash = path.rfind(L'\\');
    if (path.size() > kMaxRenamePath || slash == std::wstring_view::npos)
        return;
    const std::wstring name = PastedName(path, text, m_mode);
    std::wstring target(path.substr(0, slash + 1));
    target += name;
    if (target.size() > kMaxRenamePath || !IsUsableFileName(name) || !IsFreeRenameTarget(path, target))
        return;
    // The shell handles errors and lets the user undo the rename.
    ReportInexactPath(parent.Hwnd(),
                      RunShellOperation(FO_MOVE, {std::wstring(path)}, {target}, FOF_ALLOWUNDO, nullptr));
}

bool IsFreeRenameTarget(std::wstring_view itemPath, const std::wstring& target)
{
    if (target == itemPath)
        return false; // nothing to do
    // The item itself under another case: a rename of its case only.
    if (::CompareStringOrdinal(target.data(), static_cast<int>(target.size()), itemPath.data(),
                               static_cast<int>(itemPath.size()), TRUE) == CSTR_EQUAL)
        return true;
    // Anything else there would be replaced, or would take the item in: only a name nobody holds.
    if (::GetFileAttributesW(ToLongPath(target).c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
