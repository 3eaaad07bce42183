#pragma once

#include "winui/Control.h"
#include "winui/ScreenDpi.h"
#include "winui/WindowHandles.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// Hands a link to the platform's default handler (the shell's open verb).
void OpenLinkWithShell(const std::wstring& target);

// An owner-drawn button that shows its text as an underlined link, blue normally and orange-red
// while the pointer is over the text (in the system's link colour under a high-contrast theme),
// with the hand cursor. Clicking the text, or the button's
// own click (keyboard, BM_CLICK), opens the link target. It paints itself from its parent's
// WM_DRAWITEM.
class CButtonLink final : public CControl, private ScreenDpiWatcher
{
  public:
    using Opener = std::function<void(const std::wstring& target)>;

    explicit CButtonLink(ScreenDpi& dpi);
    CButtonLink(const CButtonLink&) = delete;
    CButtonLink& operator=(const CButtonLink&) = delete;
    ~CButtonLink() override;

    void SetTarget(std::wstring target) { m_target = std::move(target); }
    // What a click opens: the target, or "https://" and the button's text when there is none.
    std::wstring EffectiveTarget() const;
    // Replaces the shell as the opener (tests must never hand a link to the desktop).
    void SetOpener(Opener opener) { m_opener = std::move(opener); }
    void Open() const;

    void DrawItem(const DRAWITEMSTRUCT& item);
    bool IsHot() const noexcept { return m_hot; }
    // The rectangle the text covered at the last paint, in the button's client coordinates.
    RECT TextRect() const noexcept { return m_textRect; }

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetHot(bool hot);
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

    ScreenDpi& m_dpi;
    std::wstring m_target;
    Opener m_opener = OpenLinkWithShell;
    UniqueHfont m_font;
    RECT m_textRect{};
    bool m_hot = false;
};
