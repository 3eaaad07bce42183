#pragma once

#include <windows.h>

#include <string>

// The module whose resources (strings, dialogs, icons) the product's code loads: the DLL itself,
// the configure program, or a test executable that links the same resources.
HINSTANCE ResourceModule() noexcept;
void SetResourceModule(HINSTANCE module) noexcept;

// A string of the string table; empty when there is none.
std::wstring LoadStringResource(UINT id);
