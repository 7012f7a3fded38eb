// The extended panel: its classic frames against the system colours, the
// background it shows, its client area, and its wide caption and hint in
// descriptions.
#include "controls/ExtControls.h"
#include "controls/NumThemesSupport.h"

#include "classlib/Panel.h"
#include "classlib/WideText.h"
#include "support/DescriptionStream.h"
#include "support/FormFixture.h"
#include "support/PaintedPixels.h"

#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vssym32.h>

using namespace testing_support;

namespace {

constexpr TColor kFormColour = 0x00336699;

class ExtPanelTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetColor(kFormColour);
        panel = new TExtCustomPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 60, 40);
        SetClassicDrawingForced(true);
    }
    void TearDown() override
    {
        SetClassicDrawingForced(false);
        FormFixture::TearDown();
    }
    TExtCustomPanel* panel = nullptr;
};

} // namespace

TEST_F(ExtPanelTest, ClassicFramesPaintTheSystemEdgeColours)
{
    const DWORD shadow = SysPixelRgb(COLOR_BTNSHADOW), light = SysPixelRgb(COLOR_BTNHIGHLIGHT),
                dark = SysPixelRgb(COLOR_3DDKSHADOW), lit = SysPixelRgb(COLOR_3DLIGHT),
                face = SysPixelRgb(COLOR_BTNFACE), inside = PixelRgb(kFormColour);
    // The left and right edges half-way down, outer then inner pixel.
    struct Case
    {
        TExtPanelBorder border;
        DWORD left, leftInner, right, rightInner;
    } cases[] = {
        {TExtPanelBorder::pbrRaised, light, inside, shadow, inside},
        {TExtPanelBorder::pbrDoubleRaised, lit, light, dark, shadow},
        {TExtPanelBorder::pbrSunken, shadow, inside, light, inside},
        {TExtPanelBorder::pbrDoubleSunken, shadow, dark, light, lit},
        {TExtPanelBorder::pbrBumped, lit, dark, dark, lit},
        {TExtPanelBorder::pbrEtched, shadow, light, light, shadow},
        {TExtPanelBorder::pbrFramed, face, inside, face, inside},
    };
    const int y = panel->Height() / 2, w = panel->Width();
    for (const Case& c : cases) {
        panel->SetBorderType(c.border);
        PaintedPixels pixel(panel);
        SCOPED_TRACE(static_cast<int>(c.border));
        EXPECT_EQ(pixel(0, y), c.left);
        EXPECT_EQ(pixel(1, y), c.leftInner);
        EXPECT_EQ(pixel(w - 1, y), c.right);
        EXPECT_EQ(pixel(w - 2, y), c.rightInner);
        EXPECT_EQ(pixel(w / 2, y), inside) << "clNone shows the parent";
    }
}

TEST_F(ExtPanelTest, WithoutBordersOrWithAColourThePanelShowsNoFrameOrItsColour)
{
    panel->SetBorders(false);
    PaintedPixels bare(panel);
    EXPECT_EQ(bare(0, 20), PixelRgb(kFormColour));
    EXPECT_EQ(bare(59, 20), PixelRgb(kFormColour));
    panel->SetBorders(true);
    panel->SetColor(clWindow);
    PaintedPixels coloured(panel);
    EXPECT_EQ(coloured(30, 20), SysPixelRgb(COLOR_WINDOW));
    EXPECT_EQ(coloured(0, 20), SysPixelRgb(COLOR_BTNSHADOW));
}

TEST_F(ExtPanelTest, TheBackgroundEventPaintsBeforeAndAfterAndMayReplaceTheFrame)
{
    std::vector<int> stages;
    panel->OnDrawBackground = [&](TObject*, TCanvas* canvas, const TRect& rect, int stage,
                                  bool& paintDefault) {
        stages.push_back(stage);
        if (stage == 0) {
            canvas->Brush()->SetColor(clRed);
            canvas->FillRect(rect);
            paintDefault = false;
        }
    };
    PaintedPixels pixel(panel);
    EXPECT_EQ(stages, (std::vector<int>{0, 1}));
    EXPECT_EQ(pixel(0, 20), PixelRgb(clRed)) << "no frame over the event's painting";
}

TEST_F(ExtPanelTest, ChildrenAlignInsideTheFrameAndTheMargins)
{
    panel->Margins()->SetLeft(3);
    panel->Margins()->SetBottom(5);
    auto* child = new TPanel(form);
    child->SetParent(panel);
    child->SetAlign(TAlign::alClient);
    EXPECT_EQ(child->BoundsRect(), TRect(1 + 3, 1, 60 - 1, 40 - 1 - 5));
}

TEST_F(ExtPanelTest, GroupBoxFrameRunsThroughTheCaptionAndLeavesItClear)
{
    auto* group = new TExtGroupBox(form);
    group->SetParent(form);
    group->SetWideCaption(L"WWWW");
    PaintedPixels pixel(group);
    const int y = group->Height() / 2;
    EXPECT_EQ(pixel(0, y), SysPixelRgb(COLOR_BTNSHADOW));
    EXPECT_EQ(pixel(1, y), SysPixelRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixel(group->Width() - 1, y), SysPixelRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixel(group->Width() - 2, y), SysPixelRgb(COLOR_BTNSHADOW));
    TBitmap measure;
    measure.Canvas()->Font()->Assign(group->Font());
    const int middle = measure.Canvas()->TextExtent("W").cy / 2;
    EXPECT_EQ(pixel(2, middle), SysPixelRgb(COLOR_BTNSHADOW)) << "the top edge before the caption";
    EXPECT_EQ(pixel(8, middle), PixelRgb(kFormColour)) << "no frame under the caption's start";
}

TEST_F(ExtPanelTest, ACaptionInAGroupBoxStandsOnWhatTheGroupBoxShowsBeforeItsFirstPaint)
{
    auto* group = new TExtGroupBox(form);
    group->SetParent(form);
    group->SetWideCaption(L"Group");
    auto* label = new TExtLabel(form);
    label->SetWideCaption(L"Label");
    auto* check = new TExtCheckBox(form);
    check->SetWideCaption(L"Check");
    int top = 20;
    for (TExtTextObject* child : std::initializer_list<TExtTextObject*>{label, check}) {
        child->SetParent(group);
        child->SetAutoSize(false);
        child->SetBounds(10, top, 120, 20);
        top += 30;
    }
    // Each child painted alone on a black sheet: only what it asks of the
    // group box lies under its caption.
    for (TExtTextObject* child : std::initializer_list<TExtTextObject*>{label, check}) {
        PaintedPixels pixel(child);
        SCOPED_TRACE(child->ClassName());
        for (int y = 0; y < child->Height(); ++y)
            for (int x = child->Width() - 20; x < child->Width(); ++x)
                ASSERT_EQ(pixel(x, y), PixelRgb(kFormColour)) << x << "," << y;
    }
}

TEST_F(ExtPanelTest, ADescriptionCarriesTheWideCaptionAndItsExtraFormForOlderReaders)
{
    auto* source = new TExtGroupBox(form);
    source->SetWideCaption(L"\u00E9t\u00E9 \uAC00");
    source->SetWideHint(L"plain hint");
    const AnsiString bytes = WrittenDescription(source);
    EXPECT_NE(bytes.find("Caption_UTF7"), AnsiString::npos);
    EXPECT_EQ(bytes.find("Hint_UTF7"), AnsiString::npos) << "plain text needs no extra form";
    auto* target = new TExtGroupBox(form);
    ReadDescription(target, bytes);
    EXPECT_EQ(target->WideCaption(), L"\u00E9t\u00E9 \uAC00");
    EXPECT_EQ(target->WideHint(), L"plain hint");
    EXPECT_THROW(ReadDescription(new TExtCustomPanel(form), bytes), EReadError)
        << "a group box's description is not a panel's";
}

TEST_F(ExtPanelTest, UnderVisualStylesTheFrameIsTheGroupBoxPart)
{
    SetClassicDrawingForced(false);
    ASSERT_TRUE(ExtVisualStylesOn());
    panel->SetColor(clWhite);
    PaintedPixels shown(panel);
    // The part drawn directly over the same white.
    HTHEME theme = OpenThemeData(nullptr, L"BUTTON");
    ASSERT_NE(theme, nullptr);
    TBitmap expected;
    expected.SetPixelFormat(TPixelFormat::pf32bit);
    expected.SetSize(panel->Width(), panel->Height());
    expected.Canvas()->Brush()->SetColor(clWhite);
    const TRect all(0, 0, panel->Width(), panel->Height());
    expected.Canvas()->FillRect(all);
    DrawThemeBackground(theme, expected.Canvas()->Handle(), BP_GROUPBOX, GBS_NORMAL, &all, nullptr);
    CloseThemeData(theme);
    int differing = 0;
    for (int y = 0; y < panel->Height(); ++y)
        for (int x = 0; x < panel->Width(); ++x)
            differing += shown(x, y) != (static_cast<DWORD*>(expected.ScanLine(y))[x] & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
}
