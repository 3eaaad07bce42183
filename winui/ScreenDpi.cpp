#include "winui/ScreenDpi.h"

#include <algorithm>

int ScreenDpi::DipsToPixels(int value, UINT dpi) noexcept
{
    if (value <= 0)
        return value;
    return static_cast<int>((static_cast<long long>(value) * dpi + 48) / 96);
}

int ScreenDpi::PixelsToDips(int value, UINT dpi) noexcept
{
    if (value <= 0 || dpi == 0)
        return value;
    return static_cast<int>((static_cast<long long>(value) * 96 + dpi / 2) / dpi);
}

void ScreenDpi::Update(HWND window)
{
    if (!m_resolved)
    {
        m_resolved = true;
        // Newer platforms only; user32 itself is loaded in every process that shows our windows.
        m_getDpiForWindow = reinterpret_cast<GetDpiForWindowProc>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
        if (!m_getDpiForWindow)
        {
            if (const HDC screen = ::GetDC(nullptr))
            {
                m_dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSY));
                ::ReleaseDC(nullptr, screen);
            }
        }
    }
    if (!m_getDpiForWindow || m_reported)
        return;
    Change(m_getDpiForWindow(window));
}

void ScreenDpi::SetReported(UINT dpi)
{
    m_resolved = true;
    m_reported = true;
    Change(dpi);
}

void ScreenDpi::Change(UINT dpi)
{
    if (dpi == 0 || dpi == m_dpi)
        return;
    const UINT old = m_dpi;
    m_dpi = dpi;
    // A watcher may unregister while it is told: walk a copy.
    const std::vector<ScreenDpiWatcher*> watchers = m_watchers;
    for (ScreenDpiWatcher* watcher : watchers)
        watcher->OnDpiChanged(old, dpi);
}

void ScreenDpi::AddWatcher(ScreenDpiWatcher* watcher)
{
    m_watchers.push_back(watcher);
}

void ScreenDpi::RemoveWatcher(ScreenDpiWatcher* watcher) noexcept
{
    m_watchers.erase(std::remove(m_watchers.begin(), m_watchers.end(), watcher), m_watchers.end());
}
