#pragma once

#include "copynames/ClipboardText.h"

#include <string>
#include <vector>

// The paths as the copy commands write names: one per line, with a line break after the last of
// two or more; a single path has none.
ClipboardText ClipboardPathText(const std::vector<std::wstring>& paths);
