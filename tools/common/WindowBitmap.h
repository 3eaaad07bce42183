#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Saves what the windows show, frames included, as one 24-bit BMP file: each window at its place
// on the screen, on white. The test host photographs its open menus with it, the tests a dialog.
bool SaveWindowsBitmap(const std::vector<HWND>& windows, const std::wstring& path);
