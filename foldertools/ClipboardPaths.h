#pragma once

#include <string>
#include <vector>

// Clipboard text of a list of paths: CR LF between them, and after the last one too when there are
// two or more; a single path has no line break.
std::wstring ClipboardPathText(const std::vector<std::wstring>& paths);
// Puts the text on the clipboard as CF_UNICODETEXT; false when the clipboard cannot be had.
bool PutClipboardText(const std::wstring& text);
