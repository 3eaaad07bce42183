#include "rename/ChangeDialogFocus.h"

#include "winsupport/Window.h"

#include <cwchar>

void KeepFocusUsable(HWND dialog) noexcept
{
    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(dialog, focus) && ::IsWindowEnabled(focus))
        return;
    if (const HWND ok = ::GetDlgItem(dialog, IDOK))
        ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
}

long long ReadDecimal(HWND dialog, int id)
{
    const std::wstring text = GetWindowTextString(::GetDlgItem(dialog, id));
    return std::wcstoll(text.c_str(), nullptr, 10); // no digits: 0; too many: saturated
}
