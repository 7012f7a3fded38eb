#include "PipeTestInput.h"

#include "audio/PipeIndicator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace pipe_test;

namespace {

const double kPi = 3.14159265358979323846;

struct TFormat
{
    int Bits;
    int Channels;
};

std::vector<std::uint8_t> NoiseBytes(size_t count, std::uint32_t state)
{
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

// 16-bit mono frames of a sine at cyclesPerBlock cycles per 64 frames.
std::vector<std::uint8_t> ToneBlock(int cyclesPerBlock, double amplitude, int channels)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 64; ++i) {
        auto v = static_cast<std::int16_t>(
            std::lround(amplitude * std::sin(2 * kPi * cyclesPerBlock * i / 64)));
        for (int c = 0; c < channels; ++c) {
            bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        }
    }
    return bytes;
}

double FrameValue(const std::uint8_t* frame, TFormat f)
{
    auto sample = [&](int c) -> double {
        if (f.Bits == 8)
            return frame[c];
        return static_cast<std::int16_t>(frame[2 * c] | (frame[2 * c + 1] << 8));
    };
    return f.Channels == 1 ? sample(0) : (sample(0) + sample(1)) / 2;
}

// The band values of one 64-frame block, the slow way: weighted by the
// rising start of a 1024-point Hann window, a direct DFT scaled by 1/64,
// log10 of each magnitude, nothing below 0.
TBandValues NaiveBlockBands(const std::uint8_t* block, TFormat f)
{
    int frameBytes = f.Bits / 8 * f.Channels;
    double x[64];
    for (int n = 0; n < 64; ++n)
        x[n] = FrameValue(block + n * frameBytes, f) * (1 - std::cos(2 * kPi * n / 1023)) / 2;
    TBandValues bands{};
    for (int k = 0; k < 32; ++k) {
        double re = 0, im = 0;
        for (int n = 0; n < 64; ++n) {
            re += x[n] * std::cos(2 * kPi * k * n / 64);
            im -= x[n] * std::sin(2 * kPi * k * n / 64);
        }
        double magnitude = std::hypot(re, im) / 64;
        bands[k] = magnitude == 0 ? 0 : std::max(0.0, std::log10(magnitude));
    }
    return bands;
}

// Opens the meter over bytes, passes them through in reads of the given
// sizes, and returns the values GetValues hands out.
TBandValues MeterValues(const std::vector<std::uint8_t>& bytes, TFormat f,
                        const std::vector<int>& reads)
{
    TMemoryPipeInput input(nullptr, bytes, f.Bits, f.Channels, 8000);
    TSoundIndicator meter(nullptr);
    meter.SetInput(&input);
    meter.OpenInput();
    std::vector<std::uint8_t> passed(bytes.size());
    size_t at = 0;
    for (int count : reads)
        at += meter.ReadData(passed.data() + at, count);
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(passed, bytes) << "the meter passes its input through unchanged";
    EXPECT_EQ(meter.Position(), input.Position());
    TBandValues values;
    meter.GetValues(values);
    meter.CloseInput();
    return values;
}

void ExpectBandsNear(const TBandValues& actual, const TBandValues& expected)
{
    for (int k = 0; k < 32; ++k)
        EXPECT_NEAR(actual[k], expected[k], 1e-6) << "band " << k;
}

TEST(SoundIndicatorTest, MatchesADirectDftOfTheSameBlocksInEveryFormat)
{
    for (TFormat f : {TFormat{8, 1}, TFormat{8, 2}, TFormat{16, 1}, TFormat{16, 2}}) {
        SCOPED_TRACE(testing::Message() << f.Bits << " bits, " << f.Channels << " channels");
        int blockBytes = 64 * f.Bits / 8 * f.Channels;
        // Three whole blocks and a partial one, which is not measured.
        std::vector<std::uint8_t> bytes = NoiseBytes(3 * blockBytes + blockBytes / 2, 7 + f.Bits);
        TBandValues expected{};
        for (int b = 0; b < 3; ++b) {
            TBandValues block = NaiveBlockBands(bytes.data() + b * blockBytes, f);
            for (int k = 0; k < 32; ++k)
                expected[k] += block[k] * 20 / 3;
        }
        ExpectBandsNear(MeterValues(bytes, f, {static_cast<int>(bytes.size())}), expected);
    }
}

TEST(SoundIndicatorTest, SilenceGivesZerosAndAToneLandsInItsBand)
{
    TFormat stereo16{16, 2};
    std::vector<std::uint8_t> silence(16384, 0);
    EXPECT_EQ(MeterValues(silence, stereo16, {16384}), TBandValues{});

    for (int cycles : {3, 8, 20}) {
        TBandValues values = MeterValues(ToneBlock(cycles, 20000, 1), {16, 1}, {128});
        auto loudest = std::max_element(values.begin() + 1, values.end()) - values.begin();
        EXPECT_EQ(loudest, cycles);
        EXPECT_GT(values[cycles], 20.0);
    }
}

TEST(SoundIndicatorTest, EachChunkDividesTheSumsByItsOwnBlockCount)
{
    TFormat stereo16{16, 2};
    std::vector<std::uint8_t> tone = ToneBlock(8, 20000, 2);
    TBandValues one = NaiveBlockBands(tone.data(), stereo16);

    // 16384 bytes of 16-bit stereo are 64 blocks: one tone among silence.
    std::vector<std::uint8_t> chunk(16384, 0);
    std::copy(tone.begin(), tone.end(), chunk.begin());
    TBandValues expected{};
    for (int k = 0; k < 32; ++k)
        expected[k] = one[k] * 20 / 64;
    ExpectBandsNear(MeterValues(chunk, stereo16, {16384}), expected);

    // A chunk of one block, then one of two: the second divides what the
    // first left, plus its own two blocks, by two. Frames beyond the last
    // whole block of a chunk are not measured.
    std::vector<std::uint8_t> bytes;
    for (int b = 0; b < 3; ++b)
        bytes.insert(bytes.end(), tone.begin(), tone.end());
    std::vector<std::uint8_t> loudTail = NoiseBytes(63 * 4, 3);
    bytes.insert(bytes.end(), loudTail.begin(), loudTail.end());
    for (int k = 0; k < 32; ++k)
        expected[k] = one[k] * 20 * 3 / 2;
    ExpectBandsNear(MeterValues(bytes, stereo16, {256, 512 + 63 * 4}), expected);
}

TEST(SoundIndicatorTest, GetValuesClearsTheBands)
{
    std::vector<std::uint8_t> tone = ToneBlock(5, 10000, 1);
    TMemoryPipeInput input(nullptr, tone, 16, 1, 8000);
    TSoundIndicator meter(nullptr);
    meter.SetInput(&input);
    meter.OpenInput();
    std::uint8_t chunk[128];
    ASSERT_EQ(meter.ReadData(chunk, sizeof(chunk)), 128);
    TBandValues first, second;
    meter.GetValues(first);
    meter.GetValues(second);
    EXPECT_GT(first[5], 0.0);
    EXPECT_EQ(second, TBandValues{});
    meter.CloseInput();
}

TEST(SoundIndicatorTest, FormatAndOpeningGoThroughTheInput)
{
    TSoundIndicator meter(nullptr);
    auto messageOf = [](auto action) -> AnsiString {
        try {
            action();
        } catch (const EPipeException& e) {
            return e.Message();
        }
        return "(nothing raised)";
    };
    EXPECT_EQ(messageOf([&] { meter.OpenInput(); }), "Input is not assigned.");
    EXPECT_EQ(messageOf([&] { meter.GetChannels(); }), "Input is not assigned.");
    std::uint8_t byte;
    EXPECT_EQ(messageOf([&] { meter.ReadData(&byte, 1); }), "The Stream is not opened");

    TMemoryPipeInput input(nullptr, std::vector<std::uint8_t>(100), 16, 2, 22050);
    input.AnnouncedSize = -1;
    meter.SetInput(&input);
    EXPECT_EQ(meter.GetBitsPerSample(), 16);
    EXPECT_EQ(meter.GetChannels(), 2);
    EXPECT_EQ(meter.GetSampleRate(), 22050);
    meter.OpenInput();
    EXPECT_TRUE(input.Busy());
    EXPECT_EQ(meter.Size(), -1);
    meter.CloseInput();
    EXPECT_FALSE(input.Busy());
    EXPECT_FALSE(meter.Busy());
}

} // namespace
