#pragma once

#include "winui/Accessible.h"
#include "winui/Control.h"
#include "winui/WindowHandles.h"

#include <string>

// A number or wild part's button of the Multi Rename part row. It shows only "#", "*" or ".*",
// so its tooltip and its name to assistive technology say what a click on it does.
class CPartButton final : public CControl, private AccessibleFacts
{
  public:
    CPartButton() : m_accessible(*this) {}

    // Takes over the button and gives it the text of string textId as tooltip and name.
    bool Attach(HWND button, UINT textId);

  protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    std::optional<std::wstring> AccessibleName(long child) const override;

    std::wstring m_text;
    UniqueWindow m_tip;
    AccessibleObject m_accessible;
};
