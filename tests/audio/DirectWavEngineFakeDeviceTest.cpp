// The playback thread against a device that finishes a buffer only when the
// test says so: the cases that a real device makes depend on timing (a range
// change taken up while priming or servicing, a device that answers "still
// playing", a reset that fails).
#include "FakeWaveOut.h"
#include "PlaybackRecorder.h"
#include "audio/DirectWavEngine.h"
#include "classlib/Seams.h"
#include "support/TestSeams.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;

namespace {

constexpr int kFrames = 44100; // stereo: 43 chunks of 4096 bytes

using Events = std::vector<std::string>;

class FakeDevicePlayback : public testing::Test
{
protected:
    void SetUp() override
    {
        recorder.Attach(*engine);
        ASSERT_TRUE(engine->LoadFile(WriteWav(
            folder, "a.wav", WavBuilder().Pcm16(2, 44100, FrameIndexSamples(kFrames, 2)))));
    }
    void TearDown() override { EXPECT_EQ(device.Faults(), std::vector<std::string>{}); }

    // Waits until condition holds, checking after every device call and
    // every event or chunk.
    bool WaitFor(const std::function<bool()>& condition)
    {
        return testing_support::WaitUntil(condition, {device.Changed(), recorder.Changed()});
    }

    // Finishes buffers one at a time, each once the thread has taken the
    // previous one back, until playback ends.
    void FinishUntilTheEnd()
    {
        while (engine->IsPlaying()) {
            int takenBack = device.Count("unprepare");
            if (!device.FinishOldest()) {
                ASSERT_TRUE(WaitFor([&] { return device.Held() > 0 || !engine->IsPlaying(); }));
                continue;
            }
            ASSERT_TRUE(WaitFor(
                [&] { return device.Count("unprepare") > takenBack || !engine->IsPlaying(); }));
        }
    }

    // Answers the next message box, and waits for it while serving the call
    // that a thread hands to the main thread to show it.
    std::string NextBoxText()
    {
        TestSignal shown;
        std::string text;
        Seams().MessageBox = [&](const TMessageBoxRequest& r) {
            text = r.Text;
            shown.Set();
            return IDOK;
        };
        EXPECT_TRUE(shown.Wait());
        testing_support::InstallStrictSeams();
        return text;
    }

    // An OnPlayEnd handler that holds the play-end thread until released.
    struct HeldEndHandler
    {
        TestSignal inHandler;
        TestSignal release;
        TestSignal secondEnd;
        std::atomic<int> ends{0};
    };

    // Plays two short ranges to their ends, the second while the handler of
    // the first is held (the playback thread is free meanwhile); returns once
    // the second playback has stopped, its end not yet reported.
    void EndTwiceWhileTheFirstEndIsHeld(HeldEndHandler& held)
    {
        engine->OnPlayEnd = [&held](TObject*) {
            held.inHandler.Set();
            WaitForSingleObject(held.release.Handle(), kGenerousWaitMs);
            if (++held.ends == 2)
                held.secondEnd.Set();
        };
        engine->Play(0, 500);
        device.FinishOldest();
        ASSERT_TRUE(held.inHandler.Wait());
        engine->Play(0, 500);
        device.FinishOldest();
        ASSERT_TRUE(recorder.WaitUntil([&] { return recorder.Stops() == 2; }));
        EXPECT_EQ(held.ends.load(), 0);
    }

    TempFolder folder;
    FakeWaveOut device;
    PlaybackRecorder recorder;
    std::unique_ptr<TDirectWavEngine> engine = std::make_unique<TDirectWavEngine>(nullptr, device);
};

} // namespace

TEST_F(FakeDevicePlayback, DeviceIsOpenedForTheFileAndPrimedWhilePaused)
{
    engine->SetDeviceID(0);
    engine->Play(0, kFrames);
    WAVEFORMATEX format = device.OpenedFormat();
    EXPECT_EQ(device.OpenedDevice(), 0u);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(device.Calls(),
              (std::vector<std::string>{"open", "pause", "prepare", "write", "prepare", "write",
                                        "prepare", "write", "prepare", "write", "restart"}));
    EXPECT_EQ(recorder.Events(), Events{"start"});
}

TEST_F(FakeDevicePlayback, RangeEmptiedWhilePrimingEndsTheStartQuietly)
{
    // A clip during the first chunk moves the start to the end of the data,
    // so the second chunk of the priming finds nothing left to play.
    std::vector<std::int16_t> loud(2 * 2000, 20000);
    ASSERT_TRUE(engine->LoadFile(WriteWav(folder, "loud.wav", WavBuilder().Pcm16(2, 44100, loud))));
    engine->SetVolume(2.0);
    engine->OnClip = [this](TObject*) { engine->Seek(2000); };
    engine->Play(0, 2000);
    EXPECT_FALSE(engine->IsPlaying());
    EXPECT_TRUE(recorder.Events().empty());
    EXPECT_EQ(device.Count("write"), 0);
    EXPECT_FALSE(device.IsOpen());

    recorder.Attach(*engine);
    engine->Play(0, 1000); // the jump died with that start
    ASSERT_EQ(recorder.ChunkCount(), 1u);
    EXPECT_EQ(recorder.Chunks()[0].Position, 0);
}

TEST_F(FakeDevicePlayback, RangeEmptiedWhileServingStopsAndReportsTheEnd)
{
    engine->Play(0, kFrames);
    engine->Seek(kFrames);
    device.FinishOldest();
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.Events(), (Events{"start", "stop", "end"}));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Count("write"), 4);
    EXPECT_EQ(device.Calls().back(), "close");
}

TEST_F(FakeDevicePlayback, RangeChangeNotTakenUpDiesWithStop)
{
    engine->Play(0, kFrames);
    engine->SetPlayRange(20000, -1); // no buffer comes back: never taken up
    engine->Stop();
    recorder.Clear();
    engine->Play(0, kFrames);
    EXPECT_EQ(recorder.Chunks().front().Position, 0);
}

TEST_F(FakeDevicePlayback, RangeSetAfterTheEndDoesNotStretchTheNextPlay)
{
    // The window may still set a range between the natural end and learning
    // of it; the next play keeps its own end all the same.
    struct Case
    {
        const char* name;
        int rangeStart, rangeEnd; // set once the first play has ended
        std::int64_t from, to;    // bytes the second play, of 1000..2000, plays
    };
    const Case cases[] = {
        {"new end", -1, 5000, 4000, 8000},
        {"new start and end", 1500, 5000, 6000, 8000},
        {"new start", 1500, -1, 6000, 8000},
        {"start past the play's end", 3000, 5000, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        engine->Play(0, 500); // one chunk
        FinishUntilTheEnd();
        ASSERT_TRUE(recorder.WaitForEnd());
        engine->SetPlayRange(c.rangeStart, c.rangeEnd);
        recorder.Clear();
        engine->Play(1000, 2000);
        FinishUntilTheEnd();
        if (c.to == 0) {
            EXPECT_EQ(recorder.ChunkCount(), 0u);
            continue;
        }
        ASSERT_TRUE(recorder.WaitForEnd());
        ExpectContiguous(recorder.Chunks(), c.from, c.to);
    }
}

TEST_F(FakeDevicePlayback, StillPlayingAnswersAreWaitedOut)
{
    device.AnswerStillPlaying(3);
    engine->Play(0, 3000); // three chunks
    FinishUntilTheEnd();
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(device.StillPlayingAnswered(), 3);
    ExpectContiguous(recorder.Chunks(), 0, 12000);
    EXPECT_EQ(recorder.Events(), (Events{"start", "stop", "end"}));
}

TEST_F(FakeDevicePlayback, RingOfBuffersIsRefilledInOrder)
{
    engine->SetBufCount(3);
    engine->SetBufSize(1000);
    engine->Play(0, 2500);
    FinishUntilTheEnd();
    ASSERT_TRUE(recorder.WaitForEnd());
    ExpectContiguous(recorder.Chunks(), 0, 10000);
    ExpectFramePattern(recorder.Chunks(), 2);
}

TEST_F(FakeDevicePlayback, FailedResetAtTheEndIsReportedAndEverythingReleased)
{
    engine->Play(0, 500); // one chunk
    device.FailNextResets(1);
    device.FinishOldest();
    EXPECT_EQ(NextBoxText(), "演奏を終了できません。");
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.Events(), (Events{"start", "stop", "end"}));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(engine->IsPlaying());

    engine->Play(0, 500); // the thread goes on serving commands
    EXPECT_TRUE(engine->IsPlaying());
}

TEST_F(FakeDevicePlayback, FailedStopIsReportedWithoutPlayEnd)
{
    engine->Play(0, kFrames);
    device.FailNextResets(1);
    engine->Stop();
    EXPECT_EQ(NextBoxText(), "演奏を終了できません。");
    EXPECT_FALSE(device.IsOpen());
    engine.reset();
    EXPECT_EQ(recorder.Events(), (Events{"start", "stop"}));
}

TEST_F(FakeDevicePlayback, DeviceThatNeverGivesABufferBackIsGivenUpOn)
{
    ScopedFastTicks fast(60000);
    engine->SetBufCount(1);
    engine->Play(0, kFrames);
    device.AnswerStillPlaying(1 << 30);
    engine->Stop();
    EXPECT_EQ(NextBoxText(), "Wave デバイスを開放できません。");
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(engine->IsPlaying());
    engine.reset();
    EXPECT_EQ(recorder.Events(), (Events{"start", "stop"}));
}

TEST_F(FakeDevicePlayback, EndsAreReportedOnceEachWhileTheirHandlerRuns)
{
    HeldEndHandler held;
    EndTwiceWhileTheFirstEndIsHeld(held);
    held.release.Set();
    EXPECT_TRUE(held.secondEnd.Wait());
    EXPECT_EQ(held.ends.load(), 2);
}

TEST_F(FakeDevicePlayback, StopDropsAnEndNotYetReported)
{
    // The window clears its handler and stops before it goes: no end of an
    // earlier playback may reach it afterwards.
    HeldEndHandler held;
    EndTwiceWhileTheFirstEndIsHeld(held);
    engine->Stop();
    held.release.Set();
    engine.reset();
    EXPECT_EQ(held.ends.load(), 1);
}
