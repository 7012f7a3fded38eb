// The draw-cache format (".dwd" beside a WAV file): the draw data of one
// file, kept so that the next open needs no full read of the file.
//
//   header, 48 bytes, little-endian:
//     0  "RGL2"            4  silence threshold the data was built with
//     8  "WAVE" "fmt " 16  1  channels  rate  rate*2*channels  channels*2
//        bits  "data"  data size       (the layout of a WAV head's bytes 8..43)
//     44 reserved, written as 0, never read
//   body: a signed 32-bit entry count, then the entries byte for byte
//         (4 bytes each for stereo, 2 otherwise).
//
// This unit only makes and checks bytes: it reads through a byte source and
// includes nothing of the platform, so it also builds natively for fuzzing.
// DrawCacheFile puts the bytes on disk.
#pragma once

#include "DrawData.h"
#include "audio/WavHeader.h"
#include "classlib/ByteSource.h"

#include <cstdint>
#include <vector>

constexpr std::size_t kDrawCacheHeaderBytes = 48;

// Why a cache was or was not taken.
enum class TDrawCacheVerdict
{
    Accepted,
    NotACache,      // too short for a header, or no "RGL2"
    OtherThreshold, // built with another silence threshold
    OtherFile,      // the WAV head's bytes 8..43 differ (format, size, an 18-byte fmt chunk)
    WrongCount,     // the count is not what a build would make now
    Truncated       // the file ends before the count or the entries
};

// The whole cache file for draw data built from a file of the given head's
// channels, rate, bits and data size, with threshold zeroLevel. Stereo
// (channels 2) writes stereo, anything else mono entries.
std::vector<std::uint8_t> DrawCacheBytes(const TWavHead& wav, std::int32_t zeroLevel,
                                         const TDrawDataStereo& stereo, const TDrawDataMono& mono);

// Reads the cache in source for the WAV file whose real head is wav (as the
// header parse read it), at the current threshold and draw-block size. It is
// accepted only when the magic, the threshold and the head's bytes 8..43
// match, the count equals what a build would make for blockSize, and every
// entry is there. On acceptance the data of the file's kind (stereo when
// wav.Channel is 2, else mono) is replaced; otherwise nothing changes.
TDrawCacheVerdict ReadDrawCache(TByteSource& source, const TWavHead& wav, std::int32_t zeroLevel,
                                int blockSize, TDrawDataStereo& stereo, TDrawDataMono& mono);
