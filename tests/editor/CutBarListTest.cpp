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
