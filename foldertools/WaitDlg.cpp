#include "foldertools/WaitDlg.h"

#include "resources/resource.h"
#include "winsupport/UniqueHandle.h"

WaitDlg::WaitDlg() : CDialog(IDD_EMPTY_FOLDERS_WAIT) {}

void WaitDlg::SetCurrentFolder(const std::wstring& folder)
{
    m_path.Record(folder);
}

bool WaitDlg::IsAborted()
{
    if (!DispatchWaitingMessages(Hwnd()))
        m_cancelled = true;
    return m_cancelled;
}

bool WaitDlg::OnInitDialog()
{
    ::SetTimer(Hwnd(), kTimerId, 100, nullptr);
    return true;
}

bool WaitDlg::OnCommand(int id, int code, HWND)
{
    if (id == IDCANCEL && code == BN_CLICKED)
    {
        m_cancelled = true; // the command ends the window once the scan has stopped
        return true;
    }
    return false;
}

void WaitDlg::OnDestroy()
{
    ::KillTimer(Hwnd(), kTimerId);
    m_cancelled = true; // whoever destroys the window ends the scan it shows
}

std::optional<INT_PTR> WaitDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId)
    {
        std::wstring text = m_path.Take();
        if (!text.empty() && text != m_shown)
        {
            m_shown = std::move(text);
            ::InvalidateRect(Item(IDC_EMPTY_FOLDERS_WAIT_PATH), nullptr, TRUE);
        }
        return TRUE;
    }
    if (message == WM_DRAWITEM && wParam == IDC_EMPTY_FOLDERS_WAIT_PATH)
    {
        DrawPath(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return std::nullopt;
}

void WaitDlg::DrawPath(const DRAWITEMSTRUCT& item)
{
    if (!m_font)
    {
        const int height = ::MulDiv(10, ::GetDeviceCaps(item.hDC, LOGPIXELSY), 96);
        m_font.Reset(::CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg"));
    }
    RECT rect = item.rcItem;
    ::FillRect(item.hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    const SelectObjectGuard font(item.hDC, m_font.Get());
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(item.hDC, m_shown.c_str(), static_cast<int>(m_shown.size()), &rect,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}
