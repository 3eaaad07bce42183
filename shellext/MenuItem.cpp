#include "shellext/MenuItem.h"

#include "shellext/MenuIcon.h"

HBITMAP MenuItem::Bitmap()
{
    if (!m_bitmap)
        m_bitmap.Reset(LoadMenuIcon(GetIconId()));
    return m_bitmap.Get();
}
