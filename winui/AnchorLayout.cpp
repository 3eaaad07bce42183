#include "winui/AnchorLayout.h"

#include "winsupport/Resources.h"
#include "winsupport/SettingsStore.h"

SizeGrip::~SizeGrip()
{
    const HWND hwnd = Hwnd();
    Detach();
    if (hwnd && ::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
}

void SizeGrip::Create(HWND dialog, const ScreenDpi& dpi)
{
    if (Hwnd())
        return;
    const HWND grip = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP, 0, 0, 0, 0,
                                        dialog, nullptr, ResourceModule(), nullptr);
    if (!grip)
        return;
    if (!Attach(grip))
    {
        ::DestroyWindow(grip);
        return;
    }
    ::SetWindowPos(grip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Place(dialog, dpi);
    ::ShowWindow(grip, SW_SHOW);
}

void SizeGrip::Place(HWND dialog, const ScreenDpi& dpi) const noexcept
{
    if (!Hwnd())
        return;
    RECT client{};
    ::GetClientRect(dialog, &client);
    const int width = dpi.DipsToPixels(::GetSystemMetrics(SM_CXVSCROLL));
    const int height = dpi.DipsToPixels(::GetSystemMetrics(SM_CYHSCROLL));
    ::SetWindowPos(Hwnd(), nullptr, client.right - width, client.bottom - height, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const bool maximised = ::IsZoomed(dialog) != FALSE;
    ::EnableWindow(Hwnd(), !maximised);
    ::ShowWindow(Hwnd(), maximised ? SW_HIDE : SW_SHOW);
}

std::optional<LRESULT> SizeGrip::OnMessage(UINT message, WPARAM, LPARAM)
{
    if (message == WM_NCHITTEST)
        return HTBOTTOMRIGHT;
    return std::nullopt;
}

void AnchorLayout::AddAnchor(int controlId, int horizontal, int vertical, int outerRight, int outerBottom)
{
    const HWND control = ::GetDlgItem(m_dialog, controlId);
    if (!control)
        return;
    RECT rect{};
    ::GetWindowRect(control, &rect);
    m_anchors.push_back(Anchor{controlId, horizontal, vertical, m_dpi->PixelsToDips(outerRight - rect.right),
                               m_dpi->PixelsToDips(outerBottom - rect.bottom)});
}

void AnchorLayout::Layout(int clientWidth, int clientHeight)
{
    bool moved = false;
    for (const Anchor& anchor : m_anchors)
    {
        const HWND control = ::GetDlgItem(m_dialog, anchor.controlId);
        if (!control)
            continue;
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&rect), 2);
        bool changed = false;
        if (anchor.horizontal != kAnchorNone)
        {
            const int target = clientWidth - m_dpi->DipsToPixels(anchor.rightGap);
            if (target != rect.right)
            {
                if (anchor.horizontal == kAnchorMove)
                    rect.left += target - rect.right;
                rect.right = target;
                changed = true;
            }
        }
        if (anchor.vertical != kAnchorNone)
        {
            const int target = clientHeight - m_dpi->DipsToPixels(anchor.bottomGap);
            if (target != rect.bottom)
            {
                if (anchor.vertical == kAnchorMove)
                    rect.top += target - rect.bottom;
                rect.bottom = target;
                changed = true;
            }
        }
        if (!changed)
            continue;
        ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        moved = true;
    }
    if (moved)
        ::InvalidateRect(m_dialog, nullptr, TRUE);
}

bool RestoreWindowSize(AnchorLayout& layout, HWND dialog, const std::wstring& name)
{
    DWORD width = 0;
    DWORD height = 0;
    if (!ReadSettingDword(name + L"Width", width) || !ReadSettingDword(name + L"Height", height) || width == 0 ||
        height == 0 || width > 0x7fff || height > 0x7fff)
        return false;
    const ScreenDpi& dpi = layout.Dpi();
    ::SetWindowPos(dialog, nullptr, 0, 0, dpi.DipsToPixels(static_cast<int>(width)),
                   dpi.DipsToPixels(static_cast<int>(height)),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    RECT client{};
    ::GetClientRect(dialog, &client);
    layout.Layout(client.right, client.bottom);
    return true;
}

void SaveWindowSize(const AnchorLayout& layout, HWND dialog, const std::wstring& name)
{
    RECT rect{};
    if (!::GetWindowRect(dialog, &rect))
        return;
    const ScreenDpi& dpi = layout.Dpi();
    WriteSettingDword(name + L"Width", static_cast<DWORD>(dpi.PixelsToDips(rect.right - rect.left)));
    WriteSettingDword(name + L"Height", static_cast<DWORD>(dpi.PixelsToDips(rect.bottom - rect.top)));
}

HICON DpiIcon::Get()
{
    if (m_icon && m_iconDpi != m_dpi->Dpi())
        m_icon.Reset();
    if (!m_icon)
    {
        m_iconDpi = m_dpi->Dpi();
        m_icon.Reset(
            static_cast<HICON>(::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(m_iconId), IMAGE_ICON,
                                            m_dpi->DipsToPixels(::GetSystemMetrics(SM_CXSMICON)),
                                            m_dpi->DipsToPixels(::GetSystemMetrics(SM_CYSMICON)), LR_DEFAULTCOLOR)));
    }
    return m_icon.Get();
}
