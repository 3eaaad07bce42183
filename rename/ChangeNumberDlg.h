#pragma once

#include "rename/ChangePartDlg.h"

// "Change Number": clearing, renumbering and the leading zeros of one number part. The start and
// the digit count are remembered for the next use where the settings can keep them.
class CChangeNumberDlg final : public CChangePartDlg
{
  public:
    explicit CChangeNumberDlg(Segment& segment);

  protected:
    void ShowSegment() override;
    bool OnPartCommand(int id, int code) override;
    void EnableControls() override;
    void Store() override;
};
