// The rules of the region commands: merge and duplicate names, where
// duplicates go, the adjust commands at their limits and the keys the main
// window keeps from its controls.
#include "editor/RegionCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using Names = std::vector<AnsiString>;
using R = TRegionAdjust;

TEST(RegionCommands, AMergedRegionTakesAFreeName)
{
    struct Case
    {
        const char* name;
        Names captions;
        const char* merged;
    };
    const Case cases[] = {
        {"A", {"A", "B", "C"}, "A_Merged"},
        {"A", {"A", "B", "A_Merged"}, "A_Merged(1)"},
        {"A", {"A_Merged(1)", "A", "A_Merged"}, "A_Merged(2)"},
        {"A", {"A", "A_Merged(2)"}, "A_Merged"}, // only a taken name moves on
        {"A", {"A", "a_Merged"}, "A_Merged"},    // names compare exactly
        {"", {"", "_Merged"}, "_Merged(1)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MergedRegionName(c.name, c.captions), c.merged) << c.name;
}

TEST(RegionCommands, DuplicatesTakeTheSmallestFreeNumber)
{
    struct Case
    {
        Names names;
        std::vector<int> selected;
        Names copies;
    };
    const Case cases[] = {
        {{"A", "A(1)", "B"}, {0, 1}, {"A(2)", "A(1)(1)"}},
        {{"A", "B"}, {1}, {"B(1)"}},
        {{"A", "A(2)"}, {0}, {"A(1)"}},
        // Two items of one name never give two duplicates of one name.
        {{"X", "X"}, {0, 1}, {"X(1)", "X(2)"}},
        {{"A"}, {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DuplicateNames(c.names, c.selected), c.copies);
}

TEST(RegionCommands, AStableSortByTheKeysPutsEachDuplicateAfterItsSource)
{
    struct Case
    {
        int count;
        std::vector<int> selected;
        std::vector<int> order; // item indexes after the sort; duplicates are count + k
    };
    const Case cases[] = {
        {3, {0, 1}, {0, 3, 1, 4, 2}},
        {3, {2}, {0, 1, 2, 3}},
        {4, {0, 3}, {0, 4, 1, 2, 3, 5}},
        {12, {10}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 11}}, // keys order as numbers
    };
    for (const Case& c : cases) {
        const Names keys = DuplicateSortKeys(c.count, c.selected);
        std::vector<int> order(keys.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return keys[a] < keys[b]; });
        EXPECT_EQ(order, c.order) << c.count;
    }
}

namespace {

struct AdjustCase
{
    R adjust;
    std::optional<TRegionRange> before; // none: no selection
    std::int32_t cursor;
    std::optional<TRegionRange> after; // none: the command does nothing
};

} // namespace

TEST(RegionCommands, AdjustingTheSelection)
{
    constexpr std::int32_t s = 100;
    constexpr std::int32_t length = 10000;
    const AdjustCase cases[] = {
        // Widening without a selection starts one at the cursor.
        {R::StartWide, std::nullopt, 500, TRegionRange{400, 500}},
        {R::StartWide, std::nullopt, 0, std::nullopt},
        {R::StartWide, std::nullopt, 50, TRegionRange{0, 50}},
        {R::EndWide, std::nullopt, 500, TRegionRange{500, 600}},
        {R::EndWide, std::nullopt, length, std::nullopt},
        {R::EndWide, std::nullopt, 9950, TRegionRange{9950, length}},
        // The other four need a selection.
        {R::StartShort, std::nullopt, 500, std::nullopt},
        {R::EndShort, std::nullopt, 500, std::nullopt},
        {R::Rew, std::nullopt, 500, std::nullopt},
        {R::Fwd, std::nullopt, 500, std::nullopt},
        // Edges at the file's limits.
        {R::StartWide, TRegionRange{0, 300}, 0, std::nullopt},
        {R::StartWide, TRegionRange{30, 300}, 0, TRegionRange{0, 300}},
        {R::EndWide, TRegionRange{300, length}, 0, std::nullopt},
        {R::EndWide, TRegionRange{300, 9990}, 0, TRegionRange{300, length}},
        // Shortening never reaches the other edge.
        {R::StartShort, TRegionRange{1000, 1100}, 0, std::nullopt},
        {R::StartShort, TRegionRange{1000, 1101}, 0, TRegionRange{1100, 1101}},
        {R::EndShort, TRegionRange{1000, 1100}, 0, std::nullopt},
        {R::EndShort, TRegionRange{1000, 1101}, 0, TRegionRange{1000, 1001}},
        // Moving keeps the length and stops at the file's ends.
        {R::Rew, TRegionRange{0, 300}, 0, std::nullopt},
        {R::Rew, TRegionRange{40, 300}, 0, TRegionRange{0, 260}},
        {R::Rew, TRegionRange{500, 700}, 0, TRegionRange{400, 600}},
        {R::Fwd, TRegionRange{500, length}, 0, std::nullopt},
        {R::Fwd, TRegionRange{0, 9960}, 0, TRegionRange{40, length}},
        {R::Fwd, TRegionRange{0, 300}, 0, TRegionRange{100, 400}},
    };
    for (const AdjustCase& c : cases)
        EXPECT_EQ(AdjustedSelection(c.adjust, c.before, c.cursor, s, length), c.after)
            << static_cast<int>(c.adjust) << " at " << (c.before ? c.before->Start : -1);
}

TEST(RegionCommands, AdjustingARegion)
{
    constexpr std::int32_t s = 100;
    constexpr std::int32_t length = 10000;
    const AdjustCase cases[] = {
        {R::StartWide, TRegionRange{0, 300}, 0, std::nullopt},
        {R::StartWide, TRegionRange{60, 300}, 0, TRegionRange{0, 300}},
        {R::StartShort, TRegionRange{1000, 1100}, 0, std::nullopt},
        {R::StartShort, TRegionRange{1000, 1101}, 0, TRegionRange{1100, 1101}},
        {R::EndWide, TRegionRange{0, length}, 0, std::nullopt},
        {R::EndWide, TRegionRange{0, 9999}, 0, TRegionRange{0, length}},
        // s samples long: nothing; s + 1: one sample is left.
        {R::EndShort, TRegionRange{1000, 1100}, 0, std::nullopt},
        {R::EndShort, TRegionRange{1000, 1101}, 0, TRegionRange{1000, 1001}},
        {R::Rew, TRegionRange{0, 500}, 0, std::nullopt},
        {R::Rew, TRegionRange{1, 500}, 0, TRegionRange{0, 499}},
        // Move-later from the file's start moves it.
        {R::Fwd, TRegionRange{0, 500}, 0, TRegionRange{100, 600}},
        {R::Fwd, TRegionRange{0, length}, 0, std::nullopt},
    };
    for (const AdjustCase& c : cases)
        EXPECT_EQ(AdjustedRegion(c.adjust, *c.before, s, length), c.after)
            << static_cast<int>(c.adjust) << " at " << c.before->Start;
}

TEST(RegionCommands, AdjustingNeverOverflowsNearTheLargestPosition)
{
    constexpr std::int32_t top = 2147483647;
    EXPECT_EQ(AdjustedRegion(R::EndWide, {0, top - 10}, 1000, top), (TRegionRange{0, top}));
    EXPECT_EQ(AdjustedRegion(R::Fwd, {top - 20, top - 10}, 1000, top),
              (TRegionRange{top - 10, top}));
    EXPECT_FALSE(AdjustedRegion(R::StartShort, {top - 20, top - 10}, 1000, top));
}

TEST(RegionCommands, KeysTheWindowKeepsFromItsControls)
{
    using A = TActiveControl;
    using K = TChildKeyAction;
    struct Case
    {
        unsigned key;
        A active;
        int selected;
        K action;
    };
    const Case cases[] = {
        {VK_BACK, A::RegionList, 1, K::DeleteRegions},
        {VK_BACK, A::RegionList, 0, K::PassOn},
        {VK_BACK, A::TextEdit, 3, K::PassOn},
        {VK_BACK, A::Wave, 3, K::PassOn},
        {VK_LEFT, A::RegionList, 1, K::Swallow},
        {VK_RIGHT, A::CutBarList, 0, K::Swallow},
        {VK_LEFT, A::Wave, 0, K::Swallow},
        {VK_LEFT, A::TextEdit, 0, K::PassOn},
        {VK_RIGHT, A::ManualRenameEdit, 0, K::PassOn},
        {VK_RIGHT, A::ExplorerTree, 0, K::PassOn},
        {VK_UP, A::RegionList, 1, K::PassOn},
        {VK_DELETE, A::RegionList, 1, K::PassOn}, // the delete command's own shortcut
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChildKeyAction(c.key, c.active, c.selected), c.action)
            << c.key << " " << static_cast<int>(c.active);
}
