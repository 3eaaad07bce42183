#pragma once

#include <windows.h>

#include <string>

// Collects what the process writes as debug output while it lives. OutputDebugString raises an
// exception that a debugger would take; a vectored handler sees it first, and lets it go on.
class DebugOutputCapture
{
  public:
    DebugOutputCapture() noexcept
    {
        s_current = this;
        m_handler = ::AddVectoredExceptionHandler(1, &Handler);
    }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    ~DebugOutputCapture()
    {
        ::RemoveVectoredExceptionHandler(m_handler);
        s_current = nullptr;
    }

    const std::string& Text() const noexcept { return m_text; }
    bool Contains(const std::string& part) const { return m_text.find(part) != std::string::npos; }

  private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* exception) noexcept
    {
        constexpr DWORD kPrint = 0x40010006;     // DBG_PRINTEXCEPTION_C: length, text
        constexpr DWORD kPrintWide = 0x4001000A; // DBG_PRINTEXCEPTION_WIDE_C: the wide text, then as above
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        if (s_current && record.ExceptionCode == kPrint && record.NumberParameters >= 2)
            s_current->m_text += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        if (s_current && record.ExceptionCode == kPrintWide && record.NumberParameters >= 4)
            s_current->m_text += reinterpret_cast<const char*>(record.ExceptionInformation[3]);
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline DebugOutputCapture* s_current = nullptr;
    void* m_handler = nullptr;
    std::string m_text;
};
