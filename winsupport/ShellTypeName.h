#pragma once

#include <string>

// The shell's name for the type of a file or folder of this name ("Text Document", "Folder"),
// judged by the name alone: nothing is read from the disk. Empty when the shell has none.
std::wstring ShellTypeName(const std::wstring& name, bool folder);
