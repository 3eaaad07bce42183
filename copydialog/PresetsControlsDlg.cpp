#include "copydialog/PresetsControlsDlg.h"

#include "copydialog/PresetDialogs.h"
#include "resources/resource.h"

#include <commctrl.h>

CPresetsControlsDlg::CPresetsControlsDlg(CopyOptions& options) : CCopyOptionsPage(IDD_PRESETS_CONTROLS, options) {}

HWND CPresetsControlsDlg::List() const noexcept
{
    return Item(IDC_PRESETS_LIST);
}

void CPresetsControlsDlg::DeclareAnchors(AnchorLayout& layout, int right, int bottom)
{
    layout.AddAnchor(IDC_PRESETS_LIST, kAnchorStretch, kAnchorStretch, right, bottom);
    for (const int id : {IDC_PRESETS_MOVE_UP, IDC_PRESETS_MOVE_DOWN, IDC_PRESETS_RENAME, IDC_PRESETS_DELETE})
        layout.AddAnchor(id, kAnchorMove, kAnchorNone, right, bottom);
}

bool CPresetsControlsDlg::OnInitDialog()
{
    ListView_SetExtendedListViewStyle(List(), LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(List(), 0, &column);
    OnLayout();
    return false;
}

void CPresetsControlsDlg::OnLayout()
{
    RECT client{};
    ::GetClientRect(List(), &client);
    ListView_SetColumnWidth(List(), 0, client.right);
}

void CPresetsControlsDlg::OnPageSelected()
{
    const PresetList& presets = Options().Presets();
    m_quiet = true;
    ListView_DeleteAllItems(List());
    for (size_t index = 0; index < presets.size(); ++index)
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(index);
        item.pszText = const_cast<wchar_t*>(presets[index].name.c_str());
        ListView_InsertItem(List(), &item);
    }
    Select(FindPresetByTexts(presets, Options().ItemText(), Options().SeparatorText()));
    m_quiet = false;
    UpdateButtons();
}

int CPresetsControlsDlg::Selected() const noexcept
{
    return ListView_GetNextItem(List(), -1, LVNI_SELECTED);
}

void CPresetsControlsDlg::Select(int row)
{
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    if (row < 0)
        return;
    ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(List(), row, FALSE);
}

void CPresetsControlsDlg::UpdateButtons()
{
    const int selected = Selected();
    const int count = static_cast<int>(Options().Presets().size());
    EnableItem(IDC_PRESETS_MOVE_UP, selected > 0);
    EnableItem(IDC_PRESETS_MOVE_DOWN, selected >= 0 && selected < count - 1);
    EnableItem(IDC_PRESETS_RENAME, selected >= 0);
    EnableItem(IDC_PRESETS_DELETE, selected >= 0);
}

void CPresetsControlsDlg::ApplySelected()
{
    const int selected = Selected();
    if (selected < 0 || static_cast<size_t>(selected) >= Options().Presets().size())
        return;
    const Preset& preset = Options().Presets()[static_cast<size_t>(selected)];
    Options().ApplyTexts(preset.item, preset.separator);
}

void CPresetsControlsDlg::Move(bool up)
{
    const int selected = Selected();
    if (selected < 0 || !MovePreset(Options().Presets(), static_cast<size_t>(selected), up))
        return;
    const int other = up ? selected - 1 : selected + 1;
    for (const int row : {selected, other})
        ListView_SetItemText(List(), row, 0,
                             const_cast<wchar_t*>(Options().Presets()[static_cast<size_t>(row)].name.c_str()));
    m_quiet = true; // the moved preset is the one applied already
    Select(other);
    m_quiet = false;
    UpdateButtons();
    Options().SavePresets();
}

void CPresetsControlsDlg::Rename()
{
    const int selected = Selected();
    if (selected < 0 || !RenamePresetAt(CWindow(Hwnd()), Options().Presets(), static_cast<size_t>(selected)))
        return;
    ListView_SetItemText(List(), selected, 0,
                         const_cast<wchar_t*>(Options().Presets()[static_cast<size_t>(selected)].name.c_str()));
}

void CPresetsControlsDlg::Delete()
{
    const int selected = Selected();
    if (selected < 0)
        return;
    DeletePreset(Options().Presets(), static_cast<size_t>(selected));
    m_quiet = true;
    ListView_DeleteItem(List(), selected);
    m_quiet = false;
    UpdateButtons();
    Options().SavePresets();
}

bool CPresetsControlsDlg::OnCommand(int id, int code, HWND control)
{
    if (code != BN_CLICKED)
        return CCopyOptionsPage::OnCommand(id, code, control);
    switch (id)
    {
    case IDC_PRESETS_MOVE_UP:
        Move(true);
        return true;
    case IDC_PRESETS_MOVE_DOWN:
        Move(false);
        return true;
    case IDC_PRESETS_RENAME:
        Rename();
        return true;
    case IDC_PRESETS_DELETE:
        Delete();
        return true;
    default:
        return CCopyOptionsPage::OnCommand(id, code, control);
    }
}

std::optional<LRESULT> CPresetsControlsDlg::OnNotify(const NMHDR& header)
{
    if (header.idFrom != IDC_PRESETS_LIST)
        return std::nullopt;
    switch (header.code)
    {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool nowSelected = (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
        if (nowSelected && !m_quiet)
            ApplySelected();
        if ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)
            UpdateButtons();
        return 0;
    }
    case NM_DBLCLK:
        Rename();
        return 0;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE)
            Delete();
        return 0;
    default:
        return std::nullopt;
    }
}
