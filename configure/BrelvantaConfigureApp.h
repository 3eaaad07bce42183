#pragma once

#include "menuconfig/MenuConfig.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <atomic>

// The configure program's run: one instance on the machine, the configuration read at start, the
// dialog, the end. A second start signals the first, whose watcher thread brings its window to the
// front, and ends at once.
class CBrelvantaConfigureApp
{
  public:
    CBrelvantaConfigureApp() = default;
    CBrelvantaConfigureApp(const CBrelvantaConfigureApp&) = delete;
    CBrelvantaConfigureApp& operator=(const CBrelvantaConfigureApp&) = delete;
    ~CBrelvantaConfigureApp();

    // The program's exit code.
    int Run();

  private:
    // False when another instance runs (it has been told to come to the front).
    bool BecomeTheInstance();
    static DWORD WINAPI Watch(void* self) noexcept;

    MenuConfig m_config;
    std::atomic<HWND> m_mainWindow{nullptr};
    UniqueKernelHandle m_instanceEvent;
    UniqueKernelHandle m_stopEvent;
    UniqueKernelHandle m_watcher;
};
