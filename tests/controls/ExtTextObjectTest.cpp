// Text objects with a glyph (the caption layout and a label that shows
// both), the hint drawn as a bitmap, and wide captions and hints in
// descriptions.
#include "controls/ExtControls.h"
#include "controls/NumThemesSupport.h"

#include "classlib/Application.h"
#include "classlib/HintWindow.h"
#include "classlib/ImageList.h"
#include "classlib/WideText.h"
#include "unicode/UniActnList.h"
#include "unicode/UniForms.h"
#include "support/DescriptionStream.h"
#include "support/FormFixture.h"
#include "support/PaintedPixels.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

SIZE MeasuredText(TCanvas* canvas, const wchar_t* text)
{
    RECT r = {0, 0, 1, 1};
    DrawTextW(canvas->Handle(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return SIZE{r.right, r.bottom};
}

} // namespace

TEST(ExtLayoutCaption, PlacesTheGlyphOnTheSideOfTheAlignmentOrAboveTheCaption)
{
    TBitmap surface;
    TCanvas* canvas = surface.Canvas();
    const SIZE text = MeasuredText(canvas, L"Ab");
    const SIZE glyph = {16, 16};
    const int tw = text.cx, th = text.cy;
    const TRect wide(0, 0, 100, 20), tall(0, 0, 100, 40);
    struct Case
    {
        const char* what;
        TRect rect;
        const wchar_t* caption;
        TAlignment alignment;
        bool onTop, pushed;
        TPoint glyphPos;
        int textLeft, textTop;
    } cases[] = {
        {"left", wide, L"Ab", TAlignment::taLeftJustify, false, false, {0, 2}, 20, (20 - th) / 2},
        {"right",
         wide,
         L"Ab",
         TAlignment::taRightJustify,
         false,
         false,
         {84, 2},
         80 - tw,
         (20 - th) / 2},
        {"centre",
         wide,
         L"Ab",
         TAlignment::taCenter,
         false,
         false,
         {(100 - 20 - tw) / 2, 2},
         (100 - tw) / 2 + 10,
         (20 - th) / 2},
        {"pushed",
         wide,
         L"Ab",
         TAlignment::taLeftJustify,
         false,
         true,
         {1, 3},
         21,
         (20 - th) / 2 + 1},
        {"above",
         tall,
         L"Ab",
         TAlignment::taCenter,
         true,
         false,
         {(100 - tw) / 2 + (tw - 16) / 2, (40 - (17 + th)) / 2},
         (100 - tw) / 2,
         (40 - th) / 2 + 17 / 2},
    };
    for (const Case& c : cases) {
        TExtCaptionLayout layout = ExtLayoutCaption(canvas, c.rect, c.caption, c.alignment,
                                                    DT_SINGLELINE, glyph, c.onTop, c.pushed);
        EXPECT_EQ(layout.GlyphPos, c.glyphPos) << c.what;
        EXPECT_EQ(layout.TextRect.left, c.textLeft) << c.what;
        EXPECT_EQ(layout.TextRect.top, c.textTop) << c.what;
        EXPECT_EQ(layout.TextRect.Width(), tw) << c.what;
    }
    TExtCaptionLayout alone = ExtLayoutCaption(canvas, wide, L"", TAlignment::taCenter,
                                               DT_SINGLELINE, glyph, false, false);
    EXPECT_EQ(alone.GlyphPos.x, 42) << "no gap beside an empty caption";
    TExtCaptionLayout none = ExtLayoutCaption(canvas, wide, L"Ab", TAlignment::taLeftJustify,
                                              DT_SINGLELINE, SIZE{0, 16}, false, false);
    EXPECT_EQ(none.TextRect.left, 0) << "a glyph without width is none";
}

namespace {

class ExtTextObjectTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        label = new TExtLabel(form);
        label->SetParent(form);
        label->SetLeft(8);
        label->SetTop(8);
        SetClassicDrawingForced(true);
    }
    void TearDown() override
    {
        Application->CancelHint();
        SetMouseControl(nullptr);
        SetClassicDrawingForced(false);
        FormFixture::TearDown();
    }
    // A list of one 16 x 16 image in red.
    TImageList* RedImages()
    {
        auto* images = new TImageList(form);
        images->SetWidth(16);
        images->SetHeight(16);
        TBitmap red;
        red.SetSize(16, 16);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(TRect(0, 0, 16, 16));
        images->AddMasked(&red, static_cast<TColor>(0xFF00FF));
        return images;
    }
    SIZE TextOf(const wchar_t* text)
    {
        TBitmap measure;
        measure.Canvas()->Font()->Assign(label->Font());
        return MeasuredText(measure.Canvas(), text);
    }
    TExtLabel* label = nullptr;
};

} // namespace

TEST_F(ExtTextObjectTest, ALabelWithAnImageShowsItLeftOfTheCaptionAndFitsBoth)
{
    label->SetWideCaption(L"Ab\u00E9");
    const SIZE text = TextOf(L"Ab\u00E9");
    label->SetImages(RedImages());
    label->SetImageIndex(0);
    EXPECT_EQ(label->Width(), 16 + 4 + text.cx);
    EXPECT_EQ(label->Height(), std::max<int>(16, text.cy));
    PaintedPixels pixel(label);
    const int glyphTop = (label->Height() - 16) / 2;
    EXPECT_EQ(pixel(0, glyphTop), PixelRgb(clRed));
    EXPECT_EQ(pixel(15, glyphTop + 15), PixelRgb(clRed));
    bool textInGap = false, textAfter = false;
    for (int y = 0; y < label->Height(); ++y) {
        for (int x = 16; x < 20; ++x)
            textInGap |= pixel(x, y) == PixelRgb(clBlack);
        for (int x = 20; x < label->Width(); ++x)
            textAfter |= pixel(x, y) == PixelRgb(clBlack);
    }
    EXPECT_FALSE(textInGap);
    EXPECT_TRUE(textAfter);

    int asked = 0;
    label->OnGetImageIndex = [&](TObject*, TCustomImageList*&, int& index) {
        ++asked;
        index = 5; // outside the list: no glyph
    };
    label->SetImageIndex(-1);
    label->SetImageIndex(0);
    EXPECT_GT(asked, 0);
    EXPECT_EQ(label->Width(), text.cx) << "an index outside the list shows no glyph";
}

TEST_F(ExtTextObjectTest, AHintWithADrawingHandlerShowsTheDrawnBitmap)
{
    label->SetWideCaption(L"label");
    label->SetWideHint(L"\uAC00 wide hint|long part");
    label->SetShowHint(true);
    WideString seen;
    label->OnDrawHint = [&](TObject*, TBitmap* bitmap, WideString& hint, bool&) {
        seen = hint;
        bitmap->Canvas()->Brush()->SetColor(clRed);
        bitmap->Canvas()->FillRect(TRect(0, 0, 3, 3));
    };
    form->Show();
    PumpMessages();
    SetMouseControl(label);
    Application->ActivateHint(label->ClientToScreen(TPoint(2, 2)));
    EXPECT_EQ(seen, L"\uAC00 wide hint");
    THintWindow* window = Application->HintWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->HintShowing());
    TBitmap* bitmap = label->HintBitmap();
    ASSERT_NE(bitmap, nullptr);
    TFont hintFont;
    TBitmap measure;
    measure.Canvas()->Font()->Assign(&hintFont);
    const SIZE text = MeasuredText(measure.Canvas(), L"\uAC00 wide hint");
    EXPECT_EQ(bitmap->Width(), text.cx + 8);
    EXPECT_EQ(bitmap->Height(), text.cy + 4);
    EXPECT_EQ(window->ClientRect().Width(), bitmap->Width());
    EXPECT_EQ(window->ClientRect().Height(), bitmap->Height());
    PaintedPixels shown(window); // its client area
    EXPECT_EQ(shown(0, 0), PixelRgb(clRed)) << "the handler's drawing";
    EXPECT_EQ(shown(3, bitmap->Height() - 1), SysPixelRgb(COLOR_INFOBK));
    bool hintText = false;
    for (int y = 2; y < bitmap->Height() - 2; ++y)
        for (int x = 4; x < bitmap->Width() - 4; ++x)
            hintText |= shown(x, y) == SysPixelRgb(COLOR_INFOTEXT);
    EXPECT_TRUE(hintText) << "the default text over the handler's drawing";
    Application->CancelHint();

    label->OnDrawHint = [&](TObject*, TBitmap* bitmap, WideString&, bool& paintDefault) {
        bitmap->SetSize(20, 10);
        bitmap->Canvas()->Brush()->SetColor(clBlue);
        bitmap->Canvas()->FillRect(TRect(0, 0, 20, 10));
        paintDefault = false;
    };
    Application->ActivateHint(label->ClientToScreen(TPoint(2, 2)));
    ASSERT_TRUE(window->HintShowing());
    EXPECT_EQ(window->ClientRect().Width(), 20);
    EXPECT_EQ(window->ClientRect().Height(), 10);
    PaintedPixels blue(window);
    EXPECT_EQ(blue(0, 0), PixelRgb(clBlue));
    EXPECT_EQ(blue(19, 9), PixelRgb(clBlue));
}

TEST_F(ExtTextObjectTest, ADescriptionWithAWideCaptionShowsCharactersTheCodePageLacks)
{
    struct Case
    {
        const wchar_t* caption;
        const wchar_t* hint;
    } cases[] = {
        {L"\uAC00\uAC01\u2212", L"\u00E9|\u301C"},
        {L"\u4E00 plain", L""},
        {L"", L"only a hint"},
    };
    for (const Case& c : cases) {
        auto* source = new TExtLabel(form);
        source->SetWideCaption(c.caption);
        source->SetWideHint(c.hint);
        const AnsiString bytes = WrittenDescription(source);
        delete source;
        auto* target = new TExtLabel(form);
        target->SetParent(form);
        ReadDescription(target, bytes);
        EXPECT_EQ(target->WideCaption(), c.caption);
        EXPECT_EQ(target->WideHint(), c.hint);
        if (*c.caption) {
            EXPECT_EQ(target->Width(), TextOf(c.caption).cx) << "sized to the wide caption";
        }
        delete target;
    }
    auto* label2 = new TExtLabel(form);
    EXPECT_THROW(ReadDescription(label2, WrittenDescription(new TExtCheckBox(form))), EReadError)
        << "a check box's description is not a label's";
}

TEST_F(ExtTextObjectTest, AnActionGivesItsWideTextCheckStateAndImageWithoutRunning)
{
    auto* action = new TUniAction(form);
    action->SetCaption(WideString(L"\uAC00 act"));
    action->SetHint(WideString(L"\u00E9 hint"));
    action->SetChecked(true);
    action->SetImageIndex(0);
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    auto* box = new TExtCheckBox(form);
    box->SetParent(form);
    box->SetAction(action);
    EXPECT_EQ(box->WideCaption(), L"\uAC00 act");
    EXPECT_EQ(box->WideHint(), L"\u00E9 hint");
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(box->ImageIndex(), 0);

    action->SetCaption(WideString(L"\u2212 new"));
    action->SetHint(WideString(L"\u301C"));
    action->SetChecked(false);
    action->SetImageIndex(-1);
    EXPECT_EQ(box->WideCaption(), L"\u2212 new");
    EXPECT_EQ(box->WideHint(), L"\u301C");
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->ImageIndex(), -1);
    EXPECT_EQ(executed, 0) << "taking the action's state runs nothing";

    auto* plain = new TAction(form);
    plain->SetCaption("現在名");
    label->SetAction(plain);
    EXPECT_EQ(label->WideCaption(), L"現在名");
}

TEST_F(ExtTextObjectTest, AWideHintShowsWholeInAWideHintWindow)
{
    auto* group = new TExtGroupBox(form);
    group->SetParent(form);
    group->SetTop(40);
    form->Show();
    PumpMessages();
    struct Case
    {
        TControl* control;
        const wchar_t* hint;
        const wchar_t* shown;
    } cases[] = {
        {label, L"\uAC00\u301C|long part", L"\uAC00\u301C"},
        {group, L"\u00E9 \u2212", L"\u00E9 \u2212"},
    };
    for (const Case& c : cases) {
        if (c.control == label)
            label->SetWideHint(c.hint);
        else
            group->SetWideHint(c.hint);
        c.control->SetShowHint(true);
        SetMouseControl(c.control);
        Application->ActivateHint(c.control->ClientToScreen(TPoint(2, 2)));
        auto* window = dynamic_cast<TUniCustomHintWindow*>(Application->HintWindow());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->HintShowing());
        EXPECT_EQ(ControlWideText(window), c.shown);
        Application->CancelHint();
    }
}
