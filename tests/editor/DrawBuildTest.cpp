// The draw-data build of the engine's open file, as the processing window
// runs it: the same entries as a build over the samples in memory, a file
// that cannot shrink or vanish during the build, and a clean failure when
// it did before.
#include "editor/DrawBuild.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

using Samples = std::vector<std::int16_t>;

// Just over two chunks of values, so that the build reports progress twice.
constexpr int kStereoFrames = 2200000;
constexpr int kMonoFrames = 4300000;

template <class Data, class Build>
Data BuildInMemory(const Samples& values, int blockSize, Build build)
{
    TDrawBuildParams params;
    params.DataSize = static_cast<std::uint32_t>(values.size() * 2);
    params.BlockSize = blockSize;
    Data data;
    build([&](std::size_t, std::uint32_t at) { return values.data() + at / 2; }, params, {}, data);
    return data;
}

class DrawBuild : public testing::Test
{
protected:
    TempFolder folder;
    TDirectWavEngine engine{nullptr};
    TDrawDataStereo stereo;
    TDrawDataMono mono;

    std::string Open(const std::string& name, int channels, const Samples& values)
    {
        std::string path = WriteWav(folder, name, WavBuilder().Pcm16(channels, 44100, values));
        EXPECT_TRUE(engine.LoadFile(path));
        return path;
    }
    int BlockSize() const { return WaveBlockSizeFor(engine.SampleSize()); }
};

} // namespace

TEST_F(DrawBuild, MakesTheSameEntriesAsTheSamplesInMemory)
{
    const Samples values = NoiseSamples(kStereoFrames, 2, 21);
    Open("stereo.wav", 2, values);
    mono.Data = {{1, -1}};
    int reports = 0;
    TDrawBuildOutcome outcome = MakeDrawData(
        engine, BlockSize(), 256, [&](const TDrawProgress&) { return ++reports > 0; }, stereo,
        mono);
    ASSERT_EQ(outcome.Result, TDrawBuildResult::Done) << outcome.Error;
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(mono.Count(), 0);
    EXPECT_EQ(stereo.Data,
              BuildInMemory<TDrawDataStereo>(values, BlockSize(), BuildDrawDataStereo).Data);

    const Samples monoValues = NoiseSamples(kMonoFrames, 1, 22);
    Open("mono.wav", 1, monoValues);
    outcome = MakeDrawData(engine, BlockSize(), 100, {}, stereo, mono);
    ASSERT_EQ(outcome.Result, TDrawBuildResult::Done) << outcome.Error;
    EXPECT_EQ(stereo.Count(), 0);
    TDrawDataMono expected;
    TDrawBuildParams params;
    params.DataSize = static_cast<std::uint32_t>(monoValues.size() * 2);
    params.BlockSize = BlockSize();
    params.ZeroLevel = 100;
    BuildDrawDataMono([&](std::size_t, std::uint32_t at) { return monoValues.data() + at / 2; },
                      params, {}, expected);
    EXPECT_EQ(mono.Data, expected.Data);
}

TEST_F(DrawBuild, AFileCannotShrinkDuringTheBuildAndOneThatShrankBeforeFailsIt)
{
    const Samples values = NoiseSamples(kStereoFrames, 2, 23);
    const std::string path = Open("shrinks.wav", 2, values);
    const std::int64_t cut = 44 + kDrawReadValues * 2 + 1000; // within the second chunk
    bool refused = false;
    TDrawBuildOutcome outcome = MakeDrawData(
        engine, BlockSize(), 256,
        [&](const TDrawProgress&) {
            refused = !TrySetFileLength(path, cut);
            return true;
        },
        stereo, mono);
    EXPECT_TRUE(refused);
    ASSERT_EQ(outcome.Result, TDrawBuildResult::Done) << outcome.Error;
    EXPECT_EQ(stereo.Data,
              BuildInMemory<TDrawDataStereo>(values, BlockSize(), BuildDrawDataStereo).Data);

    // Once the build is over, the file can be cut; the next build finds it short.
    SetFileLength(path, cut);
    outcome = MakeDrawData(engine, BlockSize(), 256, {}, stereo, mono);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Failed);
    EXPECT_FALSE(outcome.Error.empty());
    EXPECT_EQ(stereo.Count(), 0);
}

TEST_F(DrawBuild, AFileGoneBeforeTheBuildFailsItAndNoneCanGoDuringIt)
{
    const std::string path = Open("vanishes.wav", 1, NoiseSamples(kMonoFrames, 1, 24));
    ASSERT_TRUE(DeleteFile(path));
    TDrawBuildOutcome outcome = MakeDrawData(engine, BlockSize(), 256, {}, stereo, mono);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Failed);
    EXPECT_FALSE(outcome.Error.empty());
    EXPECT_EQ(mono.Count(), 0);

    // The build holds the file open (sharing reads and writes, not deletion).
    Open("held.wav", 1, NoiseSamples(kMonoFrames, 1, 24));
    outcome = MakeDrawData(
        engine, BlockSize(), 256,
        [&](const TDrawProgress&) {
            EXPECT_FALSE(DeleteFile(folder.File("held.wav")));
            return true;
        },
        stereo, mono);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Done) << outcome.Error;
    EXPECT_TRUE(DeleteFile(folder.File("held.wav"))); // and lets it go after
}

TEST_F(DrawBuild, CancelEndsTheBuildAfterTheChunk)
{
    Open("cancel.wav", 2, NoiseSamples(kStereoFrames, 2, 25));
    int reports = 0;
    TDrawBuildOutcome outcome = MakeDrawData(
        engine, BlockSize(), 256,
        [&](const TDrawProgress& p) {
            ++reports;
            EXPECT_GT(p.Percent, 0);
            return false;
        },
        stereo, mono);
    EXPECT_EQ(outcome.Result, TDrawBuildResult::Cancelled);
    EXPECT_EQ(reports, 1);
}
