#include "copydialog/QuickControlsDlg.h"

#include "resources/resource.h"

namespace
{
// The nine choices, shared by every opening of the dialog while the library stays loaded.
QuickControls g_quickControls;
} // namespace

CQuickControlsDlg::CQuickControlsDlg(CopyOptions& options) : CCopyOptionsPage(IDD_QUICK_CONTROLS, options) {}

void CQuickControlsDlg::DeclareAnchors(AnchorLayout&, int, int)
{
    // Nothing of this page grows: its lists keep their widths next to their labels.
}

bool CQuickControlsDlg::OnInitDialog()
{
    FillList(IDC_QUICK_SEPARATOR, IDS_QUICK_SEPARATOR_FIRST, kQuickSeparatorCount);
    FillList(IDC_QUICK_QUOTE_CHAR, IDS_QUICK_QUOTE_FIRST, kQuickQuoteCount);
    FillList(IDC_QUICK_PATH_SEPARATOR, IDS_QUICK_PATH_SEPARATOR_FIRST, kQuickPathSeparatorCount);
    FillList(IDC_QUICK_SIZE_UNIT, IDS_QUICK_SIZE_UNIT_FIRST, kQuickSizeUnitCount);
    FillList(IDC_QUICK_DATE_FORMAT, IDS_QUICK_DATE_FORMAT_FIRST, kQuickDateFormatCount);
    ShowControls(g_quickControls);
    return false;
}

void CQuickControlsDlg::ShowControls(const QuickControls& controls)
{
    m_showing = true;
    SelectListEntry(IDC_QUICK_SEPARATOR, static_cast<int>(controls.separator));
    SetCheck(IDC_QUICK_QUOTE, controls.quote);
    SelectListEntry(IDC_QUICK_QUOTE_CHAR, static_cast<int>(controls.quoteChar));
    SetCheck(IDC_QUICK_FULL_PATH, controls.fullPath);
    SelectListEntry(IDC_QUICK_PATH_SEPARATOR, static_cast<int>(controls.pathSeparator));
    SetCheck(IDC_QUICK_ADD_SIZE, controls.addSize);
    SelectListEntry(IDC_QUICK_SIZE_UNIT, static_cast<int>(controls.sizeUnit));
    SetCheck(IDC_QUICK_ADD_DATE, controls.addDate);
    SelectListEntry(IDC_QUICK_DATE_FORMAT, static_cast<int>(controls.dateFormat));
    EnableLists();
    m_showing = false;
}

QuickControls CQuickControlsDlg::ReadControls() const
{
    QuickControls controls;
    controls.separator = static_cast<QuickSeparator>(ListSelection(IDC_QUICK_SEPARATOR));
    controls.quote = IsChecked(IDC_QUICK_QUOTE);
    controls.quoteChar = static_cast<QuickQuote>(ListSelection(IDC_QUICK_QUOTE_CHAR));
    controls.fullPath = IsChecked(IDC_QUICK_FULL_PATH);
    controls.pathSeparator = static_cast<QuickPathSeparator>(ListSelection(IDC_QUICK_PATH_SEPARATOR));
    controls.addSize = IsChecked(IDC_QUICK_ADD_SIZE);
    controls.sizeUnit = static_cast<QuickSizeUnit>(ListSelection(IDC_QUICK_SIZE_UNIT));
    controls.addDate = IsChecked(IDC_QUICK_ADD_DATE);
    controls.dateFormat = static_cast<QuickDateFormat>(ListSelection(IDC_QUICK_DATE_FORMAT));
    return controls;
}

void CQuickControlsDlg::EnableLists()
{
    // The folder separator list stays enabled: it counts for names too.
    EnableItem(IDC_QUICK_QUOTE_CHAR, IsChecked(IDC_QUICK_QUOTE));
    EnableItem(IDC_QUICK_SIZE_UNIT, IsChecked(IDC_QUICK_ADD_SIZE));
    EnableItem(IDC_QUICK_DATE_FORMAT, IsChecked(IDC_QUICK_ADD_DATE));
}

void CQuickControlsDlg::ApplyControls()
{
    g_quickControls = ReadControls();
    const QuickTexts texts = BuildQuickTexts(g_quickControls);
    Options().ApplyTexts(texts.item, texts.separator);
    m_untouched = false;
}

void CQuickControlsDlg::OnPageSelected()
{
    m_keptItem = Options().ItemText();
    m_keptSeparator = Options().SeparatorText();
    ShowControls(ReadQuickTexts(m_keptItem, m_keptSeparator).value_or(QuickControls{}));
    ApplyControls();
    m_untouched = true;
}

void CQuickControlsDlg::OnPageDeselected()
{
    // Only looked: the texts the page found are back, as if it had never been opened.
    if (!m_untouched)
        return;
    // The store follows, so that the next opening starts with the texts this one used.
    Options().ApplyTexts(m_keptItem, m_keptSeparator);
}

bool CQuickControlsDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDC_QUICK_QUOTE:
    case IDC_QUICK_FULL_PATH:
    case IDC_QUICK_ADD_SIZE:
    case IDC_QUICK_ADD_DATE:
        if (code != BN_CLICKED)
            return false;
        break;
    case IDC_QUICK_SEPARATOR:
    case IDC_QUICK_QUOTE_CHAR:
    case IDC_QUICK_PATH_SEPARATOR:
    case IDC_QUICK_SIZE_UNIT:
    case IDC_QUICK_DATE_FORMAT:
        if (code != CBN_SELCHANGE)
            return false;
        break;
    default:
        return CCopyOptionsPage::OnCommand(id, code, control);
    }
    if (!m_showing)
    {
        EnableLists();
        ApplyControls();
    }
    return true;
}
