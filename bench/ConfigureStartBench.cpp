// The configure program's start, from CreateProcessW to its dialog on the screen, against a bare
// dialog program of the same build started the same way, in the same run. Prints one line.
#include "bench/BenchTiming.h"

#include <windows.h>

#include <cstdio>
#include <string>

#ifndef BRELVANTA_CONFIGURE_EXE
#error "the build passes both programs' paths"
#endif

namespace
{
std::wstring WindowsPath(const char* unixPath)
{
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

struct WindowSearch
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context) noexcept
{
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window))
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND VisibleDialogOf(DWORD processId)
{
    WindowSearch search{processId, nullptr};
    ::EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Starts the program, waits until it shows its window, then closes it (Cancel: nothing is written)
// and waits for the process to end. Only the part up to the shown window counts.
double StartToShown(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const double start = Seconds();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return 0;
    HWND window = nullptr;
    while (!(window = VisibleDialogOf(process.dwProcessId)) &&
           ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        ::Sleep(1);
    const double shown = Seconds() - start;
    if (window)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return shown;
}
} // namespace

int wmain()
{
    const std::wstring configure = WindowsPath(BRELVANTA_CONFIGURE_EXE);
    const std::wstring bare = WindowsPath(BRELVANTA_BARE_DIALOG_EXE);
    double configureTime = 0;
    double bareTime = 0;
    const auto [configureBest, bareBest] =
        MeasurePair([&] { configureTime = StartToShown(configure); }, [&] { bareTime = StartToShown(bare); }, 12);
    if (configureTime == 0 || bareTime == 0)
    {
        std::printf("configure start: a program could not be started\n");
        return 1;
    }
    std::printf("configure start to a shown window: configure %.1f ms, bare dialog %.1f ms, ratio %.2f\n",
                configureBest * 1000, bareBest * 1000, configureBest / bareBest);
    return 0;
}
