#include "tests/support/HighContrast.h"

#include "winsupport/UniqueHandle.h"
#include "winui/WindowHandles.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <map>

namespace
{
struct Colour
{
    int element;
    COLORREF value;
};
constexpr Colour kDark[] = {
    {COLOR_WINDOW, RGB(0, 0, 0)},
    {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_BTNFACE, RGB(0, 0, 0)},
    {COLOR_BTNTEXT, RGB(255, 255, 255)},
    {COLOR_HIGHLIGHT, RGB(0, 255, 255)},
    {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
    {COLOR_GRAYTEXT, RGB(0, 255, 0)},
    {COLOR_HOTLIGHT, RGB(255, 255, 0)},
    {COLOR_WINDOWFRAME, RGB(255, 255, 255)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)},
    {COLOR_BTNHIGHLIGHT, RGB(192, 192, 192)},
};

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH logical{};
    return ::GetObjectW(brush, sizeof(logical), &logical) ? logical.lbColor : CLR_INVALID;
}

std::wstring WindowClass(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

int Brightness(COLORREF colour)
{
    return (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
}
} // namespace

HighContrastColours::HighContrastColours()
{
    std::vector<COLORREF> wanted;
    for (const Colour& colour : kDark)
    {
        m_elements.push_back(colour.element);
        m_old.push_back(::GetSysColor(colour.element));
        wanted.push_back(colour.value);
    }
    if (!::SetSysColors(static_cast<int>(m_elements.size()), m_elements.data(), wanted.data()))
        return;
    m_applied = true;
    for (const Colour& colour : kDark)
        m_applied = m_applied && ::GetSysColor(colour.element) == colour.value &&
                    BrushColour(::GetSysColorBrush(colour.element)) == colour.value;
}

HighContrastColours::~HighContrastColours()
{
    ::SetSysColors(static_cast<int>(m_elements.size()), m_elements.data(), m_old.data());
}

ShownPixels ReadShownPixels(HWND window)
{
    ShownPixels shown;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT client{};
    ::GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0)
        return shown;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const WindowDc source(window);
    const UniqueHbitmap bitmap(::CreateDIBSection(source.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueMemoryDc memory(::CreateCompatibleDC(source.Get()));
    if (!bitmap || !memory)
        return shown;
    {
        const SelectObjectGuard selected(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    }
    std::map<COLORREF, int> counts;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i)
    {
        const DWORD pixel = pixels[i];
        ++counts[RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF)];
    }
    for (const auto& [colour, count] : counts)
        if (count > shown.backgroundCount)
        {
            shown.background = colour;
            shown.backgroundCount = count;
        }
    for (const auto& [colour, count] : counts)
        if (std::abs(Brightness(colour) - Brightness(shown.background)) >= 128)
            shown.contrastingCount += count;
    shown.total = width * height;
    return shown;
}

bool IsPage(HWND window)
{
    return WindowClass(window) == L"#32770" && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
}

void ExpectReadablePage(HWND page, const std::string& what)
{
    EXPECT_EQ(ReadShownPixels(page).background, ::GetSysColor(COLOR_WINDOW)) << what;
    for (HWND control = ::GetWindow(page, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT))
    {
        const bool holdsText =
            ::GetWindowTextLengthW(control) > 0 || ::SendMessageW(control, LVM_GETITEMCOUNT, 0, 0) > 0;
        if (!::IsWindowVisible(control) || !holdsText)
            continue;
        const ShownPixels shown = ReadShownPixels(control);
        const std::wstring className = WindowClass(control);
        const int id = ::GetDlgCtrlID(control);
        // A focused list box or field stands on the selection colour. Push buttons are the visual
        // style's while one is on (Windows turns it off for a high-contrast theme, Wine does not):
        // for them the text's contrast is what counts.
        const bool pushButton =
            className == L"Button" && (::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
        EXPECT_TRUE(pushButton || shown.background == ::GetSysColor(COLOR_WINDOW) ||
                    shown.background == ::GetSysColor(COLOR_BTNFACE) ||
                    shown.background == ::GetSysColor(COLOR_HIGHLIGHT))
            << what << ": " << className << " " << id << " stands on " << std::hex << shown.background;
        EXPECT_GT(shown.contrastingCount, 0) << what << ": " << className << " " << id << " is unreadable";
    }
}
