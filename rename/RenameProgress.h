#pragma once

#include "rename/RenameModel.h"
#include "winsupport/ShellFileOperation.h"

#include <windows.h>

#include <string>
#include <vector>

// How far the renames of a list went: its first `renamed` items are at their new names. When they
// stopped, the next item is the one that could not be renamed, and none after it was tried.
struct RenameOutcome
{
    enum class Stop
    {
        None,        // every item was renamed
        Refused,     // nothing was tried: shell.inexactPath cannot be given to the shell exactly
        TargetTaken, // something on disk answers to the next item's new name
        Failed,      // the next item did not land at its new name
    };
    Stop stop = Stop::None;
    size_t renamed = 0;
    ShellOperationResult shell; // of the last move tried
};

// Carries out the renames.
class RenameProgress
{
  public:
    virtual ~RenameProgress() = default;
    virtual void Begin() = 0;
    virtual RenameOutcome Perform(HWND owner, const std::vector<RenameItem*>& items) = 0;
};

// Renames the items one after the other, each through its own undoable shell move (the shell shows
// the progress), and stops at the first that cannot land, so that no rename lands on a name that was
// never freed. Nothing is overwritten.
class RenameProgressDlg final : public RenameProgress
{
  public:
    void Begin() override {}
    RenameOutcome Perform(HWND owner, const std::vector<RenameItem*>& items) override;
};

// The items to rename, deepest folders first, each folder in its resolved order; unchanged names left out.
std::vector<RenameItem*> PlanRenames(const RenameModel& model);

// What the user is told when the renames of the list stopped part-way: where and why, then which
// files were renamed and which were not.
std::wstring StoppedMessage(const std::vector<RenameItem*>& items, const RenameOutcome& outcome);
