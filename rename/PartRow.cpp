#include "rename/PartRow.h"

#include <algorithm>

namespace
{
constexpr int kGap = 4;
constexpr int kButtonPadding = 12;
constexpr int kEditPadding = 12 + 24;
constexpr int kMinimumWidth = 30;

int Total(const std::vector<PartSlot>& parts)
{
    int total = parts.empty() ? 0 : kGap * static_cast<int>(parts.size() - 1);
    for (const PartSlot& part : parts)
        total += part.width;
    return total;
}
} // namespace

void LayoutPartRow(std::vector<PartSlot>& parts, int clientWidth)
{
    for (PartSlot& part : parts)
        part.width =
            part.button ? part.textWidth + kButtonPadding : std::max(part.textWidth + kEditPadding, kMinimumWidth);
    int total = Total(parts);
    while (total > clientWidth)
    {
        int widest = 0;
        for (const PartSlot& part : parts)
            widest = std::max(widest, part.width);
        int second = kMinimumWidth;
        int count = 0;
        for (const PartSlot& part : parts)
        {
            if (part.width == widest)
                ++count;
            else
                second = std::max(second, part.width);
        }
        const int room = widest - second;
        if (room <= 0)
            break; // nothing is wider than the least a part may have
        const int wanted = total - clientWidth + 16;
        const int step = std::min(room, std::max(1, (wanted + count - 1) / count));
        for (PartSlot& part : parts)
            if (part.width == widest)
                part.width -= step;
        total = Total(parts);
    }
    int x = total <= clientWidth ? (clientWidth - total) / 2 : 0;
    for (PartSlot& part : parts)
    {
        part.x = x;
        x += part.width + kGap;
    }
}
