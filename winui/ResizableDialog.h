#pragma once

#include "winui/AnchorLayout.h"
#include "winui/Dialog.h"

#include <memory>
#include <string>

// The smallest outer size a resizable dialog can be dragged to.
struct MinimumSize
{
    enum class Kind
    {
        None,
        Fixed,   // dips
        Initial, // the size at initialisation, before a remembered size is applied
    };
    Kind kind = Kind::None;
    SIZE dips{};

    static MinimumSize Fixed(int width, int height) noexcept { return {Kind::Fixed, {width, height}}; }
    static MinimumSize Initial() noexcept { return {Kind::Initial, {}}; }
};

// A dialog that anchors its controls, has a size grip and remembers its size under a name (empty:
// no memory). Before the dialog's own OnInitDialog runs, its anchors are declared (DeclareAnchors),
// the grip is made and the remembered size applied; after it, OnLayout runs once. The layout, the
// minimum size and the size memory need no calls from derived dialogs.
class CResizableDialog : public CDialog
{
  public:
    CResizableDialog(UINT templateId, std::wstring sizeName, MinimumSize minimum = {})
        : CDialog(templateId), m_sizeName(std::move(sizeName)), m_minimum(minimum)
    {
    }

  protected:
    // Called once at initialisation with the dialog's outer edges in screen coordinates.
    virtual void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) = 0;
    // Called after every layout with the new client size, from the end of initialisation on.
    virtual void OnLayout(int /*clientWidth*/, int /*clientHeight*/) {}
    // The least outer width, in pixels, at which the controls that follow the right edge keep
    // clear of those that stay; 0 where the minimum size alone decides.
    virtual int LeastOuterWidth() const { return 0; }
    // The anchors, once declared (from initialisation on).
    const AnchorLayout* Anchors() const noexcept { return m_layout.get(); }

  private:
    bool InitDialog() final;
    std::optional<INT_PTR> FrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam) final;

    const std::wstring m_sizeName;
    MinimumSize m_minimum;
    std::unique_ptr<AnchorLayout> m_layout;
    bool m_initialised = false;
};
