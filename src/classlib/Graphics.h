// Drawing objects over GDI.
//
//   TGraphicsObject  base of font, pen and brush: change notification
//   TFont            a logical font (name, size or height, colour, style)
//   TPen, TBrush     a pen and a brush with colour and style
//   TCanvas          a device context with its font, pen and brush selected
//   TBitmap          a DIB section (24 or 32 bits) with a canvas and row access
//
// Scopes: each holds a device context, a selection or a GDI object and gives
// it back when the scope ends, however it is left.
//   TScreenDC          the DC of the screen or of a window (GetDC, GetDCEx)
//   TMemoryDC          a memory DC compatible with another (CreateCompatibleDC)
//   TPaintDC           the DC of a WM_PAINT (BeginPaint)
//   TSavedDCState      the DC's state saved, restored at the end (SaveDC)
//   TSelectedObject    a GDI object selected, the previous one selected back
//   TOwnedGdiObject    a GDI object deleted at the end
//   TScreenTextMeasure a font on a memory DC compatible with the screen,
//                      measuring text as the screen shows it
//
// GDI handles are made when first asked for and freed by their owner object.
// Colours are TColor values (0x00BBGGRR, or a system colour index with the
// top bit set); ColorToRGB resolves the latter.
#pragma once

#include "Exceptions.h"
#include "Object.h"

#include <windows.h>

// A resource that is not in the module.
ZANDREL_EXCEPTION(EResNotFound, Exception);
// A picture that cannot be made (a size beyond what a DIB section can hold).
ZANDREL_EXCEPTION(EInvalidGraphic, Exception);

// The RGB value of a colour: system colours through GetSysColor. clNone and
// clDefault are no colours; callers that paint nothing for them test first,
// and here they give white and the window colour.
COLORREF ColorToRGB(TColor color);

// Logical pixels per inch of the screen (vertical), read once.
int ScreenPixelsPerInch();

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of the pen, as the system's R2_ codes.
enum class TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
                      pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask,
                      pmNotMask, pmXor, pmNotXor };
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
                         bsCross, bsDiagCross };
enum class TPixelFormat { pf24bit, pf32bit };

class TGraphicsObject : public TPersistent
{
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
    // Changed, then frees replaced (a GDI object this object owned): the
    // listeners deselect it from their DCs before it goes.
    void ChangedFreeing(HGDIOBJ replaced);
};

class TFont : public TGraphicsObject
{
public:
    // The program's user-interface font: the system's message font.
    TFont();
    ~TFont() override;
    void Assign(TPersistent* Source) override;

    const AnsiString& Name() const;
    void SetName(const AnsiString& value);
    // Points; setting it sets Height (negative: character height) for the
    // screen's pixels per inch.
    int Size() const;
    void SetSize(int value);
    int Height() const;
    void SetHeight(int value);
    TColor Color() const;
    void SetColor(TColor value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    BYTE Charset() const;
    void SetCharset(BYTE value);

    HFONT Handle();               // owned by the font
    void SetHandle(HFONT value);  // takes ownership; reads the attributes back

private:
    struct Data;
    Data* FData;
};

class TPen : public TGraphicsObject
{
public:
    TPen();
    ~TPen() override;
    void Assign(TPersistent* Source) override;
    TColor Color() const;
    void SetColor(TColor value);
    int Width() const;
    void SetWidth(int value);
    TPenStyle Style() const;
    void SetStyle(TPenStyle value);
    TPenMode Mode() const;
    void SetMode(TPenMode value);
    HPEN Handle();  // owned by the pen

private:
    struct Data;
    Data* FData;
};

class TBitmap;

class TBrush : public TGraphicsObject
{
public:
    TBrush();
    ~TBrush() override;
    void Assign(TPersistent* Source) override;
    TColor Color() const;
    void SetColor(TColor value);
    TBrushStyle Style() const;
    void SetStyle(TBrushStyle value);
    // Owned by the brush (the clear brush is the stock null brush).
    HBRUSH Handle();

private:
    struct Data;
    Data* FData;
};

class TCanvas : public TPersistent
{
public:
    TCanvas();
    ~TCanvas() override;

    // The device context, with the font, pen and brush selected; a canvas
    // that owns none asks CreateHandle for one.
    HDC Handle();
    // Borrows dc (not owned); the font, pen and brush are selected into it
    // and deselected again when the handle changes.
    void SetHandle(HDC dc);
    bool HandleAllocated() const;
    // Deselects the font, pen and brush (they are selected again when next
    // needed).
    void Refresh();

    TFont* Font() const;
    TPen* Pen() const;
    TBrush* Brush() const;

    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y), excluding the end point.
    void LineTo(int x, int y);
    TPoint PenPos() const;
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const POINT* points, int count);
    void Polyline(const POINT* points, int count);
    void DrawFocusRect(const TRect& r);
    // Text in the font's colour, on the brush colour unless the brush is
    // clear. Virtual so that tests can record the text a routine draws.
    virtual void TextOut(int x, int y, const AnsiString& text);
    // The text clipped to r.
    virtual void TextRect(const TRect& r, int x, int y, const AnsiString& text);
    int TextWidth(const AnsiString& text);
    int TextHeight(const AnsiString& text);
    SIZE TextExtent(const AnsiString& text);
    // The pixel as a TColor (0x00BBGGRR); CLR_INVALID (-1) outside the
    // device's surface or clip region.
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);
    // A transparent bitmap leaves its transparent colour's pixels out; an
    // empty one draws nothing. Others go through CopyMode.
    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& dest, TBitmap* bitmap);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    DWORD CopyMode() const;
    void SetCopyMode(DWORD rop);
    // The clip box of the device context.
    TRect ClipRect();

    // Bracket every drawing call: OnChanging before, OnChange after. Public
    // so that code drawing on Handle() directly can announce it too.
    void Changing();
    void Changed();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Asked for a device context when none is set (a control's canvas gets
    // its window's DC here).
    virtual void CreateHandle();

private:
    // The device context with the objects of needs (kNeed... in the unit)
    // selected; raises EInvalidOperation when there is none.
    HDC DrawingDC(unsigned needs);

    struct Data;
    Data* FData;
};

class TBitmap : public TGraphicsObject
{
public:
    TBitmap();
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    int Width() const;
    int Height() const;
    void SetWidth(int value);
    void SetHeight(int value);
    // Keeps the overlapping pixels; new pixels are black.
    void SetSize(int width, int height);
    bool Empty() const;
    TPixelFormat PixelFormat() const;
    void SetPixelFormat(TPixelFormat value);

    // Draw and StretchDraw leave out the pixels of the transparent colour;
    // clDefault (the default) takes the bottom-left pixel's colour.
    bool Transparent() const;
    void SetTransparent(bool value);
    TColor TransparentColor();
    void SetTransparentColor(TColor value);

    TCanvas* Canvas();
    // The DIB section (nullptr while empty), owned by the bitmap. Asking for
    // it takes it out of the canvas's memory DC, so that it can be selected
    // elsewhere (image lists do); the canvas selects it again when it draws.
    HBITMAP Handle();
    // Row y from the top: 3 or 4 bytes a pixel, blue first. Raises
    // EInvalidOperation outside 0 .. Height - 1.
    void* ScanLine(int y);
    int RowBytes() const;

    // A BITMAP resource; raises EResNotFound when the module lacks it.
    void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

private:
    struct Data;
    Data* FData;
};

// --- Scopes

class TScreenDC
{
public:
    // The screen's DC for a null window.
    explicit TScreenDC(HWND window = nullptr) : FWindow(window), FDC(GetDC(window)) {}
    // Takes over dc, which GetDC or GetDCEx gave for window.
    TScreenDC(HWND window, HDC dc) : FWindow(window), FDC(dc) {}
    ~TScreenDC()
    {
        if (FDC)
            ReleaseDC(FWindow, FDC);
    }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HWND FWindow; // not owned
    HDC FDC;      // released at the end
};

class TMemoryDC
{
public:
    // Compatible with the screen for a null DC.
    explicit TMemoryDC(HDC compatibleWith) : FDC(CreateCompatibleDC(compatibleWith)) {}
    ~TMemoryDC()
    {
        if (FDC)
            DeleteDC(FDC);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HDC FDC; // owned
};

class TPaintDC
{
public:
    explicit TPaintDC(HWND window) : FWindow(window) { FDC = BeginPaint(window, &FPaint); }
    ~TPaintDC() { EndPaint(FWindow, &FPaint); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HWND FWindow; // not owned
    PAINTSTRUCT FPaint;
    HDC FDC; // belongs to the paint
};

class TSavedDCState
{
public:
    explicit TSavedDCState(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {}
    ~TSavedDCState()
    {
        if (FSaved)
            RestoreDC(FDC, FSaved);
    }
    TSavedDCState(const TSavedDCState&) = delete;
    TSavedDCState& operator=(const TSavedDCState&) = delete;

private:
    HDC FDC; // not owned
    int FSaved;
};

class TSelectedObject
{
public:
    TSelectedObject(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(SelectObject(dc, object)) {}
    ~TSelectedObject()
    {
        if (FPrevious && FPrevious != HGDI_ERROR)
            SelectObject(FDC, FPrevious);
    }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;

private:
    HDC FDC;           // not owned
    HGDIOBJ FPrevious; // the DC's object before, selected back at the end
};

class TOwnedGdiObject
{
public:
    explicit TOwnedGdiObject(HGDIOBJ object) : FObject(object) {}
    ~TOwnedGdiObject()
    {
        if (FObject)
            DeleteObject(FObject);
    }
    TOwnedGdiObject(const TOwnedGdiObject&) = delete;
    TOwnedGdiObject& operator=(const TOwnedGdiObject&) = delete;
    HGDIOBJ Handle() const { return FObject; }

private:
    HGDIOBJ FObject; // owned
};

// Text measured in a font on the screen: for controls that size themselves
// before they have a window to draw in.
class TScreenTextMeasure
{
public:
    explicit TScreenTextMeasure(TFont& font);
    // The rectangle DrawText fills with text and format (DT_CALCRECT is
    // added); with DT_WORDBREAK the lines break within width.
    TRect TextRect(const AnsiString& text, UINT format, int width = 0) const;
    TEXTMETRICA Metrics() const;
    // The DC with the font selected, for measures of other kinds.
    HDC Handle() const { return FScreen.Handle(); }

private:
    // A memory DC measures as the screen's does, and the window server
    // gives it without a round trip (GetDC(nullptr) takes one).
    TMemoryDC FScreen{nullptr};
    TSelectedObject FFont;
};
