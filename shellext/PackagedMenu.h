#pragma once

#include <windows.h>

// The package that declares the flyout registers per user; its registration step writes this
// DWORD value (non-zero) under the user's product key, and its removal deletes it.
inline constexpr wchar_t kPackagedMenuKeyPath[] = L"SOFTWARE\\Kaldrith Software\\Brelvanta";
inline constexpr wchar_t kPackagedMenuValue[] = L"ExplorerCommandPackage";

// The user's key whose presence brings back the full legacy menu in place of the new one.
inline constexpr wchar_t kClassicMenuRestoredKeyPath[] =
    L"Software\\Classes\\CLSID\\{86ca1aa0-34aa-4e8b-a509-50c905bae2a2}\\InprocServer32";

// The first platform build whose file manager shows packaged commands at the top of its menu.
inline constexpr DWORD kFirstPackagedMenuBuild = 22000;

// True when the file manager shows the packaged flyout: a platform of build 22000 or later, the
// package registered for this user and the new menu not replaced by the legacy one. The classic
// handler then adds nothing, since the legacy menu lists the packaged commands itself. Asked on
// every right-click: the build is read once per process, the rest is one or two registry reads
// of the user's hive, and only on that platform.
bool PackagedMenuInUse() noexcept;
