// Docks on a real form: their thickness, rows, bound lines, lists,
// background, the keys they pass on, and the parents they refuse.
#include "DockTestHost.h"

#include "toolbar/BarConsts.h"

#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace bar_testing;
using namespace testing_support;

namespace {

class BarDockTest : public DockFormTest
{
};

// A background that records what it is asked to paint.
class TRecordingBackground : public TBarBasicBackground
{
public:
    using TBarBasicBackground::TBarBasicBackground;
    void Draw(HDC, const TRect& DrawRect) override { Drawn.push_back(DrawRect); }
    HPALETTE PaletteHandle() override { return nullptr; }
    void RegisterChanges(const TNotifyEvent& Handler) override { Handlers.push_back(Handler); }
    void ColorsChangedNotify() override { ++ColourChanges; }
    void DetachChangeHandler(const TNotifyEvent& Handler) override
    {
        std::erase(Handlers, Handler);
    }
    bool HasBackdrop() override { return Backdrop; }

    bool Backdrop = true;
    std::vector<TRect> Drawn;
    std::vector<TNotifyEvent> Handlers;
    int ColourChanges = 0;
};

TEST_F(BarDockTest, AnEmptyDockIsOnePixelThickWithFixAlignElseNone)
{
    EXPECT_EQ(top->Height(), 0);
    EXPECT_EQ(left->Width(), 0);
    top->SetFixAlign(true);
    left->SetFixAlign(true);
    EXPECT_EQ(top->Height(), 1);
    EXPECT_EQ(left->Width(), 1);
}

TEST_F(BarDockTest, WindowsSitInRowsFourPixelsThickerThanTheirContent)
{
    TTestBar* a = AddBar(top, 100, 22, 0, 0);
    TTestBar* b = AddBar(top, 80, 30, 0, 200);
    // Two pixels of border on each side and a six-pixel handle.
    EXPECT_EQ(a->BoundsRect(), TRect(0, 0, 110, 34));
    EXPECT_EQ(b->BoundsRect(), TRect(200, 0, 290, 34));
    EXPECT_EQ(a->ClientRect(), TRect(0, 0, 100, 30));
    EXPECT_EQ(top->Height(), 34);
    EXPECT_EQ(a->PlacedRow(), 0);
    EXPECT_EQ(b->PlacedPos(), 200);

    TTestBar* c = AddBar(top, 50, 22, 1, 0);
    EXPECT_EQ(c->BoundsRect(), TRect(0, 34, 60, 60));
    EXPECT_EQ(top->Height(), 60);
}

TEST_F(BarDockTest, ALeftRightDockStacksItsWindowsDownwards)
{
    TTestBar* a = AddBar(left, 100, 22, 0, 0);
    // The content turns on its side and the handle goes on top.
    EXPECT_EQ(a->BoundsRect(), TRect(0, 0, 26, 110));
    EXPECT_EQ(left->Width(), 26);
}

TEST_F(BarDockTest, ADockThatGrowsKeepsItsAlignedEdge)
{
    const int bottomEdge = bottom->Top() + bottom->Height();
    const int rightEdge = right->Left() + right->Width();
    AddBar(bottom, 100, 22);
    AddBar(right, 100, 22);
    EXPECT_EQ(bottom->Height(), 26);
    EXPECT_EQ(bottom->Top() + bottom->Height(), bottomEdge);
    EXPECT_EQ(right->Width(), 26);
    EXPECT_EQ(right->Left() + right->Width(), rightEdge);
}

TEST_F(BarDockTest, AFullSizeWindowSpansTheDock)
{
    TTestBar* full = AddBar(top, 50, 22);
    full->SetFullSize(true);
    AddBar(top, 50, 22, 0, 100);
    EXPECT_EQ(full->Width(), top->ClientWidth());
    EXPECT_EQ(full->PlacedRow(), 0);
}

TEST_F(BarDockTest, AFullSizeWrappingWindowTakesTheThicknessOfItsContent)
{
    // Longer than its content, as a menu bar is: nothing of it is wrapped
    // away, so it is as thick as its content, not as it was before.
    TTestBar* full = AddBar(top, 50, 40);
    full->SetShrink(TBarShrinkMode::tbsmWrap, 50);
    full->SetFullSize(true);
    top->LayOutRows();
    ASSERT_EQ(top->Height(), 44);
    full->SetContent(50, 22);
    top->LayOutRows();
    EXPECT_EQ(full->ClientHeight(), 22);
    EXPECT_EQ(top->Height(), 26);
}

TEST_F(BarDockTest, BoundLinesTakeAPixelEach)
{
    AddBar(top, 100, 22);
    top->SetBoundLines(blTop | blBottom | blLeft);
    EXPECT_EQ(top->LineInsetX(), 1);
    EXPECT_EQ(top->LineInsetY(), 2);
    EXPECT_EQ(top->Height(), 28);
    EXPECT_EQ(top->ClientRect(), TRect(0, 0, top->Width() - 1, 26));
    PumpMessages();
}

TEST_F(BarDockTest, TheListsFollowMembershipAndVisibility)
{
    std::vector<std::pair<bool, TBarCustomDockableWindow*>> events;
    top->OnInsertRemoveBar =
        TBarInsertRemoveEvent([&](TObject*, bool inserting, TBarCustomDockableWindow* bar) {
            events.push_back({inserting, bar});
        });
    TTestBar* a = AddBar(top, 100, 22);
    TTestBar* b = AddBar(top, 80, 22, 0, 200);
    EXPECT_EQ(top->ShownCount(), 2);
    b->Hide();
    EXPECT_EQ(top->ShownCount(), 1);
    EXPECT_EQ(top->MemberWindows().size(), 2u);
    EXPECT_EQ(top->Height(), 26);
    b->Show();
    a->SetCurrentDock(bottom);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0], std::make_pair(true, static_cast<TBarCustomDockableWindow*>(a)));
    EXPECT_EQ(events[2], std::make_pair(false, static_cast<TBarCustomDockableWindow*>(b)));
    EXPECT_EQ(events[3], std::make_pair(true, static_cast<TBarCustomDockableWindow*>(b)));
    EXPECT_EQ(events[4], std::make_pair(false, static_cast<TBarCustomDockableWindow*>(a)));
    EXPECT_EQ(top->ShownCount(), 1);
    EXPECT_EQ(bottom->ShownWindow(0), a);
    delete b;
    EXPECT_TRUE(top->MemberWindows().empty());
    EXPECT_EQ(top->Height(), 0);
}

TEST_F(BarDockTest, AWindowFloatingAwayStaysAMemberOfItsLastDock)
{
    TTestBar* a = AddBar(top, 100, 22);
    EXPECT_EQ(a->LastDock(), top);
    a->SetFloating(true);
    EXPECT_EQ(top->MemberWindows().size(), 1u);
    EXPECT_EQ(top->ShownCount(), 0);
    a->SetCurrentDock(bottom);
    EXPECT_TRUE(top->MemberWindows().empty());
    EXPECT_EQ(a->LastDock(), bottom);
}

TEST_F(BarDockTest, PositionAndParentRefuseWhatCannotWork)
{
    AddBar(top, 100, 22);
    try {
        top->SetPosition(TBarDockPosition::dpLeft);
        ADD_FAILURE() << "the position changed";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), SBarDockPositionLocked);
    }
    EXPECT_EQ(top->Position(), TBarDockPosition::dpTop);
    EXPECT_NO_THROW(left->SetPosition(TBarDockPosition::dpLeft));

    auto* inner = new TBarDock(form);
    auto* host = new TTestBar(form, 50, 50);
    for (TWinControl* parent : {static_cast<TWinControl*>(top), static_cast<TWinControl*>(host)}) {
        try {
            inner->SetParent(parent);
            ADD_FAILURE() << "the dock went inside " << parent->ClassName();
        } catch (const EInvalidOperation& e) {
            EXPECT_STREQ(e.what(), SBarDockBadParent);
        }
        EXPECT_EQ(inner->Parent(), nullptr);
    }
}

TEST_F(BarDockTest, TheBackgroundPaintsLinedUpWithTheParent)
{
    TRecordingBackground background(nullptr);
    AddBar(top, 100, 22);
    top->SetBackground(&background);
    EXPECT_EQ(background.Handlers.size(), 1u);
    EXPECT_TRUE(top->HasBackdrop());
    HDC dc = GetDC(top->Handle());
    top->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(top->Handle(), dc);
    ASSERT_FALSE(background.Drawn.empty());
    EXPECT_EQ(background.Drawn.back(), Bounds(top->Left(), top->Top(), top->ClientWidth(), 26));

    background.Backdrop = false;
    background.Drawn.clear();
    dc = GetDC(top->Handle());
    top->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(top->Handle(), dc);
    EXPECT_TRUE(background.Drawn.empty());

    top->Perform(CM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(background.ColourChanges, 1);
    top->SetBackground(nullptr);
    EXPECT_TRUE(background.Handlers.empty());
}

TEST_F(BarDockTest, AFreedBackgroundLeavesTheDock)
{
    auto* background = new TRecordingBackground(nullptr);
    top->SetBackground(background);
    delete background;
    EXPECT_EQ(top->Background(), nullptr);
    EXPECT_FALSE(top->HasBackdrop());
}

TEST_F(BarDockTest, MenuKeysReachMembersFloatingAway)
{
    TTestBar* bar = AddBar(top, 100, 22);
    bar->SetFloating(true);
    PumpMessages();
    ASSERT_TRUE(bar->Showing());
    // Only windows that take menu events hear them.
    EXPECT_EQ(top->Perform(CM_DIALOGKEY, 'F', 0), 0);
    EXPECT_EQ(bar->DialogKeys(), 0);
    bar->SetControlStyle(bar->ControlStyle() | csMenuEvents);
    EXPECT_EQ(top->Perform(CM_DIALOGKEY, 'F', 0), 1);
    EXPECT_EQ(bar->DialogKeys(), 1);
}

TEST_F(BarDockTest, AWindowInADockWithoutDraggingHasNoHandleAndDoesNotDrag)
{
    top->SetAllowDrag(false);
    TTestBar* bar = AddBar(top, 100, 22);
    EXPECT_EQ(bar->Width(), 104);
    ModalScript script(1000);
    script.Run([&] {
        bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
        bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 10));
    });
    EXPECT_FALSE(script.WatchdogFired());
    EXPECT_EQ(bar->CurrentDock(), top);
    top->SetAllowDrag(true);
    EXPECT_EQ(bar->Width(), 110);
}

} // namespace
