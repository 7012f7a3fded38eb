// Writes the starting inputs of the draw-cache fuzz target into the folder named
// by the first argument: well-formed stereo and mono caches for their files
// (head copied from the cache, and given separately), each also cut short.
#include "CorpusWrite.h"

#include "editor/DrawCache.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TWavHead CorpusHead(std::uint16_t channels, std::uint32_t dataSize)
{
    TWavHead head;
    std::memcpy(head.RiffId, "RIFF", 4);
    head.RiffSize = dataSize + 36;
    std::memcpy(head.WaveId, "WAVE", 4);
    std::memcpy(head.FmtId, "fmt ", 4);
    head.FmtSize = 16;
    head.FormatTag = 1;
    head.Channel = channels;
    head.Rate = 44100;
    head.BytesPerSecond = 44100 * 2 * channels;
    head.BlockSize = static_cast<std::uint16_t>(2 * channels);
    head.Bit = 16;
    std::memcpy(head.DataId, "data", 4);
    head.DataSize = dataSize;
    return head;
}

// Mode byte for block size 2 << shift, head from the cache or given.
Bytes CorpusInput(int shift, bool headFromCache, const TWavHead& head, const Bytes& cache)
{
    Bytes input{static_cast<std::uint8_t>(shift | (headFromCache ? 0x10 : 0))};
    if (!headFromCache) {
        const auto* raw = reinterpret_cast<const std::uint8_t*>(&head);
        input.insert(input.end(), raw, raw + sizeof head);
    }
    input.insert(input.end(), cache.begin(), cache.end());
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    bool ok = true;
    // Stereo: 4000 values at B 8 (shift 2) make 500 entries.
    const TWavHead stereoHead = CorpusHead(2, 8000);
    TDrawDataStereo stereo;
    for (int i = 0; i < 500; ++i)
        stereo.Data.push_back({static_cast<std::int8_t>(i % 128), -3, 5, -7});
    // Mono: 3000 samples at B 16 (shift 3) make 375 entries.
    const TWavHead monoHead = CorpusHead(1, 6000);
    TDrawDataMono mono;
    for (int i = 0; i < 375; ++i)
        mono.Data.push_back({static_cast<std::int8_t>(i % 100), -1});
    const Bytes stereoCache = DrawCacheBytes(stereoHead, 256, stereo, {});
    const Bytes monoCache = DrawCacheBytes(monoHead, 256, {}, mono);
    for (bool fromCache : {true, false}) {
        const std::string how = fromCache ? "-own-head" : "-given-head";
        ok &=
            CorpusWrite(folder, "stereo" + how, CorpusInput(2, fromCache, stereoHead, stereoCache));
        ok &= CorpusWrite(folder, "mono" + how, CorpusInput(3, fromCache, monoHead, monoCache));
        ok &= CorpusWrite(folder, "stereo-cut" + how,
                          CorpusInput(2, fromCache, stereoHead,
                                      Bytes(stereoCache.begin(), stereoCache.begin() + 60)));
        ok &= CorpusWrite(
            folder, "mono-header-only" + how,
            CorpusInput(3, fromCache, monoHead, Bytes(monoCache.begin(), monoCache.begin() + 48)));
    }
    return ok ? 0 : 1;
}
