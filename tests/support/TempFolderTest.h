#pragma once

#include <gtest/gtest.h>

#include <string>

// Gives each test a fresh, empty folder on the Windows side, removed with all its contents afterwards.
class TempFolderTest : public testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::wstring& TempFolder() const { return m_folder; }
    // A path inside the test's folder.
    std::wstring TempPath(const std::wstring& name) const { return m_folder + L"\\" + name; }

  private:
    std::wstring m_folder;
};
