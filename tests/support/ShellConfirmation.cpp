#include "tests/support/ShellConfirmation.h"

#include <array>
#include <chrono>

ShellConfirmationAnswerer::ShellConfirmationAnswerer(int buttonId) : m_buttonId(buttonId), m_thread([this] { Run(); })
{
}

ShellConfirmationAnswerer::~ShellConfirmationAnswerer()
{
    m_stop = true;
    m_thread.join();
}

void ShellConfirmationAnswerer::Run() noexcept
{
    while (!m_stop)
    {
        ::EnumWindows(&AnswerWindow, reinterpret_cast<LPARAM>(this));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

BOOL CALLBACK ShellConfirmationAnswerer::AnswerWindow(HWND window, LPARAM context) noexcept
{
    auto* self = reinterpret_cast<ShellConfirmationAnswerer*>(context);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) || self->m_seen.contains(window))
        return TRUE;
    std::array<wchar_t, 16> className{};
    ::GetClassNameW(window, className.data(), static_cast<int>(className.size()));
    if (std::wstring(className.data()) != L"#32770")
        return TRUE;
    const HWND button = ::GetDlgItem(window, self->m_buttonId);
    if (!button)
        return TRUE;
    self->m_seen.insert(window);
    ::PostMessageW(button, BM_CLICK, 0, 0);
    ++self->m_answered;
    return TRUE;
}
