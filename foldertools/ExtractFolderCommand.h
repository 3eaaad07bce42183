#pragma once

#include "command/MenuItem.h"

// Moves the contents of the selected folders up into their parents and removes the emptied folders.
class ExtractFolderCommand final : public MenuItem
{
  public:
    explicit ExtractFolderCommand(std::wstring text) : MenuItem(std::move(text)) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override { return CommandHelpText(CommandType::ExtractFolder); }
    int GetIconId() const override { return CommandIconId(CommandType::ExtractFolder); }
};
