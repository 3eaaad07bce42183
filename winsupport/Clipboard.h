#pragma once

#include <windows.h>

#include <string>

// Holds the clipboard open, with no owner window, for as long as it lives.
class ClipboardSession
{
  public:
    ClipboardSession() noexcept : m_open(::OpenClipboard(nullptr) != FALSE) {}
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession()
    {
        if (m_open)
            ::CloseClipboard();
    }
    bool IsOpen() const noexcept { return m_open; }

  private:
    bool m_open;
};

// The text of the open clipboard up to its first NUL, never read past the memory's end; empty
// when it holds no text.
std::wstring OpenClipboardText();
