#include "shellext/ServerLock.h"

#include <atomic>

namespace
{
std::atomic<LONG> g_lockCount{0};
}

LONG LockServer() noexcept
{
    return ++g_lockCount;
}

LONG UnlockServer() noexcept
{
    return --g_lockCount;
}

LONG ServerLockCount() noexcept
{
    return g_lockCount.load();
}
