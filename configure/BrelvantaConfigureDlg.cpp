#include "configure/BrelvantaConfigureDlg.h"

#include "configure/AboutDlg.h"
#include "configure/CommandTexts.h"
#include "configure/ProgramVersion.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

#include <commctrl.h>

CBrelvantaConfigureDlg::CBrelvantaConfigureDlg(MenuConfig& config, MenuConfigFile& file, std::atomic<HWND>& mainWindow)
    : CDialog(IDD_BRELVANTACONFIGURE_DIALOG), m_config(config), m_file(file), m_mainWindow(mainWindow),
      m_smallIcon(IDI_BRELVANTA, SharedDpi()), m_link(Dpi())
{
}

bool CBrelvantaConfigureDlg::OnInitDialog()
{
    if (const std::wstring about = LoadStringResource(IDS_ABOUTBOX); !about.empty())
    {
        if (const HMENU systemMenu = ::GetSystemMenu(Hwnd(), FALSE))
        {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    SetIcons();

    m_mainList.Attach(Item(IDC_MAIN_MENU_LIST));
    m_subList.Attach(Item(IDC_SUBMENU_LIST));
    m_mainList.SetUp(Dpi().Dpi());
    m_subList.SetUp(Dpi().Dpi());
    ShowConfig();

    m_link.Attach(Hwnd(), IDC_LINK);
    const FileVersion version = ModuleFileVersion(ResourceModule());
    SetText(IDC_LINK,
            FormatStringResource(IDS_LINK_TEXT, {std::to_wstring(version.major), std::to_wstring(version.minor)}));
    m_link.SetTarget(UpdateLinkTarget(version));

    m_mainWindow.store(Hwnd());
    // The list whose row is selected: the user starts on that command.
    FocusControl(Item(m_subList.Selected() >= 0 ? IDC_SUBMENU_LIST : IDC_MAIN_MENU_LIST));
    return false;
}

void CBrelvantaConfigureDlg::OnDestroy()
{
    m_mainWindow.store(nullptr);
}

// The submenu list is filled last, so the dialog opens with its first row selected, or with the
// first main-menu row when the submenu is empty.
void CBrelvantaConfigureDlg::ShowConfig()
{
    m_mainList.Fill(m_config.mainMenu);
    m_subList.Fill(m_config.subMenu);
}

void CBrelvantaConfigureDlg::SetIcons()
{
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    const int size = Dpi().DipsToPixels(::GetSystemMetrics(SM_CXICON));
    m_bigIcon.Reset(static_cast<HICON>(
        ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDI_BRELVANTA), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
}

CCommandListView& CBrelvantaConfigureDlg::Other(const CCommandListView& list) noexcept
{
    return &list == &m_mainList ? m_subList : m_mainList;
}

void CBrelvantaConfigureDlg::OnRowSelected(CCommandListView& list, int row)
{
    Other(list).ClearSelection();
    EnableItem(IDC_MOVE_UP, row >= 1 && list.Count() >= 2);
    EnableItem(IDC_MOVE_DOWN, row < list.Count() - 1);
    EnableItem(IDC_MOVE_TO_MAIN_MENU, &list == &m_subList);
    EnableItem(IDC_MOVE_TO_SUBMENU, &list == &m_mainList);
    SetText(IDC_DESCRIPTION, CommandDescription(list.Entry(row).type));
}

void CBrelvantaConfigureDlg::MoveWithinList(int step)
{
    CCommandListView* list = &m_mainList;
    int row = m_mainList.Selected();
    if (row < 0)
    {
        list = &m_subList;
        row = m_subList.Selected();
    }
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list->Count())
        return;
    const MenuEntry entry = list->Entry(row);
    list->Delete(row);
    list->Insert(target, entry);
    list->Select(target);
}

void CBrelvantaConfigureDlg::MoveBetweenLists(CCommandListView& from, CCommandListView& to)
{
    const int row = from.Selected();
    if (row < 0)
        return;
    const MenuEntry entry = from.Entry(row);
    from.Delete(row);
    to.Insert(to.Count(), entry);
    to.Select(to.Count() - 1);
}

void CBrelvantaConfigureDlg::SaveAndClose()
{
    m_config.mainMenu = m_mainList.Entries();
    m_config.subMenu = m_subList.Entries();
    MenuConfigPath(); // makes the file's folders again, should they have gone since the start
    if (m_file.Save(m_config))
    {
        Close(IDOK);
        return;
    }
    const std::wstring message = FormatStringResource(IDS_SAVE_FAILED, {m_file.Path()});
    ShowDialogMessage(Hwnd(), message);
}

bool CBrelvantaConfigureDlg::OnCommand(int id, int code, HWND control)
{
    if (code != BN_CLICKED)
        return false;
    switch (id)
    {
    case IDOK:
        SaveAndClose();
        return true;
    case IDC_MOVE_UP:
        MoveWithinList(-1);
        return true;
    case IDC_MOVE_DOWN:
        MoveWithinList(+1);
        return true;
    case IDC_MOVE_TO_MAIN_MENU:
        MoveBetweenLists(m_subList, m_mainList);
        return true;
    case IDC_MOVE_TO_SUBMENU:
        MoveBetweenLists(m_mainList, m_subList);
        return true;
    case IDC_RESTORE_DEFAULT:
        DefaultMenuConfig(m_config); // the file is written only by OK
        ShowConfig();
        return true;
    case IDC_LINK:
        m_link.Open();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

std::optional<LRESULT> CBrelvantaConfigureDlg::OnNotify(const NMHDR& header)
{
    if (header.code != LVN_ITEMCHANGED || (header.idFrom != IDC_MAIN_MENU_LIST && header.idFrom != IDC_SUBMENU_LIST))
        return std::nullopt;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    const bool becameSelected =
        (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
    if (becameSelected && change.iItem >= 0)
        OnRowSelected(header.idFrom == IDC_MAIN_MENU_LIST ? m_mainList : m_subList, change.iItem);
    return 0;
}

void CBrelvantaConfigureDlg::OnDpiChanged(UINT, UINT newDpi)
{
    m_mainList.SizeColumns(newDpi);
    m_subList.SizeColumns(newDpi);
    SetIcons();
}

std::optional<INT_PTR> CBrelvantaConfigureDlg::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
            return std::nullopt;
        CAboutDlg().ShowModal(Hwnd());
        return TRUE;
    case kBringToFrontMessage: {
        if (::IsIconic(Hwnd()))
            ::ShowWindow(Hwnd(), SW_RESTORE);
        // An about box or message box open on the dialog comes with it.
        ::SetForegroundWindow(::GetLastActivePopup(Hwnd()));
        return TRUE;
    }
    default:
        return std::nullopt;
    }
}
