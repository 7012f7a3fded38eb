// The cut-bar list read as samples, and the neighbours next and back move to.
#include "editor/CutBarList.h"

#include <gtest/gtest.h>

TEST(CutBarList, EntriesReadAsSamples)
{
    TStringList list;
    list.Add("000000000005");
    list.Add("000000441000");
    list.Add("junk");
    EXPECT_EQ(CutBarPositions(&list), (std::vector<std::int32_t>{5, 441000, 0}));
    EXPECT_TRUE(CutBarPositions(nullptr).empty());
}

TEST(CutBarList, NeighboursOfAPosition)
{
    const std::vector<std::int32_t> bars = {100, 500, 500, 900};
    EXPECT_EQ(NextCutBar(bars, 0), 100);
    EXPECT_EQ(NextCutBar(bars, 100), 500); // strictly after
    EXPECT_EQ(NextCutBar(bars, 500), 900);
    EXPECT_FALSE(NextCutBar(bars, 900));
    EXPECT_EQ(PreviousCutBar(bars, 900), 500); // strictly before
    EXPECT_EQ(PreviousCutBar(bars, 501), 500);
    EXPECT_EQ(PreviousCutBar(bars, 100), 0); // none before: the beginning
    EXPECT_EQ(PreviousCutBar({}, 300), 0);
}

TEST(CutBarList, RowTextsOfAnEntry)
{
    struct Case
    {
        int index;
        std::int32_t sample;
        int rate;
        const char *number, *time, *samples;
    };
    const Case cases[] = {
        {0, 5, 44100, "1", "0:00.00", "5"},
        {2, 441000, 44100, "3", "0:10.00", "441,000"},
        {9, 2646000, 44100, "10", "1:00.00", "2,646,000"},
        {0, 1000, 0, "1", "0:00.00", "1,000"}, // no rate: no time
    };
    for (const Case& c : cases) {
        const TCutBarRow row = CutBarRowFor(c.index, c.sample, c.rate);
        EXPECT_EQ(row.Number, c.number) << c.sample;
        EXPECT_EQ(row.Time, c.time) << c.sample;
        EXPECT_EQ(row.Samples, c.samples) << c.sample;
    }
}

TEST(CutBarList, AnEntryIsTwelveDigits)
{
    EXPECT_EQ(CutBarEntryText(5), "000000000005");
    EXPECT_EQ(CutBarEntryText(0), "000000000000");
    EXPECT_EQ(CutBarEntryText(2147483647), "002147483647");
    EXPECT_EQ(CutBarSample(CutBarEntryText(441000)), 441000);
}

TEST(CutBarList, ACutAddsTheRegionFromTheBarBeforeIt)
{
    struct Case
    {
        std::vector<std::int32_t> Others;
        std::int32_t Cut;
        std::int32_t Start;
    };
    const Case cases[] = {
        {{500, 3000}, 1000, 500},    {{3000}, 1000, 0}, {{}, 1000, 0},
        {{1000, 3000}, 1000, 1000}, // a bar already there: an empty region
        {{200, 700, 900}, 800, 700},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutRegionStart(c.Others, c.Cut), c.Start) << c.Cut;
}

TEST(CutBarList, BarsTurnIntoTheRegionsBetweenThem)
{
    using R = std::vector<TRegionRange>;
    EXPECT_EQ(CutBarsToRegions({0, 100, 200}, 1000), (R{{0, 99}, {100, 199}, {200, 1000}}));
    EXPECT_EQ(CutBarsToRegions({0}, 1000), (R{{0, 1000}}));
    EXPECT_EQ(CutBarsToRegions({400}, 1000), (R{{0, 399}, {400, 1000}}));
    EXPECT_EQ(CutBarsToRegions({}, 1000), R{});
}

TEST(CutBarList, ANudgeTakesTheBarToItsSortedPlace)
{
    struct Case
    {
        const char* Name;
        std::vector<std::int32_t> Bars;
        int Index;
        bool Forward;
        std::optional<std::int32_t> Sample;
        int NewIndex;
    };
    // 100 samples per pixel, 1000 frames.
    const Case cases[] = {
        {"on, passing none", {100, 500, 900}, 1, true, 600, 1},
        {"on, past one", {100, 150, 900}, 0, true, 200, 1},
        {"on, past two", {100, 150, 180, 900}, 0, true, 200, 2},
        {"back, past one", {100, 450, 480}, 2, false, 380, 1},
        {"back, past two", {100, 450, 480, 520}, 3, false, 420, 1},
        {"an equal neighbour is not passed", {100, 200, 200, 900}, 0, true, 200, 0},
        {"the last frames: to the length", {100, 950}, 1, true, 1000, 1},
        {"the first frames: to 0", {50, 900}, 0, false, 0, 0},
        {"at the length", {100, 1000}, 1, true, std::nullopt, 0},
        {"at 0", {0, 100}, 0, false, std::nullopt, 0},
        {"no such bar", {100}, 1, true, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const auto nudge = NudgedCutBar(c.Bars, c.Index, c.Forward, 100, 1000);
        ASSERT_EQ(nudge.has_value(), c.Sample.has_value()) << c.Name;
        if (!nudge)
            continue;
        EXPECT_EQ(nudge->Sample, *c.Sample) << c.Name;
        EXPECT_EQ(nudge->Index, c.NewIndex) << c.Name;
    }
}
