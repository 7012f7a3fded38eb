#include "classlib/Graphics.h"

#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The colour of a pixel read straight from the DIB: blue, green, red in memory.
TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    auto* row = static_cast<unsigned char*>(bitmap.ScanLine(y));
    int step = bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
    const unsigned char* p = row + x * step;
    return static_cast<TColor>(RGB(p[2], p[1], p[0]));
}

// Rows of the bitmap as strings, '#' where the pixel has colour, '.' elsewhere.
std::vector<std::string> Mask(TBitmap& bitmap, TColor color)
{
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x)
            row += PixelAt(bitmap, x, y) == color ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

int Count(TBitmap& bitmap, TColor color)
{
    int n = 0;
    for (const std::string& row : Mask(bitmap, color))
        n += static_cast<int>(std::count(row.begin(), row.end(), '#'));
    return n;
}

constexpr TColor kInk = 0x123456; // red 0x56, green 0x34, blue 0x12

class CanvasPixelTest : public testing::TestWithParam<TPixelFormat>
{
protected:
    void SetUp() override
    {
        bitmap.SetPixelFormat(GetParam());
        bitmap.SetSize(8, 6);
        canvas = bitmap.Canvas();
    }
    TBitmap bitmap;
    TCanvas* canvas = nullptr;
};

TEST_P(CanvasPixelTest, LinesLeaveOutTheirEndPoint)
{
    canvas->Pen()->SetColor(kInk);
    canvas->MoveTo(1, 1);
    canvas->LineTo(5, 1);
    canvas->LineTo(5, 4);
    EXPECT_EQ(Mask(bitmap, kInk), (std::vector<std::string>{
                                      "........",
                                      ".#####..", // the second line starts at (5, 1)
                                      ".....#..",
                                      ".....#..",
                                      "........",
                                      "........",
                                  }));
    EXPECT_EQ(canvas->PenPos(), TPoint(5, 4));
}

TEST_P(CanvasPixelTest, RectanglesExcludeTheirRightColumnAndBottomRow)
{
    canvas->Brush()->SetColor(kInk);
    canvas->FillRect(Rect(1, 1, 4, 3));
    EXPECT_EQ(Mask(bitmap, kInk), (std::vector<std::string>{
                                      "........",
                                      ".###....",
                                      ".###....",
                                      "........",
                                      "........",
                                      "........",
                                  }));

    canvas->Brush()->SetColor(clWhite);
    canvas->FrameRect(Rect(0, 0, 8, 6));
    canvas->Pen()->SetColor(clRed);
    canvas->Brush()->SetColor(clBlue);
    canvas->Rectangle(4, 2, 8, 6);
    EXPECT_EQ(Mask(bitmap, clWhite), (std::vector<std::string>{
                                         "########",
                                         "#......#",
                                         "#.......",
                                         "#.......",
                                         "#.......",
                                         "####....",
                                     }));
    EXPECT_EQ(Mask(bitmap, clRed), (std::vector<std::string>{
                                       "........",
                                       "........",
                                       "....####",
                                       "....#..#",
                                       "....#..#",
                                       "....####",
                                   }));
    EXPECT_EQ(Count(bitmap, clBlue), 4);
}

TEST_P(CanvasPixelTest, PixelsRoundTripWithBlueFirstInMemory)
{
    canvas->SetPixel(2, 3, kInk);
    EXPECT_EQ(canvas->Pixel(2, 3), kInk);
    auto* row = static_cast<unsigned char*>(bitmap.ScanLine(3));
    int step = GetParam() == TPixelFormat::pf32bit ? 4 : 3;
    EXPECT_EQ(row[2 * step + 0], 0x12);
    EXPECT_EQ(row[2 * step + 1], 0x34);
    EXPECT_EQ(row[2 * step + 2], 0x56);

    // A system colour is stored as the system reports it.
    canvas->SetPixel(0, 0, clBtnFace);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(canvas->Pixel(100, 100), static_cast<TColor>(CLR_INVALID));
}

TEST_P(CanvasPixelTest, StretchDrawAndCopyRect)
{
    TBitmap source;
    source.SetPixelFormat(GetParam());
    source.SetSize(2, 2);
    source.Canvas()->SetPixel(0, 0, clRed);
    source.Canvas()->SetPixel(1, 0, clLime);
    source.Canvas()->SetPixel(0, 1, clBlue);
    source.Canvas()->SetPixel(1, 1, clWhite);

    canvas->StretchDraw(Rect(0, 0, 4, 4), &source);
    EXPECT_EQ(Mask(bitmap, clRed)[1], "##......");
    EXPECT_EQ(Mask(bitmap, clLime)[0], "..##....");
    EXPECT_EQ(Mask(bitmap, clBlue)[3], "##......");
    EXPECT_EQ(Count(bitmap, clWhite), 4);

    canvas->Draw(6, 4, &source);
    EXPECT_EQ(PixelAt(bitmap, 7, 5), clWhite);

    // Copy the red block to the right, inverted by the copy mode.
    canvas->SetCopyMode(NOTSRCCOPY);
    canvas->CopyRect(Rect(4, 0, 6, 2), canvas, Rect(0, 0, 2, 2));
    EXPECT_EQ(Mask(bitmap, static_cast<TColor>(0xFFFF00))[0], "....##..");
}

TEST_P(CanvasPixelTest, TransparentBitmapsLeaveTheirKeyColourOut)
{
    canvas->Brush()->SetColor(kInk);
    canvas->FillRect(Rect(0, 0, 8, 6));
    TBitmap sprite;
    sprite.SetSize(3, 3);
    sprite.Canvas()->Brush()->SetColor(clLime);
    sprite.Canvas()->FillRect(Rect(0, 0, 3, 3));
    sprite.Canvas()->SetPixel(1, 1, clRed);
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.TransparentColor(), clLime); // the bottom-left pixel's

    canvas->Draw(2, 2, &sprite);
    EXPECT_EQ(Count(bitmap, clRed), 1);
    EXPECT_EQ(Count(bitmap, clLime), 0);
    EXPECT_EQ(PixelAt(bitmap, 3, 3), clRed);
}

TEST_P(CanvasPixelTest, PenModesAndTextBackgrounds)
{
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetMode(TPenMode::pmXor);
    canvas->MoveTo(0, 0);
    canvas->LineTo(8, 0);
    canvas->MoveTo(0, 0);
    canvas->LineTo(4, 0);
    EXPECT_EQ(Mask(bitmap, clWhite)[0], "....####");

    // A hatched brush paints its lines and lets the rest show through.
    canvas->Brush()->SetColor(kInk);
    canvas->Brush()->SetStyle(TBrushStyle::bsCross);
    canvas->FillRect(Rect(0, 1, 8, 6));
    EXPECT_GT(Count(bitmap, kInk), 0);
    EXPECT_GT(Count(bitmap, clBlack), 0);

    bitmap.SetSize(120, 40);
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 120, 40));
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    canvas->Font()->SetColor(clBlack);
    canvas->TextOut(2, 2, "Ab");
    EXPECT_EQ(Count(bitmap, kInk), 0);

    // A solid brush paints the text cell; clipped text stays in its rectangle.
    canvas->Brush()->SetColor(kInk);
    SIZE extent = canvas->TextExtent("Ab");
    canvas->TextOut(2, 20, "Ab");
    int cell = Count(bitmap, kInk);
    EXPECT_GT(cell, 0);
    EXPECT_LE(cell, extent.cx * extent.cy);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (PixelAt(bitmap, x, y) == kInk) {
                ASSERT_TRUE(x >= 2 && x < 2 + extent.cx && y >= 20 && y < 20 + extent.cy);
            }
        }
    }

    canvas->TextRect(Rect(60, 0, 70, 40), 55, 2, "Ab");
    for (int y = 0; y < 40; ++y) {
        for (int x = 50; x < 120; ++x) {
            if (x < 60 || x >= 70) {
                ASSERT_NE(PixelAt(bitmap, x, y), kInk) << x << "," << y;
            }
        }
    }
    for (int y = 0; y < 40; ++y)
        for (int x = 60; x < 70; ++x)
            ASSERT_NE(PixelAt(bitmap, x, y), clWhite) << "the whole rectangle is opaque";
}

INSTANTIATE_TEST_SUITE_P(Formats, CanvasPixelTest,
                         testing::Values(TPixelFormat::pf24bit, TPixelFormat::pf32bit),
                         [](const testing::TestParamInfo<TPixelFormat>& info) {
                             return info.param == TPixelFormat::pf24bit ? "Dib24" : "Dib32";
                         });

TEST(ColorTest, SystemColoursComeFromTheSystem)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColorToRGB(kInk), 0x123456u);
    EXPECT_EQ(ColorToRGB(clNone), 0xFFFFFFu);
    EXPECT_EQ(ColorToRGB(clDefault), GetSysColor(COLOR_WINDOW));
}

TEST(FontTest, SizeAndHeightFollowThePixelsPerInch)
{
    TFont font;
    int ppi = ScreenPixelsPerInch();
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -MulDiv(9, ppi, 72));
    EXPECT_EQ(font.Size(), 9);
    font.SetHeight(-MulDiv(14, ppi, 72));
    EXPECT_EQ(font.Size(), 14);
    font.SetHeight(20); // a cell height gives a negative size
    EXPECT_LT(font.Size(), 0);
}

TEST(FontTest, DefaultsToTheSystemMessageFont)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    TFont font;
    EXPECT_EQ(font.Name(), metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(font.Height(), metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(font.Color(), clWindowText);
}

TEST(FontTest, ChangesFireOnceAndReplaceTheHandle)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
    };
    HFONT first = font.Handle();
    font.SetSize(font.Size());
    font.SetName(font.Name());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(font.Handle(), first);

    font.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(GetObjectType(first), 0u) << "the old handle is freed";
    LOGFONTA made = {};
    GetObjectA(font.Handle(), sizeof(made), &made);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_TRUE(made.lfItalic);

    TFont copy;
    copy.Assign(&font);
    font.Assign(&copy);
    EXPECT_EQ(changes, 1) << "assigning equal attributes changes nothing";
    copy.SetSize(30);
    font.Assign(&copy);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(font.Size(), 30);

    LOGFONTA wanted = made;
    wanted.lfHeight = -40;
    font.SetHandle(CreateFontIndirectA(&wanted));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(font.Height(), -40);
    EXPECT_EQ(font.Style(), fsBold | fsItalic);
}

TEST(PenBrushTest, ChangesFireOnceEach)
{
    TPen pen;
    TBrush brush;
    int changes = 0;
    pen.OnChange = [&](TObject*) { ++changes; };
    brush.OnChange = [&](TObject*) { ++changes; };
    pen.SetColor(clRed);
    pen.SetColor(clRed);
    pen.SetWidth(3);
    pen.SetStyle(TPenStyle::psDot);
    pen.SetMode(TPenMode::pmNot);
    brush.SetStyle(TBrushStyle::bsCross);
    brush.SetStyle(TBrushStyle::bsClear);
    brush.SetColor(clLime);
    EXPECT_EQ(changes, 7);
    EXPECT_EQ(brush.Style(), TBrushStyle::bsSolid) << "a colour makes a clear brush solid";
    EXPECT_EQ(GetObjectType(brush.Handle()), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(pen.Handle()), static_cast<DWORD>(OBJ_PEN));
}

TEST(CanvasTest, DrawingCallsAnnounceEachChangeOnce)
{
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    int changing = 0, changed = 0, bitmapChanged = 0;
    TCanvas* canvas = bitmap.Canvas();
    canvas->OnChanging = [&](TObject*) { ++changing; };
    canvas->OnChange = [&](TObject*) { ++changed; };
    bitmap.OnChange = [&](TObject*) { ++bitmapChanged; };
    canvas->MoveTo(0, 0);
    canvas->LineTo(5, 5);
    canvas->FillRect(Rect(0, 0, 2, 2));
    canvas->TextOut(0, 0, "x");
    EXPECT_EQ(canvas->TextWidth("x") > 0, true);
    EXPECT_EQ(changing, 3);
    EXPECT_EQ(changed, 3);
    bitmap.SetSize(12, 10);
    EXPECT_EQ(bitmapChanged, 1);
}

TEST(CanvasTest, ObjectsAreSelectedLazilyAndGiveTheirDCBack)
{
    HDC screen = GetDC(nullptr);
    HDC first = CreateCompatibleDC(screen);
    HDC second = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ ownFont = GetCurrentObject(first, OBJ_FONT);
    HGDIOBJ ownPen = GetCurrentObject(first, OBJ_PEN);
    {
        TCanvas canvas;
        canvas.SetHandle(first);
        EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), ownFont) << "nothing selected yet";
        canvas.TextWidth("abc");
        HGDIOBJ font = canvas.Font()->Handle();
        EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), ownPen) << "a text call needs no pen";

        // A changed font is swapped out, then in again when next needed.
        int narrow = canvas.TextWidth("abcdef");
        canvas.Font()->SetSize(canvas.Font()->Size() * 3);
        EXPECT_EQ(GetObjectType(font), 0u);
        EXPECT_GT(canvas.TextWidth("abcdef"), narrow);

        canvas.Handle();
        canvas.SetHandle(second);
        EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), ownFont);
        EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), ownPen);
        canvas.Handle();
    }
    EXPECT_EQ(GetCurrentObject(second, OBJ_FONT), ownFont) << "freeing the canvas gives back too";
    DeleteDC(first);
    DeleteDC(second);

    TCanvas detached;
    EXPECT_THROW(detached.LineTo(1, 1), EInvalidOperation);
}

TEST(BitmapTest, FormatSwitchAndResizeKeepThePixels)
{
    TBitmap bitmap;
    bitmap.SetSize(5, 4);
    EXPECT_EQ(bitmap.RowBytes(), 16) << "24-bit rows are padded to four bytes";
    bitmap.Canvas()->SetPixel(4, 3, kInk);
    bitmap.Canvas()->SetPixel(1, 1, clRed);

    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_EQ(bitmap.RowBytes(), 20);
    EXPECT_EQ(PixelAt(bitmap, 4, 3), kInk);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 1), clRed);
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(PixelAt(bitmap, 4, 3), kInk);

    // Taking the handle lets the canvas's DC go; the next call selects it again.
    HBITMAP handle = bitmap.Handle();
    EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
    bitmap.Canvas()->SetPixel(0, 0, clLime);
    EXPECT_EQ(bitmap.Handle(), handle);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), clLime);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), clRed);

    bitmap.SetSize(3, 6);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), clRed);
    EXPECT_EQ(PixelAt(bitmap, 2, 5), clBlack) << "new pixels are black";
    bitmap.SetWidth(8);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), clRed);
    EXPECT_EQ(PixelAt(bitmap, 7, 5), clBlack);
}

TEST(BitmapTest, SizesBelowOneMakeAnEmptyBitmap)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(0, 10);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Handle(), nullptr);
    bitmap.Canvas()->FillRect(Rect(0, 0, 5, 5)); // goes nowhere
    bitmap.Canvas()->TextOut(0, 0, "x");
    EXPECT_THROW(bitmap.ScanLine(0), EInvalidOperation);
    bitmap.SetSize(-3, -3);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);

    // The width asked for first stays until the height arrives.
    bitmap.SetWidth(4);
    bitmap.SetHeight(2);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 4);

    TBitmap target;
    target.SetSize(4, 4);
    TBitmap empty;
    target.Canvas()->Draw(0, 0, &empty);
    target.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &empty);
    EXPECT_EQ(Count(target, clBlack), 16);
}

TEST(BitmapTest, AssignCopiesAnIndependentPicture)
{
    TBitmap source;
    source.SetPixelFormat(TPixelFormat::pf32bit);
    source.SetSize(4, 3);
    source.Canvas()->SetPixel(3, 2, kInk);
    source.SetTransparent(true);

    TBitmap copy;
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(PixelAt(copy, 3, 2), kInk);
    source.Canvas()->SetPixel(3, 2, clRed);
    EXPECT_EQ(PixelAt(copy, 3, 2), kInk);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(BitmapTest, LoadsBitmapResources)
{
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    TBitmap bitmap;
    bitmap.LoadFromResourceID(comctl, 120); // the standard small toolbar images
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Height(), 16);
    EXPECT_EQ(bitmap.Width() % 16, 0);

    int width = bitmap.Width();
    EXPECT_THROW(bitmap.LoadFromResourceName(comctl, "NO_SUCH_BITMAP"), EResNotFound);
    EXPECT_EQ(bitmap.Width(), width) << "a failed load keeps the picture";
}

TEST(RecordingCanvasTest, RecordsTextWithItsFont)
{
    testing_support::TRecordingCanvas canvas;
    canvas.Font()->SetSize(7);
    canvas.Font()->SetColor(clRed);
    canvas.TextOut(3, 1, "0:05");
    canvas.TextRect(Rect(0, 0, 10, 10), 1, 2, "ラベル");
    ASSERT_EQ(canvas.Texts().size(), 2u);
    EXPECT_EQ(canvas.Texts()[0].Text, "0:05");
    EXPECT_EQ(canvas.Texts()[0].X, 3);
    EXPECT_EQ(canvas.Texts()[0].FontSize, 7);
    EXPECT_EQ(canvas.Texts()[0].FontColor, clRed);
    EXPECT_TRUE(canvas.Texts()[1].Clipped);
    EXPECT_EQ(canvas.Texts()[1].Text, "ラベル");
}

} // namespace
