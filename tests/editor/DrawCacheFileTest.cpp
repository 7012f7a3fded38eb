// The draw cache on disk: written beside the WAV file and read back, turned
// down when the file or the threshold changed, and never left half written.
#include "editor/DrawCacheFile.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TWavInfo InfoOf(const std::string& path)
{
    TWavInfo info;
    info.Path = path;
    GetWavInfo(info);
    EXPECT_TRUE(info.IsPlayable) << path;
    return info;
}

// Entries of the right count for the file, each telling its index.
TDrawDataStereo StereoEntries(const TWavInfo& info, int blockSize)
{
    TDrawDataStereo data;
    for (int i = 0; i < DrawEntryCount(2, info.DataSize, blockSize); ++i)
        data.Data.push_back(
            {static_cast<std::int8_t>(i % 100), -1, 2, static_cast<std::int8_t>(-(i % 50))});
    return data;
}

class DrawCacheFile : public testing::Test
{
protected:
    TempFolder folder;
    const int blockSize = 4;
    std::string wav =
        WriteWav(folder, "take1.wav", WavBuilder().Pcm16(2, 44100, NoiseSamples(1000, 2, 1)));
    TWavInfo info = InfoOf(wav);
    TDrawDataStereo written = StereoEntries(info, blockSize);

    bool Save(const TWavInfo& facts, int zeroLevel = 256)
    {
        return SaveDrawCache(DrawCachePath(facts.Path), facts, zeroLevel, written, {});
    }
    bool Load(TDrawDataStereo& stereo, TDrawDataMono& mono, int zeroLevel = 256)
    {
        return LoadDrawCache(wav, zeroLevel, blockSize, stereo, mono);
    }
};

} // namespace

TEST_F(DrawCacheFile, IsWrittenBesideTheWavFileAndReadBack)
{
    EXPECT_EQ(DrawCachePath(wav), folder.File("take1.dwd"));
    ASSERT_EQ(written.Count(), 500);
    ASSERT_TRUE(Save(info));
    EXPECT_EQ(FileSizeOf(folder.File("take1.dwd")), 48 + 4 + 500 * 4);

    TDrawDataStereo stereo;
    TDrawDataMono mono;
    ASSERT_TRUE(Load(stereo, mono));
    EXPECT_EQ(stereo.Data, written.Data);
    // Another threshold, or a changed draw-block size, means a rebuild.
    TDrawDataStereo other;
    EXPECT_FALSE(Load(other, mono, 100));
    EXPECT_FALSE(LoadDrawCache(wav, 256, blockSize * 2, other, mono));
    EXPECT_EQ(other.Count(), 0);
}

TEST_F(DrawCacheFile, IsNotTakenWhenMissingOrWhenTheWavFileIsGone)
{
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    EXPECT_FALSE(Load(stereo, mono));
    ASSERT_TRUE(Save(info));
    ASSERT_TRUE(DeleteFile(wav));
    EXPECT_FALSE(Load(stereo, mono));
}

TEST_F(DrawCacheFile, AReplacedWavFileIsRebuiltUnlessItsHeadIsTheSameAndTheCacheNewer)
{
    ASSERT_TRUE(Save(info));
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    // Same name, other content of another length: turned down.
    WriteWav(folder, "take1.wav", WavBuilder().Pcm16(2, 44100, NoiseSamples(1001, 2, 2)));
    EXPECT_FALSE(Load(stereo, mono));
    // Same format and size, written after the cache (normalised in place):
    // its time tells the change.
    WriteWav(folder, "take1.wav", WavBuilder().Pcm16(2, 44100, NoiseSamples(1000, 2, 3)));
    ShiftLastWriteTime(wav, 60);
    EXPECT_FALSE(Load(stereo, mono));
    // A cache written after the file (copied beside it) is taken.
    ShiftLastWriteTime(wav, -120);
    EXPECT_TRUE(Load(stereo, mono));
}

TEST_F(DrawCacheFile, AFileWithAnEighteenByteFormatChunkNeverMatches)
{
    wav = WriteWav(folder, "take1.wav",
                   WavBuilder().Pcm16(2, 44100, NoiseSamples(1000, 2, 1)).FmtExtraBytes(0));
    info = InfoOf(wav);
    ASSERT_TRUE(Save(info));
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    EXPECT_FALSE(Load(stereo, mono));
}

TEST_F(DrawCacheFile, ATruncatedCacheIsTurnedDown)
{
    ASSERT_TRUE(Save(info));
    SetFileLength(DrawCachePath(wav), 48 + 4 + 499 * 4);
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    EXPECT_FALSE(Load(stereo, mono));
    EXPECT_EQ(stereo.Count(), 0);
}

TEST_F(DrawCacheFile, AFailedWriteReportsFailureAndLeavesNoFile)
{
    // The folder is missing.
    TWavInfo elsewhere = info;
    elsewhere.Path = folder.File("missing\\take1.wav");
    EXPECT_FALSE(Save(elsewhere));
    EXPECT_FALSE(FileExists(folder.File("missing\\take1.dwd")));
    // The cache's name is taken by a folder: the file cannot be created, and
    // what stands there stays.
    ASSERT_TRUE(CreateDir(folder.File("take1.dwd")));
    EXPECT_FALSE(Save(info));
    EXPECT_TRUE(DirectoryExists(folder.File("take1.dwd")));
}
