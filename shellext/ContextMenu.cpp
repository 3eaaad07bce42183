#include "shellext/ContextMenu.h"

#include "shellext/CommandCatalogue.h"
#include "shellext/MenuIcon.h"
#include "winui/WindowHandles.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace
{
constexpr int kProductIcon = 9;

struct MenuCursor
{
    HMENU menu;
    UINT position;
    SIZE iconSize;
};

void InsertCommand(CommandMap& map, const CommandInfo& info, const Selection& selection, MenuCursor& cursor,
                   UINT& nextId, UINT idCmdFirst)
{
    std::unique_ptr<MenuItem> command = CreateCommand(info.type);
    if (!command)
        return;
    const std::wstring text = ResolvePlural(command->Text(), selection.paths.size());
    ::InsertMenuW(cursor.menu, cursor.position, MF_BYPOSITION | MF_STRING, nextId, text.c_str());
    if (MenuIconBitmap bitmap = LoadMenuIcon(command->GetIconId(), cursor.iconSize))
    {
        ::SetMenuItemBitmaps(cursor.menu, cursor.position, MF_BYPOSITION, bitmap.Get(), nullptr);
        map.bitmaps.push_back(std::move(bitmap));
    }
    map.commands[nextId - idCmdFirst] = std::move(command);
    ++cursor.position;
    ++nextId;
}
} // namespace

MenuEntries FirstOccurrences(const MenuConfig& config)
{
    std::array<bool, kCommands.size()> placed{};
    const auto firstOccurrences = [&](const std::vector<MenuEntry>& entries) {
        std::vector<MenuEntry> kept;
        for (const MenuEntry& entry : entries)
        {
            const CommandInfo* command = FindCommand(entry.type);
            if (command && !std::exchange(placed[RowOf(*command)], true))
                kept.push_back(entry);
        }
        return kept;
    };
    MenuEntries entries;
    entries.mainMenu = firstOccurrences(config.mainMenu);
    entries.subMenu = firstOccurrences(config.subMenu);
    return entries;
}

UINT BuildMenu(CommandMap& map, const MenuConfig& config, const Selection& selection, HMENU menu, UINT indexMenu,
               UINT idCmdFirst, UINT idCmdLast)
{
    map.commands.clear();
    map.bitmaps.clear();
    const SIZE iconSize = MenuIconSize();
    if (!map.submenuBitmap)
        map.submenuBitmap = LoadMenuIcon(kProductIcon, iconSize);

    const auto visible = [&](const std::vector<MenuEntry>& entries) {
        std::vector<const CommandInfo*> commands;
        for (const MenuEntry& entry : entries)
            if (IsCommandVisible(entry, selection))
                commands.push_back(FindCommand(entry.type));
        return commands;
    };
    const MenuEntries entries = FirstOccurrences(config);
    const std::vector<const CommandInfo*> mainEntries = visible(entries.mainMenu);
    const std::vector<const CommandInfo*> subEntries = visible(entries.subMenu);

    // The shell's range of ids, idCmdLast included: every command takes one, the submenu one more.
    const uint64_t range = idCmdLast >= idCmdFirst ? uint64_t{idCmdLast} - idCmdFirst + 1 : 0;
    UINT nextId = idCmdFirst;
    const auto used = [&] { return uint64_t{nextId} - idCmdFirst; };
    MenuCursor main{menu, indexMenu, iconSize};
    for (const CommandInfo* command : mainEntries)
        if (used() < range)
            InsertCommand(map, *command, selection, main, nextId, idCmdFirst);

    if (subEntries.empty() || used() + 2 > range)
        return static_cast<UINT>(used());
    UniqueHmenu popup(::CreatePopupMenu());
    MenuCursor sub{popup.Get(), 0, iconSize};
    for (const CommandInfo* command : subEntries)
        if (used() + 1 < range)
            InsertCommand(map, *command, selection, sub, nextId, idCmdFirst);

    std::wstring text = L"Brelvanta";
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP;
    item.wID = nextId;
    item.hSubMenu = popup.Get();
    item.dwTypeData = text.data();
    item.hbmpItem = map.submenuBitmap.Get();
    if (::InsertMenuItemW(menu, main.position, TRUE, &item))
        (void)popup.Release(); // the context menu owns it now
    return static_cast<UINT>(used() + 1);
}
