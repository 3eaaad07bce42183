#pragma once

#include "winsupport/ComPtr.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

// What the benchmarks of the built DLL share: its class factory, loaded as the file manager loads
// it, and a folder of empty files to select.

// The handler's class factory from "<folder>\Brelvanta.dll"; null (with a line on stderr) when the
// DLL cannot be loaded.
ComPtr<IClassFactory> LoadHandlerFactory(const std::wstring& folder);

// The paths of count empty files "file <n>.txt" in a folder of the temporary folder, made when missing.
std::vector<std::wstring> MakeBenchFiles(size_t count);
