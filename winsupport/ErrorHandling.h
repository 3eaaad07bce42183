#pragma once

#include <windows.h>

#include <new>
#include <stdexcept>

// An HRESULT carried as an exception inside the product; converted back at the COM boundary.
class HResultError : public std::runtime_error
{
  public:
    explicit HResultError(HRESULT code) : std::runtime_error("HRESULT failure"), m_code(code) {}
    HRESULT Code() const noexcept { return m_code; }

  private:
    HRESULT m_code;
};

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
    catch (const HResultError& error)
    {
        return error.Code();
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

#define RETURN_IF_FAILED(expression)                                                                                   \
    do                                                                                                                 \
    {                                                                                                                  \
        const HRESULT hrReturnIfFailed = (expression);                                                                 \
        if (FAILED(hrReturnIfFailed))                                                                                  \
            return hrReturnIfFailed;                                                                                   \
    } while (false)
