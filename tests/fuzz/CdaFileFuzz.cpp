// Fuzz target: the track-file parse over arbitrary bytes. Besides crashes and
// undefined behaviour it stops on a length that is neither -1 nor a positive
// count of seconds, and on a length given for a file without the track
// file's head.
#include "dialogs/CdaFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryByteSource source(data, size);
    const int seconds = CdaTrackSeconds(source);
    if (seconds == -1)
        return 0;
    if (seconds <= 0 || size < kCdaHeadBytes || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "CDDAfmt ", 8) != 0)
        __builtin_trap();
    std::int32_t frames = 0;
    std::memcpy(&frames, data + 32, 4);
    if (frames / kCdaFramesPerSecond != seconds)
        __builtin_trap();
    return 0;
}
