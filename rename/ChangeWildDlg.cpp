#include "rename/ChangeWildDlg.h"

#include "rename/ChangeDialogFocus.h"
#include "resources/resource.h"

#include <string>

CChangeWildDlg::CChangeWildDlg(Segment& segment) : CDialog(IDD_CHANGE_WILD), m_segment(segment) {}

bool CChangeWildDlg::OnInitDialog()
{
    SetCheck(IDC_WILD_TRUNCATE, m_segment.truncate);
    SetText(IDC_WILD_LENGTH, std::to_wstring(m_segment.maxLength));
    const int caseButton = m_segment.caseMode == 1   ? IDC_WILD_CASE_UPPER
                           : m_segment.caseMode == 2 ? IDC_WILD_CASE_LOWER
                                                     : IDC_WILD_CASE_NONE;
    CheckRadio(IDC_WILD_CASE_NONE, IDC_WILD_CASE_LOWER, caseButton);
    UpdateEnabled();
    return true;
}

bool CChangeWildDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDOK:
        if (code != BN_CLICKED)
            return false;
        Store();
        Close(IDOK);
        return true;
    case IDC_WILD_RESET:
        CheckRadio(IDC_WILD_CASE_NONE, IDC_WILD_CASE_LOWER, IDC_WILD_CASE_NONE);
        SetCheck(IDC_WILD_TRUNCATE, false);
        UpdateEnabled();
        return true;
    case IDC_WILD_CLEAR:
        // A wild truncated to no characters yields nothing.
        SetCheck(IDC_WILD_TRUNCATE, true);
        SetText(IDC_WILD_LENGTH, L"0");
        UpdateEnabled();
        return true;
    case IDC_WILD_LENGTH:
        if (code == EN_CHANGE)
            UpdateEnabled();
        return true;
    case IDC_WILD_TRUNCATE:
    case IDC_WILD_CASE_NONE:
    case IDC_WILD_CASE_UPPER:
    case IDC_WILD_CASE_LOWER:
        UpdateEnabled();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CChangeWildDlg::UpdateEnabled()
{
    const bool truncate = IsChecked(IDC_WILD_TRUNCATE);
    EnableItem(IDC_WILD_RESET, !IsChecked(IDC_WILD_CASE_NONE) || truncate);
    EnableItem(IDC_WILD_CLEAR, !truncate || GetText(IDC_WILD_LENGTH) != L"0");
    EnableItem(IDC_WILD_LENGTH, truncate);
    KeepFocusUsable(Hwnd());
}

void CChangeWildDlg::Store()
{
    m_segment.caseMode = IsChecked(IDC_WILD_CASE_UPPER) ? 1 : IsChecked(IDC_WILD_CASE_LOWER) ? 2 : 0;
    m_segment.truncate = IsChecked(IDC_WILD_TRUNCATE);
    const long long length = ReadDecimal(Hwnd(), IDC_WILD_LENGTH);
    m_segment.maxLength = length < 0 ? 0 : length > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(length);
}
