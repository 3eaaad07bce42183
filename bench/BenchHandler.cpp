#include "bench/BenchHandler.h"

#include "shellext/BrelvantaShExt.h"
#include "winsupport/UniqueHandle.h"

#include <cstdio>

ComPtr<IClassFactory> StartHandlerBench(int argc, wchar_t** argv, const char* name)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s <folder of Brelvanta.dll>\n", name);
        return {};
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const HMODULE dll = ::LoadLibraryW((std::wstring(argv[1]) + L"\\Brelvanta.dll").c_str());
    const auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(::GetProcAddress(dll, "DllGetClassObject")));
    ComPtr<IClassFactory> factory;
    if (!getClassObject || FAILED(getClassObject(CLSID_BrelvantaShExt, IID_PPV_ARGS(factory.Put()))))
    {
        std::fprintf(stderr, "cannot load Brelvanta.dll\n");
        return {};
    }
    return factory;
}

std::vector<std::wstring> MakeBenchFiles(size_t count)
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"brelvanta-bench";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < count; ++i)
    {
        paths.push_back(folder + L"\\file " + std::to_wstring(i) + L".txt");
        if (::GetFileAttributesW(paths.back().c_str()) == INVALID_FILE_ATTRIBUTES)
            UniqueFile(::CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
    return paths;
}
