#include "winui/FolderProgressDlg.h"

CFolderProgressDlg::CFolderProgressDlg(UINT templateId) : CDialog(templateId) {}

void CFolderProgressDlg::SetCurrentFolder(const std::wstring& folder)
{
    m_path.Record(folder);
}

bool CFolderProgressDlg::IsAborted()
{
    if (!DispatchWaitingMessages(Hwnd()))
        m_aborted = true;
    return m_aborted;
}

bool CFolderProgressDlg::OnInitDialog()
{
    ::SetTimer(Hwnd(), kTimerId, 100, nullptr);
    return true;
}

bool CFolderProgressDlg::OnCommand(int id, int code, HWND)
{
    if (id == IDCANCEL && code == BN_CLICKED)
    {
        m_aborted = true; // whoever runs the scan ends the window once the scan has stopped
        return true;
    }
    return false;
}

void CFolderProgressDlg::OnDestroy()
{
    ::KillTimer(Hwnd(), kTimerId);
    m_aborted = true; // whoever destroys the window ends the scan it shows
}

std::optional<INT_PTR> CFolderProgressDlg::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_TIMER || wParam != kTimerId)
        return std::nullopt;
    std::wstring text = m_path.Take();
    if (!text.empty() && text != m_shown)
    {
        m_shown = std::move(text);
        ShowFolder(m_shown);
    }
    return TRUE;
}
