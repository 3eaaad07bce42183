#pragma once

#include "command/MenuItem.h"

// Starts the configure program, which lies in the same folder as this library.
class RunConfigureCommand final : public MenuItem
{
  public:
    explicit RunConfigureCommand(std::wstring text) : MenuItem(std::move(text)) {}

    void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) override;
    std::wstring GetHelpText() const override { return CommandHelpText(CommandType::Configure); }
    int GetIconId() const override { return CommandIconId(CommandType::Configure); }
};
