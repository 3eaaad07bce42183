#include "winsupport/ShellFileOperation.h"

#include "winsupport/UniqueHandle.h"

#include <shellapi.h>

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

ShellOperationResult RunShellOperation(UINT operation, const std::vector<std::wstring>& sources,
                                       const std::vector<std::wstring>& destinations, FILEOP_FLAGS flags, HWND owner)
{
    if (sources.empty())
        return {};
    return RunShellOperationOnLists(operation, ShellPathList(sources),
                                    destinations.empty() ? std::wstring() : ShellPathList(destinations), flags, owner);
}

ShellOperationResult DeleteToRecycleBin(const std::vector<std::wstring>& paths, HWND owner)
{
    if (paths.empty())
        return {};
    const WaitCursor wait;
    return RunShellOperation(FO_DELETE, paths, {}, FOF_ALLOWUNDO, owner);
}
