// The rules of docks without windows: the row arrangement as a function of
// window records, the docked frame, and the geometry of drags, frames and
// sizing.
#include "toolbar/BarDock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Mode = TBarShrinkMode;

// A window for the arrangement: its wanted row and position, its full
// length along the row and what it may do.
struct WindowSpec
{
    int row;
    int pos;
    int length;
    Mode mode = Mode::tbsmNone;
    int minLength = 0; // 0: as long as the window
    enum Flags : unsigned
    {
        None = 0,
        FullSize = 1,
        Stretch = 2,
        NewRowAhead = 4,
        Dragged = 8,
        Shifting = 16,
        Hidden = 32,
    };
    unsigned flags = None;
};

struct Placed
{
    int row;
    int position;
    int length;
};

struct RowCase
{
    const char* name;
    bool oneRow;
    std::vector<WindowSpec> windows;
    std::vector<Placed> placed;
};

std::vector<TBarRowSlot> SlotsOf(const std::vector<WindowSpec>& windows)
{
    std::vector<TBarRowSlot> slots;
    for (const WindowSpec& w : windows) {
        TBarRowSlot s;
        s.DockRow = w.row;
        s.DockPos = w.pos;
        s.Visible = !(w.flags & WindowSpec::Hidden);
        s.FullSize = (w.flags & WindowSpec::FullSize) != 0;
        s.Stretch = (w.flags & WindowSpec::Stretch) != 0;
        s.NewRowAhead = (w.flags & WindowSpec::NewRowAhead) != 0;
        s.DragActive = (w.flags & WindowSpec::Dragged) != 0;
        s.RowShifting = (w.flags & WindowSpec::Shifting) != 0;
        s.FullLength = s.Visible ? w.length : 0;
        s.MinLength = w.minLength > 0 ? w.minLength : s.FullLength;
        s.ShrinkMode = w.mode;
        slots.push_back(s);
    }
    return slots;
}

constexpr unsigned kFull = WindowSpec::FullSize;
constexpr unsigned kStretch = WindowSpec::Stretch;
constexpr unsigned kAhead = WindowSpec::NewRowAhead;
constexpr unsigned kDragged = WindowSpec::Dragged;
constexpr unsigned kShifting = WindowSpec::Shifting;
constexpr unsigned kHidden = WindowSpec::Hidden;

TEST(BarDockRows, WindowsAreSortedWrappedShrunkAndStretchedIntoRows)
{
    // Rows are 200 pixels long.
    const RowCase cases[] = {
        {"two windows keep the places they ask for",
         false,
         {{0, 0, 50}, {0, 100, 50}},
         {{0, 0, 50}, {0, 100, 50}}},
        {"a place inside the window before follows it",
         false,
         {{0, 0, 80}, {0, 40, 80}},
         {{0, 0, 80}, {0, 80, 80}}},
        {"a row too long wraps its second window to a new row",
         false,
         {{0, 0, 120}, {0, 40, 120}},
         {{0, 0, 120}, {1, 40, 120}}},
        {"a window alone on its row never wraps", false, {{0, 0, 300}}, {{0, 0, 300}}},
        {"one row only: a chevron window shrinks to fit",
         true,
         {{0, 0, 120}, {0, 40, 120, Mode::tbsmChevron, 30}},
         {{0, 0, 120}, {0, 120, 80}}},
        {"one row only: a chevron window stops at its minimum",
         true,
         {{0, 0, 180}, {0, 40, 120, Mode::tbsmChevron, 30}},
         {{0, 0, 180}, {0, 180, 30}}},
        {"one row only: a wrapping window sharing its row does not shrink",
         true,
         {{0, 0, 120}, {0, 40, 120, Mode::tbsmWrap, 30}},
         {{0, 0, 120}, {0, 120, 120}}},
        {"a wrapping window alone on its row shrinks",
         false,
         {{0, 0, 300, Mode::tbsmWrap, 50}},
         {{0, 0, 200}}},
        {"a chevron window counts its minimum when rows wrap",
         false,
         {{0, 0, 120}, {0, 40, 120, Mode::tbsmChevron, 60}},
         {{0, 0, 120}, {0, 120, 80}}},
        {"a full-size window takes a row of its own and the whole length",
         false,
         {{0, 0, 50}, {0, 60, 80, Mode::tbsmNone, 0, kFull}, {0, 150, 30}},
         {{1, 0, 50}, {0, 0, 200}, {1, 150, 30}}},
        {"a full-size window takes its own row also with one row only",
         true,
         {{0, 0, 50}, {0, 60, 80, Mode::tbsmNone, 0, kFull}},
         {{1, 0, 50}, {0, 0, 200}}},
        {"a stretching last window grows to the end of its row",
         false,
         {{0, 0, 50}, {0, 60, 50, Mode::tbsmNone, 0, kStretch}},
         {{0, 0, 50}, {0, 50, 150}}},
        {"a stretching window swallows the gap before the next",
         false,
         {{0, 0, 50, Mode::tbsmNone, 0, kStretch}, {0, 120, 50}},
         {{0, 0, 120}, {0, 120, 50}}},
        {"rows that hold nothing disappear",
         false,
         {{0, 0, 50}, {5, 0, 50}},
         {{0, 0, 50}, {1, 0, 50}}},
        {"a hidden window keeps its row and its position",
         false,
         {{0, 0, 50}, {1, 30, 50, Mode::tbsmNone, 0, kHidden}, {2, 0, 50}},
         {{0, 0, 50}, {1, 30, 0}, {2, 0, 50}}},
        {"a window that wants a new row ahead comes before its row-mates",
         false,
         {{0, 0, 50}, {0, 100, 50, Mode::tbsmNone, 0, kAhead}},
         {{1, 0, 50}, {0, 100, 50}}},
        {"a wanted row ahead means nothing with one row only",
         true,
         {{0, 0, 50}, {0, 100, 50, Mode::tbsmNone, 0, kAhead}},
         {{0, 0, 50}, {0, 100, 50}}},
        {"a place before the windows sorted ahead is pushed behind them",
         false,
         {{0, 0, 80}, {0, -8, 50}},
         {{0, 50, 80}, {0, 0, 50}}},
        {"gaps shrink from the end until the row fits",
         false,
         {{0, 0, 50}, {0, 180, 50}},
         {{0, 0, 50}, {0, 150, 50}}},
        {"the dragged window pulls the gaps before it, the rest stays",
         false,
         {{0, 0, 50}, {0, 80, 50}, {0, 110, 40, Mode::tbsmNone, 0, kDragged}, {0, 170, 20}},
         {{0, 0, 50}, {0, 60, 50}, {0, 110, 40}, {0, 170, 20}}},
        {"chevron windows before a dragged one shrink to make room",
         false,
         {{0, 0, 100, Mode::tbsmChevron, 20}, {0, 30, 150, Mode::tbsmNone, 0, kDragged}},
         {{0, 0, 50}, {0, 50, 150}}},
        {"a window shifting along its row pushes its row-mates instead of passing them",
         false,
         {{0, 60, 50, Mode::tbsmNone, 0, kDragged | kShifting}, {0, 0, 50}},
         {{0, 60, 50}, {0, 110, 50}}},
        {"without shifting the same windows sort by position",
         false,
         {{0, 60, 50, Mode::tbsmNone, 0, kDragged}, {0, 0, 50}},
         {{0, 60, 50}, {0, 0, 50}}},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TBarRowSlot> slots = SlotsOf(c.windows);
        ArrangeDockRows(slots, 200, c.oneRow);
        ASSERT_EQ(slots.size(), c.placed.size());
        for (size_t i = 0; i < slots.size(); ++i) {
            SCOPED_TRACE("window " + std::to_string(i));
            EXPECT_EQ(slots[i].Row, c.placed[i].row);
            EXPECT_EQ(slots[i].Position, c.placed[i].position);
            EXPECT_EQ(slots[i].Length, c.placed[i].length);
        }
    }
}

TEST(BarDockRows, OnlyADraggedWindowOnAnOverflowingSharedRowMayShift)
{
    struct ShiftCase
    {
        const char* name;
        std::vector<WindowSpec> windows;
        bool allowed;
    };
    const ShiftCase cases[] = {
        {"overflowing shared row",
         {{0, 0, 150, Mode::tbsmChevron, 20}, {0, 100, 100, Mode::tbsmNone, 0, kDragged}},
         true},
        {"row that fits", {{0, 0, 50}, {0, 100, 100, Mode::tbsmNone, 0, kDragged}}, false},
        {"alone on its row", {{0, 0, 300, Mode::tbsmChevron, 20, kDragged}}, false},
    };
    for (const ShiftCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TBarRowSlot> slots = SlotsOf(c.windows);
        ArrangeDockRows(slots, 200, true);
        EXPECT_EQ(slots.back().RowShiftAllowed, c.allowed);
    }
}

TEST(BarDockRows, TheOrderIsByRowThenPosition)
{
    std::vector<TBarRowSlot> slots = SlotsOf({{1, 0, 10}, {0, 50, 10}, {0, 5, 10}});
    EXPECT_EQ(ArrangeDockRows(slots, 200, false), (std::vector<int>{2, 1, 0}));
}

// The handle sits on the leading side, only where dragging is allowed; a
// close button widens it whatever the style.
TEST(BarDockRules, TheDockedFrameHasAHandleOnlyWhereDraggingIsAllowed)
{
    using Style = TBarDragHandleStyle;
    struct FrameCase
    {
        bool allowDrag, leftRight;
        Style style;
        bool closeButton;
        TPoint topLeft;
    };
    const FrameCase frames[] = {
        {true, false, Style::dhDouble, false, TPoint(11, 2)},
        {true, false, Style::dhSingle, false, TPoint(8, 2)},
        {true, true, Style::dhSingle, false, TPoint(2, 8)},
        {true, false, Style::dhNone, false, TPoint(2, 2)},
        {true, true, Style::dhNone, true, TPoint(2, 16)},
        {true, false, Style::dhDouble, true, TPoint(16, 2)},
        {false, false, Style::dhDouble, true, TPoint(2, 2)},
        {false, true, Style::dhSingle, false, TPoint(2, 2)},
    };
    for (const FrameCase& f : frames) {
        TBarDockedFrame frame = DockedFrameFor(f.allowDrag, f.leftRight, f.style, f.closeButton);
        EXPECT_EQ(frame.TopLeft, f.topLeft) << static_cast<int>(f.style) << f.closeButton;
        EXPECT_EQ(frame.BottomRight, TPoint(2, 2));
    }
}

TEST(BarDockRules, TheDraggedWindowKeepsTheProportionOfItsGrabPoint)
{
    // Grabbed 10 of 100 across and 5 of 20 down; now 200 x 50.
    EXPECT_EQ(DragTargetRect(TPoint(100, 100), TPoint(200, 50), TPoint(10, 5), TPoint(100, 20)),
              TRect(80, 88, 280, 138));
    // The same size keeps the grab point under the pointer.
    EXPECT_EQ(DragTargetRect(TPoint(100, 100), TPoint(100, 20), TPoint(50, 10), TPoint(100, 20)),
              TRect(50, 90, 150, 110));
}

TEST(BarDockRules, AWindowDocksWhereThePointerIsInTheDocksBand)
{
    // A top dock 400 x 30, the window grabbed at (10, 5) of 100 x 20: the
    // band reaches 22 pixels above and 6 below the dock grown by 3.
    const TRect dock(0, 0, 400, 30);
    const TPoint grab(10, 5), size(100, 20);
    struct DockCase
    {
        const char* name;
        TRect dock;
        bool leftRight;
        TPoint pointer;
        bool docks;
    };
    const DockCase cases[] = {
        {"inside", dock, false, TPoint(200, 15), true},
        {"above the band", dock, false, TPoint(200, -23), false},
        {"above the dock, window touching it", dock, false, TPoint(200, -17), true},
        {"above the dock, window clear of it", dock, false, TPoint(200, -18), false},
        {"below the dock, window still touching it", dock, false, TPoint(200, 37), true},
        {"below the dock, window clear of it", dock, false, TPoint(200, 38), false},
        {"left of the band", dock, false, TPoint(-26, 15), false},
        {"left edge of the band", dock, false, TPoint(-25, 15), true},
        {"right of the band", dock, false, TPoint(406, 15), false},
        {"left-right dock: beside it", TRect(0, 0, 30, 400), true, TPoint(15, 200), true},
        {"left-right dock: below it, inside the band", TRect(0, 0, 30, 400), true, TPoint(15, 405),
         false},
    };
    for (const DockCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRect target = DragTargetRect(c.pointer, size, grab, size);
        EXPECT_EQ(DragCanDock(c.dock, c.leftRight, c.pointer, grab, size, target), c.docks);
    }
}

TEST(BarDockRules, ARowIsJoinedInItsMiddleAndSplitNearItsStart)
{
    const std::vector<int> rows = {PackRowSize(26, false), PackRowSize(26, false)};
    const std::vector<int> fullRow = {PackRowSize(26, true)};
    const std::vector<int> emptyFirst = {PackRowSize(0, false), PackRowSize(26, false)};
    struct DropCase
    {
        const char* name;
        const std::vector<int>* rows;
        int across;
        bool fullSizeWindow;
        int row;
        bool newRow;
    };
    const DropCase cases[] = {
        {"top quarter of the first row", &rows, 5, false, 0, true},
        {"just past the quarter", &rows, 6, false, 0, false},
        {"last quarter of the first row joins it", &rows, 19, false, 0, false},
        {"between the rows", &rows, 20, false, 1, true},
        {"second row", &rows, 32, false, 1, false},
        {"past every row", &rows, 46, false, 2, false},
        {"a full-size row splits at its half", &fullRow, 12, false, 0, true},
        {"a full-size row is never joined", &fullRow, 13, false, 1, false},
        {"a full-size window splits at the half", &rows, 12, true, 0, true},
        {"a full-size window joins past the half", &rows, 13, true, 0, false},
        {"rows of no thickness are passed over", &emptyFirst, 5, false, 1, true},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBarDropRow drop = DropRowAt(*c.rows, c.across, c.fullSizeWindow);
        EXPECT_EQ(drop.Row, c.row);
        EXPECT_EQ(drop.NewRow, c.newRow);
    }
}

TEST(BarDockRules, FloatingFramesStayReachableOnTheirMonitor)
{
    const TRect area(0, 0, 1280, 1024);
    const TPoint border(4, 4);
    const int topNonClient = 21;
    struct ClampCase
    {
        const char* name;
        TRect frame;
        TRect kept;
    };
    const ClampCase cases[] = {
        {"on the area", TRect(100, 100, 300, 200), TRect(100, 100, 300, 200)},
        {"far left", TRect(-500, 100, -300, 200), TRect(-192, 100, 8, 200)},
        {"far right", TRect(1500, 100, 1700, 200), TRect(1272, 100, 1472, 200)},
        {"below", TRect(100, 1100, 300, 1200), TRect(100, 1016, 300, 1116)},
        {"far above: the caption comes back", TRect(100, -300, 300, -100),
         TRect(100, -17, 300, 183)},
        {"a little above", TRect(100, -10, 300, 90), TRect(100, -10, 300, 90)},
        {"too far above", TRect(100, -30, 300, 70), TRect(100, -17, 300, 83)},
    };
    for (const ClampCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(KeepFrameReachable(c.frame, area, border, topNonClient), c.kept);
    }
    EXPECT_EQ(ClampPointToArea(TPoint(-5, 2000), area), TPoint(0, 1023));
    EXPECT_EQ(ClampPointToArea(TPoint(50, 60), area), TPoint(50, 60));
}

TEST(BarDockRules, ARectangleShiftsBackOntoItsAreaTopLeftWinning)
{
    const TRect area(0, 0, 1280, 1024);
    EXPECT_EQ(ShiftRectIntoArea(TRect(1200, 1000, 1400, 1100), area), TRect(1080, 924, 1280, 1024));
    EXPECT_EQ(ShiftRectIntoArea(TRect(-50, 10, 150, 60), area), TRect(0, 10, 200, 60));
    EXPECT_EQ(ShiftRectIntoArea(TRect(-10, -10, 2000, 2000), area), TRect(0, 0, 2010, 2010));
    EXPECT_EQ(ShiftRectIntoArea(TRect(5, 5, 50, 50), area), TRect(5, 5, 50, 50));
}

TEST(BarDockRules, SizingMovesTheDraggedSidesWithinTheLimits)
{
    const BYTE expected[8] = {bssLeft,
                              bssRight,
                              bssTop,
                              bssTop | bssLeft,
                              bssTop | bssRight,
                              bssBottom,
                              bssBottom | bssLeft,
                              bssBottom | bssRight};
    for (int edge = 0; edge < 8; ++edge)
        EXPECT_EQ(SizingSidesOfEdge(edge), expected[edge]) << "edge " << edge;
    EXPECT_EQ(SizingSidesOfEdge(8), 0);

    const TRect start(100, 100, 300, 200);
    const TPoint minimum(50, 40), none(0, 0);
    struct SizeCase
    {
        const char* name;
        BYTE sides;
        TPoint travel;
        TPoint maximum;
        TRect result;
    };
    const SizeCase cases[] = {
        {"left edge past the minimum", bssLeft, TPoint(180, 0), none, TRect(250, 100, 300, 200)},
        {"right edge past the minimum", bssRight, TPoint(-180, 0), none, TRect(100, 100, 150, 200)},
        {"right edge past the maximum", bssRight, TPoint(100, 0), TPoint(250, 0),
         TRect(100, 100, 350, 200)},
        {"top edge past the minimum", bssTop, TPoint(0, 90), none, TRect(100, 160, 300, 200)},
        {"bottom-right corner", bssBottom | bssRight, TPoint(10, 20), none,
         TRect(100, 100, 310, 220)},
        {"a side that does not follow stays", bssLeft, TPoint(10, 20), none,
         TRect(110, 100, 300, 200)},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SizedFrameRect(start, c.sides, c.travel, minimum, c.maximum), c.result);
    }
}

TEST(BarDockRules, TheFloatingFramesHitTestFindsCaptionCloseButtonAndEdges)
{
    TBarFrameHitInfo frame;
    frame.WindowSize = TPoint(200, 100);
    frame.Border = TPoint(4, 4);
    frame.SmallCaption = 17;
    EXPECT_EQ(FloatingCaptionRect(frame), TRect(4, 4, 196, 20));
    EXPECT_EQ(FloatingCloseRect(frame), TRect(180, 4, 196, 20));

    TBarFrameHitInfo noClose = frame;
    noClose.CloseButton = false;
    TBarFrameHitInfo noCaption = frame;
    noCaption.ShowCaption = false;
    TBarFrameHitInfo noCorners = frame;
    noCorners.SizingCorners = false;
    TBarFrameHitInfo fixed = frame;
    fixed.Resizable = false;
    struct HitCase
    {
        const char* name;
        const TBarFrameHitInfo* frame;
        TPoint p;
        LRESULT code;
    };
    const HitCase cases[] = {
        {"caption", &frame, TPoint(50, 10), kBarHitFloatingCaption},
        {"close button", &frame, TPoint(185, 10), kBarHitCloseButton},
        {"close button hidden", &noClose, TPoint(185, 10), kBarHitFloatingCaption},
        {"no caption", &noCaption, TPoint(50, 10), 0},
        {"client", &frame, TPoint(100, 50), 0},
        {"left edge near the top", &frame, TPoint(1, 5), HTTOPLEFT},
        {"left edge", &frame, TPoint(1, 50), HTLEFT},
        {"left edge near the bottom", &frame, TPoint(1, 85), HTBOTTOMLEFT},
        {"right edge, five pixels wide", &frame, TPoint(195, 50), HTRIGHT},
        {"inside the right edge", &frame, TPoint(194, 50), 0},
        {"top edge", &frame, TPoint(50, 1), HTTOP},
        {"top edge near the left", &frame, TPoint(10, 1), HTTOPLEFT},
        {"top edge near the right", &frame, TPoint(185, 1), HTTOPRIGHT},
        {"bottom edge", &frame, TPoint(50, 95), HTBOTTOM},
        {"without corners the top wins", &noCorners, TPoint(1, 1), HTTOP},
        {"without corners the left edge", &noCorners, TPoint(1, 50), HTLEFT},
        {"a fixed frame has no edges", &fixed, TPoint(1, 50), 0},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FloatingFrameHitTest(*c.frame, c.p), c.code);
    }
}

} // namespace
