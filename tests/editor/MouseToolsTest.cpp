// The mouse tools without windows: each tool's stored number and cursor,
// what ending a marker drag puts back into the cut bars, and what each
// tool's press, drag and auto-scroll make of the selection.
#include "editor/MouseTools.h"

#include <gtest/gtest.h>

namespace {

struct ToolEntry
{
    TTool Tool;
    int Stored;
    TCursor Cursor;
};

const ToolEntry kTools[] = {
    {TTool::Select, 0, crDefault},
    {TTool::Cut, 1, crCutTool},
    {TTool::Region, 2, crIBeam},
    {TTool::Erase, 3, crEraseTool},
};

TEST(MouseTools, EachToolKeepsItsNumberAndShowsItsCursor)
{
    for (const ToolEntry& entry : kTools) {
        EXPECT_EQ(static_cast<int>(entry.Tool), entry.Stored);
        EXPECT_EQ(ToolCursor(entry.Tool), entry.Cursor) << entry.Stored;
    }
}

TWaveDrag MarkerDrag(bool removed)
{
    TWaveDrag drag;
    drag.Kind = TWaveDragKind::Marker;
    drag.AnchorX = 40;
    drag.MarkerSample = 10000;
    drag.MarkerRemoved = removed;
    return drag;
}

struct EndEntry
{
    const char* Case;
    TWaveDrag Drag;
    int EndX;
    std::optional<std::int32_t> Bar;
};

// The end column's first sample is 20000 in every case.
TEST(MouseTools, EndingAMarkerDragNeverLosesItsBar)
{
    TWaveDrag press;
    press.Kind = TWaveDragKind::Press;
    press.AnchorX = 40;
    const EndEntry entries[] = {
        {"moved away: at the end column", MarkerDrag(true), 55, 20000},
        {"moved and back: at its own sample", MarkerDrag(true), 40, 10000},
        {"never moved: nothing taken, nothing added", MarkerDrag(false), 40, std::nullopt},
        {"no move seen, ended elsewhere: at the end column", MarkerDrag(false), 55, 20000},
        {"a selection press: no cut bar", press, 55, std::nullopt},
        {"nothing tracked", TWaveDrag{}, 55, std::nullopt},
    };
    for (const EndEntry& entry : entries)
        EXPECT_EQ(MarkerDragEndBar(entry.Drag, entry.EndX, 20000), entry.Bar) << entry.Case;
}

using Range = TRegionRange;

TEST(MouseTools, TheSelectToolPicksTheSegmentBetweenCutBars)
{
    const std::vector<std::int32_t> bars = {1000, 2000};
    const std::pair<std::int32_t, Range> presses[] = {
        {1500, {1000, 1999}}, {2500, {2000, 10000}}, {500, {0, 999}},
        {1000, {0, 999}},     {2000, {1000, 1999}},  {0, {0, 999}},
    };
    for (const auto& [c, segment] : presses)
        EXPECT_EQ(CutSegmentAt(bars, c, 10000), segment) << c;
    EXPECT_EQ(CutSegmentAt({}, 4321, 10000), (Range{0, 10000}));
    EXPECT_EQ(CutSegmentAt({1000, 1000, 2000}, 1500, 10000), (Range{1000, 1999}));
}

TEST(MouseTools, AShiftPressOfTheSelectToolExtendsToTheSegment)
{
    const std::vector<std::int32_t> bars = {1000, 2000, 3000};
    const Range selection{1000, 1999};
    EXPECT_EQ(ExtendedToSegment(bars, selection, 1500, 5000), selection); // inside
    EXPECT_EQ(ExtendedToSegment(bars, selection, 2500, 5000), (Range{1000, 2999}));
    EXPECT_EQ(ExtendedToSegment(bars, selection, 3500, 5000), (Range{1000, 5000}));
    EXPECT_EQ(ExtendedToSegment(bars, selection, 400, 5000), (Range{0, 1999}));
    EXPECT_EQ(ExtendedToSegment({}, selection, 4000, 5000), (Range{1000, 5000}));
}

// Columns of 100 samples: column k holds k x 100 .. k x 100 + 99.
TEST(MouseTools, ARegionDragRunsFromTheAnchorColumnToTheMouse)
{
    struct Case
    {
        const char* Name;
        int MouseColumn;
        Range Selection;
        bool OnAnchor;
    };
    const Case cases[] = {
        {"right of the anchor", 15, {1000, 1599}, false},
        {"left of it", 4, {400, 1099}, false},
        {"on it: the cursor", 10, {1030, 1030}, true},
        {"past the end of the file", 50, {1000, 4321}, false},
    };
    for (const Case& c : cases) {
        const TDragSelection drag = RegionDragSelection(1000, 1099, c.MouseColumn * 100,
                                                        c.MouseColumn * 100 + 99, 1030, 4321);
        EXPECT_EQ(drag.Range, c.Selection) << c.Name;
        EXPECT_EQ(drag.OnAnchor, c.OnAnchor) << c.Name;
    }
}

TEST(MouseTools, AShiftPressOfTheRegionToolMovesTheNearerEdgeItsWay)
{
    using E = TShiftPressEdge;
    struct Case
    {
        const char* Name;
        int Column;
        E Moved;
        Range Selection;
    };
    const Range selection{1050, 2050};
    const Case cases[] = {
        {"on the start's column", 10, E::None, selection},
        {"on the end's column", 20, E::None, selection},
        {"inside: the end comes back", 15, E::End, {1050, 1599}},
        {"after: the end goes on", 30, E::End, {1050, 3099}},
        {"before: the start goes back", 5, E::Start, {500, 2050}},
        {"after, past the length", 90, E::End, {1050, 5000}},
    };
    for (const Case& c : cases) {
        const TShiftPress press =
            RegionShiftPress(selection, c.Column * 100, c.Column * 100 + 99, 5000);
        EXPECT_EQ(press.Moved, c.Moved) << c.Name;
        EXPECT_EQ(press.Range, c.Selection) << c.Name;
    }
    EXPECT_EQ(RegionShiftPressFromCursor(1000, 3000, 3099, 5000), (Range{1000, 3099}));
    EXPECT_EQ(RegionShiftPressFromCursor(1000, 300, 399, 5000), (Range{300, 1000}));
}

TWaveViewState ViewOf(std::int32_t start, std::int32_t end, std::int32_t samplesPerPixel)
{
    TWaveViewState view;
    view.ViewStart = start;
    view.ViewEnd = end;
    view.SamplesPerPixel = samplesPerPixel;
    return view;
}

TEST(MouseTools, ADragOffTheImageHoldsWhileTheViewCanScroll)
{
    struct Case
    {
        const char* Name;
        TWaveViewState View;
        int X;
        TDragColumn Column;
    };
    const Case cases[] = {
        {"inside", ViewOf(5000, 15000, 100), 40, {40, 0, false}},
        {"left, the view can go back", ViewOf(5000, 15000, 100), -30, {0, -30, true}},
        {"left, the view starts the file", ViewOf(0, 10000, 100), -30, {0, -30, false}},
        {"right, the view can go on", ViewOf(5000, 15000, 100), 105, {99, 6, true}},
        {"right, the view ends the file", ViewOf(10000, 20000, 100), 105, {99, 6, false}},
    };
    for (const Case& c : cases) {
        const TDragColumn column = DragColumnFor(c.X, 100, c.View, 20000);
        EXPECT_EQ(column.X, c.Column.X) << c.Name;
        EXPECT_EQ(column.Overshoot, c.Column.Overshoot) << c.Name;
        EXPECT_EQ(column.Held, c.Column.Held) << c.Name;
    }
}

TEST(MouseTools, EachAutoScrollStepMovesTheViewByTheOvershootUntilTheFileEnds)
{
    EXPECT_EQ(AutoScrollStart(ViewOf(10000, 20000, 100), -30, 50000), 7000);
    EXPECT_EQ(AutoScrollStart(ViewOf(2000, 12000, 100), -30, 50000), 0);
    EXPECT_FALSE(AutoScrollStart(ViewOf(0, 10000, 100), -30, 50000));
    EXPECT_EQ(AutoScrollStart(ViewOf(10000, 20000, 100), 5, 50000), 10500);
    EXPECT_FALSE(AutoScrollStart(ViewOf(40000, 50000, 100), 5, 50000));
    EXPECT_FALSE(AutoScrollStart(ViewOf(10000, 20000, 100), 0, 50000));
}

TEST(MouseTools, AnAutoScrollStepTakesTheSelectionWithTheView)
{
    struct Case
    {
        const char* Name;
        int Overshoot;
        std::int32_t Cursor; // the drag's fixed edge
        Range Before;
        Range After;
    };
    // The view shows 10000 .. 20000 at 100 samples per pixel.
    const Case cases[] = {
        {"back, the cursor in view: the start goes with the view",
         -30,
         15000,
         {12000, 15000},
         {7000, 15000}},
        {"back, the cursor before the view: up to the view",
         -30,
         5000,
         {5000, 12000},
         {5000, 9999}},
        {"on, the cursor in view: the end goes with the view",
         5,
         12000,
         {12000, 15000},
         {12000, 20500}},
        {"on, the cursor past the view: from the view's end",
         5,
         25000,
         {15000, 25000},
         {20000, 25000}},
        {"on, not past the length", 200, 12000, {12000, 15000}, {12000, 30000}},
        {"back, not before 0", -300, 15000, {12000, 15000}, {0, 15000}},
    };
    for (const Case& c : cases) {
        TWaveViewState view = ViewOf(10000, 20000, 100);
        view.SelStart = c.Before.Start;
        view.SelEnd = c.Before.End;
        EXPECT_EQ(AutoScrolledSelection(view, c.Overshoot, c.Cursor, 30000), c.After) << c.Name;
    }
}

TEST(MouseTools, AnEraseSweepTakesTheBarsWithinItsSamples)
{
    const std::vector<std::int32_t> bars = {100, 250, 250, 400, 999};
    EXPECT_EQ(CutBarsWithin(bars, 200, 400), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(CutBarsWithin(bars, 101, 249), std::vector<int>{});
}

} // namespace
