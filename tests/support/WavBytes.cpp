#include "support/WavBytes.h"

#include <cmath>
#include <numbers>

namespace testing_support {

namespace {

void PutU16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutId(Bytes& out, const std::string& id)
{
    for (std::size_t i = 0; i < 4; ++i)
        out.push_back(i < id.size() ? static_cast<std::uint8_t>(id[i]) : ' ');
}

// pad adds RIFF's pad byte after an odd size.
void PutChunk(Bytes& out, const std::string& id, const Bytes& body, bool pad)
{
    PutId(out, id);
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2)
        out.push_back(0);
}

std::size_t ChunkBytes(std::size_t bodySize, bool pad)
{
    return 8 + bodySize + (pad ? bodySize % 2 : 0);
}

} // namespace

std::vector<std::int16_t> FrameIndexSamples(int frames, int channels, int firstFrame)
{
    std::vector<std::int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames) * channels);
    for (int f = firstFrame; f < firstFrame + frames; ++f) {
        auto left = static_cast<std::int16_t>(f & 0x7FFF);
        samples.push_back(left);
        if (channels == 2)
            samples.push_back(static_cast<std::int16_t>(-left));
    }
    return samples;
}

std::vector<std::int16_t> ToneSamples(int frames, int channels, int rate, double hz,
                                      double amplitude)
{
    std::vector<std::int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames) * channels);
    for (int f = 0; f < frames; ++f) {
        double v = amplitude * std::sin(2 * std::numbers::pi * hz * f / rate);
        for (int c = 0; c < channels; ++c)
            samples.push_back(static_cast<std::int16_t>(std::lround(v)));
    }
    return samples;
}

std::vector<std::int16_t> SilenceSamples(int frames, int channels)
{
    return ConstantSamples(frames, channels, 0);
}

std::vector<std::int16_t> ConstantSamples(int frames, int channels, std::int16_t value)
{
    return std::vector<std::int16_t>(static_cast<std::size_t>(frames) * channels, value);
}

std::vector<std::int16_t> NoiseSamples(int frames, int channels, std::uint32_t start, int amplitude)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * channels);
    std::uint32_t state = start ? start : 1;
    for (auto& s : samples) {
        state ^= state << 13; // xorshift32
        state ^= state >> 17;
        state ^= state << 5;
        long span = 2L * amplitude + 1;
        s = static_cast<std::int16_t>(static_cast<long>(state % span) - amplitude);
    }
    return samples;
}

Bytes SampleBytes(const std::vector<std::int16_t>& samples)
{
    Bytes out;
    out.reserve(samples.size() * 2);
    for (std::int16_t s : samples)
        PutU16(out, static_cast<std::uint16_t>(s));
    return out;
}

std::vector<std::int16_t> SamplesOf(const std::uint8_t* bytes, std::size_t length)
{
    std::vector<std::int16_t> samples(length / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return samples;
}

WavBuilder& WavBuilder::Pcm16(std::uint16_t channels, std::uint32_t rate,
                              const std::vector<std::int16_t>& samples)
{
    return Pcm(channels, rate, 16, SampleBytes(samples));
}

WavBuilder& WavBuilder::Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                            const testing_support::Bytes& data)
{
    FFormatTag = 1;
    FChannels = channels;
    FRate = rate;
    FBits = bits;
    FData = data;
    return *this;
}

WavBuilder& WavBuilder::FmtExtraBytes(std::uint16_t extraSize)
{
    FHasFmtExtra = true;
    FFmtExtra = extraSize;
    return *this;
}

WavBuilder& WavBuilder::ChunkBeforeFmt(const std::string& id, std::size_t size, std::uint8_t fill)
{
    FBefore.push_back({id, testing_support::Bytes(size, fill)});
    return *this;
}

WavBuilder& WavBuilder::ChunkAfterFmt(const std::string& id, std::size_t size, std::uint8_t fill)
{
    FAfter.push_back({id, testing_support::Bytes(size, fill)});
    return *this;
}

WavBuilder& WavBuilder::Trailing(std::size_t size, std::uint8_t fill)
{
    FTrailing.assign(size, fill);
    return *this;
}

testing_support::Bytes WavBuilder::Bytes() const
{
    testing_support::Bytes out;
    PutId(out, FRiffId);
    PutU32(out, 0); // patched below
    PutId(out, FWaveId);
    for (const Chunk& c : FBefore)
        PutChunk(out, c.Id, c.Body, FPadOddChunks);

    std::uint16_t blockAlign =
        FHasBlockAlign ? FBlockAlign : static_cast<std::uint16_t>(FChannels * FBits / 8);
    testing_support::Bytes fmt;
    PutU16(fmt, FFormatTag);
    PutU16(fmt, FChannels);
    PutU32(fmt, FRate);
    PutU32(fmt, FHasBytesPerSecond ? FBytesPerSecond : FRate * (FChannels * FBits / 8u));
    PutU16(fmt, blockAlign);
    PutU16(fmt, FBits);
    if (FHasFmtExtra) {
        PutU16(fmt, FFmtExtra);
        fmt.insert(fmt.end(), FFmtExtra, 0);
    }
    PutChunk(out, FFmtId, fmt, FPadOddChunks);

    for (const Chunk& c : FAfter)
        PutChunk(out, c.Id, c.Body, FPadOddChunks);
    PutId(out, FDataId);
    PutU32(out, FHasDataSize ? FDataSize : static_cast<std::uint32_t>(FData.size()));
    out.insert(out.end(), FData.begin(), FData.end());
    out.insert(out.end(), FTrailing.begin(), FTrailing.end());

    std::uint32_t riffSize = FHasRiffSize ? FRiffSize : static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    return out;
}

std::size_t WavBuilder::DataOffset() const
{
    std::size_t offset = 12;
    for (const Chunk& c : FBefore)
        offset += ChunkBytes(c.Body.size(), FPadOddChunks);
    offset += ChunkBytes(16 + (FHasFmtExtra ? 2 + FFmtExtra : 0), FPadOddChunks);
    for (const Chunk& c : FAfter)
        offset += ChunkBytes(c.Body.size(), FPadOddChunks);
    return offset + 8;
}

testing_support::Bytes Truncated(const testing_support::Bytes& bytes, std::size_t size)
{
    return testing_support::Bytes(bytes.begin(), bytes.begin() + std::min(size, bytes.size()));
}

} // namespace testing_support
