#pragma once

#include <cstddef>

// Whether text can serve as a file name: 1 to 259 characters up to the first NUL (or the end of
// the memory), none of them a control character or one of " * / : < > ? \ |.
bool IsUsableFileName(const wchar_t* text, size_t available);
