#include "foldertools/WaitDlg.h"

#include "resources/resource.h"
#include "winui/WindowHandles.h"

WaitDlg::WaitDlg() : CFolderProgressDlg(IDD_EMPTY_FOLDERS_WAIT) {}

void WaitDlg::ShowFolder(const std::wstring&)
{
    ::InvalidateRect(Item(IDC_EMPTY_FOLDERS_WAIT_PATH), nullptr, TRUE);
}

std::optional<INT_PTR> WaitDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam == IDC_EMPTY_FOLDERS_WAIT_PATH)
    {
        DrawPath(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return CFolderProgressDlg::OnMessage(message, wParam, lParam);
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
    ::DrawTextW(item.hDC, ShownFolder().c_str(), static_cast<int>(ShownFolder().size()), &rect,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}
