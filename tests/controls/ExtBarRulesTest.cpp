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
