#pragma once

#include "winsupport/Dialog.h"

// The configure program's about box: the product icon, the program's version and a notice.
class CAboutDlg final : public CDialog
{
  public:
    CAboutDlg() noexcept;

  protected:
    bool OnInitDialog() override;
};
