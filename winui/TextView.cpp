#include "winui/TextView.h"

#include "winui/TextLines.h"

#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winui/Accessible.h"
#include "winui/Clipboard.h"
#include "winui/WindowHandles.h"

#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace
{
SRWLOCK g_classLock = SRWLOCK_INIT;
int g_classUsers = 0;

constexpr UINT_PTR kDragScrollTimer = 1;
constexpr UINT kDragScrollInterval = 50; // ms between lines while a drag holds the mouse outside
constexpr int kTabStopChars = 8;
constexpr UINT kCommandCopy = 1;
constexpr UINT kCommandSelectAll = 2;

// Text whose characters each take their own advance width, one after another: no right-to-left
// or shaped scripts, no surrogate pairs, no direction marks. Other text is measured and drawn
// by the platform as a whole.
bool IsSimpleText(std::wstring_view text) noexcept
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) {
        return c < 0x0590 || (c >= 0x1100 && c < 0x200B) || (c > 0x200F && c < 0x202A) || (c > 0x202E && c < 0x2066) ||
               (c > 0x2069 && c < 0xD800) || (c >= 0xE000 && c < 0xFB1D) || (c >= 0xFE00 && c < 0xFE70) || c >= 0xFF00;
    });
}

bool KeyDown(int key) noexcept
{
    return ::GetKeyState(key) < 0;
}

// What a scroll bar was last given.
struct ScrollRange
{
    int max = -1;
    UINT page = 0;
    int position = -1;
    bool operator==(const ScrollRange& other) const noexcept
    {
        return max == other.max && page == other.page && position == other.position;
    }
};

// To assistive technology the view is what a read-only multi-line edit is: text named by its
// label, whose value is the whole text; the selection (EM_GETSEL) and the system caret are read
// as an edit's are.
class CTextView final : private AccessibleFacts
{
  public:
    explicit CTextView(HWND hwnd) : m_hwnd(hwnd), m_accessible(*this) {}
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    std::optional<std::wstring> AccessibleName(long child) const override;
    std::optional<std::wstring> AccessibleValue(long child) const override;
    std::optional<long> AccessibleRole(long child) const override;
    long AccessibleState(long child, long standard) const override;

    void SetText(const wchar_t* text);

    // Measuring: the right edge of each character of a line, from the line's left end.
    std::vector<int> Edges(size_t line) const;
    int CharWidth(wchar_t c) const;
    int XOf(size_t offset) const;
    size_t OffsetAtX(size_t line, int x) const;
    size_t OffsetAt(POINT point) const;
    HGDIOBJ Font() const noexcept { return m_font ? static_cast<HGDIOBJ>(m_font) : ::GetStockObject(SYSTEM_FONT); }
    void MeasureFont();
    void MeasureLongestLine();

    // Between a line's x (its start is 0) and the client area's.
    int ScreenX(int x) const noexcept { return x + m_margin - m_left; }
    int TextX(int screenX) const noexcept { return screenX - m_margin + m_left; }

    // Scrolling.
    int ClientWidth() const noexcept;
    size_t VisibleLines() const noexcept;
    void UpdateScrollBars();
    void ScrollTo(long long top, long long left);
    void ScrollCaretIntoView();
    void OnScroll(int bar, WORD request);
    void OnWheel(int& rest, short delta, bool horizontal);

    // The selection and the caret.
    void Select(size_t anchor, size_t caret);
    void MoveCaret(size_t offset, bool extend);
    void MoveCaretToLine(long long line, bool extend);
    void PlaceCaret() const;
    std::wstring_view Selection() const noexcept;

    void OnKeyDown(WPARAM key);
    void OnMouse(UINT message, POINT point, WPARAM keys);
    void ShowContextMenu(POINT screen);
    void Paint(HDC dc, const RECT& area);

    HWND m_hwnd;
    TextLines m_lines;
    HFONT m_font = nullptr; // the dialog's, which outlives the view
    UniqueMemoryDc m_measure;
    // Advance widths of the font, by blocks of 256 characters as they are first met: asking the
    // platform to measure each line costs more than the rest of showing it.
    mutable std::unique_ptr<int[]> m_charWidths[256];
    int m_lineHeight = 16;
    int m_charWidth = 8;
    size_t m_top = 0; // the first line in view
    int m_left = 0;   // pixels scrolled to the right
    int m_margin = 2; // between the left border and the text
    int m_widest = 0; // the widest line measured so far, in pixels
    size_t m_anchor = 0;
    size_t m_caret = 0;
    int m_wantedX = -1; // where up and down keep the caret, while they are pressed in a row
    bool m_dragging = false;
    bool m_hasCaret = false;
    int m_wheelRest = 0;
    int m_hwheelRest = 0;
    ScrollRange m_shownVertical;
    ScrollRange m_shownHorizontal;
    AccessibleObject m_accessible;
};

LRESULT CALLBACK TextViewProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* view = reinterpret_cast<CTextView*>(::GetWindowLongPtrW(hwnd, 0));
    if (message == WM_NCCREATE)
    {
        try
        {
            view = new CTextView(hwnd);
        }
        catch (...) // out of memory: no view
        {
            return FALSE;
        }
        ::SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(view));
    }
    if (!view)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY)
    {
        ::SetWindowLongPtrW(hwnd, 0, 0);
        delete view;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try
    {
        return view->OnMessage(message, wParam, lParam);
    }
    catch (...) // out of memory for a huge text: the view stays as it was, the host goes on
    {
        return 0;
    }
}

LRESULT CTextView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        MeasureFont();
        SetText(create->lpszName && !IS_INTRESOURCE(create->lpszName) ? create->lpszName : L"");
        return 0;
    }
    case WM_SETTEXT:
        SetText(reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam)
            return 0;
        const size_t count = std::min(m_lines.Size(), static_cast<size_t>(wParam) - 1);
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        std::copy_n(m_lines.Text().data(), count, buffer);
        buffer[count] = L'\0';
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(m_lines.Size());
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        MeasureFont();
        MeasureLongestLine();
        ScrollTo(static_cast<long long>(m_top), m_left);
        if (LOWORD(lParam))
            ::InvalidateRect(m_hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_COPY:
        if (!Selection().empty())
            CopyTextForUser(Selection());
        return 0;
    case EM_SETSEL: {
        const auto start = static_cast<int>(wParam);
        const auto end = static_cast<int>(lParam);
        if (start < 0)
            Select(m_caret, m_caret);
        else
            Select(std::min(static_cast<size_t>(start), m_lines.Size()),
                   end < 0 ? m_lines.Size() : std::min(static_cast<size_t>(end), m_lines.Size()));
        return 0;
    }
    case EM_GETSEL: {
        const auto start = static_cast<DWORD>(std::min(std::min(m_anchor, m_caret), size_t{MAXDWORD}));
        const auto end = static_cast<DWORD>(std::min(std::max(m_anchor, m_caret), size_t{MAXDWORD}));
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(m_lines.Count());
    case EM_GETFIRSTVISIBLELINE:
        return static_cast<LRESULT>(m_top);
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = m_accessible.OnGetObject(m_hwnd, wParam, lParam))
            return *answer;
        return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_SIZE:
        ScrollTo(static_cast<long long>(m_top), m_left);
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(m_wheelRest, GET_WHEEL_DELTA_WPARAM(wParam), false);
        return 0;
    case WM_MOUSEHWHEEL:
        OnWheel(m_hwheelRest, GET_WHEEL_DELTA_WPARAM(wParam), true);
        return TRUE;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
        OnMouse(message, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam);
        return 0;
    case WM_TIMER:
        if (wParam == kDragScrollTimer && m_dragging)
        {
            POINT point{};
            ::GetCursorPos(&point);
            ::ScreenToClient(m_hwnd, &point);
            RECT client{};
            ::GetClientRect(m_hwnd, &client);
            if (!::PtInRect(&client, point))
                MoveCaret(OffsetAt(point), true);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (m_dragging)
        {
            m_dragging = false;
            ::KillTimer(m_hwnd, kDragScrollTimer);
        }
        return 0;
    case WM_CONTEXTMENU: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (point.x == -1 && point.y == -1) // from the keyboard: at the caret
        {
            const long long row = static_cast<long long>(m_lines.LineOf(m_caret)) - static_cast<long long>(m_top);
            point = {std::max(0, ScreenX(XOf(m_caret))), static_cast<int>(std::max(0LL, row + 1) * m_lineHeight)};
            ::ClientToScreen(m_hwnd, &point);
        }
        ShowContextMenu(point);
        return 0;
    }
    case WM_SETFOCUS:
        m_hasCaret = ::CreateCaret(m_hwnd, nullptr, 1, m_lineHeight) != FALSE;
        PlaceCaret();
        ::ShowCaret(m_hwnd);
        return 0;
    case WM_KILLFOCUS:
        if (m_hasCaret)
            ::DestroyCaret();
        m_hasCaret = false;
        return 0;
    case WM_ENABLE:
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting fills the background
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        if (const HDC dc = ::BeginPaint(m_hwnd, &paint))
        {
            Paint(dc, paint.rcPaint);
            ::EndPaint(m_hwnd, &paint);
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        ::GetClientRect(m_hwnd, &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    default:
        return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void CTextView::SetText(const wchar_t* text)
{
    m_top = 0;
    m_left = 0;
    m_anchor = m_caret = 0;
    m_wantedX = -1;
    m_lines.Assign(text);
    MeasureLongestLine();
    UpdateScrollBars();
    PlaceCaret();
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
    ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
}

std::optional<std::wstring> CTextView::AccessibleName(long child) const
{
    if (child != CHILDID_SELF)
        return std::nullopt;
    return AccessibleLabel(m_hwnd);
}

std::optional<std::wstring> CTextView::AccessibleValue(long child) const
{
    if (child != CHILDID_SELF)
        return std::nullopt;
    return m_lines.Text();
}

std::optional<long> CTextView::AccessibleRole(long child) const
{
    if (child != CHILDID_SELF)
        return std::nullopt;
    return ROLE_SYSTEM_TEXT;
}

long CTextView::AccessibleState(long child, long standard) const
{
    if (child != CHILDID_SELF)
        return standard;
    long state = standard | STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE;
    if (::GetFocus() == m_hwnd)
        state |= STATE_SYSTEM_FOCUSED;
    if (!::IsWindowEnabled(m_hwnd))
        state |= STATE_SYSTEM_UNAVAILABLE;
    return state;
}

int CTextView::CharWidth(wchar_t c) const
{
    std::unique_ptr<int[]>& block = m_charWidths[c >> 8];
    if (!block)
    {
        block = std::make_unique<int[]>(256);
        const UINT first = c & 0xFF00u;
        if (!::GetCharWidth32W(m_measure.Get(), first, first + 255, block.get()))
            std::fill_n(block.get(), 256, m_charWidth);
    }
    return block[c & 0xFFu];
}

std::vector<int> CTextView::Edges(size_t line) const
{
    const std::wstring& text = m_lines.Text();
    const size_t start = m_lines.Start(line);
    const size_t end = m_lines.End(line);
    std::vector<int> edges(end - start);
    const int tabStop = std::max(1, kTabStopChars * m_charWidth);
    int x = 0;
    for (size_t at = start; at < end;)
    {
        if (text[at] == L'\t')
        {
            x = (x / tabStop + 1) * tabStop;
            edges[at - start] = x;
            ++at;
            continue;
        }
        const size_t runEnd =
            static_cast<size_t>(std::find(text.begin() + at, text.begin() + end, L'\t') - text.begin());
        int* runEdges = edges.data() + (at - start);
        const std::wstring_view run(text.data() + at, runEnd - at);
        if (IsSimpleText(run))
        {
            for (size_t i = 0; i < run.size(); ++i)
                runEdges[i] = x += CharWidth(run[i]);
        }
        else
        {
            SIZE size{};
            ::GetTextExtentExPointW(m_measure.Get(), run.data(), static_cast<int>(run.size()), 0, nullptr, runEdges,
                                    &size);
            for (size_t i = 0; i < run.size(); ++i)
                runEdges[i] += x;
            x = runEdges[run.size() - 1];
        }
        at = runEnd;
    }
    return edges;
}

int CTextView::XOf(size_t offset) const
{
    const size_t line = m_lines.LineOf(offset);
    const size_t index = offset - m_lines.Start(line);
    if (index == 0)
        return 0;
    return Edges(line)[index - 1];
}

// The caret place nearest to x on the line: before a character when x lies in its left half.
size_t CTextView::OffsetAtX(size_t line, int x) const
{
    const std::vector<int> edges = Edges(line);
    int left = 0;
    size_t index = 0;
    for (; index < edges.size(); ++index)
    {
        if (x < (left + edges[index]) / 2)
            break;
        left = edges[index];
    }
    return m_lines.Start(line) + index;
}

size_t CTextView::OffsetAt(POINT point) const
{
    const long long row = point.y >= 0 ? point.y / m_lineHeight : (point.y - m_lineHeight + 1) / m_lineHeight;
    const long long line =
        std::clamp(static_cast<long long>(m_top) + row, 0LL, static_cast<long long>(m_lines.Count()) - 1);
    return OffsetAtX(static_cast<size_t>(line), TextX(point.x));
}

// Measuring happens on every text and caret move: a device context of our own keeps the font
// selected in between.
void CTextView::MeasureFont()
{
    if (!m_measure)
        m_measure.Reset(::CreateCompatibleDC(nullptr));
    ::SelectObject(m_measure.Get(), Font());
    for (auto& block : m_charWidths)
        block.reset();
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(m_measure.Get(), &metrics))
    {
        m_lineHeight = std::max(1, static_cast<int>(metrics.tmHeight));
        m_charWidth = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
        m_margin = std::max(1, m_charWidth / 3);
    }
}

// The widest line is not known without measuring them all; the one with the most characters
// stands in for it, and wider lines that come into view widen the scroll range.
void CTextView::MeasureLongestLine()
{
    const std::vector<int> edges = Edges(m_lines.Longest());
    m_widest = edges.empty() ? 0 : edges.back();
}

int CTextView::ClientWidth() const noexcept
{
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    return std::max(0, static_cast<int>(client.right));
}

size_t CTextView::VisibleLines() const noexcept
{
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    return static_cast<size_t>(std::max(1, static_cast<int>(client.bottom) / m_lineHeight));
}

// The scroll bars are set without drawing them: setting one draws it at once, which costs more
// than taking ten thousand lines. Their frame is drawn with the next paint.
void CTextView::UpdateScrollBars()
{
    const ScrollRange vertical{static_cast<int>(std::min(m_lines.Count() - 1, size_t{INT_MAX})),
                               static_cast<UINT>(VisibleLines()), static_cast<int>(m_top)};
    // Room for the caret after the last character.
    const ScrollRange horizontal{m_margin + m_widest + m_charWidth, static_cast<UINT>(ClientWidth()), m_left};
    bool changed = false;
    for (auto [bar, range, shown] :
         {std::tuple{SB_VERT, vertical, &m_shownVertical}, std::tuple{SB_HORZ, horizontal, &m_shownHorizontal}})
    {
        if (range == *shown)
            continue;
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMax = range.max;
        info.nPage = range.page;
        info.nPos = range.position;
        ::SetScrollInfo(m_hwnd, bar, &info, FALSE);
        *shown = range;
        changed = true;
    }
    if (changed)
        ::RedrawWindow(m_hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void CTextView::ScrollTo(long long top, long long left)
{
    const long long lines = static_cast<long long>(m_lines.Count());
    const long long visible = static_cast<long long>(VisibleLines());
    top = std::clamp(top, 0LL, std::max(0LL, lines - visible));
    left =
        std::clamp(left, 0LL, std::max(0LL, static_cast<long long>(m_margin) + m_widest + m_charWidth - ClientWidth()));
    if (static_cast<size_t>(top) != m_top || left != m_left)
    {
        m_top = static_cast<size_t>(top);
        m_left = static_cast<int>(left);
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    // Also after a change of size, font or widest line that left the place as it was.
    UpdateScrollBars();
    PlaceCaret();
}

void CTextView::ScrollCaretIntoView()
{
    const long long line = static_cast<long long>(m_lines.LineOf(m_caret));
    const long long visible = static_cast<long long>(VisibleLines());
    long long top = static_cast<long long>(m_top);
    if (line < top)
        top = line;
    else if (line >= top + visible)
        top = line - visible + 1;
    const int x = XOf(m_caret);
    const int width = ClientWidth();
    long long left = m_left;
    if (x < left)
        left = std::max(0, x - width / 4);
    else if (x + m_margin >= left + width - 1)
        left = x + m_margin - width + width / 4;
    // A caret beyond the widest line measured so far widens the range first.
    m_widest = std::max(m_widest, x);
    ScrollTo(top, left);
}

void CTextView::OnScroll(int bar, WORD request)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(m_hwnd, bar, &info);
    const bool vertical = bar == SB_VERT;
    const long long position = vertical ? static_cast<long long>(m_top) : m_left;
    const long long line = vertical ? 1 : m_charWidth;
    const long long page = vertical ? static_cast<long long>(VisibleLines()) : ClientWidth();
    long long target = position;
    switch (request)
    {
    case SB_LINEUP:
        target -= line;
        break;
    case SB_LINEDOWN:
        target += line;
        break;
    case SB_PAGEUP:
        target -= page;
        break;
    case SB_PAGEDOWN:
        target += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        target = info.nTrackPos;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = info.nMax;
        break;
    default:
        return;
    }
    if (vertical)
        ScrollTo(target, m_left);
    else
        ScrollTo(static_cast<long long>(m_top), target);
}

void CTextView::OnWheel(int& rest, short delta, bool horizontal)
{
    rest += delta;
    const int notches = rest / WHEEL_DELTA;
    rest -= notches * WHEEL_DELTA;
    if (notches == 0)
        return;
    if (horizontal)
    {
        ScrollTo(static_cast<long long>(m_top), static_cast<long long>(m_left) + notches * 4LL * m_charWidth);
        return;
    }
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const long long step = lines == WHEEL_PAGESCROLL ? static_cast<long long>(VisibleLines()) : lines;
    ScrollTo(static_cast<long long>(m_top) - notches * step, m_left);
}

void CTextView::Select(size_t anchor, size_t caret)
{
    const bool changed = anchor != m_anchor || caret != m_caret;
    if (changed)
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
    m_anchor = anchor;
    m_caret = caret;
    PlaceCaret();
    if (changed)
        ::NotifyWinEvent(EVENT_OBJECT_TEXTSELECTIONCHANGED, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void CTextView::MoveCaret(size_t offset, bool extend)
{
    Select(extend ? m_anchor : offset, offset);
    ScrollCaretIntoView();
}

void CTextView::MoveCaretToLine(long long line, bool extend)
{
    if (m_wantedX < 0)
        m_wantedX = XOf(m_caret);
    const int wanted = m_wantedX;
    line = std::clamp(line, 0LL, static_cast<long long>(m_lines.Count()) - 1);
    MoveCaret(OffsetAtX(static_cast<size_t>(line), wanted), extend);
    m_wantedX = wanted;
}

void CTextView::PlaceCaret() const
{
    if (!m_hasCaret)
        return;
    const long long row = static_cast<long long>(m_lines.LineOf(m_caret)) - static_cast<long long>(m_top);
    const long long y = std::clamp(row, -1LL, static_cast<long long>(VisibleLines()) + 1) * m_lineHeight;
    ::SetCaretPos(ScreenX(XOf(m_caret)), static_cast<int>(y));
}

std::wstring_view CTextView::Selection() const noexcept
{
    const size_t start = std::min(m_anchor, m_caret);
    return std::wstring_view(m_lines.Text()).substr(start, std::max(m_anchor, m_caret) - start);
}

void CTextView::OnKeyDown(WPARAM key)
{
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const long long line = static_cast<long long>(m_lines.LineOf(m_caret));
    const long long page = static_cast<long long>(VisibleLines());
    const size_t selectionStart = std::min(m_anchor, m_caret);
    const size_t selectionEnd = std::max(m_anchor, m_caret);
    if (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT)
        m_wantedX = -1;
    switch (key)
    {
    case VK_LEFT:
        if (!shift && selectionStart != selectionEnd)
            MoveCaret(selectionStart, false);
        else
            MoveCaret(control ? m_lines.PreviousWord(m_caret) : m_lines.Previous(m_caret), shift);
        break;
    case VK_RIGHT:
        if (!shift && selectionStart != selectionEnd)
            MoveCaret(selectionEnd, false);
        else
            MoveCaret(control ? m_lines.NextWord(m_caret) : m_lines.Next(m_caret), shift);
        break;
    case VK_UP:
        MoveCaretToLine(line - 1, shift);
        break;
    case VK_DOWN:
        MoveCaretToLine(line + 1, shift);
        break;
    case VK_PRIOR:
        ScrollTo(static_cast<long long>(m_top) - page, m_left);
        MoveCaretToLine(line - page, shift);
        break;
    case VK_NEXT:
        ScrollTo(static_cast<long long>(m_top) + page, m_left);
        MoveCaretToLine(line + page, shift);
        break;
    case VK_HOME:
        MoveCaret(control ? 0 : m_lines.Start(static_cast<size_t>(line)), shift);
        break;
    case VK_END:
        MoveCaret(control ? m_lines.Size() : m_lines.End(static_cast<size_t>(line)), shift);
        break;
    case 'A':
        if (control)
            Select(0, m_lines.Size());
        break;
    case 'C':
    case VK_INSERT:
        if (control)
            ::SendMessageW(m_hwnd, WM_COPY, 0, 0);
        break;
    default:
        break;
    }
}

void CTextView::OnMouse(UINT message, POINT point, WPARAM keys)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
        ::SetFocus(m_hwnd);
        m_wantedX = -1;
        MoveCaret(OffsetAt(point), (keys & MK_SHIFT) != 0);
        m_dragging = true;
        ::SetCapture(m_hwnd);
        ::SetTimer(m_hwnd, kDragScrollTimer, kDragScrollInterval, nullptr);
        break;
    case WM_LBUTTONDBLCLK: {
        ::SetFocus(m_hwnd);
        const auto [first, last] = m_lines.WordAt(OffsetAt(point));
        Select(first, last);
        break;
    }
    case WM_MOUSEMOVE:
        if (m_dragging)
            MoveCaret(OffsetAt(point), true);
        break;
    case WM_LBUTTONUP:
        if (m_dragging)
            ::ReleaseCapture(); // WM_CAPTURECHANGED ends the drag
        break;
    case WM_RBUTTONDOWN:
        ::SetFocus(m_hwnd);
        break;
    default:
        break;
    }
}

void CTextView::ShowContextMenu(POINT screen)
{
    const UniqueHmenu menu(::CreatePopupMenu());
    if (!menu)
        return;
    ::AppendMenuW(menu.Get(), MF_STRING | (Selection().empty() ? MF_GRAYED : 0), kCommandCopy,
                  LoadStringResource(IDS_TEXT_VIEW_COPY).c_str());
    ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.Get(), MF_STRING | (m_lines.Size() == 0 ? MF_GRAYED : 0), kCommandSelectAll,
                  LoadStringResource(IDS_TEXT_VIEW_SELECT_ALL).c_str());
    const UINT command = static_cast<UINT>(::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                            screen.x, screen.y, 0, m_hwnd, nullptr));
    if (command == kCommandCopy)
        ::SendMessageW(m_hwnd, WM_COPY, 0, 0);
    else if (command == kCommandSelectAll)
        Select(0, m_lines.Size());
}

void CTextView::Paint(HDC dc, const RECT& area)
{
    // Colours as a read-only edit asks its parent for them.
    auto background = reinterpret_cast<HBRUSH>(::SendMessageW(
        ::GetParent(m_hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hwnd)));
    if (!background)
    {
        background = ::GetSysColorBrush(COLOR_3DFACE);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    }
    const COLORREF ink = ::IsWindowEnabled(m_hwnd) ? ::GetTextColor(dc) : ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF selectedText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const HBRUSH selectedBackground = ::GetSysColorBrush(COLOR_HIGHLIGHT);
    ::FillRect(dc, &area, background);

    const SelectObjectGuard font(dc, Font());
    const std::wstring& text = m_lines.Text();
    ::SetBkMode(dc, TRANSPARENT);
    const size_t selectionStart = std::min(m_anchor, m_caret);
    const size_t selectionEnd = std::max(m_anchor, m_caret);
    const int width = ClientWidth();
    const size_t first = m_top + static_cast<size_t>(std::max(0L, area.top) / m_lineHeight);
    const size_t last =
        std::min(m_lines.Count(), m_top + static_cast<size_t>((area.bottom + m_lineHeight - 1) / m_lineHeight));
    const int widest = m_widest;
    for (size_t line = first; line < last; ++line)
    {
        const int y = static_cast<int>(line - m_top) * m_lineHeight;
        const size_t start = m_lines.Start(line);
        const std::vector<int> edges = Edges(line);
        if (!edges.empty())
            m_widest = std::max(m_widest, edges.back());
        // Only the characters in view are drawn, in runs of one colour without tabs.
        const auto leftOf = [&](size_t index) { return index == 0 ? 0 : edges[index - 1]; };
        size_t index = static_cast<size_t>(std::upper_bound(edges.begin(), edges.end(), TextX(0)) - edges.begin());
        const size_t end = std::min(
            edges.size(),
            static_cast<size_t>(std::lower_bound(edges.begin(), edges.end(), TextX(width)) - edges.begin()) + 1);
        while (index < end)
        {
            const auto selected = [&](size_t i) { return start + i >= selectionStart && start + i < selectionEnd; };
            size_t runEnd = index + 1;
            if (text[start + index] != L'\t')
                while (runEnd < end && text[start + runEnd] != L'\t' && selected(runEnd) == selected(index))
                    ++runEnd;
            RECT cell{ScreenX(leftOf(index)), y, ScreenX(edges[runEnd - 1]), y + m_lineHeight};
            if (selected(index))
                ::FillRect(dc, &cell, selectedBackground);
            if (text[start + index] != L'\t')
            {
                ::SetTextColor(dc, selected(index) ? selectedText : ink);
                // Simple text goes where it was measured, character by character.
                const std::wstring_view run(text.data() + start + index, runEnd - index);
                std::vector<INT> advances;
                if (IsSimpleText(run))
                    for (size_t i = index; i < runEnd; ++i)
                        advances.push_back(edges[i] - leftOf(i));
                ::ExtTextOutW(dc, cell.left, y, 0, nullptr, run.data(), static_cast<UINT>(run.size()),
                              advances.empty() ? nullptr : advances.data());
            }
            index = runEnd;
        }
    }
    if (m_widest != widest)
        UpdateScrollBars();
}
} // namespace

TextViewClass::TextViewClass() noexcept
{
    ::AcquireSRWLockExclusive(&g_classLock);
    if (g_classUsers++ == 0)
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &TextViewProcedure;
        windowClass.cbWndExtra = sizeof(CTextView*);
        windowClass.hInstance = ResourceModule();
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
        windowClass.lpszClassName = kTextViewClass;
        ::RegisterClassExW(&windowClass);
    }
    ::ReleaseSRWLockExclusive(&g_classLock);
}

TextViewClass::~TextViewClass()
{
    ::AcquireSRWLockExclusive(&g_classLock);
    if (--g_classUsers == 0)
        ::UnregisterClassW(kTextViewClass, ResourceModule());
    ::ReleaseSRWLockExclusive(&g_classLock);
}
