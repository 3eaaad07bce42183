#pragma once

#include <windows.h>

#include <vector>

// Told when the DPI of a dialog's window changes.
class ScreenDpiWatcher
{
  public:
    virtual void OnDpiChanged(UINT oldDpi, UINT newDpi) = 0;

  protected:
    ~ScreenDpiWatcher() = default;
};

// The DPI of one dialog's window, shared by the dialog, its layout and its size grip. Every pixel
// value of a dialog's design is in 96-DPI units and passes through here.
class ScreenDpi
{
  public:
    ScreenDpi() noexcept = default;
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;
    ~ScreenDpi() = default;

    // Re-reads the window's DPI; watchers hear of a change.
    void Update(HWND window);
    // The DPI that the system reported for the window (WM_DPICHANGED); watchers hear of a change.
    // From then on the reports are what counts: Update no longer asks.
    void SetReported(UINT dpi);
    void AddWatcher(ScreenDpiWatcher* watcher);
    void RemoveWatcher(ScreenDpiWatcher* watcher) noexcept;

    UINT Dpi() const noexcept { return m_dpi; }
    bool Resolved() const noexcept { return m_resolved; }
    // Values of 0 and below pass unchanged.
    int DipsToPixels(int value) const noexcept { return DipsToPixels(value, m_dpi); }
    int PixelsToDips(int value) const noexcept { return PixelsToDips(value, m_dpi); }
    static int DipsToPixels(int value, UINT dpi) noexcept;
    static int PixelsToDips(int value, UINT dpi) noexcept;

  private:
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);

    void Change(UINT dpi);

    UINT m_dpi = 96;
    std::vector<ScreenDpiWatcher*> m_watchers;
    bool m_resolved = false;
    bool m_reported = false;
    GetDpiForWindowProc m_getDpiForWindow = nullptr;
};
