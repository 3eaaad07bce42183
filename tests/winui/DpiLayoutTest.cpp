#include "configure/AboutDlg.h"
#include "configure/BrelvantaConfigureDlg.h"
#include "copydialog/CopyPathOptionsCommand.h"
#include "copydialog/FolderScanOptionsDlg.h"
#include "copydialog/InsertDlg.h"
#include "copydialog/PresetDialogs.h"
#include "copynames/ItemList.h"
#include "foldertools/ClashDlg.h"
#include "foldertools/DelEmptyFoldersCommand.h"
#include "menuconfig/MenuConfig.h"
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
#include <atomic>
#include <string>
#include <vector>

// The dialogs at the screen's DPI (the prefix's: ctest runs this suite at 96, 144 and 192 DPI),
// at their template size and at their smallest, each page of a dialog with pages shown: no control
// overlaps another, no two push buttons come closer than 4 DIPs, and every text, a list's column
// headers' too, fits its control in the control's own font.
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
        Box box;
        box.hwnd = child;
        box.id = ::GetDlgCtrlID(child);
        box.kind.assign(64, L'\0');
        box.style = ::GetWindowLongW(child, GWL_STYLE);
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

// A tab's page, a child dialog, lies on its tab control.
bool IsPage(const Box& box)
{
    return IsKind(box, L"#32770");
}

// Group boxes frame others, pages lie on their tab control, and the size grip sits in the corner
// over whatever is there.
bool TakesPart(const Box& box)
{
    if ((IsKind(box, L"Button") && ButtonType(box) == BS_GROUPBOX) || IsPage(box))
        return false;
    return !(IsKind(box, L"ScrollBar") && (box.style & SBS_SIZEGRIP));
}

// The text as drawn (access key marks gone) in the window's font.
SIZE ShownTextExtent(HWND window, const std::wstring& text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i; // "&&" shows one "&", "&x" shows "x"
        shown += text[i];
    }
    SIZE size{};
    const HDC dc = ::GetDC(window);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return size;
}

SIZE TextExtent(const Box& box)
{
    return ShownTextExtent(box.hwnd, box.text);
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

// A text whose room the product's design fixes, and which Windows' dialog font (Tahoma 8) fits
// there; Wine's fonts can be wider. The text is a list's column header; empty: the control's own.
struct FixedRoom
{
    int id = 0;
    std::wstring text;
};
using FixedRooms = std::vector<FixedRoom>;

bool HasFixedRoom(const FixedRooms& fixed, int id, const std::wstring& text)
{
    return std::any_of(fixed.begin(), fixed.end(),
                       [&](const FixedRoom& room) { return room.id == id && room.text == text; });
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// Each column header of a list view that shows its headers fits its text.
void CheckColumnHeaders(const Box& list, UINT dpi, const FixedRooms& fixed, const std::string& name)
{
    const HWND header = ListView_GetHeader(list.hwnd);
    if (!header || !::IsWindowVisible(header))
        return;
    const int columns = Header_GetItemCount(header);
    for (int column = 0; column < columns; ++column)
    {
        wchar_t text[128]{};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = text;
        item.cchTextMax = 128;
        ASSERT_TRUE(Header_GetItem(header, column, &item)) << name;
        if (HasFixedRoom(fixed, list.id, text))
            continue;
        // The header leaves three edges' width (6 DIPs) on either side of the text.
        EXPECT_LE(ShownTextExtent(header, text).cx + 2 * ScreenDpi::DipsToPixels(6, dpi), item.cxy)
            << name << " clips its column header \"" << Narrow(text) << "\"";
    }
}

void CheckLayout(HWND dialog, const std::string& where, const FixedRooms& fixed = {})
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
        if (IsKind(box, WC_LISTVIEWW))
            CheckColumnHeaders(box, dpi, fixed, name);
        if (textual && !box.text.empty() && !HasFixedRoom(fixed, box.id, {}))
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
                EXPECT_LE(need.bottom, height) << name << " cuts \"" << Narrow(box.text) << "\" off (" << text.cx
                                               << " pixels on one line in " << width << ")";
            }
            else
            {
                EXPECT_LE(text.cx + Surround(box, dpi), width) << name << " clips \"" << Narrow(box.text) << "\"";
                EXPECT_LE(text.cy, height) << name << " is lower than its text";
            }
        }
        if (IsPage(box))
            CheckLayout(box.hwnd, name + " (page)");
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
void CheckBothSizes(HWND dialog, const std::string& name, const FixedRooms& fixed = {})
{
    CheckLayout(dialog, name + " at " + std::to_string(DpiOf(dialog)) + " DPI", fixed);
    if (!(::GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME))
        return;
    ::SetWindowPos(dialog, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
    CheckLayout(dialog, name + " at its smallest at " + std::to_string(DpiOf(dialog)) + " DPI", fixed);
}

// Checks a dialog with pages on each page, each at the dialog's template size and at its smallest.
void CheckEveryPage(HWND dialog, int tabs, const std::string& name)
{
    RECT original{};
    ::GetWindowRect(dialog, &original);
    const int pages = static_cast<int>(::SendDlgItemMessageW(dialog, tabs, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_GE(pages, 2) << name;
    for (int page = 0; page < pages; ++page)
    {
        ::SetWindowPos(dialog, nullptr, 0, 0, original.right - original.left, original.bottom - original.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::SendDlgItemMessageW(dialog, tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
        CheckBothSizes(dialog, name + ", page " + std::to_string(page + 1));
    }
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
        {
            ASSERT_EQ(DpiOf(::GetDesktopWindow()), static_cast<UINT>(_wtoi(wanted)));
        }
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

    // The copy options dialog with a folder among the items, so that its folder options show, then
    // on the Full Controls page with the item text's error indicator beside the shortened edit.
    driver.OnDialog(L"Copy Filenames", [](DialogHandle dlg) {
        CheckEveryPage(dlg.Hwnd(), IDC_COPY_PATHS_TABS, "Copy Filenames");
        const DialogHandle full = dlg.ChildWith(IDC_FULL_ITEM_TEXT);
        full.SetText(IDC_FULL_ITEM_TEXT, L"$name - $sise");
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        EXPECT_TRUE(full.IsVisible(IDC_FULL_ERROR));
        CheckBothSizes(dlg.Hwnd(), "Copy Filenames with an error");
        dlg.Click(IDCANCEL);
    });
    CopyPathOptionsCommand(L"Copy Filenames with Options")
        .Invoke(SelectionOf({L"Music", L"Trip 2021-03-07 beach.jpg"}), 0, CWindow());
    // Without a folder the folder options go and the rest moves up into their room.
    driver.OnDialog(L"Copy Filenames", [](DialogHandle dlg) {
        CheckEveryPage(dlg.Hwnd(), IDC_COPY_PATHS_TABS, "Copy Filenames without folders");
        dlg.Click(IDCANCEL);
    });
    CopyPathOptionsCommand(L"Copy Filenames with Options")
        .Invoke(SelectionOf({L"Trip 2021-03-07 beach.jpg", L"Trip 2021-04-11 city.jpg"}), 0, CWindow());

    ItemList items;
    items.AddPath(TempPath(L"Trip 2021-03-07 beach.jpg"));
    items.Flatten();
    driver.OnDialog(L"Insert File/Folder Attribute", [](DialogHandle dlg) {
        CheckEveryPage(dlg.Hwnd(), IDC_INSERT_TABS, "Insert");
        dlg.Click(IDCANCEL);
    });
    ShowInsertDialog(CWindow(), items);

    FolderScanOptions scan;
    driver.OnDialog(L"Folder Options", [](DialogHandle dlg) {
        CheckBothSizes(dlg.Hwnd(), "Folder Options");
        dlg.Click(IDCANCEL);
    });
    EditFolderScanOptions(CWindow(), scan);

    driver.OnDialog(L"Preset Name", [](DialogHandle dlg) {
        CheckBothSizes(dlg.Hwnd(), "Preset Name");
        dlg.Click(IDCANCEL);
    });
    CPresetNameDlg(PresetList{{L"Full paths", L"$path", L"\\n"}}).ShowModal(nullptr);

    // The configure program's window, modeless as in the program, and its About box.
    MenuConfig config;
    DefaultMenuConfig(config);
    MenuConfigFile file(TempPath(L"MenuCommands.xml"));
    std::atomic<HWND> mainWindow{nullptr};
    {
        CBrelvantaConfigureDlg configure(config, file, mainWindow);
        ASSERT_TRUE(configure.Create(nullptr));
        ::ShowWindow(configure.Hwnd(), SW_SHOW);
        // The "Show" columns keep their fixed width (Wine's "Show" is wider than Windows').
        CheckBothSizes(configure.Hwnd(), "Configure", {{IDC_MAIN_MENU_LIST, L"Show"}, {IDC_SUBMENU_LIST, L"Show"}});
        configure.Destroy();
    }
    driver.OnDialog(L"About BrelvantaConfigure", [](DialogHandle dlg) {
        // The version line keeps its template's width, which Windows' dialog font fits.
        CheckBothSizes(dlg.Hwnd(), "About", {{IDC_ABOUT_VERSION, {}}});
        dlg.Click(IDOK);
    });
    CAboutDlg().ShowModal(nullptr);
    EXPECT_EQ(driver.PendingScripts(), 0u);
}
