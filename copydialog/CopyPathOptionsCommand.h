#pragma once

#include "command/MenuItem.h"

// Opens the copy options dialog on the selection.
class CopyPathOptionsCommand final : public MenuItem
{
  public:
    explicit CopyPathOptionsCommand(std::wstring text) : MenuItem(std::move(text)) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override { return CommandHelpText(CommandType::CopyFilenameWithOptions); }
    int GetIconId() const override { return CommandIconId(CommandType::CopyFilenameWithOptions); }
};
