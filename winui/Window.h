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

// A window that was given and has been destroyed since. No window at all is not gone.
inline bool IsGone(HWND window) noexcept
{
    return window && !::IsWindow(window);
}

// Keeps a window disabled for as long as it lives, as a modal dialog would its owner. A window
// that was disabled already is left as it was.
class DisabledWindow
{
  public:
    explicit DisabledWindow(HWND window) noexcept : m_window(window && ::IsWindowEnabled(window) ? window : nullptr)
    {
        if (m_window)
            ::EnableWindow(m_window, FALSE);
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;
    ~DisabledWindow()
    {
        if (m_window && ::IsWindow(m_window))
            ::EnableWindow(m_window, TRUE);
    }

  private:
    HWND m_window;
};
