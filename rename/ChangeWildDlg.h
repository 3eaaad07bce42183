#pragma once

#include "rename/Segment.h"
#include "winsupport/Dialog.h"

// "Change Wild": the truncation and case rule of one wild part; the segment changes only on OK.
class CChangeWildDlg final : public CDialog
{
  public:
    explicit CChangeWildDlg(Segment& segment);

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void UpdateEnabled();
    void Store();

    Segment& m_segment;
};
