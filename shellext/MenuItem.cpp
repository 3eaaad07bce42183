#include "shellext/MenuItem.h"

#include "shellext/MenuIcon.h"

HBITMAP MenuItem::Bitmap(SIZE size)
{
    if (!m_bitmap)
        m_bitmap.Reset(LoadMenuIcon(GetIconId(), size));
    return m_bitmap.Get();
}
