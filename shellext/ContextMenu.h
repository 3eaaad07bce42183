#pragma once

#include "menuconfig/MenuConfig.h"
#include "command/MenuItem.h"
#include "command/Selection.h"
#include "shellext/MenuIcon.h"
#include "winsupport/StringUtil.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// The command objects of the last menu built, by command offset (menu id minus the first id),
// with the bitmaps of their menu items, and the submenu's icon, made once per handler.
struct CommandMap
{
    std::map<UINT, std::unique_ptr<MenuItem>> commands;
    std::vector<MenuIconBitmap> bitmaps;
    MenuIconBitmap submenuBitmap;
};

// The entries of a configuration in menu order, each type once, where it first occurs: a file read
// only in part was never normalised, and the menu never holds more than the nine commands. Hidden
// entries stay (a hidden first occurrence hides the type).
struct MenuEntries
{
    std::vector<MenuEntry> mainMenu;
    std::vector<MenuEntry> subMenu;
};
MenuEntries FirstOccurrences(const MenuConfig& config);

// Inserts the visible main-menu commands at indexMenu, then the "Brelvanta" submenu with the
// visible submenu commands (none when there are none). Each type appears once, where it first
// occurs. Ids run from idCmdFirst: main-menu items, submenu items, then the submenu item itself;
// none beyond idCmdLast, so a small range gets fewer items. Returns the count of ids used.
UINT BuildMenu(CommandMap& map, const MenuConfig& config, const Selection& selection, HMENU menu, UINT indexMenu,
               UINT idCmdFirst, UINT idCmdLast);
