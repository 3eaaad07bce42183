#include "bench/BenchHandler.h"

#include "winsupport/UniqueHandle.h"

#include <cstdio>

namespace
{
// {6F2C1B8E-4A73-4D5B-9E21-7C8A3F1D5B42}
constexpr CLSID kHandlerClassId = {0x6f2c1b8e, 0x4a73, 0x4d5b, {0x9e, 0x21, 0x7c, 0x8a, 0x3f, 0x1d, 0x5b, 0x42}};
} // namespace

ComPtr<IClassFactory> LoadHandlerFactory(const std::wstring& folder)
{
    const HMODULE dll = ::LoadLibraryW((folder + L"\\Brelvanta.dll").c_str());
    const auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(::GetProcAddress(dll, "DllGetClassObject")));
    ComPtr<IClassFactory> factory;
    if (!getClassObject || FAILED(getClassObject(kHandlerClassId, IID_PPV_ARGS(factory.Put()))))
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
