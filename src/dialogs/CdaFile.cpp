#include "CdaFile.h"

#include <cstring>

namespace {

constexpr int kCdaFramesOffset = 32;

std::int32_t CdaGetI32(const std::uint8_t* p)
{
    const std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                            (std::uint32_t{p[3]} << 24);
    return static_cast<std::int32_t>(v);
}

} // namespace

int CdaTrackSeconds(TByteSource& source)
{
    std::uint8_t head[kCdaHeadBytes];
    if (!source.ReadExact(0, head, sizeof(head)))
        return -1;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "CDDAfmt ", 8) != 0)
        return -1;
    const std::int32_t seconds = CdaGetI32(head + kCdaFramesOffset) / kCdaFramesPerSecond;
    return seconds > 0 ? seconds : -1;
}
