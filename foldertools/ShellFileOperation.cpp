#include "foldertools/ShellFileOperation.h"

#include "winsupport/UniqueHandle.h"

#include <shellapi.h>

namespace
{
std::wstring DoubleNulList(const std::vector<std::wstring>& paths)
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
} // namespace

ShellOperationResult RunShellOperation(UINT operation, const std::vector<std::wstring>& sources,
                                       const std::vector<std::wstring>& destinations, FILEOP_FLAGS flags, HWND owner)
{
    if (sources.empty())
        return {};
    const std::wstring from = DoubleNulList(sources);
    const std::wstring to = DoubleNulList(destinations);
    SHFILEOPSTRUCTW operationInfo{};
    operationInfo.hwnd = owner;
    operationInfo.wFunc = operation;
    operationInfo.pFrom = from.c_str();
    operationInfo.pTo = destinations.empty() ? nullptr : to.c_str();
    operationInfo.fFlags = static_cast<FILEOP_FLAGS>(flags | (destinations.empty() ? 0 : FOF_MULTIDESTFILES));
    ShellOperationResult result;
    result.code = ::SHFileOperationW(&operationInfo);
    result.aborted = operationInfo.fAnyOperationsAborted != FALSE;
    return result;
}

void DeleteFoldersToRecycleBin(const std::vector<std::wstring>& folders, HWND owner)
{
    const WaitCursor wait;
    RunShellOperation(FO_DELETE, folders, {}, FOF_ALLOWUNDO, owner);
}
