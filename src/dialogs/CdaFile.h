// The track files of an audio CD (".cda"): the system shows one per track,
// a small RIFF file whose head tells the track's length in CD frames.
//
//   CdaTrackSeconds  the length a track file tells, in whole seconds
//
// Reads through a byte source and includes nothing of the platform, so that
// it also builds natively for fuzzing.
#pragma once

#include "classlib/ByteSource.h"

#include <cstdint>

// Bytes of a track file's head that are read.
inline constexpr int kCdaHeadBytes = 36;
// CD frames (sectors) per second.
inline constexpr int kCdaFramesPerSecond = 75;

// The track length in seconds: the 32-bit little-endian frame count at
// offset 32, divided by 75 (whole seconds), when bytes 0..3 read "RIFF" and
// bytes 8..15 "CDDAfmt "; -1 for a shorter or any other file, and for a
// length below one second.
int CdaTrackSeconds(TByteSource& source);
