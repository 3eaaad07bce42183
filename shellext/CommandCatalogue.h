#pragma once

#include "menuconfig/MenuConfig.h"
#include "command/MenuItem.h"
#include "command/Selection.h"

#include <memory>
#include <string>

// False for a hidden entry; otherwise whether the command applies to the selection.
bool IsCommandVisible(const MenuEntry& entry, const Selection& selection);

// A new command object for the type, carrying its menu text; null outside 1 to 9.
std::unique_ptr<MenuItem> CreateCommand(CommandType type);
