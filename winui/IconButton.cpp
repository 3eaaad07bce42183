#include "winui/IconButton.h"

#include "winsupport/Resources.h"
#include "winui/ScaledBitmap.h"
#include "winui/ScreenDpi.h"
#include "winui/WindowHandles.h"

#include <commctrl.h>
#include <oleacc.h>

namespace
{
constexpr int kBitmapSize = 16;
}

std::wstring TipText(const std::wstring& message)
{
    if (message.size() <= CIconButton::kMaxTipLength)
        return message;
    return message.substr(0, CIconButton::kMaxTipLength - 3) + L"...";
}

bool CIconButton::Attach(HWND dialog, int id, UINT bitmapId, UINT largeBitmapId, HBRUSH background)
{
    if (!CControl::Attach(dialog, id))
        return false;
    m_background = background;
    m_bitmapId = bitmapId;
    m_largeBitmapId = largeBitmapId;
    m_bitmap.Reset();
    m_bitmapSize = 0;
    m_tip.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                  ResourceModule(), nullptr));
    if (m_tip)
    {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(Hwnd());
        tool.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(m_tip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

void CIconButton::SetTip(const std::wstring& text)
{
    m_message = text;
    m_tipText = TipText(text);
    if (Hwnd())
        ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Hwnd(), OBJID_CLIENT, CHILDID_SELF);
    if (!m_tip)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = ::GetParent(Hwnd());
    tool.uId = reinterpret_cast<UINT_PTR>(Hwnd());
    tool.lpszText = m_tipText.data();
    ::SendMessageW(m_tip.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::optional<std::wstring> CIconButton::AccessibleName(long child) const
{
    if (child != CHILDID_SELF)
        return std::nullopt;
    return m_message;
}

std::optional<LRESULT> CIconButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_GETOBJECT:
        return m_accessible.OnGetObject(Hwnd(), wParam, lParam);
    case WM_MOUSEMOVE:
        if (!m_hover)
        {
            m_hover = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(Hwnd(), nullptr, FALSE);
        }
        return std::nullopt;
    case WM_MOUSELEAVE:
        m_hover = false;
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
        return std::nullopt;
    case WM_DESTROY:
        m_tip.Reset();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CIconButton::OnParentMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_DRAWITEM)
        return std::nullopt;
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

void CIconButton::Draw(const DRAWITEMSTRUCT& item)
{
    RECT rect = item.rcItem;
    ::FillRect(item.hDC, &rect, m_background ? m_background : ::GetSysColorBrush(COLOR_BTNFACE));
    if (m_hover || (item.itemState & ODS_SELECTED))
        ::DrawEdge(item.hDC, &rect, (item.itemState & ODS_SELECTED) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    // 16 by 16 at 96 DPI, drawn for the size the button's DPI wants at other DPIs.
    const int size = ScreenDpi::DipsToPixels(kBitmapSize, ::GetDeviceCaps(item.hDC, LOGPIXELSY));
    if (size != m_bitmapSize)
    {
        m_bitmap = LoadScaledBitmap(m_bitmapId, m_largeBitmapId, size, AlphaForm::Premultiplied);
        m_bitmapSize = size;
    }
    if (!m_bitmap)
        return;
    const int x = (rect.left + rect.right - size) / 2;
    const int y = (rect.top + rect.bottom - size) / 2;
    UniqueMemoryDc memory(::CreateCompatibleDC(item.hDC));
    const SelectObjectGuard selected(memory.Get(), m_bitmap.Get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(item.hDC, x, y, size, size, memory.Get(), 0, 0, size, size, blend);
}
