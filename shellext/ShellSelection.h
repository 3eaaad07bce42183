#pragma once

#include "command/Selection.h"

// Whether the clipboard holds text usable as a file name; never waits for the clipboard.
bool ClipboardHoldsFileName();

// The selection of these paths with its two flags worked out: the clipboard's, and whether one of
// the first 32 paths is a plain folder.
Selection SelectionOf(PathList paths);

// The paths with their short names expanded. Only paths with a tilde can hold one; the list is
// kept as it is (and its view of the caller's memory) when none has.
PathList ExpandShortNamesOf(const PathList& paths);
