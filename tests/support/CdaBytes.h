// The bytes of an audio CD's track file (".cda"), as the system shows one
// per track: "RIFF", its size, "CDDAfmt ", the format size 24, version 1,
// the track number, a serial number, the track's first sector and its
// length in sectors (offset 32), then both again as minutes, seconds and
// frames. Portable (no Windows): the fuzzing corpus is made with it too.
#pragma once

#include <cstdint>
#include <vector>

namespace testing_support {

inline std::vector<std::uint8_t> CdaBytes(int track, std::uint32_t firstSector,
                                          std::uint32_t lengthSectors)
{
    std::vector<std::uint8_t> bytes(44, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        bytes[at] = static_cast<std::uint8_t>(v);
        bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    auto msf = [](std::uint32_t sectors) {
        return (sectors % 75) | ((sectors / 75 % 60) << 8) | ((sectors / 75 / 60) << 16);
    };
    const char* ids = "RIFF\0\0\0\0CDDAfmt ";
    for (int i = 0; i < 16; ++i)
        if (i < 4 || i >= 8)
            bytes[i] = static_cast<std::uint8_t>(ids[i]);
    put32(4, 36);
    put32(16, 24);
    put16(20, 1);
    put16(22, static_cast<std::uint32_t>(track));
    put32(24, 0x12345678);
    put32(28, firstSector);
    put32(32, lengthSectors);
    put32(36, msf(firstSector + 150));
    put32(40, msf(lengthSectors));
    return bytes;
}

} // namespace testing_support
