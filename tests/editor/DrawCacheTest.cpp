// The draw-cache format in memory: the bytes written, the round trip, and
// every reason a cache is turned down (which must leave the data alone).
#include "editor/DrawCache.h"

#include "support/WavBytes.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testing_support;

namespace {

TWavInfo HeadOf(const Bytes& wavBytes)
{
    TMemoryByteSource source(wavBytes.data(), wavBytes.size());
    TWavInfo info;
    EXPECT_TRUE(ReadWavHeader(source, info));
    return info;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

void PutU32At(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    std::memcpy(bytes.data() + at, &value, 4);
}

TDrawCacheVerdict Read(const std::vector<std::uint8_t>& cache, const TWavHead& wav, int zeroLevel,
                       int blockSize, TDrawDataStereo& stereo, TDrawDataMono& mono)
{
    TMemoryByteSource source(cache.data(), cache.size());
    return ReadDrawCache(source, wav, zeroLevel, blockSize, stereo, mono);
}

// A stereo file of 2500 entries at B 8 (20000 values), and its draw data.
struct StereoCase
{
    TWavInfo Wav = HeadOf(WavBuilder().Pcm16(2, 48000, SilenceSamples(10003, 2)).Bytes());
    TDrawDataStereo Data;
    TDrawDataMono NoMono;

    StereoCase()
    {
        for (int i = 0; i < 2500; ++i)
            Data.Data.push_back({static_cast<std::int8_t>(i % 128),
                                 static_cast<std::int8_t>(-(i % 129)),
                                 static_cast<std::int8_t>((i * 7) % 128),
                                 static_cast<std::int8_t>(-((i * 3) % 129))});
    }
    std::vector<std::uint8_t> Bytes(int zeroLevel = 256) const
    {
        return DrawCacheBytes(Wav, zeroLevel, Data, NoMono);
    }
};

// What a rejection must leave: the caller's data as it was.
struct Untouched
{
    TDrawDataStereo Stereo;
    TDrawDataMono Mono;
    Untouched()
    {
        Stereo.Data = {{1, -1, 1, -1}};
        Mono.Data = {{2, -2}};
    }
    bool Unchanged() const
    {
        return Stereo.Data == std::vector<TDrawEntryStereo>{{1, -1, 1, -1}} &&
               Mono.Data == std::vector<TDrawEntryMono>{{2, -2}};
    }
};

} // namespace

TEST(DrawCache, WritesTheHeaderAsTheCanonicalHeadOfTheFile)
{
    StereoCase c;
    const std::vector<std::uint8_t> bytes = c.Bytes(300);
    ASSERT_EQ(bytes.size(), 48u + 4 + 2500 * 4);
    EXPECT_EQ(std::memcmp(bytes.data(), "RGL2", 4), 0);
    EXPECT_EQ(U32At(bytes, 4), 300u);
    const Bytes canonical = WavBuilder().Pcm16(2, 48000, SilenceSamples(10003, 2)).Bytes();
    EXPECT_EQ(std::memcmp(bytes.data() + 8, canonical.data() + 8, 36), 0);
    EXPECT_EQ(U32At(bytes, 44), 0u);
    EXPECT_EQ(U32At(bytes, 48), 2500u);
    EXPECT_EQ(std::memcmp(bytes.data() + 52, c.Data.Data.data(), 2500 * 4), 0);
}

TEST(DrawCache, RoundTripsStereoAndMono)
{
    StereoCase c;
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    mono.Data = {{5, -5}};
    ASSERT_EQ(Read(c.Bytes(), c.Wav, 256, 8, stereo, mono), TDrawCacheVerdict::Accepted);
    EXPECT_EQ(stereo.Data, c.Data.Data);
    EXPECT_EQ(mono.Count(), 1); // the other kind is not the reader's business

    // Mono: 41 samples at B 4 make 20 entries.
    const TWavInfo wav = HeadOf(WavBuilder().Pcm16(1, 8000, SilenceSamples(41, 1)).Bytes());
    TDrawDataMono written;
    for (int i = 0; i < 20; ++i)
        written.Data.push_back({static_cast<std::int8_t>(i), static_cast<std::int8_t>(-i)});
    const std::vector<std::uint8_t> bytes = DrawCacheBytes(wav, 100, {}, written);
    EXPECT_EQ(bytes.size(), 48u + 4 + 20 * 2);
    EXPECT_EQ(Read(bytes, wav, 100, 4, stereo, mono), TDrawCacheVerdict::Accepted);
    EXPECT_EQ(mono.Data, written.Data);
}

TEST(DrawCache, TurnsDownEveryMismatchAndLeavesTheDataAlone)
{
    StereoCase c;
    const std::vector<std::uint8_t> good = c.Bytes();
    struct
    {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        TWavInfo Wav;
        int ZeroLevel;
        int BlockSize;
        TDrawCacheVerdict Expected;
    } cases[] = {
        {"wrong magic",
         [&] {
             auto b = good;
             b[3] = '1';
             return b;
         }(),
         c.Wav, 256, 8, TDrawCacheVerdict::NotACache},
        {"shorter than a header",
         {good.begin(), good.begin() + 47},
         c.Wav,
         256,
         8,
         TDrawCacheVerdict::NotACache},
        {"empty file", {}, c.Wav, 256, 8, TDrawCacheVerdict::NotACache},
        {"other threshold", good, c.Wav, 255, 8, TDrawCacheVerdict::OtherThreshold},
        {"18-byte fmt chunk", good,
         HeadOf(WavBuilder().Pcm16(2, 48000, SilenceSamples(10003, 2)).FmtExtraBytes(0).Bytes()),
         256, 8, TDrawCacheVerdict::OtherFile},
        {"other data size", good,
         HeadOf(WavBuilder().Pcm16(2, 48000, SilenceSamples(10004, 2)).Bytes()), 256, 8,
         TDrawCacheVerdict::OtherFile},
        {"other rate", good, HeadOf(WavBuilder().Pcm16(2, 44100, SilenceSamples(10003, 2)).Bytes()),
         256, 8, TDrawCacheVerdict::OtherFile},
        {"mono file of the same size", good,
         HeadOf(WavBuilder().Pcm16(1, 48000, SilenceSamples(20006, 1)).Bytes()), 256, 8,
         TDrawCacheVerdict::OtherFile},
        {"count for another block size", good, c.Wav, 256, 16, TDrawCacheVerdict::WrongCount},
        {"count one short",
         [&] {
             auto b = good;
             PutU32At(b, 48, 2499);
             return b;
         }(),
         c.Wav, 256, 8, TDrawCacheVerdict::WrongCount},
        {"huge count",
         [&] {
             auto b = good;
             PutU32At(b, 48, 0x7FFFFFFF);
             return b;
         }(),
         c.Wav, 256, 8, TDrawCacheVerdict::WrongCount},
        {"negative count",
         [&] {
             auto b = good;
             PutU32At(b, 48, 0xFFFFFFFF);
             return b;
         }(),
         c.Wav, 256, 8, TDrawCacheVerdict::WrongCount},
        {"ends before the count",
         {good.begin(), good.begin() + 50},
         c.Wav,
         256,
         8,
         TDrawCacheVerdict::Truncated},
        {"one entry byte missing",
         {good.begin(), good.end() - 1},
         c.Wav,
         256,
         8,
         TDrawCacheVerdict::Truncated},
    };
    for (const auto& k : cases) {
        Untouched data;
        EXPECT_EQ(Read(k.Bytes, k.Wav, k.ZeroLevel, k.BlockSize, data.Stereo, data.Mono),
                  k.Expected)
            << k.Name;
        EXPECT_TRUE(data.Unchanged()) << k.Name;
    }
}

TEST(DrawCache, IgnoresTheReservedBytesAndTrailingBytes)
{
    StereoCase c;
    std::vector<std::uint8_t> bytes = c.Bytes();
    PutU32At(bytes, 44, 0xDEADBEEF);
    bytes.push_back(0x55);
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    EXPECT_EQ(Read(bytes, c.Wav, 256, 8, stereo, mono), TDrawCacheVerdict::Accepted);
    EXPECT_EQ(stereo.Data, c.Data.Data);
}
