#include "WavHeader.h"

#include <cstring>
#include <limits>

namespace {

constexpr std::uint64_t kFmtSearchOffsets = 1001; // offsets 0..1000 are searched
constexpr int kMaxChunkHops = 11;                 // chunks walked after the format chunk
constexpr std::uint64_t kCanonicalDataOffset = 44;
constexpr std::size_t kHeadBytesReadAtOnce = 40; // fields up to DataId
constexpr std::uint64_t kFmtFieldsAfterId = 20;  // FmtSize through Bit

bool HeaderIdIs(const char (&id)[4], const char* text)
{
    return std::memcmp(id, text, 4) == 0;
}

std::uint32_t HeaderU32(const unsigned char* b)
{
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::uint16_t HeaderU16(const unsigned char* b)
{
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

bool HeaderReadU32(TByteSource& source, std::uint64_t at, std::uint32_t& value)
{
    unsigned char b[4];
    if (!source.ReadExact(at, b, sizeof b))
        return false;
    value = HeaderU32(b);
    return true;
}

// The format chunk's fields, from the chunk whose id stands at offset p.
bool HeaderReadFormatFields(TByteSource& source, std::uint64_t p, TWavInfo& info)
{
    unsigned char b[kFmtFieldsAfterId];
    if (!source.ReadExact(p + 4, b, sizeof b))
        return false;
    info.FmtSize = HeaderU32(b);
    info.FormatTag = HeaderU16(b + 4);
    info.Channel = HeaderU16(b + 6);
    info.Rate = HeaderU32(b + 8);
    info.BytesPerSecond = HeaderU32(b + 12);
    info.BlockSize = HeaderU16(b + 16);
    info.Bit = HeaderU16(b + 18);
    return true;
}

// Makes sure FmtId reads "fmt ": when the head has no format chunk at offset
// 12, searches the first 1001 offsets. formatAt is 0 when the head had it,
// else where it was found, or 1001 when it was not (FmtId then keeps the last
// four bytes read and the checks fail). False when a read ran off the file.
bool HeaderFindFormatChunk(TByteSource& source, TWavInfo& info, std::uint64_t& formatAt)
{
    formatAt = 0;
    if (HeaderIdIs(info.FmtId, "fmt "))
        return true;
    for (std::uint64_t p = 0; p < kFmtSearchOffsets; ++p) {
        if (!source.ReadExact(p, info.FmtId, 4))
            return false;
        if (HeaderIdIs(info.FmtId, "fmt ")) {
            formatAt = p;
            return HeaderReadFormatFields(source, p, info);
        }
    }
    formatAt = kFmtSearchOffsets;
    return true;
}

// The outcome of one walk over the chunks after the format chunk.
enum class THeaderWalk
{
    Found,    // DataId reads "data", DataSize and sampleStart hold its values
    NotFound, // the walk gave up: no data chunk within eleven hops
    ReadOff   // a read ran off the file
};

// Walks at most eleven chunks from the size field at q, into info's DataId
// and DataSize. padded adds RIFF's pad byte after an odd chunk size.
THeaderWalk HeaderWalkToData(TByteSource& source, TWavInfo& info, std::uint64_t q, bool padded,
                             std::uint64_t& sampleStart)
{
    const std::uint64_t fileSize = source.Size();
    for (int hop = 0; hop < kMaxChunkHops; ++hop) {
        if (!HeaderReadU32(source, q, info.DataSize))
            return THeaderWalk::ReadOff;
        // The following chunk's id.
        const std::uint64_t next = q + info.DataSize + 4 + (padded ? info.DataSize % 2 : 0);
        if (next > fileSize)
            return THeaderWalk::NotFound;
        if (!source.ReadExact(next, info.DataId, 4))
            return THeaderWalk::ReadOff;
        if (HeaderIdIs(info.DataId, "data")) {
            sampleStart = next + 8;
            return HeaderReadU32(source, next + 4, info.DataSize) ? THeaderWalk::Found
                                                                  : THeaderWalk::ReadOff;
        }
        q = next + 4;
    }
    return THeaderWalk::NotFound;
}

// Finds the data chunk: at the canonical place, or by walking at most eleven
// chunks from the format chunk's size field. The walk takes chunk sizes as
// they stand (no pad byte after an odd size), which files written without the
// pad byte rely on; only when that finds no data chunk is the walk repeated
// with RIFF's pad byte after every odd size, so that correctly padded files
// open too and every file found unpadded keeps its place. False when a read
// ran off the file; when the walk gives up, DataId is not "data" and the
// checks fail.
bool HeaderFindDataChunk(TByteSource& source, TWavInfo& info, std::uint64_t formatAt,
                         std::uint64_t& sampleStart)
{
    if (HeaderIdIs(info.DataId, "data")) {
        sampleStart = kCanonicalDataOffset;
        return HeaderReadU32(source, kCanonicalDataOffset - 4, info.DataSize);
    }
    const std::uint64_t q = formatAt != 0 ? formatAt + 4 : 16; // a chunk's size field
    const THeaderWalk unpadded = HeaderWalkToData(source, info, q, false, sampleStart);
    if (unpadded == THeaderWalk::Found)
        return true;
    // The fields the unpadded walk read stay when the padded one finds nothing either.
    const TWavHead unpaddedHead = info;
    if (HeaderWalkToData(source, info, q, true, sampleStart) == THeaderWalk::Found)
        return true;
    static_cast<TWavHead&>(info) = unpaddedHead;
    return unpadded != THeaderWalk::ReadOff;
}

bool HeaderPassesChecks(const TWavInfo& info, std::uint64_t sampleStart)
{
    if (!HeaderIdIs(info.RiffId, "RIFF") || !HeaderIdIs(info.WaveId, "WAVE") ||
        !HeaderIdIs(info.FmtId, "fmt ") || !HeaderIdIs(info.DataId, "data"))
        return false;
    if (info.FormatTag != 1 || info.BytesPerSecond < 1 || info.Rate < 1)
        return false;
    if ((info.Channel != 1 && info.Channel != 2) || (info.Bit != 8 && info.Bit != 16))
        return false;
    // Positions are frames of BlockSize bytes while the device's frame is
    // channels x bits: a header where they differ would play, draw and
    // bounce at wrong offsets (and 0 would divide by zero).
    if (info.BlockSize != info.Channel * info.Bit / 8)
        return false;
    // Sample data may not reach beyond the end that the RIFF size announces,
    // compared as signed 32-bit numbers; a sum that leaves that range is
    // refused rather than wrapped into a small one.
    std::uint64_t dataEnd = sampleStart + info.DataSize;
    if (dataEnd > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return false;
    return static_cast<std::int32_t>(dataEnd) <=
           static_cast<std::int32_t>(static_cast<std::uint32_t>(info.RiffSize + 8u));
}

} // namespace

bool HasWavExtension(const std::string& path)
{
    static const char kExtension[] = ".wav";
    if (path.size() < 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        char c = path[path.size() - 4 + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kExtension[i])
            return false;
    }
    return true;
}

bool ReadWavHeader(TByteSource& source, TWavInfo& info)
{
    info.IsPlayable = false;
    unsigned char head[kHeadBytesReadAtOnce];
    if (!source.ReadExact(0, head, sizeof head))
        return false;
    std::memcpy(reinterpret_cast<unsigned char*>(static_cast<TWavHead*>(&info)), head, sizeof head);

    std::uint64_t formatAt = 0;
    std::uint64_t sampleStart = kCanonicalDataOffset;
    if (!HeaderFindFormatChunk(source, info, formatAt) ||
        !HeaderFindDataChunk(source, info, formatAt, sampleStart) ||
        !HeaderPassesChecks(info, sampleStart))
        return false;

    const std::uint64_t fileSize = source.Size();
    const auto maxInt32 = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    info.Size = static_cast<std::int32_t>(fileSize < maxInt32 ? fileSize : maxInt32);
    info.SampleStart = static_cast<std::uint32_t>(sampleStart);
    auto dataSize = static_cast<std::int32_t>(info.DataSize);
    info.SampleSize = dataSize / info.BlockSize;
    info.Duration = static_cast<double>(dataSize) / static_cast<std::int32_t>(info.BytesPerSecond);
    info.IsPlayable = info.Duration > 0;
    return true;
}
