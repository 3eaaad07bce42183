#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>

class CClassFactory;

// The server's module object, one per process: the lock count that decides whether the library
// may be unloaded (the server lock's), and a class factory for each creatable class, made on first
// request and cached.
class CBrelvantaModule
{
  public:
    static constexpr size_t kClassCount = 2;

    CBrelvantaModule() noexcept;
    CBrelvantaModule(const CBrelvantaModule&) = delete;
    CBrelvantaModule& operator=(const CBrelvantaModule&) = delete;
    virtual ~CBrelvantaModule();

    virtual LONG Lock() noexcept;
    virtual LONG Unlock() noexcept;
    virtual LONG GetLockCount() const noexcept;

    // What DllCanUnloadNow answers: no lock is held and no dialog of ours is alive (a command's
    // dialog runs in a nested message loop, and its code must stay loaded while it lives).
    bool CanUnload() const noexcept;

    // What DllGetClassObject answers.
    [[nodiscard]] HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) noexcept;

  private:
    CRITICAL_SECTION m_factoryGuard{};
    bool m_initialised = false;
    std::atomic<CClassFactory*> m_factories[kClassCount]{};
};

CBrelvantaModule& Module() noexcept;
