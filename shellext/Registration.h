#pragma once

#include <windows.h>

enum class RegistrationScope
{
    Machine, // the machine's classes: every user (needs administrator rights on Windows)
    User,    // the current user's classes
};

// Writes the handler's class and attaches it to the context menus of all files and folders.
[[nodiscard]] HRESULT RegisterServer(RegistrationScope scope) noexcept;
// Removes only the product's own keys; the shared parent keys stay.
[[nodiscard]] HRESULT UnregisterServer(RegistrationScope scope) noexcept;
