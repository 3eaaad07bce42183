#pragma once

#include "rename/Segment.h"
#include "winsupport/Dialog.h"

// "Change Number": clearing, renumbering and the leading zeros of one number part; the segment
// changes only on OK. The start and the digit count are remembered for the next use.
class CChangeNumberDlg final : public CDialog
{
  public:
    explicit CChangeNumberDlg(Segment& segment);

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void UpdateEnabled();
    void Store();

    Segment& m_segment;
};
