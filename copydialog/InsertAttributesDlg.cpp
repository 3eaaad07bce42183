#include "copydialog/InsertAttributesDlg.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"

#include <optional>

namespace
{
constexpr int kRadios[kInsertAttributeCount] = {IDC_INSERT_NAME, IDC_INSERT_PATH, IDC_INSERT_TYPE, IDC_INSERT_SIZE,
                                                IDC_INSERT_DATE};
constexpr int kExamples[kInsertAttributeCount] = {IDC_INSERT_NAME_EXAMPLE, IDC_INSERT_PATH_EXAMPLE,
                                                  IDC_INSERT_TYPE_EXAMPLE, IDC_INSERT_SIZE_EXAMPLE,
                                                  IDC_INSERT_DATE_EXAMPLE};
constexpr int kLists[kInsertOptionListCount] = {IDC_INSERT_NAME_LIST,      IDC_INSERT_PATH_LIST,
                                                IDC_INSERT_SEPARATOR_LIST, IDC_INSERT_SIZE_LIST,
                                                IDC_INSERT_DATE_TIME_LIST, IDC_INSERT_DATE_FORMAT_LIST};
// The first string of each list's entries; the others follow it.
constexpr UINT kListStrings[kInsertOptionListCount] = {IDS_INSERT_NAME_OPTIONS,      IDS_INSERT_PATH_OPTIONS,
                                                       IDS_INSERT_SEPARATOR_OPTIONS, IDS_INSERT_SIZE_OPTIONS,
                                                       IDS_INSERT_DATE_TIME_OPTIONS, IDS_INSERT_DATE_FORMAT_OPTIONS};

int ListOfControl(int id) noexcept
{
    for (int list = 0; list < kInsertOptionListCount; ++list)
        if (kLists[list] == id)
            return list;
    return -1;
}

size_t Row(InsertAttribute attribute) noexcept
{
    return static_cast<size_t>(attribute);
}

std::optional<InsertAttribute> AttributeOfRadio(int id) noexcept
{
    for (const InsertAttribute attribute : kInsertAttributes)
        if (kRadios[Row(attribute)] == id)
            return attribute;
    return std::nullopt;
}
} // namespace

void CInsertAttributesDlg::DeclareAnchors(AnchorLayout& layout, int right, int bottom)
{
    // Only the example edits widen with the page.
    for (const int example : kExamples)
        layout.AddAnchor(example, kAnchorStretch, kAnchorNone, right, bottom);
}

bool CInsertAttributesDlg::OnInitDialog()
{
    const InsertDialogMemory& memory = RememberedInsertState();
    for (int list = 0; list < kInsertOptionListCount; ++list)
    {
        const HWND control = Item(kLists[list]);
        for (int entry = 0; entry < InsertOptionCount(list); ++entry)
        {
            const std::wstring text = LoadStringResource(kListStrings[list] + static_cast<UINT>(entry));
            ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        const int selection = memory.selections[static_cast<size_t>(list)];
        ::SendMessageW(control, CB_SETCURSEL, selection >= 0 && selection < InsertOptionCount(list) ? selection : 0, 0);
    }
    const int row = static_cast<int>(memory.attribute);
    SelectAttribute(row >= 0 && row < kInsertAttributeCount ? memory.attribute : kInsertName);
    return false;
}

void CInsertAttributesDlg::OnPageSelected()
{
    RefreshExamples();
    PutTextToInsert();
}

bool CInsertAttributesDlg::OnCommand(int id, int code, HWND control)
{
    if (code == BN_CLICKED)
    {
        if (const auto attribute = AttributeOfRadio(id))
        {
            SelectAttribute(*attribute);
            return true;
        }
    }
    if (code == CBN_SELCHANGE)
    {
        const int list = ListOfControl(id);
        if (list >= 0)
        {
            RememberedInsertState().selections[static_cast<size_t>(list)] =
                static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
            PutTextToInsert();
            for (const InsertAttribute attribute : kInsertAttributes)
                if (InsertOptionListOf(attribute, list))
                    RefreshExample(attribute);
            return true;
        }
    }
    return CInsertPage::OnCommand(id, code, control);
}

void CInsertAttributesDlg::SelectAttribute(InsertAttribute attribute)
{
    CheckRadio(IDC_INSERT_NAME, IDC_INSERT_DATE, kRadios[Row(attribute)]);
    for (int list = 0; list < kInsertOptionListCount; ++list)
        EnableItem(kLists[list], InsertOptionListOf(attribute, list));
    RememberedInsertState().attribute = attribute;
    PutTextToInsert();
}

InsertOptionSelections CInsertAttributesDlg::Selections() const noexcept
{
    InsertOptionSelections selections{};
    for (int list = 0; list < kInsertOptionListCount; ++list)
        selections[static_cast<size_t>(list)] =
            static_cast<int>(::SendDlgItemMessageW(Hwnd(), kLists[list], CB_GETCURSEL, 0, 0));
    return selections;
}

void CInsertAttributesDlg::PutTextToInsert() const
{
    if (const auto attribute = AttributeOfRadio(CheckedRadio(IDC_INSERT_NAME, IDC_INSERT_DATE)))
        Owner().SetTextToInsert(AttributeFragment(*attribute, Selections()));
}

void CInsertAttributesDlg::RefreshExample(InsertAttribute attribute) const
{
    const CFItem* example = Owner().Example();
    SetText(kExamples[Row(attribute)],
            example ? FragmentExample(AttributeFragment(attribute, Selections()), *example) : std::wstring());
}

void CInsertAttributesDlg::RefreshExamples() const
{
    for (const InsertAttribute attribute : kInsertAttributes)
        RefreshExample(attribute);
}
