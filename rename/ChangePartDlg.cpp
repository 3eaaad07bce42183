#include "rename/ChangePartDlg.h"

#include <cwchar>

bool CChangePartDlg::OnInitDialog()
{
    ShowSegment();
    UpdateEnabled();
    FocusFirstControl(Hwnd());
    return false;
}

bool CChangePartDlg::OnCommand(int id, int code, HWND control)
{
    if (id == IDOK && code == BN_CLICKED)
    {
        Store();
        Close(IDOK);
        return true;
    }
    if (id != IDOK && id != IDCANCEL && OnPartCommand(id, code))
    {
        UpdateEnabled();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CChangePartDlg::UpdateEnabled()
{
    EnableControls();
    // A control that was just disabled (or no control at all) must not keep the focus.
    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(Hwnd(), focus) && ::IsWindowEnabled(focus))
        return;
    if (const HWND ok = Item(IDOK))
        ::SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
}

long long CChangePartDlg::ReadDecimal(int id) const
{
    const std::wstring text = GetText(id);
    return std::wcstoll(text.c_str(), nullptr, 10); // no digits: 0; too many: saturated
}
