#include "PipeAudio.h"

#include "classlib/Application.h"
#include "classlib/Seams.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

// The most sample bytes a WAV file can hold: its sizes are 32-bit signed
// numbers and the whole file, with its 44-byte header, must fit them.
constexpr std::int64_t kLargestWavData = 0x7FFFFFFF - 44;

// The unit lock: guards the filled-buffer list of every recorder, shared by
// the device callbacks and the readers.
class TFilledListLock
{
public:
    TFilledListLock() { InitializeCriticalSection(&FSection); }
    ~TFilledListLock() { DeleteCriticalSection(&FSection); }
    void Enter() { EnterCriticalSection(&FSection); }
    void Leave() { LeaveCriticalSection(&FSection); }

private:
    CRITICAL_SECTION FSection;
};

TFilledListLock& FilledListLock()
{
    static TFilledListLock lock;
    return lock;
}

// The recorders alive, by serial number, under the filled-list lock. The
// device is told a recorder's serial, not its address: a broken driver that
// kept its buffers past the bounded waits may call back after the recorder is
// gone (or another took its address), and such a call must find nothing.
struct TLiveRecorders
{
    std::vector<std::pair<DWORD_PTR, TAudioIn*>> Entries;
    DWORD_PTR LastSerial = 0;
};

TLiveRecorders& LiveRecorders()
{
    static TLiveRecorders live;
    return live;
}

class TFilledListGuard
{
public:
    TFilledListGuard() { FilledListLock().Enter(); }
    ~TFilledListGuard() { FilledListLock().Leave(); }
    TFilledListGuard(const TFilledListGuard&) = delete;
    TFilledListGuard& operator=(const TFilledListGuard&) = delete;
};

DWORD ElapsedSince(DWORD startTick)
{
    return SeamTickCount() - startTick;
}

} // namespace

TAudioIn::TAudioIn(TComponent* AOwner) : TAudioIn(AOwner, TSystemWaveIn::Instance()) {}

TAudioIn::TAudioIn(TComponent* AOwner, TWaveInDevice& Device) : TPipeInput(AOwner), FDevice(Device)
{
    FSize = -1;
    FReturnedEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!FReturnedEvent)
        RaiseLastOSError();
    TFilledListGuard guard;
    FSerial = ++LiveRecorders().LastSerial;
    LiveRecorders().Entries.emplace_back(FSerial, this);
}

TAudioIn::~TAudioIn()
{
    ReleaseReaders();
    if (Busy())
        CloseInput();
    if (FOpenCount > 0) {
        FOpenCount = 1;
        CloseDevice();
    }
    {
        TFilledListGuard guard;
        auto& entries = LiveRecorders().Entries;
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [this](const auto& entry) { return entry.second == this; }),
                      entries.end());
    }
    CloseHandle(FReturnedEvent);
}

std::vector<AnsiString> TAudioIn::DeviceNames()
{
    return Seams().WaveInDevices();
}

int TAudioIn::DeviceCount()
{
    return static_cast<int>(DeviceNames().size());
}

void TAudioIn::SetBaseChannel(int Value)
{
    if (Busy())
        throw EPipeException(PipeText::ComponentIsBuisy);
    if (Value >= DeviceCount())
        throw EPipeException(PipeText::ChannelPrefix + std::to_string(Value) +
                             PipeText::ChannelNotAvailableSuffix);
    FBaseChannel = Value;
}

// ---- The device -------------------------------------------------------------

WAVEFORMATEX TAudioIn::RecordingFormat() const
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(FInChannels);
    format.nSamplesPerSec = static_cast<DWORD>(FInSampleRate);
    format.wBitsPerSample = static_cast<WORD>(FInBitsPerSample);
    format.nBlockAlign = static_cast<WORD>(FInChannels * FInBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    format.cbSize = 0;
    return format;
}

MMRESULT TAudioIn::OpenWithFallback(const WAVEFORMATEX& format)
{
    UINT deviceId = static_cast<UINT>(FBaseChannel);
    DWORD_PTR instance = FSerial;
    MMRESULT result = FDevice.Open(&FHandle, deviceId, &format, DeviceCallback, instance,
                                   CALLBACK_FUNCTION | WAVE_MAPPED);
    // Wine's wave mapper refuses some formats its devices take directly.
    if (result != MMSYSERR_NOERROR && RunningUnderWine())
        result =
            FDevice.Open(&FHandle, deviceId, &format, DeviceCallback, instance, CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR)
        FHandle = nullptr;
    return result;
}

void TAudioIn::OpenDevice()
{
    if (FOpenCount == 0 && OpenWithFallback(RecordingFormat()) != MMSYSERR_NOERROR)
        throw EPipeException(PipeText::CannotOpenInputDevice);
    ++FOpenCount;
}

void TAudioIn::CloseDevice()
{
    if (FOpenCount == 0)
        return;
    if (--FOpenCount == 0) {
        FDevice.Close(FHandle);
        FHandle = nullptr;
    }
}

void CALLBACK TAudioIn::DeviceCallback(HWAVEIN, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                       DWORD_PTR)
{
    if (message != WIM_DATA)
        return;
    try {
        TFilledListGuard guard;
        for (const auto& [serial, recorder] : LiveRecorders().Entries)
            if (serial == instance) {
                recorder->BufferReturned(reinterpret_cast<WAVEHDR*>(param1));
                return;
            }
        // The recorder is gone: the buffer stays with the broken device.
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}

void TAudioIn::BufferReturned(WAVEHDR* header)
{
    auto* buffer = reinterpret_cast<TInBuffer*>(header->dwUser);
    {
        TFilledListGuard guard;
        buffer->Next = nullptr;
        *FFilledLast = buffer;
        FFilledLast = &buffer->Next;
        --FQueued;
        // Inside the lock: once a closing reader has taken the lock after the
        // count reached 0, no callback touches this recorder any more.
        SetEvent(FReturnedEvent);
    }
}

bool TAudioIn::AddBuffer()
{
    auto* buffer = new TInBuffer;
    buffer->Header = {};
    buffer->Header.lpData = reinterpret_cast<LPSTR>(buffer->Data);
    buffer->Header.dwBufferLength = kDeviceBufferBytes;
    buffer->Header.dwUser = reinterpret_cast<DWORD_PTR>(buffer);
    buffer->Next = nullptr;
    if (FDevice.PrepareHeader(FHandle, &buffer->Header) != MMSYSERR_NOERROR) {
        delete buffer;
        return false;
    }
    // Counted first: the device may hand it back before AddBuffer returns.
    ++FQueued;
    if (FDevice.AddBuffer(FHandle, &buffer->Header) != MMSYSERR_NOERROR) {
        --FQueued;
        FreeBuffer(buffer);
        return false;
    }
    return true;
}

// At most four buffers a call: a device that hands buffers back as soon as
// they are queued (a failing driver) would otherwise keep this loop going.
void TAudioIn::TopUpDevice()
{
    for (int added = 0; added < kQueuedBuffers && FQueued.load() < kQueuedBuffers; ++added) {
        if (!AddBuffer())
            return;
    }
}

void TAudioIn::FreeBuffer(TInBuffer* buffer)
{
    FDevice.UnprepareHeader(FHandle, &buffer->Header);
    delete buffer;
}

TAudioIn::TInBuffer* TAudioIn::TakeFilledBuffer(bool& nothingPending)
{
    TFilledListGuard guard;
    TInBuffer* first = FFilledFirst;
    if (first) {
        FFilledFirst = first->Next;
        if (!FFilledFirst)
            FFilledLast = &FFilledFirst;
    }
    nothingPending = !first && FQueued.load() <= 0;
    return first;
}

// The oldest returned buffer; nullptr when nothing came back within timeoutMs
// or nothing is queued that could come back.
TAudioIn::TInBuffer* TAudioIn::WaitForFilledBuffer(DWORD timeoutMs)
{
    DWORD start = SeamTickCount();
    for (;;) {
        bool nothingPending = false;
        if (TInBuffer* buffer = TakeFilledBuffer(nothingPending))
            return buffer;
        DWORD elapsed = ElapsedSince(start);
        if (nothingPending || elapsed >= timeoutMs)
            return nullptr;
        WaitForSingleObject(FReturnedEvent, timeoutMs - elapsed);
    }
}

void TAudioIn::WaitForQueuedBuffers(DWORD timeoutMs)
{
    DWORD start = SeamTickCount();
    while (FQueued.load() > 0) {
        DWORD elapsed = ElapsedSince(start);
        if (elapsed >= timeoutMs)
            return; // the device keeps them: they cannot be freed safely
        WaitForSingleObject(FReturnedEvent, timeoutMs - elapsed);
    }
}

void TAudioIn::FreeFilledBuffers()
{
    bool nothingPending = false;
    while (TInBuffer* buffer = TakeFilledBuffer(nothingPending))
        FreeBuffer(buffer);
}

void TAudioIn::EmptyFilledList()
{
    TFilledListGuard guard;
    FFilledFirst = nullptr;
    FFilledLast = &FFilledFirst;
}

// ---- Recording --------------------------------------------------------------

void TAudioIn::ComputeLimits()
{
    std::int64_t frameBytes = std::clamp<std::int64_t>(
        std::int64_t{FInChannels} * (FInBitsPerSample / 8), 0, kLargestWavData);
    std::int64_t bytesPerSecond = frameBytes * std::max(FInSampleRate, 0);
    FByteCap = kLargestWavData / std::max<std::int64_t>(frameBytes, 1) *
               std::max<std::int64_t>(frameBytes, 1);
    if (FRecTime < 0)
        FByteLimit = -1;
    else if (bytesPerSecond > 0 && FRecTime > FByteCap / bytesPerSecond)
        FByteLimit = FByteCap;
    else
        FByteLimit = std::min(bytesPerSecond * FRecTime, FByteCap);
    std::int64_t bufferMs =
        std::int64_t{kDeviceBufferBytes} * 1000 / std::max<std::int64_t>(bytesPerSecond, 1);
    FWaitLimitMs = static_cast<DWORD>(std::min<std::int64_t>(2 * bufferMs + 1000, INT_MAX));
}

void TAudioIn::OpenInput()
{
    if (Busy())
        throw EPipeException(PipeText::TheComponentIsBusy);
    FBufStart = 1;
    FBufEnd = 0;
    FPosition = 0;
    ComputeLimits();
    EmptyFilledList();
    FQueued = 0;
    OpenDevice();
    if (FDevice.Start(FHandle) != MMSYSERR_NOERROR) {
        CloseDevice();
        throw EPipeException(PipeText::CannotOpenInputDevice);
    }
    FSize = FByteLimit >= 0 ? static_cast<std::int32_t>(FByteLimit) : -1;
    FBusy = true;
}

bool TAudioIn::RecordingComplete(std::int64_t position) const
{
    return (FByteLimit >= 0 && position >= FByteLimit) || position >= FByteCap;
}

// Moves the next recorded bytes into the copy buffer; false when the device
// handed nothing back in time.
bool TAudioIn::RefillCopyBuffer()
{
    FBufStart = 1;
    FBufEnd = 0;
    DWORD start = SeamTickCount();
    for (;;) {
        DWORD elapsed = ElapsedSince(start);
        if (elapsed >= FWaitLimitMs)
            return false;
        TInBuffer* buffer = WaitForFilledBuffer(FWaitLimitMs - elapsed);
        if (!buffer)
            return false;
        DWORD recorded = std::min<DWORD>(buffer->Header.dwBytesRecorded, kDeviceBufferBytes);
        std::memcpy(FCopy.data(), buffer->Data, recorded);
        FreeBuffer(buffer);
        if (recorded > 0) {
            FBufEnd = static_cast<int>(recorded);
            return true;
        }
        TopUpDevice(); // an empty buffer came back: keep the device fed
    }
}

int TAudioIn::ReadData(void* Buffer, int Count)
{
    if (!Busy())
        throw EPipeException(PipeText::StreamNotOpened);
    std::int64_t position = Position();
    if (RecordingComplete(position))
        return 0;
    TopUpDevice();
    if (FBufStart > FBufEnd && !RefillCopyBuffer())
        return 0;
    std::int64_t n = std::min<std::int64_t>({Count, FBufEnd - FBufStart + 1, FByteCap - position});
    if (n <= 0)
        return 0;
    std::memcpy(Buffer, FCopy.data() + (FBufStart - 1), static_cast<size_t>(n));
    FBufStart += static_cast<int>(n);
    FPosition += static_cast<std::int32_t>(n);
    return static_cast<int>(n);
}

void TAudioIn::CloseInput()
{
    if (!Busy())
        return;
    FDevice.Reset(FHandle);
    WaitForQueuedBuffers(FWaitLimitMs);
    FreeFilledBuffers();
    FBufStart = 1;
    FBufEnd = 0;
    CloseDevice();
    FSize = 0;
    FBusy = false;
}
