#pragma once

#include "winsupport/ComPtr.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

// What the benchmarks of the built DLL share: its class factory, loaded as the file manager loads
// it, and a folder of empty files to select.

// The start of a benchmark of the built DLL: COM on this thread, unbuffered output, and the
// handler's class factory from the folder that the one argument names, loaded as the file manager
// loads it. Null (with a line on stderr) without the argument or when the DLL cannot be loaded.
ComPtr<IClassFactory> StartHandlerBench(int argc, wchar_t** argv, const char* name);

// The paths of count empty files "file <n>.txt" in a folder of the temporary folder, made when missing.
std::vector<std::wstring> MakeBenchFiles(size_t count);
