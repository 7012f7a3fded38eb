// What the automatic-region window previews, without windows.
#include "dialogs/AutoRegionPreview.h"

#include <gtest/gtest.h>

namespace {

using Pairs = std::vector<std::pair<std::int32_t, std::int32_t>>;

TAutoRegionList RegionsOf(Pairs pairs)
{
    TAutoRegionList list;
    list.Regions = std::move(pairs);
    return list;
}

std::vector<int> CoveredColumns(const TRegionPreviewColumns& columns)
{
    std::vector<int> covered;
    for (int x = 0; x < static_cast<int>(columns.Covered.size()); ++x)
        if (columns.Covered[x])
            covered.push_back(x);
    return covered;
}

} // namespace

TEST(AutoRegionPreviewTest, RegionsOutsideTheFileAreDropped)
{
    struct Case
    {
        Pairs Before;
        Pairs After;
        bool Dropped;
    };
    const Case cases[] = {
        {{{0, 100}, {50, 1000}}, {{0, 100}, {50, 1000}}, false},
        {{{-1, 100}, {50, 1000}}, {{50, 1000}}, true},
        {{{0, 1001}, {10, 20}, {-5, 2000}}, {{10, 20}}, true},
        {{}, {}, false},
    };
    for (const Case& c : cases) {
        TAutoRegionList regions = RegionsOf(c.Before);
        EXPECT_EQ(DropInvalidRegions(regions, 1000), c.Dropped);
        EXPECT_EQ(regions.Regions, c.After);
    }
}

TEST(AutoRegionPreviewTest, RegionsCoverTheColumnsOfTheirStartsToTheirEnds)
{
    struct Case
    {
        Pairs Regions;
        std::int32_t SampleSize;
        int Width;
        std::vector<int> Covered;
        std::vector<int> Marks;
    };
    const Case cases[] = {
        // 10 frames a column; 25 and 35 round to even (2 and 4).
        {{{25, 35}}, 1000, 100, {2, 3, 4}, {2}},
        {{{0, 1000}}, 1000, 4, {0, 1, 2, 3}, {0}}, // the file's end stays in the image
        {{{0, 10}, {990, 1000}}, 1000, 100, {0, 1, 99}, {0, 99}},
        // More frames than columns and fewer: both scale.
        {{{1, 2}}, 4, 8, {2, 3, 4}, {2}},
        {{{500, 600}}, 0, 100, {}, {}}, // no file: no columns
        {{{500, 600}}, 1000, 0, {}, {}},
    };
    for (const Case& c : cases) {
        const TRegionPreviewColumns columns =
            RegionPreviewColumns(RegionsOf(c.Regions), c.SampleSize, c.Width);
        EXPECT_EQ(CoveredColumns(columns), c.Covered);
        EXPECT_EQ(columns.Marks, c.Marks);
    }
}

TEST(AutoRegionPreviewTest, CutPointsOtherThanTheFirstFrameGetColumns)
{
    TStringList points;
    for (const char* text : {"0", "500", "999", "1000", "x"})
        points.Add(text);
    EXPECT_EQ(CutPointColumns(points, 1000, 10), (std::vector<int>{5, 9, 9}));
    EXPECT_EQ(CutPointColumns(points, 0, 10), std::vector<int>{});
}

TEST(AutoRegionPreviewTest, DuplicateCutPointsLeaveTheFirstOfEqualsInPlace)
{
    struct Case
    {
        std::vector<const char*> Before;
        std::vector<const char*> After;
    };
    const Case cases[] = {
        {{"10", "20", "10", "30", "20", "10"}, {"10", "20", "30"}},
        {{"5", "5", "5"}, {"5"}},
        {{"3", "2", "1"}, {"3", "2", "1"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        TStringList points;
        for (const char* text : c.Before)
            points.Add(text);
        RemoveDuplicateCutPoints(points);
        ASSERT_EQ(points.Count(), static_cast<int>(c.After.size()));
        for (int i = 0; i < points.Count(); ++i)
            EXPECT_EQ(points.Strings(i), c.After[i]);
    }
}

TEST(AutoRegionPreviewTest, CountTextEndsInTheCounter)
{
    EXPECT_EQ(DetectedCountText(4), "4 個");
    EXPECT_EQ(DetectedCountText(0), "0 個");
}
