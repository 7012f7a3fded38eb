// The progress bar: its percentage and clamping order, the caption it
// paints ("37%"), the choice of painting mode under the classic overrides,
// and its classic colours on a 32-bit bitmap.
#include "controls/ExtControls.h"
#include "controls/NumThemesSupport.h"

#include "support/FormFixture.h"
#include "support/WindowDriver.h"
#include "themes/SkinThemes.h"

#include <climits>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(ExtProgressPercentage, ClampsAndDividesWithoutOverflow)
{
    struct Case
    {
        int position, max, min, expected;
    } cases[] = {
        {37, 100, 0, 37},
        {150, 100, 0, 100},
        {-3, 100, 0, 0},
        {1, 3, 0, 33},
        {50, 50, 50, 0},
        {5, 0, 10, 0},
        {10, 20, 10, 0},
        {15, 20, 10, 50},
        {INT_MAX, INT_MAX, INT_MIN, 100},
        {0, INT_MAX, INT_MIN, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtProgressPercentage(c.position, c.max, c.min), c.expected)
            << c.position << " in " << c.min << ".." << c.max;
}

class ExtProgressBarTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        bar = new TExtProgressBar(form);
        bar->SetParent(form);
        bar->SetLeft(8);
        bar->OnDrawCaption = [this](TObject*, TCanvas*, const TRect&, WideString& caption, TRect&,
                                    UINT&, bool, int stage, bool&) {
            if (stage == 0)
                painted = caption;
        };
        ActivateForm(form);
    }
    void TearDown() override
    {
        SetClassicDrawingForced(false);
        FormFixture::TearDown();
    }
    WideString PaintedCaption()
    {
        bar->Repaint();
        return painted;
    }

    TExtProgressBar* bar = nullptr;
    WideString painted = L"(none)";
};

TEST_F(ExtProgressBarTest, PositionIsClampedToMaxThenMinAndChangesAreReported)
{
    std::vector<int> changes;
    bar->OnProgressChange = [&](TObject*, int position) { changes.push_back(position); };
    struct Step
    {
        int set, stored;
    } steps[] = {{150, 100}, {-3, 0}, {-3, 0}, {42, 42}, {42, 42}};
    for (const Step& s : steps) {
        bar->SetPosition(s.set);
        EXPECT_EQ(bar->Position(), s.stored) << s.set;
    }
    EXPECT_EQ(changes, (std::vector<int>{100, 0, 42}));
    bar->SetMin(50);
    bar->SetMax(40); // Min above Max: the next position is Min
    bar->SetPosition(45);
    EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ExtProgressBarTest, CaptionShowsThePercentageOrThePosition)
{
    bar->SetPosition(37);
    EXPECT_EQ(PaintedCaption(), L"37%");
    bar->SetCaptionType(TExtProgressCaption::pctProgress);
    EXPECT_EQ(PaintedCaption(), L"37");
    bar->SetCaptionType(TExtProgressCaption::pctNone);
    EXPECT_EQ(PaintedCaption(), L"");
    bar->SetCaptionType(TExtProgressCaption::pctPercentage);
    bar->SetMax(20); // the position stays until it is set again
    EXPECT_EQ(bar->Position(), 37);
    EXPECT_EQ(PaintedCaption(), L"100%");
    bar->SetMin(20);
    EXPECT_EQ(PaintedCaption(), L"0%") << "Min equal to Max draws an empty bar";
}

TEST_F(ExtProgressBarTest, ThemeTypesResolveToClassicUnderEitherOverride)
{
    ASSERT_TRUE(ExtVisualStylesOn());
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtSkin), TExtThemeType::thtWindows);
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtNone), TExtThemeType::thtNone);
    SetClassicDrawingForced(true);
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtSkin), TExtThemeType::thtNone);
    SetClassicDrawingForced(false);
    SetSkinSysParam(2, 2);
    SkinThemeManager()->Refresh();
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtWindows), TExtThemeType::thtNone);
}

TEST_F(ExtProgressBarTest, ClassicBarIsFramedAndFilledInTheHighlightColour)
{
    SetClassicDrawingForced(true);
    bar->SetCaptionType(TExtProgressCaption::pctNone);
    bar->SetSmooth(true);
    bar->SetPosition(50);
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(bar->Width(), bar->Height());
    bar->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    auto pixel = [&](int x, int y) {
        return static_cast<DWORD*>(bitmap.ScanLine(y))[x] & 0xFFFFFF;
    };
    auto rgb = [](int index) {
        COLORREF c = GetSysColor(index);
        return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
    };
    EXPECT_EQ(pixel(0, 0), rgb(COLOR_BTNSHADOW));
    EXPECT_EQ(pixel(bar->Width() - 1, bar->Height() - 1), rgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixel(4, 8), rgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(pixel(2 + (bar->Width() - 4) / 2 - 1, 8), rgb(COLOR_HIGHLIGHT));
    EXPECT_NE(pixel(2 + (bar->Width() - 4) / 2 + 1, 8), rgb(COLOR_HIGHLIGHT));
}
