#pragma once

#include <windows.h>

#include <string>

// Small per-user values remembered between runs (dialog sizes, format texts, numbering options),
// kept in the current user's registry under the product key.
//
// A name addresses one value. With a backslash in it, the part before the last backslash is a
// subkey path below the product key and the rest is the value name ("Dlg\\Page\\Width").
// Reads return false for an absent key or value, a wrong type or an access error: the caller keeps
// its default. Writes create missing keys; callers may ignore their result.

inline constexpr wchar_t kProductKeyPath[] = L"SOFTWARE\\Kaldrith Software\\Brelvanta";

bool ReadSettingString(const std::wstring& name, std::wstring& text);
bool ReadSettingDword(const std::wstring& name, DWORD& number);
bool WriteSettingString(const std::wstring& name, const std::wstring& text);
bool WriteSettingDword(const std::wstring& name, DWORD number);
