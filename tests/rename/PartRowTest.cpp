#include "rename/PartRow.h"

#include <gtest/gtest.h>

namespace
{
PartSlot Edit(int textWidth)
{
    return {false, textWidth, 0, 0};
}
PartSlot Button(int textWidth)
{
    return {true, textWidth, 0, 0};
}
} // namespace

// Widths from the text (buttons + 12, edits + 36 and at least 30), gaps of 4, the row centred
// when it fits; the widest parts shrink together when it does not, never below 30.
TEST(PartRowTest, MeasuresShrinksAndCentres)
{
    struct Case
    {
        const char* name;
        std::vector<PartSlot> parts;
        int client;
        std::vector<int> widths;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {"fits, centred", {Edit(40), Button(7), Edit(0)}, 400, {76, 19, 36}, {130, 210, 233}},
        {"the two widest shrink alike", {Edit(300), Edit(300), Button(7)}, 300, {128, 128, 19}, {8, 140, 272}},
        {"the widest first, then with the next", {Edit(400), Edit(100), Button(7)}, 200, {78, 78, 19}, {8, 90, 172}},
        {"too many to fit: all at 30, from the left",
         std::vector<PartSlot>(20, Edit(0)),
         100,
         std::vector<int>(20, 30),
         {}},
        {"nothing", {}, 300, {}, {}},
    };
    for (const Case& c : cases)
    {
        std::vector<PartSlot> parts = c.parts;
        LayoutPartRow(parts, c.client);
        std::vector<int> widths;
        std::vector<int> xs;
        for (const PartSlot& part : parts)
        {
            widths.push_back(part.width);
            xs.push_back(part.x);
        }
        EXPECT_EQ(widths, c.widths) << c.name;
        if (!c.xs.empty())
        {
            EXPECT_EQ(xs, c.xs) << c.name;
        }
        else if (!parts.empty())
        {
            EXPECT_EQ(xs.front(), 0) << c.name;
        }
    }
}
