// The draw cache on disk: the ".dwd" file beside a WAV file, read at every
// open and written after a build while the setting SAVE DATA is on.
//
// Reading takes the cache only when it was written no earlier than the WAV
// file, matches the file's real header, the current silence threshold and
// draw-block size, and is complete (rules in DrawCache); anything else means
// "build again". Writing never leaves a
// partial file behind: on failure the file is deleted and the caller shows
// DrawCacheText::CannotWrite, keeping the draw data in memory.
#pragma once

#include "DrawData.h"
#include "audio/WavHeader.h"
#include "classlib/Types.h"

namespace DrawCacheText {
inline constexpr const char* Extension = ".dwd";
// Shown in red for 3000 ms when the cache could not be written.
inline constexpr const char* CannotWrite = "波形描画データ(*.dwd)は生成できませんでした";
} // namespace DrawCacheText

// The cache's path: the WAV path with its extension changed to ".dwd".
AnsiString DrawCachePath(const AnsiString& wavPath);

// Reads the cache of the WAV file at wavPath into stereo (a stereo file) or
// mono (any other). False, with both left as they were, when there is no
// cache, the WAV file cannot be read as playable now, or the cache is older
// than the WAV file or does not match it.
bool LoadDrawCache(const AnsiString& wavPath, std::int32_t zeroLevel, int blockSize,
                   TDrawDataStereo& stereo, TDrawDataMono& mono);

// Writes the cache at cachePath for the file whose facts are wav, built with
// threshold zeroLevel: first makes and removes a folder there (named by the
// current date-time) to see that the folder can be written, then creates or
// replaces the file. False when the folder cannot be written or any write
// failed; a partly written file is deleted then.
bool SaveDrawCache(const AnsiString& cachePath, const TWavHead& wav, std::int32_t zeroLevel,
                   const TDrawDataStereo& stereo, const TDrawDataMono& mono);
