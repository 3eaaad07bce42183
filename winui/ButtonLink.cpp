#include "winui/ButtonLink.h"

#include "winui/Window.h"
#include "winui/WindowHandles.h"

#include <shellapi.h>

#include <algorithm>

namespace
{
constexpr COLORREF kNormalColour = RGB(0, 51, 153);
constexpr COLORREF kHotColour = RGB(255, 51, 0);
constexpr int kFontHeight = 11; // DIPs

// The user chose colours of their own: the link takes theirs, in both of its states.
bool HighContrastOn() noexcept
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
} // namespace

void OpenLinkWithShell(const std::wstring& target)
{
    ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

CButtonLink::CButtonLink(ScreenDpi& dpi) : m_dpi(dpi)
{
    m_dpi.AddWatcher(this);
}

CButtonLink::~CButtonLink()
{
    m_dpi.RemoveWatcher(this);
}

std::wstring CButtonLink::EffectiveTarget() const
{
    return m_target.empty() ? L"https://" + GetWindowTextString(Hwnd()) : m_target;
}

void CButtonLink::Open() const
{
    if (m_opener)
        m_opener(EffectiveTarget());
}

void CButtonLink::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (!m_font)
        m_font.Reset(::CreateFontW(-m_dpi.DipsToPixels(kFontHeight), 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE,
                                   DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg"));
    const HDC dc = item.hDC;
    RECT bounds = item.rcItem;
    ::FillRect(dc, &bounds, ::GetSysColorBrush(COLOR_BTNFACE));

    const std::wstring text = GetWindowTextString(item.hwndItem);
    const SelectObjectGuard font(dc, m_font.Get());
    RECT measured = bounds;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    m_textRect.left = bounds.left;
    m_textRect.right = std::min(bounds.right, bounds.left + (measured.right - measured.left));
    m_textRect.top = std::max(bounds.top, bounds.top + (bounds.bottom - bounds.top - height) / 2);
    m_textRect.bottom = std::min(bounds.bottom, m_textRect.top + height);

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, HighContrastOn() ? ::GetSysColor(COLOR_HOTLIGHT) : m_hot ? kHotColour : kNormalColour);
    RECT textRect = m_textRect;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        ::DrawFocusRect(dc, &m_textRect);
}

void CButtonLink::SetHot(bool hot)
{
    if (hot == m_hot)
        return;
    m_hot = hot;
    ::SetCursor(::LoadCursorW(nullptr, hot ? IDC_HAND : IDC_ARROW));
    if (hot)
        ::SetCapture(Hwnd());
    else if (::GetCapture() == Hwnd())
        ::ReleaseCapture();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

std::optional<LRESULT> CButtonLink::OnMessage(UINT message, WPARAM, LPARAM lParam)
{
    switch (message)
    {
    case WM_MOUSEMOVE: {
        // While hot the button holds the capture, so it hears the pointer leave the text.
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        SetHot(::PtInRect(&m_textRect, point) != FALSE);
        return 0;
    }
    case WM_SETCURSOR:
        if (!m_hot)
            return std::nullopt;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_CAPTURECHANGED:
        if (m_hot && reinterpret_cast<HWND>(lParam) != Hwnd())
        {
            m_hot = false;
            ::InvalidateRect(Hwnd(), nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // Only the text is a link: the button's own pressing and clicking stay out of it.
        ::SetFocus(Hwnd());
        return 0;
    case WM_LBUTTONUP:
        if (m_hot)
        {
            SetHot(false);
            Open();
        }
        return 0;
    case BM_CLICK:
        Open();
        return 0;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CButtonLink::OnParentMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_DRAWITEM)
        return std::nullopt;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

void CButtonLink::OnDpiChanged(UINT, UINT)
{
    m_font.Reset(); // made again at the next paint, at the new height
    if (Hwnd())
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
}
