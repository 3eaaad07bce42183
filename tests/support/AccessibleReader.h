#pragma once

#include <windows.h>

#include <string>

// What a screen reader reads of a window's client area (child CHILDID_SELF) or of one of its
// items, through the platform's accessibility client API. An answer that failed stays empty.
struct AccessibleRead
{
    bool found = false; // the window gave an accessible object
    std::wstring name;
    std::wstring value;
    std::wstring description;
    long role = 0;
    long state = 0;
};
AccessibleRead ReadAccessible(HWND window, long child = CHILDID_SELF);

// The first text a tooltip of the thread holds for this tool window: what a user reads on hover.
std::wstring TipOf(HWND tool);
