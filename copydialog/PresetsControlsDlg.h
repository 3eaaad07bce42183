#pragma once

#include "copydialog/CopyOptionsPage.h"

// The Presets page: the saved presets by name; selecting one applies its texts. Presets can be
// moved, renamed and deleted here; each change is saved at once.
class CPresetsControlsDlg : public CCopyOptionsPage
{
  public:
    explicit CPresetsControlsDlg(CopyOptions& options);

    void OnPageSelected() override;

  protected:
    void DeclareAnchors(AnchorLayout& layout, int right, int bottom) override;
    void OnLayout() override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;

  private:
    HWND List() const noexcept;
    int Selected() const noexcept;
    void Select(int row);
    void UpdateButtons();
    void ApplySelected();
    void Move(bool up);
    void Rename();
    void Delete();

    bool m_quiet = false; // the page itself selects a row: nothing is applied
};
