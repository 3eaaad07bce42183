#pragma once

#include "winui/Accessible.h"
#include "winui/Control.h"
#include "winui/WindowHandles.h"

#include <string>

// An owner-drawn button showing a 16 by 16 bitmap with per-pixel alpha, centred (at other DPIs a
// larger drawing of it, scaled to the size the DPI wants). While the mouse is over it, a flat
// button frame is drawn behind the bitmap, pushed while the button is down. It may carry a
// tooltip; its message, whole, is also its name to assistive technology.
class CIconButton final : public CControl, private AccessibleFacts
{
  public:
    CIconButton() : m_accessible(*this) {}

    // Takes over the dialog's button; the bitmap resources (32 bits, premultiplied alpha) are the
    // 16 by 16 design and the larger drawing scaled for other DPIs, loaded when first drawn.
    bool Attach(HWND dialog, int id, UINT bitmapId, UINT largeBitmapId, HBRUSH background);
    // The message: the tooltip shows it cut to what a tooltip of this kind holds (79 characters).
    void SetTip(const std::wstring& text);

    static constexpr size_t kMaxTipLength = 79;

  protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Draw(const DRAWITEMSTRUCT& item);
    std::optional<std::wstring> AccessibleName(long child) const override;

    UINT m_bitmapId = 0;
    UINT m_largeBitmapId = 0;
    UniqueHbitmap m_bitmap;
    int m_bitmapSize = 0;
    HBRUSH m_background = nullptr;
    UniqueWindow m_tip;
    std::wstring m_tipText;
    std::wstring m_message;
    bool m_hover = false;
    AccessibleObject m_accessible;
};

// The tooltip text for a message: whole when it fits, else cut with an ellipsis.
std::wstring TipText(const std::wstring& message);
