#pragma once

#include "menuconfig/CommandType.h"

#include <string>

// What the configure program shows of a command: its menu text as the string table holds it
// (ampersand and "(s)" included) and the description of what it does. Unknown types read "Invalid".
std::wstring CommandMenuText(CommandType type);
std::wstring CommandDescription(CommandType type);
