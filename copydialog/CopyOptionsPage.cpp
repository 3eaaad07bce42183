#include "copydialog/CopyOptionsPage.h"

#include "copydialog/CopyPathsDlg.h"
#include "winsupport/Resources.h"

bool CCopyOptionsPage::InitDialog()
{
    m_layout = std::make_unique<AnchorLayout>(Hwnd(), SharedDpi());
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    DeclareAnchors(*m_layout, outer.right, outer.bottom);
    return OnInitDialog();
}

std::optional<INT_PTR> CCopyOptionsPage::FrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SIZE:
        Dpi().Update(Hwnd());
        if (m_layout)
        {
            m_layout->Layout(LOWORD(lParam), HIWORD(lParam));
            OnLayout();
        }
        break;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(m_dialog.PageBrush());
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        // Painted here, not left to the system: themed dialogs may draw their own grey.
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, m_dialog.PageBrush());
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        // Labels and check boxes: on the page's white, not on the dialog's grey.
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(m_dialog.PageBrush());
    default:
        break;
    }
    return std::nullopt;
}

void CCopyOptionsPage::FillList(int id, UINT firstString, int count) const
{
    const HWND list = Item(id);
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int index = 0; index < count; ++index)
        ::SendMessageW(list, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(LoadStringResource(firstString + static_cast<UINT>(index)).c_str()));
}

int CCopyOptionsPage::ListSelection(int id) const noexcept
{
    const LRESULT selected = ::SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
    return selected < 0 ? 0 : static_cast<int>(selected);
}

void CCopyOptionsPage::SelectListEntry(int id, int index) const noexcept
{
    ::SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
