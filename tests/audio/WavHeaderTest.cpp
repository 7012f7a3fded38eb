// The WAV header parse: in memory through a byte source (every case of the
// table), and on disk through GetWavInfo (finding, naming, opening and
// dating the file).
#include "audio/DirectWavEngine.h"
#include "classlib/ByteSource.h"
#include "classlib/FileByteSource.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

using namespace testing_support;

namespace {

TWavInfo ParseBytes(const Bytes& bytes)
{
    TMemoryByteSource source(bytes.data(), bytes.size());
    TWavInfo info;
    ReadWavHeader(source, info);
    return info;
}

void PatchU32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

WavBuilder Stereo16(int frames)
{
    return WavBuilder().Pcm16(2, 44100, FrameIndexSamples(frames, 2));
}

struct HeaderCase
{
    const char* Name;
    std::function<Bytes()> Make;
    bool Playable;
    std::uint32_t SampleStart; // checked when playable
};

std::vector<HeaderCase> HeaderCases()
{
    return {
        {"canonical", [] { return Stereo16(100).Bytes(); }, true, 44},
        {"18-byte format chunk", [] { return Stereo16(100).FmtExtraBytes(0).Bytes(); }, true, 46},
        {"chunk before fmt", [] { return Stereo16(100).ChunkBeforeFmt("JUNK", 28).Bytes(); }, true,
         12 + 36 + 24 + 8},
        {"list chunk after fmt", [] { return Stereo16(100).ChunkAfterFmt("LIST", 26).Bytes(); },
         true, 36 + 34 + 8},
        {"odd chunk size, no pad byte",
         [] { return Stereo16(100).ChunkAfterFmt("odd ", 3).Bytes(); }, true, 36 + 11 + 8},
        {"odd list chunk with its pad byte",
         [] { return Stereo16(100).ChunkAfterFmt("LIST", 27).PadOddChunks().Bytes(); }, true,
         36 + 36 + 8},
        {"two odd chunks with their pad bytes",
         [] {
             return Stereo16(100)
                 .ChunkAfterFmt("LIST", 27)
                 .ChunkAfterFmt("id3 ", 5)
                 .PadOddChunks()
                 .Bytes();
         },
         true, 36 + 36 + 14 + 8},
        {"odd chunk before fmt with its pad byte",
         [] { return Stereo16(100).ChunkBeforeFmt("JUNK", 27).PadOddChunks().Bytes(); }, true,
         12 + 36 + 24 + 8},
        {"padded odd chunk and no data chunk",
         [] {
             return Stereo16(100).ChunkAfterFmt("LIST", 27).PadOddChunks().DataId("dat ").Bytes();
         },
         false, 0},
        {"16-bit extensible format",
         [] { return Stereo16(100).FormatTag(0xFFFE).FmtExtraBytes(22).Bytes(); }, false, 0},
        {"fmt found at the last searched offset",
         [] { return Stereo16(100).ChunkBeforeFmt("JUNK", 980).Bytes(); }, true, 1000 + 24 + 8},
        {"fmt one byte beyond the search",
         [] { return Stereo16(100).ChunkBeforeFmt("JUNK", 981).Bytes(); }, false, 0},
        {"data as the 11th chunk after fmt",
         [] {
             WavBuilder w = Stereo16(100);
             for (int i = 0; i < 10; ++i)
                 w.ChunkAfterFmt("pad ", 2);
             return w.Bytes();
         },
         true, 36 + 10 * 10 + 8},
        {"data as the 12th chunk after fmt",
         [] {
             WavBuilder w = Stereo16(100);
             for (int i = 0; i < 11; ++i)
                 w.ChunkAfterFmt("pad ", 2);
             return w.Bytes();
         },
         false, 0},
        {"8-bit mono", [] { return WavBuilder().Pcm(1, 8000, 8, Bytes(100, 128)).Bytes(); }, true,
         44},
        {"24-bit", [] { return WavBuilder().Pcm(2, 44100, 24, Bytes(600, 0)).Bytes(); }, false, 0},
        {"3 channels", [] { return WavBuilder().Pcm(3, 44100, 16, Bytes(600, 0)).Bytes(); }, false,
         0},
        {"compressed", [] { return Stereo16(100).FormatTag(3).Bytes(); }, false, 0},
        {"zero rate", [] { return Stereo16(100).Rate(0).BytesPerSecond(400).Bytes(); }, false, 0},
        {"zero byte rate", [] { return Stereo16(100).BytesPerSecond(0).Bytes(); }, false, 0},
        {"empty data chunk", [] { return Stereo16(0).Bytes(); }, false, 0},
        {"not RIFF", [] { return Stereo16(100).RiffId("RIFX").Bytes(); }, false, 0},
        {"not WAVE", [] { return Stereo16(100).WaveId("AVI ").Bytes(); }, false, 0},
        {"data beyond the announced RIFF size",
         [] {
             return Stereo16(100).Trailing(4).DataSizeField(404).RiffSizeField(36 + 400).Bytes();
         },
         false, 0},
        {"data up to the announced RIFF size, beyond the file",
         [] { return Stereo16(100).DataSizeField(404).RiffSizeField(36 + 404).Bytes(); }, true, 44},
        {"block size 0", [] { return Stereo16(100).BlockAlign(0).Bytes(); }, false, 0},
        {"block size unlike channels x bits", [] { return Stereo16(100).BlockAlign(2).Bytes(); },
         false, 0},
        {"data size wrapping the signed size check",
         [] { return Stereo16(100).DataSizeField(0x7FFFFFF0).Bytes(); }, false, 0},
        {"data size of 4 GiB - 1",
         [] { return Stereo16(100).DataSizeField(0xFFFFFFFF).RiffSizeField(0xFFFFFFFF).Bytes(); },
         false, 0},
        {"chunk size pointing past the end",
         [] {
             Bytes b = Stereo16(100).ChunkAfterFmt("JUNK", 8).Bytes();
             PatchU32(b, 40, 0x7FFFFFF0);
             return b;
         },
         false, 0},
        {"chunk size that wraps 32 bits back to an earlier chunk",
         [] {
             Bytes b = Stereo16(100).ChunkAfterFmt("JUNK", 8).Bytes();
             PatchU32(b, 40, 0xFFFFFFE0);
             return b;
         },
         false, 0},
        {"shorter than the 40-byte head", [] { return Truncated(Stereo16(100).Bytes(), 39); },
         false, 0},
        {"cut inside the data size", [] { return Truncated(Stereo16(100).Bytes(), 42); }, false, 0},
        {"cut inside the format search",
         [] { return Truncated(Stereo16(100).ChunkBeforeFmt("JUNK", 200).Bytes(), 150); }, false,
         0},
        {"cut inside the chunk walk",
         [] { return Truncated(Stereo16(100).ChunkAfterFmt("LIST", 40).Bytes(), 60); }, false, 0},
        {"empty file", [] { return Bytes(); }, false, 0},
    };
}

} // namespace

TEST(WavHeader, TableOfHeaders)
{
    for (const HeaderCase& c : HeaderCases()) {
        SCOPED_TRACE(c.Name);
        TWavInfo info = ParseBytes(c.Make());
        EXPECT_EQ(info.IsPlayable, c.Playable);
        if (c.Playable) {
            EXPECT_EQ(info.SampleStart, c.SampleStart);
        }
    }
}

TEST(WavHeader, PlayableHeaderGivesTheFileFacts)
{
    Bytes bytes = WavBuilder().Pcm16(2, 22050, FrameIndexSamples(1001, 2)).Trailing(6).Bytes();
    TWavInfo info = ParseBytes(bytes);
    ASSERT_TRUE(info.IsPlayable);
    EXPECT_EQ(info.Channel, 2);
    EXPECT_EQ(info.Rate, 22050u);
    EXPECT_EQ(info.Bit, 16);
    EXPECT_EQ(info.BlockSize, 4);
    EXPECT_EQ(info.BytesPerSecond, 88200u);
    EXPECT_EQ(info.DataSize, 4004u);
    EXPECT_EQ(info.SampleSize, 1001);
    EXPECT_DOUBLE_EQ(info.Duration, 4004.0 / 88200.0);
    EXPECT_EQ(info.Size, static_cast<std::int32_t>(bytes.size()));
}

TEST(WavHeader, RecordStartsWithTheFileHead)
{
    // Callers compare and write the record's first 44 bytes as a file head.
    Bytes bytes = Stereo16(10).Bytes();
    TWavInfo info = ParseBytes(bytes);
    EXPECT_EQ(std::memcmp(static_cast<const TWavHead*>(&info), bytes.data(), 44), 0);
}

TEST(WavHeader, FormatFoundBySearchIsReadFromItsTrueOffset)
{
    TWavInfo info = ParseBytes(WavBuilder()
                                   .Pcm16(1, 8000, FrameIndexSamples(50, 1))
                                   .ChunkBeforeFmt("JUNK", 28, 0xEE)
                                   .FmtExtraBytes(0)
                                   .Bytes());
    ASSERT_TRUE(info.IsPlayable);
    EXPECT_EQ(info.FmtSize, 18u);
    EXPECT_EQ(info.Channel, 1);
    EXPECT_EQ(info.Rate, 8000u);
    EXPECT_EQ(info.SampleStart, 12u + 36 + 26 + 8);
    EXPECT_EQ(info.SampleSize, 50);
}

TEST(WavHeader, ResetRecordHasBlankIdsAndNoFacts)
{
    TWavInfo info;
    info.Channel = 2;
    info.Path = "x.wav";
    info.IsPlayable = true;
    ResetWavInfo(info);
    EXPECT_EQ(std::string(info.RiffId, 4), "    ");
    EXPECT_EQ(std::string(info.DataId, 4), "    ");
    EXPECT_EQ(info.Channel, 0);
    EXPECT_EQ(info.SampleSize, 0);
    EXPECT_TRUE(info.Path.empty());
    EXPECT_FALSE(info.IsPlayable);
}

TEST(WavHeader, FailedCheckKeepsTheEarlierFileFacts)
{
    TWavInfo info;
    info.Size = 111;
    info.Date = 222;
    info.SampleSize = 333;
    info.Duration = 4.5;
    info.SampleStart = 555;
    Bytes bytes = WavBuilder().Pcm(3, 44100, 16, Bytes(600, 0)).Bytes();
    TMemoryByteSource source(bytes.data(), bytes.size());
    EXPECT_FALSE(ReadWavHeader(source, info));
    EXPECT_FALSE(info.IsPlayable);
    EXPECT_EQ(info.Channel, 3); // the head holds what was read
    EXPECT_EQ(info.Size, 111);
    EXPECT_EQ(info.Date, 222);
    EXPECT_EQ(info.SampleSize, 333);
    EXPECT_EQ(info.Duration, 4.5);
    EXPECT_EQ(info.SampleStart, 555u);
}

TEST(WavHeader, ExtensionIsComparedWithoutCase)
{
    EXPECT_TRUE(HasWavExtension("C:\\a\\FILE.WAV"));
    EXPECT_TRUE(HasWavExtension("x.Wav"));
    EXPECT_FALSE(HasWavExtension("file.wave"));
    EXPECT_FALSE(HasWavExtension("file.wav.txt"));
    EXPECT_FALSE(HasWavExtension("wav"));
}

class WavFileInfo : public testing::Test
{
protected:
    TWavInfo Info(const std::string& path)
    {
        TWavInfo info;
        info.Path = path;
        GetWavInfo(info);
        return info;
    }
    TempFolder folder;
};

TEST_F(WavFileInfo, ReadsAFileOnDisk)
{
    std::string path = WriteWav(folder, "tone.wav", Stereo16(441));
    TWavInfo info = Info(path);
    ASSERT_TRUE(info.IsPlayable);
    EXPECT_EQ(info.SampleSize, 441);
    EXPECT_EQ(info.Size, 44 + 441 * 4);
    EXPECT_EQ(info.Path, path);

    TFileByteSource file(path);
    EXPECT_DOUBLE_EQ(info.Date, file.LastWriteTime());
    EXPECT_GT(info.Date, 40000.0); // after 2009
}

TEST_F(WavFileInfo, NamesOtherThanDotWavAreNotRead)
{
    EXPECT_TRUE(Info(WriteWav(folder, "UPPER.WAV", Stereo16(10))).IsPlayable);
    EXPECT_FALSE(Info(WriteWav(folder, "file.wave", Stereo16(10))).IsPlayable);
    EXPECT_FALSE(Info(folder.File("missing.wav")).IsPlayable);
    CreateDirectoryA(folder.File("folder.wav").c_str(), nullptr);
    EXPECT_FALSE(Info(folder.File("folder.wav")).IsPlayable);
}

TEST_F(WavFileInfo, ShortOrBrokenFileIsNotPlayableAndRaisesNothing)
{
    EXPECT_FALSE(
        Info(WriteWav(folder, "short.wav", Truncated(Stereo16(10).Bytes(), 20))).IsPlayable);
    EXPECT_FALSE(Info(WriteWav(folder, "empty.wav", Bytes())).IsPlayable);
}

TEST_F(WavFileInfo, FileBeingWrittenCanBeRead)
{
    std::string path = WriteWav(folder, "busy.wav", Stereo16(10));
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Info(path).IsPlayable);
    CloseHandle(writer);
}
