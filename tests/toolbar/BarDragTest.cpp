// The drag and resize loops driven from inside: real mouse input through the
// system's queue where key state and capture routing matter, posted input
// elsewhere, and every way a loop ends.
#include "DockTestHost.h"

#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <functional>

using namespace bar_testing;
using namespace testing_support;

namespace {

bool CursorIs(LPCSTR id)
{
    return GetCursor() == LoadCursorA(nullptr, id);
}

POINT Offset(POINT p, int dx, int dy)
{
    return POINT{p.x + dx, p.y + dy};
}

class BarDragTest : public DockFormTest
{
protected:
    // Presses the left button through the system's queue and pumps until
    // the drag it starts (which the script saw) has ended.
    void PressAndPump(TBarCustomDockableWindow* bar, POINT at)
    {
        ModalScript::RealPress(at);
        PumpUntil([&] { return dragSeen && !bar->DragActive(); });
    }
    // A script step that waits until the drag runs.
    std::function<bool()> DragRuns(TBarCustomDockableWindow* bar)
    {
        return [this, bar] { return dragSeen = bar->DragActive(); };
    }
    // A point on the caption of a floating window's frame.
    static POINT CaptionPoint(TBarCustomDockableWindow* bar)
    {
        TRect r = ScreenRect(bar->FloatingParent());
        return POINT{r.left + 20, r.top + GetSystemMetrics(SM_CYSIZEFRAME) + 6};
    }
    // Starts a drag from a floating window's caption.
    static void DragFromCaption(TBarCustomDockableWindow* bar)
    {
        POINT caption = CaptionPoint(bar);
        SetCursorPos(caption.x, caption.y);
        TPoint client = bar->ScreenToClient(caption);
        bar->StartDragLoop(client.x, client.y);
    }
    TTestBar* FloatingBar(POINT origin)
    {
        TTestBar* bar = AddBar(top, 100, 22, 0, 0, "Floater");
        bar->SetFloatOrigin(TPoint(origin.x, origin.y));
        bar->SetFloating(true);
        PumpMessages();
        return bar;
    }

    bool dragSeen = false;
};

TEST_F(BarDragTest, ARealDragCarriesAWindowThroughFloatingIntoAnotherDock)
{
    TTestBar* bar = AddBar(top, 100, 22, 0, 0, "Bar");
    const HWND handle = bar->Handle();
    const POINT grab = HandlePoint(bar);
    const TRect target = ScreenRect(bottom);
    const POINT overBottom{target.left + 150, target.top - 4};
    bool floatedOnTheWay = false;
    ModalScript script;
    script.WaitUntil(DragRuns(bar), "the drag starts")
        .Then([&] { ModalScript::RealMove(Offset(grab, 40, 150)); })
        .WaitUntil([&] { return bar->Floating(); }, "the window floats")
        .Then([&] {
            floatedOnTheWay = IsWindowVisible(bar->FloatingParent()->WindowHandle()) != FALSE;
            ModalScript::RealMove(overBottom);
        })
        .WaitUntil([&] { return bar->CurrentDock() == bottom; }, "the window docks below")
        .Then([&] { ModalScript::RealRelease(overBottom); });
    script.Run([&] { PressAndPump(bar, grab); });
    EXPECT_TRUE(floatedOnTheWay);
    EXPECT_EQ(bar->CurrentDock(), bottom);
    EXPECT_EQ(bar->LastDock(), bottom);
    EXPECT_EQ(bar->Handle(), handle);
    EXPECT_EQ(bar->OwnFrame(), nullptr);
    EXPECT_FALSE(bar->DragActive());
    EXPECT_EQ(top->Height(), 0);
    EXPECT_EQ(bottom->Height(), 26);
    EXPECT_EQ(bar->PlacedRow(), 0);
}

TEST_F(BarDragTest, ARealDragBelowARowMakesANewRow)
{
    TTestBar* first = AddBar(top, 100, 22, 0, 0, "First");
    TTestBar* second = AddBar(top, 100, 22, 0, 200, "Second");
    const POINT grab = HandlePoint(second);
    const POINT belowRow = Offset(grab, 0, 20);
    ModalScript script;
    script.WaitUntil(DragRuns(second), "the drag starts")
        .Then([&] { ModalScript::RealMove(belowRow); })
        .WaitUntil([&] { return second->PlacedRow() == 1; }, "a new row opens")
        .Then([&] { ModalScript::RealRelease(belowRow); });
    script.Run([&] { PressAndPump(second, grab); });
    EXPECT_EQ(second->CurrentDock(), top);
    EXPECT_EQ(first->PlacedRow(), 0);
    EXPECT_EQ(second->PlacedRow(), 1);
    EXPECT_EQ(second->DockRow(), 1);
    EXPECT_EQ(top->Height(), 52);
}

TEST_F(BarDragTest, EscapeEndsAnOutlineDragWithTheWindowWhereItWas)
{
    TTestBar* bar = AddBar(top, 100, 22);
    bar->SetSmoothDrag(false);
    const TRect before = bar->BoundsRect();
    const POINT start = ScreenPointOf(bar->Handle(), 10, 10);
    bool stayedDuringDrag = false;
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(start, 100, 200)); })
        .Then([&] { ModalScript::MoveMouse(Offset(start, 150, 250)); })
        .Then([&] {
            stayedDuringDrag = bar->CurrentDock() == top && bar->BoundsRect() == before;
            ModalScript::PressKey(VK_ESCAPE);
        });
    SetCursorPos(start.x, start.y);
    script.Run([&] { EXPECT_TRUE(bar->StartDragLoop(10, 10)); });
    EXPECT_TRUE(stayedDuringDrag);
    EXPECT_EQ(bar->CurrentDock(), top);
    EXPECT_EQ(bar->BoundsRect(), before);
    EXPECT_EQ(bar->OwnFrame(), nullptr);
    EXPECT_FALSE(bar->DragActive());
}

TEST_F(BarDragTest, AnOutlineDragMovesTheWindowOnlyWhenReleased)
{
    TTestBar* bar = AddBar(top, 100, 22);
    bar->SetSmoothDrag(false);
    const POINT start = ScreenPointOf(bar->Handle(), 10, 10);
    const TRect target = ScreenRect(bottom);
    const POINT overBottom{target.left + 150, target.top - 4};
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(overBottom); })
        .Then([&] { EXPECT_EQ(bar->CurrentDock(), top); })
        .Then([&] { ModalScript::ReleaseButton(overBottom); });
    SetCursorPos(start.x, start.y);
    script.Run([&] { bar->StartDragLoop(10, 10); });
    EXPECT_EQ(bar->CurrentDock(), bottom);
}

TEST_F(BarDragTest, ALostCaptureEndsASmoothDragWhereTheWindowLastWas)
{
    TTestBar* bar = AddBar(top, 100, 22);
    const POINT start = ScreenPointOf(bar->Handle(), 10, 10);
    const TRect target = ScreenRect(bottom);
    const POINT overBottom{target.left + 150, target.top - 4};
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(start, 60, 200)); })
        .Then([&] { EXPECT_TRUE(bar->Floating()); })
        .Then([&] { ModalScript::MoveMouse(overBottom); })
        .Then([&] {
            EXPECT_EQ(bar->CurrentDock(), bottom);
            // Whatever takes the mouse cancels the drag.
            ReleaseCapture();
        });
    SetCursorPos(start.x, start.y);
    script.Run([&] { EXPECT_TRUE(bar->StartDragLoop(10, 10)); });
    EXPECT_EQ(bar->CurrentDock(), bottom);
    EXPECT_EQ(bar->OwnFrame(), nullptr);
    EXPECT_FALSE(bar->DragActive());
    EXPECT_FALSE(bar->LiveDragActive());
}

TEST_F(BarDragTest, ACancelledSmoothDragOfAFloatingWindowLeavesItMoved)
{
    TTestBar* bar = FloatingBar(POINT{300, 300});
    const POINT caption = CaptionPoint(bar);
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(caption, 50, 30)); }).Then([&] {
        ModalScript::PressKey(VK_ESCAPE);
    });
    script.Run([&] { DragFromCaption(bar); });
    ASSERT_TRUE(bar->Floating());
    EXPECT_EQ(bar->FloatingParent()->Left(), 350);
    EXPECT_EQ(bar->FloatingParent()->Top(), 330);
    EXPECT_EQ(bar->FloatOrigin(), TPoint(350, 330));
}

TEST_F(BarDragTest, HoldingCtrlKeepsTheWindowFloatingUntilReleased)
{
    TTestBar* bar = FloatingBar(POINT{300, 200});
    const TRect target = ScreenRect(bottom);
    const POINT overBottom{target.left + 150, target.top - 4};
    bool floatedWithCtrl = false;
    ModalScript script;
    script.Then([&] { ModalScript::RealKey(VK_CONTROL, true); })
        .Then([&] { ModalScript::RealMove(overBottom); })
        .Then([&] { floatedWithCtrl = bar->Floating(); })
        .Then([&] { ModalScript::RealKey(VK_CONTROL, false); })
        .WaitUntil([&] { return bar->CurrentDock() == bottom; }, "the window docks at once")
        .Then([&] { ModalScript::RealRelease(overBottom); });
    script.Run([&] { DragFromCaption(bar); });
    EXPECT_TRUE(floatedWithCtrl);
    EXPECT_EQ(bar->CurrentDock(), bottom);
}

TEST_F(BarDragTest, AWindowShiftsAlongAnOverflowingRowOnlyPastTenPixels)
{
    top->SetLimitToOneRow(true);
    TTestBar* first = AddBar(top, 400, 22, 0, 0);
    first->SetShrink(TBarShrinkMode::tbsmChevron, 60);
    TTestBar* second = AddBar(top, 400, 22, 0, 300);
    second->SetShrink(TBarShrinkMode::tbsmChevron, 60);
    top->LayOutRows();
    const POINT start = ScreenPointOf(second->Handle(), 10, 10);
    bool shiftedEarly = true, splitCursor = false;
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(start, 5, 0)); })
        .Then([&] { shiftedEarly = second->RowShifting(); })
        .Then([&] { ModalScript::MoveMouse(Offset(start, 12, 0)); })
        .Then([&] { splitCursor = second->RowShifting() && CursorIs(IDC_SIZEWE); })
        .Then([&] { ModalScript::PressKey(VK_ESCAPE); });
    SetCursorPos(start.x, start.y);
    script.Run([&] { second->StartDragLoop(10, 10); });
    EXPECT_FALSE(shiftedEarly);
    EXPECT_TRUE(splitCursor);
    EXPECT_FALSE(second->RowShifting());
}

TEST_F(BarDragTest, AWindowThatCannotFloatShowsNoAndStaysWhenDraggedAway)
{
    TTestBar* bar = AddBar(top, 100, 22);
    bar->SetDockMode(TBarDockMode::dmCannotFloat);
    const TRect before = bar->BoundsRect();
    const POINT start = ScreenPointOf(bar->Handle(), 10, 10);
    const POINT middle = Offset(start, 200, 200);
    bool refused = false;
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(middle); })
        .Then([&] { refused = CursorIs(IDC_NO) && bar->CurrentDock() == top; })
        .Then([&] { ModalScript::ReleaseButton(middle); });
    SetCursorPos(start.x, start.y);
    script.Run([&] { bar->StartDragLoop(10, 10); });
    EXPECT_TRUE(refused);
    EXPECT_EQ(bar->CurrentDock(), top);
    EXPECT_EQ(bar->BoundsRect(), before);
}

TEST_F(BarDragTest, ADockThatRefusesIsPassedOver)
{
    TTestBar* bar = FloatingBar(POINT{300, 200});
    int asked = 0;
    bottom->OnRequestDock =
        TBarRequestDockEvent([&](TObject* sender, TBarCustomDockableWindow* window, bool& accept) {
            EXPECT_EQ(sender, bottom);
            EXPECT_EQ(window, bar);
            ++asked;
            accept = false;
        });
    const TRect target = ScreenRect(bottom);
    const POINT overBottom{target.left + 150, target.top - 4};
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(overBottom); }).Then([&] {
        ModalScript::ReleaseButton(overBottom);
    });
    script.Run([&] { DragFromCaption(bar); });
    EXPECT_GT(asked, 0);
    EXPECT_TRUE(bar->Floating());
}

TEST_F(BarDragTest, ADockFreedDuringADragIsNeverTouchedAgain)
{
    TTestBar* bar = AddBar(top, 100, 22);
    const POINT start = ScreenPointOf(bar->Handle(), 10, 10);
    const TRect target = ScreenRect(bottom);
    const POINT overBottom{target.left + 150, target.top - 4};
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(overBottom); })
        .Then([&] {
            EXPECT_EQ(bar->CurrentDock(), bottom);
            delete left;
            left = nullptr;
        })
        .Then([&] { ModalScript::MoveMouse(Offset(start, 30, 0)); })
        .Then([&] { ModalScript::ReleaseButton(Offset(start, 30, 0)); });
    SetCursorPos(start.x, start.y);
    script.Run([&] { bar->StartDragLoop(10, 10); });
    EXPECT_EQ(bar->CurrentDock(), top);
}

TEST_F(BarDragTest, AWindowFreedDuringItsDragEndsTheLoop)
{
    TTestBar* bar = AddBar(top, 100, 22);
    const POINT start = ScreenPointOf(bar->Handle(), 10, 10);
    bool alive = true;
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(start, 60, 200)); }).Then([&] { delete bar; });
    SetCursorPos(start.x, start.y);
    script.Run([&] { alive = bar->StartDragLoop(10, 10); });
    EXPECT_FALSE(alive);
    EXPECT_TRUE(top->MemberWindows().empty());
}

TEST_F(BarDragTest, EveryLoopEndsOnQuitAndPostsItAgain)
{
    struct LoopCase
    {
        const char* name;
        std::function<void(TTestBar*)> prepare;
        std::function<void(TTestBar*)> start;
    };
    const LoopCase cases[] = {
        {"drag", [](TTestBar*) {}, [](TTestBar* bar) { bar->StartDragLoop(10, 10); }},
        {"size", [](TTestBar* bar) { bar->SetFloating(true); },
         [](TTestBar* bar) { bar->StartSizeLoop(1); }},
        {"close button", [](TTestBar* bar) { bar->SetCloseButtonWhenDocked(true); },
         [](TTestBar* bar) {
             RECT r;
             GetWindowRect(bar->Handle(), &r);
             SendMessageA(bar->Handle(), WM_NCLBUTTONDOWN, kBarHitCloseButton,
                          MAKELPARAM(r.left + 5, r.top + 5));
         }},
    };
    for (const LoopCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTestBar* bar = AddBar(top, 100, 22);
        c.prepare(bar);
        PumpMessages();
        ModalScript script;
        script.Then([] { PostQuitMessage(7); });
        script.Run([&] { c.start(bar); });
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 7u);
        EXPECT_TRUE(bar->Visible());
        EXPECT_FALSE(bar->DragActive());
        delete bar;
    }
}

TEST_F(BarDragTest, ResizingStopsAtTheMinimumClientSize)
{
    TTestBar* bar = FloatingBar(POINT{300, 200});
    bar->SetLimits(60, 40);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    const TRect before = ScreenRect(frame);
    const POINT edge{before.right - 2, before.top + before.Height() / 2};
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(edge, -300, 0)); })
        .Then([&] { EXPECT_EQ(frame->ClientWidth(), 60); })
        .Then([&] { ModalScript::MoveMouse(Offset(edge, 25, 0)); })
        .Then([&] { ModalScript::ReleaseButton(Offset(edge, 25, 0)); });
    SetCursorPos(edge.x, edge.y);
    script.Run([&] { bar->StartSizeLoop(1); });
    EXPECT_EQ(frame->ClientWidth(), 125);
    EXPECT_EQ(bar->Width(), 125);
    EXPECT_EQ(frame->Left(), before.left);
}

TEST_F(BarDragTest, EscapeEndsAnOutlineResizeWithTheFrameUnchanged)
{
    TTestBar* bar = FloatingBar(POINT{300, 200});
    bar->SetSmoothDrag(false);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    const TRect before = ScreenRect(frame);
    const POINT corner{before.left + 1, before.top + 1};
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(corner, -40, -30)); })
        .Then([&] { EXPECT_EQ(ScreenRect(frame), before); })
        .Then([&] { ModalScript::PressKey(VK_ESCAPE); });
    SetCursorPos(corner.x, corner.y);
    script.Run([&] { bar->StartSizeLoop(3); });
    EXPECT_EQ(ScreenRect(frame), before);
}

TEST_F(BarDragTest, ASizingStepMayAdjustTheFrame)
{
    TTestBar* bar = FloatingBar(POINT{300, 200});
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    const TRect before = ScreenRect(frame);
    const TRect snapped(before.left, before.top, before.right + 40, before.bottom);
    bar->SetSizingStepOverride(&snapped);
    const POINT edge{before.right - 2, before.top + before.Height() / 2};
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(Offset(edge, 7, 0)); }).Then([&] {
        ModalScript::ReleaseButton(Offset(edge, 7, 0));
    });
    SetCursorPos(edge.x, edge.y);
    script.Run([&] { bar->StartSizeLoop(1); });
    EXPECT_EQ(ScreenRect(frame), snapped);
}

} // namespace
