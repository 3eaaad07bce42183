#include "winui/ShellOperationUi.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winui/Dialog.h"
#include "winui/WindowHandles.h"

#include <shellapi.h>

ShellOperationResult DeleteToRecycleBin(const std::vector<std::wstring>& paths, HWND owner)
{
    if (paths.empty())
        return {};
    const WaitCursor wait;
    return RunShellOperation(FO_DELETE, paths, {}, FOF_ALLOWUNDO, owner);
}

void ReportInexactPath(HWND owner, const ShellOperationResult& result)
{
    if (result.inexactPath.empty())
        return;
    const std::wstring text = FormatStringResource(IDS_SHELL_INEXACT_PATH, {result.inexactPath});
    const std::wstring title = LoadStringResource(IDS_SHELL_INEXACT_PATH_TITLE);
    ShowMessage(owner, text, title, MessageKind::Warning);
}
