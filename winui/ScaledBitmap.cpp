#include "winui/ScaledBitmap.h"

#include "winsupport/Resources.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<float> values; // premultiplied BGRA, rows top to bottom
};

UniqueHbitmap LoadBitmapResource(UINT id)
{
    return UniqueHbitmap(static_cast<HBITMAP>(
        ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

bool ReadPixels(HBITMAP bitmap, AlphaForm form, Pixels& out)
{
    DIBSECTION section{};
    if (::GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || section.dsBm.bmBitsPixel != 32)
        return false;
    out.width = section.dsBm.bmWidth;
    out.height = std::abs(section.dsBm.bmHeight);
    const bool bottomUp = section.dsBmih.biHeight > 0;
    const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    out.values.resize(static_cast<size_t>(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y)
    {
        const BYTE* row = bits + static_cast<size_t>(bottomUp ? out.height - 1 - y : y) * section.dsBm.bmWidthBytes;
        for (int x = 0; x < out.width; ++x)
        {
            const BYTE* pixel = row + 4 * x;
            const float alpha = pixel[3] / 255.0f;
            const float factor = form == AlphaForm::Straight ? alpha : 1.0f;
            float* value = &out.values[(static_cast<size_t>(y) * out.width + x) * 4];
            for (int c = 0; c < 3; ++c)
                value[c] = pixel[c] * factor;
            value[3] = pixel[3];
        }
    }
    return true;
}

// Each target pixel along one axis is the average of the source pixels it covers, the partly
// covered ones by their share; a larger target repeats the nearest source pixels alike.
Pixels Resample(const Pixels& source, int width, int height)
{
    Pixels target{width, height, std::vector<float>(static_cast<size_t>(width) * height * 4)};
    const float scaleX = static_cast<float>(source.width) / width;
    const float scaleY = static_cast<float>(source.height) / height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            float sum[4]{};
            float area = 0;
            const float top = y * scaleY;
            const float bottom = (y + 1) * scaleY;
            const float left = x * scaleX;
            const float right = (x + 1) * scaleX;
            for (int sy = static_cast<int>(top); sy < source.height && sy < bottom; ++sy)
            {
                const float cy = std::min<float>(sy + 1, bottom) - std::max<float>(sy, top);
                for (int sx = static_cast<int>(left); sx < source.width && sx < right; ++sx)
                {
                    const float weight = cy * (std::min<float>(sx + 1, right) - std::max<float>(sx, left));
                    const float* value = &source.values[(static_cast<size_t>(sy) * source.width + sx) * 4];
                    for (int c = 0; c < 4; ++c)
                        sum[c] += value[c] * weight;
                    area += weight;
                }
            }
            float* out = &target.values[(static_cast<size_t>(y) * width + x) * 4];
            for (int c = 0; c < 4; ++c)
                out[c] = area > 0 ? sum[c] / area : 0;
        }
    return target;
}

UniqueHbitmap ToBitmap(const Pixels& pixels, AlphaForm form)
{
    void* bits = nullptr;
    UniqueHbitmap bitmap = CreateBitmap32(pixels.width, pixels.height, RowOrder::TopDown, bits);
    if (!bitmap)
        return {};
    auto* out = static_cast<BYTE*>(bits);
    for (size_t i = 0; i < pixels.values.size(); i += 4)
    {
        const float alpha = pixels.values[i + 3];
        const float factor = form == AlphaForm::Straight && alpha > 0 ? 255.0f / alpha : 1.0f;
        for (size_t c = 0; c < 3; ++c)
            out[i + c] = static_cast<BYTE>(std::clamp(std::lround(pixels.values[i + c] * factor), 0L, 255L));
        out[i + 3] = static_cast<BYTE>(std::clamp(std::lround(alpha), 0L, 255L));
    }
    ::GdiFlush();
    return bitmap;
}
} // namespace

UniqueHbitmap CreateBitmap32(int width, int height, RowOrder order, void*& bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = order == RowOrder::TopDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    UniqueHbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
    {
        bits = nullptr;
        return {};
    }
    return bitmap;
}

UniqueHbitmap LoadScaledBitmap(UINT smallId, UINT largeId, int size, AlphaForm form)
{
    UniqueHbitmap small = LoadBitmapResource(smallId);
    BITMAP info{};
    if (small && ::GetObjectW(small.Get(), sizeof(info), &info) && info.bmWidth == size &&
        std::abs(info.bmHeight) == size)
        return small;
    UniqueHbitmap large = LoadBitmapResource(largeId);
    Pixels source;
    if (!ReadPixels(large ? large.Get() : small.Get(), form, source) || size <= 0)
        return {};
    return ToBitmap(Resample(source, size, size), form);
}
