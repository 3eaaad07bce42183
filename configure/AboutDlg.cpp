#include "configure/AboutDlg.h"

#include "configure/ProgramVersion.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

CAboutDlg::CAboutDlg() noexcept : CDialog(IDD_ABOUTBOX) {}

bool CAboutDlg::OnInitDialog()
{
    std::wstring text = GetText(IDC_ABOUT_VERSION);
    const FileVersion version = ModuleFileVersion(ResourceModule());
    if (const size_t place = text.find(L"VSN"); place != std::wstring::npos)
        text.replace(place, 3, std::to_wstring(version.major) + L"." + std::to_wstring(version.minor));
    SetText(IDC_ABOUT_VERSION, text);
    return true;
}
