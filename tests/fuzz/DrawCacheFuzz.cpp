// Fuzz target: the draw-cache reader over arbitrary bytes. The first byte
// picks the draw-block size (2 << low four bits mod 12) and where the WAV
// head comes from: with bit 4 set it is copied from the cache's own bytes
// 8..43 (so the fuzzer reaches the count and the body easily), else it is
// the next 44 bytes. The rest is the cache. Besides crashes and undefined
// behaviour it stops on an accepted cache whose data does not have exactly
// the count a build would make, and on a rejection that changed the data.
#include "editor/DrawCache.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0];
    const int blockSize = 2 << ((mode & 0x0F) % 12);
    TWavHead wav;
    const std::uint8_t* cache = data + 1;
    std::size_t cacheSize = size - 1;
    if (mode & 0x10) {
        if (cacheSize >= 44)
            std::memcpy(reinterpret_cast<std::uint8_t*>(&wav) + 8, cache + 8, 36);
    } else {
        if (cacheSize < sizeof wav)
            return 0;
        std::memcpy(&wav, cache, sizeof wav);
        cache += sizeof wav;
        cacheSize -= sizeof wav;
    }

    TMemoryByteSource source(cache, cacheSize);
    TDrawDataStereo stereo;
    TDrawDataMono mono;
    stereo.Data = {{1, -1, 1, -1}};
    mono.Data = {{1, -1}};
    const TDrawCacheVerdict verdict = ReadDrawCache(source, wav, 256, blockSize, stereo, mono);
    const std::int32_t expected = DrawEntryCount(wav.Channel, wav.DataSize, blockSize);
    if (verdict == TDrawCacheVerdict::Accepted) {
        const std::int32_t got = wav.Channel == 2 ? stereo.Count() : mono.Count();
        const std::size_t entryBytes = wav.Channel == 2 ? 4 : 2;
        if (got != expected || cacheSize < 52 + static_cast<std::uint64_t>(got) * entryBytes)
            __builtin_trap();
    } else if (stereo.Count() != 1 || mono.Count() != 1) {
        __builtin_trap();
    }
    return 0;
}
