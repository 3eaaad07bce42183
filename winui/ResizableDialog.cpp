#include "winui/ResizableDialog.h"

bool CResizableDialog::InitDialog()
{
    m_initialised = false;
    m_layout = std::make_unique<AnchorLayout>(Hwnd(), SharedDpi());
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    if (m_minimum.kind == MinimumSize::Kind::Initial)
        m_minimum.dips = {Dpi().PixelsToDips(outer.right - outer.left), Dpi().PixelsToDips(outer.bottom - outer.top)};
    DeclareAnchors(*m_layout, outer.right, outer.bottom);
    m_layout->CreateSizeGrip();
    if (!m_sizeName.empty())
        RestoreWindowSize(*m_layout, Hwnd(), m_sizeName);
    const bool focus = OnInitDialog();
    m_initialised = true;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    OnLayout(client.right, client.bottom);
    return focus;
}

std::optional<INT_PTR> CResizableDialog::FrameworkMessage(UINT message, WPARAM, LPARAM lParam)
{
    switch (message)
    {
    case WM_SIZE:
        Dpi().Update(Hwnd());
        if (!m_layout)
            break; // sizes during creation come before the anchors exist
        m_layout->Layout(LOWORD(lParam), HIWORD(lParam));
        m_layout->PlaceSizeGrip();
        if (m_initialised)
            OnLayout(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_DESTROY:
        if (m_layout && !m_sizeName.empty())
            SaveWindowSize(*m_layout, Hwnd(), m_sizeName);
        break;
    case WM_GETMINMAXINFO:
        if (m_minimum.dips.cx > 0)
        {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = Dpi().DipsToPixels(m_minimum.dips.cx);
            info->ptMinTrackSize.y = Dpi().DipsToPixels(m_minimum.dips.cy);
            return TRUE;
        }
        break;
    }
    return std::nullopt;
}
