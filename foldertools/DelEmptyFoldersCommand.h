#pragma once

#include "command/MenuItem.h"

// Finds the empty folders below the selected folders and deletes them.
class DelEmptyFoldersCommand final : public MenuItem
{
  public:
    explicit DelEmptyFoldersCommand(std::wstring text) : MenuItem(std::move(text)) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override { return CommandHelpText(CommandType::DeleteEmptyFolders); }
    int GetIconId() const override { return CommandIconId(CommandType::DeleteEmptyFolders); }
};
