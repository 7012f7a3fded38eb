// Captions painted turned on memory bitmaps: inside their rectangle, from
// the end they start at, centred along it, the accelerator underlined, and
// measured from the wide text.
#include "controls/ExtItem.h"

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
