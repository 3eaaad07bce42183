#include "copydialog/PresetDialogs.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

CPresetNameEntryDlg::CPresetNameEntryDlg(UINT templateId, int editId, const PresetList& presets, int except,
                                         std::wstring initial)
    : CDialog(templateId), m_editId(editId), m_presets(presets), m_except(except), m_name(std::move(initial))
{
}

bool CPresetNameEntryDlg::OnInitDialog()
{
    SetText(m_editId, m_name);
    const HWND edit = Item(m_editId);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SetFocus(edit);
    return false; // the focus is set
}

bool CPresetNameEntryDlg::OnCommand(int id, int code, HWND control)
{
    if (id != IDOK || code != BN_CLICKED)
        return CDialog::OnCommand(id, code, control);
    std::wstring name = TrimPresetName(GetText(m_editId));
    switch (CheckPresetName(m_presets, name, m_except))
    {
    case PresetNameProblem::Empty:
        ShowDialogMessage(Hwnd(), LoadStringResource(IDS_PRESET_NAME_EMPTY));
        break;
    case PresetNameProblem::Taken:
        ShowDialogMessage(Hwnd(), FormatStringResource(IDS_PRESET_NAME_TAKEN, {name}));
        break;
    case PresetNameProblem::None:
        m_name = std::move(name);
        Close(IDOK);
        break;
    }
    return true;
}

CPresetNameDlg::CPresetNameDlg(const PresetList& presets)
    : CPresetNameEntryDlg(IDD_PRESET_NAME, IDC_PRESET_NAME_EDIT, presets, -1, {})
{
}

CPresetRenameDlg::CPresetRenameDlg(const PresetList& presets, size_t index)
    : CPresetNameEntryDlg(IDD_PRESET_RENAME, IDC_PRESET_RENAME_EDIT, presets, static_cast<int>(index),
                          presets[index].name)
{
}

bool SaveCurrentAsPreset(const CWindow& owner, PresetList& presets, const std::wstring& item,
                         const std::wstring& separator, bool itemFormatValid)
{
    if (!itemFormatValid)
    {
        ShowDialogMessage(owner.Hwnd(), LoadStringResource(IDS_PRESET_FORMAT_INVALID));
        return false;
    }
    if (const int existing = FindPresetByTexts(presets, item, separator); existing >= 0)
    {
        ShowDialogMessage(owner.Hwnd(), FormatStringResource(IDS_PRESET_EXISTS, {presets[existing].name}));
        return false;
    }
    CPresetNameDlg dialog(presets);
    if (dialog.ShowModal(owner.Hwnd()) != IDOK)
        return false;
    presets.push_back({dialog.Name(), item, separator});
    SaveEditedPresets(presets);
    return true;
}

bool RenamePresetAt(const CWindow& owner, PresetList& presets, size_t index)
{
    if (index >= presets.size())
        return false;
    CPresetRenameDlg dialog(presets, index);
    if (dialog.ShowModal(owner.Hwnd()) != IDOK)
        return false;
    presets[index].name = dialog.Name();
    SaveEditedPresets(presets);
    return true;
}
