// The mouse tools in the running window on a generated WAV file, driven by
// mouse messages posted to the waveform's panel and taken through the
// application's loop: cut-tool clicks, the select tool's segments, marker
// drags, an erase sweep, a region drawn and added to the list, a region
// reshaped with Shift, and the drag-scroll of a selection run off the image.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "editor/CutBarList.h"

#include "audio/DirectWavEngine.h"

#include <functional>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 80000;
constexpr int kSamplesPerPixel = 100; // column k holds samples k x 100 .. k x 100 + 99

using Bars = std::vector<std::int32_t>;

class MouseToolWindowTest : public MainWindowTest
{
protected:
    void Open(std::int32_t viewStart = 0)
    {
        StartWithWav("take.wav", kFrames, kRate);
        ZoomTo(*form, kSamplesPerPixel);
        form->DrawWave(viewStart);
    }
    void Tool(TAction* action) { action->Execute(); }
    void AddBars(const Bars& bars)
    {
        form->AddCutBars(bars);
        form->DrawWave(form->Document().View().ViewStart);
    }
    Bars CutBars() const { return form->Document().CutBarSamples(); }

    // Mouse messages at image coordinates, posted to the panel that holds
    // the image, as the system delivers them.
    void Post(UINT message, WPARAM keys, int x, int y)
    {
        const int px = form->WaveImage->Left() + x;
        const int py = form->WaveImage->Top() + y;
        PostMessageA(form->WavePanel->Handle(), message, keys,
                     MAKELPARAM(static_cast<WORD>(px), static_cast<WORD>(py)));
        PumpMessages();
    }
    void Down(int x, int y, WPARAM keys = 0) { Post(WM_LBUTTONDOWN, MK_LBUTTON | keys, x, y); }
    void Move(int x, int y) { Post(WM_MOUSEMOVE, MK_LBUTTON, x, y); }
    void Up(int x, int y) { Post(WM_LBUTTONUP, 0, x, y); }
    void Click(int x, int y, WPARAM keys = 0)
    {
        Down(x, y, keys);
        Up(x, y);
    }
    // A row in the waveform body and one on the markers' triangles.
    int Body() const { return form->MarkHeight() + 20; }
    int OnMarker() const { return form->MarkHeight() - 2; }
    bool MarkerAt(int x) const { return form->IsCutBarPixel(x, form->MarkHeight()); }
    TRegionRange Selection() const
    {
        return {form->Document().View().SelStart, form->Document().View().SelEnd};
    }
};

// Each tool from its menu item, its button on the mode bar and its key,
// pressed on the waveform.
TEST_F(MouseToolWindowTest, EachToolIsChosenFromItsMenuItemButtonAndKey)
{
    Open();
    const struct
    {
        TAction* TFormVusk::*Action;
        TTool Tool;
        WORD Key;
    } tools[] = {{&TFormVusk::actToolSelect, TTool::Select, VK_F12},
                 {&TFormVusk::actToolCut, TTool::Cut, VK_F10},
                 {&TFormVusk::actToolErase, TTool::Erase, VK_F11},
                 {&TFormVusk::actToolRegion, TTool::Region, VK_F9}};
    const std::vector<std::function<void(TAction*, WORD)>> ways = {
        [&](TAction* action, WORD) { ClickMenuItem(form, action); },
        [&](TAction* action, WORD) { ClickToolButton(form->ModeBar, action); },
        [&](TAction*, WORD key) { PressKey(form->FocusBtn->Handle(), key); },
    };
    for (std::size_t way = 0; way < ways.size(); ++way)
        for (const auto& t : tools) {
            FocusWave();
            TAction* action = form->*t.Action;
            ASSERT_NE(MenuItemOf(form->RegionMenu, action), nullptr);
            ways[way](action, t.Key);
            EXPECT_EQ(form->Tool(), t.Tool) << way << " " << action->Name();
            EXPECT_TRUE(action->Checked()) << way << " " << action->Name();
        }
}

TEST_F(MouseToolWindowTest, CutToolClicksPlaceSortedBarsAndAddTheirRegions)
{
    WriteSettings("[USE]\r\nCUTTOADD=1\r\n");
    Open();
    Tool(form->actToolCut);
    EXPECT_TRUE(form->actToolCut->Checked());
    ASSERT_FALSE(form->Document().Modified());
    Click(30, Body());
    Click(10, Body());
    Click(20, Body());
    EXPECT_EQ(CutBars(), (Bars{1000, 2000, 3000}));
    EXPECT_TRUE(MarkerAt(10) && MarkerAt(20) && MarkerAt(30));
    ASSERT_EQ(form->CutManageList->Items()->Count(), 3);
    EXPECT_EQ(form->CutManageList->Items()->Item(2)->SubItems()->Strings(0), "0:00.38");
    EXPECT_EQ(form->Document().View().PlayPos, 2000);
    EXPECT_FALSE(form->Document().View().HasSelection);
    EXPECT_TRUE(form->Document().Modified());
    // Each cut added the region from the bar before it.
    EXPECT_EQ(RegionRanges(form), (std::vector<TRegionRange>{{0, 2999}, {0, 999}, {1000, 1999}}));
}

TEST_F(MouseToolWindowTest, TheSelectToolPicksTheSegmentUnderAClick)
{
    Open();
    AddBars({1000, 2000});
    Tool(form->actToolSelect);
    const struct
    {
        int X;
        TRegionRange Selected;
    } cases[] = {{5, {0, 999}}, {10, {0, 999}}, {15, {1000, 1999}}, {25, {2000, kFrames}}};
    for (const auto& c : cases) {
        Click(c.X, Body());
        EXPECT_EQ(Selection(), c.Selected) << c.X;
        EXPECT_EQ(form->Document().View().PlayPos, c.Selected.Start) << c.X;
    }
    // Shift extends to the segment before.
    Click(5, Body(), MK_SHIFT);
    EXPECT_EQ(Selection(), (TRegionRange{0, kFrames}));
}

TEST_F(MouseToolWindowTest, AMarkerDraggedInAnyToolEndsAtItsReleaseOrWhereItWas)
{
    const struct
    {
        TAction* (*Tool)(TFormVusk&);
        std::vector<int> Path; // columns the mouse moves through, the last is the release
        Bars After;
    } cases[] = {
        {[](TFormVusk& f) { return f.actToolRegion; }, {45}, {4500, 6000}},
        {[](TFormVusk& f) { return f.actToolCut; }, {38, 45}, {4500, 6000}},
        // Moved away and back: the bar taken out on the first move returns.
        {[](TFormVusk& f) { return f.actToolErase; }, {40, 30}, {3000, 6000}},
        // Never moved: nothing was taken out.
        {[](TFormVusk& f) { return f.actToolSelect; }, {30}, {3000, 6000}},
        // Past the bar at 6000.
        {[](TFormVusk& f) { return f.actToolRegion; }, {50, 70}, {6000, 7000}},
    };
    for (const auto& c : cases) {
        Open();
        AddBars({3000, 6000});
        Tool(c.Tool(*form));
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        Down(30, OnMarker());
        ASSERT_TRUE(form->WaveDrag().DraggingMarker());
        for (int x : c.Path)
            Move(x, OnMarker());
        Up(c.Path.back(), OnMarker());
        EXPECT_EQ(CutBars(), c.After);
        EXPECT_EQ(form->CutManageList->Items()->Count(), 2);
        for (std::int32_t bar : c.After)
            EXPECT_TRUE(MarkerAt(bar / kSamplesPerPixel)) << bar;
        EXPECT_FALSE(form->WaveDrag().Tracking());
        EXPECT_FALSE(form->DragScrollTimer->Enabled());
        FreeAndNil(form);
    }
}

// The view starts at 9000: column k holds 9000 + k x 100. The marker of the
// bar at 12000 (column 30) is pressed, run off the image's left edge and
// scrolled 3000 samples back by one tick, then released at a column.
TEST_F(MouseToolWindowTest, AMarkerDraggedOffTheImageLandsWhereItIsReleased)
{
    const struct
    {
        std::vector<int> Before; // columns moved through inside the image first
        int Release;
        Bars After;
    } cases[] = {
        // Off the image at once: only the dragged bar leaves, not the one
        // nearest the edge where the scroll drew the marker.
        {{}, 10, {7000, 9500}},
        // Back on the pressed column, which now shows other samples.
        {{20}, 30, {9000, 9500}},
    };
    for (const auto& c : cases) {
        Open(9000);
        AddBars({9500, 12000});
        Down(30, OnMarker());
        for (int x : c.Before)
            Move(x, OnMarker());
        Move(-30, OnMarker());
        ASSERT_TRUE(form->DragScrollTimer->Enabled());
        form->DragScrollTimerTimer(form->DragScrollTimer);
        ASSERT_EQ(form->Document().View().ViewStart, 6000);
        Move(c.Release, OnMarker());
        Up(c.Release, OnMarker());
        EXPECT_EQ(CutBars(), c.After);
        EXPECT_EQ(form->CutManageList->Items()->Count(), 2);
        FreeAndNil(form);
    }
}

TEST_F(MouseToolWindowTest, AnEraseSweepTakesTheMarkersItCrossesAndTheBarsBetween)
{
    Open();
    AddBars({2000, 3000, 3050, 8000});
    Tool(form->actToolErase);
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    Down(15, Body());
    Move(25, Body());
    Move(35, Body());
    Up(35, Body());
    EXPECT_EQ(CutBars(), (Bars{8000}));
    EXPECT_FALSE(MarkerAt(20));
    EXPECT_FALSE(MarkerAt(30));
    EXPECT_TRUE(MarkerAt(80));
    EXPECT_EQ(form->CutManageList->Items()->Count(), 1);
    EXPECT_TRUE(form->Document().Modified());

    // A press on a marker's column below the ruler takes that bar alone.
    Down(80, Body());
    Up(80, Body());
    EXPECT_EQ(CutBars(), Bars{});
}

TEST_F(MouseToolWindowTest, ARegionDrawnWithTheRegionToolIsAddedAndReshapedWithShift)
{
    Open();
    ASSERT_TRUE(form->actToolRegion->Checked());
    Down(40, Body());
    Move(30, Body());
    Move(10, Body());
    Up(10, Body());
    EXPECT_EQ(Selection(), (TRegionRange{1000, 4099}));
    EXPECT_EQ(form->Document().View().PlayPos, 1000);
    EXPECT_EQ(form->InfoRegionLabel->Caption(), "0:00.39 [ 0:00.13 - 0:00.51 ]");

    form->SetActiveControl(form->FocusBtn);
    form->actRegionAdd->Execute();
    ASSERT_EQ(form->RegionCount(), 1);
    EXPECT_EQ(form->RegionText(0, TRegionColumn::Name), "take_01");
    EXPECT_EQ(form->RegionText(0, TRegionColumn::Length), "0:00.39");

    // Selected in the list, the region follows a Shift press on the wave.
    form->SelectRegionRow(0, false);
    ASSERT_TRUE(form->Document().View().RegionSelection);
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    Click(60, Body(), MK_SHIFT);
    EXPECT_EQ(Selection(), (TRegionRange{1000, 6099}));
    EXPECT_EQ(form->RegionAt(0)->End, 6099);
    EXPECT_EQ(form->RegionText(0, TRegionColumn::End), "0:00.76");
    EXPECT_TRUE(form->Document().Modified());

    // A click without a drag only moves the cursor.
    Click(20, Body());
    EXPECT_FALSE(form->Document().View().HasSelection);
    EXPECT_EQ(form->Document().View().PlayPos, 2000);
    EXPECT_EQ(form->RegionAt(0)->End, 6099);
}

// With several regions selected, a Shift press keeps the first alone and
// reshapes it from its own range.
TEST_F(MouseToolWindowTest, AShiftPressOnSeveralSelectedRegionsReshapesTheFirst)
{
    Open();
    form->AddRegion(1000, 2000);
    form->AddRegion(3000, 6000);
    form->SelectRegionRow(0, false);
    {
        ScopedKeyState shift({VK_SHIFT});
        form->SelectRegionRow(1, false);
    }
    ASSERT_TRUE(PumpUntil([this] { return !form->RangeClickPending(); }));
    ASSERT_EQ(Selection(), (TRegionRange{1000, 6000}));
    Click(40, Body(), MK_SHIFT);
    EXPECT_EQ(form->SelectedRegionRows(), std::vector<int>{0});
    EXPECT_EQ(Selection(), (TRegionRange{1000, 4099}));
    const TRegionData* first = form->RegionAt(0);
    EXPECT_EQ((TRegionRange{first->Start, first->End}), (TRegionRange{1000, 4099}));
    const TRegionData* second = form->RegionAt(1);
    EXPECT_EQ((TRegionRange{second->Start, second->End}), (TRegionRange{3000, 6000}));
}

TEST_F(MouseToolWindowTest, ASelectionRunOffTheImageScrollsTheViewUntilItsStart)
{
    Open(9000);
    Down(20, Body());
    Move(10, Body());
    Move(-30, Body());
    EXPECT_TRUE(form->DragScrollTimer->Enabled());
    const std::vector<std::int32_t> expected{6000, 3000, 0, 0};
    for (std::int32_t start : expected) {
        form->DragScrollTimerTimer(form->DragScrollTimer);
        EXPECT_EQ(form->Document().View().ViewStart, start);
        EXPECT_EQ(form->Document().View().SelStart, start);
        EXPECT_EQ(form->Document().View().SelEnd, 11099);
    }
    // Released outside the image: the scrolling stops with the drag.
    Up(-30, Body());
    EXPECT_FALSE(form->DragScrollTimer->Enabled());
    EXPECT_FALSE(form->WaveDrag().Tracking());
    EXPECT_EQ(Selection(), (TRegionRange{0, 11099}));
    EXPECT_EQ(form->Document().View().PlayPos, 0);
}

} // namespace
