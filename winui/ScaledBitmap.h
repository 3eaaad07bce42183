#pragma once

#include "winui/WindowHandles.h"

#include <windows.h>

// How a 32-bit bitmap resource keeps its alpha.
enum class AlphaForm
{
    Straight,      // as image lists take it
    Premultiplied, // as GdiAlphaBlend with AC_SRC_ALPHA takes it
};

// Row order of a DIB section.
enum class RowOrder
{
    TopDown,
    BottomUp,
};

// A 32-bit DIB section of width by height pixels and its pixel memory (4 bytes a pixel, rows
// without padding); null, with bits null, when it cannot be made.
UniqueHbitmap CreateBitmap32(int width, int height, RowOrder order, void*& bits);

// A 32-bit bitmap resource with alpha, drawn size by size pixels: the small design when it has that
// size already, otherwise the large drawing of the same image scaled to the size by averaging the
// pixels each target pixel covers. The result is a top-down DIB section in the resource's alpha
// form; null when neither resource loads.
UniqueHbitmap LoadScaledBitmap(UINT smallId, UINT largeId, int size, AlphaForm form);
