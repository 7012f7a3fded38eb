#include "DirectWavEngine.h"

#include "classlib/Application.h"
#include "classlib/FileByteSource.h"
#include "classlib/FileMapping.h"
#include "classlib/Seams.h"
#include "classlib/Thread.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

// Byte offsets from the start of the sample data; -1 for none.
struct TByteRange
{
    std::int32_t Start;
    std::int32_t End;
};

namespace {

constexpr std::int32_t kNoPosition = -1;
constexpr std::uint32_t kMinBufSize = 256;
constexpr std::uint16_t kMaxBufCount = 1024;
constexpr DWORD kMaxSleepMs = 100;
constexpr std::uint64_t kHeapSlackPerBuffer = 4096;
// A buffer that the device still calls "playing" this long after it marked
// it done, or after a reset, is given up on instead of waited for.
constexpr DWORD kUnprepareLimitMs = 1000;

constexpr TByteRange kNoRange = {kNoPosition, kNoPosition};

// Two offsets that the main thread writes and the playback thread takes as
// one value, so the thread never sees the start of one range with the end of
// another, and taking and clearing cannot lose a write made in between.
class TAtomicByteRange
{
public:
    explicit TAtomicByteRange(TByteRange value) : FBits(Pack(value)) {}
    TByteRange Load() const { return Unpack(FBits.load()); }
    void Store(TByteRange value) { FBits.store(Pack(value)); }
    TByteRange Exchange(TByteRange value) { return Unpack(FBits.exchange(Pack(value))); }
    template <class F> void Update(F change)
    {
        std::uint64_t old = FBits.load();
        while (!FBits.compare_exchange_weak(old, Pack(change(Unpack(old))))) {
        }
    }

private:
    static std::uint64_t Pack(TByteRange r)
    {
        return static_cast<std::uint32_t>(r.Start) |
               (static_cast<std::uint64_t>(static_cast<std::uint32_t>(r.End)) << 32);
    }
    static TByteRange Unpack(std::uint64_t bits)
    {
        return {static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)),
                static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32))};
    }

    std::atomic<std::uint64_t> FBits;
};

std::int16_t EngineScaleSample(double value, double volume, int& clipped)
{
    double v = std::nearbyint(value * volume);
    if (v > 32767) {
        ++clipped;
        return 32767;
    }
    if (v < -32768) {
        ++clipped;
        return -32768;
    }
    if (std::isnan(v)) // 0 x an infinite volume
        return 0;
    return static_cast<std::int16_t>(v);
}

bool EngineNeedsConversion(int channels, int bits, TOutputMode mode, double volume)
{
    return bits == 16 && ((mode != TOutputMode::NoTouch && channels == 2) || volume != 1.0);
}

} // namespace

// The values callers change during playback; the playback thread reads them
// at every chunk.
struct TPlaybackControls
{
    std::atomic<bool> Loop{false};
    std::atomic<TOutputMode> OutputMode{TOutputMode::NoTouch};
    std::atomic<double> Volume{1.0};
    TAtomicByteRange LoopRange{{0, 0}};
    // A jump or a new end that the next chunk takes up (and clears).
    TAtomicByteRange PendingRange{kNoRange};
};

namespace {

enum class TPlayCommand : std::uint8_t
{
    None,
    Play,
    Stop
};

// Everything one playback needs, made by Play and handed to the thread with
// the play command; the thread owns it from then on.
struct TPlayOrder
{
    std::unique_ptr<TFileByteSource> File; // the WAV file, others may only read it
    std::uint16_t Channels = 0;
    std::uint16_t Bits = 0;
    std::uint32_t Rate = 0;        // frames per second
    std::uint32_t SampleStart = 0; // file offset of the sample data
    std::int64_t DataEnd = 0;      // bytes of whole frames in the sample data
    std::int64_t StartByte = 0;    // where playback starts
    std::int64_t BytesLeft = 0;    // bytes of the range from StartByte
    std::uint32_t ChunkSize = 0;   // bytes per device buffer, whole frames
    std::uint16_t BufCount = 0;    // device buffers
    std::uint32_t DeviceID = WAVE_MAPPER;
    TNotifyEvent OnPlayStart;
    TNotifyEvent OnPlayStop;
    TNotifyEvent OnPlayEnd;
    TNotifyEvent OnClip;
    TChunkHook ChunkHook;

    std::uint32_t BlockAlign() const { return Channels * Bits / 8u; }
};

enum class TBufferState : std::uint8_t
{
    Free = 1,
    Queued = 2,
    Filled = 3
};

struct TDeviceBuffer
{
    WAVEHDR* Header;      // in the playback heap
    std::uint8_t* Data;   // in the playback heap, ChunkSize bytes
    std::uint32_t Length; // bytes of the chunk in Data
    std::int64_t Start;   // the queued position at which the chunk was taken
    TBufferState State;
};

void EngineRaise(const TNotifyEvent& event, TObject* sender)
{
    if (!event)
        return;
    try {
        event(sender);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}

DWORD EngineSleepTime(const TPlayOrder& order)
{
    std::uint64_t bytesPerSecond =
        static_cast<std::uint64_t>(order.Channels) * order.Rate * order.Bits / 8;
    if (bytesPerSecond == 0)
        return kMaxSleepMs;
    std::uint64_t ms = (static_cast<std::uint64_t>(order.ChunkSize) * 1000 / bytesPerSecond) / 2;
    return static_cast<DWORD>(std::clamp<std::uint64_t>(ms, 1, kMaxSleepMs));
}

} // namespace

// Raises OnPlayEnd away from the playback thread: once for every Signal, in
// order, none lost while a handler runs.
class TOnPlayEndThread : public TThread
{
public:
    explicit TOnPlayEndThread(TObject* sender) : TThread(true), FSender(sender)
    {
        FSignals = CreateSemaphoreA(nullptr, 0, std::numeric_limits<LONG>::max(), nullptr);
        if (!FSignals)
            RaiseLastOSError();
        Resume();
    }

    ~TOnPlayEndThread() override
    {
        Terminate();
        ReleaseSemaphore(FSignals, 1, nullptr);
        WaitFor();
        CloseHandle(FSignals);
    }

    void SetHandler(const TNotifyEvent& handler)
    {
        std::lock_guard<std::mutex> guard(FLock);
        FHandler = handler;
    }

    void Signal() { ReleaseSemaphore(FSignals, 1, nullptr); }

    // Forgets the ends whose handler has not begun.
    void DropPending()
    {
        while (WaitForSingleObject(FSignals, 0) == WAIT_OBJECT_0) {
        }
    }

protected:
    void Execute() override
    {
        for (;;) {
            WaitForSingleObject(FSignals, INFINITE);
            if (Terminated())
                return;
            TNotifyEvent handler;
            {
                std::lock_guard<std::mutex> guard(FLock);
                handler = FHandler;
            }
            EngineRaise(handler, FSender);
        }
    }

private:
    TObject* FSender;      // not owned: the engine
    HANDLE FSignals;       // owned; counts the ends not yet reported
    std::mutex FLock;      // guards FHandler
    TNotifyEvent FHandler; // copied from the last play command
};

// Streams the range of each play command to the device: reads the file chunk
// by chunk, converts, keeps a ring of device buffers filled, follows jumps,
// range changes and the loop, and detects the end.
class TDirectWavEngineThread : public TThread
{
public:
    TDirectWavEngineThread(TObject* sender, TPlaybackControls& controls, TWaveOutDevice& device)
        : TThread(true), FSender(sender), FControls(controls), FDevice(device)
    {
        FCommandEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        FTakenEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        FSendLock = CreateMutexA(nullptr, FALSE, nullptr);
        if (!FCommandEvent || !FTakenEvent || !FSendLock)
            RaiseLastOSError();
        FPlayEndThread = std::make_unique<TOnPlayEndThread>(sender);
        SetPriority(TThreadPriority::tpHighest);
        Resume();
    }

    ~TDirectWavEngineThread() override
    {
        Terminate();
        SetEvent(FCommandEvent);
        WaitFor();
        FPlayEndThread.reset();
        CloseHandle(FCommandEvent);
        CloseHandle(FTakenEvent);
        CloseHandle(FSendLock);
    }

    void SendPlay(std::unique_ptr<TPlayOrder> order)
    {
        SendCommand(TPlayCommand::Play, std::move(order));
    }

    // Returns at once when the thread is idle and has no command to take.
    // Otherwise, once it returns, a playback that ended by itself has also
    // finished reporting; ends not yet handed to OnPlayEnd are then dropped,
    // so no OnPlayEnd of an earlier playback begins after this returns.
    void SendStop()
    {
        bool idle;
        {
            std::lock_guard<std::mutex> guard(FCommandLock);
            idle = FIdle.load() && FCommand == TPlayCommand::None;
        }
        if (!idle)
            SendCommand(TPlayCommand::Stop, nullptr);
        FPlayEndThread->DropPending();
    }

    bool Playing() const { return FPlaying.load(); }
    std::int64_t QueuedPosition() const { return FQueuedPos.load(std::memory_order_relaxed); }
    HWAVEOUT DeviceHandle() const { return FHandle.load(); }

protected:
    void Execute() override
    {
        while (!Terminated()) {
            RunPass();
            WaitForSingleObject(FCommandEvent, FPlaying.load() ? FSleepMs : INFINITE);
        }
        if (FPlaying.load()) {
            CloseDeviceQuietly();
            ReleasePlayback();
        }
        AnswerCommandLeftAtExit();
    }

private:
    // The handshake: one sender at a time sets the command and waits until
    // the thread has carried it out (never called on the thread itself).
    void SendCommand(TPlayCommand command, std::unique_ptr<TPlayOrder> order)
    {
        WaitServingSynchronize(FSendLock);
        {
            std::lock_guard<std::mutex> guard(FCommandLock);
            if (Terminated()) {
                ReleaseMutex(FSendLock);
                return;
            }
            FCommand = command;
            FOrderSent = std::move(order);
        }
        SetEvent(FCommandEvent);
        WaitServingSynchronize(FTakenEvent);
        ReleaseMutex(FSendLock);
    }

    void AnswerCommandLeftAtExit()
    {
        std::lock_guard<std::mutex> guard(FCommandLock);
        if (FCommand != TPlayCommand::None) {
            FCommand = TPlayCommand::None;
            FOrderSent.reset();
            SetEvent(FTakenEvent);
        }
    }

    // One pass: the command, if any, then the buffers. An error ends the
    // playback (everything released, the pending range cleared) and is
    // reported once the sender has been answered.
    void RunPass()
    {
        TPlayCommand command;
        std::unique_ptr<TPlayOrder> order;
        {
            std::lock_guard<std::mutex> guard(FCommandLock);
            command = FCommand;
            order = std::move(FOrderSent);
        }
        std::exception_ptr error;
        if (command != TPlayCommand::None) {
            try {
                CarryOut(command, std::move(order));
            } catch (...) {
                error = std::current_exception();
                AbandonPlayback(false);
            }
            {
                std::lock_guard<std::mutex> guard(FCommandLock);
                FCommand = TPlayCommand::None;
            }
            SetEvent(FTakenEvent);
        }
        if (!error && FPlaying.load()) {
            try {
                ServiceBuffers();
            } catch (...) {
                error = std::current_exception();
                AbandonPlayback(true);
            }
        }
        if (error)
            HandleCallbackException(error);
        FIdle = !FPlaying.load();
    }

    void CarryOut(TPlayCommand command, std::unique_ptr<TPlayOrder> order)
    {
        if (command == TPlayCommand::Play && !FPlaying.load() && order)
            StartPlayback(std::move(order));
        else if (command == TPlayCommand::Stop && FPlaying.load())
            EndPlayback(false);
    }

    void StartPlayback(std::unique_ptr<TPlayOrder> order)
    {
        FOrder = std::move(order);
        FPlayEndThread->SetHandler(FOrder->OnPlayEnd);
        DestroyBuffers();
        FEndOfData = false;
        FWriteIndex = 0;
        FServiceIndex = 0;
        FSleepMs = EngineSleepTime(*FOrder);
        if (!OpenDevice()) {
            ReleasePlayback();
            return;
        }
        FPlaying = true;
        FIdle = false;
        FStarted = true;
        EngineRaise(FOrder->OnPlayStart, FSender);
    }

    // Opens the device and primes it with up to BufCount chunks. False when
    // the device cannot be opened (after telling the user) or when a pending
    // range leaves nothing to play; the device is closed again then.
    bool OpenDevice()
    {
        AllocateBuffers();
        WAVEFORMATEX format = {};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = FOrder->Channels;
        format.nSamplesPerSec = FOrder->Rate;
        format.wBitsPerSample = FOrder->Bits;
        format.nBlockAlign = static_cast<WORD>(FOrder->BlockAlign());
        format.nAvgBytesPerSec = format.nBlockAlign * FOrder->Rate;
        HWAVEOUT handle = nullptr;
        if (FDevice.Open(&handle, FOrder->DeviceID, &format) != MMSYSERR_NOERROR) {
            SeamMessageBox(nullptr, DirectWavEngineText::DeviceUnusable,
                           DirectWavEngineText::DeviceUnusableCaption, MB_OK);
            DestroyBuffers();
            return false;
        }
        FHandle = handle;
        const int silence = FOrder->Bits == 8 ? 128 : 0;
        for (TDeviceBuffer& b : FBuffers) {
            *b.Header = WAVEHDR{};
            b.Header->lpData = reinterpret_cast<LPSTR>(b.Data);
            b.Header->dwBufferLength = FOrder->ChunkSize;
            b.Header->dwLoops = 1;
            std::memset(b.Data, silence, FOrder->ChunkSize);
        }
        FQueuedPos = FOrder->StartByte;
        FBytesLeft = FOrder->BytesLeft;
        for (TDeviceBuffer& b : FBuffers) {
            b.Start = 0;
            if (!FEndOfData && ReadNextChunk() == TReadResult::NothingLeft) {
                ResetDevice();
                return false;
            }
        }
        FDevice.Pause(FHandle);
        for (TDeviceBuffer& b : FBuffers) {
            if (b.State == TBufferState::Free)
                break;
            SubmitBuffer(b);
        }
        FServiceIndex = 0;
        FDevice.Restart(FHandle);
        return true;
    }

    void AllocateBuffers()
    {
        const std::uint64_t heapSize = (FOrder->ChunkSize + kHeapSlackPerBuffer) *
                                       static_cast<std::uint64_t>(FOrder->BufCount);
        if (heapSize > std::numeric_limits<SIZE_T>::max())
            throw EDirectWavEngineError(DirectWavEngineText::OutOfMemory);
        FHeap = HeapCreate(0, static_cast<SIZE_T>(heapSize), 0);
        if (!FHeap)
            throw EDirectWavEngineError(DirectWavEngineText::OutOfMemory);
        FReadBuffer = static_cast<std::uint8_t*>(HeapAlloc(FHeap, 0, FOrder->ChunkSize));
        if (!FReadBuffer)
            throw EDirectWavEngineError(DirectWavEngineText::OutOfMemory);
        FBuffers.reserve(FOrder->BufCount);
        for (unsigned i = 0; i < FOrder->BufCount; ++i) {
            auto* data = static_cast<std::uint8_t*>(HeapAlloc(FHeap, 0, FOrder->ChunkSize));
            auto* header =
                static_cast<WAVEHDR*>(HeapAlloc(FHeap, HEAP_ZERO_MEMORY, sizeof(WAVEHDR)));
            if (!data || !header)
                throw EDirectWavEngineError(DirectWavEngineText::OutOfMemory);
            FBuffers.push_back({header, data, 0, 0, TBufferState::Free});
        }
    }

    void DestroyBuffers()
    {
        FBuffers.clear();
        FReadBuffer = nullptr;
        if (FHeap)
            HeapDestroy(FHeap);
        FHeap = nullptr;
    }

    enum class TReadResult
    {
        Queued,
        NothingLeft
    };

    // Reads, converts and queues the next chunk of the range, after taking up
    // the loop restart and the pending range. NothingLeft when a pending
    // range leaves nothing to play: the caller ends playback and touches the
    // buffers no more. A read that comes back empty marks the end of data.
    TReadResult ReadNextChunk()
    {
        if (FControls.Loop.load(std::memory_order_relaxed) && FBytesLeft <= 0) {
            TByteRange loop = FControls.LoopRange.Load();
            FQueuedPos = loop.Start;
            FBytesLeft = static_cast<std::int64_t>(loop.End) - loop.Start;
        }
        TByteRange pending = FControls.PendingRange.Exchange(kNoRange);
        if (pending.Start != kNoPosition || pending.End != kNoPosition) {
            if (pending.Start != kNoPosition)
                FQueuedPos = pending.Start;
            std::int64_t end = pending.End != kNoPosition ? pending.End : FOrder->DataEnd;
            FBytesLeft = end - FQueuedPos.load(std::memory_order_relaxed);
            if (FBytesLeft < 1)
                return TReadResult::NothingLeft;
        }
        auto want =
            static_cast<std::uint32_t>(std::clamp<std::int64_t>(FBytesLeft, 0, FOrder->ChunkSize));
        std::size_t got = 0;
        if (want > 0)
            got = FOrder->File->ReadAt(FOrder->SampleStart + FQueuedPos.load(), FReadBuffer, want);
        got -= got % FOrder->BlockAlign();
        ConvertChunk(got);
        QueueChunk(static_cast<std::uint32_t>(got));
        FBytesLeft -= static_cast<std::int64_t>(got);
        return TReadResult::Queued;
    }

    void ConvertChunk(std::size_t bytes)
    {
        const TOutputMode mode = FControls.OutputMode.load(std::memory_order_relaxed);
        const double volume = FControls.Volume.load(std::memory_order_relaxed);
        if (bytes == 0 || !EngineNeedsConversion(FOrder->Channels, FOrder->Bits, mode, volume))
            return;
        int clipped = ConvertSamples16(reinterpret_cast<std::int16_t*>(FReadBuffer), bytes / 2,
                                       FOrder->Channels, mode, volume);
        if (FOrder->OnClip)
            for (int i = 0; i < clipped; ++i)
                EngineRaise(FOrder->OnClip, FSender);
    }

    void QueueChunk(std::uint32_t n)
    {
        TDeviceBuffer& b = FBuffers[FWriteIndex];
        if (b.State != TBufferState::Free)
            throw EDirectWavEngineError(DirectWavEngineText::BufferFull);
        if (n == 0) {
            FEndOfData = true;
            return;
        }
        if (n > FOrder->ChunkSize)
            throw EDirectWavEngineError(DirectWavEngineText::ChunkTooLarge);
        std::memcpy(b.Data, FReadBuffer, n);
        b.Length = n;
        b.Start = FQueuedPos.load();
        FQueuedPos = b.Start + n;
        b.State = TBufferState::Filled;
        FWriteIndex = (FWriteIndex + 1) % FBuffers.size();
    }

    void SubmitBuffer(TDeviceBuffer& b)
    {
        b.Header->dwBufferLength = b.Length;
        FDevice.PrepareHeader(FHandle, b.Header);
        if (FOrder->ChunkHook)
            FOrder->ChunkHook(b.Start, b.Data, b.Length);
        FDevice.Write(FHandle, b.Header);
        b.State = TBufferState::Queued;
    }

    void UnprepareBuffer(TDeviceBuffer& b)
    {
        if (!UnprepareBufferWithin(b, kUnprepareLimitMs))
            throw EDirectWavEngineError(DirectWavEngineText::CannotClose);
    }

    bool UnprepareBufferWithin(TDeviceBuffer& b, DWORD limitMs)
    {
        const DWORD start = SeamTickCount();
        while (FDevice.UnprepareHeader(FHandle, b.Header) == WAVERR_STILLPLAYING) {
            if (SeamTickCount() - start > limitMs)
                return false;
            Sleep(1);
        }
        return true;
    }

    // Takes back every buffer the device has played, in ring order, refills
    // and requeues it, and ends playback once the data has ended and the
    // device holds no buffer any more.
    void ServiceBuffers()
    {
        for (;;) {
            if (FEndOfData && !AnyBufferQueued()) {
                EndPlayback(true);
                return;
            }
            TDeviceBuffer& b = FBuffers[FServiceIndex];
            if (!(b.Header->dwFlags & WHDR_DONE))
                return;
            UnprepareBuffer(b);
            if (b.State == TBufferState::Queued) {
                b.State = TBufferState::Free;
                if (!FEndOfData && ReadNextChunk() == TReadResult::NothingLeft) {
                    EndPlayback(true);
                    return;
                }
            }
            if (b.State == TBufferState::Filled)
                SubmitBuffer(b);
            FServiceIndex = (FServiceIndex + 1) % FBuffers.size();
        }
    }

    bool AnyBufferQueued() const
    {
        return std::any_of(FBuffers.begin(), FBuffers.end(),
                           [](const TDeviceBuffer& b) { return b.State == TBufferState::Queued; });
    }

    // byItself: the end of the data or of a changed range, not a stop command.
    void EndPlayback(bool byItself)
    {
        ResetDevice();
        ReleasePlayback();
        RaiseStopEvents(byItself);
    }

    // After an error: releases whatever is held, ignoring further errors.
    void AbandonPlayback(bool byItself) noexcept
    {
        CloseDeviceQuietly();
        ReleasePlayback();
        RaiseStopEvents(byItself);
    }

    void ResetDevice()
    {
        if (FDevice.Reset(FHandle) != MMSYSERR_NOERROR)
            throw EDirectWavEngineError(DirectWavEngineText::CannotStop);
        for (TDeviceBuffer& b : FBuffers)
            if (b.State != TBufferState::Free)
                UnprepareBuffer(b);
        if (FDevice.Close(FHandle) != MMSYSERR_NOERROR)
            throw EDirectWavEngineError(DirectWavEngineText::CannotClose);
        FHandle = nullptr;
        DestroyBuffers();
    }

    // After an error. A device that neither resets nor closes may still read
    // the buffers, so their heap is then left alone rather than freed.
    void CloseDeviceQuietly() noexcept
    {
        if (!FHandle.load())
            return;
        bool released = FDevice.Reset(FHandle) == MMSYSERR_NOERROR;
        for (TDeviceBuffer& b : FBuffers)
            if (b.State != TBufferState::Free)
                released = UnprepareBufferWithin(b, kUnprepareLimitMs) && released;
        released = FDevice.Close(FHandle) == MMSYSERR_NOERROR && released;
        FHandle = nullptr;
        if (!released) {
            FBuffers.clear();
            FReadBuffer = nullptr;
            FHeap = nullptr;
        }
    }

    // Playback is over: buffers, heap and file are released, and a jump or
    // range change not taken up dies with it instead of steering the next
    // play.
    void ReleasePlayback() noexcept
    {
        DestroyBuffers();
        FControls.PendingRange.Store(kNoRange);
        if (FOrder)
            FOrder->File.reset();
        FPlaying = false;
    }

    // Only a playback that started reports its stop.
    void RaiseStopEvents(bool byItself)
    {
        if (!FStarted)
            return;
        FStarted = false;
        EngineRaise(FOrder->OnPlayStop, FSender);
        if (byItself && FOrder->OnPlayEnd)
            FPlayEndThread->Signal();
    }

    TObject* FSender;             // not owned: the engine, Sender of every event
    TPlaybackControls& FControls; // not owned: the engine's live values
    TWaveOutDevice& FDevice;      // not owned
    std::unique_ptr<TOnPlayEndThread> FPlayEndThread;

    // The handshake.
    HANDLE FCommandEvent = nullptr; // owned, auto-reset: a command waits (or terminate)
    HANDLE FTakenEvent = nullptr;   // owned, auto-reset: the command was carried out
    HANDLE FSendLock = nullptr;     // owned mutex: one sender at a time
    std::mutex FCommandLock;        // guards FCommand and FOrderSent
    TPlayCommand FCommand = TPlayCommand::None;
    std::unique_ptr<TPlayOrder> FOrderSent; // handed over with a play command

    // Shared with callers.
    std::atomic<bool> FPlaying{false};
    std::atomic<bool> FIdle{true};           // stopped, and done reporting the last stop
    std::atomic<std::int64_t> FQueuedPos{0}; // bytes from the data start past the last chunk queued
    std::atomic<HWAVEOUT> FHandle{nullptr};  // the open device

    // The current playback, touched by this thread only.
    std::unique_ptr<TPlayOrder> FOrder;  // the last play command's order
    bool FStarted = false;               // OnPlayStart was raised and no stop yet
    HANDLE FHeap = nullptr;              // owned: every buffer of one playback
    std::uint8_t* FReadBuffer = nullptr; // in FHeap, ChunkSize bytes
    std::vector<TDeviceBuffer> FBuffers; // the ring, BufCount buffers
    std::size_t FWriteIndex = 0;         // the next buffer to fill
    std::size_t FServiceIndex = 0;       // the next buffer expected back
    std::int64_t FBytesLeft = 0;         // bytes of the range still to read
    bool FEndOfData = false;             // a read came back empty
    DWORD FSleepMs = kMaxSleepMs;        // between passes: half a buffer's duration
};

void GetWavInfo(TWavInfo& info)
{
    info.IsPlayable = false;
    DWORD attributes = GetFileAttributesA(info.Path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (!HasWavExtension(info.Path))
        return;
    TFileByteSource file(info.Path);
    if (!file.IsOpen())
        return;
    if (ReadWavHeader(file, info))
        info.Date = file.LastWriteTime();
}

int ConvertSamples16(std::int16_t* samples, std::size_t count, int channels, TOutputMode mode,
                     double volume)
{
    int clipped = 0;
    if (channels != 2) {
        for (std::size_t i = 0; i < count; ++i)
            samples[i] = EngineScaleSample(samples[i], volume, clipped);
        return clipped;
    }
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        const double l = samples[i];
        const double r = samples[i + 1];
        double outL = l;
        double outR = r;
        switch (mode) {
        case TOutputMode::NoTouch:
            break;
        case TOutputMode::MonoMix:
            outL = outR = std::nearbyint((l + r) / 2);
            break;
        case TOutputMode::MonoLeft:
            outR = l;
            break;
        case TOutputMode::MonoRight:
            outL = r;
            break;
        case TOutputMode::Swap:
            outL = r;
            outR = l;
            break;
        }
        samples[i] = EngineScaleSample(outL, volume, clipped);
        samples[i + 1] = EngineScaleSample(outR, volume, clipped);
    }
    return clipped;
}

TDirectWavEngine::TDirectWavEngine(TComponent* AOwner) : TComponent(AOwner)
{
    StartPlaybackThread(TSystemWaveOut::Instance());
}

TDirectWavEngine::TDirectWavEngine(TComponent* AOwner, TWaveOutDevice& device) : TComponent(AOwner)
{
    StartPlaybackThread(device);
}

void TDirectWavEngine::StartPlaybackThread(TWaveOutDevice& device)
{
    FControls = std::make_unique<TPlaybackControls>();
    if (Owner() && Owner()->HasState(csDesigning))
        return;
    FThread = std::make_unique<TDirectWavEngineThread>(this, *FControls, device);
}

TDirectWavEngine::~TDirectWavEngine()
{
    if (FThread) {
        Stop();
        FThread.reset();
    }
}

bool TDirectWavEngine::LoadFile(const AnsiString& path)
{
    EndSampleReads();
    ResetWavInfo(FPlayInfo);
    FPlayInfo.Path = path;
    GetWavInfo(FPlayInfo);
    if (FPlayInfo.IsPlayable)
        FInfo = FPlayInfo;
    // Offsets meant for the previous file mean nothing in this one.
    FControls->PendingRange.Store(kNoRange);
    return FPlayInfo.IsPlayable;
}

void TDirectWavEngine::InitWavInfo()
{
    EndSampleReads();
    ResetWavInfo(FInfo);
}

std::int64_t TDirectWavEngine::FrameBytes(std::int64_t frames) const
{
    return frames * FPlayInfo.BlockSize;
}

bool TDirectWavEngine::CanCommandThread() const
{
    return FThread && GetCurrentThreadId() != FThread->ThreadID();
}

void TDirectWavEngine::Play(int Start, int End)
{
    if (!CanCommandThread() || !FPlayInfo.IsPlayable || Start < 0 || End <= Start ||
        End > FPlayInfo.SampleSize)
        return;
    Stop();
    auto file = std::make_unique<TFileByteSource>(FPlayInfo.Path, FILE_SHARE_READ);
    if (!file->IsOpen())
        return;
    const std::uint32_t blockAlign = FPlayInfo.BlockSize;
    auto order = std::make_unique<TPlayOrder>();
    order->File = std::move(file);
    order->Channels = FPlayInfo.Channel;
    order->Bits = FPlayInfo.Bit;
    order->Rate = FPlayInfo.Rate;
    order->SampleStart = FPlayInfo.SampleStart;
    order->DataEnd = FrameBytes(FPlayInfo.SampleSize);
    order->StartByte = FrameBytes(Start);
    order->BytesLeft = FrameBytes(End) - FrameBytes(Start);
    // A chunk that split a frame would scramble the conversion.
    order->ChunkSize = std::max(blockAlign, FBufSize - FBufSize % blockAlign);
    order->BufCount = FBufCount;
    order->DeviceID = FDeviceID;
    order->OnPlayStart = OnPlayStart;
    order->OnPlayStop = OnPlayStop;
    order->OnPlayEnd = OnPlayEnd;
    order->OnClip = OnClip;
    order->ChunkHook = FChunkHook;
    FControls->LoopRange.Store(
        {static_cast<std::int32_t>(FrameBytes(Start)), static_cast<std::int32_t>(FrameBytes(End))});
    KeepOnlyPendingJump(End);
    FThread->SendPlay(std::move(order));
}

// A range set while nothing played (the window may set one between the
// natural end and learning of it) must not stretch or cut the play about to
// start: only a jump survives, and the play still ends at its own End.
void TDirectWavEngine::KeepOnlyPendingJump(int End)
{
    const auto end = static_cast<std::int32_t>(FrameBytes(End));
    FControls->PendingRange.Update([end](TByteRange r) {
        return r.Start == kNoPosition ? kNoRange : TByteRange{r.Start, end};
    });
}

void TDirectWavEngine::Stop()
{
    if (CanCommandThread())
        FThread->SendStop();
}

void TDirectWavEngine::Seek(int Sample)
{
    auto start = static_cast<std::int32_t>(
        FrameBytes(std::clamp<std::int64_t>(Sample, 0, FPlayInfo.SampleSize)));
    FControls->PendingRange.Update([start](TByteRange r) { return TByteRange{start, r.End}; });
}

int TDirectWavEngine::GetPosition() const
{
    if (!FThread || FPlayInfo.BlockSize == 0)
        return 0;
    return static_cast<int>(FThread->QueuedPosition() / FPlayInfo.BlockSize);
}

bool TDirectWavEngine::IsRangeAllowed(int Start, int End) const
{
    if (Start < kNoPosition || End < kNoPosition)
        return false;
    if (Start != kNoPosition && End != kNoPosition && End <= Start)
        return false;
    return End <= FPlayInfo.SampleSize;
}

// The frames as byte offsets; -1 stays -1, a start past the data is its end.
TByteRange TDirectWavEngine::RangeBytes(int Start, int End) const
{
    TByteRange r = kNoRange;
    if (Start != kNoPosition)
        r.Start = static_cast<std::int32_t>(FrameBytes(std::min(Start, FPlayInfo.SampleSize)));
    if (End != kNoPosition)
        r.End = static_cast<std::int32_t>(FrameBytes(End));
    return r;
}

void TDirectWavEngine::SetPlayRange(int Start, int End)
{
    if (!IsRangeAllowed(Start, End) || (End != kNoPosition && End < GetPosition()))
        return;
    FControls->PendingRange.Store(RangeBytes(Start, End));
}

void TDirectWavEngine::SetLoopRange(int Start, int End)
{
    if (!IsRangeAllowed(Start, End))
        return;
    const TByteRange given = RangeBytes(Start, End);
    FControls->LoopRange.Update([given](TByteRange r) {
        return TByteRange{given.Start != kNoPosition ? given.Start : r.Start,
                          given.End != kNoPosition ? given.End : r.End};
    });
}

bool TDirectWavEngine::MaySampleRead(int Count, int BytePosition) const
{
    return FPlayInfo.IsPlayable && FPlayInfo.Bit == 16 && Count >= 0 && BytePosition >= 0 &&
           static_cast<std::uint32_t>(BytePosition) < FPlayInfo.DataSize;
}

void TDirectWavEngine::RaiseCannotOpen() const
{
    DWORD code = GetLastError();
    throw EFOpenError("Cannot open file \"" + FPlayInfo.Path + "\". " + SysErrorMessage(code));
}

int TDirectWavEngine::ReadSamples(std::int16_t* Buffer, int LastIndex, int BytePosition)
{
    if (!MaySampleRead(LastIndex, BytePosition))
        return -1;
    Stop();
    TFileByteSource file(FPlayInfo.Path);
    if (!file.IsOpen())
        RaiseCannotOpen();
    const std::size_t want = (static_cast<std::size_t>(LastIndex) + 1) * sizeof(std::int16_t);
    std::size_t got =
        file.ReadAt(static_cast<std::uint64_t>(FPlayInfo.SampleStart) + BytePosition, Buffer, want);
    std::memset(reinterpret_cast<std::uint8_t*>(Buffer) + got, 0, want - got);
    return static_cast<int>(got);
}

const std::int16_t* TDirectWavEngine::ViewSamples(int Count, int BytePosition)
{
    const std::uint64_t bytes = static_cast<std::uint64_t>(Count) * sizeof(std::int16_t);
    if (Count <= 0 || !MaySampleRead(Count, BytePosition) ||
        BytePosition + bytes > FPlayInfo.DataSize)
        return nullptr;
    Stop();
    if (!FSampleMapping || !FSampleMapping->IsOpen()) {
        FSampleMapping = std::make_unique<TFileMapping>(FPlayInfo.Path);
        if (!FSampleMapping->IsOpen())
            RaiseCannotOpen();
    }
    return static_cast<const std::int16_t*>(
        FSampleMapping->View(static_cast<std::uint64_t>(FPlayInfo.SampleStart) + BytePosition,
                             static_cast<std::size_t>(bytes)));
}

bool TDirectWavEngine::ReadSamplesGuarded(void (*read)(void* context), void* context) const
{
    if (!FSampleMapping) {
        read(context);
        return true;
    }
    return FSampleMapping->ReadGuarded(read, context);
}

void TDirectWavEngine::BeginSampleReads()
{
    EndSampleReads();
    if (FPlayInfo.IsPlayable)
        FSampleMapping = std::make_unique<TFileMapping>(FPlayInfo.Path);
}

void TDirectWavEngine::EndSampleReads()
{
    FSampleMapping.reset();
}

bool TDirectWavEngine::IsPlaying() const
{
    return FThread && FThread->Playing();
}

bool TDirectWavEngine::Loop() const
{
    return FControls->Loop.load();
}

void TDirectWavEngine::SetLoop(bool value)
{
    FControls->Loop = value;
}

TOutputMode TDirectWavEngine::OutputMode() const
{
    return FControls->OutputMode.load();
}

void TDirectWavEngine::SetOutputMode(TOutputMode value)
{
    FControls->OutputMode = value;
}

double TDirectWavEngine::Volume() const
{
    return FControls->Volume.load();
}

void TDirectWavEngine::SetVolume(double value)
{
    FControls->Volume = (value >= 0) ? value : 0.0;
}

void TDirectWavEngine::SetBufSize(std::uint32_t value)
{
    FBufSize = std::max(value, kMinBufSize);
}

void TDirectWavEngine::SetBufCount(std::uint16_t value)
{
    FBufCount = std::clamp<std::uint16_t>(value, 1, kMaxBufCount);
}

HWAVEOUT TDirectWavEngine::lhWaveOut() const
{
    return FThread ? FThread->DeviceHandle() : nullptr;
}
