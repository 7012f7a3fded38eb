// The facts of a PCM WAV file and the parse of its header.
//
// The parse reads through a byte source and includes nothing of the platform,
// so that it also builds natively for fuzzing; finding, opening and dating
// the file is DirectWavEngine's part (GetWavInfo). A file that the parse
// cannot make sense of is "not playable", never an error: the walk is bounded,
// every size is checked against the file before it is used, and sums are
// taken in 64 bits.
#pragma once

#include "classlib/ByteSource.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

static_assert(std::endian::native == std::endian::little,
              "the head is read straight into the record: little-endian hosts only");

// The canonical 44-byte head of a PCM WAV file, field for field: the first 40
// bytes are read into it at once, and callers copy or compare the record's
// first 44 bytes as a file head (the draw cache compares 8..43, the bounce
// writes all 44).
#pragma pack(push, 1)
struct TWavHead
{
    char RiffId[4] = {' ', ' ', ' ', ' '}; // "RIFF"
    std::uint32_t RiffSize = 0;            // bytes after this field
    char WaveId[4] = {' ', ' ', ' ', ' '}; // "WAVE"
    char FmtId[4] = {' ', ' ', ' ', ' '};  // "fmt "
    std::uint32_t FmtSize = 0;             // bytes of the format chunk
    std::uint16_t FormatTag = 0;           // 1 = PCM
    std::uint16_t Channel = 0;             // channels
    std::uint32_t Rate = 0;                // sample frames per second
    std::uint32_t BytesPerSecond = 0;      // average bytes per second
    std::uint16_t BlockSize = 0;           // bytes of one sample frame
    std::uint16_t Bit = 0;                 // bits per sample
    char DataId[4] = {' ', ' ', ' ', ' '}; // "data"
    std::uint32_t DataSize = 0;            // bytes of sample data
};
#pragma pack(pop)

static_assert(sizeof(TWavHead) == 44);
static_assert(offsetof(TWavHead, RiffId) == 0 && offsetof(TWavHead, RiffSize) == 4);
static_assert(offsetof(TWavHead, WaveId) == 8 && offsetof(TWavHead, FmtId) == 12);
static_assert(offsetof(TWavHead, FmtSize) == 16 && offsetof(TWavHead, FormatTag) == 20);
static_assert(offsetof(TWavHead, Channel) == 22 && offsetof(TWavHead, Rate) == 24);
static_assert(offsetof(TWavHead, BytesPerSecond) == 28 && offsetof(TWavHead, BlockSize) == 32);
static_assert(offsetof(TWavHead, Bit) == 34 && offsetof(TWavHead, DataId) == 36);
static_assert(offsetof(TWavHead, DataSize) == 40);

// A default-made record is a reset record: the ids four blanks, numbers 0,
// no path, not playable.
struct TWavInfo : TWavHead
{
    std::uint32_t SampleStart = 0; // file offset of the first sample byte
    std::int32_t SampleSize = 0;   // length in sample frames (DataSize div BlockSize)
    double Duration = 0;           // length in seconds
    std::string Path;              // the file (ANSI code page); the parse's input
    std::int32_t Size = 0;         // file size in bytes (at most 2^31 - 1)
    double Date = 0;               // last modification, days since 1899-12-30, local time
    bool IsPlayable = false;       // the header passed every check and holds data
};

inline void ResetWavInfo(TWavInfo& info)
{
    info = TWavInfo();
}

// True when the path ends in ".wav", ASCII letters compared without case.
// (Neither the dot nor a trail byte before it can be part of a double-byte
// character, so a plain suffix test is exact in code page 932.)
bool HasWavExtension(const std::string& path);

// Reads the header from source into info: the head fields always (as far as
// they could be read), and, only when every check holds, SampleStart,
// SampleSize, Duration, Size (the source's size) and IsPlayable. Returns
// whether the checks held. Path and Date are left alone.
bool ReadWavHeader(TByteSource& source, TWavInfo& info);
