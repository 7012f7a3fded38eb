// Captions painted on memory bitmaps: turned ones inside their rectangle,
// from the end they start at, centred along it, the accelerator underlined,
// and measured from the wide text; captions marked "utf8=" measured and
// painted as the text they carry.
#include "controls/ExtItem.h"

#include "classlib/WideText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A white 32-bit bitmap that finds the box of the pixels no longer white.
class Sheet
{
public:
    Sheet()
    {
        FBitmap.SetPixelFormat(TPixelFormat::pf32bit);
        FBitmap.SetSize(100, 120);
        FBitmap.Canvas()->Brush()->SetColor(clWhite);
        FBitmap.Canvas()->FillRect(TRect(0, 0, 100, 120));
        FBitmap.Canvas()->Font()->SetName("Tahoma");
        FBitmap.Canvas()->Font()->SetHeight(-13);
    }
    TCanvas* Canvas() { return FBitmap.Canvas(); }
    // The box of the ink and how many pixels are inked.
    TRect Ink(int& count)
    {
        GdiFlush();
        TRect box(100, 120, 0, 0);
        count = 0;
        for (int y = 0; y < 120; ++y) {
            auto* row = static_cast<const DWORD*>(FBitmap.ScanLine(y));
            for (int x = 0; x < 100; ++x)
                if ((row[x] & 0xFFFFFF) != 0xFFFFFF) {
                    ++count;
                    box = TRect(std::min<int>(box.left, x), std::min<int>(box.top, y),
                                std::max<int>(box.right, x + 1), std::max<int>(box.bottom, y + 1));
                }
        }
        return box;
    }

private:
    TBitmap FBitmap;
};

TRect Drawn(const WideString& caption, UINT format, TExtTextRotation rotation, int& count)
{
    Sheet sheet;
    TRect r(30, 10, 60, 110);
    ExtPaintCaptionGlow(sheet.Canvas(), caption, r, format, TSpGlowDirection::gldNone, clRed,
                        rotation);
    return sheet.Ink(count);
}

} // namespace

TEST(ExtTurnedCaption, DrawsInsideItsRectangleFromItsStartingEnd)
{
    using R = TExtTextRotation;
    const TRect box(30, 10, 60, 110);
    struct Case
    {
        R rotation;
        UINT format;
        const char* place; // "start" at the top, "end" at the bottom, "centre"
    };
    const Case cases[] = {
        {R::Down, 0, "start"},
        {R::Up, 0, "end"},
        {R::Down, DT_CENTER, "centre"},
        {R::Up, DT_CENTER, "centre"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.rotation)) + " " + c.place);
        int count = 0;
        const TRect ink = Drawn(L"&Turned", c.format, c.rotation, count);
        ASSERT_GT(count, 0);
        EXPECT_GE(ink.left, box.left);
        EXPECT_LE(ink.right, box.right);
        EXPECT_GE(ink.top, box.top);
        EXPECT_LE(ink.bottom, box.bottom);
        EXPECT_GT(ink.Height(), 2 * ink.Width()) << "the text runs along the rectangle";
        const int before = ink.top - box.top, after = box.bottom - ink.bottom;
        if (std::string(c.place) == "start")
            EXPECT_LT(before, 4);
        else if (std::string(c.place) == "end")
            EXPECT_LT(after, 4);
        else
            EXPECT_LE(std::abs(before - after), 3);
        // The accelerator's underline is ink of its own; "&&" shows an "&".
        int plain = 0, doubled = 0;
        Drawn(L"Turned", c.format, c.rotation, plain);
        Drawn(L"&&Turned", c.format, c.rotation, doubled);
        EXPECT_GT(count, plain);
        EXPECT_GT(doubled, plain);
        int unmarked = 0;
        Drawn(L"&Turned", c.format | DT_NOPREFIX, c.rotation, unmarked);
        EXPECT_GT(unmarked, count) << "the mark is shown as it stands";
    }
}

TEST(ExtTurnedCaption, MeasuresTheWideTextWithoutDrawing)
{
    using R = TExtTextRotation;
    for (const R rotation : {R::Up, R::Down}) {
        SCOPED_TRACE(int(rotation));
        auto measured = [rotation](const WideString& caption, TRect& r) {
            Sheet sheet;
            r = TRect(5, 5, 6, 6);
            const int height = ExtPaintCaptionGlow(sheet.Canvas(), caption, r, DT_CALCRECT,
                                                   TSpGlowDirection::gldAll, clRed, rotation);
            int count = 0;
            sheet.Ink(count);
            EXPECT_EQ(count, 0) << "measuring draws nothing";
            return height;
        };
        TRect wide, narrow, empty;
        // Hangul is not in the code page: "A????" is the ANSI text.
        const int height = measured(L"A\uAC00\uAC00\uAC00\uAC00", wide);
        measured(L"A????", narrow);
        EXPECT_EQ(height, wide.Width());
        EXPECT_GT(wide.Width(), 0);
        EXPECT_EQ(wide.Width(), narrow.Width());
        EXPECT_GT(wide.Height(), narrow.Height());
        EXPECT_EQ(measured(L"", empty), 0);
    }
}

namespace {

// The ink a caption leaves when painted with a glow, and its measured box.
struct Painted
{
    TRect Ink;
    int Count = 0;
    TRect Measured;
    int Height = 0;
};

using TGlowPainter = int (*)(TCanvas*, const WideString&, TRect&, UINT, TSpGlowDirection, TColor,
                             TExtTextRotation);

Painted PaintWith(TGlowPainter paint, const WideString& text)
{
    Painted result;
    {
        Sheet sheet;
        TRect r(5, 5, 95, 40);
        paint(sheet.Canvas(), text, r, DT_SINGLELINE, TSpGlowDirection::gldAll, clRed,
              TExtTextRotation::None);
        result.Ink = sheet.Ink(result.Count);
    }
    Sheet sheet;
    result.Measured = TRect(5, 5, 6, 6);
    result.Height = paint(sheet.Canvas(), text, result.Measured, DT_SINGLELINE | DT_CALCRECT,
                          TSpGlowDirection::gldAll, clRed, TExtTextRotation::None);
    return result;
}

// A caption that carries the UTF-8 bytes of text, as a window description
// read through the code page hands it over.
WideString Utf8Caption(const char* utf8)
{
    return L"utf8=" + AnsiToWide(utf8);
}

} // namespace

TEST(ExtCaptionUtf8, ACaptionMarkedUtf8MeasuresAndPaintsAsItsDecodedText)
{
    // "リージョン" in UTF-8; its bytes survive the code page both ways.
    const char* region = "\xE3\x83\xAA\xE3\x83\xBC\xE3\x82\xB8\xE3\x83\xA7\xE3\x83\xB3";
    ASSERT_EQ(WideToAnsi(AnsiToWide(region)), region);
    struct Case
    {
        const char* name;
        WideString caption;
        WideString shown;
    };
    const Case cases[] = {
        {"ASCII", L"utf8=Plain", L"Plain"},
        {"Japanese", Utf8Caption(region), L"リージョン"},
        // "あ" is 82 A0 in the code page: two bytes no UTF-8 sequence starts with.
        {"not UTF-8", L"utf8=Aあ", L"A\uFFFD\uFFFD"},
        {"the bare mark", L"utf8=", L""},
        {"the mark later on", L"A utf8=Plain", L"A utf8=Plain"},
        {"the mark in capitals", L"UTF8=Plain", L"UTF8=Plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExtShownCaptionText(c.caption), c.shown);
        const Painted caption = PaintWith(ExtPaintCaptionGlow, c.caption);
        const Painted shown = PaintWith(ExtPaintTextGlow, c.shown);
        EXPECT_EQ(shown.Count > 0, !c.shown.empty());
        EXPECT_EQ(caption.Count, shown.Count);
        EXPECT_EQ(caption.Ink, shown.Ink);
        EXPECT_EQ(caption.Measured, shown.Measured);
        EXPECT_EQ(caption.Height, shown.Height);
    }
}
