// Trim and expand on hand-made draw data: which entries are loud, where the
// ends go, when a range is left alone, the margins and their limits, ranges
// that do not fit the file, and the channels of a stereo file.
#include "editor/TrimExpand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Mono draw data from a picture: '.' silent, '1' level 1, '-' level 50 (the
// trim level of the tables), '#' level 100. Entries are ten frames long.
TDrawDataMono Mono(const std::string& picture)
{
    TDrawDataMono mono;
    for (char c : picture) {
        const std::int8_t level = c == '#' ? 100 : c == '-' ? 50 : c == '1' ? 1 : 0;
        mono.Data.push_back({level, static_cast<std::int8_t>(-level)});
    }
    return mono;
}

// Quiet and loud stretches: (entries, loud) pairs.
std::string Stretches(std::initializer_list<std::pair<int, bool>> stretches)
{
    std::string picture;
    for (const auto& [count, loud] : stretches)
        picture.append(count, loud ? '#' : '.');
    return picture;
}

TTrimParams Params(const TDrawDataMono& mono, int level = 50, std::int32_t pre = 0,
                   std::int32_t post = 0)
{
    TTrimParams params;
    params.Level = level;
    params.PreFrames = pre;
    params.PostFrames = post;
    params.FramesPerEntry = 10;
    params.SampleSize = mono.Count() * 10 + 5; // a tail shorter than an entry
    return params;
}

using TFit = bool (*)(const TDrawLevels&, const TTrimParams&, std::int32_t&, std::int32_t&);

struct FitCase
{
    const char* Name;
    std::string Picture;
    std::int32_t Start, End; // frames
    int Level;
    std::int32_t Pre, Post; // frames
    std::int32_t NewStart, NewEnd;
};

void ExpectFit(TFit fit, const FitCase& c)
{
    const TDrawDataMono mono = Mono(c.Picture);
    std::int32_t start = c.Start, end = c.End;
    const bool changed = fit(TDrawLevels(mono), Params(mono, c.Level, c.Pre, c.Post), start, end);
    EXPECT_EQ(start, c.NewStart) << c.Name;
    EXPECT_EQ(end, c.NewEnd) << c.Name;
    EXPECT_EQ(changed, start != c.Start || end != c.End) << c.Name;
}

} // namespace

TEST(TrimRange, PullsTheEndsInToTheSound)
{
    const FitCase cases[] = {
        {"to the first and last loud entry", "..####..", 0, 79, 50, 0, 0, 20, 50},
        {"the level itself is not loud", "..-##-..", 0, 79, 50, 0, 0, 30, 40},
        {"level 0: all but full silence is loud", "..1##1..", 0, 79, 0, 0, 0, 20, 50},
        {"a selection wholly below the level", "..----..", 0, 79, 50, 0, 0, 0, 79},
        {"only the start moves", "..######", 5, 79, 50, 0, 0, 20, 70},
        {"both ends already loud", "########", 15, 65, 50, 0, 0, 15, 65},
        {"a single loud entry", "...#....", 0, 79, 50, 0, 0, 0, 79},
        {"margins", "....##....", 0, 99, 50, 15, 25, 25, 75},
        {"margins never beyond 0 and the length", "..#..#..", 0, 79, 50, 500, 500, 0, 85},
        {"the end in the tail past the last entry", "..####..", 0, 85, 50, 0, 0, 20, 50},
        {"inside the range only", "##..##..##", 25, 75, 50, 0, 0, 40, 50},
        {"a negative start is read from 0", "..####..", -40, 79, 50, 0, 0, 20, 50},
        {"an empty range", "..####..", 50, 50, 50, 0, 0, 50, 50},
        {"a reversed range", "..####..", 70, 10, 50, 0, 0, 70, 10},
        {"a range past the end of the file", "..####..", 300, 900, 50, 0, 0, 300, 900},
        {"a range in the tail", "..####..", 81, 85, 50, 0, 0, 81, 85},
    };
    for (const auto& c : cases)
        ExpectFit(TrimRange, c);
}

TEST(ExpandRange, PushesTheEndsOutToTheNearestSilence)
{
    const std::string burst = Stretches({{25, false}, {10, true}, {25, false}});
    const std::string nineteen =
        Stretches({{25, false}, {5, true}, {19, false}, {10, true}, {21, false}});
    const std::string loudFromStart = Stretches({{30, true}, {25, false}});
    const FitCase cases[] = {
        {"to the quiet stretches around the burst", burst, 280, 310, 50, 0, 0, 250, 340},
        {"margins", burst, 280, 310, 50, 30, 40, 220, 380},
        {"margins never beyond 0 and the length", burst, 280, 310, 50, 5000, 5000, 0, 605},
        {"nineteen quiet entries do not stop it", nineteen, 500, 520, 50, 0, 0, 250, 580},
        {"loud up to the file's start: the start stays", loudFromStart, 100, 200, 50, 0, 0, 100,
         290},
        {"no quiet stretch on either side", Stretches({{40, true}}), 100, 200, 50, 0, 0, 100, 200},
        {"a range already between silences", burst, 250, 340, 50, 0, 0, 250, 340},
        {"a range past the end of the file", burst, 9000, 9900, 50, 0, 0, 9000, 9900},
        {"a negative start is read from 0", burst, -500, 310, 50, 0, 0, 0, 340},
    };
    for (const auto& c : cases)
        ExpectFit(ExpandRange, c);
}

TEST(TrimRange, EachOfSeveralRegionsFitsItsOwnSound)
{
    const TDrawDataMono mono = Mono("..##....###.....#####...");
    const TTrimParams params = Params(mono, 50, 5, 5);
    std::vector<std::pair<std::int32_t, std::int32_t>> regions = {{0, 70}, {70, 150}, {150, 239}};
    for (auto& [start, end] : regions)
        EXPECT_TRUE(TrimRange(TDrawLevels(mono), params, start, end));
    EXPECT_EQ(regions, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                           {15, 35}, {75, 105}, {155, 205}}));
}

TEST(TrimRange, EveryChannelOfAStereoFileCounts)
{
    TDrawDataStereo stereo;
    stereo.Data = {{0, 0, 0, 0}, {0, 0, 0, -128}, {0, 0, 0, 0}, {90, 0, 0, 0}, {0, 0, 0, 0}};
    TTrimParams params;
    params.Level = 50;
    params.FramesPerEntry = 10;
    params.SampleSize = 50;
    std::int32_t start = 0, end = 49;
    EXPECT_TRUE(TrimRange(TDrawLevels(stereo), params, start, end));
    EXPECT_EQ(start, 10);
    EXPECT_EQ(end, 30);
}

TEST(TrimParams, MarginsInFramesOfTheFile)
{
    const TTrimParams params = TTrimParams::For({40, 250, 1000}, 44100, 2048, 1000000);
    EXPECT_EQ(params.Level, 40);
    EXPECT_EQ(params.PreFrames, 11025);
    EXPECT_EQ(params.PostFrames, 44100);
    EXPECT_EQ(params.FramesPerEntry, 1024);
    EXPECT_EQ(params.SampleSize, 1000000);
    EXPECT_EQ(TTrimParams::For({0, 1, 3}, 22050, 256, 0).PreFrames, 22);   // 22.05
    EXPECT_EQ(TTrimParams::For({0, 1, 3}, 500, 256, 0).PreFrames, 0);      // 0.5 to even
    EXPECT_EQ(TTrimParams::For({0, 1, 3}, 500, 256, 0).PostFrames, 2);     // 1.5 to even
    EXPECT_EQ(TTrimParams::For({0, -100, 0}, 44100, 256, 0).PreFrames, 0); // never negative
    EXPECT_EQ(TTrimParams::For({0, 2000000000, 0}, 44100, 256, 0).PreFrames, INT32_MAX);
}
