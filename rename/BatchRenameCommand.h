#pragma once

#include "command/MenuItem.h"

// Renames the selected items together in the Multi Rename dialog.
class BatchRenameCommand final : public MenuItem
{
  public:
    explicit BatchRenameCommand(std::wstring text) : MenuItem(std::move(text)) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override { return CommandHelpText(CommandType::MultiRename); }
    int GetIconId() const override { return CommandIconId(CommandType::MultiRename); }
};
