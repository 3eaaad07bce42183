#pragma once

#include "tests/support/TempFolderTest.h"

#include <string>

// Starts and ends each test with no product registry key and no per-user product folder,
// so that settings and menu configuration files of one test never reach another.
class ProductStateTest : public TempFolderTest
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // "...\Kaldrith\Brelvanta" in the roaming application data.
    static std::wstring UserFolder();
    static void ClearProductState();
};
