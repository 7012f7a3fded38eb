// The themed splitter and push button on real windows: hover and press
// states from mouse input, a drag that resizes the pane (snapping shut,
// stopping at the room left, Escape keeping the size reached), the splitter's
// classic colours, button groups, Space on a focused button, and sizes that
// fit the content.
#include "controls/FlatButton.h"
#include "controls/FlatSplitter.h"

#include "classlib/Panel.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"
#include "themes/Skin.h"
#include "themes/SkinUtils.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void MouseMessage(TWinControl* window, UINT msg, TControl* control, int x, int y, WPARAM keys)
{
    TPoint p = window->ScreenToClient(control->ClientToScreen(TPoint(x, y)));
    SendMessageA(window->Handle(), msg, keys, MAKELPARAM(p.x, p.y));
}

} // namespace

TEST(FlatButtonContentSize, FitsTextAndImageAsTheLayoutPlacesThem)
{
    const SIZE text{40, 13};
    const SIZE image{16, 20};
    struct Case
    {
        bool hasImage;
        TGlyphLayout layout;
        SIZE expected;
    } cases[] = {
        {false, TGlyphLayout::glyLeft, {52, 25}},
        {true, TGlyphLayout::glyLeft, {40 + 16 + 4 + 12, 20 + 12}},
        {true, TGlyphLayout::glyRight, {40 + 16 + 4 + 12, 20 + 12}},
        {true, TGlyphLayout::glyTop, {40 + 12, 13 + 20 + 4 + 12}},
        {true, TGlyphLayout::glyBottom, {40 + 12, 13 + 20 + 4 + 12}},
    };
    for (const Case& c : cases) {
        SIZE size = FlatButtonContentSize(text, image, c.hasImage, c.layout, 4);
        EXPECT_EQ(size.cx, c.expected.cx) << static_cast<int>(c.layout) << c.hasImage;
        EXPECT_EQ(size.cy, c.expected.cy) << static_cast<int>(c.layout) << c.hasImage;
    }
}

class FlatSplitterTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(0, 0, 400, 200);
        pane = new TPanel(form);
        pane->SetParent(form);
        pane->SetWidth(100);
        pane->SetAlign(TAlign::alLeft);
        splitter = new TFlatSplitter(form);
        splitter->SetParent(form);
        splitter->SetLeft(100);
        auto* rest = new TPanel(form);
        rest->SetParent(form);
        rest->SetAlign(TAlign::alClient);
        ActivateForm(form);
        ASSERT_EQ(splitter->Left(), 100);
    }
    // Each drag starts at another height, so that two presses never make a
    // double click.
    POINT SplitterPoint(int dx = 0, int y = 50)
    {
        return ScreenPointOf(form->Handle(), 101 + dx, y);
    }

    TPanel* pane = nullptr;
    TFlatSplitter* splitter = nullptr;
};

TEST_F(FlatSplitterTest, DragResizesThePaneWithinItsLimits)
{
    const int room = form->ClientWidth() - splitter->MinSize() - splitter->Width();
    struct Case
    {
        int dx;
        int expected;
    } cases[] = {
        {-60, 40},
        {40, 140},
        {280, room}, // the other side keeps MinSize
        {-75, 0},    // at or below MinSize the pane snaps shut
    };
    int y = 10;
    for (const Case& c : cases) {
        pane->SetWidth(100);
        PumpMessages();
        y += 30;
        RealDrag(SplitterPoint(0, y), {SplitterPoint(c.dx / 2, y), SplitterPoint(c.dx, y)});
        EXPECT_EQ(pane->Width(), c.expected) << c.dx;
        EXPECT_FALSE(splitter->Dragging());
    }
}

TEST_F(FlatSplitterTest, EscapeEndsTheDragKeepingTheSizeReached)
{
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    MouseMessage(form, WM_LBUTTONDOWN, splitter, 1, 50, MK_LBUTTON);
    EXPECT_EQ(splitter->PaintState(), TFlatPaintState::Down);
    MouseMessage(form, WM_MOUSEMOVE, splitter, 31, 50, MK_LBUTTON);
    ASSERT_EQ(pane->Width(), 130);
    PressKey(form->Handle(), VK_ESCAPE);
    EXPECT_FALSE(splitter->Dragging());
    EXPECT_EQ(pane->Width(), 130);
    EXPECT_EQ(moved, 2) << "once for the size the move gave, once for the end";
    EXPECT_NE(splitter->PaintState(), TFlatPaintState::Down);
}

TEST_F(FlatSplitterTest, OnMovedFollowsEveryNewSizeOfTheDragAndItsRelease)
{
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    bool refuse = false;
    splitter->OnCanResize = [&](TObject*, int&, bool& accept) { accept = !refuse; };
    struct Step
    {
        const char* name;
        int dx;      // the mouse from where it was pressed
        bool refuse; // OnCanResize refuses the size
        int width;   // the pane's width afterwards
        int moved;   // OnMoved so far
    };
    const Step steps[] = {
        {"a new size", 20, false, 120, 1},
        {"the same size", 20, false, 120, 1},
        {"another size", 40, false, 140, 2},
        {"a refused size", 60, true, 140, 2},
        {"back to the size reached", 40, false, 140, 2},
    };
    // The splitter moves with the pane: the mouse is given on its client.
    auto onSplitter = [&](int dx) { return 101 + dx - splitter->Left(); };
    MouseMessage(form, WM_LBUTTONDOWN, splitter, onSplitter(0), 50, MK_LBUTTON);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        refuse = step.refuse;
        MouseMessage(form, WM_MOUSEMOVE, splitter, onSplitter(step.dx), 50, MK_LBUTTON);
        EXPECT_EQ(pane->Width(), step.width);
        EXPECT_EQ(moved, step.moved);
    }
    MouseMessage(form, WM_LBUTTONUP, splitter, onSplitter(40), 50, 0);
    EXPECT_FALSE(splitter->Dragging());
    EXPECT_EQ(moved, 3) << "the release";
}

TEST_F(FlatSplitterTest, HoverShowsTheHotStateAndLeavingClearsIt)
{
    MouseMessage(form, WM_MOUSEMOVE, splitter, 1, 50, 0);
    EXPECT_EQ(splitter->PaintState(), TFlatPaintState::Over);
    MouseMessage(form, WM_MOUSEMOVE, splitter, 100, 50, 0);
    EXPECT_EQ(splitter->PaintState(), TFlatPaintState::Normal);
}

TEST_F(FlatSplitterTest, ClassicPaintingFillsWithTheItemColourInsideAMixedBorder)
{
    SetSkinSysParam(2, 2);
    SkinThemeManager()->Refresh();
    splitter->SetWidth(6);
    PumpMessages();
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(form->ClientWidth(), form->ClientHeight());
    form->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    auto pixel = [&](int x, int y) {
        return static_cast<DWORD*>(bitmap.ScanLine(y))[x] & 0xFFFFFF;
    };
    TColor face = GetSysColor(COLOR_BTNFACE);
    TColor border = MixTwoColors(face, GetSysColor(COLOR_BTNSHADOW), 50);
    EXPECT_EQ(pixel(splitter->Left(), 50), PixelOfColor(border) & 0xFFFFFF);
    EXPECT_EQ(pixel(splitter->Left() + 2, 50), PixelOfColor(face) & 0xFFFFFF);
}

class FlatButtonTest : public FormFixture
{
protected:
    TFlatButton* Place(int left, int group = 0, TWinControl* parent = nullptr)
    {
        auto* button = new TFlatButton(form);
        button->SetParent(parent ? parent : form);
        button->SetBounds(left, 8, 75, 25);
        button->SetCaption("OK");
        button->SetCheckable(true);
        button->SetGroupIndex(group);
        return button;
    }
    POINT Centre(TFlatButton* b) { return ScreenPointOf(b->Handle(), 37, 12); }
};

TEST_F(FlatButtonTest, ClicksCheckOneButtonOfAGroupAndAllowAllUpReleasesIt)
{
    TFlatButton* a = Place(8, 1);
    TFlatButton* b = Place(90, 1);
    TFlatButton* other = Place(170, 2);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 60, 200, 40);
    TFlatButton* elsewhere = Place(8, 1, panel);
    ActivateForm(form);
    other->SetChecked(true);
    elsewhere->SetChecked(true);
    int changes = 0;
    a->OnChange = [&](TObject*) { ++changes; };

    RealClick(Centre(a));
    EXPECT_TRUE(a->Checked());
    RealClick(Centre(b));
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(other->Checked()) << "another group";
    EXPECT_TRUE(elsewhere->Checked()) << "another parent";

    RealClick(Centre(b));
    EXPECT_TRUE(b->Checked()) << "without AllowAllUp a checked button stays down";
    b->SetAllowAllUp(true);
    RealClick(Centre(b));
    EXPECT_FALSE(b->Checked());
}

TEST_F(FlatButtonTest, AButtonThatIsNotCheckableNeverStaysChecked)
{
    TFlatButton* a = Place(8);
    a->SetCheckable(false);
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    ActivateForm(form);
    RealClick(Centre(a));
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(FlatButtonTest, MouseStatesFollowHoverAndPress)
{
    TFlatButton* a = Place(8);
    ActivateForm(form);
    SendMessageA(a->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(a->PaintState(), TFlatPaintState::Over);
    RealButtonDown(Centre(a));
    EXPECT_EQ(a->PaintState(), TFlatPaintState::Down);
    EXPECT_EQ(FocusedWindow(), a->Handle());
    RealButtonUp(Centre(a));
    EXPECT_NE(a->PaintState(), TFlatPaintState::Down);
    EXPECT_TRUE(a->Checked());
    MouseMessage(form, WM_MOUSEMOVE, form, 300, 100, 0);
    EXPECT_EQ(a->PaintState(), TFlatPaintState::Normal);
}

TEST_F(FlatButtonTest, SpacePressesTheFocusedButton)
{
    TFlatButton* a = Place(8);
    TFlatButton* b = Place(90);
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    ActivateForm(form);
    a->SetFocus();
    PressKey(a->Handle(), VK_SPACE);
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_NE(a->PaintState(), TFlatPaintState::Down);
}

TEST_F(FlatButtonTest, AutoSizeFitsTheCaptionInTheButtonsFont)
{
    TFlatButton* a = Place(8);
    a->SetCaption("A longer caption");
    a->SetAutoSize(true);
    TBitmap bitmap;
    bitmap.Canvas()->Font()->Assign(a->Font());
    SIZE text = bitmap.Canvas()->TextExtent("A longer caption");
    EXPECT_EQ(a->Width(), text.cx + 12);
    EXPECT_EQ(a->Height(), text.cy + 12);
    a->SetCaption("A");
    EXPECT_LT(a->Width(), text.cx);
}
