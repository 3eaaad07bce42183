#include "copydialog/CopyPathsDlg.h"

#include "copydialog/FolderScanOptionsDlg.h"
#include "copydialog/FolderSummary.h"
#include "copydialog/FullControlsDlg.h"
#include "copydialog/LocaleNumber.h"
#include "copydialog/PresetsControlsDlg.h"
#include "copydialog/QuickControlsDlg.h"
#include "copydialog/ScanningFoldersDlg.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winsupport/SettingsStore.h"
#include "winui/Clipboard.h"
#include "winui/WindowHandles.h"

#include <commctrl.h>

namespace
{
constexpr wchar_t kSortOptionSetting[] = L"Sort Option";
constexpr wchar_t kFormatTextSetting[] = L"Format Text";
constexpr wchar_t kSeparatorTextSetting[] = L"Separator Text";
constexpr wchar_t kTabIndexSetting[] = L"Tab Index";
constexpr int kSortOptionCount = kSortPathLengthDescending + 1;
constexpr int kPageCount = 3;

// Lives as long as the library stays loaded: every opening starts with the order last chosen.
int g_currentSortOption = kSortAsSelected;

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

CCopyPathsDlg::CCopyPathsDlg(const CWindow& parent)
    : CResizableDialog(IDD_COPY_PATHS, L"CopyPathsDlg", MinimumSize::Initial()), m_parent(parent),
      m_pageBrush(::CreateSolidBrush(RGB(255, 255, 255))), m_smallIcon(IDI_BRELVANTA, SharedDpi())
{
    DWORD sort = 0;
    g_currentSortOption = ReadSettingDword(kSortOptionSetting, sort) && sort < kSortOptionCount ? static_cast<int>(sort)
                                                                                                : kSortAsSelected;

    std::wstring item, separator;
    ReadSettingString(kFormatTextSetting, item);
    ReadSettingString(kSeparatorTextSetting, separator);
    bool valid = !item.empty() && m_format.SetDefinition(item);
    if (valid)
        m_format.SetSeparator(separator);
    else
    {
        m_format.SetDefinition(L"$name");
        m_format.SetSeparator(L"\\n");
    }
    (void)LoadPresets(m_presets); // no file: an empty list
    m_scanOptions = FolderScanOptions{};
}

int CCopyPathsDlg::CurrentSortOption() noexcept
{
    return g_currentSortOption;
}

INT_PTR CCopyPathsDlg::Run()
{
    if (!m_items)
        return -1;
    return ShowModal(m_parent.Hwnd());
}

void CCopyPathsDlg::DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom)
{
    if (!m_items->ContainsFolders())
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
    m_pages.Add<CPresetsControlsDlg>(LoadStringResource(IDS_TAB_PRESETS), *this);
    m_pages.Add<CQuickControlsDlg>(LoadStringResource(IDS_TAB_QUICK_CONTROLS), *this);
    m_pages.Add<CFullControlsDlg>(LoadStringResource(IDS_TAB_FULL_CONTROLS), *this);

    const HWND sort = Item(IDC_COPY_PATHS_SORT);
    for (int option = 0; option < kSortOptionCount; ++option)
        ::SendMessageW(sort, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(LoadStringResource(IDS_SORT_FIRST + option).c_str()));
    ::SendMessageW(sort, CB_SETCURSEL, static_cast<WPARAM>(g_currentSortOption), 0);

    DWORD tab = 0;
    if (!ReadSettingDword(kTabIndexSetting, tab) || tab >= kPageCount)
        tab = 0;
    SelectPage(static_cast<int>(tab));
    return true;
}

void CCopyPathsDlg::ShowFolderSummary()
{
    const FolderSummary summary = DescribeFolderScan(m_scanOptions);
    SetText(IDC_COPY_PATHS_SUMMARY1, summary.firstLine);
    SetText(IDC_COPY_PATHS_SUMMARY2, summary.secondLine);
}

void CCopyPathsDlg::SelectPage(int index)
{
    m_pages.Select(index);
    RefreshPreview();
}

void CCopyPathsDlg::RefreshPreview()
{
    if (m_previewBuilt && !m_format.changed && !m_items->changed)
        return;
    const WaitCursor wait;
    m_format.Format(*m_items, m_preview);
    ::SetWindowTextW(Item(IDC_COPY_PATHS_PREVIEW), m_preview.CStr());

    const std::wstring count = FormatLocaleNumber(m_items->Output().size());
    const std::wstring size = FormatLocaleNumber(m_items->TotalSize());
    const UINT status =
        StatusCountsFolders(*m_items, m_scanOptions) ? IDS_COPY_STATUS_FILES_FOLDERS : IDS_COPY_STATUS_FILES;
    // Most rebuilds are a new format of the same items: the line stays as it is.
    if (std::wstring text = FormatStringResource(status, {count, size}); text != m_status)
    {
        SetText(IDC_COPY_PATHS_STATUS, text);
        m_status = std::move(text);
    }
    m_format.changed = false;
    m_items->changed = false;
    m_previewBuilt = true;
}

void CCopyPathsDlg::SaveTexts() const
{
    WriteSettingString(kFormatTextSetting, m_format.Definition());
    WriteSettingString(kSeparatorTextSetting, m_format.Separator());
}

void CCopyPathsDlg::OnSortChanged()
{
    const LRESULT selected = ::SendMessageW(Item(IDC_COPY_PATHS_SORT), CB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= kSortOptionCount)
        return;
    const int option = static_cast<int>(selected);
    WriteSettingDword(kSortOptionSetting, static_cast<DWORD>(option));
    g_currentSortOption = option;
    if (option == m_items->sortOption)
        return;
    m_items->SetSortOption(option);
    RefreshPreview();
}

void CCopyPathsDlg::ChangeFolderOptions()
{
    FolderScanOptions edited = m_scanOptions;
    if (!EditFolderScanOptions(CWindow(Hwnd()), edited))
        return;
    m_scanOptions = edited;
    ShowFolderSummary();
    // Every OK scans again, even with the same options: the folders may have changed meanwhile.
    if (m_scanOptions.scanFolders)
        RunFolderScan(CWindow(Hwnd()), *m_items, m_scanOptions);
    else
        m_items->DropScanResults();
    RefreshPreview();
}

void CCopyPathsDlg::CopyAndClose()
{
    (void)PutClipboardText(m_preview.Text()); // a busy clipboard is not reported; the dialog closes as usual
    m_preview = ClipboardText();
    Close(IDOK);
}

bool CCopyPathsDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDOK:
        if (code != BN_CLICKED)
            return false;
        CopyAndClose();
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
    RefreshPreview();
    WriteSettingDword(kTabIndexSetting, static_cast<DWORD>(m_pages.Current()));
    return 0;
}
