#pragma once

#include <unknwn.h>

#include <utility>

// Owns one reference to a COM object.
template <typename T> class ComPtr
{
  public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr& other) noexcept : m_pointer(other.m_pointer) { AddRef(); }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already holds.
    static ComPtr Attach(T* pointer) noexcept
    {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }

    T* Get() const noexcept { return m_pointer; }
    T* operator->() const noexcept { return m_pointer; }
    explicit operator bool() const noexcept { return m_pointer != nullptr; }

    void Reset() noexcept
    {
        if (T* pointer = std::exchange(m_pointer, nullptr))
            pointer->Release();
    }

    // For out parameters (IID_PPV_ARGS): releases what is held and hands out the slot.
    T** Put() noexcept
    {
        Reset();
        return &m_pointer;
    }

    template <typename U> ComPtr<U> As() const noexcept
    {
        ComPtr<U> result;
        if (m_pointer)
            m_pointer->QueryInterface(IID_PPV_ARGS(result.Put()));
        return result;
    }

  private:
    void AddRef() noexcept
    {
        if (m_pointer)
            m_pointer->AddRef();
    }

    T* m_pointer = nullptr;
};
