// What a control paints, read back pixel by pixel, and colours in the same
// 0xRRGGBB form.
#pragma once

#include "classlib/Graphics.h"
#include "classlib/WinControl.h"

namespace testing_support {

// A colour (system colours resolved) as 0xRRGGBB.
DWORD PixelRgb(TColor color);
// A system colour (COLOR_...) as 0xRRGGBB.
DWORD SysPixelRgb(int index);

// The control and its children painted on a 32-bit bitmap.
class PaintedPixels
{
public:
    explicit PaintedPixels(TWinControl* control);
    // 0xRRGGBB at (x, y).
    DWORD operator()(int x, int y);
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }

private:
    TBitmap FBitmap;
};

} // namespace testing_support
