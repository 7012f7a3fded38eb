// Test WAV data, made in memory: sample generators and a builder for the
// bytes of a WAV file, odd and broken ones included. Portable (no Windows):
// the fuzzing corpus is made with it too. WavFile.h writes the bytes into a
// temporary folder.
//
// Samples are interleaved signed 16-bit values (left, right for stereo).
// The frame-index pattern lets a test tell which frames reached a device:
// frame f has L = f & 0x7FFF and R = -L.
//
//   auto bytes = WavBuilder().Pcm16(2, 44100, FrameIndexSamples(1000, 2)).Bytes();
//   auto odd = WavBuilder().Pcm16(1, 8000, SilenceSamples(10, 1))
//                  .FmtExtraBytes(0)              // 18-byte format chunk
//                  .ChunkBeforeFmt("JUNK", 28)    // a chunk before "fmt "
//                  .DataSizeField(1u << 30)       // a lying data size
//                  .Bytes();
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

// Frames firstFrame .. firstFrame + frames - 1 of the frame-index pattern.
std::vector<std::int16_t> FrameIndexSamples(int frames, int channels, int firstFrame = 0);
// The frame number (modulo 32768) that a left sample of the pattern encodes.
inline int FrameOfSample(std::int16_t left)
{
    return left & 0x7FFF;
}
// The little-endian 32-bit value at offset of a file's bytes (a header field).
inline std::uint32_t LittleEndianU32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes.at(offset + i));
    return v;
}
// A sine tone of frequency hz at amplitude (0..32767), the same on every channel.
std::vector<std::int16_t> ToneSamples(int frames, int channels, int rate, double hz,
                                      double amplitude);
std::vector<std::int16_t> SilenceSamples(int frames, int channels);
// Every sample the same value (full scale for clipping tests).
std::vector<std::int16_t> ConstantSamples(int frames, int channels, std::int16_t value);
// Reproducible white noise in -amplitude..amplitude.
std::vector<std::int16_t> NoiseSamples(int frames, int channels, std::uint32_t start,
                                       int amplitude = 32767);
// Samples as little-endian bytes, and back.
Bytes SampleBytes(const std::vector<std::int16_t>& samples);
std::vector<std::int16_t> SamplesOf(const std::uint8_t* bytes, std::size_t length);

// Builds the bytes of a WAV file: "RIFF", "WAVE", chunks before the format
// chunk, the format chunk, chunks after it, the data chunk, and trailing
// bytes. By default every size field tells the truth and the format fields
// agree; each setter below lets one of them lie. Chunks get no pad byte after
// an odd size unless PadOddChunks is asked for (files are written both ways).
class WavBuilder
{
public:
    // PCM with consistent block size and byte rate; 16-bit samples as data.
    WavBuilder& Pcm16(std::uint16_t channels, std::uint32_t rate,
                      const std::vector<std::int16_t>& samples);
    // PCM of any width; the data bytes as given.
    WavBuilder& Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                    const Bytes& data);

    WavBuilder& FormatTag(std::uint16_t value)
    {
        FFormatTag = value;
        return *this;
    }
    WavBuilder& Channels(std::uint16_t value)
    {
        FChannels = value;
        return *this;
    }
    WavBuilder& Rate(std::uint32_t value)
    {
        FRate = value;
        return *this;
    }
    WavBuilder& Bits(std::uint16_t value)
    {
        FBits = value;
        return *this;
    }
    // Overrides of the derived fields (else channels x bits / 8 and x rate).
    WavBuilder& BlockAlign(std::uint16_t value)
    {
        FBlockAlign = value;
        FHasBlockAlign = true;
        return *this;
    }
    WavBuilder& BytesPerSecond(std::uint32_t value)
    {
        FBytesPerSecond = value;
        FHasBytesPerSecond = true;
        return *this;
    }
    // A format chunk of 18 + extraSize bytes: the 16 bytes, an extra-size
    // word of extraSize and that many zero bytes.
    WavBuilder& FmtExtraBytes(std::uint16_t extraSize);
    // RIFF's pad byte after every chunk of odd size (but the data chunk).
    WavBuilder& PadOddChunks()
    {
        FPadOddChunks = true;
        return *this;
    }
    WavBuilder& ChunkBeforeFmt(const std::string& id, std::size_t size, std::uint8_t fill = 0);
    WavBuilder& ChunkAfterFmt(const std::string& id, std::size_t size, std::uint8_t fill = 0);
    WavBuilder& FmtId(const std::string& id)
    {
        FFmtId = id;
        return *this;
    }
    WavBuilder& DataId(const std::string& id)
    {
        FDataId = id;
        return *this;
    }
    WavBuilder& RiffId(const std::string& id)
    {
        FRiffId = id;
        return *this;
    }
    WavBuilder& WaveId(const std::string& id)
    {
        FWaveId = id;
        return *this;
    }
    // Size fields that lie.
    WavBuilder& RiffSizeField(std::uint32_t value)
    {
        FRiffSize = value;
        FHasRiffSize = true;
        return *this;
    }
    WavBuilder& DataSizeField(std::uint32_t value)
    {
        FDataSize = value;
        FHasDataSize = true;
        return *this;
    }
    // Bytes after the data chunk.
    WavBuilder& Trailing(std::size_t size, std::uint8_t fill = 0);

    Bytes Bytes() const;
    // The file offset of the first data byte in Bytes().
    std::size_t DataOffset() const;

private:
    struct Chunk
    {
        std::string Id;
        std::vector<std::uint8_t> Body;
    };

    std::string FRiffId = "RIFF";
    std::string FWaveId = "WAVE";
    std::string FFmtId = "fmt ";
    std::string FDataId = "data";
    std::uint16_t FFormatTag = 1;
    std::uint16_t FChannels = 2;
    std::uint32_t FRate = 44100;
    std::uint16_t FBits = 16;
    std::uint16_t FBlockAlign = 0;
    bool FHasBlockAlign = false;
    std::uint32_t FBytesPerSecond = 0;
    bool FHasBytesPerSecond = false;
    bool FHasFmtExtra = false;
    std::uint16_t FFmtExtra = 0;
    bool FPadOddChunks = false;
    std::vector<Chunk> FBefore;
    std::vector<Chunk> FAfter;
    std::vector<std::uint8_t> FData;
    std::vector<std::uint8_t> FTrailing;
    std::uint32_t FRiffSize = 0;
    bool FHasRiffSize = false;
    std::uint32_t FDataSize = 0;
    bool FHasDataSize = false;
};

// The first size bytes of bytes (a truncated file).
Bytes Truncated(const Bytes& bytes, std::size_t size);

} // namespace testing_support
