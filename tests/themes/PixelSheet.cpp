#include "PixelSheet.h"

#include <algorithm>

namespace theme_testing {

PixelSheet::PixelSheet(int width, int height, COLORREF fill) : FFill(fill)
{
    FBitmap.SetPixelFormat(TPixelFormat::pf32bit);
    FBitmap.SetSize(width, height);
    HDC dc = FBitmap.Canvas()->Handle();
    const RECT all = {0, 0, width, height};
    const TOwnedGdiObject brush(CreateSolidBrush(fill));
    FillRect(dc, &all, static_cast<HBRUSH>(brush.Handle()));
}

COLORREF PixelSheet::At(int x, int y)
{
    GdiFlush();
    const DWORD pixel = static_cast<const DWORD*>(FBitmap.ScanLine(y))[x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int PixelSheet::Count(const TRect& r, COLORREF color)
{
    int count = 0;
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, Height()); ++y)
        for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, Width()); ++x)
            count += At(x, y) == color;
    return count;
}

int PixelSheet::Changed()
{
    return Width() * Height() - Count(TRect(0, 0, Width(), Height()), FFill);
}

template <class Match> TRect PixelSheet::BoxWhere(Match match)
{
    TRect box(Width(), Height(), 0, 0);
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            if (match(At(x, y))) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.IsEmpty() ? TRect() : box;
}

TRect PixelSheet::ChangedBox()
{
    return BoxWhere([this](COLORREF c) { return c != FFill; });
}

TRect PixelSheet::BoxOf(COLORREF color)
{
    return BoxWhere([color](COLORREF c) { return c == color; });
}

bool PixelSheet::SameAs(PixelSheet& other)
{
    if (Width() != other.Width() || Height() != other.Height())
        return false;
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            if (At(x, y) != other.At(x, y))
                return false;
    return true;
}

} // namespace theme_testing
