#include "winsupport/ResizableDialog.h"

CResizableDialog::~CResizableDialog()
{
    m_dpi->RemoveWatcher(this);
}

bool CResizableDialog::OnInitDialog()
{
    m_dpi->Update(Hwnd());
    m_dpi->AddWatcher(this);
    m_layout = std::make_unique<AnchorLayout>(Hwnd(), m_dpi);
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    DeclareAnchors(*m_layout, outer.right, outer.bottom);
    m_layout->CreateSizeGrip();
    if (!m_sizeName.empty())
        RestoreWindowSize(*m_layout, Hwnd(), m_sizeName);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    OnLayout(client.right, client.bottom);
    return true;
}

void CResizableDialog::OnSize(UINT, int width, int height)
{
    m_dpi->Update(Hwnd());
    if (!m_layout)
        return; // sizes during creation come before the anchors exist
    m_layout->Layout(width, height);
    m_layout->PlaceSizeGrip();
    OnLayout(width, height);
}

void CResizableDialog::OnDestroy()
{
    if (m_layout && !m_sizeName.empty())
        SaveWindowSize(*m_layout, Hwnd(), m_sizeName);
}

std::optional<INT_PTR> CResizableDialog::OnMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_GETMINMAXINFO && m_minimumTrackSize.cx > 0)
    {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = m_dpi->DipsToPixels(m_minimumTrackSize.cx);
        info->ptMinTrackSize.y = m_dpi->DipsToPixels(m_minimumTrackSize.cy);
        return TRUE;
    }
    return std::nullopt;
}
