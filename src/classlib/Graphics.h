// Drawing objects over GDI.
//
//   TGraphicsObject  base of font, pen and brush: change notification
//   TFont            a logical font (name, size or height, colour, style)
//   TPen, TBrush     a pen and a brush with colour and style
//   TCanvas          a device context with its font, pen and brush selected
//   TBitmap          a DIB section (24 or 32 bits) with a canvas and row access
//
// GDI handles are made when first asked for and freed by their owner object.
// Colours are TColor values (0x00BBGGRR, or a system colour index with the
// top bit set); ColorToRGB resolves the latter.
#pragma once

#include "Object.h"

#include <windows.h>

COLORREF ColorToRGB(TColor color);

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
};

class TFont : public TGraphicsObject
{
public:
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
    HBRUSH Handle();  // owned by the brush

private:
    struct Data;
    Data* FData;
};

class TCanvas : public TPersistent
{
public:
    TCanvas();
    ~TCanvas() override;

    // The device context; a canvas that owns none asks CreateHandle for one.
    HDC Handle();
    // Borrows dc (not owned); the font, pen and brush are selected into it
    // and deselected again when the handle changes.
    void SetHandle(HDC dc);
    bool HandleAllocated() const;

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
    void TextOut(int x, int y, const AnsiString& text);
    void TextRect(const TRect& r, int x, int y, const AnsiString& text);
    int TextWidth(const AnsiString& text);
    int TextHeight(const AnsiString& text);
    SIZE TextExtent(const AnsiString& text);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);
    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& dest, TBitmap* bitmap);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    DWORD CopyMode() const;
    void SetCopyMode(DWORD rop);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Asked for a device context when none is set (a control's canvas gets
    // its window's DC here).
    virtual void CreateHandle();
    void Changing();
    void Changed();

private:
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

    TCanvas* Canvas();
    HBITMAP Handle();
    // Row y from the top: 3 or 4 bytes a pixel, blue first.
    void* ScanLine(int y);
    int RowBytes() const;

    void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);

private:
    struct Data;
    Data* FData;
};
