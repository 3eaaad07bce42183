#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

// The module whose resources (strings, dialogs, icons) the product's code loads: the DLL itself,
// the configure program, or a test executable that links the same resources.
HINSTANCE ResourceModule() noexcept;
void SetResourceModule(HINSTANCE module) noexcept;

// A string of the string table; empty when there is none.
std::wstring LoadStringResource(UINT id);

// A string of the string table with its text inserts %1, %2 ... filled by the platform's message
// formatting. An insert may hold any text, % signs included; inserts not given are empty.
std::wstring FormatStringResource(UINT id, std::initializer_list<std::wstring_view> inserts);
// The same with one number insert (%1!d!).
std::wstring FormatStringResource(UINT id, int number);
// The same with two number inserts (%1!d!, %2!d!).
std::wstring FormatStringResource(UINT id, int first, int second);
