#include "shellext/RunConfigureCommand.h"

#include "winsupport/ModulePath.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

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
