#pragma once

#include "winui/Control.h"

#include <string>

// An edit that shows each space as a middle dot (U+00B7), so that spaces at the ends of a text
// are seen. Whatever reaches the edit (its text set, a typed space, a paste) is shown that way;
// PlainText gives the text with real spaces. A middle dot meant as such cannot be entered here.
class CVisibleWSEdit final : public CControl
{
  public:
    static constexpr wchar_t kVisibleSpace = L'\u00B7';

    void SetPlainText(const std::wstring& text) const;
    std::wstring PlainText() const;
    // Inserts at the caret, or in place of the selection.
    void Insert(const std::wstring& text) const;

  protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The text with every space made visible, and back.
std::wstring SpacesToDots(std::wstring text);
std::wstring DotsToSpaces(std::wstring text);
