#pragma once

#include <windows.h>

// {070D7289-EA5A-42FA-A267-958BEEEF4B00}: the package's verb names this class.
inline constexpr CLSID CLSID_BrelvantaExplorerCommand = {
    0x070d7289, 0xea5a, 0x42fa, {0xa2, 0x67, 0x95, 0x8b, 0xee, 0xef, 0x4b, 0x00}};

// A new "Brelvanta" command for the file manager's packaged menu: a flyout of the commands the
// user's menu configuration shows, each shown, hidden and run exactly as the classic menu does.
[[nodiscard]] HRESULT CreateBrelvantaExplorerCommand(REFIID riid, void** ppv) noexcept;
