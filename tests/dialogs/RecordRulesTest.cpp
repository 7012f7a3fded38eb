#include "dialogs/RecordRules.h"

#include <gtest/gtest.h>

#include <climits>

TEST(RecordRules, StoredRateChoosesItsItemElse44100)
{
    struct Case
    {
        std::int32_t Stored;
        int Index;
    };
    const Case cases[] = {
        {96000, 0}, // the first item is restored too
        {48000, 1}, {44100, 2}, {8000, 6}, {22050, 4}, {44000, 2}, {0, 2}, {-1, 2}, {192000, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordRateIndex(c.Stored), c.Index) << c.Stored;
}

TEST(RecordRules, StoredChannelsAndDevice)
{
    EXPECT_EQ(RecordChannelIndex(1), 0);
    EXPECT_EQ(RecordChannelIndex(2), 1);
    EXPECT_EQ(RecordChannelIndex(0), 1);
    EXPECT_EQ(RecordChannelIndex(7), 1);
    const std::vector<AnsiString> names = {"Line In", "Mic", "Mic"};
    EXPECT_EQ(RecordDeviceIndex(names, "Mic"), 1);
    EXPECT_EQ(RecordDeviceIndex(names, "Line In"), 0);
    EXPECT_EQ(RecordDeviceIndex(names, "mic"), 0); // names compare exactly
    EXPECT_EQ(RecordDeviceIndex(names, ""), 0);
}

TEST(RecordRules, UsableRatesAndTheLimit)
{
    EXPECT_FALSE(RecordRateUsable(0));
    EXPECT_TRUE(RecordRateUsable(1));
    EXPECT_TRUE(RecordRateUsable(96000));
    EXPECT_FALSE(RecordRateUsable(96001));
    EXPECT_EQ(RecordTimeLimit(false, 5), -1);
    EXPECT_EQ(RecordTimeLimit(true, 5), 300);
    EXPECT_EQ(RecordTimeLimit(true, 1), 60);
    EXPECT_EQ(RecordTimeLimit(true, INT_MAX), INT_MAX);
    EXPECT_EQ(RecordTimeLimit(true, -2), 0);
}

TEST(RecordRules, FreeSpaceText)
{
    struct Case
    {
        std::int64_t Bytes;
        const char* Text;
    };
    const Case cases[] = {
        {900LL * 1048576, "900.0 MB"},
        {2LL * 1073741824, "2.00 GB"},
        {1073741823, "1,024.0 MB"}, // a byte short of 1 GiB
        {1073741824, "1.00 GB"},
        {1048576, "1.0 MB"},
        {1572864, "1.5 MB"},
        {12LL * 1073741824 + 1073741824 / 2, "12.50 GB"},
        {3000LL * 1073741824, "3,000.00 GB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FreeSpaceText(c.Bytes), c.Text) << c.Bytes;
}

TEST(RecordRules, RemainingSecondsAndTheCapacityText)
{
    // 44100 Hz stereo: 176444 bytes a second.
    EXPECT_EQ(RemainingRecordSeconds(176444 * 60, 44100, 2), 60);
    EXPECT_EQ(RemainingRecordSeconds(176444 * 60 - 1, 44100, 2), 59);
    EXPECT_EQ(RemainingRecordSeconds(8044, 4000, 1), 1);
    EXPECT_EQ(RemainingRecordSeconds(0, 44100, 2), 0);
    // 2 GiB at 96000 Hz stereo: 2147483648 div 384044 = 5591.
    EXPECT_EQ(RemainingRecordSeconds(2LL * 1073741824, 96000, 2), 5591);
    EXPECT_EQ(RecordCapacityText(2LL * 1073741824, 96000, 2), "93:11 ( 残り容量 2.00 GB )");
    EXPECT_EQ(RecordCapacityText(900LL * 1048576, 8000, 1), "980:20 ( 残り容量 900.0 MB )");
}

TEST(RecordRules, ARecordingStopsBelowOneMebibyteFree)
{
    EXPECT_TRUE(DiskSpaceExhausted(-1)); // unknown
    EXPECT_TRUE(DiskSpaceExhausted(0));
    EXPECT_TRUE(DiskSpaceExhausted(1048575));
    EXPECT_FALSE(DiskSpaceExhausted(1048576));
}
