#include "rename/ChangeWildDlg.h"

#include "resources/resource.h"

#include <string>

CChangeWildDlg::CChangeWildDlg(Segment& segment) : CChangePartDlg(IDD_CHANGE_WILD, segment) {}

void CChangeWildDlg::ShowSegment()
{
    SetCheck(IDC_WILD_TRUNCATE, m_segment.truncate);
    SetText(IDC_WILD_LENGTH, std::to_wstring(m_segment.maxLength));
    const int caseButton = m_segment.caseMode == CaseMode::Upper   ? IDC_WILD_CASE_UPPER
                           : m_segment.caseMode == CaseMode::Lower ? IDC_WILD_CASE_LOWER
                                                                   : IDC_WILD_CASE_NONE;
    CheckRadio(IDC_WILD_CASE_NONE, IDC_WILD_CASE_LOWER, caseButton);
}

bool CChangeWildDlg::OnPartCommand(int id, int code)
{
    switch (id)
    {
    case IDC_WILD_RESET:
        CheckRadio(IDC_WILD_CASE_NONE, IDC_WILD_CASE_LOWER, IDC_WILD_CASE_NONE);
        SetCheck(IDC_WILD_TRUNCATE, false);
        return true;
    case IDC_WILD_CLEAR:
        // A wild truncated to no characters yields nothing.
        SetCheck(IDC_WILD_TRUNCATE, true);
        SetText(IDC_WILD_LENGTH, L"0");
        return true;
    case IDC_WILD_LENGTH:
        return code == EN_CHANGE;
    case IDC_WILD_TRUNCATE:
    case IDC_WILD_CASE_NONE:
    case IDC_WILD_CASE_UPPER:
    case IDC_WILD_CASE_LOWER:
        return true;
    default:
        return false;
    }
}

void CChangeWildDlg::EnableControls()
{
    const bool truncate = IsChecked(IDC_WILD_TRUNCATE);
    EnableItem(IDC_WILD_RESET, !IsChecked(IDC_WILD_CASE_NONE) || truncate);
    EnableItem(IDC_WILD_CLEAR, !truncate || GetText(IDC_WILD_LENGTH) != L"0");
    EnableItem(IDC_WILD_LENGTH, truncate);
}

void CChangeWildDlg::Store()
{
    WildChange change;
    change.caseMode = IsChecked(IDC_WILD_CASE_UPPER)   ? CaseMode::Upper
                      : IsChecked(IDC_WILD_CASE_LOWER) ? CaseMode::Lower
                                                       : CaseMode::Unchanged;
    change.truncate = IsChecked(IDC_WILD_TRUNCATE);
    change.maxLength = ReadDecimal(IDC_WILD_LENGTH);
    m_segment.Change(change);
}
