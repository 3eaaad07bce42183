#include "winsupport/Resources.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

// The file manager's threads are single-threaded apartments; the tests run on one too. Each test
// program links the product's resources and loads them as the DLL does, from one module handle.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    SetResourceModule(::GetModuleHandleW(nullptr));
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = RUN_ALL_TESTS();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return result;
}
