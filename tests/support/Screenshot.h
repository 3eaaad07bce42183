#pragma once

#include <windows.h>

#include <string>

// Saves what a window shows, frame and caption included, as a 24-bit BMP file.
bool SaveWindowBmp(HWND window, const std::wstring& path);
