#include "dialogs/RipRules.h"

#include <gtest/gtest.h>

TEST(RipRules, DriveCaptionNamesTheLabelOrTheKindOfDrive)
{
    EXPECT_EQ(CDDriveCaption("MYDISC", 'E'), "MYDISC(E:)");
    EXPECT_EQ(CDDriveCaption("", 'Q'), "DVD/CDドライブ(Q:)");
    EXPECT_EQ(CDDriveCaption("表ソ", 'D'), "表ソ(D:)");
}

TEST(RipRules, Texts)
{
    EXPECT_EQ(RipTotalText(12, 3725.4), "全 12 トラック / 合計時間 : 62:05");
    EXPECT_EQ(RipProgressText(0, 3), "リッピング中...  1 / 3 トラック");
    EXPECT_EQ(RipProgressText(2, 3), "リッピング中...  3 / 3 トラック");
    EXPECT_EQ(RipSaveFileName(2), "2個のトラックを出力");
}

TEST(RipRules, TrackFilesGoIntoTheChosenFolder)
{
    struct Case
    {
        const char* Chosen;
        const char* Expected;
    };
    const Case cases[] = {
        {"C:\\out\\2個のトラックを出力", "C:\\out\\Track02.wav"},
        {"C:\\out\\anything.wav", "C:\\out\\Track02.wav"},
        {"C:\\x", "C:\\Track02.wav"},
        // A trail byte 0x5C ends no folder name.
        {"C:\\表\\name", "C:\\表\\Track02.wav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RipTrackFileName(c.Chosen, "Track02"), c.Expected) << c.Chosen;
}

TEST(RipRules, TracksWrapAround)
{
    struct Case
    {
        int Track, Step, Count, Expected;
    };
    const Case cases[] = {
        {1, +1, 5, 2}, {5, +1, 5, 1}, {1, -1, 5, 5}, {3, -1, 5, 2}, {1, +1, 1, 1}, {1, -1, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapTrack(c.Track, c.Step, c.Count), c.Expected)
            << c.Track << " " << c.Step << " of " << c.Count;
}

TEST(RipRules, PreviewTimeAndEnd)
{
    EXPECT_EQ(PreviewElapsedMs(60000, 30000, 75000), 15000);
    EXPECT_EQ(PreviewElapsedMs(60000, 30000, 50000), 0);     // before the track
    EXPECT_EQ(PreviewElapsedMs(60000, 30000, 95000), 30000); // past its end
    EXPECT_FALSE(PreviewTrackEnded(60000, 30000, 89999));
    EXPECT_TRUE(PreviewTrackEnded(60000, 30000, 90000));
    EXPECT_EQ(PreviewTimeText(15400, 30000), "0:15 / 0:30");
    EXPECT_EQ(PreviewTimeText(45000, 30000), "0:30 / 0:30");
    EXPECT_EQ(PreviewTimeText(0, 245000), "0:00 / 4:05");
}

TEST(RipRules, KnobFollowsThePlayedShareOfTheBar)
{
    const TSeekBarGeometry bar{8, 410, 10}; // 400 pixels of travel
    struct Case
    {
        std::int64_t Elapsed, Length;
        int Left;
    };
    const Case cases[] = {
        {0, 1000, 8},      {500, 1000, 208},
        {1000, 1000, 408}, {2000, 1000, 408}, // never past the bar's end
        {1, 800, 8},                          // 0.5 pixel rounds to even
        {3, 800, 10},                         // 1.5 pixels round to even
        {100, 0, 8},                          // a track of no length
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewKnobLeft(bar, c.Elapsed, c.Length), c.Left)
            << c.Elapsed << "/" << c.Length;
}

TEST(RipRules, ClickOnTheBar)
{
    const TSeekBarGeometry bar{8, 410, 10};
    EXPECT_EQ(PreviewKnobLeftAtClick(bar, 0), 8);
    EXPECT_EQ(PreviewKnobLeftAtClick(bar, 100), 108);
    EXPECT_EQ(PreviewKnobLeftAtClick(bar, 400), 8 + 399);
    EXPECT_EQ(PreviewKnobLeftAtClick(bar, -3), 8);
    EXPECT_EQ(PreviewSeekForClick(bar, 0, 60000, 41000), 60000);
    EXPECT_EQ(PreviewSeekForClick(bar, 205, 60000, 41000), 60000 + 20500);
    EXPECT_EQ(PreviewSeekForClick(bar, 410, 60000, 41000), 101000);
    // A long track does not overflow: 79 minutes.
    EXPECT_EQ(PreviewSeekForClick(bar, 409, 0, 4740000), 4740000LL * 409 / 410);
}

TEST(RipRules, EndCheckTimerSteps)
{
    struct Case
    {
        int Tag, Count;
        TRipTimerStep Step;
    };
    const Case cases[] = {
        {0, 3, TRipTimerStep::NextTrack},      {1, 3, TRipTimerStep::NextTrack},
        {2, 3, TRipTimerStep::Finished},       {0, 1, TRipTimerStep::Finished},
        {-1000, 3, TRipTimerStep::Cancelled},  {-999, 3, TRipTimerStep::HideMessage},
        {-999, 1, TRipTimerStep::HideMessage},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RipTimerStepFor(c.Tag, c.Count), c.Step) << c.Tag << " of " << c.Count;
}
