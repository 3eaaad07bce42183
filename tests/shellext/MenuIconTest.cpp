#include "shellext/MenuIcon.h"

#include "winui/WindowHandles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;
using Pixel = std::array<uint8_t, 4>; // blue, green, red, alpha

IconImage MakeImage(int width, int height, const std::vector<Pixel>& pixels)
{
    IconImage image{width, height, {}};
    for (const Pixel& pixel : pixels)
        image.pixels.insert(image.pixels.end(), pixel.begin(), pixel.end());
    return image;
}

// Every channel different from its neighbours, so that a wrong weight or a wrong block shows.
IconImage Pattern(int width, int height)
{
    IconImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    uint32_t state = 12345;
    for (uint8_t& byte : image.pixels)
    {
        state = state * 1103515245 + 12345;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return image;
}

Pixel PixelOf(const IconImage& image, int x, int y)
{
    const size_t offset = (static_cast<size_t>(y) * image.width + x) * 4;
    return {image.pixels[offset], image.pixels[offset + 1], image.pixels[offset + 2], image.pixels[offset + 3]};
}

std::string Describe(const Pixel& pixel)
{
    return std::to_string(pixel[0]) + "," + std::to_string(pixel[1]) + "," + std::to_string(pixel[2]) + "," +
           std::to_string(pixel[3]);
}

struct BitmapShape
{
    LONG width = 0;
    LONG height = 0;
    WORD bitsPerPixel = 0;
    DWORD compression = 0;
    const uint8_t* bits = nullptr;
};

BitmapShape ShapeOf(HBITMAP bitmap)
{
    DIBSECTION section{};
    if (::GetObjectW(bitmap, sizeof(section), &section) != sizeof(section))
        return {};
    return {section.dsBmih.biWidth, section.dsBmih.biHeight, section.dsBmih.biBitCount, section.dsBmih.biCompression,
            static_cast<const uint8_t*>(section.dsBm.bmBits)};
}

// The bitmap's pixels as GetDIBits gives them, rows from the top when topDown is set.
std::vector<Pixel> ReadPixels(HBITMAP bitmap, int width, int height, bool topDown)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<Pixel> pixels(static_cast<size_t>(width) * height);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const int rows = ::GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    EXPECT_EQ(rows, height);
    return pixels;
}
} // namespace

// --- decoding -----------------------------------------------------------------------------------

TEST(MenuIconDecodeTest, FillsThePlanesOneAfterTheOther)
{
    struct Case
    {
        const char* name;
        Bytes data;
        int width;
        int height;
        std::vector<Pixel> firstPixels; // from the first pixel on
    };
    Bytes literal128 = {4, 8, 0x80};
    for (int i = 0; i < 128; ++i)
        literal128.push_back(static_cast<uint8_t>(i));
    const Case cases[] = {
        {"one literal run", {1, 1, 0x84, 10, 20, 30, 40}, 1, 1, {{10, 20, 30, 40}}},
        {"runs cross from plane to plane", {2, 1, 0x03, 7, 0x85, 1, 2, 3, 4, 5}, 2, 1, {{7, 7, 2, 4}, {7, 1, 3, 5}}},
        {"repeat count 0 means 128", {4, 8, 0x00, 9}, 4, 8, {{9, 9, 9, 9}, {9, 9, 9, 9}}},
        {"literal count 0 means 128", literal128, 4, 8, {{0, 32, 64, 96}, {1, 33, 65, 97}}},
        {"data ending early leaves zeros", {2, 1, 0x82, 5, 6}, 2, 1, {{5, 0, 0, 0}, {6, 0, 0, 0}}},
        {"no runs at all", {3, 2}, 3, 2, {{0, 0, 0, 0}}},
        {"bytes past the alpha plane are dropped", {1, 1, 0x06, 200, 0x83, 1, 2, 3}, 1, 1, {{200, 200, 200, 200}}},
        {"largest size", {255, 255, 0x01, 1}, 255, 255, {{1, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        const std::optional<IconImage> image = DecodeIconImage(test.data);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, test.width);
        EXPECT_EQ(image->height, test.height);
        ASSERT_EQ(image->pixels.size(), static_cast<size_t>(test.width) * test.height * 4);
        for (size_t i = 0; i < test.firstPixels.size(); ++i)
            EXPECT_EQ(Describe(PixelOf(*image, static_cast<int>(i) % test.width, static_cast<int>(i) / test.width)),
                      Describe(test.firstPixels[i]))
                << "pixel " << i;
    }
}

TEST(MenuIconDecodeTest, RejectsZeroSizesAndRunsCutShort)
{
    Bytes literal127 = {4, 8, 0x80};
    literal127.resize(literal127.size() + 127, 1);
    const std::pair<const char*, Bytes> cases[] = {
        {"no data", {}},
        {"width only", {1}},
        {"zero width", {0, 1, 0x84, 1, 2, 3, 4}},
        {"zero height", {1, 0, 0x84, 1, 2, 3, 4}},
        {"literal run short of its bytes", {1, 1, 0x84, 1, 2, 3}},
        {"literal run of 128 short by one", literal127},
        {"repeat run without its value", {1, 1, 0x04}},
        {"control byte cut after a good run", {1, 1, 0x02, 5, 0x82}},
        {"broken run after the planes are full", {1, 1, 0x04, 9, 0x82, 1}},
    };
    for (const auto& [name, data] : cases)
        EXPECT_FALSE(DecodeIconImage(data)) << name;
}

TEST(MenuIconDecodeTest, CompiledInIconsAre48By48AndNothingElseIsThere)
{
    for (int number = 1; number <= 9; ++number)
    {
        SCOPED_TRACE(number);
        const std::optional<IconImage> image = DecodeIconImage(MenuIconData(number));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 48);
        EXPECT_EQ(image->height, 48);
        // Drawn shapes with anti-aliased edges: some opaque, some clear, some in between.
        int opaque = 0, clear = 0, partial = 0;
        for (size_t offset = 3; offset < image->pixels.size(); offset += 4)
            (image->pixels[offset] == 255 ? opaque : image->pixels[offset] == 0 ? clear : partial)++;
        EXPECT_GT(opaque, 0);
        EXPECT_GT(clear, 0);
        EXPECT_GT(partial, 0);
    }
    for (int number : {-1, 0, 10, 255})
        EXPECT_TRUE(MenuIconData(number).empty()) << number;
}

// --- halving and resampling ---------------------------------------------------------------------

TEST(MenuIconScaleTest, HalvingRoundsTheSizeUp)
{
    const std::array<std::array<int, 4>, 5> cases = {
        {{48, 48, 24, 24}, {5, 3, 3, 2}, {1, 1, 1, 1}, {2, 7, 1, 4}, {255, 1, 128, 1}}};
    for (const auto& [w, h, halfW, halfH] : cases)
    {
        const IconImage half = HalveIconImage(Pattern(w, h));
        EXPECT_EQ(half.width, halfW) << w << "x" << h;
        EXPECT_EQ(half.height, halfH) << w << "x" << h;
        EXPECT_EQ(half.pixels.size(), static_cast<size_t>(halfW) * halfH * 4);
    }
}

TEST(MenuIconScaleTest, HalvingAveragesBlocksPairsAndCopiesTheOddCorner)
{
    // 3 by 3: one full block, a last column, a last row and a corner.
    const IconImage image = MakeImage(3, 3,
                                      {{1, 0, 255, 10},
                                       {2, 0, 255, 20},
                                       {9, 100, 0, 30}, //
                                       {4, 3, 255, 40},
                                       {6, 0, 254, 50},
                                       {4, 201, 0, 61}, //
                                       {7, 8, 1, 70},
                                       {8, 9, 2, 80},
                                       {33, 44, 55, 66}});
    const IconImage half = HalveIconImage(image);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 2);
    EXPECT_EQ(Describe(PixelOf(half, 0, 0)), Describe({3, 0, 254, 30}));  // sums 13, 3, 1019, 120, shifted by 2
    EXPECT_EQ(Describe(PixelOf(half, 1, 0)), Describe({6, 150, 0, 45}));  // column 2, rows 0 and 1
    EXPECT_EQ(Describe(PixelOf(half, 0, 1)), Describe({7, 8, 1, 75}));    // row 2, columns 0 and 1
    EXPECT_EQ(Describe(PixelOf(half, 1, 1)), Describe({33, 44, 55, 66})); // copied
}

TEST(MenuIconScaleTest, ResamplingGivesTheTargetSize)
{
    const std::array<std::array<int, 4>, 5> cases = {
        {{48, 48, 13, 13}, {24, 24, 20, 20}, {24, 24, 13, 18}, {3, 5, 16, 16}, {48, 48, 1, 1}}};
    for (const auto& [w, h, tw, th] : cases)
    {
        const IconImage result = ResampleIconImage(Pattern(w, h), tw, th);
        EXPECT_EQ(result.width, tw);
        EXPECT_EQ(result.height, th);
        EXPECT_EQ(result.pixels.size(), static_cast<size_t>(tw) * th * 4);
    }
}

TEST(MenuIconScaleTest, ResamplingWeighsTheFourNeighbours)
{
    // Same size: every sample falls on a pixel centre.
    const IconImage pattern = Pattern(7, 5);
    EXPECT_EQ(ResampleIconImage(pattern, 7, 5), pattern);

    // 2 by 2 to 1: the mean of four, rounded half up.
    const IconImage square = MakeImage(2, 2, {{1, 10, 0, 255}, {2, 20, 0, 255}, {3, 30, 0, 255}, {4, 41, 1, 255}});
    EXPECT_EQ(Describe(PixelOf(ResampleIconImage(square, 1, 1), 0, 0)), Describe({3, 25, 0, 255}));

    // Upscaling 2 to 4 wide: the outer samples lie beyond the edge pixels and take them.
    const IconImage pair = MakeImage(2, 1, {{0, 0, 0, 0}, {200, 100, 40, 255}});
    const IconImage wide = ResampleIconImage(pair, 4, 1);
    EXPECT_EQ(Describe(PixelOf(wide, 0, 0)), Describe({0, 0, 0, 0}));
    EXPECT_EQ(Describe(PixelOf(wide, 1, 0)), Describe({50, 25, 10, 64}));   // 63.75 rounds up
    EXPECT_EQ(Describe(PixelOf(wide, 2, 0)), Describe({150, 75, 30, 191})); // 191.25 rounds down
    EXPECT_EQ(Describe(PixelOf(wide, 3, 0)), Describe({200, 100, 40, 255}));

    // 3 to 2 wide: samples at 0.25 and 1.75.
    const IconImage three = MakeImage(1, 3, {{0, 0, 0, 0}, {100, 0, 0, 0}, {200, 0, 0, 0}});
    const IconImage two = ResampleIconImage(three, 1, 2);
    EXPECT_EQ(PixelOf(two, 0, 0)[0], 25);
    EXPECT_EQ(PixelOf(two, 0, 1)[0], 175);
}

TEST(MenuIconScaleTest, MenuSizesFrom48HalveOnceThenResampleOr24ResamplesDirectly)
{
    const IconImage icon = Pattern(48, 48);
    const IconImage half = HalveIconImage(icon);
    struct Case
    {
        int width;
        int height;
        IconImage expected;
    };
    const Case cases[] = {
        {13, 13, ResampleIconImage(half, 13, 13)},
        {16, 16, ResampleIconImage(half, 16, 16)},
        {20, 20, ResampleIconImage(half, 20, 20)},
        {24, 24, ResampleIconImage(icon, 24, 24)},
        {13, 20, ResampleIconImage(half, 13, 20)},
        {10, 10, ResampleIconImage(HalveIconImage(half), 10, 10)},
        {48, 48, icon},
        {24, 10, ResampleIconImage(HalveIconImage(half), 24, 10)}, // halved for the height alone
    };
    for (const Case& test : cases)
    {
        const IconImage fitted = FitIconImage(icon, test.width, test.height);
        EXPECT_EQ(fitted.width, test.width);
        EXPECT_EQ(fitted.height, test.height);
        EXPECT_TRUE(fitted == test.expected) << test.width << "x" << test.height;
    }
    // The 24 case matters: straight resampling rounds the block mean, halving drops the fraction.
    EXPECT_FALSE(ResampleIconImage(icon, 24, 24) == half);

    // A small image is resampled up at once.
    const IconImage small = Pattern(5, 5);
    EXPECT_TRUE(FitIconImage(small, 13, 13) == ResampleIconImage(small, 13, 13));
}

// --- the old-platform alpha rule ----------------------------------------------------------------

TEST(MenuIconAlphaTest, OldPlatformsGetOpaquePixelsWhiteWhereMostlyClear)
{
    const IconImage image =
        MakeImage(5, 1, {{10, 20, 30, 255}, {10, 20, 30, 254}, {10, 20, 30, 128}, {10, 20, 30, 127}, {10, 20, 30, 0}});
    IconImage current = image;
    ApplyPlatformAlpha(current, false);
    EXPECT_EQ(current, image);

    IconImage old = image;
    ApplyPlatformAlpha(old, true);
    const Pixel expected[] = {
        {10, 20, 30, 255}, {10, 20, 30, 255}, {10, 20, 30, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(Describe(PixelOf(old, x, 0)), Describe(expected[x])) << "alpha " << int{image.pixels[x * 4 + 3]};
}

TEST(MenuIconAlphaTest, ThisPlatformIsNotOld)
{
    // Wine reports Windows 7 and the real targets are Windows 10 and 11.
    EXPECT_FALSE(IsOldPlatform());
}

// --- bitmaps ------------------------------------------------------------------------------------

TEST(MenuIconBitmapTest, IsABottomUp32BitDibWithTheFirstRowAtTheBottom)
{
    const IconImage image = MakeImage(2, 3,
                                      {{1, 2, 3, 255},
                                       {4, 5, 6, 255}, // first row
                                       {7, 8, 9, 255},
                                       {10, 11, 12, 255}, //
                                       {13, 14, 15, 255},
                                       {16, 17, 18, 255}}); // last row
    UniqueHbitmap bitmap(CreateIconBitmap(image));
    ASSERT_TRUE(bitmap);
    const BitmapShape shape = ShapeOf(bitmap.Get());
    EXPECT_EQ(shape.width, 2);
    EXPECT_EQ(shape.height, 3); // positive: bottom-up
    EXPECT_EQ(shape.bitsPerPixel, 32);
    EXPECT_EQ(shape.compression, static_cast<DWORD>(BI_RGB));
    ASSERT_NE(shape.bits, nullptr);
    EXPECT_EQ(Bytes(shape.bits, shape.bits + image.pixels.size()), image.pixels);

    // Read as it is shown, top row first: the image's last row is on top.
    const std::vector<Pixel> shown = ReadPixels(bitmap.Get(), 2, 3, true);
    EXPECT_EQ(Describe(shown[0]), Describe({13, 14, 15, 255}));
    EXPECT_EQ(Describe(shown[5]), Describe({4, 5, 6, 255}));
    const std::vector<Pixel> stored = ReadPixels(bitmap.Get(), 2, 3, false);
    EXPECT_EQ(Describe(stored[0]), Describe({1, 2, 3, 255}));
}

TEST(MenuIconBitmapTest, PremultipliesColourByAlpha)
{
    const IconImage image = MakeImage(
        5, 1, {{200, 100, 50, 128}, {255, 255, 255, 255}, {255, 255, 255, 254}, {255, 1, 254, 1}, {90, 80, 70, 0}});
    UniqueHbitmap bitmap(CreateIconBitmap(image));
    ASSERT_TRUE(bitmap);
    const std::vector<Pixel> pixels = ReadPixels(bitmap.Get(), 5, 1, false);
    const Pixel expected[] = {
        {100, 50, 25, 128}, {255, 255, 255, 255}, {254, 254, 254, 254}, {1, 0, 0, 1}, {0, 0, 0, 0}};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(Describe(pixels[x]), Describe(expected[x])) << "pixel " << x;
}

TEST(MenuIconBitmapTest, FromCompactDataAtTheAskedSize)
{
    // A 2 by 2 image of one half-transparent colour, upscaled to 3 by 5.
    const Bytes data = {2, 2, 0x04, 200, 0x04, 100, 0x04, 50, 0x04, 128};
    UniqueHbitmap bitmap(CreateMenuIconBitmap(data, 3, 5, false));
    ASSERT_TRUE(bitmap);
    const BitmapShape shape = ShapeOf(bitmap.Get());
    EXPECT_EQ(shape.width, 3);
    EXPECT_EQ(shape.height, 5);
    for (const Pixel& pixel : ReadPixels(bitmap.Get(), 3, 5, false))
        EXPECT_EQ(Describe(pixel), Describe({100, 50, 25, 128}));

    UniqueHbitmap old(CreateMenuIconBitmap(data, 3, 5, true));
    ASSERT_TRUE(old);
    for (const Pixel& pixel : ReadPixels(old.Get(), 3, 5, false))
        EXPECT_EQ(Describe(pixel), Describe({200, 100, 50, 255}));
}

TEST(MenuIconBitmapTest, NoBitmapForBadDataOrSize)
{
    const Bytes good = {1, 1, 0x84, 1, 2, 3, 4};
    EXPECT_FALSE(UniqueHbitmap(CreateMenuIconBitmap(Bytes{1, 1, 0x84, 1, 2, 3}, 13, 13, false)));
    EXPECT_FALSE(UniqueHbitmap(CreateMenuIconBitmap(Bytes{1, 1, 0x04}, 13, 13, false)));
    EXPECT_FALSE(UniqueHbitmap(CreateMenuIconBitmap(Bytes{0, 0}, 13, 13, false)));
    EXPECT_FALSE(UniqueHbitmap(CreateMenuIconBitmap(Bytes{}, 13, 13, false)));
    EXPECT_FALSE(UniqueHbitmap(CreateMenuIconBitmap(good, 0, 13, false)));
    EXPECT_FALSE(UniqueHbitmap(CreateMenuIconBitmap(good, 13, -1, false)));
    EXPECT_TRUE(UniqueHbitmap(CreateMenuIconBitmap(good, 13, 13, false)));
    EXPECT_FALSE(UniqueHbitmap(CreateIconBitmap(IconImage{})));
}

TEST(MenuIconBitmapTest, AnIconWhoseDataEndsEarlyGivesNoBitmap)
{
    const int width = ::GetSystemMetrics(SM_CXMENUCHECK);
    const int height = ::GetSystemMetrics(SM_CYMENUCHECK);
    for (int number = 1; number <= 9; ++number)
    {
        const std::span<const uint8_t> data = MenuIconData(number);
        ASSERT_GT(data.size(), 2u);
        // Without its last byte the last run is cut short, whichever kind it is.
        EXPECT_FALSE(UniqueHbitmap(CreateMenuIconBitmap(data.first(data.size() - 1), width, height, false))) << number;
    }
}

TEST(MenuIconBitmapTest, LoadMenuIconGivesTheMenuCheckMarkSize)
{
    const int width = ::GetSystemMetrics(SM_CXMENUCHECK);
    const int height = ::GetSystemMetrics(SM_CYMENUCHECK);
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    for (int number = 1; number <= 9; ++number)
    {
        SCOPED_TRACE(number);
        const MenuIconBitmap bitmap = LoadMenuIcon(number);
        ASSERT_TRUE(bitmap);
        const BitmapShape shape = ShapeOf(bitmap.Get());
        EXPECT_EQ(shape.width, width);
        EXPECT_EQ(shape.height, height);
        EXPECT_EQ(shape.bitsPerPixel, 32);
        // Premultiplied: no colour channel above its alpha.
        for (const Pixel& pixel : ReadPixels(bitmap.Get(), width, height, false))
            ASSERT_TRUE(pixel[0] <= pixel[3] && pixel[1] <= pixel[3] && pixel[2] <= pixel[3]) << Describe(pixel);
    }
    for (int number : {0, 10, -1})
        EXPECT_FALSE(LoadMenuIcon(number)) << number;
}

TEST(MenuIconBitmapTest, EachHolderHasABitmapOfItsOwnWithTheSamePixelsAsAFreshDecode)
{
    // Icons are decoded once per process and size, and a bitmap a menu let go serves the next one.
    for (const SIZE size : {SIZE{13, 13}, SIZE{20, 20}, SIZE{13, 13}, SIZE{7, 11}})
    {
        for (int number = 1; number <= 9; ++number)
        {
            SCOPED_TRACE(testing::Message() << number << " at " << size.cx << " by " << size.cy);
            const UniqueHbitmap fresh = CreateMenuIconBitmap(MenuIconData(number), size.cx, size.cy, IsOldPlatform());
            ASSERT_TRUE(fresh);
            const std::vector<Pixel> expected = ReadPixels(fresh.Get(), size.cx, size.cy, false);

            MenuIconBitmap first = LoadMenuIcon(number, size);
            const MenuIconBitmap second = LoadMenuIcon(number, size);
            ASSERT_TRUE(first && second);
            EXPECT_NE(first.Get(), second.Get()); // two menus open at once
            EXPECT_EQ(ReadPixels(first.Get(), size.cx, size.cy, false), expected);
            const HBITMAP released = first.Get();
            first.Reset();
            EXPECT_FALSE(first);
            EXPECT_EQ(ReadPixels(second.Get(), size.cx, size.cy, false), expected);
            const MenuIconBitmap third = LoadMenuIcon(number, size);
            EXPECT_EQ(third.Get(), released) << "a bitmap no menu holds is used again";
            EXPECT_EQ(ReadPixels(third.Get(), size.cx, size.cy, false), expected);
        }
    }
}

TEST(MenuIconBitmapTest, MovingHandsTheBitmapOver)
{
    MenuIconBitmap first = LoadMenuIcon(3, SIZE{13, 13});
    const HBITMAP handle = first.Get();
    MenuIconBitmap second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), handle);
    MenuIconBitmap third;
    third = std::move(second);
    EXPECT_EQ(third.Get(), handle);
    EXPECT_FALSE(LoadMenuIcon(3, SIZE{0, 13}));
}
