#include "shellext/MenuIcon.h"
#include "winsupport/PlatformVersion.h"
#include "winui/ScaledBitmap.h"
#include "winui/WindowHandles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

namespace
{
constexpr int kChannels = 4;
constexpr int kAlpha = 3;

IconImage BlankImage(int width, int height)
{
    return {width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * kChannels)};
}

const uint8_t* PixelAt(const IconImage& image, int x, int y) noexcept
{
    return image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * kChannels;
}

uint8_t* PixelAt(IconImage& image, int x, int y) noexcept
{
    return image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * kChannels;
}

// Where an output pixel centre falls in the source along one axis: the two neighbours, clamped to
// the edge, and the weight of the second.
struct Tap
{
    int first;
    int second;
    double weight;
};

Tap TapFor(int outputIndex, double scale, int sourceSize) noexcept
{
    const double position = (outputIndex + 0.5) * scale - 0.5;
    const double floor = std::floor(position);
    const int first = static_cast<int>(floor);
    return {std::clamp(first, 0, sourceSize - 1), std::clamp(first + 1, 0, sourceSize - 1), position - floor};
}
} // namespace

std::optional<IconImage> DecodeIconImage(std::span<const uint8_t> data)
{
    if (data.size() < 2 || data[0] == 0 || data[1] == 0)
        return std::nullopt;
    const int width = data[0];
    const int height = data[1];
    const size_t planeSize = static_cast<size_t>(width) * height;
    std::vector<uint8_t> planes(planeSize * kChannels);

    size_t filled = 0;
    size_t position = 2;
    while (position < data.size())
    {
        const uint8_t control = data[position++];
        const size_t count = (control & 0x7F) == 0 ? 128 : (control & 0x7F);
        const size_t kept = std::min(count, planes.size() - filled);
        if (control & 0x80)
        {
            if (data.size() - position < count)
                return std::nullopt;
            std::copy_n(data.begin() + position, kept, planes.begin() + filled);
            position += count;
        }
        else
        {
            if (position == data.size())
                return std::nullopt;
            std::fill_n(planes.begin() + filled, kept, data[position++]);
        }
        filled += kept;
    }

    IconImage image = BlankImage(width, height);
    for (size_t pixel = 0; pixel < planeSize; ++pixel)
        for (size_t channel = 0; channel < kChannels; ++channel)
            image.pixels[pixel * kChannels + channel] = planes[channel * planeSize + pixel];
    return image;
}

IconImage HalveIconImage(const IconImage& image)
{
    IconImage half = BlankImage((image.width + 1) / 2, (image.height + 1) / 2);
    for (int y = 0; y < half.height; ++y)
    {
        const int top = 2 * y;
        const bool hasBelow = top + 1 < image.height;
        for (int x = 0; x < half.width; ++x)
        {
            const int left = 2 * x;
            const bool hasRight = left + 1 < image.width;
            const uint8_t* a = PixelAt(image, left, top);
            const uint8_t* b = hasRight ? PixelAt(image, left + 1, top) : nullptr;
            const uint8_t* c = hasBelow ? PixelAt(image, left, top + 1) : nullptr;
            const uint8_t* d = hasRight && hasBelow ? PixelAt(image, left + 1, top + 1) : nullptr;
            uint8_t* out = PixelAt(half, x, y);
            for (int channel = 0; channel < kChannels; ++channel)
            {
                if (d)
                    out[channel] = static_cast<uint8_t>((a[channel] + b[channel] + c[channel] + d[channel]) >> 2);
                else if (b)
                    out[channel] = static_cast<uint8_t>((a[channel] + b[channel]) >> 1);
                else if (c)
                    out[channel] = static_cast<uint8_t>((a[channel] + c[channel]) >> 1);
                else
                    out[channel] = a[channel];
            }
        }
    }
    return half;
}

IconImage ResampleIconImage(const IconImage& image, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    IconImage result = BlankImage(width, height);
    if (image.width <= 0 || image.height <= 0)
        return result;
    const double scaleX = static_cast<double>(image.width) / width;
    const double scaleY = static_cast<double>(image.height) / height;
    for (int y = 0; y < height; ++y)
    {
        const Tap row = TapFor(y, scaleY, image.height);
        for (int x = 0; x < width; ++x)
        {
            const Tap column = TapFor(x, scaleX, image.width);
            const uint8_t* topLeft = PixelAt(image, column.first, row.first);
            const uint8_t* topRight = PixelAt(image, column.second, row.first);
            const uint8_t* bottomLeft = PixelAt(image, column.first, row.second);
            const uint8_t* bottomRight = PixelAt(image, column.second, row.second);
            uint8_t* out = PixelAt(result, x, y);
            for (int channel = 0; channel < kChannels; ++channel)
            {
                const double top = topLeft[channel] * (1 - column.weight) + topRight[channel] * column.weight;
                const double bottom = bottomLeft[channel] * (1 - column.weight) + bottomRight[channel] * column.weight;
                const double value = top * (1 - row.weight) + bottom * row.weight;
                out[channel] = static_cast<uint8_t>(std::clamp(value + 0.5, 0.0, 255.0));
            }
        }
    }
    return result;
}

IconImage FitIconImage(const IconImage& image, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    if (image.width / 2 < width && image.height / 2 < height)
        return ResampleIconImage(image, width, height);
    IconImage current = image;
    while (width < current.width / 2 || height < current.height / 2)
        current = HalveIconImage(current);
    if (current.width == width && current.height == height)
        return current;
    return ResampleIconImage(current, width, height);
}

void ApplyPlatformAlpha(IconImage& image, bool oldPlatform) noexcept
{
    if (!oldPlatform)
        return;
    for (size_t offset = 0; offset < image.pixels.size(); offset += kChannels)
    {
        uint8_t* pixel = image.pixels.data() + offset;
        if (pixel[kAlpha] == 255)
            continue;
        if (pixel[kAlpha] < 128)
            std::fill_n(pixel, 3, uint8_t{255});
        pixel[kAlpha] = 255;
    }
}

bool IsOldPlatform() noexcept
{
    const DWORD major = PlatformVersion().dwMajorVersion;
    return major != 0 && major <= 5;
}

UniqueHbitmap CreateIconBitmap(const IconImage& image)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * kChannels)
        return {};
    // Bottom-up: the image's first row is the bottom one.
    void* bits = nullptr;
    UniqueHbitmap bitmap = CreateBitmap32(image.width, image.height, RowOrder::BottomUp, bits);
    if (!bitmap)
        return {};
    // 32-bit rows need no padding, so the rows go in as one block.
    auto* out = static_cast<uint8_t*>(bits);
    std::memcpy(out, image.pixels.data(), image.pixels.size());
    for (size_t offset = 0; offset < image.pixels.size(); offset += kChannels)
    {
        uint8_t* pixel = out + offset;
        const unsigned alpha = pixel[kAlpha];
        if (alpha == 255)
            continue;
        for (int channel = 0; channel < kAlpha; ++channel)
            pixel[channel] = static_cast<uint8_t>(pixel[channel] * alpha / 255);
    }
    ::GdiFlush();
    return bitmap;
}

namespace
{
// Decoded, fitted to the size and adjusted for the platform: the pixels a menu bitmap gets.
std::optional<IconImage> MenuIconImage(std::span<const uint8_t> data, int width, int height, bool oldPlatform)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    std::optional<IconImage> image = DecodeIconImage(data);
    if (image)
    {
        *image = FitIconImage(*image, width, height);
        ApplyPlatformAlpha(*image, oldPlatform);
    }
    return image;
}
} // namespace

UniqueHbitmap CreateMenuIconBitmap(std::span<const uint8_t> data, int width, int height, bool oldPlatform)
{
    const std::optional<IconImage> image = MenuIconImage(data, width, height, oldPlatform);
    return image ? CreateIconBitmap(*image) : UniqueHbitmap();
}

SIZE MenuIconSize() noexcept
{
    return {::GetSystemMetrics(SM_CXMENUCHECK), ::GetSystemMetrics(SM_CYMENUCHECK)};
}

namespace
{
// The icons of every right-click, decoded and resampled once per process and size, and the menu
// bitmaps made of them that no menu holds at the moment. Nothing draws into a menu bitmap, so one
// made for an icon and size serves any later menu as it is: a right-click creates no bitmap once
// the first menus have gone.
class MenuIconPool
{
  public:
    using Key = std::tuple<int, LONG, LONG>;

    UniqueHbitmap Take(const Key& key, std::span<const uint8_t> data)
    {
        const std::lock_guard guard(m_lock);
        auto [entry, added] = m_entries.try_emplace(key);
        Entry& icon = entry->second;
        if (added)
            icon.pixels = MenuIconImage(data, std::get<1>(key), std::get<2>(key), IsOldPlatform());
        if (!icon.pixels)
            return {};
        if (icon.spare.empty())
            return CreateIconBitmap(*icon.pixels);
        UniqueHbitmap bitmap = std::move(icon.spare.back());
        icon.spare.pop_back();
        return bitmap;
    }

    void Give(const Key& key, UniqueHbitmap bitmap) noexcept
    {
        const std::lock_guard guard(m_lock);
        const auto entry = m_entries.find(key);
        if (entry == m_entries.end() || entry->second.spare.size() >= kMaxSpare)
            return; // deleted here
        try
        {
            entry->second.spare.push_back(std::move(bitmap));
        }
        catch (const std::bad_alloc&)
        {
        }
    }

  private:
    // Menus open at the same time on one icon and size; beyond that spare bitmaps are deleted.
    static constexpr size_t kMaxSpare = 8;
    struct Entry
    {
        std::optional<IconImage> pixels; // none: the icon does not decode
        std::vector<UniqueHbitmap> spare;
    };
    std::mutex m_lock;
    std::map<Key, Entry> m_entries;
};

MenuIconPool& Pool()
{
    static MenuIconPool pool;
    return pool;
}
} // namespace

MenuIconBitmap::MenuIconBitmap(MenuIconBitmap&& other) noexcept
    : m_icon(other.m_icon), m_size(other.m_size), m_bitmap(std::move(other.m_bitmap))
{
}

MenuIconBitmap& MenuIconBitmap::operator=(MenuIconBitmap&& other) noexcept
{
    if (this != &other)
    {
        Reset();
        m_icon = other.m_icon;
        m_size = other.m_size;
        m_bitmap = std::move(other.m_bitmap);
    }
    return *this;
}

void MenuIconBitmap::Reset() noexcept
{
    if (m_bitmap)
        Pool().Give({m_icon, m_size.cx, m_size.cy}, std::move(m_bitmap));
}

MenuIconBitmap LoadMenuIcon(int iconNumber)
{
    return LoadMenuIcon(iconNumber, MenuIconSize());
}

MenuIconBitmap LoadMenuIcon(int iconNumber, SIZE size)
{
    MenuIconBitmap icon;
    const std::span<const uint8_t> data = MenuIconData(iconNumber);
    if (data.empty() || size.cx <= 0 || size.cy <= 0)
        return icon;
    icon.m_icon = iconNumber;
    icon.m_size = size;
    icon.m_bitmap = Pool().Take({iconNumber, size.cx, size.cy}, data);
    return icon;
}
