#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The outcome of one shell file operation: it succeeded only when the call returned 0 and the user
// aborted nothing.
struct ShellOperationResult
{
    int code = 0;
    bool aborted = false;

    bool Succeeded() const noexcept { return code == 0 && !aborted; }
};

// Runs SHFileOperationW over the paths (double-NUL-terminated lists). With destinations, each
// source has its own destination (FOF_MULTIDESTFILES is added). An empty list succeeds without a call.
ShellOperationResult RunShellOperation(UINT operation, const std::vector<std::wstring>& sources,
                                       const std::vector<std::wstring>& destinations, FILEOP_FLAGS flags, HWND owner);

// Sends the folders to the Recycle Bin in one operation, with the shell's own confirmation, under the
// wait cursor. Nothing happens for an empty list.
void DeleteFoldersToRecycleBin(const std::vector<std::wstring>& folders, HWND owner);
