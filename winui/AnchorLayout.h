#pragma once

#include "winui/Control.h"
#include "winui/ScreenDpi.h"
#include "winui/WindowHandles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// How one edge pair of a control follows the dialog's right or bottom edge.
enum AnchorMode : int
{
    kAnchorNone = 0,    // untouched
    kAnchorStretch = 1, // the far edge follows
    kAnchorMove = 2,    // the whole control follows
};

// One control of a resizable dialog and its distances (in DIPs) to the dialog's outer edges.
struct Anchor
{
    int controlId = 0;
    int horizontal = kAnchorNone;
    int vertical = kAnchorNone;
    int rightGap = 0;
    int bottomGap = 0;
};

// The size grip of a resizable dialog: a scroll-bar size box that reports the bottom-right sizing
// border wherever it is hit, sized for the dialog's DPI each time it is placed.
class SizeGrip final : public CControl
{
  public:
    SizeGrip() noexcept = default;
    ~SizeGrip() override;

    void Create(HWND dialog, const ScreenDpi& dpi);
    void Place(HWND dialog, const ScreenDpi& dpi) const noexcept;

  protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Moves and stretches a dialog's controls as it is resized, declared once at initialisation.
class AnchorLayout
{
  public:
    AnchorLayout(HWND dialog, std::shared_ptr<ScreenDpi> dpi) : m_dialog(dialog), m_dpi(std::move(dpi)) {}

    // outerRight and outerBottom: the dialog's outer edges in screen coordinates. A control that
    // does not exist is not recorded.
    void AddAnchor(int controlId, int horizontal, int vertical, int outerRight, int outerBottom);
    void Layout(int clientWidth, int clientHeight);
    void CreateSizeGrip() { m_grip.Create(m_dialog, *m_dpi); }
    void PlaceSizeGrip() const noexcept { m_grip.Place(m_dialog, *m_dpi); }

    HWND Dialog() const noexcept { return m_dialog; }
    ScreenDpi& Dpi() const noexcept { return *m_dpi; }
    const std::vector<Anchor>& Anchors() const noexcept { return m_anchors; }

  private:
    HWND m_dialog;
    std::shared_ptr<ScreenDpi> m_dpi;
    std::vector<Anchor> m_anchors;
    SizeGrip m_grip;
};

// The remembered outer size of a dialog, in DIPs, as the values name + "Width" and name + "Height"
// of the settings store. Restore returns false and changes nothing when either is missing or 0.
bool RestoreWindowSize(AnchorLayout& layout, HWND dialog, const std::wstring& name);
void SaveWindowSize(const AnchorLayout& layout, HWND dialog, const std::wstring& name);

// The small icon of a window at the current DPI, reloaded when the DPI changes.
class DpiIcon
{
  public:
    DpiIcon(UINT iconId, std::shared_ptr<ScreenDpi> dpi) : m_iconId(iconId), m_dpi(std::move(dpi)) {}

    // Null when the icon cannot be loaded.
    HICON Get();

  private:
    UINT m_iconId;
    std::shared_ptr<ScreenDpi> m_dpi;
    UniqueHicon m_icon;
    UINT m_iconDpi = 0;
};
