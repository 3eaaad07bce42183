#pragma once

#include "tests/support/FileHelpers.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

// The folder that BRELVANTA_SCREENS names (scripts/screens sets it), as a Windows path; empty,
// with a failure, when it names none.
inline std::wstring ScreensFolder()
{
    std::wstring folder(32768, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(L"BRELVANTA_SCREENS", folder.data(), 32768);
    if (length == 0 || length >= 32768)
    {
        ADD_FAILURE() << "BRELVANTA_SCREENS names no folder: run scripts/screens";
        return {};
    }
    folder.resize(length);
    return WindowsPathOfUnixPath(folder);
}

// Saves a window as name.bmp in the screens folder.
inline void SaveScreen(HWND window, const std::wstring& folder, const std::wstring& name)
{
    EXPECT_TRUE(SaveWindowBmp(window, folder + L"\\" + name + L".bmp")) << name;
}

// A fixture whose tests save pictures into the screens folder, skipped when there is none; Base
// is the fixture they need otherwise.
template <class Base> class ScreensTest : public Base
{
  protected:
    void SetUp() override
    {
        m_screens = ScreensFolder();
        if (m_screens.empty())
            GTEST_SKIP();
        Base::SetUp();
    }
    // Saves a window as name.bmp in the screens folder.
    void Save(HWND window, const std::wstring& name) const { SaveScreen(window, m_screens, name); }

  private:
    std::wstring m_screens;
};

// Lets the windows of the thread paint and settle.
inline void PumpMessages(DWORD milliseconds)
{
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    MSG message{};
    while (::GetTickCount64() < end)
    {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
}
