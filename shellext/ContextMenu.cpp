#include "shellext/ContextMenu.h"

#include "shellext/CommandCatalogue.h"
#include "shellext/MenuIcon.h"

#include <algorithm>

namespace
{
constexpr int kProductIcon = 9;

struct MenuCursor
{
    HMENU menu;
    UINT position;
    SIZE iconSize;
};

void InsertCommand(CommandMap& map, const MenuEntry& entry, const Selection& selection, MenuCursor& cursor,
                   UINT& nextId, UINT idCmdFirst)
{
    std::unique_ptr<MenuItem> command = CreateCommand(entry.type);
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

std::wstring ResolvePlural(const std::wstring& text, size_t itemCount)
{
    const std::wstring_view replacement = itemCount == 1 ? L"" : L"s";
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();)
    {
        if (text.compare(i, 3, L"(s)") == 0)
        {
            result += replacement;
            i += 3;
        }
        else
            result += text[i++];
    }
    return result;
}

UINT BuildMenu(CommandMap& map, const MenuConfig& config, const Selection& selection, HMENU menu, UINT indexMenu,
               UINT idCmdFirst)
{
    map.commands.clear();
    map.bitmaps.clear();
    const SIZE iconSize = MenuIconSize();
    if (!map.submenuBitmap)
        map.submenuBitmap = LoadMenuIcon(kProductIcon, iconSize);

    UINT nextId = idCmdFirst;
    MenuCursor main{menu, indexMenu, iconSize};
    for (const MenuEntry& entry : config.mainMenu)
    {
        if (IsCommandVisible(entry, selection))
            InsertCommand(map, entry, selection, main, nextId, idCmdFirst);
    }

    const bool anyInSubmenu =
        std::any_of(config.subMenu.begin(), config.subMenu.end(),
                    [&selection](const MenuEntry& entry) { return IsCommandVisible(entry, selection); });
    if (!anyInSubmenu)
        return nextId - idCmdFirst;

    UniqueHmenu popup(::CreatePopupMenu());
    MenuCursor sub{popup.Get(), 0, iconSize};
    for (const MenuEntry& entry : config.subMenu)
    {
        if (IsCommandVisible(entry, selection))
            InsertCommand(map, entry, selection, sub, nextId, idCmdFirst);
    }

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
    return nextId - idCmdFirst + 1;
}
