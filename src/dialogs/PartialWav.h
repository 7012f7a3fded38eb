// Settling a PCM WAV file that a recording or a rip left behind when it
// ended early: the writer's header announced the planned length, and the
// file must say what it really holds.
//
//   SettlePartialWav  sizes patched to the bytes in the file, or a file too
//                     short to hold a header removed
#pragma once

#include "classlib/Types.h"

enum class TPartialWavResult
{
    Patched, // the RIFF size (offset 4) and the data size (offset 40) match the file
    Removed, // the file held no whole header (a start that failed): deleted
    Missing, // no file stands there
    Failed   // the file could not be opened, read or written, or is not such a file
};

// A file of 44 bytes or more is patched when it begins "RIFF", "WAVE",
// "fmt " and has "data" at 36, as the writer's PCM header does; one that is
// shorter is deleted; anything else is left alone (Failed).
TPartialWavResult SettlePartialWav(const AnsiString& path);
