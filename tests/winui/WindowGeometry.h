#pragma once

#include <windows.h>

// Where windows are, as the framework tests measure them.
inline SIZE OuterSize(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// A child window's rectangle in its dialog's client coordinates.
inline RECT ChildRect(HWND dialog, HWND child)
{
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline RECT ChildRect(HWND dialog, int id)
{
    return ChildRect(dialog, ::GetDlgItem(dialog, id));
}
