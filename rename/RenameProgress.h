#pragma once

#include "rename/RenameModel.h"

#include <windows.h>

#include <string>
#include <vector>

// Carries out the renames.
class RenameProgress
{
  public:
    virtual ~RenameProgress() = default;
    virtual void Begin() = 0;
    virtual bool IsCancelled() = 0;
    virtual void Perform(HWND owner, const std::vector<RenameItem*>& items) = 0;
};

// Renames through one undoable shell move of all items; the shell shows the progress.
class RenameProgressDlg final : public RenameProgress
{
  public:
    void Begin() override {}
    bool IsCancelled() override { return false; }
    void Perform(HWND owner, const std::vector<RenameItem*>& items) override;
};

// The items to rename, deepest folders first, each folder in its resolved order; unchanged names left out.
std::vector<RenameItem*> PlanRenames(const RenameModel& model);

// The sources and the destinations of the shell move: full paths, each ended by a NUL, one more NUL at the end.
struct MoveLists
{
    std::wstring sources;
    std::wstring destinations;
};
MoveLists BuildMoveLists(const std::vector<RenameItem*>& items);
