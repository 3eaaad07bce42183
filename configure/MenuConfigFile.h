#pragma once

#include "menuconfig/MenuConfig.h"

#include <string>

// MenuCommands.xml as the configure program edits it: read once at start, replaced whole when the
// user saves. A save goes through a new file beside the old one, which takes the old one's place
// only once it is written whole, so a failed save leaves the user's file as it was. A file holding
// anything the program cannot show again (malformed XML, unknown or repeated commands, too large,
// written by hand) is copied aside before its first replacement, so no save loses it.
class MenuConfigFile
{
  public:
    explicit MenuConfigFile(std::wstring path) : m_path(std::move(path)) {}

    const std::wstring& Path() const noexcept { return m_path; }

    // The configuration to show: the file's, normalised, or the defaults when the file is missing
    // or cannot be read whole.
    MenuConfig Load();

    // Writes the configuration with the shared writer; true when the file now holds it.
    [[nodiscard]] bool Save(const MenuConfig& config);

    // Where the old file was copied before the last save replaced it; empty when it needed no copy.
    const std::wstring& KeptCopy() const noexcept { return m_keptCopy; }

  private:
    std::wstring m_path;
    bool m_keepOldFile = false;
    std::wstring m_keptCopy;
};
