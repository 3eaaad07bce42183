#include "shellext/RunConfigureCommand.h"

#include "winsupport/UniqueHandle.h"

#include <windows.h>

std::wstring OwnModulePath()
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&OwnModulePath), &module))
        return {};
    // Grow until the name fits: an install folder may be deeper than 260 characters.
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
        {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

void RunConfigureCommand::Invoke(const Selection&, KeyFlags, const CWindow&)
{
    const std::wstring modulePath = OwnModulePath();
    const size_t slash = modulePath.rfind(L'\\');
    if (slash == std::wstring::npos)
        return;
    std::wstring commandLine = L"\"" + modulePath.substr(0, slash + 1) + L"BrelvantaConfigure.exe\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    {
        UniqueKernelHandle(process.hThread).Reset();
        UniqueKernelHandle(process.hProcess).Reset();
    }
}
