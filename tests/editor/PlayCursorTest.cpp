// Where the cursor goes without windows: the file's bounds and the
// selection's hold, chase while playing (moving on near the right edge,
// centring a lost position, staying once the end is in view) and the time
// label.
#include "editor/PlayCursor.h"

#include <gtest/gtest.h>

namespace {

TViewDocument Doc(std::int32_t length, std::uint32_t rate = 8000)
{
    TViewDocument doc;
    doc.Loaded = true;
    doc.Length = length;
    doc.Rate = rate;
    return doc;
}

TWaveViewState ViewOf(std::int32_t start, std::int32_t end, std::int32_t playPos = 0)
{
    TWaveViewState view;
    view.ViewStart = start;
    view.ViewEnd = end;
    view.SamplesPerPixel = 1;
    view.PlayPos = playPos;
    return view;
}

void Select(TWaveViewState& view, std::int32_t start, std::int32_t end)
{
    view.SelStart = start;
    view.SelEnd = end;
    view.HasSelection = true;
}

} // namespace

TEST(PlaceCursor, StaysWithinTheFile)
{
    const TWaveViewState view = ViewOf(0, 1000);
    EXPECT_EQ(PlaceCursor(view, Doc(5000), -30).PlayPos, 0);
    EXPECT_EQ(PlaceCursor(view, Doc(5000), 7000).PlayPos, 5000);
    EXPECT_EQ(PlaceCursor(view, Doc(5000), 1234).PlayPos, 1234);
    EXPECT_EQ(PlaceCursor(view, Doc(5000), 1234).Hold, TCursorHold::None);
}

TEST(PlaceCursor, TheSelectionHoldsTheCursorAtItsEdges)
{
    TWaveViewState view = ViewOf(0, 1000);
    Select(view, 1000, 2000);
    const TCursorPlace before = PlaceCursor(view, Doc(5000), 400);
    EXPECT_EQ(before.PlayPos, 1000);
    EXPECT_EQ(before.Hold, TCursorHold::SelectionStart);
    EXPECT_EQ(PlaceCursor(view, Doc(5000), 1000).Hold, TCursorHold::SelectionStart);
    const TCursorPlace after = PlaceCursor(view, Doc(5000), 9000);
    EXPECT_EQ(after.PlayPos, 2000);
    EXPECT_EQ(after.Hold, TCursorHold::SelectionEnd);
    EXPECT_EQ(PlaceCursor(view, Doc(5000), 1500).PlayPos, 1500);
    EXPECT_EQ(PlaceCursor(view, Doc(5000), 1500).Hold, TCursorHold::None);
}

TEST(ChaseStart, MovesOnInTheLastTenthKeepingTheLastFifth)
{
    const TViewDocument doc = Doc(100000);
    EXPECT_FALSE(ChaseStart(ViewOf(0, 1000, 900), doc)); // not past the last tenth
    EXPECT_EQ(ChaseStart(ViewOf(0, 1000, 901), doc), 800);
    EXPECT_EQ(ChaseStart(ViewOf(2000, 3000, 2999), doc), 2800);
}

TEST(ChaseStart, StaysOnceTheEndIsInViewAndCentresALostPosition)
{
    const TViewDocument doc = Doc(3000);
    EXPECT_FALSE(ChaseStart(ViewOf(2000, 3000, 2990), doc));
    EXPECT_EQ(ChaseStart(ViewOf(0, 1000, 2500), doc), 2000);
    EXPECT_EQ(ChaseStart(ViewOf(1000, 2000, 100), doc), -400); // the redraw shows the beginning
}

TEST(PlayCursorText, PositionAndLength)
{
    EXPECT_EQ(PlayTimeText(Doc(8000 * 75), 8000 * 61 + 4), "1:01.00 / 1:15.00");
}
