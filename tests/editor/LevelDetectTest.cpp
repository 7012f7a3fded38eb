// Level detection on hand-made envelopes: the dB texts and levels, the
// envelope of stereo and mono draw data, the averaged table and its reuse,
// the two region detectors (loud at or above, or above, the level; rounded
// or unrounded times; where regions end; margins), cut points, and the
// regions cut points make.
#include "editor/LevelDetect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::int32_t, std::int32_t>>;

// An envelope from a picture: '.' silent (0), '-' exactly the level of the
// tables (50), '#' loud (100).
TMaxData Envelope(const std::string& picture)
{
    TMaxData envelope;
    for (char c : picture)
        envelope.Data.push_back(c == '#' ? 100 : c == '-' ? 50 : 0);
    return envelope;
}

// One entry a millisecond, ten frames an entry: times read as entries and
// frames are entries x 10.
constexpr TLevelScale kMsScale{1000.0, 10};

Pairs Frames(const Pairs& entries)
{
    Pairs frames;
    for (const auto& [start, end] : entries)
        frames.emplace_back(start * 10, end * 10);
    return frames;
}

struct RegionCase
{
    const char* Name;
    std::string Picture;
    TAutoSettings Settings; // level, pre, post, min length, min interval
    Pairs Expected;         // entries
};

void ExpectRegions(const RegionCase& c, const TAutoRegionList& found)
{
    EXPECT_EQ(found.Regions, Frames(c.Expected)) << c.Name << ": " << c.Picture;
}

} // namespace

TEST(LevelToDbText, ReadsTheLevelAgainstTheMaximum)
{
    struct
    {
        double Value;
        double Maximum;
        std::string Expected;
    } cases[] = {
        {0, 127, "-\x81\x87"}, // minus infinity in the program's code page
        {-3, 127, "-\x81\x87"},
        {64, 127, "-6.0"},
        {127, 127, "0.0"},
        {125, 127, "-0.1"},
        {126.999, 127, "0.0"}, // -0.00007 dB: never "-0.0"
        {1, 127, "-42.1"},
        {254, 127, "+6.0"},
        {127.001, 127, "+0.0"}, // above the maximum
                                // always shows its sign
        {1, 1e-300, "+6000.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LevelToDbText(c.Value, c.Maximum), c.Expected) << c.Value << " of " << c.Maximum;
}

TEST(DbToLevel, RoundsTheLevelOfTheDecibels)
{
    struct
    {
        double Db;
        double Maximum;
        int Expected;
    } cases[] = {
        {-6, 127, 64},          {0, 127, 127},   {-12.5, 127, 30}, // 30.12
        {-0.1, 127, 126}, // 125.55: why the window must not re-read its own text
        {6, 127, 253},          {-1000, 127, 0}, {1e6, 127, std::numeric_limits<int>::max()},
        {std::nan(""), 127, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DbToLevel(c.Db, c.Maximum), c.Expected) << c.Db << " dB of " << c.Maximum;
}

TEST(DbTextToLevel, TypedThresholdsAndTextsThatLeaveTheLevel)
{
    struct
    {
        const char* Text;
        std::optional<int> Expected; // none: the level stays
    } cases[] = {
        {"-12.5", 30},
        {"-6", 64},
        {"-.5", 120}, // 119.9
        {"-6.", 64},
        {"3", 127}, // 0 dB and above: the maximum
        {"0", 127},
        {"-0.0", 127},
        {"", 0},
        {"-1000", 0},
        {"-99999999999999999999999999999999999999999", 0},
        {"1-2", std::nullopt},
        {"--3", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"-.", std::nullopt},
        {"1.2.3", std::nullopt},
        {"-6dB", std::nullopt},
        {" -6", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DbTextToLevel(c.Text, 127), c.Expected) << '"' << c.Text << '"';
}

TEST(LevelEnvelope, TakesTheLargestPeakOfEveryChannel)
{
    TDrawDataStereo stereo;
    stereo.Data = {{0, 0, 0, 0}, {5, -3, 2, -9}, {0, -128, 0, 0}, {127, 0, 0, -1}, {3, -3, 3, -3}};
    TMaxData envelope;
    BuildLevelEnvelope(TDrawLevels(stereo), 7, envelope);
    EXPECT_EQ(envelope.Data, (std::vector<std::uint8_t>{0, 9, 128, 127, 3}));
    EXPECT_EQ(envelope.DrawGeneration, 7u);

    TDrawDataMono mono;
    mono.Data = {{0, 0}, {4, -6}, {0, -128}, {127, -2}};
    BuildLevelEnvelope(TDrawLevels(mono), 8, envelope);
    EXPECT_EQ(envelope.Data, (std::vector<std::uint8_t>{0, 6, 128, 127}));
}

TEST(LevelEnvelope, AClippedBlockIsLoudAtTheHighestLevel)
{
    TDrawDataStereo stereo;
    stereo.Data = {{0, 0, 0, 0}, {0, 0, 0, -128}, {0, 0, 0, 0}};
    TMaxData envelope;
    BuildLevelEnvelope(TDrawLevels(stereo), 1, envelope);
    const TAutoSettings atTop{127, 0, 0, 0, 1};
    EXPECT_EQ(StripSilence(envelope, kMsScale, atTop).Regions, Frames({{1, 2}}));
    EXPECT_EQ(SearchSilence(envelope, kMsScale, atTop).Regions, Frames({{1, 2}}));
}

TEST(AverageEnvelope, MeansOfWholeChunksRoundedHalfToEven)
{
    TMaxData envelope;
    envelope.Data = {1, 2, 2, 3, 4, 4, 9, 9, 9};
    struct
    {
        std::int32_t Chunk;
        std::int32_t StoredChunk;
        std::vector<std::uint8_t> Expected;
    } cases[] = {
        {1, 1, {1, 2, 2, 3, 4, 4, 9, 9, 9}},
        {0, 1, {1, 2, 2, 3, 4, 4, 9, 9, 9}},
        {-4, 1, {1, 2, 2, 3, 4, 4, 9, 9, 9}},
        {2, 2, {2, 2, 4, 9}}, // 1.5 up, 2.5 down, 4, 9; the odd entry makes none
        {4, 4, {2, 6}},       // 2, 6.5 down
        {9, 9, {5}},
        {10, 10, {}},
    };
    for (const auto& c : cases) {
        TCompData averages;
        EXPECT_TRUE(AverageEnvelope(envelope, c.Chunk, averages));
        EXPECT_EQ(averages.Data, c.Expected) << "chunk " << c.Chunk;
        EXPECT_EQ(averages.Chunk, c.StoredChunk);
    }
}

TEST(AverageEnvelope, IsReusedOnlyForTheSameChunkAndDrawData)
{
    TMaxData envelope;
    envelope.Data = {10, 20, 30, 40};
    envelope.DrawGeneration = 3;
    TCompData averages;
    ASSERT_TRUE(AverageEnvelope(envelope, 2, averages));
    const std::vector<std::uint8_t> built = averages.Data;

    EXPECT_FALSE(AverageEnvelope(envelope, 2, averages));
    EXPECT_EQ(averages.Data, built);

    TMaxData otherFile;
    otherFile.Data = {0, 0, 0, 0};
    otherFile.DrawGeneration = 4;
    EXPECT_TRUE(AverageEnvelope(otherFile, 2, averages));
    EXPECT_EQ(averages.Data, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_TRUE(AverageEnvelope(otherFile, 1, averages));
    EXPECT_TRUE(AverageEnvelope(otherFile, 2, averages));

    averages.Clear(); // a closed document
    EXPECT_TRUE(AverageEnvelope(otherFile, 2, averages));
}

TEST(LevelScale, EntriesPerSecondAndFramesPerEntry)
{
    const TLevelScale cd = TLevelScale::For(44100, 256);
    EXPECT_DOUBLE_EQ(cd.EntriesPerSecond, 344.53125); // not cut to a whole number
    EXPECT_EQ(cd.FramesPerEntry, 128);
    EXPECT_EQ(cd.FrameOf(3), 384);
    EXPECT_EQ(TLevelScale::For(44100, 2048).FramesPerEntry, 1024);
    const TLevelScale largest{1, 4096};
    EXPECT_EQ(largest.FrameOf(1 << 20), std::numeric_limits<std::int32_t>::max());
}

TEST(AutoMode, StoredNumbers)
{
    EXPECT_EQ(AutoModeOf(0), TAutoMode::StripSilence);
    EXPECT_EQ(AutoModeOf(1), TAutoMode::CutPoints);
    EXPECT_EQ(AutoModeOf(2), TAutoMode::SearchSilence);
    EXPECT_EQ(AutoModeOf(3), TAutoMode::SearchSilence);
    EXPECT_EQ(AutoModeOf(-1), TAutoMode::SearchSilence);
}

TEST(StripSilence, RegionsFromTheFirstToTheLastLoudEntry)
{
    const RegionCase cases[] = {
        {"two bursts; the one open at the end ends an entry after its last loud one",
         "..###....###..",
         {50, 0, 0, 2, 3},
         {{2, 4}, {9, 12}}},
        {"loud up to the end", "..#####", {50, 0, 0, 2, 3}, {{2, 6}}},
        {"none after the last one closed", "..###......", {50, 0, 0, 2, 3}, {{2, 4}}},
        {"the level itself is loud", "..---....", {50, 0, 0, 1, 2}, {{2, 4}}},
        {"an interval of 0 ends a region at its first quiet entry",
         "##.#....",
         {50, 0, 0, 1, 0},
         {{0, 1}}},
        {"quiet entries before the minimum length do not end a region",
         "##.##......",
         {50, 0, 0, 4, 2},
         {{0, 4}}},
        {"a region never long enough runs to the end", "#..........", {50, 0, 0, 3, 2}, {{0, 10}}},
        {"margins, kept within the envelope",
         "..###....###..",
         {50, 3, 4, 2, 3},
         {{0, 8}, {6, 13}}},
        {"a single entry without margins is no region", "..#......#", {50, 0, 0, 1, 2}, {}},
        {"a single entry with a margin is one", "..#......", {50, 1, 0, 1, 2}, {{1, 2}}},
        {"negative times widen nothing and end at once",
         "..###....",
         {50, -5, -5, -5, -5},
         {{2, 4}}},
        {"nothing loud", ".........", {50, 0, 0, 0, 1}, {}},
        {"every entry is at or above level 0", ".........", {0, 0, 0, 1000, 1000}, {{0, 8}}},
        {"empty", "", {50, 0, 0, 0, 0}, {}},
        {"the last entry alone is never read", "........#", {50, 0, 0, 0, 1}, {}},
    };
    for (const auto& c : cases)
        ExpectRegions(c, StripSilence(Envelope(c.Picture), kMsScale, c.Settings));
}

TEST(SearchSilence, RegionsFromTheFirstLoudToTheFirstQuietEntry)
{
    const RegionCase cases[] = {
        {"two bursts; the one open at the end reaches the last entry",
         "..###....###..",
         {50, 0, 0, 2, 3},
         {{2, 5}, {9, 13}}},
        {"loud up to the end", "..#####", {50, 0, 0, 2, 3}, {{2, 6}}},
        {"the level itself is quiet", "..---....", {50, 0, 0, 1, 2}, {}},
        {"too short", "..#....###.....", {50, 0, 0, 2, 3}, {{7, 10}}},
        {"the last region is not measured", "........#.", {50, 0, 0, 5, 3}, {{8, 9}}},
        {"an interval of 0 finds nothing", "..###....", {50, 0, 0, 0, 0}, {}},
        {"nor does a negative one", "..###....", {50, 0, 0, 0, -3}, {}},
        {"a silence shorter than the interval joins", "##..##......", {50, 0, 0, 1, 3}, {{0, 6}}},
        {"margins; none after the region open at the end",
         "...###.....###.",
         {50, 2, 9, 1, 2},
         {{1, 14}, {9, 14}}},
        {"empty", "", {50, 0, 0, 0, 1}, {}},
    };
    for (const auto& c : cases)
        ExpectRegions(c, SearchSilence(Envelope(c.Picture), kMsScale, c.Settings));
}

TEST(RegionDetectors, StripRoundsTheTimesAndSearchDoesNot)
{
    // Two milliseconds an entry: an interval of 5 ms is 2.5 entries, which
    // strip silence rounds to 2 and search silence waits 3 entries for.
    const TLevelScale scale{500.0, 10};
    const TMaxData envelope = Envelope("##..##...");
    const TAutoSettings settings{50, 0, 0, 1, 5};
    EXPECT_EQ(StripSilence(envelope, scale, settings).Regions, Frames({{0, 1}, {4, 5}}));
    EXPECT_EQ(SearchSilence(envelope, scale, settings).Regions, Frames({{0, 8}}));
}

TEST(RegionDetectors, MonoAndStereoFilesGetTheSameFrames)
{
    // The same sound, one channel and two: same rate, same length, so the
    // same block size, entries, margins and minimum lengths in frames.
    const std::int32_t frames = 44100 * 3600;
    const int blockSize = WaveBlockSizeFor(frames);
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    const std::int32_t entries = DrawEntryCount(1, frames * 2, blockSize);
    ASSERT_EQ(entries, DrawEntryCount(2, frames * 4, blockSize));
    for (std::int32_t k = 0; k < entries; ++k) {
        const std::int8_t peak = (k / 1000) % 2 ? 90 : 0;
        stereo.Data.push_back({0, 0, peak, 0});
        mono.Data.push_back({0, static_cast<std::int8_t>(-peak)});
    }
    TMaxData stereoEnvelope, monoEnvelope;
    BuildLevelEnvelope(TDrawLevels(stereo), 1, stereoEnvelope);
    BuildLevelEnvelope(TDrawLevels(mono), 2, monoEnvelope);
    const TLevelScale scale = TLevelScale::For(44100, blockSize);
    const TAutoSettings settings{40, 250, 500, 1000, 700};
    const TAutoRegionList strip = StripSilence(stereoEnvelope, scale, settings);
    ASSERT_GT(strip.Count(), 1);
    EXPECT_EQ(strip.Regions, StripSilence(monoEnvelope, scale, settings).Regions);
    EXPECT_EQ(SearchSilence(stereoEnvelope, scale, settings).Regions,
              SearchSilence(monoEnvelope, scale, settings).Regions);
    // 250 ms before the burst at entry 1000: 21.5 entries of 512 frames,
    // rounded to 22.
    ASSERT_EQ(scale.FramesPerEntry, 512);
    EXPECT_EQ(strip.Regions[0].first, (1000 - 22) * 512);
}

namespace {

// An envelope of runs: (count, level) pairs.
TMaxData Runs(std::initializer_list<std::pair<int, int>> runs)
{
    TMaxData envelope;
    for (const auto& [count, level] : runs)
        envelope.Data.insert(envelope.Data.end(), count, static_cast<std::uint8_t>(level));
    return envelope;
}

// The cut points written out plainly: the peak of the two chunks, then the
// walk back from the entry before it.
std::vector<std::int32_t> ReferenceCutPoints(const TMaxData& envelope, int level)
{
    const std::vector<std::uint8_t>& v = envelope.Data;
    std::vector<double> means;
    for (std::size_t i = 0; i + kCutPointChunk <= v.size(); i += kCutPointChunk) {
        double sum = 0;
        for (std::size_t j = i; j < i + kCutPointChunk; ++j)
            sum += v[j];
        means.push_back(std::nearbyint(sum / kCutPointChunk));
    }
    std::vector<std::int32_t> points;
    for (std::size_t i = 1; i < means.size(); ++i) {
        if (means[i] - means[i - 1] <= level)
            continue;
        std::size_t p = (i - 1) * kCutPointChunk;
        for (std::size_t j = p; j < (i + 1) * kCutPointChunk; ++j)
            if (v[j] > v[p])
                p = j;
        int count = 0;
        for (std::size_t j = p; j-- > 0;) {
            count = v[j] < kCutPointQuietLevel ? count + 1 : 0;
            if (count == kCutPointQuietRun) {
                p = j + kCutPointQuietRun;
                break;
            }
        }
        points.push_back(static_cast<std::int32_t>(p));
    }
    return points;
}

} // namespace

TEST(FindCutPoints, RisesPulledBackToTheSilenceBeforeThem)
{
    const struct
    {
        const char* Name;
        TMaxData Envelope;
        int Level;
        std::vector<std::int32_t> Expected; // entries
    } cases[] = {
        {"a rise seen by two chunks gives the same point twice",
         Runs({{2500, 0}, {2500, 100}}),
         30,
         {2500, 2500}},
        {"the peak after the start of the sound is pulled back to it",
         Runs({{2500, 0}, {100, 50}, {2400, 120}}),
         30,
         {2500, 2500}},
        {"no silence before the peak: the peak stays",
         Runs({{2500, 10}, {100, 50}, {2400, 120}}),
         30,
         {2600, 2600}},
        {"nineteen quiet entries are no silence",
         Runs({{1980, 0}, {500, 50}, {19, 0}, {2501, 100}}),
         30,
         {1980}},
        {"quiet is below 4", Runs({{2500, 3}, {2500, 100}}), 30, {2500, 2500}},
        {"a rise no larger than the level", Runs({{2000, 0}, {2000, 30}}), 30, {}},
        {"falls are no rises", Runs({{2000, 100}, {2000, 0}}), 0, {}},
        {"less than two chunks", Runs({{1999, 0}}), -100, {}},
    };
    for (const auto& c : cases) {
        TCompData averages;
        std::vector<std::int32_t> expected;
        for (std::int32_t entry : c.Expected)
            expected.push_back(entry * 10);
        EXPECT_EQ(FindCutPoints(c.Envelope, averages, kMsScale, c.Level), expected) << c.Name;
        EXPECT_EQ(ReferenceCutPoints(c.Envelope, c.Level), c.Expected) << c.Name;
    }
}

TEST(FindCutPoints, AgreesWithThePlainWalkOnRandomSound)
{
    std::mt19937 random(22);
    for (int round = 0; round < 40; ++round) {
        TMaxData envelope;
        // Stretches of silence and sound of random lengths and levels.
        while (envelope.Data.size() < 20000) {
            const int length = std::uniform_int_distribution<int>(1, 900)(random);
            const int top = std::uniform_int_distribution<int>(0, 3)(random) == 0 ? 4 : 128;
            for (int i = 0; i < length; ++i)
                envelope.Data.push_back(
                    static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, top)(random)));
        }
        const int level = std::uniform_int_distribution<int>(-2, 20)(random);
        TCompData averages;
        const TLevelScale entries{1000.0, 1};
        EXPECT_EQ(FindCutPoints(envelope, averages, entries, level),
                  ReferenceCutPoints(envelope, level))
            << "round " << round;
    }
}

TEST(DetectLevels, EveryRunReplacesBothLists)
{
    const TMaxData envelope = Runs({{2500, 0}, {2500, 100}, {500, 0}});
    TCompData averages;
    const TAutoSettings settings{30, 0, 0, 100, 100};
    const TAutoDetection strip =
        DetectLevels(TAutoMode::StripSilence, envelope, averages, kMsScale, settings);
    EXPECT_EQ(strip.Regions.Regions, Frames({{2500, 4999}}));
    EXPECT_TRUE(strip.CutPoints.empty());

    const TAutoDetection cuts =
        DetectLevels(TAutoMode::CutPoints, envelope, averages, kMsScale, settings);
    EXPECT_EQ(cuts.Regions.Count(), 0);
    EXPECT_EQ(cuts.CutPoints, (std::vector<std::int32_t>{25000, 25000}));
    EXPECT_TRUE(cuts.Found());

    const TAutoDetection none =
        DetectLevels(TAutoMode::SearchSilence, envelope, averages, kMsScale, {127, 0, 0, 0, 1});
    EXPECT_FALSE(none.Found());
}

TEST(CutPointRegions, TheRegionsBetweenThePoints)
{
    const struct
    {
        std::vector<std::int32_t> Points;
        Pairs Expected;
    } cases[] = {
        {{}, {{0, 1000}}},
        {{100, 400}, {{0, 99}, {100, 399}, {400, 1000}}},
        {{0, 300, 300}, {{0, 299}, {300, 1000}}}, // a point at 0, a repeated point
        {{1, 1000}, {{1, 999}}},                  // a piece of one frame is no region
    };
    for (const auto& c : cases)
        EXPECT_EQ(CutPointRegions(c.Points, 1000), c.Expected) << c.Points.size() << " points";
}
