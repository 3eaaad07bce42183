#include "copydialog/InsertPage.h"

std::optional<INT_PTR> CInsertPage::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(Owner().PageBrush());
    case WM_CTLCOLORSTATIC: // labels, radio buttons, check boxes and the read-only edits
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(Owner().PageBrush());
    default:
        return std::nullopt;
    }
}
