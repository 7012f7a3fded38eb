// Where popups go: the placement rule as a function of the position record.
#include "toolbar/BarAnim.h"
#include "toolbar/BarItem.h"

#include <gtest/gtest.h>

namespace {

// A 1000 x 800 work area; popups are 200 x 300 with a 3-pixel frame unless a
// case says otherwise.
struct PlacementCase
{
    const char* name;
    bool submenu;
    BYTE alignment;
    bool opposite;
    TRect item;      // the opener, or an empty rectangle at the point
    TPoint proposed; // X, Y before the rule
    int height;
    bool hasOpener;
    bool verticalOpener;
    std::vector<TRect> openerViewers;
    TPoint placed;
    BYTE direction;
    bool leftward;
};

TEST(BarPlacement, PopupsStayOnTheMonitorAndFlipWhereThatServesBetter)
{
    const TRect monitor(0, 0, 1000, 800);
    auto at = [](int x, int y) { return TRect(x, y, x, y); };
    const PlacementCase cases[] = {
        {"drop-down that fits",
         false,
         bpaLeft,
         false,
         TRect(100, 20, 150, 40),
         {100, 40},
         300,
         true,
         false,
         {},
         {100, 40},
         badDownward,
         false},
        {"drop-down at the right edge",
         false,
         bpaLeft,
         false,
         TRect(950, 20, 990, 40),
         {950, 40},
         300,
         true,
         false,
         {},
         {800, 40},
         badDownward,
         false},
        {"drop-down near the bottom opens above",
         false,
         bpaLeft,
         false,
         TRect(100, 700, 150, 720),
         {100, 720},
         300,
         true,
         false,
         {},
         {100, 400},
         badUpward,
         false},
        {"drop-down above a wrapped bar's second row",
         false,
         bpaLeft,
         false,
         TRect(100, 100, 150, 120),
         {100, 120},
         80,
         true,
         false,
         {TRect(100, 100, 150, 120), TRect(100, 120, 150, 140)},
         {100, 20},
         badUpward,
         false},
        {"drop-down too tall for either side moves beside its opener",
         false,
         bpaLeft,
         false,
         TRect(100, 300, 150, 320),
         {100, 320},
         500,
         true,
         false,
         {},
         {150, 300},
         badRightward,
         false},
        {"from a vertical bar to its right",
         false,
         bpaLeft,
         false,
         TRect(0, 100, 30, 130),
         {-200, 100},
         300,
         true,
         true,
         {},
         {30, 100},
         badRightward,
         false},
        {"context menu that fits",
         false,
         bpaLeft,
         false,
         at(300, 300),
         {300, 300},
         300,
         false,
         false,
         {},
         {300, 300},
         badDownward | badRightward,
         false},
        {"context menu in the bottom right corner",
         false,
         bpaLeft,
         false,
         at(900, 700),
         {900, 700},
         300,
         false,
         false,
         {},
         {700, 400},
         badUpward | badLeftward,
         false},
        {"right-aligned menu at the left edge",
         false,
         bpaRight,
         false,
         at(100, 100),
         {-100, 100},
         300,
         false,
         false,
         {},
         {100, 100},
         badDownward | badRightward,
         false},
        {"centred menu at the right edge",
         false,
         bpaCenter,
         false,
         at(950, 100),
         {850, 100},
         300,
         false,
         false,
         {},
         {800, 100},
         badDownward,
         false},
        {"menu as tall as the work area",
         false,
         bpaLeft,
         false,
         at(300, 100),
         {300, 100},
         800,
         false,
         false,
         {},
         {300, 0},
         badRightward,
         false},
        {"menu taller than the work area keeps its top",
         false,
         bpaLeft,
         false,
         at(300, 100),
         {300, 100},
         1000,
         false,
         false,
         {},
         {300, 0},
         badRightward,
         false},
        {"submenu that fits to the right",
         true,
         bpaLeft,
         false,
         TRect(300, 100, 450, 120),
         {447, 97},
         300,
         true,
         false,
         {},
         {447, 97},
         badRightward,
         false},
        {"submenu at the right edge opens to the left",
         true,
         bpaLeft,
         false,
         TRect(850, 100, 990, 120),
         {987, 97},
         300,
         true,
         false,
         {},
         {653, 97},
         badLeftward,
         true},
        {"submenu of a leftward menu keeps going left",
         true,
         bpaLeft,
         true,
         TRect(500, 100, 650, 120),
         {647, 97},
         300,
         true,
         false,
         {},
         {303, 97},
         badLeftward,
         true},
        {"leftward submenu without room on the left turns right again",
         true,
         bpaLeft,
         true,
         TRect(100, 100, 250, 120),
         {247, 97},
         300,
         true,
         false,
         {},
         {247, 97},
         badRightward,
         false},
        {"submenu with room on neither side stays on the monitor",
         true,
         bpaLeft,
         false,
         TRect(50, 100, 950, 120),
         {947, 97},
         300,
         true,
         false,
         {},
         {0, 97},
         badLeftward,
         true},
        {"submenu near the bottom ends with its item",
         true,
         bpaLeft,
         false,
         TRect(300, 700, 450, 720),
         {447, 697},
         300,
         true,
         false,
         {},
         {447, 423},
         badRightward,
         false},
    };
    for (const PlacementCase& c : cases) {
        TBarPopupPositionRec rec;
        rec.PositionAsSubmenu = c.submenu;
        rec.Alignment = c.alignment;
        rec.Opposite = c.opposite;
        rec.MonitorRect = monitor;
        rec.ParentItemRect = c.item;
        rec.NCSizeX = rec.NCSizeY = kBarPopupBorder;
        rec.X = c.proposed.x;
        rec.Y = c.proposed.y;
        rec.W = 200;
        rec.H = c.height;
        TBarPopupOpenerInfo opener;
        opener.Exists = c.hasOpener;
        opener.Vertical = c.verticalOpener;
        opener.ShownViewerRects = c.openerViewers;
        bool leftward = PlaceBarPopup(rec, opener);
        EXPECT_EQ(TPoint(rec.X, rec.Y), c.placed) << c.name;
        EXPECT_EQ(rec.AnimateDirection, c.direction) << c.name;
        EXPECT_EQ(leftward, c.leftward) << c.name;
        EXPECT_EQ(rec.W, 200) << c.name;
    }
}

} // namespace
