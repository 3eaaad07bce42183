#pragma once

#include "copydialog/CopyOptionsPage.h"
#include "winui/IconButton.h"
#include "winui/VisibleWSEdit.h"

// The Full Controls page: the two texts edited directly, an error indicator while the item text
// is not valid, attributes from the Insert dialog, line break and tab insertion for the separator,
// and saving as a preset.
class CFullControlsDlg : public CCopyOptionsPage
{
  public:
    explicit CFullControlsDlg(CopyOptions& options);

    void OnPageSelected() override;

  protected:
    void DeclareAnchors(AnchorLayout& layout, int right, int bottom) override;
    void OnLayout() override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void OnItemTextChanged();
    void OnSeparatorTextChanged();
    // The "Insert" list inserts only on a deliberate choice, its drop-down closing on an entry:
    // moving through it with the arrow keys inserts nothing.
    void OnEscapeListCommand(int code);
    void InsertEscape();
    // "Insert...": the Insert dialog's fragment at the caret of the item text.
    void InsertAttribute();
    // The error indicator at the right end of the item text, which gives it room, or neither.
    void ShowError(bool show);
    void PlaceError();

    CVisibleWSEdit m_itemText;
    CVisibleWSEdit m_separatorText;
    CIconButton m_error;
    bool m_suppress = false; // the page itself is writing its edits
    bool m_errorShown = false;
    bool m_escapeCancelled = false; // the drop-down closed without a choice
};
