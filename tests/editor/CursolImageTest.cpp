// The cursor-aware image on a real form: enter and leave from mouse messages
// sent to its parent, Inside, a captured drag that runs off the image, and
// the wheel and paint notifications.
#include "editor/CursolImage.h"

#include "classlib/Form.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

class CursolImageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(40, 40, 300, 200);
        image = new TCursolImage(form);
        image->SetBounds(20, 30, 100, 50);
        image->SetParent(form);
        form->HandleNeeded();
    }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }
    void Listen()
    {
        image->OnMouseEnter = [this](TObject*) { log.push_back("enter"); };
        image->OnMouseLeave = [this](TObject*) { log.push_back("leave"); };
    }
    void Send(UINT msg, int x, int y, WPARAM keys = 0)
    {
        SendMessageA(form->WindowHandle(), msg, keys, MAKELPARAM(x, y));
    }

    TForm* form = nullptr;
    TCursolImage* image = nullptr;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(CursolImageTest, InsideFollowsTheMouseBetweenEnterAndLeave)
{
    Listen();
    EXPECT_FALSE(image->Inside());
    Send(WM_MOUSEMOVE, 30, 40);
    EXPECT_TRUE(image->Inside());
    Send(WM_MOUSEMOVE, 35, 45);
    Send(WM_MOUSEMOVE, 5, 5);
    EXPECT_FALSE(image->Inside());
    Send(WM_MOUSEMOVE, 50, 50);
    SendMessageA(form->WindowHandle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(image->Inside());
    EXPECT_EQ(log, (Log{"enter", "leave", "enter", "leave"}));
}

TEST_F(CursolImageTest, WithoutBothEventsInsideStaysFalse)
{
    image->OnMouseLeave = [this](TObject*) { log.push_back("leave"); };
    Send(WM_MOUSEMOVE, 30, 40);
    EXPECT_FALSE(image->Inside());
    Send(WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(log, (Log{"leave"}));
}

TEST_F(CursolImageTest, ACapturedDragReportsLeavingAndReenteringOnce)
{
    Listen();
    std::vector<int> moves;
    image->OnMouseMove = [&](TObject*, TShiftState, int x, int) { moves.push_back(x); };
    Send(WM_MOUSEMOVE, 30, 40);
    Send(WM_LBUTTONDOWN, 30, 40, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 150, 40, MK_LBUTTON); // right of the image, still captured
    EXPECT_FALSE(image->Inside());
    Send(WM_MOUSEMOVE, 60, 40, MK_LBUTTON);
    EXPECT_TRUE(image->Inside());
    Send(WM_MOUSEMOVE, 10, 40, MK_LBUTTON);
    Send(WM_LBUTTONUP, 10, 40);
    Send(WM_MOUSEMOVE, 8, 40); // over the form: no second leave
    Send(WM_MOUSEMOVE, 40, 40);
    EXPECT_EQ(log, (Log{"enter", "leave", "enter", "leave", "enter"}));
    EXPECT_EQ(moves, (std::vector<int>{10, 130, 40, -10, 20}));
}

TEST_F(CursolImageTest, TheWheelNotifiesItsOwner)
{
    int wheels = 0;
    image->OnMouseWheel = [&](TObject* sender) {
        EXPECT_EQ(sender, image);
        ++wheels;
    };
    image->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(wheels, 1);
}

TEST_F(CursolImageTest, EveryPaintOnTheScreenNotifiesItsOwner)
{
    int paints = 0;
    image->OnPaint = [&](TObject* sender) {
        EXPECT_EQ(sender, image);
        ++paints;
    };
    form->Show();
    UpdateWindow(form->WindowHandle());
    EXPECT_EQ(paints, 1);
    image->Canvas()->SetPixel(0, 0, clRed); // drawing on the bitmap repaints the image
    UpdateWindow(form->WindowHandle());
    EXPECT_EQ(paints, 2);
    UpdateWindow(form->WindowHandle()); // nothing left to paint
    EXPECT_EQ(paints, 2);
}

// A release lets the mouse go before it reports, so only a capture taken by
// someone else tells the image that no release will come.
TEST_F(CursolImageTest, OnlyACaptureTakenAwayReportsItsLoss)
{
    std::vector<std::string> events;
    image->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
        events.push_back("up");
    };
    image->OnCaptureLost = [&](TObject*) { events.push_back("lost"); };
    Send(WM_LBUTTONDOWN, 30, 40, MK_LBUTTON);
    Send(WM_LBUTTONUP, 30, 40);
    EXPECT_EQ(events, (Log{"up"}));
    EXPECT_EQ(GetCapture(), nullptr);

    Send(WM_LBUTTONDOWN, 30, 40, MK_LBUTTON);
    ASSERT_EQ(GetCapture(), form->WindowHandle());
    TForm* other = new TForm(nullptr);
    SetCapture(other->Handle());
    EXPECT_EQ(events, (Log{"up", "lost"}));
    ReleaseCapture();
    delete other;
    EXPECT_EQ(events, (Log{"up", "lost"}));
}

} // namespace
