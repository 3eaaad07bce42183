#include "winsupport/ShellFileOperation.h"

#include "winsupport/ShellItemPath.h"

#include <shellapi.h>

namespace
{
// Paths as the shell's file operation takes them: each ended by a NUL, one more NUL after the last.
std::wstring ShellPathList(const std::vector<std::wstring>& paths)
{
    std::wstring list;
    for (const std::wstring& path : paths)
    {
        list += path;
        list += L'\0';
    }
    list += L'\0';
    return list;
}

ShellOperationResult RunShellOperationOnLists(UINT operation, const std::wstring& from, const std::wstring& to,
                                              FILEOP_FLAGS flags, HWND owner)
{
    if (from.empty() || from.front() == L'\0')
        return {};
    const bool destinations = !to.empty() && to.front() != L'\0';
    SHFILEOPSTRUCTW operationInfo{};
    operationInfo.hwnd = owner;
    operationInfo.wFunc = operation;
    operationInfo.pFrom = from.c_str();
    operationInfo.pTo = destinations ? to.c_str() : nullptr;
    operationInfo.fFlags = static_cast<FILEOP_FLAGS>(flags | (destinations ? FOF_MULTIDESTFILES : 0));
    ShellOperationResult result;
    result.code = ::SHFileOperationW(&operationInfo);
    result.aborted = operationInfo.fAnyOperationsAborted != FALSE;
    return result;
}
} // namespace

ShellOperationResult RunShellOperation(UINT operation, const std::vector<std::wstring>& sources,
                                       const std::vector<std::wstring>& destinations, FILEOP_FLAGS flags, HWND owner)
{
    if (sources.empty())
        return {};
    ShellOperationResult refused;
    refused.code = ERROR_INVALID_NAME;
    std::vector<std::wstring> shellSources;
    shellSources.reserve(sources.size());
    for (const std::wstring& source : sources)
    {
        shellSources.push_back(ShellItemPath(source));
        if (shellSources.back().empty())
        {
            refused.inexactPath = source;
            return refused;
        }
    }
    std::vector<std::wstring> shellDestinations;
    shellDestinations.reserve(destinations.size());
    for (const std::wstring& destination : destinations)
    {
        const size_t slash = destination.rfind(L'\\');
        if (slash != std::wstring::npos)
            shellDestinations.push_back(
                ShellTargetPath(destination.substr(0, slash + 1), std::wstring_view(destination).substr(slash + 1)));
        if (slash == std::wstring::npos || shellDestinations.back().empty())
        {
            refused.inexactPath = destination;
            return refused;
        }
    }
    return RunShellOperationOnLists(operation, ShellPathList(shellSources),
                                    shellDestinations.empty() ? std::wstring() : ShellPathList(shellDestinations),
                                    flags, owner);
}
