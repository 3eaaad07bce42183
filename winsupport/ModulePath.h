#pragma once

#include <windows.h>

#include <string>

// The full path of a loaded module (null: the program); empty on failure. Install folders may lie
// deeper than 260 characters.
std::wstring ModulePath(HMODULE module);

// The full path of the module (DLL or program) that holds this code.
std::wstring OwnModulePath();
