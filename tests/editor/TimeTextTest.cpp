// Time text: rounding that carries into the minutes, halves rounded away
// from zero, minutes past 99, and values that read as zero.
#include "editor/TimeText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TimeText, RoundingCarriesIntoTheMinutes)
{
    EXPECT_EQ(FormatTime(59.996), "1:00.00");
    EXPECT_EQ(FormatTime(59.994), "0:59.99");
    EXPECT_EQ(FormatTime(119.999), "2:00.00");
    EXPECT_EQ(FormatTimeShort(3599.6), "60:00");
    EXPECT_EQ(FormatTimeShort(59.4), "0:59");
}

TEST(TimeText, HalvesRoundAwayFromZero)
{
    // Exact binary halves, where rounding to even would give .12 and 0:00.
    EXPECT_EQ(FormatTime(0.125), "0:00.13");
    EXPECT_EQ(FormatTime(0.375), "0:00.38");
    EXPECT_EQ(FormatTimeShort(0.5), "0:01");
    EXPECT_EQ(FormatTimeShort(2.5), "0:03");
}

TEST(TimeText, MinutesGrowPastTwoDigits)
{
    EXPECT_EQ(FormatTime(6000.5), "100:00.50");
    EXPECT_EQ(FormatTime(99 * 60 + 59.999), "100:00.00");
    EXPECT_EQ(FormatTimeShort(1000 * 60 + 7), "1000:07");
}

TEST(TimeText, NegativeAndNonFiniteReadAsZero)
{
    EXPECT_EQ(FormatTime(-1), "0:00.00");
    EXPECT_EQ(FormatTime(-0.001), "0:00.00");
    EXPECT_EQ(FormatTime(std::nan("")), "0:00.00");
    EXPECT_EQ(FormatTime(std::numeric_limits<double>::infinity()), "0:00.00");
    EXPECT_EQ(FormatTimeShort(-0.2), "0:00");
    EXPECT_EQ(FormatTimeShort(std::nan("")), "0:00");
    // Far beyond any file, still a number rather than an overflow.
    EXPECT_EQ(FormatTime(1e300).find('-'), std::string::npos);
}
