#pragma once

#include <windows.h>

#include <string>

// A plain folder is a directory that is not a reparse point: the only kind the commands look
// into, move out of or delete. Links, junctions and placeholders are never followed.
bool IsPlainFolder(DWORD attributes) noexcept;
// The same for an existing path (read in its long-path form); false when it cannot be read.
bool IsPlainFolder(const std::wstring& path);
