#pragma once

#include "copydialog/CopyOptionsPage.h"
#include "copydialog/QuickFormat.h"

#include <string>

// The Quick Controls page: builds the two texts from a handful of ready-made choices, and reads
// the current texts back into the choices where they have that shape.
class CQuickControlsDlg : public CCopyOptionsPage
{
  public:
    explicit CQuickControlsDlg(CopyOptions& options);

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
    // Applies the texts the controls give.
    void ApplyControls();

    std::wstring m_keptItem;
    std::wstring m_keptSeparator;
    bool m_untouched = false;
    bool m_showing = false; // the page itself is setting its controls
};
