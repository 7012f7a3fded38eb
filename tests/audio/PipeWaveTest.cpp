#include "PipeTestInput.h"

#include "audio/DirectWavEngine.h"
#include "audio/PipeWave.h"
#include "classlib/Streams.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace pipe_test;
using testing_support::ReadWholeFile;
using testing_support::TempFolder;
using testing_support::WriteWholeFile;

namespace {

AnsiString Le16(std::uint32_t v)
{
    return AnsiString{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

AnsiString Le32(std::uint32_t v)
{
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}

AnsiString AsString(const std::vector<std::uint8_t>& bytes)
{
    return AnsiString(bytes.begin(), bytes.end());
}

AnsiString PcmHeader(std::uint32_t dataSize, int channels, std::uint32_t rate, int bits)
{
    std::uint32_t align = static_cast<std::uint32_t>(channels * bits / 8);
    return "RIFF" + Le32(dataSize + 36) + "WAVEfmt " + Le32(16) + Le16(1) + Le16(channels) +
           Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits) + "data" + Le32(dataSize);
}

// A stream that takes bytes only up to a fixed size, as a full disk does.
class TLimitedStream : public TMemoryStream
{
public:
    explicit TLimitedStream(std::int64_t limit) : FLimit(limit) {}
    std::int32_t Write(const void* Buffer, std::int32_t Count) override
    {
        std::int64_t room = std::max<std::int64_t>(FLimit - Position(), 0);
        return TMemoryStream::Write(Buffer,
                                    static_cast<std::int32_t>(std::min<std::int64_t>(Count, room)));
    }

private:
    std::int64_t FLimit;
};

// IMA ADPCM decoding of whole blocks, as any player does it.
class ImaDecoder
{
public:
    static std::vector<std::int16_t> Decode(const AnsiString& data, int blockSize, int channels)
    {
        std::vector<std::int16_t> out;
        for (size_t at = 0; at + blockSize <= data.size(); at += blockSize) {
            auto byte = [&](int i) { return static_cast<std::uint8_t>(data[at + i]); };
            int predictor[2], index[2];
            for (int c = 0; c < channels; ++c) {
                predictor[c] = static_cast<std::int16_t>(byte(4 * c) | (byte(4 * c + 1) << 8));
                index[c] = byte(4 * c + 2);
                out.push_back(static_cast<std::int16_t>(predictor[c]));
            }
            if (channels == 1) {
                for (int i = 0; i < (blockSize - 4) * 2; ++i)
                    out.push_back(Step(byte(4 + i / 2) >> ((i & 1) * 4), predictor[0], index[0]));
                continue;
            }
            for (int i = 0; i < blockSize - 8; ++i) {
                int b = (i & ~7) + ((i / 2) & 3);
                for (int c = 0; c < 2; ++c)
                    out.push_back(
                        Step(byte(8 + 4 * c + b) >> ((i & 1) * 4), predictor[c], index[c]));
            }
        }
        return out;
    }

private:
    static std::int16_t Step(int nibble, int& predictor, int& index)
    {
        nibble &= 15;
        int step = ImaStepTable[index];
        int diff = step >> 3;
        if (nibble & 4)
            diff += step;
        if (nibble & 2)
            diff += step >> 1;
        if (nibble & 1)
            diff += step >> 2;
        predictor = std::clamp(predictor + ((nibble & 8) ? -diff : diff), -32768, 32767);
        index = std::clamp(index + ImaIndexTable[nibble], 0, 88);
        return static_cast<std::int16_t>(predictor);
    }
};

class PipeWaveTest : public testing::Test
{
protected:
    TComponent owner{nullptr};
    TempFolder folder;
    std::vector<AnsiString> errors;
    std::vector<DWORD> errorThreads;
    int done = 0;

    TMemoryPipeInput* MakeInput(std::vector<std::uint8_t> data, int bits, int channels, int rate)
    {
        return new TMemoryPipeInput(&owner, std::move(data), bits, channels, rate);
    }

    TWaveOut* MakeWriter(TPipeInput* input, const AnsiString& name)
    {
        auto* writer = new TWaveOut(&owner);
        writer->SetInput(input);
        writer->SetFileName(folder / name);
        writer->OnDone = [this](TComponent*) { ++done; };
        writer->OnThreadException = [this](TComponent*, std::exception_ptr e) {
            errors.push_back(ExceptionMessage(e));
            errorThreads.push_back(GetCurrentThreadId());
        };
        return writer;
    }

    void RunToEnd(TWaveOut* writer)
    {
        writer->Run();
        ASSERT_TRUE(writer->WaitForIdle(10000));
    }

    // True when nobody holds the file open.
    bool FileIsFree(const AnsiString& name)
    {
        HANDLE h = CreateFileA((folder / name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(h);
        return true;
    }

    static void ExpectSizesMatchFile(const AnsiString& file, size_t headerBytes)
    {
        EXPECT_EQ(U32At(file, 4), file.size() - 8);
        EXPECT_EQ(U32At(file, headerBytes - 4), file.size() - headerBytes);
    }
};

TEST_F(PipeWaveTest, PcmHeadersAreExactForEachFormat)
{
    struct Format
    {
        int channels, bits, rate, bytes;
    };
    for (Format f : {Format{1, 8, 8000, 1000}, Format{2, 8, 11025, 1002},
                     Format{1, 16, 22050, 3000}, Format{2, 16, 44100, 40000}}) {
        std::vector<std::uint8_t> data = CountingBytes(f.bytes);
        auto* input = MakeInput(data, f.bits, f.channels, f.rate);
        input->ChunkLimit = 700;
        auto* writer = MakeWriter(input, "pcm.wav");
        RunToEnd(writer);
        AnsiString file = folder.ReadFile("pcm.wav");
        EXPECT_EQ(file, PcmHeader(static_cast<std::uint32_t>(f.bytes), f.channels, f.rate, f.bits) +
                            AsString(data))
            << f.channels << " channels, " << f.bits << " bits";
        delete writer;
        delete input;
    }
    // 16-bit stereo at 44100 Hz: block align 4, 176400 bytes per second.
    AnsiString file = folder.ReadFile("pcm.wav");
    EXPECT_EQ(U16At(file, 32), 4);
    EXPECT_EQ(U32At(file, 28), 176400u);
    EXPECT_EQ(done, 4);
    EXPECT_TRUE(errors.empty());
}

TEST_F(PipeWaveTest, OpenEndedInputAnnouncesMinusOneThenGetsTheRealSizes)
{
    std::vector<std::uint8_t> data = CountingBytes(50000);
    auto* input = MakeInput(data, 16, 2, 44100);
    input->AnnouncedSize = -1;
    input->PauseAtRead = 1;
    auto* writer = MakeWriter(input, "open.wav");
    writer->Run();
    ASSERT_TRUE(input->WaitPaused());
    AnsiString during = folder.ReadFile("open.wav");
    EXPECT_EQ(U32At(during, 4), 35u);
    EXPECT_EQ(U32At(during, 40), 0xFFFFFFFFu);
    input->Resume();
    ASSERT_TRUE(writer->WaitForIdle(10000));
    AnsiString file = folder.ReadFile("open.wav");
    EXPECT_EQ(file, PcmHeader(50000, 2, 44100, 16) + AsString(data));
    EXPECT_EQ(done, 1);
}

TEST_F(PipeWaveTest, ShortAndCancelledRunsLeaveSizesMatchingTheBytesWritten)
{
    // The input announces more than it has.
    auto* shortInput = MakeInput(CountingBytes(6000), 16, 1, 22050);
    shortInput->AnnouncedSize = 10000;
    auto* writer = MakeWriter(shortInput, "short.wav");
    RunToEnd(writer);
    AnsiString file = folder.ReadFile("short.wav");
    EXPECT_EQ(file, PcmHeader(6000, 1, 22050, 16) + AsString(CountingBytes(6000)));

    // Cancelled after the chunk in progress.
    auto* longInput = MakeInput(CountingBytes(200000), 16, 2, 44100);
    longInput->ChunkLimit = 1000;
    longInput->PauseAtRead = 5;
    writer->SetInput(longInput);
    writer->SetFileName(folder / "cancel.wav");
    writer->Run();
    ASSERT_TRUE(longInput->WaitPaused());
    writer->Stop();
    longInput->Resume();
    ASSERT_TRUE(writer->WaitForIdle(10000));
    file = folder.ReadFile("cancel.wav");
    EXPECT_EQ(file, PcmHeader(6000, 2, 44100, 16) + AsString(CountingBytes(6000)));
    EXPECT_EQ(done, 2);
    EXPECT_FALSE(longInput->Busy());
}

TEST_F(PipeWaveTest, AppendingToAMatchingFileExtendsItsData)
{
    std::vector<std::uint8_t> first = CountingBytes(2000);
    std::vector<std::uint8_t> second(1000, 0x5A);
    auto* input = MakeInput(first, 16, 2, 44100);
    auto* writer = MakeWriter(input, "append.wav");
    writer->SetFileMode(TFileOutputMode::foAppend); // a missing file: written new
    RunToEnd(writer);
    auto* more = MakeInput(second, 16, 2, 44100);
    writer->SetInput(more);
    RunToEnd(writer);
    EXPECT_EQ(folder.ReadFile("append.wav"),
              PcmHeader(3000, 2, 44100, 16) + AsString(first) + AsString(second));

    // Ids in any letter case, and a chunk between "fmt " and "data".
    AnsiString fmt = Le32(16) + Le16(1) + Le16(1) + Le32(8000) + Le32(8000) + Le16(1) + Le16(8);
    AnsiString head = "riff" + Le32(0) + "wave" + "FMT " + fmt + "LIST" + Le32(4) + "abcd" +
                      "Data" + Le32(3) + "xyz";
    folder.WriteFile("odd.wav", head);
    auto* mono = MakeInput(CountingBytes(5), 8, 1, 8000);
    writer->SetInput(mono);
    writer->SetFileName(folder / "odd.wav");
    RunToEnd(writer);
    AnsiString file = folder.ReadFile("odd.wav");
    EXPECT_EQ(file.substr(8, head.size() - 15), head.substr(8, head.size() - 15));
    EXPECT_EQ(U32At(file, head.size() - 7), 8u); // data size: 3 old + 5 new
    EXPECT_EQ(U32At(file, 4), file.size() - 8);
    EXPECT_EQ(file.substr(head.size()), AsString(CountingBytes(5)));
    EXPECT_EQ(done, 3);
    EXPECT_TRUE(errors.empty());
}

TEST_F(PipeWaveTest, AppendingRefusesOtherFormatsAndLeavesTheFileUntouched)
{
    AnsiString original = PcmHeader(4, 2, 44100, 16) + "abcd";
    folder.WriteFile("target.wav", original);
    auto* input = MakeInput(CountingBytes(400), 16, 2, 22050);
    auto* writer = MakeWriter(input, "target.wav");
    writer->SetFileMode(TFileOutputMode::foAppend);
    RunToEnd(writer);
    folder.WriteFile("text.wav", AnsiString("just some text, no sound in here"));
    writer->SetFileName(folder / "text.wav");
    RunToEnd(writer);
    EXPECT_EQ(errors, (std::vector<AnsiString>{"Cannot append data in different audio format.",
                                               "Cannot append data to this .wav file."}));
    EXPECT_EQ(done, 0);
    EXPECT_EQ(folder.ReadFile("target.wav"), original);
    EXPECT_TRUE(FileIsFree("target.wav"));
    EXPECT_TRUE(FileIsFree("text.wav"));
    EXPECT_EQ(input->Opens, 2);
    EXPECT_EQ(input->Closes, 2);
    EXPECT_EQ(writer->GetStatus(), 2);
}

TEST_F(PipeWaveTest, AdpcmBlocksDecodeWithinTheCodecError)
{
    EXPECT_EQ(ImaStepTable[0], 7);
    EXPECT_EQ(ImaStepTable[44], 494);
    EXPECT_EQ(ImaStepTable[88], 32767);
    struct Case
    {
        int channels, frames, framesPerBlock, blocks;
    };
    for (Case c : {Case{1, 5000, 1017, 5}, Case{2, 3000, 505, 6}}) {
        std::vector<std::uint8_t> data = SineBytes(c.frames, c.channels, 44100, 8000);
        auto* input = MakeInput(data, 16, c.channels, 44100);
        input->ChunkLimit = 999;
        auto* writer = MakeWriter(input, "adpcm.wav");
        writer->SetWavType(TWavType::wtDVIADPCM);
        RunToEnd(writer);
        AnsiString file = folder.ReadFile("adpcm.wav");
        ASSERT_EQ(file.size(), 60u + 512u * c.blocks);
        EXPECT_EQ(file.substr(0, 16), "RIFF" + Le32(file.size() - 8) + "WAVEfmt ");
        EXPECT_EQ(file.substr(16, 24), Le32(20) + Le16(17) + Le16(c.channels) + Le32(44100) +
                                           Le32(44100 / c.framesPerBlock * 512) + Le16(512) +
                                           Le16(4) + Le16(2) + Le16(c.framesPerBlock));
        EXPECT_EQ(file.substr(40, 20),
                  "fact" + Le32(4) + Le32(c.frames) + "data" + Le32(512 * c.blocks));
        std::vector<std::int16_t> decoded = ImaDecoder::Decode(file.substr(60), 512, c.channels);
        ASSERT_EQ(decoded.size(), static_cast<size_t>(c.framesPerBlock * c.blocks * c.channels));
        double squares = 0;
        int worst = 0;
        const int skip = 16 * c.channels; // the step adapts from its smallest size first
        for (int i = skip; i < c.frames * c.channels; ++i) {
            int original = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
            int error = decoded[i] - original;
            squares += double(error) * error;
            worst = std::max(worst, std::abs(error));
        }
        double rms = std::sqrt(squares / (c.frames * c.channels - skip));
        EXPECT_LT(rms, 80.0) << c.channels << " channels"; // 1% of the amplitude
        EXPECT_LT(worst, 400) << c.channels << " channels";
        // The rest of the last block is silence, reached after a few samples.
        for (size_t i = decoded.size() - 10; i < decoded.size(); ++i)
            ASSERT_LT(std::abs(decoded[i]), 100) << "padding at " << i;
        delete writer;
        delete input;
    }
    EXPECT_EQ(done, 2);
}

TEST_F(PipeWaveTest, AdpcmSizesAnnounceEveryBlockWritten)
{
    // A reader trusts the data size: it decodes that many bytes in whole
    // blocks, so it must hold the last, partly silent block as well.
    struct Case
    {
        int channels, frames, blocks;
    };
    const Case cases[] = {
        {2, 44100, 88},          // 87.33 blocks
        {1, 44100, 44},          // 43.36 blocks
        {2, 505 * 10, 10},       // exact
        {1, 1017 * 3, 3},        // exact
        {2, 505 * 10 + 300, 11}, // 10.59 blocks
        {1, 1017 * 3 + 100, 4},  // 3.10 blocks
    };
    for (const Case& c : cases) {
        auto* input =
            MakeInput(SineBytes(c.frames, c.channels, 44100, 8000), 16, c.channels, 44100);
        auto* writer = MakeWriter(input, "sizes.wav");
        writer->SetWavType(TWavType::wtDVIADPCM);
        RunToEnd(writer);
        const AnsiString file = folder.ReadFile("sizes.wav");
        const std::uint32_t dataSize = U32At(file, 56);
        const std::uint32_t blockAlign = U32At(file, 32) & 0xFFFF;
        const int framesPerBlock = (512 - 4 * c.channels) * 2 / c.channels + 1;
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.frames << " frames");
        EXPECT_EQ(file.size(), 60u + 512u * c.blocks);
        EXPECT_EQ(U32At(file, 4), file.size() - 8);
        EXPECT_EQ(dataSize, file.size() - 60);
        ASSERT_EQ(blockAlign, 512u);
        EXPECT_EQ(dataSize % blockAlign, 0u);
        EXPECT_EQ(U32At(file, 48), static_cast<std::uint32_t>(c.frames));
        // The frames a decoder gets from the announced data cover the input,
        // with less than one block of padding.
        const size_t decodedFrames =
            ImaDecoder::Decode(file.substr(60, dataSize), blockAlign, c.channels).size() /
            c.channels;
        EXPECT_EQ(decodedFrames, dataSize / blockAlign * framesPerBlock);
        EXPECT_GE(decodedFrames, static_cast<size_t>(c.frames));
        EXPECT_LT(decodedFrames, static_cast<size_t>(c.frames + framesPerBlock));
        delete writer;
        delete input;
    }
    EXPECT_EQ(errors, std::vector<AnsiString>{});
}

TEST_F(PipeWaveTest, AdpcmAppendCountsWholeBlocks)
{
    // Exactly two blocks of mono input: no silent block after them.
    auto* input = MakeInput(SineBytes(2 * 1017, 1, 22050, 5000), 16, 1, 22050);
    auto* writer = MakeWriter(input, "blocks.wav");
    writer->SetWavType(TWavType::wtDVIADPCM);
    writer->SetFileMode(TFileOutputMode::foAppend);
    RunToEnd(writer);
    AnsiString file = folder.ReadFile("blocks.wav");
    ASSERT_EQ(file.size(), 60u + 2 * 512);
    EXPECT_EQ(U32At(file, 48), 2034u);
    ExpectSizesMatchFile(file, 60);

    auto* more = MakeInput(SineBytes(1017, 1, 22050, 5000), 16, 1, 22050);
    writer->SetInput(more);
    writer->SetWavType(TWavType::wtPCM); // appending takes the file's format
    RunToEnd(writer);
    file = folder.ReadFile("blocks.wav");
    ASSERT_EQ(file.size(), 60u + 3 * 512);
    EXPECT_EQ(U32At(file, 48), 3u * 1017);
    ExpectSizesMatchFile(file, 60);
    EXPECT_EQ(writer->WavType(), TWavType::wtDVIADPCM);

    // Blocks of another size would not fit the file's.
    writer->SetBlockSize(1024);
    RunToEnd(writer);
    EXPECT_EQ(errors, (std::vector<AnsiString>{"Cannot append data in different audio format."}));
    EXPECT_EQ(folder.ReadFile("blocks.wav"), file);
    EXPECT_EQ(done, 2);
}

TEST_F(PipeWaveTest, AdpcmRefusesEightBitInputAndOddBlockSizes)
{
    auto* input = MakeInput(CountingBytes(100), 8, 1, 8000);
    auto* writer = MakeWriter(input, "eight.wav");
    writer->SetWavType(TWavType::wtMSADPCM);
    EXPECT_EQ(writer->WavType(), TWavType::wtPCM);
    writer->SetWavType(TWavType::wtDVIADPCM);
    writer->SetBlockSize(510);
    writer->SetBlockSize(0);
    EXPECT_EQ(writer->BlockSize(), 512);
    writer->SetBlockSize(1024);
    EXPECT_EQ(writer->BlockSize(), 1024);
    RunToEnd(writer);
    EXPECT_EQ(errors, (std::vector<AnsiString>{"Cannot encode 8 bit sound into ADPCM."}));
    EXPECT_TRUE(FileIsFree("eight.wav"));
    EXPECT_EQ(input->Closes, 1);
}

TEST_F(PipeWaveTest, StereoAdpcmNeedsBlocksOfWholeEightByteGroups)
{
    // A stereo block's codes come in groups of eight bytes after its header:
    // at 20 bytes the last right-channel codes would lie past the block.
    std::vector<std::uint8_t> data = SineBytes(600, 2, 22050, 8000);
    auto* input = MakeInput(data, 16, 2, 22050);
    auto* writer = MakeWriter(input, "stereo.wav");
    writer->SetWavType(TWavType::wtDVIADPCM);
    writer->SetBlockSize(20);
    ASSERT_EQ(writer->BlockSize(), 20);
    RunToEnd(writer);
    EXPECT_EQ(errors, (std::vector<AnsiString>{
                          "Cannot encode stereo sound into ADPCM blocks of this size."}));
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(FileIsFree("stereo.wav"));
    EXPECT_EQ(input->Closes, 1);

    writer->SetBlockSize(24); // two groups
    RunToEnd(writer);
    EXPECT_EQ(done, 1);
    AnsiString file = folder.ReadFile("stereo.wav");
    const int framesPerBlock = (24 - 8) + 1;
    const size_t blocks = (600 + framesPerBlock - 1) / framesPerBlock;
    ASSERT_EQ(file.size(), 60u + 24u * blocks);
    std::vector<std::int16_t> decoded = ImaDecoder::Decode(file.substr(60), 24, 2);
    // Each block starts again from its first frame: the right channel of
    // the last group follows the signal as closely as the left.
    double worst = 0;
    for (int i = 2 * 32; i < 2 * 600; ++i) {
        int original = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        worst = std::max(worst, std::fabs(double(decoded[i]) - original));
    }
    EXPECT_LT(worst, 2000);
}

TEST_F(PipeWaveTest, FailedStartReleasesTheFileAndARetryWorks)
{
    auto* input = MakeInput(CountingBytes(3000), 16, 2, 44100);
    input->OpenFailure = "The drive is not ready";
    auto* writer = MakeWriter(input, "");
    writer->SetFileName("");
    RunToEnd(writer);
    writer->SetFileName(folder / "retry.wav");
    RunToEnd(writer); // the input refuses to open
    EXPECT_EQ(errors,
              (std::vector<AnsiString>{"File name is not assigned.", "The drive is not ready"}));
    EXPECT_EQ(errorThreads, (std::vector<DWORD>(2, GetCurrentThreadId())));
    EXPECT_EQ(done, 0);
    EXPECT_EQ(writer->GetStatus(), 2);
    EXPECT_TRUE(FileIsFree("retry.wav"));
    input->OpenFailure.clear();
    RunToEnd(writer);
    EXPECT_EQ(folder.ReadFile("retry.wav"),
              PcmHeader(3000, 2, 44100, 16) + AsString(CountingBytes(3000)));
    EXPECT_EQ(done, 1);
}

TEST_F(PipeWaveTest, ShortWriteEndsTheRunWithAnErrorAndMatchingSizes)
{
    auto* input = MakeInput(CountingBytes(20000), 16, 2, 44100);
    input->ChunkLimit = 1000;
    auto* writer = MakeWriter(input, "unused.wav");
    TLimitedStream disk(44 + 5500);
    writer->SetStream(&disk);
    RunToEnd(writer);
    EXPECT_EQ(errors, (std::vector<AnsiString>{"Cannot write to the file."}));
    ASSERT_EQ(errorThreads.size(), 1u);
    EXPECT_NE(errorThreads[0], GetCurrentThreadId());
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(input->Busy());
    AnsiString bytes(static_cast<const char*>(disk.Memory()), static_cast<size_t>(disk.Size()));
    EXPECT_EQ(bytes, PcmHeader(5500, 2, 44100, 16) + AsString(CountingBytes(5500)));
    writer->SetStream(nullptr);
}

TEST_F(PipeWaveTest, WrittenFilesAreAcceptedByTheHeaderParser)
{
    std::vector<std::uint8_t> data = SineBytes(30000, 2, 44100, 12000);
    auto* input = MakeInput(data, 16, 2, 44100);
    input->ChunkLimit = 5000;
    auto* writer = MakeWriter(input, "whole.wav");
    RunToEnd(writer);
    writer->SetFileName(folder / "cut.wav"); // stopped part way
    input->PauseAtRead = input->Reads + 3;
    writer->Run();
    ASSERT_TRUE(input->WaitPaused());
    writer->Stop();
    input->Resume();
    ASSERT_TRUE(writer->WaitForIdle(10000));
    for (auto [name, bytes] : {std::pair<AnsiString, int>{"whole.wav", 120000},
                               std::pair<AnsiString, int>{"cut.wav", 20000}}) {
        TWavInfo info;
        info.Path = folder / name;
        GetWavInfo(info);
        ASSERT_TRUE(info.IsPlayable) << name;
        EXPECT_EQ(info.Channel, 2);
        EXPECT_EQ(info.Bit, 16);
        EXPECT_EQ(info.Rate, 44100u);
        EXPECT_EQ(info.DataSize, static_cast<std::uint32_t>(bytes)) << name;
        EXPECT_EQ(info.SampleSize, bytes / 4);
        AnsiString file = folder.ReadFile(name);
        EXPECT_EQ(file.substr(info.SampleStart), AsString(data).substr(0, bytes)) << name;
    }
}

} // namespace
