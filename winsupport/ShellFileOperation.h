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

// Paths as the shell's file operation takes them: each ended by a NUL, one more NUL after the last.
std::wstring ShellPathList(const std::vector<std::wstring>& paths);

// Runs SHFileOperationW on lists made as ShellPathList makes them. With a non-empty destination
// list, each source has its own destination (FOF_MULTIDESTFILES is added). An empty source list
// succeeds without a call.
ShellOperationResult RunShellOperationOnLists(UINT operation, const std::wstring& from, const std::wstring& to,
                                              FILEOP_FLAGS flags, HWND owner);

// The same over the paths themselves.
ShellOperationResult RunShellOperation(UINT operation, const std::vector<std::wstring>& sources,
                                       const std::vector<std::wstring>& destinations, FILEOP_FLAGS flags, HWND owner);

// Sends the items to the Recycle Bin in one operation, with the shell's own confirmation, under the
// wait cursor. Nothing happens for an empty list.
ShellOperationResult DeleteToRecycleBin(const std::vector<std::wstring>& paths, HWND owner);
