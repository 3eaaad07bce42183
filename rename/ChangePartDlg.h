#pragma once

#include "rename/Segment.h"
#include "winui/Dialog.h"

// The base of Change Wild and Change Number: each edits the settings of one part of the pattern,
// and the segment changes only on OK.
class CChangePartDlg : public CDialog
{
  public:
    CChangePartDlg(UINT templateId, Segment& segment) : CDialog(templateId), m_segment(segment) {}

  protected:
    bool OnInitDialog() final;
    bool OnCommand(int id, int code, HWND control) final;

    // The segment shown in the controls.
    virtual void ShowSegment() = 0;
    // A click or an edit of the dialog's own controls; false leaves it to the framework.
    virtual bool OnPartCommand(int id, int code) = 0;
    // Enables the controls by their rules; then the focus stays on a usable control.
    virtual void EnableControls() = 0;
    // The controls stored in the segment (and settings), on OK.
    virtual void Store() = 0;

    void UpdateEnabled();
    // An edit box's text read as a decimal number; empty or non-numeric text reads as 0.
    long long ReadDecimal(int id) const;

    Segment& m_segment;
};
