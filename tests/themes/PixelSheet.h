// A 32-bit bitmap to draw on in tests: filled with one colour, read back
// pixel by pixel as colour values, with the box of what changed.
#pragma once

#include "classlib/Graphics.h"

#include <windows.h>

namespace theme_testing {

class PixelSheet
{
public:
    PixelSheet(int width, int height, COLORREF fill);

    TCanvas* Canvas() { return FBitmap.Canvas(); }
    HDC DC() { return FBitmap.Canvas()->Handle(); }
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }
    // The pixel as 0x00BBGGRR.
    COLORREF At(int x, int y);
    // Pixels of the colour inside r.
    int Count(const TRect& r, COLORREF color);
    // Pixels no longer of the fill colour.
    int Changed();
    // The smallest rectangle holding every changed pixel (empty when none).
    TRect ChangedBox();
    // The smallest rectangle holding every pixel of the colour.
    TRect BoxOf(COLORREF color);
    // Same size and pixels.
    bool SameAs(PixelSheet& other);

private:
    template <class Match> TRect BoxWhere(Match match);

    TBitmap FBitmap;
    COLORREF FFill;
};

} // namespace theme_testing
