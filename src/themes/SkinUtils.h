// The small drawing vocabulary every painter of the theme layer shares.
//
//   colour arithmetic  mixing, lightening, darkness, pixels; every routine
//                      takes system colours (resolved through GetSysColor)
//   GDI wrappers       fills, frames, lines and shapes given colours instead
//                      of pens and brushes; the "no colour" value (clNone)
//                      paints nothing and the routine answers false
//   glyphs and images  one-bit patterns in one colour; an image list's image
//                      drawn with high contrast, blended or grayed
//   gradients          two-colour bands, by the system's GradientFill or in
//                      lines of cached colour tables
//   drop shadows       strip windows (TShadow) and the set of strips around
//                      a popup (TShadows) (SkinUtils_shadows.cpp)
//
// The optional system routines are bound at start (StartSkinUtils); the
// shared work objects (work bitmaps, the nearest-colour canvas, the small
// caption font) are made there and again on every system change the theme
// manager sees (RefreshSkinUtilsObjects).
#pragma once

#include "classlib/Control.h"
#include "classlib/Types.h"
#include "classlib/WinControl.h"
#include "toolbar/BarCommon.h"

#include <vector>
#include <windows.h>

class TCustomImageList;

void StartSkinUtils();
void StopSkinUtils();
// Makes the shared work objects again (the screen or the system's fonts
// may have changed).
void RefreshSkinUtilsObjects();

// --- System routines bound at run time -------------------------------------

using TAlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                      BLENDFUNCTION);
using TGradientFillProc = BOOL(WINAPI*)(HDC, TRIVERTEX*, ULONG, void*, ULONG, ULONG);

struct TSkinSystemRoutines
{
    TUpdateLayeredWindow UpdateLayeredWindow = nullptr;
    TAlphaBlendProc AlphaBlend = nullptr;
    TGradientFillProc GradientFill = nullptr;
};

// The bound routines; each is nullptr when the system lacks it. Tests clear
// one to take the simpler path; StartSkinUtils binds them again.
TSkinSystemRoutines& SkinSystemRoutines();

// --- Colour arithmetic -------------------------------------------------------

// Each channel (c1 x w + c2 x (255 - w)) / 256, w in 0 .. 255.
TColor WeightedColorMix(TColor c1, TColor c2, int w);
// The mix, as the nearest colour the screen shows.
TColor WeightedColorMixNearest(TColor c1, TColor c2, int w);
// Adds amount to red, green and blue, each kept in 0 .. 255.
TColor AdjustColor(TColor c, int amount);
// Below 100 amount is a percentage, from 100 on per mille: each channel is
// (c2 x (scale - amount) + c1 x amount + scale / 2) / scale.
TColor MixTwoColors(TColor c1, TColor c2, int amount);
// red x 76 + green x 150 + blue x 30 below threshold x 256.
bool ColorIsDark(TColor c, int threshold);
// The 32-bit pixel of a colour (blue in the low byte), alpha 255.
DWORD PixelOfColor(TColor c);

// --- GDI wrappers --------------------------------------------------------------

// Owned by the caller (a stock null pen or hollow brush for no colour).
HPEN PenForColor(TColor c);
HBRUSH BrushForColor(TColor c);

bool FillRectColor(HDC dc, const TRect& r, TColor c);
// Frames r; with adjust r then shrinks by one on each side, drawn or not.
bool FrameRectColor(HDC dc, TRect& r, TColor c, bool adjust);
// The line from (x1, y1) to (x2, y2), the end point excluded.
bool LineInColor(HDC dc, int x1, int y1, int x2, int y2, TColor c);
bool PolylineInColor(HDC dc, const POINT* points, int count, TColor c);
// Skipped only when both colours are no colour.
bool PolygonColor(HDC dc, const POINT* points, int count, TColor penColor, TColor brushColor);
bool RoundRectColor(HDC dc, const TRect& r, TColor penColor, TColor brushColor, int ellipseWidth,
                    int ellipseHeight);
// A checkerboard of the two colours, one pixel a square.
bool FillRectDithered(HDC dc, const TRect& r, TColor c1, TColor c2);
// r moved in by the given pixels on each side.
TRect InsetRect(const TRect& r, int by);
// The system's edge drawn round r (which stays as it is).
void DrawEdgeAt(HDC dc, const TRect& r, UINT edge, UINT flags);
// A one-pixel frame: left and top in topLeft, right and bottom in
// bottomRight. With adjust r then shrinks by one on each side; without, r
// is left as it was.
void Frame3DColors(HDC dc, TRect& r, TColor topLeft, bool adjust, TColor bottomRight);

// A one-bit glyph of up to 16 x 8: one 16-bit row each, its first byte (the
// low byte) the left eight columns, bit 7 the leftmost.
using TBitPattern = WORD[8];
// Draws the width x height glyph in color, centred in r: at
// ((r.left + r.right + 1 - width) / 2, (r.top + r.bottom + 1 - height) / 2).
void PaintBitPattern(HDC dc, const TRect& r, int width, int height, TColor color,
                     const TBitPattern& pattern);

// --- Image effects -------------------------------------------------------------
// Each draws image index of the list at r's top left, over what the DC
// holds, changing only the pixels the image covers.

// Without dark the image as it is. With dark a high-contrast look: pixels
// of luminance (red 76, green 150, blue 29) below 25600 turn white, from
// 64769 on black, then every channel gains 32 (at most 255).
void PaintImageContrast(HDC dc, const TRect& r, TCustomImageList* images, int index, bool dark);
// Each image pixel (pixel x alpha + color x (255 - alpha)) / 256.
void DrawImageBlended(HDC dc, const TRect& r, TCustomImageList* images, int index, int alpha,
                      TColor color);
// The background under each image pixel darkened by the pixel's luminance:
// kind 0, 1 or 2 from the darkest to the lightest.
void PaintImageGray(HDC dc, const TRect& r, TCustomImageList* images, int index, int kind);

// --- Gradients -----------------------------------------------------------------

// From c1 to c2, left to right (top to bottom when vertical); nothing when
// r is not visible in the DC.
void FillRectGradient(HDC dc, const TRect& r, TColor c1, TColor c2, bool vertical);
// The colours of a band of length pixels (plain RGB values), from the ring
// of cached tables: entry i is c1 + (c2 - c1) x i / (length - 1) per
// channel, rounded to the nearest (half to even); length 1 holds the
// average. The reference stays valid until the next call.
const std::vector<COLORREF>& GradientTable(int length, TColor c1, TColor c2);

// --- Shared objects ------------------------------------------------------------

// The small-caption font of the system's non-client metrics (owned by the
// unit; made again on every refresh).
HFONT SkinSmallCaptionFont();

// --- Drop shadows ----------------------------------------------------------------

// Which ends of a strip fade out.
enum TShadowEdge : unsigned
{
    seStart = 1, // the top end of a vertical strip, the left end of a horizontal one
    seEnd = 2,
};

enum class TShadowStyle
{
    None,    // painted in its colour
    Layered, // a layered window with per-pixel alpha
    Blended, // blended onto the screen's pixels in its own paint
};

// The alpha of every pixel of a strip, row by row: a horizontal strip fades
// from 255 at the top to 0 at the bottom, each faded end radially; a
// vertical one is the same turned by a quarter (fading left to right).
std::vector<BYTE> ShadowStripAlpha(bool horizontal, int width, int height, unsigned edges);

// One strip of a drop shadow: a top-level tool window that the mouse passes
// through.
class TShadow : public TCustomControl
{
public:
    // r in screen coordinates; a low-colour screen or missing system
    // routines choose the simpler styles.
    TShadow(const TRect& r, unsigned edges, bool loColor, BYTE alpha);
    ~TShadow() override;

    TShadowStyle Style() const { return FStyle; }
    BYTE StripAlpha() const { return FStripAlpha; }
    unsigned Edges() const { return FEdges; }
    bool SaveBits() const { return FSaveBits; }
    // Recreates the window when it exists.
    void SetSaveBits(bool value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    // Whether the strip runs across (THorzShadow) or down (TVertShadow).
    virtual bool Horizontal() const = 0;

private:
    // The strip's pixels (black, with the strip's alpha), premultiplied.
    void FillBitmap();
    void ShowLayered();
    void BlendOnto(HDC dc);

    BYTE FStripAlpha;
    unsigned FEdges; // TShadowEdge bits
    TShadowStyle FStyle;
    bool FSaveBits = false;
    TBitmap* FBitmap = nullptr; // owned: the 32-bit picture of the strip
};

class THorzShadow : public TShadow
{
public:
    using TShadow::TShadow;

protected:
    bool Horizontal() const override { return true; }
};

class TVertShadow : public TShadow
{
public:
    using TShadow::TShadow;

protected:
    bool Horizontal() const override { return false; }
};

// The strips of a shadow, before windows are made: where each lies and
// which of its ends fade.
struct TShadowStripPlan
{
    TRect Bounds;
    bool Horizontal;
    unsigned Edges;
};

// The strips of a shadow of the given size to the right of and below r1
// and r2 (either may be empty): for one rectangle a vertical strip with a
// faded top and a horizontal strip with both ends faded; for two, the
// strips of their common outline, leaving out what falls on the other
// rectangle (at most six).
std::vector<TShadowStripPlan> PlanShadowStrips(const TRect& r1, const TRect& r2, int size);

// The shadow of a popup (and of the item that opened it).
class TShadows : public TObject
{
public:
    // size is halved on low-colour screens and when the system can neither
    // layer nor blend windows.
    TShadows(const TRect& r1, const TRect& r2, int size, BYTE alpha, bool loColor);
    ~TShadows() override;

    // Shows every strip without activating it, right behind after.
    void Show(HWND after);
    void ApplySaveBits(bool value);

    int Size() const { return FSize; }
    int Count() const { return static_cast<int>(FStrips.size()); }
    TShadow* Strip(int index) const { return FStrips.at(index); }

private:
    std::vector<TShadow*> FStrips; // owned
    int FSize;                     // pixels
};
