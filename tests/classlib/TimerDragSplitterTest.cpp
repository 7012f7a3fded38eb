#include "classlib/Application.h"
#include "classlib/DragManager.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/Panel.h"
#include "classlib/Splitter.h"
#include "classlib/Timer.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace testing_support;

namespace {

TEST(TimerTest, TicksAndStopsWhenAnotherThreadDisablesIt)
{
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));

    std::thread worker([&] { timer.SetEnabled(false); });
    worker.join();
    EXPECT_FALSE(timer.Enabled());
    PumpMessages();
    int stoppedAt = ticks;
    // A second timer measures time passing: five of its ticks, none of ours.
    TTimer clock(nullptr);
    clock.SetInterval(10);
    int clockTicks = 0;
    clock.OnTimer = [&](TObject*) { ++clockTicks; };
    ASSERT_TRUE(PumpUntil([&] { return clockTicks >= 5; }));
    EXPECT_EQ(ticks, stoppedAt);

    std::thread restarter([&] { timer.SetEnabled(true); });
    restarter.join();
    EXPECT_TRUE(PumpUntil([&] { return ticks >= stoppedAt + 2; }));
}

// A thread's timers share one window: each ticks on its own, a change
// posted for a timer freed before it arrives reaches nothing, and a timer
// made after the last one went gets a window again.
TEST(TimerTest, TimersSharingTheirThreadsWindowTickEachOnTheirOwn)
{
    auto slow = std::make_unique<TTimer>(nullptr);
    auto fast = std::make_unique<TTimer>(nullptr);
    int slowTicks = 0, fastTicks = 0;
    slow->SetEnabled(false);
    slow->SetInterval(10);
    slow->OnTimer = [&](TObject*) { ++slowTicks; };
    fast->SetInterval(10);
    fast->OnTimer = [&](TObject*) { ++fastTicks; };
    ASSERT_TRUE(PumpUntil([&] { return fastTicks >= 3; }));
    EXPECT_EQ(slowTicks, 0);

    auto gone = std::make_unique<TTimer>(nullptr);
    gone->OnTimer = [&](TObject*) { ADD_FAILURE() << "a freed timer ticked"; };
    std::thread worker([&] { gone->SetInterval(5); });
    worker.join();
    gone.reset();
    slow->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return slowTicks >= 2 && fastTicks >= 6; }));

    slow.reset();
    fast.reset();
    TTimer again(nullptr);
    again.SetInterval(10);
    int againTicks = 0;
    again.OnTimer = [&](TObject*) { ++againTicks; };
    EXPECT_TRUE(PumpUntil([&] { return againTicks >= 2; }));
}

TEST(TimerTest, AnExceptionInOnTimerReachesHandleException)
{
    TTimer timer(nullptr);
    timer.SetInterval(5);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        throw EInvalidOperation("tick failed");
    };
    std::vector<AnsiString> reported;
    Application->OnException = [&](TObject*, std::exception_ptr e) {
        reported.push_back(ExceptionMessage(e));
    };
    bool reached = PumpUntil([&] { return !reported.empty(); });
    Application->OnException = nullptr;
    ASSERT_TRUE(reached);
    EXPECT_EQ(reported[0], "tick failed");
}

class DragSplitterTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(0, 0, 400, 200);
    }
    TPanel* MakePanel(TAlign align, int width)
    {
        auto* panel = new TPanel(form);
        panel->SetWidth(width);
        panel->SetAlign(align);
        panel->SetParent(form);
        return panel;
    }
    // Sends a mouse message to the form's window at a client point.
    void Mouse(UINT msg, int x, int y, WPARAM keys = 0)
    {
        SendMessageA(form->WindowHandle(), msg, keys, MAKELPARAM(x, y));
    }
};

TEST_F(DragSplitterTest, DraggingAControlDropsItOnATargetThatAccepts)
{
    TPanel* source = MakePanel(TAlign::alLeft, 100);
    TPanel* target = MakePanel(TAlign::alClient, 0);
    std::vector<std::string> log;
    target->OnDragOver = [&](TObject*, TObject* dragged, int, int, TDragState state, bool& accept) {
        accept = dragged == source;
        log.push_back(state == TDragState::dsDragEnter   ? "enter"
                      : state == TDragState::dsDragLeave ? "leave"
                                                         : "move");
    };
    target->OnDragDrop = [&](TObject*, TObject* dragged, int x, int y) {
        log.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
    };
    source->OnEndDrag = [&](TObject*, TObject* on, int, int) {
        log.push_back(on == target ? "end on target" : "end nowhere");
    };
    ActivateForm(form);
    POINT start = {10, 10};
    ClientToScreen(form->WindowHandle(), &start);
    ScopedCursorPos cursor(start);
    source->BeginDrag(false, 5);
    ASSERT_NE(DragManagerWindow(), nullptr);
    HWND dragWindow = DragManagerWindow();
    SendMessageA(dragWindow, WM_MOUSEMOVE, 0, MAKELPARAM(start.x + 2, start.y));
    EXPECT_FALSE(DragManagerActive());
    SendMessageA(dragWindow, WM_MOUSEMOVE, 0, MAKELPARAM(start.x + 200, start.y + 20));
    EXPECT_TRUE(DragManagerActive());
    SendMessageA(dragWindow, WM_MOUSEMOVE, 0, MAKELPARAM(start.x + 210, start.y + 20));
    SendMessageA(dragWindow, WM_LBUTTONUP, 0, MAKELPARAM(start.x + 210, start.y + 20));
    EXPECT_EQ(DragManagerSource(), nullptr);
    std::vector<std::string> expected = {"enter", "move", "move", "drop 120,30", "end on target"};
    EXPECT_EQ(log, expected);
}

TEST_F(DragSplitterTest, LosingTheCaptureOrEscapeCancelsADrag)
{
    TPanel* source = MakePanel(TAlign::alLeft, 100);
    TPanel* target = MakePanel(TAlign::alClient, 0);
    int drops = 0;
    std::vector<TObject*> ends;
    target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) {
        accept = true;
    };
    target->OnDragDrop = [&](TObject*, TObject*, int, int) { ++drops; };
    source->OnEndDrag = [&](TObject*, TObject* on, int, int) { ends.push_back(on); };
    ASSERT_TRUE(ActivateForm(form));
    POINT over = {200, 50};
    ClientToScreen(form->WindowHandle(), &over);
    ScopedCursorPos cursor(over);
    source->BeginDrag(true);
    EXPECT_TRUE(source->Dragging());
    ReleaseCapture();
    EXPECT_FALSE(source->Dragging());
    source->BeginDrag(true);
    PressKey(GetFocus(), VK_ESCAPE);
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(ends, (std::vector<TObject*>{nullptr, nullptr}));
}

TEST_F(DragSplitterTest, TheSplitterResizesThePaneBeforeItWithinItsLimits)
{
    TPanel* pane = MakePanel(TAlign::alLeft, 100);
    auto* splitter = new TSplitter(form);
    splitter->SetLeft(100);
    splitter->SetParent(form);
    TPanel* rest = MakePanel(TAlign::alClient, 0);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    form->Show();
    PumpMessages();
    ASSERT_EQ(form->ClientWidth(), 400);
    ASSERT_EQ(splitter->Left(), 100);
    EXPECT_EQ(splitter->FindResizedControl(), pane);

    Mouse(WM_LBUTTONDOWN, 101, 50, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 151, 50, MK_LBUTTON);
    EXPECT_EQ(pane->Width(), 150);
    EXPECT_EQ(splitter->Left(), 150);
    EXPECT_EQ(rest->Left(), 153);
    Mouse(WM_MOUSEMOVE, 391, 50, MK_LBUTTON);
    EXPECT_EQ(pane->Width(), 400 - 30 - 103 + 100);
    Mouse(WM_LBUTTONUP, 391, 50);
    EXPECT_EQ(moved, 1);
    EXPECT_FALSE(splitter->Dragging());

    int before = pane->Width();
    Mouse(WM_LBUTTONDOWN, before + 1, 50, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 20, 50, MK_LBUTTON);
    EXPECT_EQ(pane->Width(), 0); // snapped closed below MinSize
    ReleaseCapture();
    EXPECT_FALSE(splitter->Dragging());
    EXPECT_EQ(pane->Width(), before); // a lost capture undoes the drag
    EXPECT_EQ(moved, 1);
}

} // namespace
