// Draw data: the block-size rule, the entries of stereo and mono builds on
// synthetic buffers (high bytes, the silence threshold, the clamps, the mono
// windows and chunk-end rules), progress and cancel, and failed reads.
#include "editor/DrawData.h"

#include "classlib/Exceptions.h"
#include "support/WavBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace testing_support;

namespace {

using Samples = std::vector<std::int16_t>;

// Serves values in place from memory as the engine serves them from the
// file; null for values it does not hold.
struct MemoryReader
{
    const Samples* Values;
    std::vector<std::uint32_t>* Positions = nullptr; // byte positions asked for

    const std::int16_t* operator()(std::size_t count, std::uint32_t bytePosition)
    {
        if (Positions)
            Positions->push_back(bytePosition);
        const std::size_t from = bytePosition / 2;
        return from + count <= Values->size() ? Values->data() + from : nullptr;
    }
};

TDrawBuildParams Params(const Samples& values, int blockSize, int zeroLevel = 256,
                        std::uint32_t chunkValues = kDrawReadValues)
{
    TDrawBuildParams params;
    params.DataSize = static_cast<std::uint32_t>(values.size() * 2);
    params.BlockSize = blockSize;
    params.ZeroLevel = zeroLevel;
    params.ChunkValues = chunkValues;
    return params;
}

TDrawDataStereo BuildStereo(const Samples& values, int blockSize, int zeroLevel = 256,
                            std::uint32_t chunkValues = kDrawReadValues)
{
    TDrawDataStereo data;
    TDrawBuildOutcome outcome = BuildDrawDataStereo(
        MemoryReader{&values}, Params(values, blockSize, zeroLevel, chunkValues), {}, data);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Done) << outcome.Error;
    return data;
}

TDrawDataMono BuildMono(const Samples& values, int blockSize, int zeroLevel = 256,
                        std::uint32_t chunkValues = kDrawReadValues)
{
    TDrawDataMono data;
    TDrawBuildOutcome outcome = BuildDrawDataMono(
        MemoryReader{&values}, Params(values, blockSize, zeroLevel, chunkValues), {}, data);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Done) << outcome.Error;
    return data;
}

// One stereo block: left values then right values, interleaved.
Samples StereoBlock(const Samples& left, const Samples& right)
{
    Samples block;
    for (std::size_t i = 0; i < left.size(); ++i) {
        block.push_back(left[i]);
        block.push_back(right[i]);
    }
    return block;
}

// The rules written out plainly, entry by entry, for comparison with the
// build on random data.
int ReferenceMaxByte(int max, int z)
{
    int b = max / 256;
    if (z < max && max < 256)
        b = 1;
    return std::max(b, 0);
}

int ReferenceMinByte(int min, int z)
{
    int b = min / 256;
    if (-256 < min && min < -z)
        b = -1;
    return std::min(b, 0);
}

std::vector<TDrawEntryMono> ReferenceMono(const Samples& v, int blockSize, int z, std::size_t chunk)
{
    const std::size_t h = blockSize / 2;
    std::vector<TDrawEntryMono> out;
    for (std::size_t start = 0; start < v.size(); start += chunk) {
        const std::size_t n = std::min(chunk, v.size() - start);
        for (std::size_t k = 0; k < n / h; ++k) {
            int max = -32768, min = 32767;
            for (std::size_t i = k * h; i < std::min(k * h + blockSize, n); ++i) {
                max = std::max<int>(max, v[start + i]);
                min = std::min<int>(min, v[start + i]);
            }
            out.push_back({static_cast<std::int8_t>(ReferenceMaxByte(max, z)),
                           static_cast<std::int8_t>(ReferenceMinByte(min, z))});
        }
        if (n == chunk && out.size() >= 2)
            out.back() = out[out.size() - 2];
    }
    return out;
}

std::vector<TDrawEntryStereo> ReferenceStereo(const Samples& v, int blockSize, int z,
                                              std::size_t chunk)
{
    std::vector<TDrawEntryStereo> out;
    for (std::size_t start = 0; start < v.size(); start += chunk) {
        const std::size_t n = std::min(chunk, v.size() - start);
        for (std::size_t b = 0; b + blockSize <= n; b += blockSize) {
            int maxL = -32768, minL = 32767, maxR = -32768, minR = 32767;
            for (std::size_t i = b; i < b + blockSize; i += 2) {
                maxL = std::max<int>(maxL, v[start + i]);
                minL = std::min<int>(minL, v[start + i]);
                maxR = std::max<int>(maxR, v[start + i + 1]);
                minR = std::min<int>(minR, v[start + i + 1]);
            }
            out.push_back({static_cast<std::int8_t>(ReferenceMaxByte(maxL, z)),
                           static_cast<std::int8_t>(ReferenceMinByte(minL, z)),
                           static_cast<std::int8_t>(ReferenceMaxByte(maxR, z)),
                           static_cast<std::int8_t>(ReferenceMinByte(minR, z))});
        }
    }
    return out;
}

} // namespace

TEST(WaveBlockSize, FollowsTheRoundedQuotientOfTheLength)
{
    EXPECT_EQ(kInitialWaveBlockSize, 256);
    struct
    {
        std::int32_t Frames;
        int Expected;
    } cases[] = {
        {0, 2},
        {100, 2},
        {131072, 2},       // 0.5 rounds to 0
        {131073, 2},       // just above 0.5 rounds to 1
        {262144, 2},       // 1
        {393216, 4},       // 1.5 rounds to 2
        {655360, 4},       // 2.5 rounds to 2
        {786432, 4},       // 3
        {917504, 8},       // 3.5 rounds to 4 (unrounded it would be 4)
        {268304384, 2048}, // 1023.5 rounds to 1024
        {268435456, 2048}, // 1 GiB of 16-bit stereo
        {536870912, 4096}, // 1 GiB of 16-bit mono
    };
    for (const auto& c : cases)
        EXPECT_EQ(WaveBlockSizeFor(c.Frames), c.Expected) << c.Frames << " frames";
}

TEST(DrawDataStereo, MakesOneEntryPerWholeBlockAndDropsTheRest)
{
    Samples values = NoiseSamples(10 * 8 / 2 + 3, 2, 7);
    ASSERT_EQ(values.size(), 10u * 8 + 6);
    EXPECT_EQ(BuildStereo(values, 8).Count(), 10);
}

TEST(DrawDataStereo, TakesHighBytesTruncatedTowardZeroPerChannel)
{
    // Left peaks 32767 / -32768, right peaks 255 / -257: a shift would give
    // -2 for -257; the division gives -1.
    Samples values = StereoBlock({32767, -32768, 0, 0}, {255, -257, 3, 0});
    Samples second = StereoBlock({256, -255, 0, 0}, {-256, -512, -300, -600});
    values.insert(values.end(), second.begin(), second.end());
    TDrawDataStereo data = BuildStereo(values, 8);
    ASSERT_EQ(data.Count(), 2);
    EXPECT_EQ(data.Data[0].MaxL, 127);
    EXPECT_EQ(data.Data[0].MinL, -128);
    EXPECT_EQ(data.Data[0].MaxR, 0);
    EXPECT_EQ(data.Data[0].MinR, -1);
    EXPECT_EQ(data.Data[1].MaxL, 1);
    EXPECT_EQ(data.Data[1].MinL, 0);
    EXPECT_EQ(data.Data[1].MaxR, 0); // all negative: max clamped up to 0
    EXPECT_EQ(data.Data[1].MinR, -2);
}

TEST(DrawDataStereo, LiftsQuietSoundAboveTheThresholdStrictly)
{
    Samples values = StereoBlock({150, -150, 0, 0}, {100, -100, 0, 0});
    Samples loud = StereoBlock({255, -255, 0, 0}, {256, -256, 0, 0});
    values.insert(values.end(), loud.begin(), loud.end());

    TDrawDataStereo lifted = BuildStereo(values, 8, 100);
    EXPECT_EQ(lifted.Data[0].MaxL, 1);
    EXPECT_EQ(lifted.Data[0].MinL, -1);
    EXPECT_EQ(lifted.Data[0].MaxR, 0); // 100 is not above 100
    EXPECT_EQ(lifted.Data[0].MinR, 0);
    EXPECT_EQ(lifted.Data[1].MaxL, 1);
    EXPECT_EQ(lifted.Data[1].MinL, -1);
    EXPECT_EQ(lifted.Data[1].MaxR, 1); // 256 is a high byte of 1 anyway
    EXPECT_EQ(lifted.Data[1].MinR, -1);

    TDrawDataStereo plain = BuildStereo(values, 8, 256);
    EXPECT_EQ(plain.Data[0].MaxL, 0);
    EXPECT_EQ(plain.Data[0].MinL, 0);
    EXPECT_EQ(plain.Data[1].MaxL, 0);
    EXPECT_EQ(plain.Data[1].MinL, 0);
}

TEST(DrawDataStereo, ClampsOneSidedBlocks)
{
    Samples values = StereoBlock({-1000, -600, -700, -900}, {600, 1000, 700, 900});
    TDrawDataStereo data = BuildStereo(values, 8);
    EXPECT_EQ(data.Data[0].MaxL, 0);
    EXPECT_EQ(data.Data[0].MinL, -3);
    EXPECT_EQ(data.Data[0].MaxR, 3);
    EXPECT_EQ(data.Data[0].MinR, 0);
}

TEST(DrawDataStereo, MatchesThePlainRulesForEveryBlockSizeAndChunk)
{
    const Samples values = NoiseSamples(3000, 2, 11, 2000);
    for (int blockSize : {2, 4, 8, 16, 64, 2048})
        for (std::uint32_t chunk : {64u, 1000u, kDrawReadValues})
            for (int z : {0, 100, 256}) {
                TDrawDataStereo data = BuildStereo(values, blockSize, z, chunk);
                auto expected = ReferenceStereo(values, blockSize, z, chunk);
                expected.resize(DrawEntryCount(2, values.size() * 2, blockSize), {});
                EXPECT_TRUE(data.Data == expected)
                    << "B " << blockSize << ", chunk " << chunk << ", Z " << z;
            }
}

TEST(DrawDataMono, EachEntrySpansItsOwnHalfBlockAndTheNext)
{
    // B 8, H 4: entry 0 sees samples 0..7, entry 1 sees 4..11, entry 2 sees
    // 8..11 only (the data ends).
    Samples values(12, 0);
    values[6] = 1000;  // in entries 0 and 1
    values[9] = -2000; // in entries 1 and 2
    TDrawDataMono data = BuildMono(values, 8);
    ASSERT_EQ(data.Count(), 3);
    EXPECT_EQ(data.Data[0].Max, 3);
    EXPECT_EQ(data.Data[0].Min, 0);
    EXPECT_EQ(data.Data[1].Max, 3);
    EXPECT_EQ(data.Data[1].Min, -7);
    EXPECT_EQ(data.Data[2].Max, 0);
    EXPECT_EQ(data.Data[2].Min, -7);
}

TEST(DrawDataMono, RepeatsTheEntryBeforeTheLastOfEveryFullChunk)
{
    // B 4 (H 2), chunks of 16. Samples 512 * (40 - i) make every entry's max
    // the first sample of its window (high byte 2 * (40 - i)), so an entry
    // cut at a chunk's end differs from a copy of its predecessor.
    Samples values;
    for (int i = 0; i < 40; ++i)
        values.push_back(static_cast<std::int16_t>(512 * (40 - i)));
    TDrawDataMono data = BuildMono(values, 4, 256, 16);
    ASSERT_EQ(data.Count(), 20);
    EXPECT_EQ(data.Data[5].Max, 60);  // samples 10..13
    EXPECT_EQ(data.Data[6].Max, 56);  // samples 12..15
    EXPECT_EQ(data.Data[7].Max, 56);  // full chunk: a copy of entry 6, not 52
    EXPECT_EQ(data.Data[8].Max, 48);  // samples 16..19
    EXPECT_EQ(data.Data[15].Max, 24); // the second full chunk's copy, not 20
    EXPECT_EQ(data.Data[18].Max, 8);  // samples 36..39
    EXPECT_EQ(data.Data[19].Max, 4);  // last, short chunk: cut to 38..39, no copy
}

TEST(DrawDataMono, AFullFinalChunkGetsTheCopyAndLeftoverSamplesCountForTheLastEntry)
{
    Samples exact;
    for (int i = 0; i < 32; ++i)
        exact.push_back(static_cast<std::int16_t>(-512 * (32 - i)));
    TDrawDataMono full = BuildMono(exact, 4, 256, 16);
    ASSERT_EQ(full.Count(), 16);
    EXPECT_EQ(full.Data[14].Min, -8); // samples 28..31
    EXPECT_EQ(full.Data[15].Min, -8); // a copy, not -4 (samples 30..31)

    // 41 samples: the last chunk holds 9, so entry 19 sees samples 38..40.
    Samples leftover(41, 0);
    leftover[40] = 30000;
    TDrawDataMono data = BuildMono(leftover, 4, 256, 16);
    ASSERT_EQ(data.Count(), 20);
    EXPECT_EQ(data.Data[19].Max, 117);
    EXPECT_EQ(data.Data[18].Max, 0);
}

TEST(DrawDataMono, MatchesThePlainRulesForEveryBlockSizeAndChunk)
{
    const Samples values = NoiseSamples(6001, 1, 5, 3000);
    for (int blockSize : {2, 4, 8, 16, 32, 4096})
        for (std::uint32_t chunk : {64u, 1000u, 2048u, kDrawReadValues})
            for (int z : {0, 100, 256}) {
                TDrawDataMono data = BuildMono(values, blockSize, z, chunk);
                auto expected = ReferenceMono(values, blockSize, z, chunk);
                expected.resize(DrawEntryCount(1, values.size() * 2, blockSize), {});
                EXPECT_TRUE(data.Data == expected)
                    << "B " << blockSize << ", chunk " << chunk << ", Z " << z;
            }
}

TEST(DrawDataBuild, ReportsProgressAfterEveryChunkButTheOneHoldingTheEnd)
{
    const Samples values = NoiseSamples(64, 2, 3); // 128 values: 4 chunks of 32
    std::vector<std::uint32_t> positions;
    std::vector<TDrawProgress> reports;
    TDrawDataStereo data;
    TDrawBuildOutcome outcome = BuildDrawDataStereo(
        MemoryReader{&values, &positions}, Params(values, 8, 256, 32),
        [&](const TDrawProgress& p) {
            reports.push_back(p);
            return true;
        },
        data);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Done);
    EXPECT_EQ(positions, (std::vector<std::uint32_t>{0, 64, 128, 192}));
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].EntriesMade, 4);
    EXPECT_EQ(reports[0].EntriesTotal, 16);
    EXPECT_EQ(reports[0].Percent, 25);
    EXPECT_EQ(reports[2].Percent, 75);

    // A single chunk holds the end at once: no report.
    reports.clear();
    BuildDrawDataStereo(
        MemoryReader{&values}, Params(values, 8),
        [&](const TDrawProgress& p) {
            reports.push_back(p);
            return true;
        },
        data);
    EXPECT_TRUE(reports.empty());
}

TEST(DrawDataBuild, PercentIsRoundedHalfToEven)
{
    // Mono at B 2 (one entry per sample) over 200 samples: after a first
    // chunk of 1, 3 or 8 samples, 0.5 % rounds to 0, 1.5 % to 2, 4 % is 4.
    const Samples values(200, 0);
    for (auto [chunk, percent] : {std::pair{1u, 0}, std::pair{3u, 2}, std::pair{8u, 4}}) {
        std::vector<int> seen;
        TDrawDataMono data;
        BuildDrawDataMono(
            MemoryReader{&values}, Params(values, 2, 256, chunk),
            [&](const TDrawProgress& p) {
                seen.push_back(p.Percent);
                return false;
            },
            data);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0], percent) << "chunk " << chunk;
    }
}

TEST(DrawDataBuild, CancelStopsAfterTheChunkAndKeepsWhatWasMade)
{
    Samples values(64, 0);
    std::fill(values.begin(), values.end(), static_cast<std::int16_t>(5000));
    std::vector<std::uint32_t> positions;
    int reports = 0;
    TDrawDataMono data;
    TDrawBuildOutcome outcome = BuildDrawDataMono(
        MemoryReader{&values, &positions}, Params(values, 4, 256, 16),
        [&](const TDrawProgress&) { return ++reports < 2; }, data);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Cancelled);
    EXPECT_EQ(positions, (std::vector<std::uint32_t>{0, 32})); // nothing read after the stop
    ASSERT_EQ(data.Count(), 32);
    EXPECT_EQ(data.Data[15].Max, 19);
    EXPECT_EQ(data.Data[16].Max, 0); // never made
}

TEST(DrawDataBuild, AShortOrFailingReadFailsTheBuildAndEmptiesTheData)
{
    Samples values = NoiseSamples(64, 2, 9);
    Samples shorter(values.begin(), values.begin() + 40); // the file shrank
    int reports = 0;
    auto count = [&](const TDrawProgress&) {
        ++reports;
        return true;
    };
    TDrawDataStereo data;
    TDrawBuildOutcome outcome =
        BuildDrawDataStereo(MemoryReader{&shorter}, Params(values, 8, 256, 32), count, data);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Failed);
    EXPECT_FALSE(outcome.Error.empty());
    EXPECT_EQ(data.Count(), 0);
    EXPECT_EQ(reports, 1); // after the first chunk; none after the failed one

    int reads = 0;
    auto failing = [&](std::size_t, std::uint32_t at) -> const std::int16_t* {
        if (++reads == 2)
            throw EReadError("Read error");
        return values.data() + at / 2;
    };
    TDrawDataMono mono;
    outcome = BuildDrawDataMono(failing, Params(values, 8, 256, 32), count, mono);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Failed);
    EXPECT_EQ(outcome.Error, "Read error");
    EXPECT_EQ(mono.Count(), 0);
    EXPECT_EQ(reads, 2);
}

TEST(DrawDataBuild, EmptyOrTinyDataMakesNoEntryAndReadsNothingUseless)
{
    const Samples none;
    std::vector<std::uint32_t> positions;
    TDrawDataStereo data;
    EXPECT_EQ(
        BuildDrawDataStereo(MemoryReader{&none, &positions}, Params(none, 8), {}, data).Result,
        TDrawBuildResult::Done);
    EXPECT_EQ(data.Count(), 0);
    EXPECT_TRUE(positions.empty());
    EXPECT_EQ(BuildMono(Samples(3, 100), 8).Count(), 0);
}
