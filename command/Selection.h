#pragma once

#include "command/PathList.h"

// What the user selected when the menu opened.
struct Selection
{
    PathList paths;                // full paths in the shell's order; short names expanded before a command runs
    bool clipboardHasName = false; // the clipboard held text usable as a file name
    bool hasFolder = false;        // one of the first 32 paths is a folder (not a link)
};

// The keys held when the command was chosen.
using KeyFlags = unsigned int;
inline constexpr KeyFlags kShiftKey = 1;
inline constexpr KeyFlags kControlKey = 2;
