// The drawing utilities: colour arithmetic, the wrappers that paint nothing
// for no colour, glyphs, gradients with their tables, the image effects,
// and drop shadows from their alpha to their windows.
#include "PixelSheet.h"

#include "themes/SkinUtils.h"

#include "classlib/ImageList.h"

#include <gtest/gtest.h>

#include <vector>

using theme_testing::PixelSheet;

namespace {

constexpr COLORREF kPaper = RGB(0x60, 0x40, 0x20);

} // namespace

TEST(SkinColours, ArithmeticResolvesSystemColoursAndStaysInRange)
{
    struct Case
    {
        const char* what;
        TColor got, expected;
    };
    const TColor window = static_cast<TColor>(GetSysColor(COLOR_WINDOW));
    const Case cases[] = {
        {"mix all first", WeightedColorMix(0xFFFFFF, 0x000000, 255), 0xFEFEFE},
        {"mix all second", WeightedColorMix(0x000000, 0xFFFFFF, 0), 0xFEFEFE},
        {"mix two channels at once", WeightedColorMix(0x0000FF, 0xFF0000, 128), 0x7E007F},
        {"mix system colour", WeightedColorMix(clWindow, 0, 255), WeightedColorMix(window, 0, 255)},
        {"lighten, clamped", AdjustColor(0x10F080, 32), 0x30FFA0},
        {"darken, clamped", AdjustColor(0x102030, -32), 0x000010},
        {"half and half", MixTwoColors(0x0000C8, 0x000064, 50), 0x000096},
        {"half per mille", MixTwoColors(0x0000C8, 0x000064, 500), 0x000096},
        {"100 is per mille", MixTwoColors(0x0000FF, 0x000000, 100), 0x00001A},
        {"nearest on a true-colour screen", WeightedColorMixNearest(0x0000FF, 0xFF0000, 128),
         0x7E007F},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;

    EXPECT_TRUE(ColorIsDark(0x000000, 1));
    EXPECT_FALSE(ColorIsDark(0xFFFFFF, 255));
    EXPECT_FALSE(ColorIsDark(0x808080, 128));
    EXPECT_TRUE(ColorIsDark(0x7F7F7F, 128));
    EXPECT_EQ(PixelOfColor(0x112233), 0xFF332211u);
}

TEST(SkinWrappers, NoColourPaintsNothingAndAnswersFalse)
{
    PixelSheet sheet(40, 40, kPaper);
    HDC dc = sheet.DC();
    const TRect r(5, 5, 30, 30);
    const POINT points[3] = {{5, 5}, {30, 5}, {5, 30}};
    EXPECT_FALSE(FillRectColor(dc, r, clNone));
    TRect framed = r;
    EXPECT_FALSE(FrameRectColor(dc, framed, clNone, true));
    EXPECT_EQ(framed, TRect(6, 6, 29, 29)); // shrunk all the same
    EXPECT_FALSE(LineInColor(dc, 0, 0, 30, 30, clNone));
    EXPECT_FALSE(PolylineInColor(dc, points, 3, clNone));
    EXPECT_FALSE(PolygonColor(dc, points, 3, clNone, clNone));
    EXPECT_FALSE(RoundRectColor(dc, r, clNone, clNone, 4, 4));
    EXPECT_FALSE(FillRectDithered(dc, r, clNone, clNone));
    EXPECT_EQ(sheet.Changed(), 0);

    // One colour of two is enough for a shape.
    EXPECT_TRUE(PolygonColor(dc, points, 3, clNone, 0x0000FF));
    EXPECT_GT(sheet.Count(r, RGB(255, 0, 0)), 0);
}

TEST(SkinWrappers, FillsFramesLinesAndDitherHitTheirPixels)
{
    PixelSheet sheet(40, 40, kPaper);
    HDC dc = sheet.DC();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    EXPECT_TRUE(FillRectColor(dc, TRect(2, 2, 6, 6), clBtnFace));
    EXPECT_EQ(sheet.Count(TRect(2, 2, 6, 6), face), 16);

    TRect frame(10, 2, 16, 8);
    EXPECT_TRUE(FrameRectColor(dc, frame, 0x0000FF, true));
    EXPECT_EQ(frame, TRect(11, 3, 15, 7));
    EXPECT_EQ(sheet.At(10, 2), RGB(255, 0, 0));
    EXPECT_EQ(sheet.At(15, 7), RGB(255, 0, 0));
    EXPECT_EQ(sheet.Count(frame, kPaper), 16); // the inside untouched

    EXPECT_TRUE(LineInColor(dc, 20, 2, 25, 2, 0x00FF00));
    EXPECT_EQ(sheet.Count(TRect(20, 2, 26, 3), RGB(0, 255, 0)), 5); // the end point excluded

    EXPECT_TRUE(FillRectDithered(dc, TRect(2, 20, 10, 28), 0x0000FF, 0xFF0000));
    for (int y = 20; y < 28; ++y)
        for (int x = 2; x < 10; ++x)
            ASSERT_EQ(sheet.At(x, y), (x + y) % 2 ? RGB(0, 0, 255) : RGB(255, 0, 0))
                << x << "," << y;
}

TEST(SkinWrappers, A3DFrameHasTwoColoursAndShrinksOnlyWhenAsked)
{
    PixelSheet sheet(20, 20, kPaper);
    const COLORREF light = RGB(255, 255, 255), dark = RGB(0, 0, 0);
    TRect r(2, 2, 8, 8);
    Frame3DColors(sheet.DC(), r, 0xFFFFFF, true, 0x000000);
    EXPECT_EQ(r, TRect(3, 3, 7, 7));
    EXPECT_EQ(sheet.Count(TRect(2, 2, 7, 3), light), 5); // top, without the last corner
    EXPECT_EQ(sheet.Count(TRect(2, 3, 3, 7), light), 4); // left
    EXPECT_EQ(sheet.At(7, 2), dark);                     // top-right corner
    EXPECT_EQ(sheet.At(2, 7), dark);                     // bottom-left corner
    EXPECT_EQ(sheet.Count(TRect(7, 2, 8, 8), dark), 6);  // right
    EXPECT_EQ(sheet.Count(TRect(2, 7, 8, 8), dark), 6);  // bottom
    EXPECT_EQ(sheet.Count(TRect(3, 3, 7, 7), kPaper), 16);

    TRect kept(10, 10, 16, 16);
    Frame3DColors(sheet.DC(), kept, 0xFFFFFF, false, 0x000000);
    EXPECT_EQ(kept, TRect(10, 10, 16, 16));
}

TEST(SkinWrappers, ABitPatternIsCentredAndPaintsOnlyItsSetBits)
{
    const TBitPattern corners = {0xA0, 0x00, 0xA0}; // X.X / ... / X.X
    struct Case
    {
        TRect r;
        int left, top;
    };
    for (const Case& c :
         {Case{TRect(10, 10, 20, 20), 14, 14}, Case{TRect(10, 10, 19, 17), 13, 12}}) {
        PixelSheet sheet(30, 30, kPaper);
        PaintBitPattern(sheet.DC(), c.r, 3, 3, 0x0000FF, corners);
        EXPECT_EQ(sheet.ChangedBox(), TRect(c.left, c.top, c.left + 3, c.top + 3));
        EXPECT_EQ(sheet.Changed(), 4);
        EXPECT_EQ(sheet.At(c.left + 1, c.top + 1), kPaper);
    }
}

TEST(SkinGradient, TablesRoundToTheNearestAndHalvesToEven)
{
    struct Case
    {
        int length;
        TColor first, last;
        std::vector<COLORREF> expected;
    };
    const Case cases[] = {
        {3, 0x000000, 0x0000FF, {RGB(0, 0, 0), RGB(128, 0, 0), RGB(255, 0, 0)}},
        {5,
         0x000000,
         0x00000A,
         {RGB(0, 0, 0), RGB(2, 0, 0), RGB(5, 0, 0), RGB(8, 0, 0), RGB(10, 0, 0)}},
        {1, 0x000000, 0x0000FF, {RGB(128, 0, 0)}},
        {2, 0xFF0000, 0x000000, {RGB(0, 0, 255), RGB(0, 0, 0)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GradientTable(c.length, c.first, c.last), c.expected) << c.length;
    // A table asked for again is the cached one.
    EXPECT_EQ(&GradientTable(3, 0, 0xFF), &GradientTable(3, 0, 0xFF));
}

TEST(SkinGradient, WithoutTheSystemRoutineLinesFollowTheTableWithinTheClip)
{
    const TSkinSystemRoutines saved = SkinSystemRoutines();
    SkinSystemRoutines().GradientFill = nullptr;
    PixelSheet sheet(40, 20, kPaper);
    HDC dc = sheet.DC();
    const TRect band(5, 2, 15, 10);
    IntersectClipRect(dc, 0, 0, 12, 20);
    FillRectGradient(dc, band, 0x000000, 0x0000FF, false);
    SelectClipRgn(dc, nullptr);
    const std::vector<COLORREF>& table = GradientTable(10, 0x000000, 0x0000FF);
    for (int x = 5; x < 12; ++x)
        EXPECT_EQ(sheet.At(x, 5), table[x - 5]) << x;
    EXPECT_EQ(sheet.At(12, 5), kPaper); // clipped off
    EXPECT_EQ(sheet.Count(TRect(0, 0, 40, 2), kPaper), 80);

    FillRectGradient(dc, TRect(20, 2, 22, 12), 0x000000, 0x0000FF, true);
    EXPECT_EQ(sheet.At(20, 2), RGB(0, 0, 0));
    EXPECT_EQ(sheet.At(21, 11), RGB(255, 0, 0));
    SkinSystemRoutines() = saved;
}

TEST(SkinGradient, TheSystemRoutineReachesBothEnds)
{
    if (!SkinSystemRoutines().GradientFill)
        GTEST_SKIP() << "no GradientFill on this system";
    PixelSheet sheet(40, 20, kPaper);
    FillRectGradient(sheet.DC(), TRect(0, 0, 32, 4), 0x000000, 0x0000FF, false);
    EXPECT_LE(GetRValue(sheet.At(0, 1)), 8);
    EXPECT_GE(GetRValue(sheet.At(31, 1)), 255 - 8);
    EXPECT_EQ(sheet.At(35, 1), kPaper);
}

namespace {

// A 4 x 1 image list: black, white, mid gray, and one transparent pixel.
class EffectImages
{
public:
    EffectImages() : FList(nullptr, 4, 1)
    {
        TBitmap image;
        image.SetPixelFormat(TPixelFormat::pf24bit);
        image.SetSize(4, 1);
        const COLORREF pixels[4] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(128, 128, 128),
                                    RGB(255, 0, 255)};
        for (int x = 0; x < 4; ++x)
            SetPixel(image.Canvas()->Handle(), x, 0, pixels[x]);
        FList.AddMasked(&image, 0xFF00FF);
    }
    TCustomImageList* List() { return &FList; }

private:
    TCustomImageList FList;
};

} // namespace

TEST(SkinImageEffects, EachEffectChangesOnlyTheImagesPixels)
{
    EffectImages images;
    struct Case
    {
        const char* what;
        void (*paint)(HDC, const TRect&, TCustomImageList*);
        COLORREF black, white, gray;
    };
    const Case cases[] = {
        {"high contrast",
         [](HDC dc, const TRect& r, TCustomImageList* l) { PaintImageContrast(dc, r, l, 0, true); },
         // Dark turns white and light black, then every channel gains 32,
         // kept at 255.
         RGB(255, 255, 255), RGB(32, 32, 32), RGB(160, 160, 160)},
        {"blended",
         [](HDC dc, const TRect& r, TCustomImageList* l) {
             DrawImageBlended(dc, r, l, 0, 128, 0x0000FF);
         },
         RGB(126, 0, 0), RGB(254, 127, 127), RGB(190, 64, 64)},
        {"grayed",
         [](HDC dc, const TRect& r, TCustomImageList* l) { PaintImageGray(dc, r, l, 0, 1); },
         // The paper scaled by 224 / 256 under black, 255 / 256 under white.
         RGB(84, 56, 28), RGB(95, 63, 31), RGB(89, 59, 29)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixelSheet sheet(10, 3, kPaper);
        c.paint(sheet.DC(), TRect(2, 1, 10, 3), images.List());
        EXPECT_EQ(sheet.At(2, 1), c.black);
        EXPECT_EQ(sheet.At(3, 1), c.white);
        EXPECT_EQ(sheet.At(4, 1), c.gray);
        EXPECT_EQ(sheet.At(5, 1), kPaper); // transparent
        EXPECT_EQ(sheet.Count(TRect(0, 0, 10, 1), kPaper), 10);
        EXPECT_EQ(sheet.Count(TRect(0, 2, 10, 3), kPaper), 10);
    }

    PixelSheet sheet(10, 3, kPaper);
    PaintImageContrast(sheet.DC(), TRect(2, 1, 10, 3), images.List(), 5, true);
    EXPECT_EQ(sheet.Changed(), 0);
}

TEST(SkinShadows, StripsFadeAcrossAndAtTheirFadedEnds)
{
    auto at = [](const std::vector<BYTE>& alpha, int width, int x, int y) {
        return static_cast<int>(alpha[static_cast<size_t>(y) * width + x]);
    };
    const std::vector<BYTE> plain = ShadowStripAlpha(true, 10, 4, 0);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(at(plain, 10, 5, y), 255 - y * 64);

    struct Case
    {
        const char* what;
        int width;
        unsigned edges;
        int x, y, alpha;
    };
    const Case cases[] = {
        {"start corner inner edge", 20, seStart | seEnd, 3, 0, 255},
        {"start corner outer edge", 20, seStart | seEnd, 0, 0, 63},
        {"start corner far point", 20, seStart | seEnd, 0, 3, 0},
        {"end corner mirrors", 20, seStart | seEnd, 19, 0, 63},
        {"middle", 20, seStart | seEnd, 10, 1, 191},
        {"unfaded end", 20, seStart, 19, 0, 255},
        {"halved corner outer edge", 6, seStart | seEnd, 0, 0, 127},
        {"halved corner inner edge", 6, seStart | seEnd, 2, 0, 255},
        {"halved end corner", 6, seStart | seEnd, 5, 0, 127},
        {"short strip, one corner takes all", 3, seStart, 0, 0, 127},
    };
    for (const Case& c : cases) {
        const std::vector<BYTE> alpha = ShadowStripAlpha(true, c.width, 4, c.edges);
        EXPECT_EQ(at(alpha, c.width, c.x, c.y), c.alpha) << c.what;
    }

    const std::vector<BYTE> across = ShadowStripAlpha(true, 20, 4, seStart | seEnd);
    const std::vector<BYTE> down = ShadowStripAlpha(false, 4, 20, seStart | seEnd);
    for (int along = 0; along < 20; ++along)
        for (int depth = 0; depth < 4; ++depth)
            ASSERT_EQ(at(down, 4, depth, along), at(across, 20, along, depth));
}

TEST(SkinShadows, TheStripsOfTouchingRectanglesLeaveEachOtherOut)
{
    auto plan = [](const TRect& a, const TRect& b) { return PlanShadowStrips(a, b, 4); };
    struct Expected
    {
        TRect bounds;
        bool horizontal;
        unsigned edges;
    };
    auto expect = [](const std::vector<TShadowStripPlan>& got, const std::vector<Expected>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].Bounds, want[i].bounds) << i;
            EXPECT_EQ(got[i].Horizontal, want[i].horizontal) << i;
            EXPECT_EQ(got[i].Edges, want[i].edges) << i;
        }
    };
    const unsigned both = seStart | seEnd;
    expect(plan(TRect(10, 10, 50, 40), TRect()),
           {{TRect(50, 14, 54, 40), false, seStart}, {TRect(14, 40, 54, 44), true, both}});
    // A wide menu below its button: the button's bottom strip falls on it.
    expect(plan(TRect(10, 20, 60, 80), TRect(10, 10, 30, 20)),
           {{TRect(30, 14, 34, 20), false, seStart},
            {TRect(60, 24, 64, 80), false, seStart},
            {TRect(14, 80, 64, 84), true, both}});
    // A narrow menu below a wide button: what is left keeps its far end.
    expect(plan(TRect(10, 10, 80, 20), TRect(10, 20, 40, 60)),
           {{TRect(80, 14, 84, 20), false, seStart},
            {TRect(40, 20, 84, 24), true, seEnd},
            {TRect(40, 24, 44, 60), false, seStart},
            {TRect(14, 60, 44, 64), true, both}});
    // Apart, each casts its own.
    EXPECT_EQ(plan(TRect(0, 0, 20, 20), TRect(100, 0, 120, 20)).size(), 4u);
    EXPECT_TRUE(PlanShadowStrips(TRect(), TRect(), 4).empty());
}

TEST(SkinShadows, StripWindowsShowBehindTheirPopupAndGoWithTheirShadow)
{
    HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100,
                                 60, 40, nullptr, nullptr, nullptr, nullptr);
    auto* shadows = new TShadows(TRect(100, 100, 160, 140), TRect(), 4, 61, false);
    ASSERT_EQ(shadows->Count(), 2);
    EXPECT_EQ(shadows->Size(), 4);
    shadows->ApplySaveBits(true);
    shadows->Show(popup);
    std::vector<HWND> strips;
    for (int i = 0; i < shadows->Count(); ++i) {
        HWND strip = shadows->Strip(i)->Handle();
        strips.push_back(strip);
        EXPECT_TRUE(IsWindowVisible(strip));
        EXPECT_EQ(SendMessageA(strip, WM_NCHITTEST, 0, MAKELPARAM(161, 120)), HTTRANSPARENT);
        EXPECT_TRUE(GetWindowLongA(strip, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(GetClassLongA(strip, GCL_STYLE) & CS_SAVEBITS);
        EXPECT_EQ(shadows->Strip(i)->Style(), SkinSystemRoutines().UpdateLayeredWindow
                                                  ? TShadowStyle::Layered
                                                  : TShadowStyle::Blended);
    }
    // Right behind the popup, before anything else.
    HWND next = GetWindow(popup, GW_HWNDNEXT);
    EXPECT_TRUE(next == strips[0] || next == strips[1]);
    delete shadows;
    for (HWND strip : strips)
        EXPECT_FALSE(IsWindow(strip));
    DestroyWindow(popup);
}

TEST(SkinShadows, WithoutLayeringOrBlendingStripsAreHalfAsWideAndPlain)
{
    const TSkinSystemRoutines saved = SkinSystemRoutines();
    SkinSystemRoutines().UpdateLayeredWindow = nullptr;
    SkinSystemRoutines().AlphaBlend = nullptr;
    {
        TShadows shadows(TRect(100, 100, 160, 140), TRect(), 4, 61, false);
        EXPECT_EQ(shadows.Size(), 2);
        EXPECT_EQ(shadows.Strip(0)->Style(), TShadowStyle::None);
        EXPECT_EQ(shadows.Strip(0)->Width(), 2);
    }
    SkinSystemRoutines() = saved;
    TShadows lowColour(TRect(100, 100, 160, 140), TRect(), 4, 61, true);
    EXPECT_EQ(lowColour.Size(), 2);
    EXPECT_NE(lowColour.Strip(0)->Style(), TShadowStyle::Layered);
}
