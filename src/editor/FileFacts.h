// The facts of the open WAV file as the file properties window shows them,
// without windows: one text per line of the window, from the file's parsed
// header.
#pragma once

#include "audio/WavHeader.h"

#include "classlib/Types.h"

#include <cstdint>

struct TFileFacts
{
    AnsiString Name;           // the file name without its folder
    AnsiString Path;           // the full path
    AnsiString Channels;       // "モノラル" or "ステレオ"
    AnsiString Rate;           // "44100 Hz"
    AnsiString BytesPerSecond; // grouped digits
    AnsiString BlockSize;      // bytes of one frame
    AnsiString Bits;           // "16 Bit"
    AnsiString Offset;         // file offset of the first sample byte
    AnsiString Frames;         // sample frames, grouped digits
    AnsiString Duration;       // m:ss.cc
    AnsiString FileSize;       // see FileSizeFact
    AnsiString Date;           // last modification in the system's date and time form
};

// The texts of a header that passed the parse (IsPlayable).
TFileFacts FileFactsOf(const TWavInfo& info);

// A file size: below 1 MiB in Kbytes ("512.0 Kbytes"), below 1 GiB in MB
// with the Kbytes after it ("1.5 MB ( 1,536.0 Kbytes )"), else empty.
AnsiString FileSizeFact(std::int64_t bytes);
