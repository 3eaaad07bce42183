#include "foldertools/DeleteEmptyFoldersDlg.h"

#include "foldertools/ClipboardPaths.h"
#include "foldertools/EmptyFolderScan.h"
#include "foldertools/WaitDlg.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winui/Clipboard.h"
#include "winui/Dialog.h"
#include "winui/ShellOperationUi.h"
#include "winui/WindowHandles.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

DeleteEmptyFoldersDlg::DeleteEmptyFoldersDlg(HWND owner, std::vector<std::wstring> selectedFolders, bool controlHeld)
    : CResizableDialog(IDD_DELETE_EMPTY_FOLDERS, L"DelEmptyFoldersDlg", MinimumSize::Initial()), m_owner(owner),
      m_selectedFolders(std::move(selectedFolders)), m_controlHeld(controlHeld)
{
}

bool DeleteEmptyFoldersDlg::Scan()
{
    // No scan runs unseen: without its progress window (and so its Cancel button) there is none.
    ModelessDialog<WaitDlg> progress;
    if (!progress.Create(m_owner))
        return false;
    bool finished = false;
    {
        const DisabledWindow disabled(m_owner);
        ::ShowWindow(progress.Hwnd(), SW_SHOW);
        EmptyFolderScan scan(progress);
        finished = scan.Run(m_selectedFolders) && !IsGone(m_owner);
        if (finished)
            m_found = scan.Found();
    }
    progress.Destroy();
    return finished;
}

bool DeleteEmptyFoldersDlg::Run()
{
    if (IsGone(m_owner))
        return false;
    return ShowModal(m_owner) == IDOK && !IsGone(m_owner);
}

void DeleteEmptyFoldersDlg::DeleteFolders(const std::vector<std::wstring>& folders, HWND owner)
{
    if (folders.empty() || IsGone(owner))
        return;
    const std::vector<std::wstring> stillEmpty = FoldersStillEmpty(folders);
    // The shell asks first and reports its own failures.
    ReportInexactPath(owner, DeleteToRecycleBin(stillEmpty, owner));
    const size_t skipped = folders.size() - stillEmpty.size();
    if (skipped == 0 || IsGone(owner))
        return;
    const std::wstring text = skipped == 1
                                  ? LoadStringResource(IDS_EMPTY_FOLDERS_SKIPPED_ONE)
                                  : FormatStringResource(IDS_EMPTY_FOLDERS_SKIPPED_MANY, static_cast<int>(skipped));
    const std::wstring title = LoadStringResource(IDS_COMMAND_DELETE_EMPTY_FOLDERS);
    ShowMessage(owner, text, title, MessageKind::Information);
}

bool DeleteEmptyFoldersDlg::OnInitDialog()
{
    m_list.Attach(Item(IDC_EMPTY_FOLDERS_LIST), Dpi().Dpi());
    m_list.SetFolders(m_found);
    UpdateStatus();
    return true;
}

void DeleteEmptyFoldersDlg::DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom)
{
    layout.AddAnchor(IDC_EMPTY_FOLDERS_LIST, kAnchorStretch, kAnchorStretch, outerRight, outerBottom);
    layout.AddAnchor(IDC_EMPTY_FOLDERS_STATUS, kAnchorStretch, kAnchorMove, outerRight, outerBottom);
    layout.AddAnchor(IDC_EMPTY_FOLDERS_REMOVE, kAnchorMove, kAnchorMove, outerRight, outerBottom);
    layout.AddAnchor(IDOK, kAnchorMove, kAnchorMove, outerRight, outerBottom);
    layout.AddAnchor(IDCANCEL, kAnchorMove, kAnchorMove, outerRight, outerBottom);
}

void DeleteEmptyFoldersDlg::OnDpiChanged(UINT, UINT)
{
    if (m_list.Hwnd())
        m_list.SizeIcons(Dpi().Dpi());
}

void DeleteEmptyFoldersDlg::OnLayout(int, int)
{
    if (m_list.Hwnd())
        m_list.FitColumn();
}

bool DeleteEmptyFoldersDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDC_EMPTY_FOLDERS_REMOVE:
    case IDM_EMPTY_FOLDERS_REMOVE:
        RemoveSelected();
        return true;
    case IDM_EMPTY_FOLDERS_DELETE:
        DeleteFolders(RemoveSelected(), m_owner);
        return true;
    case IDM_EMPTY_FOLDERS_COPY_PATHS:
        CopySelectedPaths();
        return true;
    case IDM_EMPTY_FOLDERS_EXPLORE:
        if (const std::vector<int> rows = m_list.SelectedRows(); !rows.empty())
            ::ShellExecuteW(m_owner, L"explore", m_found[static_cast<size_t>(rows.front())].c_str(), nullptr, nullptr,
                            SW_SHOWNORMAL);
        return true;
    default:
        return CResizableDialog::OnCommand(id, code, control);
    }
}

std::optional<LRESULT> DeleteEmptyFoldersDlg::OnNotify(const NMHDR& header)
{
    if (header.idFrom == IDC_EMPTY_FOLDERS_LIST && header.code == LVN_ITEMCHANGED)
    {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
            UpdateRemoveButton();
        return 0;
    }
    return std::nullopt;
}

std::optional<INT_PTR> DeleteEmptyFoldersDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == m_list.Hwnd())
    {
        ShowContextMenu(lParam);
        return TRUE;
    }
    return CResizableDialog::OnMessage(message, wParam, lParam);
}

std::vector<std::wstring> DeleteEmptyFoldersDlg::RemoveSelected()
{
    const std::vector<int> rows = m_list.SelectedRows();
    std::vector<std::wstring> removed;
    for (const int row : rows)
        removed.push_back(m_found[static_cast<size_t>(row)]);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        m_found.erase(m_found.begin() + *it);
    m_list.RemoveRows(rows);
    UpdateStatus();
    UpdateRemoveButton();
    return removed;
}

void DeleteEmptyFoldersDlg::CopySelectedPaths() const
{
    std::vector<std::wstring> paths;
    for (const int row : m_list.SelectedRows())
        paths.push_back(m_found[static_cast<size_t>(row)]);
    if (!paths.empty())
        CopyTextForUser(ClipboardPathText(paths).Text());
}

void DeleteEmptyFoldersDlg::ShowContextMenu(LPARAM position)
{
    const size_t selected = m_list.SelectedRows().size();
    if (selected == 0)
        return;
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1)
        point = m_list.KeyboardMenuPoint();
    const UniqueHmenu menu(::LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(IDM_EMPTY_FOLDERS)));
    if (!menu)
        return;
    // Popup 0 is "OneFolder", popup 1 "Folders".
    const HMENU popup = ::GetSubMenu(menu.Get(), selected == 1 ? 0 : 1);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Hwnd(), nullptr);
}

void DeleteEmptyFoldersDlg::UpdateStatus()
{
    const int count = static_cast<int>(m_found.size());
    std::wstring status;
    if (count == 0)
        status = LoadStringResource(IDS_EMPTY_FOLDERS_NONE);
    else if (count == 1)
        status = LoadStringResource(IDS_EMPTY_FOLDERS_ONE);
    else
        status = FormatStringResource(IDS_EMPTY_FOLDERS_MANY, count);
    SetText(IDC_EMPTY_FOLDERS_STATUS, status);
    EnableItem(IDOK, count > 0);
}

void DeleteEmptyFoldersDlg::UpdateRemoveButton()
{
    const bool any = !m_list.SelectedRows().empty();
    if (any)
        ShowItem(IDC_EMPTY_FOLDERS_REMOVE, true);
    EnableItem(IDC_EMPTY_FOLDERS_REMOVE, any);
}
