// The extended bars' layout rules: the right-align spacer's width, the
// status bar's grip and margin, its divider lines.
#include "controls/ExtBarRules.h"

#include <gtest/gtest.h>

TEST(RightAlignSpacer, TakesTheSpaceLeftAndNeverLessThanNothing)
{
    struct Case
    {
        bool horizontal;
        int width, height, margin, total, spacer, expected;
    };
    const Case cases[] = {
        {true, 400, 22, 4, 150, 0, 246},
        {true, 400, 22, 4, 300, 50, 146}, // the spacer's own width counts as free
        {true, 100, 22, 4, 150, 10, 0},   // narrower than its items
        {false, 22, 300, 4, 100, 0, 190}, // docked at a side: along the height
    };
    for (const Case& c : cases) {
        const int space = ToolbarPushSpace(c.horizontal, c.width, c.height, c.margin);
        EXPECT_EQ(RightAlignSpacerWidth(space, c.total, c.spacer), c.expected)
            << c.width << "x" << c.height;
    }
}

TEST(StatusGrip, ShowsOnlyOnASizableRestoredFormAndSetsTheMargin)
{
    const TRect dock(0, 0, 300, 20);
    struct Case
    {
        TStatusGripState state;
        TRect grip;
        int margin;
    };
    const Case cases[] = {
        {{}, {283, 0, 300, 20}, 17},      {{.Destroying = true}, {}, 4},
        {{.SizeGrip = false}, {}, 4},     {{.Docked = false}, {}, 4},
        {{.FormMaximized = true}, {}, 4}, {{.FormSizable = false}, {}, 4},
    };
    for (const Case& c : cases) {
        const TRect grip = StatusGripRect(c.state, dock, 17);
        EXPECT_EQ(grip, c.grip);
        EXPECT_EQ(StatusRightPushMargin(grip), c.margin);
    }
}

TEST(StatusDividers, TwoLinesPerSeparatorShadedOnlyWhenClassic)
{
    using Lines = std::vector<TDividerLine>;
    EXPECT_EQ(StatusDividerLines({50, 120}, true),
              (Lines{{48, clWindow}, {51, clBtnShadow}, {118, clWindow}, {121, clBtnShadow}}));
    EXPECT_EQ(StatusDividerLines({50}, false), (Lines{{48, clWindow}, {51, clWindow}}));
    EXPECT_TRUE(StatusDividerLines({}, true).empty());
}

TEST(CustomizeDrop, PicksTheItemWhoseMiddleLiesBeyondThePoint)
{
    // Items 0, 2 and 3 shown (1 hidden), 5 items in all.
    const std::vector<TItemSpan> spans = {{0, 40, 0}, {40, 60, 2}, {60, 100, 3}};
    struct Case
    {
        int pos, index, mark;
    };
    const Case cases[] = {
        {-5, 0, 0},    {19, 0, 0},  {20, 2, 40},  {49, 2, 40},
        {50, 3, 60},   {79, 3, 60}, {80, 5, 100}, // past the middle of the last: at the end
        {500, 5, 100},
    };
    for (const Case& c : cases) {
        const int index = CustomizeDropIndex(spans, c.pos, 5);
        EXPECT_EQ(index, c.index) << c.pos;
        EXPECT_EQ(CustomizeMarkPos(spans, index), c.mark) << c.pos;
    }
    EXPECT_EQ(CustomizeDropIndex({}, 10, 0), 0);
    EXPECT_EQ(CustomizeMarkPos({}, 0), 0);
}

TEST(CustomizeDrop, InsertIndexAllowsForTheItemTakenOut)
{
    struct Case
    {
        int drop, old, expected;
    };
    const Case cases[] = {
        {0, 2, 0},  {3, 0, 2},  {5, 1, 4}, // moved back, then forward past others
        {2, 2, -1}, {3, 2, -1},            // dropped on either side of itself: stays
        {2, -1, 2}, {0, -1, 0},            // from another toolbar
    };
    for (const Case& c : cases)
        EXPECT_EQ(CustomizeInsertIndex(c.drop, c.old), c.expected) << c.drop << " " << c.old;
}

TEST(AnchoredControls, FollowTheToolbarAndKeepTheirEndWhenItemsComeOrGo)
{
    TExtItemCache entry;
    entry.Width = 100;
    entry.ParentWidth = 400;
    const int widths[][2] = {{400, 100}, {450, 150}, {350, 50}, {250, 0}};
    for (const auto& w : widths)
        EXPECT_EQ(PinnedControlWidth(entry, w[0]), w[1]) << w[0];

    std::vector<TExtItemCache> cache = {entry, entry};
    CorrectCachedWidths(cache, 300, 330); // an item 30 wide came
    EXPECT_EQ(cache[0].Width, 70);
    EXPECT_EQ(cache[1].Width, 70);
    CorrectCachedWidths(cache, 330, 290); // one 40 wide went
    EXPECT_EQ(cache[0].Width, 110);
    CorrectCachedWidths(cache, -1, 290); // nothing laid out before
    EXPECT_EQ(cache[0].Width, 110);
}
