#pragma once

#include "winsupport/ComPtr.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

// The shell's own data object for items of one folder, as the file manager hands it to a handler.
// Also gives the folder's absolute id list, which the file manager passes along with it.
HRESULT CreateShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names,
                              ComPtr<IDataObject>& dataObject, UniqueCoTaskMem& folderId);
