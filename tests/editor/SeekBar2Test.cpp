// The seek bar on a real form: property setters, the fill's pixels, and
// clicks and drags sent to the form as mouse messages.
#include "editor/SeekBar2.h"

#include "classlib/Form.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

constexpr int kLeft = 10;
constexpr int kTop = 10;
constexpr TColor kTrack = 0xA4A0A0;

class SeekBar2Test : public testing::Test
{
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(40, 40, 300, 200);
        bar = new TSeekBar2(form);
        bar->SetBounds(kLeft, kTop, 102, 20); // the fill covers columns 1 .. 100
        bar->SetParent(form);
        form->HandleNeeded();
    }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }

    TColor Pixel(int x, int y) { return bar->Picture()->Canvas()->Pixel(x, y); }
    // The last filled column of the strip (0 when none).
    int FillEnd()
    {
        int end = 0;
        while (end + 1 <= 100 && Pixel(end + 1, 9) == bar->BarColor())
            ++end;
        return end;
    }
    void Send(UINT msg, int x, WPARAM keys = 0)
    {
        SendMessageA(form->WindowHandle(), msg, keys, MAKELPARAM(kLeft + x, kTop + 10));
    }
    void AcceptChanges()
    {
        bar->OnValueChange = [this](TObject*, int value, bool& enable) {
            offered.push_back(value);
            enable = true;
        };
    }

    TForm* form = nullptr;
    TSeekBar2* bar = nullptr;
    std::vector<int> offered;
};

TEST_F(SeekBar2Test, StartsEmptyWithATrackAndATransparentSurround)
{
    EXPECT_EQ(bar->Maxvalue(), 100);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(bar->BarColor(), 0x91AF91);
    EXPECT_FALSE(bar->IsDragging());
    EXPECT_TRUE(bar->Transparent());
    EXPECT_EQ(bar->Picture()->Width(), 102);
    EXPECT_EQ(Pixel(0, 7), kTrack);
    EXPECT_EQ(Pixel(101, 9), kTrack);
    EXPECT_EQ(Pixel(50, 11), kTrack);
    EXPECT_EQ(Pixel(1, 8), clWhite);
    EXPECT_EQ(Pixel(100, 10), clWhite);
    EXPECT_EQ(Pixel(50, 12), bar->Picture()->TransparentColor());
    EXPECT_EQ(FillEnd(), 0);
}

TEST_F(SeekBar2Test, ValueFillsTheStripAndShrinkingClearsTheRest)
{
    bar->SetValue(50);
    EXPECT_EQ(FillEnd(), 50);
    EXPECT_EQ(Pixel(51, 9), clWhite);
    EXPECT_EQ(bar->Position(), 50);
    bar->SetValue(20);
    EXPECT_EQ(FillEnd(), 20);
    EXPECT_EQ(Pixel(21, 10), clWhite);
    bar->SetValue(500);
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(FillEnd(), 100);
    EXPECT_EQ(Pixel(101, 9), kTrack);
    bar->SetValue(-3);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(FillEnd(), 0);
    bar->SetBarColor(0x0000FF);
    bar->SetValue(10);
    EXPECT_EQ(Pixel(10, 9), 0x0000FF);
}

TEST_F(SeekBar2Test, PositionSetsTheValueWithinTheStrip)
{
    bar->SetMaxvalue(1000);
    bar->SetPosition(30);
    EXPECT_EQ(bar->Value(), 300);
    EXPECT_EQ(FillEnd(), 30);
    bar->SetPosition(500);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(bar->Value(), 1000);
    bar->SetPosition(10);
    EXPECT_EQ(FillEnd(), 10);
    EXPECT_EQ(Pixel(60, 9), clWhite);
}

TEST_F(SeekBar2Test, MaximumCarriesTheValueDownAndNegativeBecomesOne)
{
    bar->SetValue(80);
    bar->SetMaxvalue(40);
    EXPECT_EQ(bar->Value(), 40);
    EXPECT_EQ(FillEnd(), 100);
    bar->SetMaxvalue(-5);
    EXPECT_EQ(bar->Maxvalue(), 1);
    EXPECT_EQ(bar->Value(), 1);
    bar->SetMaxvalue(0);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(FillEnd(), 0);
    EXPECT_EQ(bar->ValueAtX(50), 0);
}

TEST_F(SeekBar2Test, WithoutAHandlerClicksChangeNothing)
{
    Send(WM_LBUTTONDOWN, 60, MK_LBUTTON);
    EXPECT_TRUE(bar->IsDragging());
    Send(WM_MOUSEMOVE, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 70);
    EXPECT_FALSE(bar->IsDragging());
    EXPECT_EQ(bar->Value(), 0);
}

TEST_F(SeekBar2Test, DragsOfferValuesBeyondTheEndAndAcceptedOnesAreLimited)
{
    AcceptChanges();
    Send(WM_MOUSEMOVE, 30); // not dragging: nothing offered
    Send(WM_LBUTTONDOWN, 40, MK_LBUTTON);
    EXPECT_EQ(bar->Value(), 40);
    Send(WM_MOUSEMOVE, 150, MK_LBUTTON);
    Send(WM_LBUTTONUP, 150);
    Send(WM_MOUSEMOVE, 20);
    EXPECT_EQ(offered, (std::vector<int>{40, 150}));
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(FillEnd(), 100);
}

TEST_F(SeekBar2Test, ARefusingHandlerKeepsTheValue)
{
    bar->OnValueChange = [this](TObject*, int value, bool&) { offered.push_back(value); };
    Send(WM_LBUTTONDOWN, 25, MK_LBUTTON);
    Send(WM_LBUTTONUP, 25);
    EXPECT_EQ(offered, (std::vector<int>{25}));
    EXPECT_EQ(bar->Value(), 0);
}

TEST_F(SeekBar2Test, ResizingRedrawsAndABarWithoutRoomKeepsZero)
{
    bar->SetValue(50);
    bar->SetWidth(52);
    EXPECT_EQ(bar->Picture()->Width(), 52);
    EXPECT_EQ(FillEnd(), 25);
    EXPECT_EQ(Pixel(51, 9), kTrack);
    auto* narrow = new TSeekBar2(form);
    narrow->SetBounds(0, 100, 1, 20);
    narrow->SetPosition(125);
    EXPECT_EQ(narrow->Value(), 0);
    EXPECT_EQ(narrow->ValueAtX(5), 0);
}

} // namespace
