#pragma once

#include "winui/WindowHandles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A decoded menu icon: four bytes per pixel (blue, green, red, alpha; colour not premultiplied),
// rows one after the other in the order the compact form stores them. The bitmap takes the rows as
// they are into a bottom-up DIB, so the first row is the one shown at the bottom.
struct IconImage
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 4

    bool operator==(const IconImage&) const = default;
};

// The compact form of the compiled-in icons: byte 0 width, byte 1 height (1 to 255 each), then
// run-length data filling the blue, green, red and alpha planes one after the other. A control byte
// c gives n = c & 0x7F (0 meaning 128); with bit 7 set n literal bytes follow, otherwise one byte to
// repeat n times. Bytes past the alpha plane are dropped; data that stops early leaves zeros. No
// image for a zero size or for a run cut short by the end of the data.
[[nodiscard]] std::optional<IconImage> DecodeIconImage(std::span<const uint8_t> data);

// 2 by 2 averaging to ((w + 1) / 2, (h + 1) / 2); an odd last column or row averages its two
// pixels, an odd corner is copied.
IconImage HalveIconImage(const IconImage& image);

// Bilinear resampling to width by height, sampling at pixel centres and clamping to the edge.
IconImage ResampleIconImage(const IconImage& image, int width, int height);

// The image at width by height: straight resampling when the image is less than twice the target
// in both directions; otherwise halving while the target is below half the current size in either
// direction, then resampling unless the halving landed on the target exactly.
IconImage FitIconImage(const IconImage& image, int width, int height);

// Platforms of major version 5 and lower draw menu bitmaps without alpha: there every pixel that
// is not fully opaque becomes opaque, and white where it was mostly transparent (alpha below 128).
void ApplyPlatformAlpha(IconImage& image, bool oldPlatform) noexcept;

// True on platform major version 5 or lower, asked of ntdll so that manifests cannot hide it.
bool IsOldPlatform() noexcept;

// A 32-bit bottom-up DIB section of the image's size with its rows as they are, premultiplied by
// alpha. Null when the image is empty or the bitmap cannot be created.
[[nodiscard]] UniqueHbitmap CreateIconBitmap(const IconImage& image);

// Decodes compact data and makes the width by height menu bitmap from it; null when the data does
// not decode, or the size is not positive.
[[nodiscard]] UniqueHbitmap CreateMenuIconBitmap(std::span<const uint8_t> data, int width, int height,
                                                 bool oldPlatform);

// The compact data of a compiled-in icon 1 to 9; empty for any other number.
std::span<const uint8_t> MenuIconData(int iconNumber) noexcept;

// The platform's menu check-mark size, which menu icons take.
SIZE MenuIconSize() noexcept;

// The menu bitmap of one compiled-in icon, held by one menu item. Its pixels are decoded once per
// process and size; when the holder lets go, the bitmap is kept for a later menu (nothing draws
// into menu bitmaps), so most right-clicks create none.
class MenuIconBitmap
{
  public:
    MenuIconBitmap() = default;
    MenuIconBitmap(MenuIconBitmap&& other) noexcept;
    MenuIconBitmap& operator=(MenuIconBitmap&& other) noexcept;
    ~MenuIconBitmap() { Reset(); }

    HBITMAP Get() const noexcept { return m_bitmap.Get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(m_bitmap); }
    void Reset() noexcept;

  private:
    friend MenuIconBitmap LoadMenuIcon(int iconNumber, SIZE size);
    int m_icon = 0;
    SIZE m_size{};
    UniqueHbitmap m_bitmap;
};

// The menu bitmap of icon 1 to 9 at the platform's menu check-mark size; empty for other numbers
// or on failure. Each bitmap is held by no one else while it lives.
[[nodiscard]] MenuIconBitmap LoadMenuIcon(int iconNumber);
// The same at a size the caller has already asked for: one menu asks once for all its icons.
[[nodiscard]] MenuIconBitmap LoadMenuIcon(int iconNumber, SIZE size);
