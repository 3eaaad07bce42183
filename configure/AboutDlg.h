#pragma once

#include "winui/Dialog.h"

// The configure program's about box: the product icon, the program's version and a notice.
class CAboutDlg final : public CDialog
{
  public:
    CAboutDlg() noexcept;

  protected:
    bool OnInitDialog() override;
};
