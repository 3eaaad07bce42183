#include "copydialog/InsertDlg.h"

#include "copydialog/InsertAttributesDlg.h"
#include "copydialog/InsertExamples.h"
#include "copydialog/InsertPropertiesDlg.h"
#include "resources/resource.h"
#include "winsupport/ModulePath.h"
#include "winsupport/Resources.h"
#include "winui/Dialog.h"

#include <shellapi.h>

namespace
{
bool OpenWithShell(const std::wstring& page)
{
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr,
                                                     SW_SHOWNORMAL)) > 32;
}

ReferenceOpener& Opener()
{
    static ReferenceOpener opener = OpenWithShell;
    return opener;
}

void OpenReference(HWND owner)
{
    const std::wstring page = ReferencePagePath();
    if (!Opener()(page))
        ShowDialogMessage(owner, FormatStringResource(IDS_REFERENCE_MISSING, {page}));
}
} // namespace

std::wstring ReferencePagePath()
{
    const std::wstring module = OwnModulePath();
    return module.substr(0, module.rfind(L'\\') + 1) + L"reference.html";
}

void SetReferenceOpener(ReferenceOpener opener)
{
    Opener() = opener ? std::move(opener) : ReferenceOpener(OpenWithShell);
}

InsertDialogMemory& RememberedInsertState() noexcept
{
    static InsertDialogMemory memory;
    return memory;
}

CInsertDlg::CInsertDlg(const std::vector<const CFItem*>& items)
    : CResizableDialog(IDD_INSERT, L"", MinimumSize::Initial()), m_examples(PickInsertExamples(items))
{
}

const CFItem* CInsertDlg::Example() const noexcept
{
    const LRESULT index = ::SendDlgItemMessageW(Hwnd(), IDC_INSERT_EXAMPLE, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<size_t>(index) >= m_examples.size())
        return nullptr;
    return m_examples[static_cast<size_t>(index)];
}

void CInsertDlg::SetTextToInsert(const std::wstring& text) const noexcept
{
    SetText(IDC_INSERT_TEXT, text);
}

void CInsertDlg::EndWithOk()
{
    m_textToInsert = GetText(IDC_INSERT_TEXT);
    Close(IDOK);
}

void CInsertDlg::DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom)
{
    layout.AddAnchor(IDC_INSERT_EXAMPLE, kAnchorStretch, kAnchorNone, outerRight, outerBottom);
    layout.AddAnchor(IDC_INSERT_TABS, kAnchorStretch, kAnchorStretch, outerRight, outerBottom);
    layout.AddAnchor(IDC_INSERT_TEXT_LABEL, kAnchorNone, kAnchorMove, outerRight, outerBottom);
    layout.AddAnchor(IDC_INSERT_TEXT, kAnchorStretch, kAnchorMove, outerRight, outerBottom);
    for (const int button : {IDOK, IDCANCEL, IDHELP})
        layout.AddAnchor(button, kAnchorMove, kAnchorMove, outerRight, outerBottom);
}

bool CInsertDlg::OnInitDialog()
{
    InsertDialogMemory& memory = RememberedInsertState();

    const HWND examples = Item(IDC_INSERT_EXAMPLE);
    int chosen = 0;
    for (size_t index = 0; index < m_examples.size(); ++index)
    {
        const std::wstring entry = ExampleEntryText(m_examples[index]->Path());
        ::SendMessageW(examples, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        if (entry == memory.example)
            chosen = static_cast<int>(index);
    }
    if (!m_examples.empty())
        ::SendMessageW(examples, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);

    m_pages.Attach(Hwnd(), IDC_INSERT_TABS);
    m_insertPages.push_back(&m_pages.Add<CInsertAttributesDlg>(LoadStringResource(IDS_INSERT_TAB_ATTRIBUTE), *this));
    m_insertPages.push_back(&m_pages.Add<CInsertPropertiesDlg>(LoadStringResource(IDS_INSERT_TAB_PROPERTY), *this));

    if (memory.tab < 0 || memory.tab >= m_pages.Count())
        memory.tab = 0;
    SelectPage(memory.tab);

    if (memory.placement)
    {
        WINDOWPLACEMENT placement = *memory.placement;
        placement.length = sizeof(placement);
        if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE)
            placement.showCmd = SW_SHOWNORMAL; // a dialog that opens minimised looks like none opened
        ::SetWindowPlacement(Hwnd(), &placement);
    }
    FocusFirstControl(m_pages.Page(m_pages.Current()).GetPageWnd());
    return false;
}

void CInsertDlg::SelectPage(int index)
{
    m_pages.Select(index);
    RememberedInsertState().tab = m_pages.Current();
}

bool CInsertDlg::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_INSERT_EXAMPLE && code == CBN_SELCHANGE)
    {
        if (m_pages.Current() >= 0)
            Page(m_pages.Current()).OnExampleChanged();
        const LRESULT index = ::SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<size_t>(index) < m_examples.size())
            RememberedInsertState().example = ExampleEntryText(m_examples[static_cast<size_t>(index)]->Path());
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id)
    {
    case IDOK:
        EndWithOk();
        return true;
    case IDCANCEL:
        Close(IDCANCEL);
        return true;
    case IDHELP:
        OpenReference(Hwnd());
        return true;
    default:
        return false;
    }
}

std::optional<LRESULT> CInsertDlg::OnNotify(const NMHDR& header)
{
    if (!m_pages.OnNotify(header))
        return std::nullopt;
    RememberedInsertState().tab = m_pages.Current();
    return 0;
}

void CInsertDlg::OnDestroy()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::GetWindowPlacement(Hwnd(), &placement))
        RememberedInsertState().placement = placement;
    for (IInsertTabDlg* page : m_insertPages)
        page->SaveState();
}

std::optional<std::wstring> ShowInsertDialog(const CWindow& owner, const ItemList& items)
{
    CInsertDlg dialog(items.Output());
    if (dialog.ShowModal(owner.Hwnd()) != IDOK)
        return std::nullopt;
    return dialog.TextToInsert();
}
