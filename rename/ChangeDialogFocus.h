#pragma once

#include <windows.h>

// After controls were disabled: when the focus sat on one of them (or nowhere), it goes to OK.
void KeepFocusUsable(HWND dialog) noexcept;

// An edit box's text read as a decimal number; empty or non-numeric text reads as 0.
long long ReadDecimal(HWND dialog, int id);
