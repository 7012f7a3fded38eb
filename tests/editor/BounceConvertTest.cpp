// The sample conversion of a bounce: volume rounded half to even and
// clipped, then the output mode; the fast loops must give what the rules
// give one sample at a time, tails included.
#include "editor/BounceConvert.h"

#include "support/WavBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace testing_support;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Every 16-bit value once, and a few more so that the last ones are a tail.
std::vector<std::int16_t> EverySampleValue()
{
    std::vector<std::int16_t> samples;
    for (int v = -32768; v <= 32767; ++v)
        samples.push_back(static_cast<std::int16_t>(v));
    for (int v : {1, -1, 32767, -32768, 3})
        samples.push_back(static_cast<std::int16_t>(v));
    return samples;
}

std::vector<std::int16_t> Converted(std::vector<std::int16_t> samples, int channels, double volume,
                                    TOutputMode mode)
{
    samples.resize(ConvertBuffer(samples.data(), samples.size(), channels, volume, mode));
    return samples;
}

// One stereo frame through a mode, as the rules say it, one at a time.
std::vector<std::int16_t> ModeOfFrame(int left, int right, TOutputMode mode)
{
    switch (mode) {
    case TOutputMode::MonoMix:
        return {static_cast<std::int16_t>((left + right) / 2)};
    case TOutputMode::MonoLeft:
        return {static_cast<std::int16_t>(left)};
    case TOutputMode::MonoRight:
        return {static_cast<std::int16_t>(right)};
    case TOutputMode::Swap:
        return {static_cast<std::int16_t>(right), static_cast<std::int16_t>(left)};
    default:
        return {static_cast<std::int16_t>(left), static_cast<std::int16_t>(right)};
    }
}

const TOutputMode kEveryMode[] = {TOutputMode::NoTouch, TOutputMode::MonoMix, TOutputMode::MonoLeft,
                                  TOutputMode::MonoRight, TOutputMode::Swap};

} // namespace

TEST(BounceConvert, ScaleSampleRoundsHalfToEvenAndClips)
{
    struct Case
    {
        int sample;
        double volume;
        int expected;
    };
    const Case cases[] = {
        {3, 0.5, 2},         {5, 0.5, 2},           {7, 0.5, 4},         {-3, 0.5, -2},
        {-5, 0.5, -2},       {1, 1.5, 2},           {3, 1.5, 4},         {-1, 1.5, -2},
        {100, 0.999, 100},   {1000, 0, 0},          {16384, 2.0, 32767}, {-16384, 2.0, -32768},
        {20000, 2.0, 32767}, {-20000, 2.0, -32768}, {32767, 1.0, 32767}, {-32768, 1.0, -32768},
        {1, 1e300, 32767},   {-1, 1e300, -32768},   {0, kInfinity, 0},   {1, kInfinity, 32767},
        {500, kNaN, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleSample(static_cast<std::int16_t>(c.sample), c.volume), c.expected)
            << c.sample << " x " << c.volume;
}

TEST(BounceConvert, TheBufferGivesEverySampleWhatScaleSampleGives)
{
    const std::vector<std::int16_t> samples = EverySampleValue();
    // Whole, the wide loop takes nearly all where the processor has one;
    // in pieces of eight, the eight-sample loop takes them all.
    for (std::size_t piece : {samples.size(), std::size_t(8)}) {
        for (double volume : {0.5, 1.5, 2.0, 0.3, 0.999, 0.0, 32767.5, 1e9, kInfinity, kNaN}) {
            std::vector<std::int16_t> out = samples;
            for (std::size_t at = 0; at < out.size(); at += piece)
                ConvertBuffer(out.data() + at, std::min(piece, out.size() - at), 1, volume,
                              TOutputMode::NoTouch);
            int wrong = 0;
            for (std::size_t i = 0; i < samples.size(); ++i)
                if (out[i] != ScaleSample(samples[i], volume) && ++wrong <= 3)
                    ADD_FAILURE() << samples[i] << " x " << volume << " gave " << out[i]
                                  << " in pieces of " << piece;
        }
    }
}

TEST(BounceConvert, EveryModeOnAStereoPieceAfterTheVolume)
{
    // An odd number of frames, so that every loop has a tail.
    const std::vector<std::int16_t> samples = NoiseSamples(1003, 2, 7);
    for (TOutputMode mode : kEveryMode) {
        for (double volume : {1.0, 0.5, 2.0}) {
            std::vector<std::int16_t> expected;
            for (std::size_t i = 0; i < samples.size(); i += 2) {
                const auto frame = ModeOfFrame(ScaleSample(samples[i], volume),
                                               ScaleSample(samples[i + 1], volume), mode);
                expected.insert(expected.end(), frame.begin(), frame.end());
            }
            EXPECT_EQ(Converted(samples, 2, volume, mode), expected)
                << "mode " << int(mode) << " volume " << volume;
        }
    }
}

TEST(BounceConvert, MonoMixTruncatesTowardZero)
{
    const std::vector<std::int16_t> samples = {-3,     0,     3,  0, -32768, -32768, 32767, 32767,
                                               -32768, 32767, -1, 0, 1,      0,      5,     6};
    // Long enough for the fast loop as well: the same frames twice over.
    std::vector<std::int16_t> twice = samples;
    twice.insert(twice.end(), samples.begin(), samples.end());
    const std::vector<std::int16_t> mixed = {-1, 1, -32768, 32767, 0, 0, 0, 5};
    std::vector<std::int16_t> mixedTwice = mixed;
    mixedTwice.insert(mixedTwice.end(), mixed.begin(), mixed.end());
    EXPECT_EQ(Converted(samples, 2, 1.0, TOutputMode::MonoMix), mixed);
    EXPECT_EQ(Converted(twice, 2, 1.0, TOutputMode::MonoMix), mixedTwice);
}

TEST(BounceConvert, AMonoFileOnlyGetsItsVolume)
{
    const std::vector<std::int16_t> samples = NoiseSamples(37, 1, 3);
    std::vector<std::int16_t> halved;
    for (std::int16_t s : samples)
        halved.push_back(ScaleSample(s, 0.5));
    for (TOutputMode mode : kEveryMode) {
        EXPECT_EQ(Converted(samples, 1, 1.0, mode), samples) << int(mode);
        EXPECT_EQ(Converted(samples, 1, 0.5, mode), halved) << int(mode);
    }
}

TEST(BounceConvert, AModeTheListDoesNotKnowLeavesTheSamplesAlone)
{
    const auto unknown = static_cast<TOutputMode>(9);
    const std::vector<std::int16_t> samples = {1, 2, 3, 4};
    EXPECT_EQ(BounceOutputChannels(2, unknown), 2);
    EXPECT_EQ(Converted(samples, 2, 1.0, unknown), samples);
}
