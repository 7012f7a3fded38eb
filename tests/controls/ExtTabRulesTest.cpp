// The tab strip's rules without windows: the active index through requests,
// insertions and deletions with their events, fitted widths, overflow into
// the hidden list, sheet names and page rectangles.
#include "controls/ExtTabRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<TTabStripSlot> Tabs(int count)
{
    return std::vector<TTabStripSlot>(count);
}

// A strip whose events are written down as text.
struct RecordedStrip
{
    TTabActivation tabs;
    std::string log;
    bool allow = true;

    RecordedStrip()
    {
        tabs.OnChanging = [this](int from, int to, bool& allowed) {
            log += "changing " + std::to_string(from) + ">" + std::to_string(to) + ";";
            allowed = allow;
        };
        tabs.OnChanged = [this](int to) { log += "changed " + std::to_string(to) + ";"; };
    }
};

} // namespace

TEST(TabActivation, RequestsNormaliseOutOfRangeAndKeepForNonTabs)
{
    std::vector<TTabStripSlot> items = Tabs(4);
    items[3].IsTab = false;
    items[2].Destroying = true;
    struct Case
    {
        int from, requested, expected;
        const char* log;
    };
    const Case cases[] = {
        {1, 10, -1, "changing 1>-1;changed -1;"},
        {1, -5, -1, "changing 1>-1;changed -1;"},
        {1, 4, -1, "changing 1>-1;changed -1;"},
        {-1, 0, 0, "changing -1>0;changed 0;"},
        {1, 1, 1, ""},
        {1, 3, 1, ""},                           // not a tab: stays
        {1, 2, -1, "changing 1>-1;changed -1;"}, // being freed
        {-1, -7, -1, ""},
    };
    for (const Case& c : cases) {
        RecordedStrip strip;
        strip.tabs.Move(c.from);
        strip.tabs.Request(c.requested, items);
        EXPECT_EQ(strip.tabs.Active(), c.expected) << c.from << " " << c.requested;
        EXPECT_EQ(strip.log, c.log) << c.from << " " << c.requested;
    }
}

TEST(TabActivation, RefusedChangeKeepsTabAndFiresNoChange)
{
    RecordedStrip strip;
    strip.tabs.Move(2);
    strip.allow = false;
    EXPECT_FALSE(strip.tabs.Request(0, Tabs(4)));
    EXPECT_EQ(strip.tabs.Active(), 2);
    EXPECT_EQ(strip.log, "changing 2>0;");
}

TEST(TabActivation, InsertionMovesTheActiveIndexSilently)
{
    struct Case
    {
        int active, inserted, expected;
    };
    const Case cases[] = {{1, 0, 2}, {1, 1, 2}, {1, 2, 1}, {-1, 0, -1}};
    for (const Case& c : cases) {
        RecordedStrip strip;
        strip.tabs.Move(c.active);
        strip.tabs.Inserted(c.inserted);
        EXPECT_EQ(strip.tabs.Active(), c.expected) << c.active << " " << c.inserted;
        EXPECT_EQ(strip.log, "");
    }
}

TEST(TabActivation, DeletionActivatesThePriorTabOrTheNextOrNone)
{
    using After = TTabActivation::TAfterDelete;
    struct Case
    {
        int active, deleted, left; // left: tabs after the deletion
        bool allow;
        int expected;
        After after;
        const char* log;
    };
    const Case cases[] = {
        {2, 0, 3, true, 1, After::Nothing, ""},
        {1, 3, 3, true, 1, After::Nothing, ""},
        {2, 2, 3, true, 1, After::RequestPrior, "changing 2>1;changed 1;"},
        // The tab that went cannot stay, whatever the handler answers.
        {2, 2, 3, false, 1, After::RequestPrior, "changing 2>1;changed 1;"},
        {0, 0, 2, true, 0, After::ClickNext, ""},
        {0, 0, 0, true, -1, After::ClearActive, "changed -1;"},
        {-1, 0, 2, true, -1, After::Nothing, ""},
    };
    for (const Case& c : cases) {
        RecordedStrip strip;
        strip.tabs.Move(c.active);
        strip.allow = c.allow;
        EXPECT_EQ(strip.tabs.Deleted(c.deleted, Tabs(c.left)), c.after)
            << c.active << " " << c.deleted;
        EXPECT_EQ(strip.tabs.Active(), c.expected) << c.active << " " << c.deleted;
        EXPECT_EQ(strip.log, c.log) << c.active << " " << c.deleted;
    }
}

TEST(TabActivation, ReapplyAfterTheFirstTabWentShowsTheNewFirstWithEvents)
{
    RecordedStrip strip;
    strip.tabs.Move(0);
    ASSERT_EQ(strip.tabs.Deleted(0, Tabs(2)), TTabActivation::TAfterDelete::ClickNext);
    strip.tabs.Reapply(Tabs(2));
    EXPECT_EQ(strip.tabs.Active(), 0);
    EXPECT_EQ(strip.log, "changing -1>0;changed 0;");
}

TEST(TabAutofit, WidthsFromTheDockClientWidth)
{
    struct Case
    {
        int client, tabs, fixed, spacers, max, margin;
        int tabWidth, spacerWidth;
    };
    const Case cases[] = {
        {404, 4, 0, 0, 200, 0, 100, 0},
        {404, 4, 0, 1, 200, 4, 95, 16},     // 20 reserved for the spacer
        {2004, 4, 0, 1, 200, 4, 200, 1196}, // capped: the spacer takes the rest
        {104, 3, 40, 0, 200, 0, 20, 0},
        {10, 2, 30, 1, 200, 4, 0, 0},  // no room: never negative
        {300, 0, 0, 1, 200, 4, 0, 0},  // no tabs: nothing to fit
        {403, 4, 0, 0, 200, 0, 99, 3}, // the division's rest
    };
    for (const Case& c : cases) {
        const TTabAutofit fit = FitTabs(c.client, c.tabs, c.fixed, c.spacers, c.max, c.margin);
        EXPECT_EQ(fit.TabWidth, c.tabWidth) << c.client << " " << c.tabs;
        EXPECT_EQ(fit.SpacerWidth, c.spacerWidth) << c.client << " " << c.tabs;
    }
}

namespace {

std::vector<TTabOverflowSlot> OverflowTabs(std::vector<int> widths)
{
    std::vector<TTabOverflowSlot> slots;
    for (int w : widths)
        slots.push_back({w});
    return slots;
}

std::string Shown(const std::vector<TTabOverflowSlot>& slots)
{
    std::string s;
    for (const TTabOverflowSlot& slot : slots)
        s += slot.Visible ? 'v' : (slot.Remembered ? 'r' : '-');
    return s;
}

} // namespace

TEST(TabOverflow, HidesFromTheEndAndShowsBackInOrder)
{
    struct Case
    {
        std::vector<int> widths;
        int usable;
        const char* shown;
    };
    const Case cases[] = {
        {{50, 50, 50, 50}, 200, "vvvv"},
        {{50, 50, 50, 50}, 199, "vvvr"},
        {{50, 50, 50, 50}, 120, "vvrr"},
        {{50, 50, 50, 50}, 10, "vrrr"}, // the first tab always stays
    };
    for (const Case& c : cases) {
        std::vector<TTabOverflowSlot> slots = OverflowTabs(c.widths);
        ApplyTabOverflow(slots, c.usable);
        EXPECT_EQ(Shown(slots), c.shown) << c.usable;
    }

    std::vector<TTabOverflowSlot> slots = OverflowTabs({50, 50, 50, 50});
    ApplyTabOverflow(slots, 10);
    EXPECT_TRUE(ApplyTabOverflow(slots, 151)); // the running width stays below
    EXPECT_EQ(Shown(slots), "vvvr");
    EXPECT_FALSE(ApplyTabOverflow(slots, 151));
    ApplyTabOverflow(slots, 500);
    EXPECT_EQ(Shown(slots), "vvvv");
}

TEST(TabOverflow, KeepsTheFirstSelectableTabAndOtherItems)
{
    std::vector<TTabOverflowSlot> slots = OverflowTabs({60, 60, 60, 0, 30});
    slots[0].Selectable = false;
    slots[3].IsSpacer = true;
    slots[3].IsTab = false;
    slots[4].IsTab = false;
    ApplyTabOverflow(slots, 40);
    EXPECT_EQ(Shown(slots), "rvrvv");
}

TEST(TabSheets, NewNamesSkipThoseInUse)
{
    EXPECT_EQ(FreeTabSheetName({}), "ExtTabSheet1");
    EXPECT_EQ(FreeTabSheetName({"ExtTabSheet1", "ExtTabSheet3"}), "ExtTabSheet2");
    EXPECT_EQ(FreeTabSheetName({"ExtTabSheet2", "ExtTabSheet1", "Other"}), "ExtTabSheet3");
}

TEST(TabSheets, PageRectanglesByPositionStyleAndMargins)
{
    const TRect client(0, 30, 289, 193);
    struct Case
    {
        TExtTabPosition position;
        bool styles;
        TRect margins, expected;
    };
    const Case cases[] = {
        {TExtTabPosition::ttpTop, false, {}, {2, 30, 287, 191}},
        {TExtTabPosition::ttpTop, true, {}, {2, 30, 285, 189}},
        {TExtTabPosition::ttpBottom, false, {}, {2, 32, 287, 193}},
        {TExtTabPosition::ttpBottom, true, {1, 2, 3, 4}, {3, 36, 282, 189}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TabSheetBounds(client, c.position, c.styles, c.margins), c.expected)
            << static_cast<int>(c.position) << c.styles;

    const TRect whole(0, 0, 289, 193);
    EXPECT_EQ(TabPageArea(whole, TExtTabPosition::ttpTop, 24), TRect(0, 22, 289, 193));
    EXPECT_EQ(TabPageArea(whole, TExtTabPosition::ttpBottom, 24), TRect(0, 0, 289, 171));
}

TEST(TabOverflow, NeverHidesTheActiveTab)
{
    std::vector<TTabOverflowSlot> slots = OverflowTabs({50, 50, 50, 50});
    slots[3].Active = true;
    ApplyTabOverflow(slots, 120);
    EXPECT_EQ(Shown(slots), "vrrv");
}

TEST(TabOverflow, ScrollsAHiddenTabIntoViewOneTabAtATime)
{
    struct Case
    {
        const char* before;
        int index;
        const char* after;
    };
    const Case cases[] = {
        {"vvvrr", 4, "vrrvv"}, // forward: the first tab stays, the next ones go
        {"vvvrr", 3, "vrvvr"}, {"vrrvv", 1, "vvvrr"}, // back: the last shown tabs go
        {"vrrvv", 2, "vrvvr"}, {"vvvrr", 1, "vvvrr"}, // already shown
        {"vrrrr", 3, "vrrvr"},                        // nothing to hide but the first tab
        {"vrvrv", 3, "vrvvr"},                        // between shown tabs
    };
    for (const Case& c : cases) {
        std::vector<TTabOverflowSlot> slots = OverflowTabs({50, 50, 50, 50, 50});
        for (size_t i = 0; i < slots.size(); ++i) {
            slots[i].Visible = c.before[i] == 'v';
            slots[i].Remembered = c.before[i] == 'r';
        }
        EXPECT_EQ(ScrollTabIntoView(slots, c.index), std::string(c.before) != c.after)
            << c.before << " " << c.index;
        EXPECT_EQ(Shown(slots), c.after) << c.before << " " << c.index;
    }
}

TEST(TabPainting, ShapesTabsByKindStateAndNeighbour)
{
    using K = TExtTabThemeType;
    using N = TTabNeighbour;
    const TRect tab(0, 0, 40, 20);
    struct Case
    {
        K kind;
        bool active, hot;
        N after;
        TRect body;
        bool drawBody, separator;
        int shift;
    };
    const Case cases[] = {
        {K::tttNone, true, false, N::Inactive, {0, 0, 40, 26}, true, false, 0},
        {K::tttNone, false, false, N::Inactive, {0, 0, 40, 21}, false, true, 2},
        {K::tttNone, false, false, N::Active, {0, 0, 40, 21}, false, false, 2},
        {K::tttNone, false, false, N::None, {0, 0, 40, 21}, false, false, 2},
        {K::tttNone, false, true, N::Inactive, {0, 0, 40, 21}, false, true, 2},
        {K::tttFlat, false, true, N::Inactive, {0, 0, 40, 26}, true, false, 2},
        {K::tttWindows, true, false, N::Inactive, {-2, 0, 42, 21}, true, false, 0},
        {K::tttWindows, true, false, N::None, {-2, 0, 40, 21}, true, false, 0},
        {K::tttWindows, false, false, N::Inactive, {0, 2, 40, 21}, true, false, 2},
    };
    for (const Case& c : cases) {
        const TTabShape shape = TabShape(tab, c.kind, c.active, c.hot, c.after);
        const std::string at = std::to_string(int(c.kind)) + " " + std::to_string(c.active) +
                               std::to_string(c.hot) + " " + std::to_string(int(c.after));
        EXPECT_EQ(shape.Body, c.body) << at;
        EXPECT_EQ(shape.DrawBody, c.drawBody) << at;
        EXPECT_EQ(shape.Separator, c.separator) << at;
        EXPECT_EQ(shape.CaptionShift, c.shift) << at;
    }
}

TEST(TabPainting, TheFocusSitsInsideTheActiveTabAndHotFlatTabsTakeTheThemeFace)
{
    using K = TExtTabThemeType;
    struct Case
    {
        K kind;
        TRect tab;
        bool active, hot, focused;
        TRect focus;
        bool themeFace;
    };
    const Case cases[] = {
        {K::tttNone, {0, 0, 40, 20}, true, false, true, {3, 3, 37, 17}, false},
        {K::tttWindows, {10, 0, 50, 20}, true, false, true, {13, 3, 47, 17}, false},
        {K::tttNone, {0, 0, 40, 20}, true, false, false, {}, false},
        {K::tttNone, {0, 0, 40, 20}, false, false, true, {}, false}, // only the active tab
        {K::tttFlat, {0, 0, 6, 20}, true, false, true, {}, false},   // no room inside
        {K::tttFlat, {0, 0, 40, 20}, false, true, false, {}, true},
        {K::tttFlat, {0, 0, 40, 20}, true, true, false, {}, false}, // the active face stays
        {K::tttNone, {0, 0, 40, 20}, false, true, false, {}, false},
        {K::tttWindows, {0, 0, 40, 20}, false, true, false, {}, false},
    };
    for (const Case& c : cases) {
        const TTabShape shape =
            TabShape(c.tab, c.kind, c.active, c.hot, TTabNeighbour::Inactive, c.focused);
        const std::string at = std::to_string(int(c.kind)) + " " + std::to_string(c.active) +
                               std::to_string(c.hot) + std::to_string(c.focused);
        EXPECT_EQ(shape.Focus, c.focus) << at;
        EXPECT_EQ(shape.ThemeFace, c.themeFace) << at;
    }
}
