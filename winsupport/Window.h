#pragma once

#include <windows.h>

#include <string>

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

    RECT WindowRect() const noexcept
    {
        RECT rect{};
        ::GetWindowRect(m_hwnd, &rect);
        return rect;
    }
    RECT ClientRect() const noexcept
    {
        RECT rect{};
        ::GetClientRect(m_hwnd, &rect);
        return rect;
    }
    std::wstring Text() const;
    void SetText(const std::wstring& text) const noexcept { ::SetWindowTextW(m_hwnd, text.c_str()); }
    void Show(int command) const noexcept { ::ShowWindow(m_hwnd, command); }
    void Enable(bool enable) const noexcept { ::EnableWindow(m_hwnd, enable); }

  private:
    HWND m_hwnd = nullptr;
};

// The text of any window: length first, then the text, again when it grew in between.
std::wstring GetWindowTextString(HWND window);
