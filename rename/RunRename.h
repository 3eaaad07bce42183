#pragma once

#include "rename/RenameProgress.h"

#include <windows.h>

// What Rename does: refuses with the problem summary, says nothing changes, or renames. Answers
// whether the dialog closes.
bool RunRename(RenameModel& model, HWND owner, RenameProgress& progress);
