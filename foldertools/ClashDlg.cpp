#include "foldertools/ClashDlg.h"

#include "resources/resource.h"

CClashDlg::CClashDlg(std::wstring heading, std::wstring details)
    : CResizableDialog(IDD_EXTRACT_CLASH, L"ExtractFolderDlg", MinimumSize::Fixed(240, 160)),
      m_heading(std::move(heading)), m_details(std::move(details))
{
}

bool CClashDlg::OnInitDialog()
{
    SetText(IDC_CLASH_HEADING, m_heading);
    // A multi-line edit breaks lines only at CR LF.
    std::wstring shown;
    for (const wchar_t c : m_details)
    {
        if (c == L'\n')
            shown += L'\r';
        shown += c;
    }
    SetText(IDC_CLASH_DETAILS, shown);
    ::SetFocus(Item(IDOK));
    return false;
}

void CClashDlg::DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom)
{
    layout.AddAnchor(IDC_CLASH_HEADING, kAnchorStretch, kAnchorNone, outerRight, outerBottom);
    layout.AddAnchor(IDC_CLASH_DETAILS, kAnchorStretch, kAnchorStretch, outerRight, outerBottom);
    layout.AddAnchor(IDOK, kAnchorMove, kAnchorMove, outerRight, outerBottom);
}
