#pragma once

#include <string>

// Puts text on the clipboard (null: empties it).
void SetClipboardText(const wchar_t* text);
// The clipboard's text; empty when it holds none.
std::wstring ClipboardTextNow();
