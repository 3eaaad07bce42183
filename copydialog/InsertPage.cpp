#include "copydialog/InsertPage.h"

namespace
{
bool IsEdit(HWND control) noexcept
{
    wchar_t className[16]{};
    return ::GetClassNameW(control, className, 16) > 0 && ::lstrcmpiW(className, L"Edit") == 0;
}
} // namespace

std::optional<INT_PTR> CInsertPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(Owner().PageBrush());
    case WM_CTLCOLORSTATIC: // labels, radio buttons and check boxes; read-only edits keep their look
        if (IsEdit(reinterpret_cast<HWND>(lParam)))
            return std::nullopt;
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(Owner().PageBrush());
    default:
        return std::nullopt;
    }
}
