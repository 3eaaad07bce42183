#pragma once

#include "rename/ChangePartDlg.h"

// "Change Wild": the truncation and case rule of one wild part.
class CChangeWildDlg final : public CChangePartDlg
{
  public:
    explicit CChangeWildDlg(Segment& segment);

  protected:
    void ShowSegment() override;
    bool OnPartCommand(int id, int code) override;
    void EnableControls() override;
    void Store() override;
};
