// The mouse tools without windows: each tool's stored number and cursor, and
// what ending a marker drag puts back into the cut bars.
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

} // namespace
