#include "DrawCache.h"

#include <cstring>

namespace {

constexpr char kDrawCacheMagic[4] = {'R', 'G', 'L', '2'};
constexpr std::size_t kHeadCompareFrom = 8; // the WAV head's bytes 8..43 are compared
constexpr std::size_t kHeadCompareTo = 44;
constexpr std::size_t kThresholdAt = 4;
constexpr std::size_t kCountBytes = 4;

void CachePutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void CachePutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void CachePutId(std::vector<std::uint8_t>& bytes, std::size_t at, const char* id)
{
    std::memcpy(bytes.data() + at, id, 4);
}

std::uint32_t CacheU32(const std::uint8_t* b)
{
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

// The head a cache describes: the canonical head of a 16-bit-style PCM file
// with the real file's channels, rate, bits and data size.
void CachePutHead(std::vector<std::uint8_t>& bytes, const TWavHead& wav)
{
    CachePutId(bytes, 8, "WAVE");
    CachePutId(bytes, 12, "fmt ");
    CachePutU32(bytes, 16, 16);
    CachePutU16(bytes, 20, 1);
    CachePutU16(bytes, 22, wav.Channel);
    CachePutU32(bytes, 24, wav.Rate);
    CachePutU32(bytes, 28, wav.Rate * 2u * wav.Channel);
    CachePutU16(bytes, 32, static_cast<std::uint16_t>(wav.Channel * 2));
    CachePutU16(bytes, 34, wav.Bit);
    CachePutId(bytes, 36, "data");
    CachePutU32(bytes, 40, wav.DataSize);
}

template <class Entry>
void CacheAppendBody(std::vector<std::uint8_t>& bytes, const std::vector<Entry>& entries)
{
    const std::size_t at = bytes.size();
    bytes.resize(at + kCountBytes + entries.size() * sizeof(Entry));
    CachePutU32(bytes, at, static_cast<std::uint32_t>(entries.size()));
    if (!entries.empty())
        std::memcpy(bytes.data() + at + kCountBytes, entries.data(),
                    entries.size() * sizeof(Entry));
}

// Reads exactly expected entries after the count, or nothing.
template <class Entry>
bool CacheReadEntries(TByteSource& source, std::int32_t expected, std::vector<Entry>& out)
{
    std::vector<Entry> entries(static_cast<std::size_t>(expected));
    const std::size_t bytes = entries.size() * sizeof(Entry);
    if (bytes > 0 && !source.ReadExact(kDrawCacheHeaderBytes + kCountBytes, entries.data(), bytes))
        return false;
    out.swap(entries);
    return true;
}

} // namespace

std::vector<std::uint8_t> DrawCacheBytes(const TWavHead& wav, std::int32_t zeroLevel,
                                         const TDrawDataStereo& stereo, const TDrawDataMono& mono)
{
    std::vector<std::uint8_t> bytes(kDrawCacheHeaderBytes, 0);
    std::memcpy(bytes.data(), kDrawCacheMagic, 4);
    CachePutU32(bytes, kThresholdAt, static_cast<std::uint32_t>(zeroLevel));
    CachePutHead(bytes, wav);
    if (wav.Channel == 2)
        CacheAppendBody(bytes, stereo.Data);
    else
        CacheAppendBody(bytes, mono.Data);
    return bytes;
}

TDrawCacheVerdict ReadDrawCache(TByteSource& source, const TWavHead& wav, std::int32_t zeroLevel,
                                int blockSize, TDrawDataStereo& stereo, TDrawDataMono& mono)
{
    std::uint8_t header[kDrawCacheHeaderBytes];
    if (!source.ReadExact(0, header, sizeof header) || std::memcmp(header, kDrawCacheMagic, 4) != 0)
        return TDrawCacheVerdict::NotACache;
    if (static_cast<std::int32_t>(CacheU32(header + kThresholdAt)) != zeroLevel)
        return TDrawCacheVerdict::OtherThreshold;
    const auto* head = reinterpret_cast<const std::uint8_t*>(&wav);
    if (std::memcmp(header + kHeadCompareFrom, head + kHeadCompareFrom,
                    kHeadCompareTo - kHeadCompareFrom) != 0)
        return TDrawCacheVerdict::OtherFile;

    std::uint8_t countBytes[kCountBytes];
    if (!source.ReadExact(kDrawCacheHeaderBytes, countBytes, sizeof countBytes))
        return TDrawCacheVerdict::Truncated;
    const auto count = static_cast<std::int32_t>(CacheU32(countBytes));
    if (count != DrawEntryCount(wav.Channel, wav.DataSize, blockSize))
        return TDrawCacheVerdict::WrongCount;
    // The count now matches the file, so it is small; still, check the size
    // before allocating.
    const std::size_t entryBytes =
        wav.Channel == 2 ? sizeof(TDrawEntryStereo) : sizeof(TDrawEntryMono);
    if (source.Size() <
        kDrawCacheHeaderBytes + kCountBytes + static_cast<std::uint64_t>(count) * entryBytes)
        return TDrawCacheVerdict::Truncated;
    const bool complete = wav.Channel == 2 ? CacheReadEntries(source, count, stereo.Data)
                                           : CacheReadEntries(source, count, mono.Data);
    return complete ? TDrawCacheVerdict::Accepted : TDrawCacheVerdict::Truncated;
}
