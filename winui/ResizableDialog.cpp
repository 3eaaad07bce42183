#include "winui/ResizableDialog.h"

#include "winsupport/Resources.h"

#include <algorithm>

namespace
{
// How much larger the template's client area is than the window's: the system holds a dialog
// within the screen, so on a small screen at a high DPI the window can come out smaller than the
// template placed its controls for. Nothing where the window is as large.
SIZE ClippedBy(HWND dialog, UINT templateId)
{
    const HRSRC found = ::FindResourceW(ResourceModule(), MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));
    const HGLOBAL loaded = found ? ::LoadResource(ResourceModule(), found) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    if (!words || ::SizeofResource(ResourceModule(), found) < 26)
        return {};
    // DLGTEMPLATEEX: version, 0xFFFF, help id, styles, item count, then x, y, cx, cy; DLGTEMPLATE:
    // styles, item count, then x, y, cx, cy.
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    const auto* size = reinterpret_cast<const short*>(words + (extended ? 11 : 7));
    RECT wanted{0, 0, size[0], size[1]};
    ::MapDialogRect(dialog, &wanted);
    RECT client{};
    ::GetClientRect(dialog, &client);
    return {std::max(0L, wanted.right - client.right), std::max(0L, wanted.bottom - client.bottom)};
}
} // namespace

bool CResizableDialog::InitDialog()
{
    m_initialised = false;
    m_layout = std::make_unique<AnchorLayout>(Hwnd(), SharedDpi());
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    if (m_minimum.kind == MinimumSize::Kind::Initial)
        m_minimum.dips = {Dpi().PixelsToDips(outer.right - outer.left), Dpi().PixelsToDips(outer.bottom - outer.top)};
    // The anchors keep the distances the template gave, also where the window came out smaller.
    const SIZE clipped = ClippedBy(Hwnd(), TemplateId());
    outer.right += clipped.cx;
    outer.bottom += clipped.cy;
    DeclareAnchors(*m_layout, outer.right, outer.bottom);
    m_layout->CreateSizeGrip();
    if (!m_sizeName.empty())
        RestoreWindowSize(*m_layout, Hwnd(), m_sizeName);
    const bool focus = OnInitDialog();
    m_initialised = true;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    if (clipped.cx > 0 || clipped.cy > 0)
        m_layout->Layout(client.right, client.bottom); // into the window as it came out
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
            info->ptMinTrackSize.x = std::max(Dpi().DipsToPixels(m_minimum.dips.cx), LeastOuterWidth());
            info->ptMinTrackSize.y = Dpi().DipsToPixels(m_minimum.dips.cy);
            return TRUE;
        }
        break;
    }
    return std::nullopt;
}
