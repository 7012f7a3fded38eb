// The engine without sound: the sample conversion, the property limits,
// loading files and reading samples. Playback is in DirectWavEnginePlaybackTest
// and DirectWavEngineFakeDeviceTest.
#include "FakeWaveOut.h"
#include "audio/DirectWavEngine.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace testing_support;

namespace {

std::vector<std::int16_t> Converted(std::vector<std::int16_t> samples, int channels,
                                    TOutputMode mode, double volume, int* clipped = nullptr)
{
    int n = ConvertSamples16(samples.data(), samples.size(), channels, mode, volume);
    if (clipped)
        *clipped = n;
    return samples;
}

using Samples = std::vector<std::int16_t>;

} // namespace

TEST(SampleConversion, OutputModesOnAStereoFrame)
{
    const Samples frame = {100, -7};
    EXPECT_EQ(Converted(frame, 2, TOutputMode::NoTouch, 1.0), (Samples{100, -7}));
    EXPECT_EQ(Converted(frame, 2, TOutputMode::MonoLeft, 1.0), (Samples{100, 100}));
    EXPECT_EQ(Converted(frame, 2, TOutputMode::MonoRight, 1.0), (Samples{-7, -7}));
    EXPECT_EQ(Converted(frame, 2, TOutputMode::Swap, 1.0), (Samples{-7, 100}));
    EXPECT_EQ(Converted(frame, 2, TOutputMode::MonoMix, 1.0), (Samples{46, 46})); // 46.5 to even
}

TEST(SampleConversion, MixAndScaleRoundHalvesToEven)
{
    EXPECT_EQ(Converted({1, 2}, 2, TOutputMode::MonoMix, 1.0), (Samples{2, 2}));
    EXPECT_EQ(Converted({3, 2}, 2, TOutputMode::MonoMix, 1.0), (Samples{2, 2}));
    EXPECT_EQ(Converted({-3, -2}, 2, TOutputMode::MonoMix, 1.0), (Samples{-2, -2}));
    EXPECT_EQ(Converted({3, 5, -3, -5}, 1, TOutputMode::NoTouch, 0.5), (Samples{2, 2, -2, -2}));
    // The mix is rounded before it is scaled: (1 + 2) / 2 = 1.5 -> 2 -> 6.
    EXPECT_EQ(Converted({1, 2}, 2, TOutputMode::MonoMix, 3.0), (Samples{6, 6}));
}

TEST(SampleConversion, MonoIgnoresTheOutputMode)
{
    EXPECT_EQ(Converted({10, 20, 31}, 1, TOutputMode::Swap, 0.5), (Samples{5, 10, 16}));
    EXPECT_EQ(Converted({10, 20}, 1, TOutputMode::MonoMix, 1.0), (Samples{10, 20}));
}

TEST(SampleConversion, ClipsAndCountsEverySampleBeyondTheRange)
{
    int clipped = 0;
    EXPECT_EQ(
        Converted({32767, -32768, 16383, -16384, 16384}, 1, TOutputMode::NoTouch, 2.0, &clipped),
        (Samples{32767, -32768, 32766, -32768, 32767}));
    EXPECT_EQ(clipped, 3);
    EXPECT_EQ(Converted({20000, -20000}, 2, TOutputMode::Swap, 2.0, &clipped),
              (Samples{-32768, 32767}));
    EXPECT_EQ(clipped, 2);
    EXPECT_EQ(Converted({0, 5, -5}, 1, TOutputMode::NoTouch, INFINITY, &clipped),
              (Samples{0, 32767, -32768}));
}

class EngineProperties : public testing::Test
{
protected:
    FakeWaveOut device;
    TDirectWavEngine engine{nullptr, device};
    TempFolder folder;
};

TEST_F(EngineProperties, DefaultsAndLimits)
{
    EXPECT_EQ(engine.BufSize(), 4096u);
    EXPECT_EQ(engine.BufCount(), 4);
    EXPECT_EQ(engine.DeviceID(), 0xFFFFFFFFu);
    EXPECT_EQ(engine.Volume(), 1.0);
    EXPECT_FALSE(engine.Loop());
    EXPECT_EQ(engine.OutputMode(), TOutputMode::NoTouch);
    EXPECT_EQ(engine.lhWaveOut(), nullptr);
    EXPECT_EQ(engine.GetPosition(), 0);

    engine.SetBufSize(100);
    EXPECT_EQ(engine.BufSize(), 256u);
    engine.SetBufSize(1001);
    EXPECT_EQ(engine.BufSize(), 1001u); // rounded to whole frames only when playing
    engine.SetBufCount(0);
    EXPECT_EQ(engine.BufCount(), 1);
    engine.SetBufCount(5000);
    EXPECT_EQ(engine.BufCount(), 1024);
    engine.SetVolume(-0.5);
    EXPECT_EQ(engine.Volume(), 0.0);
    engine.SetVolume(NAN);
    EXPECT_EQ(engine.Volume(), 0.0);
    engine.SetVolume(2.0);
    EXPECT_EQ(engine.Volume(), 2.0);
}

TEST_F(EngineProperties, DesignTimeEngineHasNoThread)
{
    struct DesignOwner : TComponent
    {
        DesignOwner() : TComponent(nullptr) { IncludeState(csDesigning); }
    } owner;
    auto* designed = new TDirectWavEngine(&owner, device);
    EXPECT_TRUE(designed->LoadFile(
        WriteWav(folder, "a.wav", WavBuilder().Pcm16(1, 8000, SilenceSamples(100, 1)))));
    designed->Play(0, 100);
    designed->Stop();
    EXPECT_FALSE(designed->IsPlaying());
    EXPECT_EQ(device.Count("open"), 0);
}

TEST_F(EngineProperties, LoadFilePublishesOnlyPlayableFiles)
{
    std::string good =
        WriteWav(folder, "good.wav", WavBuilder().Pcm16(2, 22050, SilenceSamples(500, 2)));
    std::string bad = WriteWav(folder, "bad.wav", WavBuilder().Pcm(3, 22050, 16, Bytes(60)));
    ASSERT_TRUE(engine.LoadFile(good));
    EXPECT_TRUE(engine.IsPlayable());
    EXPECT_EQ(engine.Path(), good);
    EXPECT_EQ(engine.SampleSize(), 500);
    EXPECT_EQ(engine.Rate(), 22050u);
    EXPECT_EQ(engine.BlockSize(), 4);

    EXPECT_FALSE(engine.LoadFile(bad));
    EXPECT_EQ(engine.Path(), good); // the published facts stay
    EXPECT_TRUE(engine.IsPlayable());
    engine.Play(0, 100); // but nothing plays any more
    EXPECT_EQ(device.Count("open"), 0);

    engine.InitWavInfo();
    EXPECT_FALSE(engine.IsPlayable());
    EXPECT_TRUE(engine.Path().empty());
    EXPECT_EQ(engine.SampleSize(), 0);
}

TEST_F(EngineProperties, PlayRefusesRangesOutsideTheFile)
{
    ASSERT_TRUE(engine.LoadFile(
        WriteWav(folder, "a.wav", WavBuilder().Pcm16(1, 8000, SilenceSamples(100, 1)))));
    engine.Play(5, 5);
    engine.Play(-1, 10);
    engine.Play(10, 5);
    engine.Play(0, 101);
    EXPECT_EQ(device.Count("open"), 0);
    EXPECT_FALSE(engine.IsPlaying());
}

TEST_F(EngineProperties, StopWithNothingPlayingDoesNothing)
{
    bool stopped = false;
    engine.OnPlayStop = [&](TObject*) { stopped = true; };
    for (int i = 0; i < 100; ++i)
        engine.Stop();
    EXPECT_FALSE(stopped);
    EXPECT_TRUE(device.Calls().empty());
}

TEST_F(EngineProperties, ReadSamplesReadsRawValuesAndZerosPastTheFile)
{
    // The data chunk claims 10 frames more than the file holds.
    WavBuilder wav = WavBuilder()
                         .Pcm16(2, 8000, FrameIndexSamples(100, 2))
                         .DataSizeField(440)
                         .RiffSizeField(36 + 440);
    ASSERT_TRUE(engine.LoadFile(WriteWav(folder, "a.wav", wav)));
    std::int16_t buffer[8];
    engine.ReadSamples(buffer, 3, 40); // frames 10 and 11
    EXPECT_EQ(Samples(buffer, buffer + 4), (Samples{10, -10, 11, -11}));

    std::fill(std::begin(buffer), std::end(buffer), 77);
    engine.ReadSamples(buffer, 7, 392); // frames 98, 99 and past the end
    EXPECT_EQ(Samples(buffer, buffer + 8), (Samples{98, -98, 99, -99, 0, 0, 0, 0}));
}

TEST_F(EngineProperties, ReadSamplesIgnoresPositionsOutsideTheData)
{
    ASSERT_TRUE(engine.LoadFile(
        WriteWav(folder, "a.wav", WavBuilder().Pcm16(1, 8000, FrameIndexSamples(10, 1)))));
    std::int16_t buffer[2] = {5, 5};
    engine.ReadSamples(buffer, 1, 20);
    engine.ReadSamples(buffer, 1, -2);
    EXPECT_EQ(buffer[0], 5);
    ASSERT_TRUE(
        engine.LoadFile(WriteWav(folder, "b.wav", WavBuilder().Pcm(1, 8000, 8, Bytes(10, 1)))));
    engine.ReadSamples(buffer, 1, 0); // 8-bit data
    EXPECT_EQ(buffer[0], 5);
}

TEST_F(EngineProperties, ViewSamplesShowsTheDataInPlaceAndNothingOutsideIt)
{
    // The data chunk claims 10 frames more than the file holds.
    const std::string path = WriteWav(folder, "a.wav",
                                      WavBuilder()
                                          .Pcm16(2, 8000, FrameIndexSamples(100, 2))
                                          .DataSizeField(440)
                                          .RiffSizeField(36 + 440));
    ASSERT_TRUE(engine.LoadFile(path));
    engine.BeginSampleReads();
    const std::int16_t* values = engine.ViewSamples(4, 40); // frames 10 and 11
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(Samples(values, values + 4), (Samples{10, -10, 11, -11}));
    values = engine.ViewSamples(4, 392); // frames 98 and 99: the last in the file
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(Samples(values, values + 4), (Samples{98, -98, 99, -99}));
    struct Refused
    {
        int Count;
        int BytePosition;
    };
    for (Refused r : {Refused{6, 392}, // past the end of the file
                      Refused{2, 436}, // in the data the head claims, past the file
                      Refused{4, 438}, // past the claimed data
                      Refused{1, -2}, Refused{0, 0}, Refused{-1, 0}})
        EXPECT_EQ(engine.ViewSamples(r.Count, r.BytePosition), nullptr)
            << r.Count << " at " << r.BytePosition;
    engine.EndSampleReads();

    ASSERT_TRUE(
        engine.LoadFile(WriteWav(folder, "b.wav", WavBuilder().Pcm(1, 8000, 8, Bytes(10, 1)))));
    EXPECT_EQ(engine.ViewSamples(1, 0), nullptr); // 8-bit data
}

TEST_F(EngineProperties, ReadSamplesReportsAFileThatIsGone)
{
    std::string path =
        WriteWav(folder, "a.wav", WavBuilder().Pcm16(1, 8000, FrameIndexSamples(10, 1)));
    ASSERT_TRUE(engine.LoadFile(path));
    DeleteFileA(path.c_str());
    std::int16_t buffer[2];
    EXPECT_THROW(engine.ReadSamples(buffer, 1, 0), EFOpenError);
    EXPECT_THROW(engine.ViewSamples(1, 0), EFOpenError);
}
