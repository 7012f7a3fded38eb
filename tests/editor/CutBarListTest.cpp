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
