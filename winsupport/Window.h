#pragma once

#include <windows.h>

#include <string>

// A window object over a handle that someone else owns (the file manager's window): wrapping
// and detaching never create or destroy the window. An empty object stands for "no window".
class CWindow
{
  public:
    CWindow() noexcept = default;
    explicit CWindow(HWND hwnd) noexcept : m_hwnd(hwnd) {}

    HWND Detach() noexcept
    {
        const HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        return hwnd;
    }
    HWND Hwnd() const noexcept { return m_hwnd; }

  private:
    HWND m_hwnd = nullptr;
};

// The text of any window: length first, then the text, again when it grew in between.
std::wstring GetWindowTextString(HWND window);
