#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The system colours of a dark high-contrast theme (black window, white text, cyan selection,
// yellow links) for this object's life; every program of the session sees them. The old colours
// come back at the end.
class HighContrastColours
{
  public:
    HighContrastColours();
    HighContrastColours(const HighContrastColours&) = delete;
    HighContrastColours& operator=(const HighContrastColours&) = delete;
    ~HighContrastColours();

    // False when the platform did not take the colours, or not for its own brushes.
    bool Applied() const noexcept { return m_applied; }

  private:
    std::vector<int> m_elements;
    std::vector<COLORREF> m_old;
    bool m_applied = false;
};

// What a window's client area shows, as it is on the screen now (children included).
struct ShownPixels
{
    // The most frequent colour: what the text stands on.
    COLORREF background = 0;
    int backgroundCount = 0;
    // Pixels far from the background in brightness: what a reader can tell apart from it.
    int contrastingCount = 0;
    int total = 0;
};
ShownPixels ReadShownPixels(HWND window);

// A child dialog: a page of a tab control.
bool IsPage(HWND window);
// Checks a page shown under the colours above: it stands on the system's window colour, and every
// control on it that holds text shows pixels that stand out from what the text is drawn on.
void ExpectReadablePage(HWND page, const std::string& what);
