#include "rename/ChangeTextDlg.h"

#include "rename/ChangeNumberDlg.h"
#include "rename/ChangeWildDlg.h"
#include "rename/PastedNames.h"
#include "rename/RenameCheck.h"
#include "rename/RunRename.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winui/Clipboard.h"

#include <algorithm>

namespace
{
// The last states of the two check boxes, for the next Multi Rename of this process.
bool g_rememberedAllowExtension = false;
bool g_rememberedNumbersAsText = false;

constexpr size_t kMaxPartText = 260;
constexpr int kMinimumWidth = 420;
constexpr int kMinimumHeight = 300;
constexpr int kButtonGap = 6; // the least space between controls that meet at the minimum width

std::wstring PartText(const Segment& segment)
{
    switch (segment.kind)
    {
    case SegmentKind::Number:
        return L"#";
    case SegmentKind::Wild:
        return segment.extensionWild ? L".*" : L"*";
    default:
        return segment.newText;
    }
}
} // namespace

ChangeTextDlg::ChangeTextDlg(RenameModel& model)
    : CResizableDialog(IDD_CHANGE_TEXT, L"MultiRenameDlg", MinimumSize::Fixed(kMinimumWidth, kMinimumHeight)),
      m_model(model), m_icon(IDI_MULTI_RENAME, SharedDpi())
{
    m_choice.Analyse(m_model, g_rememberedAllowExtension, g_rememberedNumbersAsText);
    MatchListedItems(m_model, m_choice.Current());
}

bool ChangeTextDlg::OnInitDialog()
{
    SetIcon();
    UpdateFonts();
    ApplyCheckBoxes();
    m_list.SetUp(Item(IDC_RENAME_NAMES), m_model.FolderCount() >= 2, Dpi());
    m_list.SetRows(m_model.ListedItems());
    m_list.FitColumns(Dpi());
    BuildPartRow();
    m_choice.ComputeNumberBases(m_model);
    m_model.NumberRows();
    Recompute();
    FocusFirstPart();
    return false;
}

// A user comes to edit the name: the first edit box of the part row, or its first part when the
// row holds buttons only.
void ChangeTextDlg::FocusFirstPart()
{
    if (m_parts.empty())
        return;
    const auto edit = std::find_if(m_parts.begin(), m_parts.end(), [](const Part& part) { return !part.slot.button; });
    FocusControl((edit != m_parts.end() ? *edit : m_parts.front()).window.Get());
}

void ChangeTextDlg::DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom)
{
    layout.AddAnchor(IDC_RENAME_RESET, kAnchorMove, kAnchorNone, outerRight, outerBottom);
    layout.AddAnchor(IDC_RENAME_NAMES, kAnchorStretch, kAnchorStretch, outerRight, outerBottom);
    layout.AddAnchor(IDC_RENAME_COPY_NAMES, kAnchorNone, kAnchorMove, outerRight, outerBottom);
    layout.AddAnchor(IDC_RENAME_PASTE_NAMES, kAnchorNone, kAnchorMove, outerRight, outerBottom);
    layout.AddAnchor(IDOK, kAnchorMove, kAnchorMove, outerRight, outerBottom);
    layout.AddAnchor(IDCANCEL, kAnchorMove, kAnchorMove, outerRight, outerBottom);
}

int ChangeTextDlg::LeastOuterWidth() const
{
    // Rename and Reset follow the right edge while Paste Names and the check boxes stay: with a
    // wide dialog font the minimum width alone would let them meet. The moving controls' places
    // come from their anchors, as the layout puts them.
    const AnchorLayout* layout = Anchors();
    if (!layout)
        return 0;
    struct Pair
    {
        int staying;
        int moving;
    };
    RECT outer{};
    RECT client{};
    ::GetWindowRect(Hwnd(), &outer);
    ::GetClientRect(Hwnd(), &client);
    const ScreenDpi& dpi = Dpi();
    int leastClient = 0;
    for (const Pair pair : {Pair{IDC_RENAME_PASTE_NAMES, IDOK}, Pair{IDC_RENAME_ALLOW_EXTENSION, IDC_RENAME_RESET},
                            Pair{IDC_RENAME_NUMBERS_AS_TEXT, IDC_RENAME_RESET}})
    {
        const auto anchor = std::find_if(layout->Anchors().begin(), layout->Anchors().end(),
                                         [&](const Anchor& a) { return a.controlId == pair.moving; });
        if (anchor == layout->Anchors().end())
            continue;
        RECT staying{};
        RECT moving{};
        ::GetWindowRect(Item(pair.staying), &staying);
        ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&staying), 2);
        ::GetWindowRect(Item(pair.moving), &moving);
        leastClient = std::max(
            leastClient, static_cast<int>(staying.right + dpi.DipsToPixels(kButtonGap) + (moving.right - moving.left)) +
                             dpi.DipsToPixels(anchor->rightGap));
    }
    return leastClient + static_cast<int>((outer.right - outer.left) - client.right);
}

void ChangeTextDlg::OnLayout(int, int)
{
    LayoutParts();
}

void ChangeTextDlg::OnDpiChanged(UINT, UINT)
{
    if (!Hwnd())
        return;
    SetIcon();
    UpdateFonts();
    for (Part& part : m_parts)
    {
        ::SendMessageW(part.window.Get(), WM_SETFONT, ::SendMessageW(Hwnd(), WM_GETFONT, 0, 0), TRUE);
        MeasurePart(part);
    }
    LayoutParts();
    m_list.SizeStateImages(Dpi());
    m_list.FitColumns(Dpi());
}

void ChangeTextDlg::OnDestroy()
{
    DiscardParts(); // the part windows go while the dialog still holds them
}

void ChangeTextDlg::DiscardParts()
{
    // A part losing the focus as it goes tells the dialog: by then the row must be empty.
    std::vector<Part> old;
    old.swap(m_parts);
    old.clear();
}

void ChangeTextDlg::SetIcon()
{
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.Get()));
}

void ChangeTextDlg::UpdateFonts()
{
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    LOGFONTW face{};
    if (!font || !::GetObjectW(font, sizeof(face), &face))
        return;
    face.lfWeight = FW_BOLD;
    m_boldFont.Reset(::CreateFontIndirectW(&face));
    m_list.SetBoldFont(m_boldFont.Get());
}

void ChangeTextDlg::ApplyCheckBoxes()
{
    SetCheck(IDC_RENAME_ALLOW_EXTENSION, m_choice.AllowExtension());
    SetCheck(IDC_RENAME_NUMBERS_AS_TEXT, m_choice.NumbersAsText());
    EnableCheckBoxes();
}

void ChangeTextDlg::EnableCheckBoxes()
{
    EnableItem(IDC_RENAME_ALLOW_EXTENSION, m_partsEnabled && m_choice.ExtensionChoosable());
    EnableItem(IDC_RENAME_NUMBERS_AS_TEXT, m_partsEnabled && m_choice.NumbersChoosable());
}

void ChangeTextDlg::ReadCheckBoxes()
{
    m_choice.Choose(IsChecked(IDC_RENAME_ALLOW_EXTENSION), IsChecked(IDC_RENAME_NUMBERS_AS_TEXT));
    BuildPartRow();
}

void ChangeTextDlg::BuildPartRow()
{
    DiscardParts();
    const PatternAnalysis& analysis = m_choice.Current();
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    HWND previous = Item(IDC_RENAME_RESET); // the parts come next in the tab order
    m_parts.reserve(analysis.segments.size());
    for (size_t i = 0; i < analysis.segments.size(); ++i)
    {
        const Segment& segment = analysis.segments[i];
        Part& part = m_parts.emplace_back();
        part.segment = i;
        part.text = PartText(segment);
        part.slot.button = segment.kind != SegmentKind::Literal;
        MeasurePart(part);
        const HWND window =
            part.slot.button
                ? ::CreateWindowExW(0, L"BUTTON", part.text.c_str(), WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | BS_FLAT, 0,
                                    0, 0, 0, Hwnd(), reinterpret_cast<HMENU>(IDC_RENAME_PART_BUTTON), ResourceModule(),
                                    nullptr)
                : ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", part.text.c_str(),
                                    WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, Hwnd(),
                                    reinterpret_cast<HMENU>(IDC_RENAME_PART_EDIT), ResourceModule(), nullptr);
        part.window.Reset(window);
        if (!window)
            continue;
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (part.slot.button)
        {
            part.button = std::make_unique<CPartButton>();
            part.button->Attach(window, segment.kind == SegmentKind::Number ? IDS_RENAME_NUMBER_PART
                                        : segment.extensionWild             ? IDS_RENAME_EXTENSION_PART
                                                                            : IDS_RENAME_WILD_PART);
        }
        else
            ::SendMessageW(window, EM_SETLIMITTEXT, kMaxPartText, 0);
        ::SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::EnableWindow(window, m_partsEnabled);
        previous = window;
    }
    LayoutParts();
    for (const Part& part : m_parts)
        ::ShowWindow(part.window.Get(), SW_SHOWNA);
}

void ChangeTextDlg::MeasurePart(Part& part) const
{
    int width = 0;
    if (const HDC dc = ::GetDC(Hwnd()))
    {
        const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0)));
        SIZE size{};
        if (::GetTextExtentPoint32W(dc, part.text.c_str(), static_cast<int>(part.text.size()), &size))
            width = size.cx;
        ::SelectObject(dc, old);
        ::ReleaseDC(Hwnd(), dc);
    }
    part.slot.textWidth = Dpi().PixelsToDips(width);
}

int ChangeTextDlg::PartRowTop() const
{
    // Where the dialog font is small for the DPI the list begins higher than the row's place: the
    // row then ends a gap above the list.
    const ScreenDpi& dpi = Dpi();
    RECT list{};
    ::GetWindowRect(Item(IDC_RENAME_NAMES), &list);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&list), 2);
    const int below = list.top - dpi.DipsToPixels(kPartRowGap) - dpi.DipsToPixels(kPartRowHeight);
    return std::min(dpi.DipsToPixels(kPartRowTop), below);
}

void ChangeTextDlg::LayoutParts()
{
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    std::vector<PartSlot> slots;
    for (const Part& part : m_parts)
        slots.push_back(part.slot);
    LayoutPartRow(slots, Dpi().PixelsToDips(client.right));
    const ScreenDpi& dpi = Dpi();
    const int top = PartRowTop();
    for (size_t i = 0; i < m_parts.size(); ++i)
    {
        Part& part = m_parts[i];
        part.slot = slots[i];
        const HWND window = part.window.Get();
        if (!window)
            continue;
        DWORD start = 0;
        DWORD end = 0;
        if (!part.slot.button)
            ::SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        // The edges go through the DPI, not the widths: every gap rounds alike, so the row keeps
        // even gaps and its parts line up at any DPI.
        const int left = dpi.DipsToPixels(part.slot.x);
        const int right = dpi.DipsToPixels(part.slot.x + part.slot.width);
        ::SetWindowPos(window, nullptr, left, top, right - left, dpi.DipsToPixels(kPartRowHeight),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (!part.slot.button)
        {
            ::SendMessageW(window, EM_SETSEL, start, end);
            ::SendMessageW(window, EM_SCROLLCARET, 0, 0);
        }
    }
}

void ChangeTextDlg::EnableParts(bool enable)
{
    m_partsEnabled = enable;
    for (const Part& part : m_parts)
        ::EnableWindow(part.window.Get(), enable);
    EnableCheckBoxes();
}

void ChangeTextDlg::Recompute()
{
    RecomputeNames(m_model, m_choice.Current());
    m_list.Redraw();
}

ChangeTextDlg::Part* ChangeTextDlg::FindPart(HWND window) noexcept
{
    for (Part& part : m_parts)
        if (part.window.Get() == window)
            return &part;
    return nullptr;
}

bool ChangeTextDlg::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDC_RENAME_PART_EDIT:
        if (Part* part = FindPart(control))
        {
            if (code == EN_CHANGE)
                OnPartEdited(*part);
            else if (code == EN_KILLFOCUS)
            {
                ::SendMessageW(control, EM_SETSEL, 0, 0);
                ::SendMessageW(control, EM_SCROLLCARET, 0, 0);
            }
        }
        return true;
    case IDC_RENAME_PART_BUTTON:
        if (Part* part = FindPart(control); part && code == BN_CLICKED)
            OnPartClicked(*part);
        return true;
    case IDC_RENAME_ALLOW_EXTENSION:
    case IDC_RENAME_NUMBERS_AS_TEXT:
        if (code == BN_CLICKED)
            OnCheckBoxClicked();
        return true;
    case IDC_RENAME_RESET:
        Reset();
        return true;
    case IDC_RENAME_COPY_NAMES:
        CopyNames(m_list.Rows());
        return true;
    case IDC_RENAME_PASTE_NAMES:
        PasteNames(m_list.Rows(), true);
        return true;
    case IDM_RENAME_COPY_NAMES:
    case IDM_RENAME_PASTE_NAMES:
    case IDM_RENAME_RESET_NAMES:
    case IDM_RENAME_REMOVE:
    case IDM_RENAME_SELECT_ALL:
    case IDM_RENAME_INVERT_SELECTION:
        RunNamesCommand(id);
        return true;
    case IDOK:
        if (code == BN_CLICKED)
            Rename();
        return true;
    default:
        return CResizableDialog::OnCommand(id, code, control);
    }
}

void ChangeTextDlg::RunNamesCommand(int id)
{
    switch (id)
    {
    case IDM_RENAME_COPY_NAMES:
        CopyNames(m_list.SelectedItems());
        break;
    case IDM_RENAME_PASTE_NAMES:
        PasteNames(m_list.SelectedItems(), false);
        break;
    case IDM_RENAME_RESET_NAMES:
        ResetNames();
        break;
    case IDM_RENAME_REMOVE:
        RemoveSelected();
        break;
    case IDM_RENAME_SELECT_ALL:
        m_list.SelectAll();
        break;
    case IDM_RENAME_INVERT_SELECTION:
        m_list.InvertSelection();
        break;
    default:
        break;
    }
}

void ChangeTextDlg::OnPartEdited(Part& part)
{
    std::wstring text = GetWindowTextString(part.window.Get());
    if (text.size() > kMaxPartText)
        text.resize(kMaxPartText);
    if (text == part.text)
        return;
    part.text = text;
    m_choice.TypeReplacement(part.segment, std::move(text));
    Recompute();
    MeasurePart(part);
    LayoutParts();
}

void ChangeTextDlg::OnPartClicked(Part& part)
{
    Segment& segment = m_choice.Current().segments[part.segment];
    INT_PTR result = IDCANCEL;
    if (segment.kind == SegmentKind::Number)
        result = CChangeNumberDlg(segment).ShowModal(Hwnd());
    else if (segment.kind == SegmentKind::Wild)
        result = CChangeWildDlg(segment).ShowModal(Hwnd());
    if (result == IDOK)
        Recompute();
}

void ChangeTextDlg::OnCheckBoxClicked()
{
    g_rememberedAllowExtension = IsChecked(IDC_RENAME_ALLOW_EXTENSION);
    g_rememberedNumbersAsText = IsChecked(IDC_RENAME_NUMBERS_AS_TEXT);
    ReadCheckBoxes();
    Recompute();
}

void ChangeTextDlg::Reset()
{
    m_choice.Analyse(m_model, m_choice.AllowExtension(), m_choice.NumbersAsText());
    // Renumbering needs the smallest value of each number part in the new readings too.
    m_choice.ComputeNumberBases(m_model);
    ForgetPastedNames(m_list.Rows());
    m_partsEnabled = true;
    ApplyCheckBoxes();
    ReadCheckBoxes();
    Recompute();
    EnableParts(true);
}

void ChangeTextDlg::CopyNames(const std::vector<RenameItem*>& rows) const
{
    if (!PutClipboardText(JoinNewNames(rows)))
        return;
    ShowRenameMessage(LoadStringResource(IDS_RENAME_COPIED), MessageKind::Information);
}

void ChangeTextDlg::PasteNames(const std::vector<RenameItem*>& rows, bool allRows)
{
    std::wstring text;
    {
        const ClipboardSession clipboard;
        if (!clipboard.IsOpen())
            return;
        text = OpenClipboardText();
    }
    const PastedNames pasted = ReadPastedNames(text);
    switch (pasted.problem)
    {
    case PastedNames::Problem::ForbiddenCharacter:
        ShowRenameMessage(LoadStringResource(IDS_RENAME_PASTE_CHARACTERS), MessageKind::Warning);
        return;
    case PastedNames::Problem::LineTooLong:
        ShowRenameMessage(LoadStringResource(IDS_RENAME_PASTE_TOO_LONG), MessageKind::Warning);
        return;
    case PastedNames::Problem::None:
        break;
    }
    if (pasted.lines.size() != rows.size())
    {
        ShowRenameMessage(FormatStringResource(IDS_RENAME_PASTE_COUNT, static_cast<int>(rows.size()),
                                               static_cast<int>(std::min<size_t>(pasted.lines.size(), 0x7FFFFFFF))),
                          MessageKind::Warning);
        return;
    }
    ApplyPastedNames(rows, pasted.lines, m_choice.AllowExtension());
    Recompute();
    const std::vector<RenameItem*>& all = m_list.Rows();
    if (allRows || std::all_of(all.begin(), all.end(), [](const RenameItem* item) { return item->manualName; }))
        EnableParts(false);
}

void ChangeTextDlg::ResetNames()
{
    const std::vector<RenameItem*> rows = m_list.SelectedItems();
    ForgetPastedNames(rows);
    ReadCheckBoxes();
    Recompute();
    if (!rows.empty())
        EnableParts(true);
}

void ChangeTextDlg::RemoveSelected()
{
    const std::vector<int> rows = m_list.SelectedRows();
    if (rows.empty())
        return;
    if (rows.size() >= m_list.Rows().size())
    {
        ShowRenameMessage(LoadStringResource(IDS_RENAME_REMOVE_ALL), MessageKind::Warning);
        return;
    }
    m_model.RemoveFromList(m_list.SelectedItems());
    m_list.RemoveRows(rows);
    m_choice.ComputeNumberBases(m_model);
    Recompute();
}

void ChangeTextDlg::Rename()
{
    UpdateFromDisk();
    RenameProgressDlg progress;
    switch (RunRename(m_model, Hwnd(), progress))
    {
    case RenameEnd::Refused:
        break;
    case RenameEnd::NoneRenamed:
        UpdateFromDisk(); // the rows show what stands in the way
        break;
    case RenameEnd::PartlyRenamed:
        Close(IDABORT); // the list no longer matches the disk
        break;
    case RenameEnd::Done:
        Close(IDOK);
        break;
    }
}

void ChangeTextDlg::UpdateFromDisk()
{
    // New entries count as names that exist, so that nothing is renamed onto them; entries that
    // have gone leave the list (the names the others were shown keep their numbers).
    const std::vector<RenameItem*> vanished = m_model.RefreshFromDisk();
    if (!vanished.empty())
    {
        std::vector<int> rows;
        const std::vector<RenameItem*>& listed = m_list.Rows();
        for (size_t row = 0; row < listed.size(); ++row)
            if (std::find(vanished.begin(), vanished.end(), listed[row]) != vanished.end())
                rows.push_back(static_cast<int>(row));
        m_list.RemoveRows(rows);
        for (RenameItem* item : vanished)
            m_model.EraseEntry(*item);
    }
    Recompute();
}

void ChangeTextDlg::ShowRenameMessage(const std::wstring& text, MessageKind kind) const
{
    ShowMessage(Hwnd(), text, LoadStringResource(IDS_RENAME_TITLE), kind);
}
