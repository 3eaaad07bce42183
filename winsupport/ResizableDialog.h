#pragma once

#include "winsupport/AnchorLayout.h"
#include "winsupport/Dialog.h"

#include <memory>
#include <string>

// A dialog that anchors its controls, has a size grip and remembers its size under a name (empty:
// no memory). Derived dialogs declare their anchors in DeclareAnchors.
class CResizableDialog : public CDialog, protected ScreenDpiWatcher
{
  public:
    CResizableDialog(UINT templateId, std::wstring sizeName, SIZE minimumTrackSize = {})
        : CDialog(templateId), m_sizeName(std::move(sizeName)), m_minimumTrackSize(minimumTrackSize)
    {
    }
    ~CResizableDialog();

  protected:
    // Called once at initialisation with the dialog's outer edges in screen coordinates.
    virtual void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) = 0;
    // Called after every layout with the new client size.
    virtual void OnLayout(int /*clientWidth*/, int /*clientHeight*/) {}
    void OnDpiChanged(UINT /*oldDpi*/, UINT /*newDpi*/) override {}

    bool OnInitDialog() override;
    void OnSize(UINT type, int width, int height) override;
    void OnDestroy() override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    ScreenDpi& Dpi() const noexcept { return *m_dpi; }

  private:
    const std::wstring m_sizeName;
    const SIZE m_minimumTrackSize; // DIPs; 0 for none
    std::shared_ptr<ScreenDpi> m_dpi = std::make_shared<ScreenDpi>();
    std::unique_ptr<AnchorLayout> m_layout;
};
