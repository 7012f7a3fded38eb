#include "DrawCacheFile.h"

#include "DrawCache.h"
#include "audio/DirectWavEngine.h"
#include "classlib/DateTime.h"
#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"
#include "classlib/Streams.h"
#include "classlib/TextUtils.h"

#include <memory>

namespace {

// Makes and removes a folder named by the current date-time inside the
// cache's folder: true when that worked, so the folder takes new files.
bool CacheFolderWritable(const AnsiString& cachePath)
{
    const AnsiString probe = ExtractFilePath(cachePath) + FloatToStr(Now());
    if (!CreateDir(probe))
        return false;
    RemoveDir(probe);
    return true;
}

} // namespace

AnsiString DrawCachePath(const AnsiString& wavPath)
{
    return ChangeFileExt(wavPath, DrawCacheText::Extension);
}

bool LoadDrawCache(const AnsiString& wavPath, std::int32_t zeroLevel, int blockSize,
                   TDrawDataStereo& stereo, TDrawDataMono& mono)
{
    const AnsiString cachePath = DrawCachePath(wavPath);
    if (!FileExists(cachePath))
        return false;
    TWavInfo wav;
    wav.Path = wavPath;
    GetWavInfo(wav);
    if (!wav.IsPlayable)
        return false;
    TFileByteSource cache(cachePath);
    if (!cache.IsOpen())
        return false;
    // The header cannot tell a WAV file rewritten in place with the same
    // format and size (another program normalised it): a cache written
    // before the WAV file was draws what the file no longer holds.
    if (cache.LastWriteTime() < wav.Date)
        return false;
    return ReadDrawCache(cache, wav, zeroLevel, blockSize, stereo, mono) ==
           TDrawCacheVerdict::Accepted;
}

bool SaveDrawCache(const AnsiString& cachePath, const TWavHead& wav, std::int32_t zeroLevel,
                   const TDrawDataStereo& stereo, const TDrawDataMono& mono)
{
    if (!CacheFolderWritable(cachePath))
        return false;
    const std::vector<std::uint8_t> bytes = DrawCacheBytes(wav, zeroLevel, stereo, mono);
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(cachePath, fmCreate);
        file->WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        return true;
    } catch (const Exception&) {
        // Nothing to tell beyond "not written": the caller says so, and a
        // cache that is not there only costs a build at the next open.
        if (file) {
            file.reset();
            DeleteFile(cachePath);
        }
        return false;
    }
}
