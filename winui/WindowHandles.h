#pragma once

// Owners of what the window system and GDI hand out: bitmaps, menus, windows, device contexts,
// fonts, icons, image lists, and the wait cursor.

#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <commctrl.h>

struct HbitmapTraits
{
    using Type = HBITMAP;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::DeleteObject(handle); }
};

struct HmenuTraits
{
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::DestroyMenu(handle); }
};

using UniqueHbitmap = UniqueHandle<HbitmapTraits>;
using UniqueHmenu = UniqueHandle<HmenuTraits>;

struct WindowTraits
{
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type window) noexcept { ::DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

struct MemoryDcTraits
{
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type dc) noexcept { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct GdiObjectTraits
{
    using Type = HGDIOBJ;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type object) noexcept { ::DeleteObject(object); }
};

struct HfontTraits
{
    using Type = HFONT;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type font) noexcept { ::DeleteObject(font); }
};

struct HiconTraits
{
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type icon) noexcept { ::DestroyIcon(icon); }
};

struct HimagelistTraits
{
    using Type = HIMAGELIST;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type list) noexcept { ::ImageList_Destroy(list); }
};

using UniqueGdiObject = UniqueHandle<GdiObjectTraits>; // brushes, pens, regions
using UniqueHfont = UniqueHandle<HfontTraits>;
using UniqueHicon = UniqueHandle<HiconTraits>;
using UniqueHimagelist = UniqueHandle<HimagelistTraits>;

// A window's device context from GetDC, released with the window it came from.
class WindowDc
{
  public:
    explicit WindowDc(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    HDC Get() const noexcept { return m_dc; }

  private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a device context and puts the previous one back when it goes.
class SelectObjectGuard
{
  public:
    SelectObjectGuard(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;
    ~SelectObjectGuard()
    {
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
    }

  private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Shows the wait cursor while it lives.
class WaitCursor
{
  public:
    WaitCursor() noexcept : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ::SetCursor(m_previous); }

  private:
    HCURSOR m_previous;
};
