#include "SkinUtils.h"

#include "classlib/Checks.h"
#include "classlib/Graphics.h"
#include "classlib/ImageList.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

// Draws with a pen and a brush of the colours selected; nothing when both
// are no colour.
template <class Draw>
bool DrawWithPenAndBrush(HDC dc, TColor penColor, TColor brushColor, Draw draw)
{
    if (penColor == clNone && brushColor == clNone)
        return false;
    TOwnedGdiObject pen(PenForColor(penColor));
    TOwnedGdiObject brush(BrushForColor(brushColor));
    TSelectedObject penSelected(dc, pen.Handle());
    TSelectedObject brushSelected(dc, brush.Handle());
    draw();
    return true;
}

// --- Bindings and shared objects ------------------------------------------------

TSkinSystemRoutines gRoutines;
HMODULE gMsImg32 = nullptr; // owned: loaded at start, freed at stop

// A memory DC with one bitmap of its own selected.
struct TMemorySurface
{
    // Declared so that the selection goes first, then the DC, then the
    // bitmap.
    std::unique_ptr<TOwnedGdiObject> Bitmap;
    std::unique_ptr<TMemoryDC> Memory;
    std::unique_ptr<TSelectedObject> Selection;

    HDC DC() const { return Memory ? Memory->Handle() : nullptr; }
    HBITMAP BitmapHandle() const
    {
        return Bitmap ? static_cast<HBITMAP>(Bitmap->Handle()) : nullptr;
    }
    void Make(HBITMAP bitmap)
    {
        Bitmap = std::make_unique<TOwnedGdiObject>(bitmap);
        Memory = std::make_unique<TMemoryDC>(nullptr);
        Selection = std::make_unique<TSelectedObject>(Memory->Handle(), bitmap);
    }
    void Free()
    {
        Selection.reset();
        Memory.reset();
        Bitmap.reset();
    }
};

struct TSharedObjects
{
    TBitmap* Work[2] = {nullptr, nullptr}; // 32-bit, for the image effects
    TMemorySurface Nearest;                // 8 x 8, in the screen's format
    TMemorySurface Glyph;                  // one bit, 16 x 8
    std::unique_ptr<TOwnedGdiObject> SmallCaption;
};

TSharedObjects gShared;

void FreeSharedObjects()
{
    for (TBitmap*& work : gShared.Work) {
        delete work;
        work = nullptr;
    }
    gShared.Nearest.Free();
    gShared.Glyph.Free();
    gShared.SmallCaption.reset();
}

void MakeSharedObjects()
{
    for (TBitmap*& work : gShared.Work) {
        work = new TBitmap();
        work->SetPixelFormat(TPixelFormat::pf32bit);
        work->SetSize(32, 32);
    }
    gShared.Nearest.Make(CreateCompatibleBitmap(TScreenDC().Handle(), 8, 8));
    gShared.Glyph.Make(CreateBitmap(16, 8, 1, 1, nullptr));
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        gShared.SmallCaption =
            std::make_unique<TOwnedGdiObject>(CreateFontIndirectA(&metrics.lfSmCaptionFont));
}

// Both work bitmaps at least width x height.
void EnsureWorkSize(int width, int height)
{
    if (!gShared.Work[0])
        MakeSharedObjects();
    for (TBitmap* work : gShared.Work)
        if (work->Width() < width || work->Height() < height)
            work->SetSize(std::max(work->Width(), width), std::max(work->Height(), height));
}

// --- Channels ------------------------------------------------------------------

int RedOf(COLORREF c)
{
    return GetRValue(c);
}
int GreenOf(COLORREF c)
{
    return GetGValue(c);
}
int BlueOf(COLORREF c)
{
    return GetBValue(c);
}
int Clamp255(int v)
{
    return std::clamp(v, 0, 255);
}

// A 32-bit work pixel (blue in the low byte) from channels, alpha kept.
DWORD PixelWith(DWORD alphaFrom, int red, int green, int blue)
{
    return (alphaFrom & 0xFF000000u) | (static_cast<DWORD>(red) << 16) |
           (static_cast<DWORD>(green) << 8) | static_cast<DWORD>(blue);
}
int PixelRed(DWORD p)
{
    return (p >> 16) & 0xFF;
}
int PixelGreen(DWORD p)
{
    return (p >> 8) & 0xFF;
}
int PixelBlue(DWORD p)
{
    return p & 0xFF;
}

// Luminance with the weights of the image routines (0 .. 65280).
int ImageLuminance(DWORD p)
{
    return PixelRed(p) * 76 + PixelGreen(p) * 150 + PixelBlue(p) * 29;
}

// --- Image effects -------------------------------------------------------------

bool ImageIndexValid(TCustomImageList* images, int index)
{
    return images && index >= 0 && index < images->Count();
}

// Copies what the DC holds under the image into both work bitmaps, draws
// the image into the second, and hands every pixel the image changed to
// change (image pixel, background pixel); then copies the result back.
template <class Change>
void ApplyImageEffect(HDC dc, const TRect& r, TCustomImageList* images, int index, Change change)
{
    if (!ImageIndexValid(images, index))
        return;
    const int width = std::min<int>(r.Width(), images->Width());
    const int height = std::min<int>(r.Height(), images->Height());
    if (width <= 0 || height <= 0)
        return;
    EnsureWorkSize(width, height);
    TBitmap* background = gShared.Work[0];
    TBitmap* image = gShared.Work[1];
    HDC backgroundDC = background->Canvas()->Handle();
    HDC imageDC = image->Canvas()->Handle();
    BitBlt(backgroundDC, 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
    BitBlt(imageDC, 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
    images->Draw(image->Canvas(), 0, 0, index, true);
    GdiFlush();
    for (int y = 0; y < height; ++y) {
        auto* under = static_cast<const DWORD*>(background->ScanLine(y));
        auto* over = static_cast<DWORD*>(image->ScanLine(y));
        for (int x = 0; x < width; ++x)
            if ((under[x] ^ over[x]) & 0x00FFFFFFu)
                over[x] = change(over[x], under[x]);
    }
    BitBlt(dc, r.left, r.top, width, height, image->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// --- Gradient tables -------------------------------------------------------------

struct TGradientSlot
{
    int Length = 0; // 0: unused
    COLORREF First = 0, Last = 0;
    std::vector<COLORREF> Colors;
};

constexpr int kGradientSlots = 16;
TGradientSlot gGradientRing[kGradientSlots];
int gNextGradientSlot = 0;

int GradientChannel(int first, int last, int i, int length)
{
    if (length == 1)
        return first + static_cast<int>(std::nearbyint((last - first) / 2.0));
    return first +
           static_cast<int>(std::nearbyint(static_cast<double>(last - first) * i / (length - 1)));
}

void ClearGradientTables()
{
    for (TGradientSlot& slot : gGradientRing)
        slot = TGradientSlot();
    gNextGradientSlot = 0;
}

// Fills r with a plain RGB colour (no brush made).
void FillSolid(HDC dc, const RECT& r, COLORREF c)
{
    COLORREF previous = SetBkColor(dc, c);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

} // namespace

// --- Start and refresh -----------------------------------------------------------

TSkinSystemRoutines& SkinSystemRoutines()
{
    return gRoutines;
}

void StartSkinUtils()
{
    BindUpdateLayeredWindow();
    gRoutines.UpdateLayeredWindow = BoundUpdateLayeredWindow();
    if (!gMsImg32) {
        UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        gMsImg32 = LoadLibraryA("msimg32.dll");
        SetErrorMode(previousMode);
    }
    gRoutines.AlphaBlend = nullptr;
    gRoutines.GradientFill = nullptr;
    if (gMsImg32) {
        gRoutines.AlphaBlend = reinterpret_cast<TAlphaBlendProc>(
            reinterpret_cast<void*>(GetProcAddress(gMsImg32, "AlphaBlend")));
        if (IsNTPlatform())
            gRoutines.GradientFill = reinterpret_cast<TGradientFillProc>(
                reinterpret_cast<void*>(GetProcAddress(gMsImg32, "GradientFill")));
    }
    RefreshSkinUtilsObjects();
}

void StopSkinUtils()
{
    FreeSharedObjects();
    gRoutines = TSkinSystemRoutines();
    if (gMsImg32)
        FreeLibrary(gMsImg32);
    gMsImg32 = nullptr;
    ClearGradientTables();
}

void RefreshSkinUtilsObjects()
{
    FreeSharedObjects();
    MakeSharedObjects();
}

HFONT SkinSmallCaptionFont()
{
    return gShared.SmallCaption ? static_cast<HFONT>(gShared.SmallCaption->Handle()) : nullptr;
}

// --- Colour arithmetic -------------------------------------------------------------

TColor WeightedColorMix(TColor c1, TColor c2, int w)
{
    if (!Verified(w >= 0 && w <= 255, "colours are mixed with a weight of 0 .. 255"))
        w = Clamp255(w);
    const DWORD a = ColorToRGB(c1), b = ColorToRGB(c2);
    const DWORD wa = static_cast<DWORD>(w), wb = static_cast<DWORD>(255 - w);
    // Red and blue share one multiplication: 255 x 255 never reaches the
    // other channel's half.
    const DWORD redBlue = (((a & 0xFF00FFu) * wa + (b & 0xFF00FFu) * wb) >> 8) & 0xFF00FFu;
    const DWORD green = (((a & 0x00FF00u) * wa + (b & 0x00FF00u) * wb) >> 8) & 0x00FF00u;
    return static_cast<TColor>(redBlue | green);
}

TColor WeightedColorMixNearest(TColor c1, TColor c2, int w)
{
    const TColor mixed = WeightedColorMix(c1, c2, w);
    if (!gShared.Nearest.DC())
        return mixed;
    const COLORREF nearest = GetNearestColor(gShared.Nearest.DC(), static_cast<COLORREF>(mixed));
    return nearest == CLR_INVALID ? mixed : static_cast<TColor>(nearest & 0xFFFFFF);
}

TColor AdjustColor(TColor c, int amount)
{
    const COLORREF rgb = ColorToRGB(c);
    return static_cast<TColor>(RGB(Clamp255(RedOf(rgb) + amount), Clamp255(GreenOf(rgb) + amount),
                                   Clamp255(BlueOf(rgb) + amount)));
}

TColor MixTwoColors(TColor c1, TColor c2, int amount)
{
    const int scale = amount < 100 ? 100 : 1000;
    const COLORREF a = ColorToRGB(c1), b = ColorToRGB(c2);
    auto channel = [&](int ca, int cb) {
        return Clamp255((cb * (scale - amount) + ca * amount + scale / 2) / scale);
    };
    return static_cast<TColor>(RGB(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)),
                                   channel(BlueOf(a), BlueOf(b))));
}

bool ColorIsDark(TColor c, int threshold)
{
    const COLORREF rgb = ColorToRGB(c);
    return RedOf(rgb) * 76 + GreenOf(rgb) * 150 + BlueOf(rgb) * 30 < threshold * 256;
}

DWORD PixelOfColor(TColor c)
{
    const COLORREF rgb = ColorToRGB(c);
    return PixelWith(0xFF000000u, RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// --- GDI wrappers ------------------------------------------------------------------

HPEN PenForColor(TColor c)
{
    if (c == clNone)
        return static_cast<HPEN>(GetStockObject(NULL_PEN));
    return CreatePen(PS_SOLID, 1, ColorToRGB(c));
}

HBRUSH BrushForColor(TColor c)
{
    if (c == clNone)
        return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    return CreateSolidBrush(ColorToRGB(c));
}

bool FillRectColor(HDC dc, const TRect& r, TColor c)
{
    if (c == clNone)
        return false;
    if (c < 0) {
        // The system's own brush: never deleted.
        FillRect(dc, &r, GetSysColorBrush(c & 0xFF));
        return true;
    }
    FillSolid(dc, r, ColorToRGB(c));
    return true;
}

bool FrameRectColor(HDC dc, TRect& r, TColor c, bool adjust)
{
    bool drawn = false;
    if (c != clNone) {
        TOwnedGdiObject brush(BrushForColor(c));
        FrameRect(dc, &r, static_cast<HBRUSH>(brush.Handle()));
        drawn = true;
    }
    if (adjust)
        InflateRect(&r, -1, -1);
    return drawn;
}

bool LineInColor(HDC dc, int x1, int y1, int x2, int y2, TColor c)
{
    const POINT points[2] = {{x1, y1}, {x2, y2}};
    return PolylineInColor(dc, points, 2, c);
}

bool PolylineInColor(HDC dc, const POINT* points, int count, TColor c)
{
    if (c == clNone)
        return false;
    TOwnedGdiObject pen(PenForColor(c));
    TSelectedObject selected(dc, pen.Handle());
    Polyline(dc, points, count);
    return true;
}

bool PolygonColor(HDC dc, const POINT* points, int count, TColor penColor, TColor brushColor)
{
    return DrawWithPenAndBrush(dc, penColor, brushColor, [&] {
        SetPolyFillMode(dc, WINDING);
        Polygon(dc, points, count);
    });
}

bool RoundRectColor(HDC dc, const TRect& r, TColor penColor, TColor brushColor, int ellipseWidth,
                    int ellipseHeight)
{
    return DrawWithPenAndBrush(dc, penColor, brushColor, [&] {
        RoundRect(dc, r.left, r.top, r.right, r.bottom, ellipseWidth, ellipseHeight);
    });
}

bool FillRectDithered(HDC dc, const TRect& r, TColor c1, TColor c2)
{
    if (c1 == clNone && c2 == clNone)
        return false;
    TOwnedGdiObject brush(CreateDitheredBrush());
    TSavedDCState saved(dc);
    SetTextColor(dc, ColorToRGB(c1));
    SetBkColor(dc, ColorToRGB(c2));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Handle()));
    return true;
}

TRect InsetRect(const TRect& r, int by)
{
    TRect inner = r;
    InflateRect(&inner, -by, -by);
    return inner;
}

void DrawEdgeAt(HDC dc, const TRect& r, UINT edge, UINT flags)
{
    TRect copy = r;
    DrawEdge(dc, &copy, edge, flags);
}

void Frame3DColors(HDC dc, TRect& r, TColor topLeft, bool adjust, TColor bottomRight)
{
    --r.right;
    --r.bottom;
    const POINT upper[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    PolylineInColor(dc, upper, 3, topLeft);
    const POINT lower[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    PolylineInColor(dc, lower, 3, bottomRight);
    if (adjust) {
        ++r.left;
        ++r.top;
    } else {
        ++r.right;
        ++r.bottom;
    }
}

void PaintBitPattern(HDC dc, const TRect& r, int width, int height, TColor color,
                     const TBitPattern& pattern)
{
    if (color == clNone || width <= 0 || height <= 0)
        return;
    if (!gShared.Glyph.DC())
        MakeSharedObjects();
    SetBitmapBits(gShared.Glyph.BitmapHandle(), sizeof(TBitPattern), pattern);
    const int x = (r.left + r.right + 1 - width) / 2;
    const int y = (r.top + r.bottom + 1 - height) / 2;
    TOwnedGdiObject brush(BrushForColor(color));
    TSavedDCState saved(dc);
    TSelectedObject selected(dc, brush.Handle());
    // The raster operation paints the set bits in the brush's colour only
    // while the text is black and the background white.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, std::min(width, 16), std::min(height, 8), gShared.Glyph.DC(), 0, 0,
           0x00E20746);
}

// --- Image effects -------------------------------------------------------------------

void PaintImageContrast(HDC dc, const TRect& r, TCustomImageList* images, int index, bool dark)
{
    if (!dark) {
        if (ImageIndexValid(images, index))
            ImageList_Draw(images->Handle(), index, dc, r.left, r.top, ILD_NORMAL);
        return;
    }
    ApplyImageEffect(dc, r, images, index, [](DWORD image, DWORD) {
        const int luminance = ImageLuminance(image);
        int red = PixelRed(image), green = PixelGreen(image), blue = PixelBlue(image);
        if (luminance < 25600)
            red = green = blue = 255;
        else if (luminance >= 64769)
            red = green = blue = 0;
        return PixelWith(image, std::min(red + 32, 255), std::min(green + 32, 255),
                         std::min(blue + 32, 255));
    });
}

void DrawImageBlended(HDC dc, const TRect& r, TCustomImageList* images, int index, int alpha,
                      TColor color)
{
    alpha = Clamp255(alpha);
    const COLORREF rgb = ColorToRGB(color);
    ApplyImageEffect(dc, r, images, index, [alpha, rgb](DWORD image, DWORD) {
        auto blend = [alpha](int pixel, int toward) {
            return (pixel * alpha + toward * (255 - alpha)) / 256;
        };
        return PixelWith(image, blend(PixelRed(image), RedOf(rgb)),
                         blend(PixelGreen(image), GreenOf(rgb)),
                         blend(PixelBlue(image), BlueOf(rgb)));
    });
}

void PaintImageGray(HDC dc, const TRect& r, TCustomImageList* images, int index, int kind)
{
    static constexpr int kDivisor[3] = {3, 8, 20};
    static constexpr int kBase[3] = {170, 224, 243};
    if (!Verified(kind >= 0 && kind <= 2, "images are grayed in kind 0, 1 or 2"))
        return;
    const int divisor = kDivisor[kind], base = kBase[kind];
    ApplyImageEffect(dc, r, images, index, [divisor, base](DWORD image, DWORD under) {
        const int factor = ImageLuminance(image) / 256 / divisor + base;
        return PixelWith(under, PixelRed(under) * factor / 256, PixelGreen(under) * factor / 256,
                         PixelBlue(under) * factor / 256);
    });
}

// --- Gradients ---------------------------------------------------------------------

const std::vector<COLORREF>& GradientTable(int length, TColor c1, TColor c2)
{
    length = std::max(length, 1);
    const COLORREF first = ColorToRGB(c1), last = ColorToRGB(c2);
    for (TGradientSlot& slot : gGradientRing)
        if (slot.Length == length && slot.First == first && slot.Last == last)
            return slot.Colors;
    TGradientSlot& slot = gGradientRing[gNextGradientSlot];
    gNextGradientSlot = (gNextGradientSlot + 1) % kGradientSlots;
    slot.Length = length;
    slot.First = first;
    slot.Last = last;
    slot.Colors.resize(length);
    for (int i = 0; i < length; ++i)
        slot.Colors[i] = RGB(GradientChannel(RedOf(first), RedOf(last), i, length),
                             GradientChannel(GreenOf(first), GreenOf(last), i, length),
                             GradientChannel(BlueOf(first), BlueOf(last), i, length));
    return slot.Colors;
}

void FillRectGradient(HDC dc, const TRect& r, TColor c1, TColor c2, bool vertical)
{
    if (r.IsEmpty() || !RectVisible(dc, &r))
        return;
    const COLORREF first = ColorToRGB(c1), last = ColorToRGB(c2);
    if (gRoutines.GradientFill) {
        auto vertex = [](LONG x, LONG y, COLORREF c) {
            TRIVERTEX v = {};
            v.x = x;
            v.y = y;
            v.Red = static_cast<COLOR16>(RedOf(c) << 8);
            v.Green = static_cast<COLOR16>(GreenOf(c) << 8);
            v.Blue = static_cast<COLOR16>(BlueOf(c) << 8);
            return v;
        };
        TRIVERTEX vertices[2] = {vertex(r.left, r.top, first), vertex(r.right, r.bottom, last)};
        GRADIENT_RECT band = {0, 1};
        gRoutines.GradientFill(dc, vertices, 2, &band, 1,
                               vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
        return;
    }
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR)
        clip = r;
    RECT visible;
    if (!IntersectRect(&visible, &r, &clip))
        return;
    const std::vector<COLORREF>& table = GradientTable(vertical ? r.Height() : r.Width(), c1, c2);
    if (vertical) {
        for (LONG y = visible.top; y < visible.bottom; ++y)
            FillSolid(dc, RECT{visible.left, y, visible.right, y + 1}, table[y - r.top]);
    } else {
        for (LONG x = visible.left; x < visible.right; ++x)
            FillSolid(dc, RECT{x, visible.top, x + 1, visible.bottom}, table[x - r.left]);
    }
}
