#pragma once

#include <windows.h>

// The version of Windows that runs this process, as ntdll reports it: a host's manifest cannot
// hide it, as it can from GetVersionEx. Read once; all zero when it cannot be read.
const RTL_OSVERSIONINFOW& PlatformVersion() noexcept;
