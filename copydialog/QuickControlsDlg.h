#pragma once

#include "copydialog/CopyOptionsPage.h"
#include "copydialog/QuickFormat.h"

#include <string>

// The Quick Controls page: builds the two texts from a handful of ready-made choices, and reads
// the current texts back into the choices where they have that shape.
class CQuickControlsDlg : public CCopyOptionsPage
{
  public:
    explicit CQuickControlsDlg(CCopyPathsDlg& dialog);

    void OnPageSelected() override;
    void OnPageDeselected() override;

  protected:
    void DeclareAnchors(AnchorLayout& layout, int right, int bottom) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void ShowControls(const QuickControls& controls);
    QuickControls ReadControls() const;
    void EnableLists();
    // Sets the texts the controls give on the dialog, refreshes and remembers them.
    void ApplyControls();

    std::wstring m_keptItem;
    std::wstring m_keptSeparator;
    bool m_untouched = false;
    bool m_showing = false; // the page itself is setting its controls
};
