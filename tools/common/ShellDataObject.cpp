#include "tools/common/ShellDataObject.h"

#include <shlobj.h>

HRESULT CreateShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names,
                              ComPtr<IDataObject>& dataObject, UniqueCoTaskMem& folderId)
{
    ComPtr<IShellFolder> desktop;
    HRESULT result = ::SHGetDesktopFolder(desktop.Put());
    if (FAILED(result))
        return result;
    std::wstring folderName = folder;
    PIDLIST_RELATIVE parsedFolder = nullptr;
    result = desktop->ParseDisplayName(nullptr, nullptr, folderName.data(), nullptr, &parsedFolder, nullptr);
    if (FAILED(result))
        return result;
    folderId.Reset(parsedFolder);
    ComPtr<IShellFolder> parent;
    result = desktop->BindToObject(parsedFolder, nullptr, IID_PPV_ARGS(parent.Put()));
    if (FAILED(result))
        return result;

    std::vector<UniqueCoTaskMem> owned;
    std::vector<PCUITEMID_CHILD> children;
    for (const std::wstring& name : names)
    {
        std::wstring childName = name;
        PIDLIST_RELATIVE child = nullptr;
        result = parent->ParseDisplayName(nullptr, nullptr, childName.data(), nullptr, &child, nullptr);
        if (FAILED(result))
            return result;
        owned.emplace_back(child);
        children.push_back(reinterpret_cast<PCUITEMID_CHILD>(child));
    }
    return parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(), IID_IDataObject, nullptr,
                                 reinterpret_cast<void**>(dataObject.Put()));
}
