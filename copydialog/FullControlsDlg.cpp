#include "copydialog/FullControlsDlg.h"

#include "copydialog/InsertDlg.h"
#include "copydialog/PresetDialogs.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"

namespace
{
constexpr int kInsertNewline = 1;
constexpr int kInsertTab = 2;
constexpr int kInsertCount = 3;
// Posted when the "Insert" list's drop-down closes: the list's notifications of that moment come
// in no fixed order, so the choice is read once they are all handled.
constexpr UINT kEscapeListClosed = WM_APP + 1;
// Between the shortened item text and the error indicator, in DIPs.
constexpr int kErrorGap = 2;
} // namespace

CFullControlsDlg::CFullControlsDlg(CopyOptions& options) : CCopyOptionsPage(IDD_FULL_CONTROLS, options) {}

void CFullControlsDlg::DeclareAnchors(AnchorLayout& layout, int right, int bottom)
{
    for (const int id : {IDC_FULL_ITEM_TEXT, IDC_FULL_SEPARATOR_TEXT})
        layout.AddAnchor(id, kAnchorStretch, kAnchorNone, right, bottom);
    for (const int id : {IDC_FULL_ERROR, IDC_FULL_INSERT, IDC_FULL_INSERT_ESCAPE, IDC_FULL_SAVE_PRESET})
        layout.AddAnchor(id, kAnchorMove, kAnchorNone, right, bottom);
}

bool CFullControlsDlg::OnInitDialog()
{
    m_itemText.Attach(Hwnd(), IDC_FULL_ITEM_TEXT);
    m_separatorText.Attach(Hwnd(), IDC_FULL_SEPARATOR_TEXT);
    m_error.Attach(Hwnd(), IDC_FULL_ERROR, IDB_ERROR_INDICATOR, IDB_ERROR_INDICATOR_LARGE, Background());
    FillList(IDC_FULL_INSERT_ESCAPE, IDS_FULL_INSERT_FIRST, kInsertCount);
    SelectListEntry(IDC_FULL_INSERT_ESCAPE, 0);
    return false;
}

void CFullControlsDlg::OnPageSelected()
{
    m_suppress = true;
    m_itemText.SetPlainText(Options().ItemText());
    m_separatorText.SetPlainText(Options().SeparatorText());
    m_suppress = false;
    ShowError(!Options().ItemTextValid());
}

void CFullControlsDlg::OnItemTextChanged()
{
    ShowError(!Options().EditItemText(m_itemText.PlainText()));
}

void CFullControlsDlg::OnSeparatorTextChanged()
{
    Options().EditSeparatorText(m_separatorText.PlainText());
}

void CFullControlsDlg::OnEscapeListCommand(int code)
{
    switch (code)
    {
    case CBN_DROPDOWN:
        m_escapeCancelled = false;
        break;
    case CBN_SELENDCANCEL:
        m_escapeCancelled = true;
        break;
    case CBN_CLOSEUP:
        ::PostMessageW(Hwnd(), kEscapeListClosed, 0, 0);
        break;
    case CBN_KILLFOCUS:
        SelectListEntry(IDC_FULL_INSERT_ESCAPE, 0); // an entry moved to but never chosen
        break;
    default:
        break;
    }
}

std::optional<INT_PTR> CFullControlsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kEscapeListClosed)
        return CCopyOptionsPage::OnMessage(message, wParam, lParam);
    if (m_escapeCancelled)
        SelectListEntry(IDC_FULL_INSERT_ESCAPE, 0);
    else
        InsertEscape();
    m_escapeCancelled = false;
    return TRUE;
}

void CFullControlsDlg::InsertEscape()
{
    const int chosen = ListSelection(IDC_FULL_INSERT_ESCAPE);
    SelectListEntry(IDC_FULL_INSERT_ESCAPE, 0);
    if (chosen == kInsertNewline)
        m_separatorText.Insert(L"\\n");
    else if (chosen == kInsertTab)
        m_separatorText.Insert(L"\\t");
}

void CFullControlsDlg::InsertAttribute()
{
    const std::optional<std::wstring> fragment = ShowInsertDialog(Owner(), Options().Items());
    if (!fragment)
        return;
    // Replaces the selection or goes in at the caret; the edit's change runs the item text's
    // handling, so the preview and the remembered texts follow.
    m_itemText.Insert(*fragment);
    ::SetFocus(m_itemText.Hwnd());
}

void CFullControlsDlg::ShowError(bool show)
{
    if (!show && !m_errorShown)
        return; // typing on in a valid text: nothing to hide or move
    m_errorShown = show;
    if (show)
        m_error.SetTip(Options().FormatError());
    ShowItem(IDC_FULL_ERROR, show);
    PlaceError();
}

void CFullControlsDlg::OnLayout()
{
    PlaceError();
}

void CFullControlsDlg::PlaceError()
{
    // The edit's full width reaches the indicator's right edge; with the indicator shown it
    // ends just before it.
    RECT edit{}, error{};
    ::GetWindowRect(Item(IDC_FULL_ITEM_TEXT), &edit);
    ::GetWindowRect(Item(IDC_FULL_ERROR), &error);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&edit), 2);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&error), 2);
    const int right = m_errorShown ? error.left - Dpi().DipsToPixels(kErrorGap) : error.right;
    if (right != edit.right)
        ::SetWindowPos(Item(IDC_FULL_ITEM_TEXT), nullptr, 0, 0, right - edit.left, edit.bottom - edit.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CFullControlsDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDC_FULL_ITEM_TEXT:
        if (code == EN_CHANGE && !m_suppress)
            OnItemTextChanged();
        return true;
    case IDC_FULL_SEPARATOR_TEXT:
        if (code == EN_CHANGE && !m_suppress)
            OnSeparatorTextChanged();
        return true;
    case IDC_FULL_INSERT_ESCAPE:
        OnEscapeListCommand(code);
        return true;
    case IDC_FULL_INSERT:
        if (code == BN_CLICKED)
            InsertAttribute();
        return true;
    case IDC_FULL_ERROR:
        if (code == BN_CLICKED)
            ShowMessage(Hwnd(), Options().FormatError(), GetWindowTextString(Owner().Hwnd()), MessageKind::Error);
        return true;
    case IDC_FULL_SAVE_PRESET:
        if (code == BN_CLICKED)
            SaveCurrentAsPreset(CWindow(Hwnd()), Options().Presets(), Options().ItemText(), Options().SeparatorText(),
                                Options().ItemTextValid());
        return true;
    default:
        return CCopyOptionsPage::OnCommand(id, code, control);
    }
}
