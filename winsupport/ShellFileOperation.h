#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The outcome of one shell file operation: it succeeded only when the call returned 0 and the user
// aborted nothing. When one of the paths could not be handed to the shell exactly, nothing was done
// and inexactPath names it.
struct ShellOperationResult
{
    int code = 0;
    bool aborted = false;
    std::wstring inexactPath;

    bool Succeeded() const noexcept { return code == 0 && !aborted && inexactPath.empty(); }
};

// Runs SHFileOperationW over the paths, each handed to the shell as ShellItemPath names it (each
// destination's folder likewise, its name as given): when any of them cannot be named exactly,
// nothing is done. With destinations, each source has its own (FOF_MULTIDESTFILES is added). An
// empty source list succeeds without a call.
ShellOperationResult RunShellOperation(UINT operation, const std::vector<std::wstring>& sources,
                                       const std::vector<std::wstring>& destinations, FILEOP_FLAGS flags, HWND owner);
