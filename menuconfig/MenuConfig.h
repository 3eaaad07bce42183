#pragma once

#include "menuconfig/CommandType.h"
#include "winsupport/SafeFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One command's place in the menu configuration; a hidden command is not shown wherever it stands.
struct MenuEntry
{
    CommandType type = CommandType::Invalid;
    bool show = true;

    bool operator==(const MenuEntry&) const = default;
};

// Which commands go directly into the context menu and which into the product submenu, in order.
// After NormaliseMenuConfig each of the nine types occurs exactly once across both lists.
struct MenuConfig
{
    std::vector<MenuEntry> mainMenu;
    std::vector<MenuEntry> subMenu;

    bool operator==(const MenuConfig&) const = default;
};

// Files larger than this are not read: the file is read on every right-click.
inline constexpr unsigned long long kMaxMenuConfigFileSize = 1024 * 1024;

// Documents whose elements nest deeper than this are malformed (the file needs four levels): the
// reader stops there, so that a file of the allowed size cannot build a tree whose destruction, one
// call per level, would exhaust the stack of the file manager's thread.
inline constexpr size_t kMaxMenuConfigNesting = 64;

// The per-user file "...\Kaldrith\Brelvanta\MenuCommands.xml" in the roaming application data,
// creating the two folders on the way. Empty when the platform gives no application-data folder.
std::wstring MenuConfigPath();

// Reads the file into config (cleared first). True when the whole file was read; the caller must
// then apply NormaliseMenuConfig. False when the file was missing, empty, unreadable or too large
// (config then holds the defaults) or when the XML was malformed or lacked an element (config then
// holds the entries read before the error).
[[nodiscard]] bool ReadMenuConfig(const std::wstring& path, MenuConfig& config);

// Removes every entry whose type occurred before (the main menu first, then the submenu), then
// appends each type not listed, hidden, to the end of the submenu.
void NormaliseMenuConfig(MenuConfig& config);

// Replaces the file with the configuration. True when it was written whole.
[[nodiscard]] bool WriteMenuConfig(const std::wstring& path, const MenuConfig& config);

// No main-menu entries; all nine types in order, shown, in the submenu.
void DefaultMenuConfig(MenuConfig& config);

// What a program does with a file that was malformed or lacked an element.
enum class OnMalformedMenuConfig
{
    KeepWhatWasRead, // the shell extension: build the menu from the entries read before the error
    UseDefaults,     // the configure tool: show the defaults, so that saving repairs the file
};

// ReadMenuConfig followed by what each program does with its result.
MenuConfig LoadMenuConfig(const std::wstring& path, OnMalformedMenuConfig onMalformed);

// The pure halves of the reader and writer, on bytes.
// Appends the entries of an XML document; false on malformed XML or a missing element.
[[nodiscard]] bool ParseMenuConfig(std::string_view bytes, MenuConfig& config);
// The file's bytes, or nothing when the configuration could not be serialised.
[[nodiscard]] std::optional<std::string> SerialiseMenuConfig(const MenuConfig& config);
