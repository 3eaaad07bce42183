#include "rename/PartButton.h"

#include "winsupport/Resources.h"

#include <commctrl.h>

bool CPartButton::Attach(HWND button, UINT textId)
{
    if (!CControl::Attach(button))
        return false;
    m_text = LoadStringResource(textId);
    const HWND parent = ::GetParent(button);
    m_tip.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                                  ResourceModule(), nullptr));
    if (m_tip)
    {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = m_text.data();
        ::SendMessageW(m_tip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

std::optional<std::wstring> CPartButton::AccessibleName(long child) const
{
    if (child != CHILDID_SELF)
        return std::nullopt;
    return m_text;
}

std::optional<LRESULT> CPartButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_GETOBJECT:
        return m_accessible.OnGetObject(Hwnd(), wParam, lParam);
    case WM_DESTROY:
        m_tip.Reset();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}
