#include "copydialog/CopyPathsDlg.h"

#include "copydialog/FolderScanOptionsDlg.h"
#include "copydialog/FolderSummary.h"
#include "copydialog/FullControlsDlg.h"
#include "copydialog/PresetsControlsDlg.h"
#include "copydialog/QuickControlsDlg.h"
#include "copydialog/ScanningFoldersDlg.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winui/Clipboard.h"

#include <commctrl.h>

namespace
{
constexpr int kPageCount = 3;

RECT ClientRectOf(HWND dialog, HWND control) noexcept
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveTop(HWND dialog, HWND control, int distance, bool keepBottom) noexcept
{
    RECT rect = ClientRectOf(dialog, control);
    rect.top -= distance;
    if (!keepBottom)
        rect.bottom -= distance;
    ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

CCopyPathsDlg::CCopyPathsDlg(const CWindow& parent, CopyOptions& options)
    : CResizableDialog(IDD_COPY_PATHS, L"CopyPathsDlg", MinimumSize::Initial()), m_parent(parent), m_options(options),
      m_smallIcon(IDI_BRELVANTA, SharedDpi())
{
    m_options.AddObserver(*this);
}

CCopyPathsDlg::~CCopyPathsDlg()
{
    m_options.RemoveObserver(*this);
}

INT_PTR CCopyPathsDlg::Run()
{
    if (!m_options.HasItemList())
        return -1;
    return ShowModal(m_parent.Hwnd());
}

void CCopyPathsDlg::DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom)
{
    if (!m_options.Items().ContainsFolders())
        HideFolderOptions();
    const struct
    {
        int id, horizontal, vertical;
    } anchors[] = {
        {IDC_COPY_PATHS_FOLDER_GROUP, kAnchorStretch, kAnchorNone},
        {IDC_COPY_PATHS_SUMMARY1, kAnchorStretch, kAnchorNone},
        {IDC_COPY_PATHS_SUMMARY2, kAnchorStretch, kAnchorNone},
        {IDC_COPY_PATHS_CHANGE, kAnchorMove, kAnchorNone},
        {IDC_COPY_PATHS_TABS, kAnchorStretch, kAnchorNone},
        {IDC_COPY_PATHS_CLIPBOARD_GROUP, kAnchorStretch, kAnchorStretch},
        {IDC_COPY_PATHS_PREVIEW, kAnchorStretch, kAnchorStretch},
        {IDC_COPY_PATHS_STATUS, kAnchorStretch, kAnchorMove},
        {IDOK, kAnchorMove, kAnchorMove},
        {IDCANCEL, kAnchorMove, kAnchorMove},
    };
    for (const auto& anchor : anchors)
        layout.AddAnchor(anchor.id, anchor.horizontal, anchor.vertical, outerRight, outerBottom);
}

void CCopyPathsDlg::HideFolderOptions()
{
    for (const int id :
         {IDC_COPY_PATHS_FOLDER_GROUP, IDC_COPY_PATHS_SUMMARY1, IDC_COPY_PATHS_SUMMARY2, IDC_COPY_PATHS_CHANGE})
        ShowItem(id, false);
    const int distance = ClientRectOf(Hwnd(), Item(IDC_COPY_PATHS_TABS)).top -
                         ClientRectOf(Hwnd(), Item(IDC_COPY_PATHS_FOLDER_GROUP)).top;
    for (const int id : {IDC_COPY_PATHS_TABS, IDC_COPY_PATHS_SORT_LABEL, IDC_COPY_PATHS_SORT})
        MoveTop(Hwnd(), Item(id), distance, false);
    for (const int id : {IDC_COPY_PATHS_CLIPBOARD_GROUP, IDC_COPY_PATHS_PREVIEW})
        MoveTop(Hwnd(), Item(id), distance, true);
}

bool CCopyPathsDlg::OnInitDialog()
{
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    ShowFolderSummary();

    m_pages.Attach(Hwnd(), IDC_COPY_PATHS_TABS);
    m_pages.Add<CPresetsControlsDlg>(LoadStringResource(IDS_TAB_PRESETS), m_options);
    m_pages.Add<CQuickControlsDlg>(LoadStringResource(IDS_TAB_QUICK_CONTROLS), m_options);
    m_pages.Add<CFullControlsDlg>(LoadStringResource(IDS_TAB_FULL_CONTROLS), m_options);

    const HWND sort = Item(IDC_COPY_PATHS_SORT);
    for (int option = 0; option < kSortOptionCount; ++option)
        ::SendMessageW(sort, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(LoadStringResource(IDS_SORT_FIRST + option).c_str()));
    ::SendMessageW(sort, CB_SETCURSEL, static_cast<WPARAM>(m_options.Sort()), 0);

    SelectPage(CopyOptions::RememberedPage(kPageCount));
    // The page's first control, never "Change...": ENTER on a focused push button would click it
    // instead of copying.
    FocusFirstControl(m_pages.Page(m_pages.Current()).GetPageWnd());
    return false;
}

void CCopyPathsDlg::ShowFolderSummary()
{
    const FolderSummary summary = DescribeFolderScan(m_options.ScanOptions());
    SetText(IDC_COPY_PATHS_SUMMARY1, summary.firstLine);
    SetText(IDC_COPY_PATHS_SUMMARY2, summary.secondLine);
}

void CCopyPathsDlg::SelectPage(int index)
{
    m_pages.Select(index);
    m_options.RefreshPreview();
}

void CCopyPathsDlg::OnCopyOptionsChanged(CopyOptionsChange change)
{
    switch (change)
    {
    case CopyOptionsChange::Rebuilding:
        m_wait.emplace();
        break;
    case CopyOptionsChange::Preview:
        ::SetWindowTextW(Item(IDC_COPY_PATHS_PREVIEW), m_options.Preview().CStr());
        m_wait.reset();
        break;
    case CopyOptionsChange::Totals:
        SetText(IDC_COPY_PATHS_STATUS, m_options.Totals());
        break;
    case CopyOptionsChange::ScanOptions:
        ShowFolderSummary();
        break;
    }
}

void CCopyPathsDlg::OnSortChanged()
{
    const LRESULT selected = ::SendMessageW(Item(IDC_COPY_PATHS_SORT), CB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= kSortOptionCount)
        return;
    m_options.SetSort(static_cast<SortOption>(selected));
}

void CCopyPathsDlg::ChangeFolderOptions()
{
    FolderScanOptions edited = m_options.ScanOptions();
    if (!EditFolderScanOptions(CWindow(Hwnd()), edited))
        return;
    m_options.SetScanOptions(edited);
    // Every OK scans again, even with the same options: the folders may have changed meanwhile.
    if (edited.scanFolders)
        RunFolderScan(CWindow(Hwnd()), m_options.Items(), edited);
    else
        m_options.Items().DropScanResults();
    m_options.RefreshPreview();
}

bool CCopyPathsDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDOK:
        if (code != BN_CLICKED)
            return false;
        CopyTextForUser(m_options.TakePreview().Text());
        Close(IDOK);
        return true;
    case IDC_COPY_PATHS_SORT:
        if (code == CBN_SELCHANGE)
            OnSortChanged();
        return true;
    case IDC_COPY_PATHS_CHANGE:
        if (code == BN_CLICKED)
            ChangeFolderOptions();
        return true;
    default:
        return CResizableDialog::OnCommand(id, code, control);
    }
}

std::optional<LRESULT> CCopyPathsDlg::OnNotify(const NMHDR& header)
{
    if (!m_pages.OnNotify(header))
        return std::nullopt;
    m_options.RefreshPreview();
    CopyOptions::RememberPage(m_pages.Current());
    return 0;
}
