#include "winsupport/CallbackErrors.h"

#include <cstdio>
#include <exception>
#include <iterator>

void ReportCallbackException(const wchar_t* window, int id, UINT message) noexcept
{
    const char* what = "unknown exception";
    try
    {
        throw;
    }
    catch (const std::exception& error)
    {
        what = error.what();
    }
    catch (...)
    {
    }
    // Fixed buffers: the report must not fail for want of memory.
    wchar_t text[400] = L"";
    ::MultiByteToWideChar(CP_UTF8, 0, what, -1, text, static_cast<int>(std::size(text)) - 1);
    wchar_t line[512];
    std::swprintf(line, std::size(line), L"Brelvanta: %ls %d dropped message 0x%04X: %ls\n", window, id, message, text);
    ::OutputDebugStringW(line);
}
