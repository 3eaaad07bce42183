#include "winsupport/FileIdentity.h"

#include "winsupport/UniqueHandle.h"

std::optional<FileIdentity> IdentifyItem(const std::wstring& path)
{
    // No access is asked for: the attributes are readable even while another program holds the
    // item open without sharing.
    const UniqueFile item(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!item)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(item.Get(), &information))
        return std::nullopt;
    const FileIdentity identity{information.dwVolumeSerialNumber,
                                (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
    // Some network file systems answer 0 for every item: that tells nothing apart.
    if (identity.index == 0)
        return std::nullopt;
    return identity;
}
