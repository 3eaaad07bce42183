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
