#pragma once

#include "rename/RenameProgress.h"

#include <windows.h>

// What Rename came to, and so what the dialog does next.
enum class RenameEnd
{
    Refused,       // a problem was shown and nothing was tried: the names stay for the user to mend
    NoneRenamed,   // the first rename could not be made: the disk is as it was, something is in the way
    PartlyRenamed, // the renames stopped part-way: some files have their new names, the rest not
    Done,          // every rename was made, or none was needed
};

// What Rename does: refuses with the problem summary, says nothing changes, or renames, telling the
// user where and why the renames stopped if they did.
RenameEnd RunRename(RenameModel& model, HWND owner, RenameProgress& progress);
