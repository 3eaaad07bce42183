#pragma once

#include <windows.h>

// A window object over a handle that someone else owns (the file manager's window): attaching
// and detaching never create or destroy the window. An empty object stands for "no window".
class CWindow
{
  public:
    CWindow() noexcept = default;
    explicit CWindow(HWND hwnd) noexcept : m_hwnd(hwnd) {}

    void Attach(HWND hwnd) noexcept { m_hwnd = hwnd; }
    HWND Detach() noexcept
    {
        const HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        return hwnd;
    }

    HWND Hwnd() const noexcept { return m_hwnd; }
    bool IsEmpty() const noexcept { return m_hwnd == nullptr; }

  private:
    HWND m_hwnd = nullptr;
};
