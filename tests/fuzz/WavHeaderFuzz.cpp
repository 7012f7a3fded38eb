// Fuzz target: the WAV header parse over arbitrary bytes. Besides crashes and
// undefined behaviour it stops on a "playable" verdict that breaks what the
// engine relies on: whole frames, a sample range inside the signed 32-bit
// file offsets, and a data chunk whose header lies inside the file.
#include "audio/WavHeader.h"
#include "classlib/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryByteSource source(data, size);
    TWavInfo info;
    bool passed = ReadWavHeader(source, info);
    if (!info.IsPlayable)
        return 0;
    const std::uint64_t end = static_cast<std::uint64_t>(info.SampleStart) + info.DataSize;
    if (!passed || info.BlockSize == 0 || info.BlockSize != info.Channel * info.Bit / 8 ||
        info.SampleStart > size || end > std::numeric_limits<std::int32_t>::max() ||
        info.SampleSize != static_cast<std::int32_t>(info.DataSize / info.BlockSize) ||
        !(info.Duration > 0))
        __builtin_trap();
    return 0;
}
