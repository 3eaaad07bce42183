#pragma once

#include "winsupport/ShellFileOperation.h"

#include <windows.h>

#include <string>
#include <vector>

// Sends the items to the Recycle Bin in one operation, with the shell's own confirmation, under the
// wait cursor. Nothing happens for an empty list.
ShellOperationResult DeleteToRecycleBin(const std::vector<std::wstring>& paths, HWND owner);

// Tells the user, in a message box on owner, that the item of result.inexactPath was left as it is;
// nothing when the operation was not refused for that.
void ReportInexactPath(HWND owner, const ShellOperationResult& result);
