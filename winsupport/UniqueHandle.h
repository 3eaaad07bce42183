#pragma once

#include <windows.h>

#include <utility>

// Owns one handle of the kind its traits describe; move-only. Traits give the invalid value and the close call.
template <typename Traits> class UniqueHandle
{
  public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    [[nodiscard]] Type Get() const noexcept { return m_handle; }
    [[nodiscard]] bool IsValid() const noexcept { return m_handle != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Closes the held handle; the last error survives so that a caller can still report it.
    void Reset(Type handle = Traits::Invalid()) noexcept
    {
        if (IsValid())
        {
            const DWORD error = ::GetLastError();
            Traits::Close(m_handle);
            ::SetLastError(error);
        }
        m_handle = handle;
    }

    [[nodiscard]] Type Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

    // For out parameters: closes what is held and hands out the slot.
    [[nodiscard]] Type* Put() noexcept
    {
        Reset();
        return &m_handle;
    }

  private:
    Type m_handle = Traits::Invalid();
};

struct FileHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

struct KernelHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

struct FindHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { ::FindClose(handle); }
};

struct HkeyTraits
{
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::RegCloseKey(handle); }
};

struct HglobalTraits
{
    using Type = HGLOBAL;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::GlobalFree(handle); }
};

struct HmoduleTraits
{
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type module) noexcept { ::FreeLibrary(module); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;           // CreateFileW
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>; // events, threads, processes
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueHkey = UniqueHandle<HkeyTraits>;
using UniqueHglobal = UniqueHandle<HglobalTraits>;
using UniqueHmodule = UniqueHandle<HmoduleTraits>; // LoadLibraryExW

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

struct CoTaskMemTraits
{
    using Type = void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type memory) noexcept { ::CoTaskMemFree(memory); }
};
using UniqueCoTaskMem = UniqueHandle<CoTaskMemTraits>;

struct LocalMemTraits
{
    using Type = HLOCAL;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type memory) noexcept { ::LocalFree(memory); }
};
using UniqueLocal = UniqueHandle<LocalMemTraits>;

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

// Holds a lock on global memory for as long as it lives.
class GlobalLockGuard
{
  public:
    explicit GlobalLockGuard(HGLOBAL memory) noexcept : m_memory(memory), m_data(::GlobalLock(memory)) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard()
    {
        if (m_data)
            ::GlobalUnlock(m_memory);
    }
    void* Data() const noexcept { return m_data; }

  private:
    HGLOBAL m_memory;
    void* m_data;
};

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

using UniqueGdiObject = UniqueHandle<GdiObjectTraits>; // brushes, pens, regions
using UniqueHfont = UniqueHandle<HfontTraits>;
using UniqueHicon = UniqueHandle<HiconTraits>;

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
