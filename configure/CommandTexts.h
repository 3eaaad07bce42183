#pragma once

#include "menuconfig/CommandType.h"

#include <string>

// What the configure program says a command does; unknown types read "Invalid". The menu text is
// CommandMenuText, shared with the menu.
std::wstring CommandDescription(CommandType type);
