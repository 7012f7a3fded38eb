// Playback through the system's wave-out device: under Wine the null device,
// which takes sound about three times faster than real time. The files carry
// the frame-index pattern, and the recorder logs every chunk handed to the
// device, so each test checks which frames were played. Waits are on
// conditions, about 10 s at most.
#include "PlaybackRecorder.h"
#include "audio/DirectWavEngine.h"
#include "support/TestSeams.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace testing_support;

namespace {

constexpr int kShortFrames = 20000;     // stereo, 44100 Hz: 0.45 s
constexpr int kLongFrames = 22050 * 60; // mono, 22050 Hz: one minute

class Playback : public testing::Test
{
protected:
    void SetUp() override { recorder.Attach(*engine); }

    void LoadShortStereo()
    {
        ASSERT_TRUE(engine->LoadFile(
            WriteWav(folder, "short.wav",
                     WavBuilder().Pcm16(2, 44100, FrameIndexSamples(kShortFrames, 2)))));
    }
    void LoadLongMono()
    {
        ASSERT_TRUE(engine->LoadFile(WriteWav(
            folder, "long.wav", WavBuilder().Pcm16(1, 22050, FrameIndexSamples(kLongFrames, 1)))));
    }
    // Loads a stereo file of the given samples.
    void LoadStereo(const std::vector<std::int16_t>& samples)
    {
        ASSERT_TRUE(engine->LoadFile(
            WriteWav(folder, "samples.wav", WavBuilder().Pcm16(2, 44100, samples))));
    }
    // Waits for the end, then checks that exactly the bytes from..to were
    // played, frame for frame, with one start, stop and end.
    void ExpectPlayedThrough(std::int64_t from, std::int64_t to, int channels)
    {
        ASSERT_TRUE(recorder.WaitForEnd());
        auto chunks = recorder.Chunks();
        ExpectContiguous(chunks, from, to);
        ExpectFramePattern(chunks, channels);
        EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"start", "stop", "end"}));
    }
    std::vector<std::int16_t> PlayedSamples()
    {
        std::vector<std::int16_t> all;
        for (const PlayedChunk& c : recorder.Chunks()) {
            auto s = SamplesOf(c.Data.data(), c.Data.size());
            all.insert(all.end(), s.begin(), s.end());
        }
        return all;
    }

    TempFolder folder;
    PlaybackRecorder recorder; // outlives the engine, whose threads call it
    std::unique_ptr<TDirectWavEngine> engine = std::make_unique<TDirectWavEngine>(nullptr);
};

} // namespace

TEST_F(Playback, WholeFileIsPlayedOnceWithEachEventOnce)
{
    LoadShortStereo();
    engine->Play(0, kShortFrames);
    EXPECT_TRUE(engine->IsPlaying());
    EXPECT_NE(engine->lhWaveOut(), nullptr);
    ASSERT_TRUE(recorder.WaitForEnd());

    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"start", "stop", "end"}));
    EXPECT_FALSE(engine->IsPlaying());
    EXPECT_EQ(engine->lhWaveOut(), nullptr);
    auto chunks = recorder.Chunks();
    ExpectContiguous(chunks, 0, kShortFrames * 4);
    ExpectFramePattern(chunks, 2);
    EXPECT_EQ(engine->GetPosition(), kShortFrames);
    // Start and stop on the playback thread, the end on a third thread.
    const DWORD main = GetCurrentThreadId();
    EXPECT_NE(recorder.StartThread(), main);
    EXPECT_EQ(recorder.StopThread(), recorder.StartThread());
    EXPECT_NE(recorder.EndThread(), main);
    EXPECT_NE(recorder.EndThread(), recorder.StartThread());
}

TEST_F(Playback, RangeShorterThanTheBufferRingEnds)
{
    LoadShortStereo();
    engine->Play(100, 300); // 800 bytes: one chunk of four buffers
    ExpectPlayedThrough(400, 1200, 2);
}

TEST_F(Playback, SingleBufferIsReadPlayedAndRefilledInTurn)
{
    LoadShortStereo();
    engine->SetBufCount(1);
    engine->Play(0, 5000);
    ExpectPlayedThrough(0, 20000, 2);
}

TEST_F(Playback, BufferSizeIsRoundedDownToWholeFrames)
{
    LoadShortStereo();
    engine->SetBufSize(1001);
    engine->Play(0, 3000);
    ASSERT_TRUE(recorder.WaitForEnd());
    auto chunks = recorder.Chunks();
    ExpectContiguous(chunks, 0, 12000);
    ExpectFramePattern(chunks, 2);
    EXPECT_EQ(chunks.front().Data.size(), 1000u);
    EXPECT_EQ(engine->BufSize(), 1001u);
}

TEST_F(Playback, LoopRestartsAtTheLoopRangeWithinItsEnd)
{
    LoadShortStereo();
    engine->SetLoop(true);
    engine->Play(0, kShortFrames);
    engine->SetLoopRange(15000, 16000); // 4000 bytes, less than one buffer
    ASSERT_TRUE(recorder.WaitUntil([&] {
        auto chunks = recorder.Chunks();
        return std::count_if(chunks.begin(), chunks.end(),
                             [](const PlayedChunk& c) { return c.Position == 60000; }) >= 3;
    }));
    engine->Stop();

    auto chunks = recorder.Chunks();
    // The first pass runs to the end of the range, then the loop wraps.
    std::size_t wrap = 1;
    while (wrap < chunks.size() && chunks[wrap].Position == chunks[wrap - 1].End())
        ++wrap;
    ExpectContiguous({chunks.begin(), chunks.begin() + wrap}, 0, kShortFrames * 4);
    for (std::size_t i = wrap; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].Position, 60000) << "chunk " << i;
        EXPECT_EQ(chunks[i].Data.size(), 4000u) << "chunk " << i;
    }
    ExpectFramePattern(chunks, 2);
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"start", "stop"}));
}

TEST_F(Playback, NewEndAfterThePositionEndsPlaybackThere)
{
    LoadLongMono();
    engine->Play(0, kLongFrames);
    engine->SetPlayRange(-1, 30000);
    ExpectPlayedThrough(0, 60000, 1);
}

TEST_F(Playback, RangesEndingBeforeThePositionOrPastTheFileAreIgnored)
{
    LoadLongMono();
    engine->Play(0, kLongFrames);
    ASSERT_TRUE(recorder.WaitUntil([&] { return engine->GetPosition() > 20000; }));
    engine->SetPlayRange(-1, 5000);
    engine->SetPlayRange(-1, kLongFrames + 1);
    engine->SetPlayRange(0, kLongFrames + 1);
    const int position = engine->GetPosition();
    ASSERT_TRUE(recorder.WaitUntil([&] { return engine->GetPosition() > position + 20000; }));
    EXPECT_TRUE(engine->IsPlaying());
    engine->Stop();
    auto chunks = recorder.Chunks();
    ExpectContiguous(chunks, 0, chunks.back().End());
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"start", "stop"}));
}

TEST_F(Playback, NewStartJumpsAndPlaysToTheEnd)
{
    ASSERT_TRUE(engine->LoadFile(
        WriteWav(folder, "jump.wav", WavBuilder().Pcm16(1, 22050, FrameIndexSamples(110250, 1)))));
    engine->Play(0, 110250);
    engine->SetPlayRange(100000, -1);
    ASSERT_TRUE(recorder.WaitForEnd());
    auto chunks = recorder.Chunks();
    auto jump = std::find_if(chunks.begin(), chunks.end(),
                             [](const PlayedChunk& c) { return c.Position == 200000; });
    ASSERT_NE(jump, chunks.end());
    ASSERT_NE(jump, chunks.begin());
    ExpectContiguous({chunks.begin(), jump}, 0, (jump - 1)->End());
    ExpectContiguous({jump, chunks.end()}, 200000, 220500);
    ExpectFramePattern(chunks, 1);
}

TEST_F(Playback, SeekBeyondTheEndStopsAndReportsTheEnd)
{
    LoadLongMono();
    engine->Play(0, kLongFrames);
    engine->Seek(kLongFrames + 100);
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"start", "stop", "end"}));
    EXPECT_FALSE(engine->IsPlaying());
    EXPECT_LT(recorder.Chunks().back().End(), 100000);
}

TEST_F(Playback, SeekWhileStoppedIsWhereTheNextPlayStarts)
{
    LoadShortStereo();
    engine->Seek(19000);
    engine->Play(0, kShortFrames);
    ExpectPlayedThrough(76000, 80000, 2);
}

TEST_F(Playback, DoubleVolumeClipsFullScaleSamplesAndRaisesOnClip)
{
    std::vector<std::int16_t> samples;
    for (int f = 0; f < 1000; ++f) {
        samples.push_back(f % 2 ? 20000 : 100);
        samples.push_back(f % 2 ? -20000 : -100);
    }
    LoadStereo(samples);
    engine->SetVolume(2.0);
    engine->Play(0, 1000);
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.Clips(), 1000);
    auto played = PlayedSamples();
    ASSERT_EQ(played.size(), 2000u);
    for (int f = 0; f < 1000; ++f) {
        EXPECT_EQ(played[2 * f], f % 2 ? 32767 : 200);
        EXPECT_EQ(played[2 * f + 1], f % 2 ? -32768 : -200);
    }
}

TEST_F(Playback, EachOutputModeReachesTheDevice)
{
    std::vector<std::int16_t> samples;
    for (int f = 0; f < 500; ++f) {
        samples.push_back(static_cast<std::int16_t>(f));
        samples.push_back(static_cast<std::int16_t>(1000 + f));
    }
    LoadStereo(samples);
    struct ModeCase
    {
        TOutputMode Mode;
        int (*Left)(int);
        int (*Right)(int);
    };
    const ModeCase cases[] = {
        {TOutputMode::NoTouch, [](int f) { return f; }, [](int f) { return 1000 + f; }},
        {TOutputMode::MonoMix, [](int f) { return 500 + f; }, [](int f) { return 500 + f; }},
        {TOutputMode::MonoLeft, [](int f) { return f; }, [](int f) { return f; }},
        {TOutputMode::MonoRight, [](int f) { return 1000 + f; }, [](int f) { return 1000 + f; }},
        {TOutputMode::Swap, [](int f) { return 1000 + f; }, [](int f) { return f; }},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Mode));
        PlaybackRecorder modeRecorder;
        modeRecorder.Attach(*engine);
        engine->SetOutputMode(c.Mode);
        engine->Play(0, 500);
        ASSERT_TRUE(modeRecorder.WaitForEnd());
        std::vector<std::int16_t> played;
        for (const PlayedChunk& chunk : modeRecorder.Chunks()) {
            auto s = SamplesOf(chunk.Data.data(), chunk.Data.size());
            played.insert(played.end(), s.begin(), s.end());
        }
        ASSERT_EQ(played.size(), 1000u);
        for (int f = 0; f < 500; ++f) {
            ASSERT_EQ(played[2 * f], c.Left(f)) << "frame " << f;
            ASSERT_EQ(played[2 * f + 1], c.Right(f)) << "frame " << f;
        }
    }
    recorder.Attach(*engine);
}

TEST_F(Playback, MonoAtHalfVolumeKeepsItsOrderWhateverTheMode)
{
    ASSERT_TRUE(engine->LoadFile(
        WriteWav(folder, "mono.wav", WavBuilder().Pcm16(1, 8000, FrameIndexSamples(300, 1)))));
    engine->SetVolume(0.5);
    engine->SetOutputMode(TOutputMode::Swap);
    engine->Play(0, 300);
    ASSERT_TRUE(recorder.WaitForEnd());
    auto played = PlayedSamples();
    ASSERT_EQ(played.size(), 300u);
    for (int f = 0; f < 300; ++f)
        ASSERT_EQ(played[f], static_cast<int>(std::nearbyint(f * 0.5))) << "frame " << f;
}

TEST_F(Playback, EightBitDataIsPlayedAsItIs)
{
    Bytes data(600);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(
        engine->LoadFile(WriteWav(folder, "eight.wav", WavBuilder().Pcm(2, 8000, 8, data))));
    engine->SetVolume(2.0);
    engine->SetOutputMode(TOutputMode::Swap);
    engine->Play(0, 300);
    ASSERT_TRUE(recorder.WaitForEnd());
    Bytes played;
    for (const PlayedChunk& c : recorder.Chunks())
        played.insert(played.end(), c.Data.begin(), c.Data.end());
    EXPECT_EQ(played, data);
    EXPECT_EQ(recorder.Clips(), 0);
}

TEST_F(Playback, StopRaisesOnlyOnPlayStop)
{
    LoadLongMono();
    engine->Play(0, kLongFrames);
    ASSERT_TRUE(recorder.WaitForChunks(6));
    engine->Stop();
    EXPECT_FALSE(engine->IsPlaying());
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"start", "stop"}));
    engine.reset(); // ends the play-end thread: nothing may be left to report
    EXPECT_EQ(recorder.Ends(), 0);
}

TEST_F(Playback, PlayWhilePlayingStartsAfresh)
{
    LoadLongMono();
    engine->Play(0, kLongFrames);
    engine->Play(1000, 2000);
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.Events(),
              (std::vector<std::string>{"start", "stop", "start", "stop", "end"}));
    EXPECT_EQ(recorder.Chunks().back().End(), 4000);
}

TEST_F(Playback, DeviceThatCannotBeOpenedIsShownAndNothingPlays)
{
    LoadShortStereo();
    ScriptedMessageBoxes boxes({IDOK});
    engine->SetDeviceID(5);
    engine->Play(0, kShortFrames);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "Wave デバイスを使用できません");
    EXPECT_EQ(boxes.Shown()[0].Caption, "Error");
    EXPECT_EQ(boxes.Shown()[0].Owner, nullptr);
    EXPECT_FALSE(engine->IsPlaying());
    EXPECT_TRUE(recorder.Events().empty());

    engine->SetDeviceID(WAVE_MAPPER);
    engine->Play(0, 1000);
    ASSERT_TRUE(recorder.WaitForEnd());
    ExpectContiguous(recorder.Chunks(), 0, 4000);
}

TEST_F(Playback, EngineFreedWhilePlayingStopsCleanly)
{
    LoadLongMono();
    engine->Play(0, kLongFrames);
    ASSERT_TRUE(recorder.WaitForChunks(6));
    engine.reset();
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"start", "stop"}));
}
