#include "dialogs/PartialWav.h"

#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WavFile.h"

#include "classlib/FilePaths.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A PCM file whose header announces more data than the file holds.
Bytes ShortenedRecording(std::size_t dataBytes)
{
    return WavBuilder()
        .Pcm(2, 44100, 16, Bytes(dataBytes, 0x5A))
        .DataSizeField(10 * 176400)
        .RiffSizeField(10 * 176400 + 36)
        .Bytes();
}

} // namespace

TEST(PartialWav, SizesBecomeWhatTheFileHolds)
{
    TempFolder folder;
    for (std::size_t data : {std::size_t{0}, std::size_t{4}, std::size_t{176400 + 2}}) {
        const AnsiString path = WriteWav(folder, "cut.wav", ShortenedRecording(data));
        EXPECT_EQ(SettlePartialWav(path), TPartialWavResult::Patched) << data;
        const AnsiString bytes = ReadWholeFile(path);
        ASSERT_EQ(bytes.size(), 44 + data);
        EXPECT_EQ(LittleEndianU32(bytes, 4), 36 + data);
        EXPECT_EQ(LittleEndianU32(bytes, 40), data);
        EXPECT_EQ(bytes.substr(44), AnsiString(data, '\x5A')) << "the sound stays";
    }
}

TEST(PartialWav, AFileWithoutAWholeHeaderIsRemoved)
{
    TempFolder folder;
    for (std::size_t size : {std::size_t{0}, std::size_t{12}, std::size_t{43}}) {
        const AnsiString path = folder / "started.wav";
        folder.WriteFile("started.wav", AnsiString(size, 'R'));
        EXPECT_EQ(SettlePartialWav(path), TPartialWavResult::Removed) << size;
        EXPECT_FALSE(FileExists(path));
    }
    EXPECT_EQ(SettlePartialWav(folder / "none.wav"), TPartialWavResult::Missing);
}

TEST(PartialWav, OtherFilesAreLeftAlone)
{
    TempFolder folder;
    struct Case
    {
        const char* What;
        Bytes Content;
    };
    const Case cases[] = {
        {"text", Bytes(100, 'x')},
        {"a chunk between format and data",
         WavBuilder().Pcm(2, 44100, 16, Bytes(16, 1)).ChunkAfterFmt("LIST", 8).Bytes()},
        {"RIFX", WavBuilder().Pcm(2, 44100, 16, Bytes(16, 1)).RiffId("RIFX").Bytes()},
    };
    for (const Case& c : cases) {
        const AnsiString path = WriteWav(folder, "other.wav", c.Content);
        EXPECT_EQ(SettlePartialWav(path), TPartialWavResult::Failed) << c.What;
        EXPECT_EQ(ReadWholeFile(path), AnsiString(c.Content.begin(), c.Content.end())) << c.What;
    }
}

TEST(PartialWav, AFileOpenElsewhereIsNotTouched)
{
    TempFolder folder;
    const AnsiString path = WriteWav(folder, "busy.wav", ShortenedRecording(8));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SettlePartialWav(path), TPartialWavResult::Failed);
    CloseHandle(held);
    EXPECT_EQ(LittleEndianU32(ReadWholeFile(path), 40), 10u * 176400);
}
