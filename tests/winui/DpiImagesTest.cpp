#include "foldertools/FoldersListView.h"
#include "rename/NamesListCtrl.h"
#include "resources/resource.h"
#include "winui/ScaledBitmap.h"
#include "winui/ScreenDpi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{
constexpr UINT kDpis[] = {96, 120, 144, 192, 288, 384};

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return {info.bmWidth, std::abs(info.bmHeight)};
}

// The bitmap's BGRA pixels, top row first.
std::vector<BYTE> PixelsOf(HBITMAP bitmap)
{
    const SIZE size = BitmapSize(bitmap);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> pixels(static_cast<size_t>(size.cx) * size.cy * 4);
    const HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

struct ListWindow
{
    ListWindow()
        : hwnd(::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~ListWindow() { ::DestroyWindow(hwnd); }
    HWND hwnd;
};

SIZE ImageSize(HIMAGELIST list)
{
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(list, &cx, &cy);
    return {cx, cy};
}
} // namespace

// Every bitmap drawn at a DPI has the size the DPI wants, and the drawing scaled down to 16 pixels
// matches the 16-pixel design (the same drawing, made at that size): rows, channels and alpha come
// through the scaling the right way round.
TEST(DpiImagesTest, BitmapsHaveTheSizeOfTheirDpiAndKeepTheirDrawing)
{
    struct Bitmap
    {
        UINT small;
        UINT large;
        AlphaForm form;
    };
    std::vector<Bitmap> bitmaps{{IDB_ERROR_INDICATOR, IDB_ERROR_INDICATOR_LARGE, AlphaForm::Premultiplied}};
    for (UINT id = IDB_RENAME_STATE_FIRST; id <= IDB_RENAME_STATE_LAST; ++id)
        bitmaps.push_back({id, IDB_RENAME_STATE_LARGE_FIRST + (id - IDB_RENAME_STATE_FIRST), AlphaForm::Straight});
    for (const Bitmap& bitmap : bitmaps)
    {
        for (const UINT dpi : kDpis)
        {
            const int size = ScreenDpi::DipsToPixels(16, dpi);
            const UniqueHbitmap scaled = LoadScaledBitmap(bitmap.small, bitmap.large, size, bitmap.form);
            ASSERT_TRUE(scaled) << bitmap.small << " at " << dpi;
            const SIZE got = BitmapSize(scaled.Get());
            EXPECT_EQ(got.cx, size) << bitmap.small << " at " << dpi;
            EXPECT_EQ(got.cy, size) << bitmap.small << " at " << dpi;
        }
        // Bitmap 1 is none: the large drawing alone, scaled to 16.
        const UniqueHbitmap design = LoadScaledBitmap(bitmap.small, bitmap.large, 16, bitmap.form);
        const UniqueHbitmap scaled = LoadScaledBitmap(1, bitmap.large, 16, bitmap.form);
        ASSERT_TRUE(design && scaled);
        const std::vector<BYTE> expected = PixelsOf(design.Get());
        const std::vector<BYTE> actual = PixelsOf(scaled.Get());
        ASSERT_EQ(actual.size(), expected.size());
        long difference = 0;
        int worst = 0;
        for (size_t i = 0; i < actual.size(); ++i)
        {
            // Compared as seen: straight colours weighed by their alpha.
            const bool weigh = bitmap.form == AlphaForm::Straight && i % 4 != 3;
            const int a = weigh ? actual[i] * actual[i - i % 4 + 3] / 255 : actual[i];
            const int e = weigh ? expected[i] * expected[i - i % 4 + 3] / 255 : expected[i];
            difference += std::abs(a - e);
            worst = std::max(worst, std::abs(a - e));
        }
        EXPECT_LT(difference / static_cast<long>(actual.size()), 4) << bitmap.small;
        EXPECT_LT(worst, 64) << bitmap.small;
    }
}

// The names list's state images and the folder list's icons follow the DPI, also when it changes.
TEST(DpiImagesTest, ListImagesHaveTheSizeOfTheDpi)
{
    ListWindow names;
    ListWindow folders;
    CNamesListCtrl namesList;
    FoldersListView foldersList;
    ScreenDpi dpi;
    dpi.SetReported(96);
    namesList.SetUp(names.hwnd, false, dpi);
    foldersList.Attach(folders.hwnd, 96);
    for (const UINT value : kDpis)
    {
        dpi.SetReported(value);
        namesList.SizeStateImages(dpi);
        foldersList.SizeIcons(value);
        const int size = ScreenDpi::DipsToPixels(16, value);
        const HIMAGELIST states = ListView_GetImageList(names.hwnd, LVSIL_STATE);
        ASSERT_NE(states, nullptr) << value;
        EXPECT_EQ(ImageSize(states).cx, size) << value;
        EXPECT_EQ(ImageSize(states).cy, size) << value;
        EXPECT_EQ(::ImageList_GetImageCount(states), IDB_RENAME_STATE_LAST - IDB_RENAME_STATE_FIRST + 1) << value;
        const HIMAGELIST icons = ListView_GetImageList(folders.hwnd, LVSIL_SMALL);
        ASSERT_EQ(icons, foldersList.Icons()) << value;
        EXPECT_EQ(ImageSize(icons).cx, size) << value;
        EXPECT_EQ(ImageSize(icons).cy, size) << value;
        EXPECT_EQ(::ImageList_GetImageCount(icons), 1) << value;
    }
}
