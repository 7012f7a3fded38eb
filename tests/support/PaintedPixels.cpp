#include "PaintedPixels.h"

namespace testing_support {

DWORD PixelRgb(TColor color)
{
    COLORREF c = ColorToRGB(color);
    return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
}

DWORD SysPixelRgb(int index)
{
    return PixelRgb(SystemColor(index));
}

PaintedPixels::PaintedPixels(TWinControl* control)
{
    control->HandleNeeded();
    FBitmap.SetPixelFormat(TPixelFormat::pf32bit);
    FBitmap.SetSize(control->Width(), control->Height());
    control->PaintTo(FBitmap.Canvas()->Handle(), 0, 0);
}

DWORD PaintedPixels::operator()(int x, int y)
{
    return static_cast<DWORD*>(FBitmap.ScanLine(y))[x] & 0xFFFFFF;
}

} // namespace testing_support
