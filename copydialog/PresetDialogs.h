#pragma once

#include "copydialog/Presets.h"
#include "winui/Dialog.h"

#include <string>

// What the two preset name dialogs share: an edit for the name, and OK only with a trimmed name
// that is not empty and that no preset but the one at except has in any letter case.
class CPresetNameEntryDlg : public CDialog
{
  public:
    // The trimmed name, after OK.
    const std::wstring& Name() const noexcept { return m_name; }

  protected:
    CPresetNameEntryDlg(UINT templateId, int editId, const PresetList& presets, int except, std::wstring initial);
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    const int m_editId;
    const PresetList& m_presets;
    const int m_except;
    std::wstring m_name;
};

// "Preset Name": the name of a new preset, the edit starting empty.
class CPresetNameDlg final : public CPresetNameEntryDlg
{
  public:
    explicit CPresetNameDlg(const PresetList& presets);
};

// "Rename Preset": a new name for the preset at index, the edit starting with its name; the
// preset's own name in other letter case is accepted.
class CPresetRenameDlg final : public CPresetNameEntryDlg
{
  public:
    CPresetRenameDlg(const PresetList& presets, size_t index);
};

// Saves the current texts as a new preset at the end of the list, asking for its name; refuses
// with a message over owner when the item format is invalid or a preset has these texts already.
// True when a preset was appended (and the list saved).
bool SaveCurrentAsPreset(const CWindow& owner, PresetList& presets, const std::wstring& item,
                         const std::wstring& separator, bool itemFormatValid);

// Asks for a new name of presets[index]; true when renamed (and the list saved).
bool RenamePresetAt(const CWindow& owner, PresetList& presets, size_t index);
