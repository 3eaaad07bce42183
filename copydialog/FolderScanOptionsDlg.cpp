#include "copydialog/FolderScanOptionsDlg.h"

#include "copydialog/ScanOptionsCheck.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

#include <string>

namespace
{
// The forbidden characters as the message lists them: separated by single spaces.
std::wstring ForbiddenCharacterList()
{
    std::wstring list;
    for (const wchar_t c : kForbiddenPatternCharacters)
    {
        if (!list.empty())
            list += L' ';
        list += c;
    }
    return list;
}

int ModeRadio(FolderScanOptions::Mode mode) noexcept
{
    switch (mode)
    {
    case FolderScanOptions::kFoldersOnly:
        return IDC_SCAN_MODE_FOLDERS;
    case FolderScanOptions::kFilesAndFolders:
        return IDC_SCAN_MODE_BOTH;
    default:
        return IDC_SCAN_MODE_FILES;
    }
}
} // namespace

CFolderScanOptionsDlg::CFolderScanOptionsDlg(FolderScanOptions& options)
    : CDialog(IDD_FOLDER_SCAN_OPTIONS), m_options(options)
{
}

bool CFolderScanOptionsDlg::OnInitDialog()
{
    CheckRadio(IDC_SCAN_NAMES_ONLY, IDC_SCAN_FOLDERS, m_options.scanFolders ? IDC_SCAN_FOLDERS : IDC_SCAN_NAMES_ONLY);
    CheckRadio(IDC_SCAN_MODE_FILES, IDC_SCAN_MODE_BOTH, ModeRadio(m_options.mode));
    SetCheck(IDC_SCAN_INCLUDE_ON, m_options.includeOn);
    SetCheck(IDC_SCAN_EXCLUDE_ON, m_options.excludeOn);
    SetCheck(IDC_SCAN_DEPTH_ON, m_options.depthLimited);
    SetText(IDC_SCAN_INCLUDE_PATTERN, m_options.includePattern);
    SetText(IDC_SCAN_EXCLUDE_PATTERN, m_options.excludePattern);
    SetText(IDC_SCAN_DEPTH, std::to_wstring(m_options.depth));
    ApplyEnableRule();
    FocusFirstControl(Hwnd());
    return false;
}

bool CFolderScanOptionsDlg::OnCommand(int id, int code, HWND control)
{
    if (code != BN_CLICKED)
        return false;
    switch (id)
    {
    case IDC_SCAN_NAMES_ONLY:
    case IDC_SCAN_FOLDERS:
        m_options.scanFolders = id == IDC_SCAN_FOLDERS;
        break;
    case IDC_SCAN_MODE_FILES:
    case IDC_SCAN_MODE_FOLDERS:
    case IDC_SCAN_MODE_BOTH:
        m_options.mode = id == IDC_SCAN_MODE_FOLDERS ? FolderScanOptions::kFoldersOnly
                         : id == IDC_SCAN_MODE_BOTH  ? FolderScanOptions::kFilesAndFolders
                                                     : FolderScanOptions::kFilesOnly;
        break;
    case IDC_SCAN_INCLUDE_ON:
        m_options.includeOn = IsChecked(id);
        if (m_options.includeOn)
            m_options.includePattern = GetText(IDC_SCAN_INCLUDE_PATTERN);
        break;
    case IDC_SCAN_EXCLUDE_ON:
        m_options.excludeOn = IsChecked(id);
        if (m_options.excludeOn)
            m_options.excludePattern = GetText(IDC_SCAN_EXCLUDE_PATTERN);
        break;
    case IDC_SCAN_DEPTH_ON:
        m_options.depthLimited = IsChecked(id);
        if (m_options.depthLimited)
            m_options.depth = ReadLeadingNumber(GetText(IDC_SCAN_DEPTH));
        break;
    case IDOK:
        ReadControls();
        if (CheckOptions())
            Close(IDOK);
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
    ApplyEnableRule();
    return true;
}

void CFolderScanOptionsDlg::ApplyEnableRule() const
{
    const bool scan = m_options.scanFolders;
    const bool patterns = scan && m_options.mode != FolderScanOptions::kFoldersOnly;
    for (const int id : {IDC_SCAN_MODE_FILES, IDC_SCAN_MODE_FOLDERS, IDC_SCAN_MODE_BOTH, IDC_SCAN_DEPTH_ON})
        EnableItem(id, scan);
    EnableItem(IDC_SCAN_INCLUDE_ON, patterns);
    EnableItem(IDC_SCAN_EXCLUDE_ON, patterns);
    EnableItem(IDC_SCAN_INCLUDE_PATTERN, patterns && m_options.includeOn);
    EnableItem(IDC_SCAN_EXCLUDE_PATTERN, patterns && m_options.excludeOn);
    EnableItem(IDC_SCAN_DEPTH, scan && m_options.depthLimited);
}

void CFolderScanOptionsDlg::ReadControls()
{
    // A ticked box with an empty edit switches its pattern off and keeps the pattern it had.
    const std::wstring include = GetText(IDC_SCAN_INCLUDE_PATTERN);
    m_options.includeOn = IsChecked(IDC_SCAN_INCLUDE_ON) && !include.empty();
    if (m_options.includeOn)
        m_options.includePattern = include;
    const std::wstring exclude = GetText(IDC_SCAN_EXCLUDE_PATTERN);
    m_options.excludeOn = IsChecked(IDC_SCAN_EXCLUDE_ON) && !exclude.empty();
    if (m_options.excludeOn)
        m_options.excludePattern = exclude;
    // A ticked box with 0 or no digits switches the limit off.
    const int depth = ReadLeadingNumber(GetText(IDC_SCAN_DEPTH));
    m_options.depthLimited = IsChecked(IDC_SCAN_DEPTH_ON) && depth != 0;
    if (m_options.depthLimited)
        m_options.depth = depth;
    m_options.mode = IsChecked(IDC_SCAN_MODE_FOLDERS) ? FolderScanOptions::kFoldersOnly
                     : IsChecked(IDC_SCAN_MODE_BOTH)  ? FolderScanOptions::kFilesAndFolders
                                                      : FolderScanOptions::kFilesOnly;
}

bool CFolderScanOptionsDlg::CheckOptions() const
{
    std::wstring message;
    switch (CheckFolderScanOptions(m_options))
    {
    case ScanOptionsProblem::None:
        return true;
    case ScanOptionsProblem::BadIncludePattern:
        message = FormatStringResource(IDS_SCAN_BAD_PATTERN,
                                       {LoadStringResource(IDS_SCAN_INCLUDE_ONLY), ForbiddenCharacterList()});
        break;
    case ScanOptionsProblem::SamePatterns:
        message = LoadStringResource(IDS_SCAN_SAME_PATTERNS);
        break;
    case ScanOptionsProblem::BadExcludePattern:
        message = FormatStringResource(IDS_SCAN_BAD_PATTERN,
                                       {LoadStringResource(IDS_SCAN_EXCLUDE), ForbiddenCharacterList()});
        break;
    case ScanOptionsProblem::BadDepth:
        message = LoadStringResource(IDS_SCAN_BAD_DEPTH);
        break;
    }
    ShowDialogMessage(Hwnd(), message);
    return false;
}

bool EditFolderScanOptions(const CWindow& owner, FolderScanOptions& options)
{
    FolderScanOptions copy = options;
    CFolderScanOptionsDlg dialog(copy);
    if (dialog.ShowModal(owner.Hwnd()) != IDOK)
        return false;
    options = copy;
    return true;
}
