#include "tests/support/Screenshot.h"

#include "tools/common/WindowBitmap.h"

bool SaveWindowBmp(HWND window, const std::wstring& path)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return SaveWindowsBitmap({window}, path);
}
