#pragma once

#include <windows.h>

#include <new>

// The conversion at every COM entry point: nothing escapes into the host.
inline HRESULT ResultFromCaughtException() noexcept
{
    try
    {
        throw;
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    catch (...)
    {
        return E_UNEXPECTED;
    }
}

// Ends a function-try-block of a COM entry point.
#define CATCH_RETURN()                                                                                                 \
    catch (...)                                                                                                        \
    {                                                                                                                  \
        return ResultFromCaughtException();                                                                            \
    }
