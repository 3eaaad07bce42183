#pragma once

#include <cstddef>
#include <string_view>

// Whether text can serve as the new name of an item in its folder: 1 to 259 characters up to the
// first NUL (or the end of the memory), none of them a control character or one of
// " * / : < > ? \ |; not "." or "..", not ending in a dot or a space, and not a device name (CON,
// PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with or without an extension).
bool IsUsableFileName(const wchar_t* text, size_t available);
bool IsUsableFileName(std::wstring_view name);
