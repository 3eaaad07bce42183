#pragma once

#include <string>
#include <vector>

// One control of the Multi Rename dialog's part row, measured and placed in 96-DPI units.
struct PartSlot
{
    bool button = false; // a number or wild part; otherwise an edit box of a common part
    int textWidth = 0;
    int x = 0;
    int width = 0;
};

// Gives every part its width and x position for a row of clientWidth: the widest parts shrink
// first (never below 30) until the row fits; a row that fits is centred.
void LayoutPartRow(std::vector<PartSlot>& parts, int clientWidth);

inline constexpr int kPartRowTop = 66;
inline constexpr int kPartRowHeight = 22;
// The least space between the row and the list below it.
inline constexpr int kPartRowGap = 4;
