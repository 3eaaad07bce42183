#pragma once

#include "menuconfig/MenuConfig.h"
#include "command/MenuItem.h"
#include "command/Selection.h"

#include <memory>
#include <string>

// The menu text of a type as the string table has it ("Copy &Filename(s)"); "Invalid" for 0 and
// empty for any other number outside 1 to 9.
std::wstring MenuText(CommandType type);

// False for a hidden entry; otherwise whether the command applies to the selection.
bool IsCommandVisible(const MenuEntry& entry, const Selection& selection);

// A new command object for the type, carrying its menu text; null outside 1 to 9.
std::unique_ptr<MenuItem> CreateCommand(CommandType type);
