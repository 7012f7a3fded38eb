// The playback engine: plays any sample range of one 16-bit (or 8-bit) PCM
// WAV file through a wave-out device on a thread of its own, with a volume
// factor, a loop and a channel output mode, reports the play position and the
// end of playback, and reads raw samples of the loaded file for the draw data.
//
//   TWavInfo, GetWavInfo   the facts of a WAV file (the parse is in WavHeader)
//   TOutputMode            the channel treatment of playback and regions
//                          (OutputMode.h)
//   EDirectWavEngineError  the engine's exception class
//   TDirectWavEngine       the component callers use, on the main thread
//
// The streaming itself runs on the playback thread (DirectWavEngine.cpp): it
// takes one command at a time (play, stop) and reads the live values (loop,
// volume, output mode, loop range and pending range) at every chunk without
// a lock. A second thread raises OnPlayEnd, so that the playback thread is
// free again while the handler runs.
//
// Positions that callers pass or receive are sample frames; inside, the
// engine works in byte offsets from the start of the sample data.
#pragma once

#include "OutputMode.h"
#include "WavHeader.h"
#include "WaveOutDevice.h"
#include "classlib/Exceptions.h"
#include "classlib/Object.h"

#include <cstdint>
#include <functional>
#include <memory>

// The engine's messages, kept as written (the full stops differ on purpose).
namespace DirectWavEngineText {
inline constexpr const char* OutOfMemory = "メモリが足りません";
inline constexpr const char* CannotStop = "演奏を終了できません。";
inline constexpr const char* CannotClose = "Wave デバイスを開放できません。";
inline constexpr const char* BufferFull = "バッファがいっぱいです.";
inline constexpr const char* ChunkTooLarge = "サイズが大きすぎます";
inline constexpr const char* DeviceUnusable = "Wave デバイスを使用できません";
inline constexpr const char* DeviceUnusableCaption = "Error";
} // namespace DirectWavEngineText

ZANDREL_EXCEPTION(EDirectWavEngineError, Exception);

// Reads the record's Path and fills its other fields; IsPlayable tells
// whether the file can be played. A missing file, another extension than
// ".wav", a file that cannot be opened and any header that fails a check are
// "not playable", never an error. Fields other than IsPlayable are touched
// only once the file is open; Size, Date, SampleStart, SampleSize and
// Duration only when the header passes.
void GetWavInfo(TWavInfo& info);

// Applies the volume factor and the output mode to count interleaved 16-bit
// samples of channels channels, in place, and returns how many samples were
// clipped. Scaled values are rounded half to even and clipped to the 16-bit
// range; MonoMix rounds (L + R) / 2 half to even before scaling. The output
// mode applies to stereo only.
int ConvertSamples16(std::int16_t* samples, std::size_t count, int channels, TOutputMode mode,
                     double volume);

class TDirectWavEngineThread;
class TFileMapping;
struct TPlaybackControls;
struct TByteRange;

// One chunk as handed to the device: its byte offset from the start of the
// sample data and its bytes after conversion. For tests.
using TChunkHook =
    std::function<void(std::int64_t position, const std::uint8_t* bytes, std::uint32_t length)>;

class TDirectWavEngine : public TComponent
{
public:
    // Outside design time makes the playback thread, which runs at once at
    // the highest priority, on the system's wave-out device.
    explicit TDirectWavEngine(TComponent* AOwner);
    // The same on another device (not owned; it outlives the engine).
    TDirectWavEngine(TComponent* AOwner, TWaveOutDevice& device);
    // Stops playback and ends both threads.
    ~TDirectWavEngine() override;

    // Reads the file's header; only a playable file replaces the published
    // facts. Returns whether it is playable; when not, Play refuses from now
    // on. Does not stop playback (callers stop first).
    bool LoadFile(const AnsiString& path);
    // Clears the published facts (no file open).
    void InitWavInfo();

    // Plays frames Start up to, not including, End. Ignored unless the loaded
    // file is playable and 0 <= Start < End <= SampleSize; a file that cannot
    // be opened is ignored too. Returns once the thread has taken the
    // command: playing, or stopped when the device could not be opened (the
    // thread shows that itself).
    //
    // Play and Stop wait for the playback thread, so its own handlers
    // (OnPlayStart, OnPlayStop, OnClip) cannot use them: there they do
    // nothing.
    void Play(int Start, int End);
    // Stops playback and returns when the thread has taken the command (and
    // raised OnPlayStop); when nothing plays, returns at once. No OnPlayEnd
    // begins after Stop returns: an end not yet reported is dropped (a
    // handler already running may still be finishing).
    void Stop();
    // Jumps to Sample (clamped to 0..SampleSize) at the next chunk; at the
    // end of the data that stops playback.
    void Seek(int Sample);
    // The end of what has been handed to the device, in frames: up to
    // BufCount buffers ahead of what is heard. 0 without a file.
    int GetPosition() const;
    // Changes the range being played at the next chunk; -1 keeps the
    // position (Start) or plays to the end of the data (End). Ignored when
    // End <= Start, End > SampleSize, End lies before GetPosition, or either
    // is below -1.
    void SetPlayRange(int Start, int End);
    // Changes where a loop restarts and ends; -1 leaves that end as it is.
    // Ignored when End <= Start, End > SampleSize or either is below -1.
    void SetLoopRange(int Start, int End);
    // Reads LastIndex + 1 16-bit values, starting BytePosition bytes into the
    // sample data, into Buffer; values past the end of the file read as 0.
    // Returns how many bytes came from the file (less than asked when the
    // file ends first; -1 when the call is ignored). Stops playback first.
    // Ignored unless a playable 16-bit file is loaded and
    // 0 <= BytePosition < DataSize. Raises EFOpenError when the file cannot
    // be opened.
    int ReadSamples(std::int16_t* Buffer, int LastIndex, int BytePosition);
    // The Count 16-bit values starting BytePosition bytes into the sample
    // data, as memory that stays readable until the next call or
    // EndSampleReads: the file itself, mapped, so that a long run of reads
    // copies nothing; it stays mapped until EndSampleReads (or the next
    // LoadFile or InitWavInfo). Stops playback first. Null unless a playable
    // 16-bit file is loaded and the values lie in its data, or when the file
    // no longer holds them (it shrank before the reads began). Raises
    // EFOpenError when the file could not be opened. Read the values inside
    // ReadSamplesGuarded: the file can still lose its bytes under the
    // mapping (see TFileMapping).
    const std::int16_t* ViewSamples(int Count, int BytePosition);
    // Runs read(context), which reads values that ViewSamples gave, and
    // returns whether it ran to its end: false when the file's bytes went
    // away under it, the read abandoned where it faulted. read keeps the
    // rules of TFileMapping::ReadGuarded.
    bool ReadSamplesGuarded(void (*read)(void* context), void* context) const;
    // Map the loaded file for ViewSamples now (rather than at its first
    // call) until EndSampleReads (or the next LoadFile or InitWavInfo).
    // Meanwhile others may read and write the file, but not shorten or
    // delete it.
    void BeginSampleReads();
    void EndSampleReads();
    // Whether the thread is playing.
    bool IsPlaying() const;

    // Read at every chunk.
    bool Loop() const;
    void SetLoop(bool value);
    TOutputMode OutputMode() const;
    void SetOutputMode(TOutputMode value);
    double Volume() const;
    // A negative value (or not a number) is stored as 0.
    void SetVolume(double value);
    // Bytes per device buffer, at least 256; taken at the next Play, which
    // rounds it down to whole frames.
    std::uint32_t BufSize() const { return FBufSize; }
    void SetBufSize(std::uint32_t value);
    // Device buffers, 1 to 1024; taken at the next Play.
    std::uint16_t BufCount() const { return FBufCount; }
    void SetBufCount(std::uint16_t value);
    // The device to open; WAVE_MAPPER (-1) by default. Taken at each Play.
    std::uint32_t DeviceID() const { return FDeviceID; }
    void SetDeviceID(std::uint32_t value) { FDeviceID = value; }
    // The open device; 0 when closed or without a thread.
    HWAVEOUT lhWaveOut() const;

    // The published facts of the loaded file.
    const TWavInfo& WavInfo() const { return FInfo; }
    const AnsiString& Path() const { return FInfo.Path; }
    std::int32_t Size() const { return FInfo.Size; }
    TDateTime Date() const { return FInfo.Date; }
    std::uint16_t Channel() const { return FInfo.Channel; }
    std::uint16_t Bit() const { return FInfo.Bit; }
    std::uint32_t Rate() const { return FInfo.Rate; }
    std::uint16_t BlockSize() const { return FInfo.BlockSize; }
    std::uint32_t BytesPerSecond() const { return FInfo.BytesPerSecond; }
    std::uint32_t DataSize() const { return FInfo.DataSize; }
    std::int32_t SampleSize() const { return FInfo.SampleSize; }
    double Duration() const { return FInfo.Duration; }
    std::uint32_t SampleStart() const { return FInfo.SampleStart; }
    bool IsPlayable() const { return FInfo.IsPlayable; }

    // OnPlayStart, OnPlayStop and OnClip run on the playback thread, OnPlayEnd
    // on the play-end thread; none on the main thread. Taken at each Play.
    // OnPlayStop follows every OnPlayStart; OnPlayEnd follows OnPlayStop when
    // playback ended by itself (end of data, nothing left in a changed range,
    // an error), never after Stop.
    TNotifyEvent OnPlayStart;
    TNotifyEvent OnPlayStop;
    TNotifyEvent OnPlayEnd;
    TNotifyEvent OnClip;

    // Tests: sees every chunk handed to the device, on the playback thread.
    // Taken at the next Play.
    void SetChunkHook(TChunkHook hook) { FChunkHook = std::move(hook); }

private:
    // Whether a read of 16-bit values at BytePosition may go to the file.
    bool MaySampleRead(int Count, int BytePosition) const;
    [[noreturn]] void RaiseCannotOpen() const;
    void StartPlaybackThread(TWaveOutDevice& device);
    // There is a thread, and the caller is not it (its handlers cannot wait
    // for it).
    bool CanCommandThread() const;
    // frames of the loaded file as a byte count.
    std::int64_t FrameBytes(std::int64_t frames) const;
    // The common checks of the range setters.
    bool IsRangeAllowed(int Start, int End) const;
    TByteRange RangeBytes(int Start, int End) const;
    // Drops a pending end left from before the play that ends at End.
    void KeepOnlyPendingJump(int End);

    TWavInfo FInfo;     // the published copy: the last playable file
    TWavInfo FPlayInfo; // the last file loaded, playable or not; Play uses it
    std::unique_ptr<TPlaybackControls> FControls;    // live values the thread reads
    std::unique_ptr<TDirectWavEngineThread> FThread; // none at design time
    std::uint32_t FBufSize = 4096;                   // bytes per device buffer
    std::uint16_t FBufCount = 4;                     // device buffers
    std::uint32_t FDeviceID = WAVE_MAPPER;
    TChunkHook FChunkHook;
    std::unique_ptr<TFileMapping> FSampleMapping; // the file between Begin/EndSampleReads
};
