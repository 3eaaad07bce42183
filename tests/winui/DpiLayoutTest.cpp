#include "foldertools/ClashDlg.h"
#include "foldertools/DelEmptyFoldersCommand.h"
#include "rename/BatchRenameCommand.h"
#include "rename/ChangeNumberDlg.h"
#include "rename/ChangeWildDlg.h"
#include "rename/PartRow.h"
#include "resources/resource.h"
#include "tests/foldertools/FolderToolsTestSupport.h"
#include "tests/support/DialogDriver.h"
#include "winui/ScreenDpi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The dialogs at the screen's DPI (the prefix's: ctest runs this suite at 96, 144 and 192 DPI),
// at their template size and at their smallest: no control overlaps another, no two push buttons
// come closer than 4 DIPs, and every text fits its control in the control's own font.
namespace
{
struct Box
{
    HWND hwnd = nullptr;
    int id = 0;
    std::wstring kind; // window class
    LONG style = 0;
    RECT rect{}; // in the dialog's client area
    std::wstring text;
};

UINT DpiOf(HWND window)
{
    const HDC dc = ::GetDC(window);
    const UINT dpi = static_cast<UINT>(::GetDeviceCaps(dc, LOGPIXELSY));
    ::ReleaseDC(window, dc);
    return dpi;
}

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<Box> VisibleControls(HWND dialog)
{
    std::vector<Box> boxes;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if (!::IsWindowVisible(child))
            continue;
        Box box{child, ::GetDlgCtrlID(child), std::wstring(64, L'\0'), ::GetWindowLongW(child, GWL_STYLE)};
        box.kind.resize(static_cast<size_t>(::GetClassNameW(child, box.kind.data(), 64)));
        ::GetWindowRect(child, &box.rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box.rect), 2);
        box.text = TextOf(child);
        boxes.push_back(box);
    }
    return boxes;
}

bool IsKind(const Box& box, const wchar_t* kind)
{
    return ::lstrcmpiW(box.kind.c_str(), kind) == 0;
}

LONG ButtonType(const Box& box)
{
    return box.style & BS_TYPEMASK;
}

bool IsPushButton(const Box& box)
{
    return IsKind(box, L"Button") &&
           (ButtonType(box) == BS_PUSHBUTTON || ButtonType(box) == BS_DEFPUSHBUTTON || ButtonType(box) == BS_OWNERDRAW);
}

bool IsCheckOrRadio(const Box& box)
{
    switch (ButtonType(box))
    {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return IsKind(box, L"Button");
    default:
        return false;
    }
}

// Group boxes frame others and the size grip sits in the corner over whatever is there.
bool TakesPart(const Box& box)
{
    if (IsKind(box, L"Button") && ButtonType(box) == BS_GROUPBOX)
        return false;
    return !(IsKind(box, L"ScrollBar") && (box.style & SBS_SIZEGRIP));
}

// The text as drawn (access key marks gone) in the control's font.
SIZE TextExtent(const Box& box)
{
    std::wstring shown;
    for (size_t i = 0; i < box.text.size(); ++i)
    {
        if (box.text[i] == L'&' && i + 1 < box.text.size())
            ++i; // "&&" shows one "&", "&x" shows "x"
        shown += box.text[i];
    }
    SIZE size{};
    const HDC dc = ::GetDC(box.hwnd);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(box.hwnd, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(box.hwnd, dc);
    return size;
}

// What a control needs around its text beside the text itself, at the DPI.
int Surround(const Box& box, UINT dpi)
{
    if (IsPushButton(box))
        return 2 * ScreenDpi::DipsToPixels(3, dpi); // edges and focus rectangle
    if (IsCheckOrRadio(box))
        return ScreenDpi::DipsToPixels(13 + 4, dpi); // the box and its gap
    return 0;
}

void CheckLayout(HWND dialog, const std::string& where)
{
    const UINT dpi = DpiOf(dialog);
    const std::vector<Box> boxes = VisibleControls(dialog);
    RECT client{};
    ::GetClientRect(dialog, &client);
    for (size_t i = 0; i < boxes.size(); ++i)
    {
        const Box& box = boxes[i];
        const std::string name = where + ", control " + std::to_string(box.id);
        RECT inside{};
        EXPECT_TRUE(::IntersectRect(&inside, &box.rect, &client) && ::EqualRect(&inside, &box.rect))
            << name << " leaves the dialog";
        // A text made to end in an ellipsis where it is too long is not clipped.
        const bool textual =
            IsPushButton(box) || IsCheckOrRadio(box) ||
            (IsKind(box, L"Static") && (box.style & SS_TYPEMASK) <= SS_RIGHT && !(box.style & SS_ELLIPSISMASK));
        if (textual && !box.text.empty())
        {
            const SIZE text = TextExtent(box);
            const int width = box.rect.right - box.rect.left;
            const int height = box.rect.bottom - box.rect.top;
            const bool wraps = IsKind(box, L"Static") && (box.style & SS_TYPEMASK) <= SS_RIGHT &&
                               (box.style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
            if (wraps)
            {
                // A text that wraps needs the lines it wraps into.
                RECT need{0, 0, width, 0};
                const HDC dc = ::GetDC(box.hwnd);
                const HGDIOBJ old =
                    ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(box.hwnd, WM_GETFONT, 0, 0)));
                ::DrawTextW(dc, box.text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
                ::SelectObject(dc, old);
                ::ReleaseDC(box.hwnd, dc);
                EXPECT_LE(need.bottom, height)
                    << name << " cuts \"" << std::string(box.text.begin(), box.text.end()) << "\" off";
            }
            else
            {
                EXPECT_LE(text.cx + Surround(box, dpi), width)
                    << name << " clips \"" << std::string(box.text.begin(), box.text.end()) << "\"";
                EXPECT_LE(text.cy, height) << name << " is lower than its text";
            }
        }
        if (!TakesPart(box))
            continue;
        for (size_t j = i + 1; j < boxes.size(); ++j)
        {
            const Box& other = boxes[j];
            if (!TakesPart(other))
                continue;
            RECT common{};
            EXPECT_FALSE(::IntersectRect(&common, &box.rect, &other.rect))
                << where << ": controls " << box.id << " and " << other.id << " overlap";
            if (IsPushButton(box) && IsPushButton(other))
            {
                // At least 4 apart, as a user tells them apart.
                RECT grown = box.rect;
                const int apart = ScreenDpi::DipsToPixels(4, dpi) - 1;
                ::InflateRect(&grown, apart, apart);
                EXPECT_FALSE(::IntersectRect(&common, &grown, &other.rect))
                    << where << ": buttons " << box.id << " and " << other.id << " (nearly) touch";
            }
        }
    }
}

// Checks the dialog at its template size, then at its smallest (the system holds it there).
void CheckBothSizes(HWND dialog, const std::string& name)
{
    CheckLayout(dialog, name + " at " + std::to_string(DpiOf(dialog)) + " DPI");
    if (!(::GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME))
        return;
    ::SetWindowPos(dialog, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
    CheckLayout(dialog, name + " at its smallest at " + std::to_string(DpiOf(dialog)) + " DPI");
}

// The part row: one top, one height, even gaps, left to right, clear of the list.
void CheckPartRow(HWND dialog, const std::string& where)
{
    const UINT dpi = DpiOf(dialog);
    std::vector<Box> parts;
    for (const Box& box : VisibleControls(dialog))
        if (box.id == 1500 || box.id == 1501)
            parts.push_back(box);
    ASSERT_GE(parts.size(), 3u) << where;
    std::sort(parts.begin(), parts.end(), [](const Box& a, const Box& b) { return a.rect.left < b.rect.left; });
    for (size_t i = 1; i < parts.size(); ++i)
    {
        EXPECT_EQ(parts[i].rect.top, parts[0].rect.top) << where << ", part " << i;
        EXPECT_EQ(parts[i].rect.bottom, parts[0].rect.bottom) << where << ", part " << i;
        EXPECT_EQ(parts[i].rect.left - parts[i - 1].rect.right, ScreenDpi::DipsToPixels(4, dpi))
            << where << ", gap before part " << i;
    }
}
} // namespace

class DpiLayoutTest : public FolderToolsTest
{
  protected:
    void SetUp() override
    {
        FolderToolsTest::SetUp();
        // Run at another DPI, the suite checks that the screen really has it.
        wchar_t wanted[8]{};
        if (::GetEnvironmentVariableW(L"BRELVANTA_TEST_DPI", wanted, 8) > 0)
            ASSERT_EQ(DpiOf(::GetDesktopWindow()), static_cast<UINT>(_wtoi(wanted)));
    }
};

TEST_F(DpiLayoutTest, ControlsNeitherOverlapNorClipTheirText)
{
    DialogDriver driver;
    driver.OnDialog(L"Extract Folders Clash", [](DialogHandle dlg) {
        CheckBothSizes(dlg.Hwnd(), "Clash");
        dlg.Click(IDOK);
    });
    CClashDlg(L"Cannot extract folders, due to the following clashes:", L"\"note.txt\" exists in:\n    this folder\n")
        .ShowModal(nullptr);

    MakeFolders({L"Music\\Old playlists", L"Photos\\Empty album"});
    MakeTree({{L"Music\\song.mp3", "x"}, {L"Photos\\one.jpg", "x"}});
    driver.OnDialog(L"Delete Empty Folders", [](DialogHandle dlg) {
        CheckBothSizes(dlg.Hwnd(), "Delete Empty Folders");
        dlg.Click(IDCANCEL);
    });
    DelEmptyFoldersCommand(L"Delete Empty Folders").Invoke(SelectionOf({L"Music", L"Photos"}), 0, CWindow());

    for (const wchar_t* file : {L"Trip 2021-03-07 beach.jpg", L"Trip 2021-04-11 city.jpg", L"Trip 2021-05-02 sky.jpg"})
        MakeTree({{file, "x"}});
    driver.OnDialog(L"Multi Rename", [](DialogHandle dlg) {
        const UINT dpi = DpiOf(dlg.Hwnd());
        CheckPartRow(dlg.Hwnd(), "Multi Rename at " + std::to_string(dpi) + " DPI");
        CheckBothSizes(dlg.Hwnd(), "Multi Rename");
        CheckPartRow(dlg.Hwnd(), "Multi Rename at its smallest at " + std::to_string(dpi) + " DPI");
        dlg.Click(IDCANCEL);
    });
    BatchRenameCommand(L"Multi Rename")
        .Invoke(SelectionOf({L"Trip 2021-03-07 beach.jpg", L"Trip 2021-04-11 city.jpg", L"Trip 2021-05-02 sky.jpg"}), 0,
                CWindow());

    Segment wild;
    wild.kind = SegmentKind::Wild;
    driver.OnDialog(L"Change Wild", [](DialogHandle dlg) {
        CheckBothSizes(dlg.Hwnd(), "Change Wild");
        dlg.Click(IDCANCEL);
    });
    CChangeWildDlg(wild).ShowModal(nullptr);
    Segment number;
    number.kind = SegmentKind::Number;
    driver.OnDialog(L"Change Number", [](DialogHandle dlg) {
        CheckBothSizes(dlg.Hwnd(), "Change Number");
        dlg.Click(IDCANCEL);
    });
    CChangeNumberDlg(number).ShowModal(nullptr);
    EXPECT_EQ(driver.PendingScripts(), 0u);
}
