// The popup animation on real windows: it ends, gives the window back its
// plain region or style, and ends early when the mouse moves onto it.
#include "BarTestHost.h"

#include "toolbar/BarAnim.h"
#include "toolbar/BarCommon.h"

#include "classlib/Seams.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace bar_testing;

namespace {

// A hidden top-level window that prints itself and draws the frames, as a
// popup window does.
class TAnimatedPopup : public TCustomControl
{
public:
    TAnimatedPopup() : TCustomControl(nullptr)
    {
        SetVisible(false);
        SetBounds(100, 100, 200, 150);
    }
    int Done = 0;

    void WndProc(TMessage& message) override
    {
        if (!AnswerPopupMessage(this, message, Done))
            TCustomControl::WndProc(message);
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TCustomControl::CreateParams(params);
        params.Style = WS_POPUP;
        params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
        params.WndParent = nullptr;
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clMenu);
        Canvas()->FillRect(ClientRect());
    }
};

class BarAnimation : public testing::Test
{
protected:
    void SetUp() override
    {
        SetCursorPos(5, 5); // away from the popup
        popup = new TAnimatedPopup;
        window = popup->Handle();
    }
    void TearDown() override
    {
        BarPopupRevealCancel(nullptr);
        FreeAndNil(popup);
        testing_support::PumpMessages();
    }
    bool HasRegion()
    {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        bool has = GetWindowRgn(window, region) != ERROR;
        DeleteObject(region);
        return has;
    }
    bool Layered() { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
    TAnimatedPopup* popup = nullptr;
    HWND window = nullptr;
};

TEST_F(BarAnimation, ARollEndsShownWithoutARegion)
{
    BarPopupRevealBegin(window, false, badRightward | badDownward);
    EXPECT_TRUE(HasRegion());
    EXPECT_TRUE(IsWindowVisible(window));
    ASSERT_TRUE(testing_support::PumpUntil([&] { return popup->Done == 1; }));
    EXPECT_FALSE(BarPopupRevealRunning(window));
    EXPECT_FALSE(HasRegion());
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(BarAnimation, AFadeEndsWithoutTheLayeredStyle)
{
    ASSERT_NE(BoundUpdateLayeredWindow(), nullptr);
    BarPopupRevealBegin(window, true, badDownward);
    EXPECT_TRUE(Layered());
    ASSERT_TRUE(testing_support::PumpUntil([&] { return popup->Done == 1; }));
    EXPECT_FALSE(Layered());
    EXPECT_FALSE(HasRegion());
}

TEST_F(BarAnimation, TheMouseMovingOntoThePopupEndsItAtOnce)
{
    // With the clock stopped, only the mouse can end the animation.
    Seams().TickCount = [] { return DWORD(1000); };
    BarPopupRevealBegin(window, true, badDownward);
    SetCursorPos(150, 150);
    ASSERT_TRUE(testing_support::PumpUntil([&] { return popup->Done == 1; }));
    EXPECT_FALSE(Layered());
}

TEST_F(BarAnimation, ANewAnimationOrACancelEndsTheRunningOne)
{
    Seams().TickCount = [] { return DWORD(1000); };
    BarPopupRevealBegin(window, false, badUpward);
    auto* other = new TAnimatedPopup;
    BarPopupRevealBegin(other->Handle(), false, badUpward);
    EXPECT_FALSE(BarPopupRevealRunning(window));
    EXPECT_FALSE(HasRegion());
    BarPopupRevealCancel(window); // not the running one: nothing
    EXPECT_TRUE(BarPopupRevealRunning(other->Handle()));
    BarPopupRevealCancel(nullptr);
    EXPECT_FALSE(BarPopupRevealRunning(other->Handle()));
    testing_support::PumpUntil([&] { return popup->Done == 1 && other->Done == 1; });
    EXPECT_EQ(popup->Done, 1);
    EXPECT_EQ(other->Done, 1);
    FreeAndNil(other);
}

} // namespace
