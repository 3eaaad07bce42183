#include "winui/Control.h"

#include "winsupport/CallbackErrors.h"

#include <commctrl.h>
#include <windowsx.h>

namespace
{
constexpr UINT_PTR kSubclassId = 1;
// Where a control keeps its object (the import libraries have no GetWindowSubclass).
constexpr wchar_t kObjectProperty[] = L"BrelvantaControl";
} // namespace

CControl::~CControl()
{
    Detach();
}

bool CControl::Attach(HWND control)
{
    if (!control || m_hwnd || FromHandle(control))
        return false;
    if (!::SetPropW(control, kObjectProperty, this))
        return false;
    if (!::SetWindowSubclass(control, &Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    {
        ::RemovePropW(control, kObjectProperty);
        return false;
    }
    m_hwnd = control;
    return true;
}

void CControl::Detach() noexcept
{
    if (!m_hwnd)
        return;
    ::RemoveWindowSubclass(m_hwnd, &Procedure, kSubclassId);
    ::RemovePropW(m_hwnd, kObjectProperty);
    m_hwnd = nullptr;
}

CControl* CControl::FromHandle(HWND control) noexcept
{
    return control ? static_cast<CControl*>(::GetPropW(control, kObjectProperty)) : nullptr;
}

LRESULT CControl::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const noexcept
{
    return ::DefSubclassProc(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) noexcept
{
    auto* self = reinterpret_cast<CControl*>(data);
    if (message == WM_NCDESTROY)
    {
        // The window goes first: give it back its own procedure for its last message.
        self->Detach();
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    try
    {
        if (const std::optional<LRESULT> handled = self->OnMessage(message, wParam, lParam))
            return *handled;
    }
    catch (...)
    {
        ReportCallbackException(L"control", ::GetDlgCtrlID(hwnd), message);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

std::optional<LRESULT> CListViewCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CONTEXTMENU || reinterpret_cast<HWND>(wParam) != Hwnd())
        return std::nullopt;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == -1)
        point = KeyboardMenuPoint();
    OnContextMenu(point);
    return 0;
}

void CListViewCtrl::TrackMenu(HMENU popup, POINT point) const noexcept
{
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, ::GetParent(Hwnd()),
                     nullptr);
}

POINT CListViewCtrl::KeyboardMenuPoint() const noexcept
{
    POINT point{0, 0};
    const int row = ListView_GetNextItem(Hwnd(), -1, LVNI_FOCUSED);
    RECT rect{};
    if (row >= 0)
    {
        ListView_EnsureVisible(Hwnd(), row, FALSE);
        if (ListView_GetItemRect(Hwnd(), row, &rect, LVIR_LABEL))
            point = {rect.left, rect.top};
    }
    point.x += 4;
    point.y += 4;
    ::ClientToScreen(Hwnd(), &point);
    return point;
}
