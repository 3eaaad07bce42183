#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// The module whose resources (strings, dialogs, icons) the product's code loads: the DLL itself,
// the configure program, or a test executable that links the same resources.
HINSTANCE ResourceModule() noexcept;
void SetResourceModule(HINSTANCE module) noexcept;

// A string of the string table; empty when there is none.
std::wstring LoadStringResource(UINT id);

// A string of the string table with its inserts filled in (%1, %2 as text; %1!d! as a number).
std::wstring FormatStringResource(UINT id, std::initializer_list<std::wstring> inserts);
std::wstring FormatStringResource(UINT id, int number);
