// Drawing objects over GDI: colours, font, pen, brush, canvas and DIB-section
// bitmaps. Palettes, metafiles, icons and picture files are left out: the
// program draws only into true-colour DIB sections and onto windows.
#include "Graphics.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>

// ---------------------------------------------------------------------------
// Colours

COLORREF ColorToRGB(TColor color)
{
    if (color == clNone)
        return RGB(255, 255, 255);
    if (color == clDefault)
        return GetSysColor(COLOR_WINDOW);
    if (color < 0)
        return GetSysColor(color & 0xFF);
    // The top byte of a COLORREF selects palette modes; ours never do.
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

int ScreenPixelsPerInch()
{
    static const int pixelsPerInch = [] {
        TScreenDC screen;
        int value = GetDeviceCaps(screen.Handle(), LOGPIXELSY);
        return value > 0 ? value : 96;
    }();
    return pixelsPerInch;
}

TScreenTextMeasure::TScreenTextMeasure(TFont& font) : FFont(FScreen.Handle(), font.Handle()) {}

TRect TScreenTextMeasure::TextRect(const AnsiString& text, UINT format, int width) const
{
    RECT r = {0, 0, width, 0};
    DrawTextA(FScreen.Handle(), text.c_str(), -1, &r, format | DT_CALCRECT);
    return TRect(r);
}

TEXTMETRICA TScreenTextMeasure::Metrics() const
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(FScreen.Handle(), &metrics);
    return metrics;
}

// ---------------------------------------------------------------------------
// Drawing objects

void TGraphicsObject::Changed()
{
    OnChange(this);
}

void TGraphicsObject::ChangedFreeing(HGDIOBJ replaced)
{
    TOwnedGdiObject freed(replaced);
    Changed();
}

namespace {

LOGFONTA ReadUserInterfaceFont()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return metrics.lfMessageFont;
    LOGFONTA font = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return font;
}

// A new font's face, size, style and character set: the system's message
// font as the program found it first (read once: every font made asks).
const LOGFONTA& UserInterfaceFont()
{
    static const LOGFONTA font = ReadUserInterfaceFont();
    return font;
}

// Copies a face name into a LOGFONT field without splitting a double-byte
// character at the end.
void CopyFaceName(char (&target)[LF_FACESIZE], const AnsiString& name)
{
    size_t length = 0;
    while (length < name.size()) {
        size_t step = IsDBCSLeadByte(static_cast<BYTE>(name[length])) ? 2 : 1;
        if (length + step > LF_FACESIZE - 1)
            break;
        length += step;
    }
    length = std::min(length, name.size());
    std::memcpy(target, name.data(), length);
    target[length] = '\0';
}

TFontStyles StylesOf(const LOGFONTA& font)
{
    TFontStyles style = 0;
    if (font.lfWeight >= FW_BOLD)
        style |= fsBold;
    if (font.lfItalic)
        style |= fsItalic;
    if (font.lfUnderline)
        style |= fsUnderline;
    if (font.lfStrikeOut)
        style |= fsStrikeOut;
    return style;
}

} // namespace

struct TFont::Data
{
    AnsiString name; // face name
    int height = 0;  // pixels; negative: character height, positive: cell height
    TColor color = clWindowText;
    TFontStyles style = 0;
    BYTE charset = DEFAULT_CHARSET;
    HFONT handle = nullptr; // owned; made on demand

    bool operator==(const Data& o) const
    {
        return name == o.name && height == o.height && color == o.color && style == o.style &&
               charset == o.charset;
    }
};

TFont::TFont() : FData(new Data)
{
    const LOGFONTA& font = UserInterfaceFont();
    FData->name = font.lfFaceName;
    FData->height = font.lfHeight;
    FData->style = StylesOf(font);
    FData->charset = font.lfCharSet;
}

TFont::~TFont()
{
    if (FData->handle)
        DeleteObject(FData->handle);
    delete FData;
}

void TFont::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TFont*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (*other->FData == *FData)
        return;
    HFONT handle = FData->handle;
    *FData = *other->FData;
    FData->handle = nullptr;
    ChangedFreeing(handle);
}

const AnsiString& TFont::Name() const
{
    return FData->name;
}

void TFont::SetName(const AnsiString& value)
{
    if (value == FData->name)
        return;
    FData->name = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

int TFont::Size() const
{
    return -MulDiv(FData->height, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, ScreenPixelsPerInch(), 72));
}

int TFont::Height() const
{
    return FData->height;
}

void TFont::SetHeight(int value)
{
    if (value == FData->height)
        return;
    FData->height = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

TColor TFont::Color() const
{
    return FData->color;
}

void TFont::SetColor(TColor value)
{
    if (value == FData->color)
        return;
    FData->color = value; // the text colour is the DC's, not the font's
    Changed();
}

TFontStyles TFont::Style() const
{
    return FData->style;
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == FData->style)
        return;
    FData->style = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

BYTE TFont::Charset() const
{
    return FData->charset;
}

void TFont::SetCharset(BYTE value)
{
    if (value == FData->charset)
        return;
    FData->charset = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

HFONT TFont::Handle()
{
    if (!FData->handle) {
        LOGFONTA font = {};
        font.lfHeight = FData->height;
        font.lfWeight = (FData->style & fsBold) ? FW_BOLD : FW_NORMAL;
        font.lfItalic = (FData->style & fsItalic) != 0;
        font.lfUnderline = (FData->style & fsUnderline) != 0;
        font.lfStrikeOut = (FData->style & fsStrikeOut) != 0;
        font.lfCharSet = FData->charset;
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = DEFAULT_QUALITY;
        font.lfPitchAndFamily = DEFAULT_PITCH;
        CopyFaceName(font.lfFaceName, FData->name);
        FData->handle = CreateFontIndirectA(&font);
    }
    return FData->handle;
}

void TFont::SetHandle(HFONT value)
{
    if (value == FData->handle)
        return;
    if (value) {
        LOGFONTA font = {};
        if (!GetObjectA(value, sizeof(font), &font))
            throw EInvalidOperation("The handle is not a font");
        FData->name = font.lfFaceName;
        FData->height = font.lfHeight;
        FData->style = StylesOf(font);
        FData->charset = font.lfCharSet;
    }
    ChangedFreeing(std::exchange(FData->handle, value));
}

namespace {

int SystemPenStyle(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psSolid:
        return PS_SOLID;
    case TPenStyle::psDash:
        return PS_DASH;
    case TPenStyle::psDot:
        return PS_DOT;
    case TPenStyle::psDashDot:
        return PS_DASHDOT;
    case TPenStyle::psDashDotDot:
        return PS_DASHDOTDOT;
    case TPenStyle::psClear:
        return PS_NULL;
    case TPenStyle::psInsideFrame:
        return PS_INSIDEFRAME;
    }
    return PS_SOLID;
}

// The R2_ code of each TPenMode, in the enumeration's order.
constexpr int kRasterOps[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                              R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                              R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};

} // namespace

struct TPen::Data
{
    TColor color = clBlack;
    int width = 1; // pixels; 0 draws one pixel wide as well
    TPenStyle style = TPenStyle::psSolid;
    TPenMode mode = TPenMode::pmCopy;
    HPEN handle = nullptr; // owned; made on demand
};

TPen::TPen() : FData(new Data) {}

TPen::~TPen()
{
    if (FData->handle)
        DeleteObject(FData->handle);
    delete FData;
}

void TPen::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TPen*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    const Data& o = *other->FData;
    if (o.color == FData->color && o.width == FData->width && o.style == FData->style &&
        o.mode == FData->mode)
        return;
    FData->color = o.color;
    FData->width = o.width;
    FData->style = o.style;
    FData->mode = o.mode;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

TColor TPen::Color() const
{
    return FData->color;
}

void TPen::SetColor(TColor value)
{
    if (value == FData->color)
        return;
    FData->color = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

int TPen::Width() const
{
    return FData->width;
}

void TPen::SetWidth(int value)
{
    value = std::max(value, 0);
    if (value == FData->width)
        return;
    FData->width = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

TPenStyle TPen::Style() const
{
    return FData->style;
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == FData->style)
        return;
    FData->style = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

TPenMode TPen::Mode() const
{
    return FData->mode;
}

void TPen::SetMode(TPenMode value)
{
    if (value == FData->mode)
        return;
    FData->mode = value; // a DC setting: the handle stays
    Changed();
}

HPEN TPen::Handle()
{
    if (!FData->handle)
        FData->handle =
            CreatePen(SystemPenStyle(FData->style), FData->width, ColorToRGB(FData->color));
    return FData->handle;
}

struct TBrush::Data
{
    TColor color = clWhite;
    TBrushStyle style = TBrushStyle::bsSolid;
    HBRUSH handle = nullptr; // owned (the stock null brush for bsClear); made on demand
};

TBrush::TBrush() : FData(new Data) {}

TBrush::~TBrush()
{
    if (FData->handle)
        DeleteObject(FData->handle); // harmless for the stock brush
    delete FData;
}

void TBrush::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TBrush*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other->FData->color == FData->color && other->FData->style == FData->style)
        return;
    FData->color = other->FData->color;
    FData->style = other->FData->style;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

TColor TBrush::Color() const
{
    return FData->color;
}

void TBrush::SetColor(TColor value)
{
    if (value == FData->color)
        return;
    FData->color = value;
    // A colour makes a clear brush solid again.
    if (FData->style == TBrushStyle::bsClear)
        FData->style = TBrushStyle::bsSolid;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

TBrushStyle TBrush::Style() const
{
    return FData->style;
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == FData->style)
        return;
    FData->style = value;
    ChangedFreeing(std::exchange(FData->handle, nullptr));
}

HBRUSH TBrush::Handle()
{
    if (FData->handle)
        return FData->handle;
    COLORREF color = ColorToRGB(FData->color);
    switch (FData->style) {
    case TBrushStyle::bsSolid:
        FData->handle = CreateSolidBrush(color);
        break;
    case TBrushStyle::bsClear:
        FData->handle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        break;
    default: {
        // The hatch styles follow bsClear in the same order as the HS_ codes.
        int hatch = static_cast<int>(FData->style) - static_cast<int>(TBrushStyle::bsHorizontal);
        FData->handle = CreateHatchBrush(hatch, color);
        break;
    }
    }
    return FData->handle;
}

// ---------------------------------------------------------------------------
// Canvas

namespace {

enum : unsigned
{
    kNeedFont = 1,
    kNeedPen = 2,
    kNeedBrush = 4,
    kNeedAll = 7
};

// What a canvas holds; the drawing objects are selected into the DC only
// when a call needs them, and the DC's own objects are put back when the DC
// changes or an object changes (so that the object's old handle can go).
struct CanvasState
{
    HDC dc = nullptr; // not owned (a derived canvas may own it)
    TFont font;
    TPen pen;
    TBrush brush;
    std::optional<TSelectedObject> dcFont;  // our font in dc, while selected
    std::optional<TSelectedObject> dcPen;   // likewise for the pen
    std::optional<TSelectedObject> dcBrush; // likewise for the brush
    DWORD copyMode = SRCCOPY;               // raster operation of Draw, StretchDraw and CopyRect
    TPoint penPos; // kept here too, so that a new DC starts where the old ended
};

void CanvasDeselectAll(CanvasState& s)
{
    s.dcFont.reset();
    s.dcPen.reset();
    s.dcBrush.reset();
}

void CanvasSelect(CanvasState& s, unsigned needs)
{
    if ((needs & kNeedFont) && !s.dcFont) {
        s.dcFont.emplace(s.dc, s.font.Handle());
        SetTextColor(s.dc, ColorToRGB(s.font.Color()));
    }
    if ((needs & kNeedPen) && !s.dcPen) {
        s.dcPen.emplace(s.dc, s.pen.Handle());
        SetROP2(s.dc, kRasterOps[static_cast<int>(s.pen.Mode())]);
    }
    if ((needs & kNeedBrush) && !s.dcBrush) {
        s.dcBrush.emplace(s.dc, s.brush.Handle());
        // Text and pen gaps are painted in the brush colour, unless the brush
        // is clear or hatched (then what lies below shows through).
        SetBkColor(s.dc, ColorToRGB(s.brush.Color()));
        SetBkMode(s.dc, s.brush.Style() == TBrushStyle::bsSolid ? OPAQUE : TRANSPARENT);
    }
}

using TransparentBltFunc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Bound at run time, as the newer drawing functions are.
TransparentBltFunc TransparentBltEntry()
{
    static const TransparentBltFunc entry = [] {
        HMODULE library = LoadLibraryA("msimg32.dll");
        return library ? reinterpret_cast<TransparentBltFunc>(
                             reinterpret_cast<void*>(GetProcAddress(library, "TransparentBlt")))
                       : nullptr;
    }();
    return entry;
}

} // namespace

struct TCanvas::Data : CanvasState
{
};

TCanvas::TCanvas() : FData(new Data)
{
    // A changed object is deselected; the next call that needs it selects
    // the new handle (and the object then frees the old one).
    FData->font.OnChange = [this](TObject*) { FData->dcFont.reset(); };
    FData->pen.OnChange = [this](TObject*) { FData->dcPen.reset(); };
    FData->brush.OnChange = [this](TObject*) { FData->dcBrush.reset(); };
}

TCanvas::~TCanvas()
{
    CanvasDeselectAll(*FData);
    delete FData;
}

HDC TCanvas::DrawingDC(unsigned needs)
{
    if (!FData->dc) {
        CreateHandle();
        if (!FData->dc)
            throw EInvalidOperation("Canvas does not allow drawing");
    }
    CanvasSelect(*FData, needs);
    return FData->dc;
}

void TCanvas::CreateHandle() {}

HDC TCanvas::Handle()
{
    return DrawingDC(kNeedAll);
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == FData->dc)
        return;
    if (FData->dc) {
        POINT position;
        if (GetCurrentPositionEx(FData->dc, &position))
            FData->penPos = position;
    }
    CanvasDeselectAll(*FData);
    FData->dc = dc;
    if (dc)
        MoveToEx(dc, FData->penPos.x, FData->penPos.y, nullptr);
}

bool TCanvas::HandleAllocated() const
{
    return FData->dc != nullptr;
}

void TCanvas::Refresh()
{
    CanvasDeselectAll(*FData);
}

TFont* TCanvas::Font() const
{
    return &FData->font;
}
TPen* TCanvas::Pen() const
{
    return &FData->pen;
}
TBrush* TCanvas::Brush() const
{
    return &FData->brush;
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(DrawingDC(0), x, y, nullptr);
    FData->penPos = TPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    Changing();
    ::LineTo(DrawingDC(kNeedPen | kNeedBrush), x, y);
    FData->penPos = TPoint(x, y);
    Changed();
}

TPoint TCanvas::PenPos() const
{
    POINT position;
    if (FData->dc && GetCurrentPositionEx(FData->dc, &position))
        return position;
    return FData->penPos;
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Changing();
    ::Rectangle(DrawingDC(kNeedPen | kNeedBrush), x1, y1, x2, y2);
    Changed();
}

void TCanvas::FillRect(const TRect& r)
{
    Changing();
    ::FillRect(DrawingDC(kNeedBrush), &r, FData->brush.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r)
{
    Changing();
    ::FrameRect(DrawingDC(kNeedBrush), &r, FData->brush.Handle());
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Changing();
    ::Ellipse(DrawingDC(kNeedPen | kNeedBrush), x1, y1, x2, y2);
    Changed();
}

void TCanvas::Polygon(const POINT* points, int count)
{
    if (!points || count < 2)
        return;
    Changing();
    ::Polygon(DrawingDC(kNeedPen | kNeedBrush), points, count);
    Changed();
}

void TCanvas::Polyline(const POINT* points, int count)
{
    if (!points || count < 2)
        return;
    Changing();
    ::Polyline(DrawingDC(kNeedPen | kNeedBrush), points, count);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    Changing();
    ::DrawFocusRect(DrawingDC(kNeedBrush), &r);
    Changed();
}

void TCanvas::TextOut(int x, int y, const AnsiString& text)
{
    Changing();
    ::TextOutA(DrawingDC(kNeedFont | kNeedBrush), x, y, text.data(), static_cast<int>(text.size()));
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const AnsiString& text)
{
    Changing();
    HDC dc = DrawingDC(kNeedFont | kNeedBrush);
    UINT options = ETO_CLIPPED;
    if (FData->brush.Style() != TBrushStyle::bsClear)
        options |= ETO_OPAQUE;
    ExtTextOutA(dc, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const AnsiString& text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(DrawingDC(kNeedFont), text.data(), static_cast<int>(text.size()), &size);
    return size;
}

int TCanvas::TextWidth(const AnsiString& text)
{
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(const AnsiString& text)
{
    return TextExtent(text).cy;
}

TColor TCanvas::Pixel(int x, int y)
{
    return static_cast<TColor>(GetPixel(DrawingDC(0), x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    Changing();
    ::SetPixel(DrawingDC(0), x, y, ColorToRGB(color));
    Changed();
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap)
{
    if (bitmap && !bitmap->Empty())
        StretchDraw(Bounds(x, y, bitmap->Width(), bitmap->Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& dest, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty())
        return;
    Changing();
    HDC dc = DrawingDC(0);
    HDC source = bitmap->Canvas()->Handle();
    int width = bitmap->Width();
    int height = bitmap->Height();
    TransparentBltFunc transparentBlt = TransparentBltEntry();
    if (bitmap->Transparent() && transparentBlt) {
        transparentBlt(dc, dest.left, dest.top, dest.Width(), dest.Height(), source, 0, 0, width,
                       height, ColorToRGB(bitmap->TransparentColor()));
    } else {
        int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, dest.left, dest.top, dest.Width(), dest.Height(), source, 0, 0, width,
                   height, FData->copyMode);
        SetStretchBltMode(dc, oldMode);
    }
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect)
{
    if (!source)
        return;
    Changing();
    HDC dc = DrawingDC(0);
    HDC sourceDC = source->Handle();
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, dest.Width(), dest.Height(), sourceDC, sourceRect.left,
               sourceRect.top, sourceRect.Width(), sourceRect.Height(), FData->copyMode);
    SetStretchBltMode(dc, oldMode);
    Changed();
}

DWORD TCanvas::CopyMode() const
{
    return FData->copyMode;
}

void TCanvas::SetCopyMode(DWORD rop)
{
    FData->copyMode = rop;
}

TRect TCanvas::ClipRect()
{
    RECT r = {};
    GetClipBox(DrawingDC(0), &r);
    return r;
}

void TCanvas::Changing()
{
    OnChanging(this);
}

void TCanvas::Changed()
{
    OnChange(this);
}

// ---------------------------------------------------------------------------
// Bitmap

namespace {

int BitsPerPixel(TPixelFormat format)
{
    return format == TPixelFormat::pf32bit ? 32 : 24;
}

std::int64_t RowBytesOf(int width, TPixelFormat format)
{
    return (static_cast<std::int64_t>(width) * BitsPerPixel(format) + 31) / 32 * 4;
}

BITMAPINFO DibInfo(int width, int height, TPixelFormat format)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 first in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(BitsPerPixel(format));
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The pixels of a bitmap: a DIB section, or nothing while a side is below 1.
struct BitmapImage
{
    int width = 0;  // pixels, as set (at least 0)
    int height = 0; // pixels, as set (at least 0)
    TPixelFormat format = TPixelFormat::pf24bit;
    HBITMAP dib = nullptr;         // owned; null while empty
    unsigned char* bits = nullptr; // the DIB's memory (owned by dib), row 0 first

    int RowBytes() const { return dib ? static_cast<int>(RowBytesOf(width, format)) : 0; }
    unsigned char* Row(int y) const { return bits + static_cast<std::ptrdiff_t>(y) * RowBytes(); }
};

// A new image of the given size and format; empty when a side is below 1.
BitmapImage MakeImage(int width, int height, TPixelFormat format)
{
    BitmapImage image;
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    image.format = format;
    if (image.width < 1 || image.height < 1)
        return image;
    if (RowBytesOf(image.width, format) * image.height > 0x7FFFFFFF)
        throw EInvalidGraphic("Bitmap too large: " + std::to_string(image.width) + " x " +
                              std::to_string(image.height) + " pixels");
    BITMAPINFO info = DibInfo(image.width, image.height, format);
    void* bits = nullptr;
    image.dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!image.dib)
        throw EOutOfMemory("Out of system resources");
    image.bits = static_cast<unsigned char*>(bits);
    return image;
}

// Copies the overlapping top-left part of from into to, converting between
// 3 and 4 bytes a pixel (the fourth byte becomes 0).
void CopyOverlap(const BitmapImage& from, BitmapImage& to)
{
    if (!from.dib || !to.dib)
        return;
    GdiFlush();
    int width = std::min(from.width, to.width);
    int height = std::min(from.height, to.height);
    int fromStep = BitsPerPixel(from.format) / 8;
    int toStep = BitsPerPixel(to.format) / 8;
    for (int y = 0; y < height; ++y) {
        const unsigned char* source = from.Row(y);
        unsigned char* target = to.Row(y);
        if (fromStep == toStep) {
            std::memcpy(target, source, static_cast<size_t>(width) * toStep);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            std::memcpy(target + x * toStep, source + x * fromStep, 3);
            if (toStep == 4)
                target[x * 4 + 3] = 0;
        }
    }
}

} // namespace

// The canvas of a bitmap: a memory DC that selects the bitmap's DIB section
// while it draws, and lets it go when the bitmap needs it elsewhere.
class TBitmapCanvas : public TCanvas
{
public:
    explicit TBitmapCanvas(const HBITMAP* dib) : FDib(dib) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        if (!FMemoryDC)
            return;
        SetHandle(nullptr);
        FDibSelection.reset();
        FMemoryDC.reset();
    }

protected:
    void CreateHandle() override
    {
        FreeContext();
        FMemoryDC.emplace(nullptr);
        if (!FMemoryDC->Handle()) {
            FMemoryDC.reset();
            return;
        }
        // An empty bitmap draws into the DC's own 1x1 bitmap: nowhere.
        if (*FDib)
            FDibSelection.emplace(FMemoryDC->Handle(), *FDib);
        SetHandle(FMemoryDC->Handle());
    }

private:
    const HBITMAP* FDib;                          // the owner's DIB field (not owned)
    std::optional<TMemoryDC> FMemoryDC;           // while the canvas draws
    std::optional<TSelectedObject> FDibSelection; // the DIB in FMemoryDC, while it has one
};

struct TBitmap::Data
{
    BitmapImage image;
    std::unique_ptr<TBitmapCanvas> canvas; // made on first use
    bool transparent = false;
    TColor transparentColor = clDefault; // clDefault: the bottom-left pixel's colour
};

TBitmap::TBitmap() : FData(new Data) {}

TBitmap::~TBitmap()
{
    FData->canvas.reset();
    if (FData->image.dib)
        DeleteObject(FData->image.dib);
    delete FData;
}

namespace {

// Puts next in place of the bitmap's image; the canvas lets the old DIB go
// first.
void ReplaceImage(BitmapImage& image, TBitmapCanvas* canvas, BitmapImage next)
{
    if (canvas)
        canvas->FreeContext();
    if (image.dib)
        DeleteObject(image.dib);
    image = next;
}

} // namespace

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        SetSize(0, 0);
        return;
    }
    auto* other = dynamic_cast<TBitmap*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this)
        return;
    const BitmapImage& from = other->FData->image;
    BitmapImage next = MakeImage(from.width, from.height, from.format);
    CopyOverlap(from, next);
    ReplaceImage(FData->image, FData->canvas.get(), next);
    FData->transparent = other->FData->transparent;
    FData->transparentColor = other->FData->transparentColor;
    Changed();
}

int TBitmap::Width() const
{
    return FData->image.width;
}
int TBitmap::Height() const
{
    return FData->image.height;
}
void TBitmap::SetWidth(int value)
{
    SetSize(value, FData->image.height);
}
void TBitmap::SetHeight(int value)
{
    SetSize(FData->image.width, value);
}

void TBitmap::SetSize(int width, int height)
{
    BitmapImage& image = FData->image;
    if (std::max(width, 0) == image.width && std::max(height, 0) == image.height)
        return;
    BitmapImage next = MakeImage(width, height, image.format);
    CopyOverlap(image, next);
    ReplaceImage(image, FData->canvas.get(), next);
    Changed();
}

bool TBitmap::Empty() const
{
    return FData->image.dib == nullptr;
}

TPixelFormat TBitmap::PixelFormat() const
{
    return FData->image.format;
}

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    BitmapImage& image = FData->image;
    if (value == image.format)
        return;
    BitmapImage next = MakeImage(image.width, image.height, value);
    CopyOverlap(image, next);
    ReplaceImage(image, FData->canvas.get(), next);
    Changed();
}

bool TBitmap::Transparent() const
{
    return FData->transparent;
}

void TBitmap::SetTransparent(bool value)
{
    if (value == FData->transparent)
        return;
    FData->transparent = value;
    Changed();
}

TColor TBitmap::TransparentColor()
{
    if (FData->transparentColor != clDefault || Empty())
        return FData->transparentColor;
    const unsigned char* pixel = static_cast<unsigned char*>(ScanLine(FData->image.height - 1));
    return static_cast<TColor>(RGB(pixel[2], pixel[1], pixel[0]));
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (value == FData->transparentColor)
        return;
    FData->transparentColor = value;
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FData->canvas) {
        FData->canvas = std::make_unique<TBitmapCanvas>(&FData->image.dib);
        FData->canvas->OnChange = [this](TObject*) { Changed(); };
    }
    return FData->canvas.get();
}

HBITMAP TBitmap::Handle()
{
    if (FData->canvas)
        FData->canvas->FreeContext();
    return FData->image.dib;
}

void* TBitmap::ScanLine(int y)
{
    const BitmapImage& image = FData->image;
    if (!image.dib || y < 0 || y >= image.height)
        throw EInvalidOperation("Scan line index out of range");
    GdiFlush();
    return image.Row(y);
}

int TBitmap::RowBytes() const
{
    return FData->image.RowBytes();
}

namespace {

// A true-colour copy of a loaded bitmap (any depth; palettes resolved).
BitmapImage ImageFromHandle(HBITMAP source)
{
    BITMAP facts = {};
    GetObjectA(source, sizeof(facts), &facts);
    TPixelFormat format = facts.bmBitsPixel == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    BitmapImage image = MakeImage(facts.bmWidth, std::abs(facts.bmHeight), format);
    if (!image.dib)
        return image;
    BITMAPINFO info = DibInfo(image.width, image.height, format);
    TScreenDC screen;
    GetDIBits(screen.Handle(), source, 0, image.height, image.bits, &info, DIB_RGB_COLORS);
    return image;
}

// The BITMAP resource as an image; label names it in the error.
BitmapImage LoadBitmapResource(HINSTANCE instance, const char* resource, const AnsiString& label)
{
    auto source = static_cast<HBITMAP>(
        LoadImageA(instance, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!source)
        throw EResNotFound("Resource " + label + " not found");
    TOwnedGdiObject freed(source);
    return ImageFromHandle(source);
}

} // namespace

void TBitmap::LoadFromResourceName(HINSTANCE instance, const AnsiString& name)
{
    BitmapImage next = LoadBitmapResource(instance, name.c_str(), name);
    ReplaceImage(FData->image, FData->canvas.get(), next);
    Changed();
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id)
{
    BitmapImage next = LoadBitmapResource(instance, MAKEINTRESOURCEA(id), std::to_string(id));
    ReplaceImage(FData->image, FData->canvas.get(), next);
    Changed();
}
