#pragma once

#include <windows.h>

// The count of what keeps the library loaded: every live handler, a class factory that a caller
// holds, and each LockServer(TRUE) not yet undone. Process-wide.
LONG LockServer() noexcept;
LONG UnlockServer() noexcept;
LONG ServerLockCount() noexcept;

// Holds one lock on the server for as long as it lives.
class ServerLockHolder
{
  public:
    ServerLockHolder() noexcept { LockServer(); }
    ServerLockHolder(const ServerLockHolder&) = delete;
    ServerLockHolder& operator=(const ServerLockHolder&) = delete;
    ~ServerLockHolder() { UnlockServer(); }
};
