// The sound-card input: a pipeline input that records PCM from a wave-in
// device.
//
//   TAudioIn   the input, with its format, device and time limit; the device
//              count and names (through the seams, so tests can set them)
//
// Threads: the main thread sets the properties and opens the input (the
// writer's BeginOutput); the output's worker thread calls ReadData and
// CloseInput; the device calls back on a thread of the multimedia system,
// which only links each returned buffer into the filled list (under the unit
// lock) and wakes the reader.
//
// Every wait is bounded: a device that stops handing buffers back ends the
// recording (ReadData returns 0), and closing returns even when the device
// keeps its buffers. A recording never grows beyond what a WAV file's 32-bit
// sizes can hold.
#pragma once

#include "PipeClasses.h"
#include "WaveInDevice.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

class TAudioIn : public TPipeInput
{
public:
    // Bytes of each device buffer, and how many stay queued while recording.
    static constexpr int kDeviceBufferBytes = 16384;
    static constexpr int kQueuedBuffers = 4;

    // Records from the system's wave-in devices.
    explicit TAudioIn(TComponent* AOwner);
    // Records from another device (not owned; it outlives the input).
    TAudioIn(TComponent* AOwner, TWaveInDevice& Device);
    ~TAudioIn() override;

    // The wave-in devices the system reports, in device-id order.
    static std::vector<AnsiString> DeviceNames();
    static int DeviceCount();

    // The wave-in device index. Raises "Component is buisy" while busy and
    // "Channel <n> is not available" for an index not below DeviceCount().
    int BaseChannel() const { return FBaseChannel; }
    void SetBaseChannel(int Value);
    int InBitsPerSample() const { return FInBitsPerSample; }
    void SetInBitsPerSample(int Value) { FInBitsPerSample = Value; }
    int InChannels() const { return FInChannels; }
    void SetInChannels(int Value) { FInChannels = Value; }
    int InSampleRate() const { return FInSampleRate; }
    void SetInSampleRate(int Value) { FInSampleRate = Value; }
    // Seconds to record; -1 for no limit.
    int RecTime() const { return FRecTime; }
    void SetRecTime(int Value) { FRecTime = Value; }

    int GetBitsPerSample() override { return FInBitsPerSample; }
    int GetChannels() override { return FInChannels; }
    int GetSampleRate() override { return FInSampleRate; }
    int GetDuration() override { return FRecTime; }
    // Opens the device and starts recording. Size is the byte limit of
    // RecTime, or -1 without a limit. Raises "The component is busy", and
    // "Cannot open the input device." when the device refuses to open or
    // start (nothing stays open then).
    void OpenInput() override;
    // Copies recorded bytes, keeping four buffers queued at the device.
    // Returns 0 once the limit was reached (tested before each call, so the
    // last call may deliver up to one buffer beyond it), at the largest whole
    // number of frames a WAV file can hold, and when the device hands nothing
    // back within twice a buffer's duration plus a second.
    int ReadData(void* Buffer, int Count) override;
    // Stops the device, waits (bounded) for its buffers and closes it;
    // sound recorded after the last ReadData is dropped.
    void CloseInput() override;

    // Nested opens of the device: the first opens it, the last close closes it.
    void OpenDevice();
    void CloseDevice();

private:
    // One device buffer: the system's header, our link for the filled list,
    // and the bytes the device fills.
    struct TInBuffer
    {
        WAVEHDR Header;
        TInBuffer* Next;
        std::uint8_t Data[kDeviceBufferBytes];
    };

    static void CALLBACK DeviceCallback(HWAVEIN handle, UINT message, DWORD_PTR instance,
                                        DWORD_PTR param1, DWORD_PTR param2);
    void BufferReturned(WAVEHDR* header);
    WAVEFORMATEX RecordingFormat() const;
    MMRESULT OpenWithFallback(const WAVEFORMATEX& format);
    void ComputeLimits();
    bool RecordingComplete(std::int64_t position) const;
    void TopUpDevice();
    bool AddBuffer();
    bool RefillCopyBuffer();
    TInBuffer* TakeFilledBuffer(bool& nothingPending);
    TInBuffer* WaitForFilledBuffer(DWORD timeoutMs);
    void WaitForQueuedBuffers(DWORD timeoutMs);
    void FreeBuffer(TInBuffer* buffer);
    void FreeFilledBuffers();
    void EmptyFilledList();

    TWaveInDevice& FDevice; // not owned
    int FBaseChannel = 0;
    int FInBitsPerSample = 8;
    int FInChannels = 1;
    int FInSampleRate = 8000; // Hz
    int FRecTime = 600;       // seconds; -1 no limit

    // Buffers the device handed back, oldest first; guarded by the unit lock.
    TInBuffer* FFilledFirst = nullptr;       // owned
    TInBuffer** FFilledLast = &FFilledFirst; // where the next returned buffer is linked
    std::atomic<int> FQueued{0};             // buffers handed to the device and not yet returned
    HANDLE FReturnedEvent = nullptr;         // owned; auto-reset, set whenever a buffer comes back
    HWAVEIN FHandle = nullptr;               // the open device
    DWORD_PTR FSerial = 0;                   // this recorder's number, told to the device
    int FOpenCount = 0;                      // nesting of OpenDevice

    // The current buffer's bytes, read through FBufStart / FBufEnd.
    std::array<std::uint8_t, kDeviceBufferBytes> FCopy{};
    // Fixed at OpenInput for the recording:
    std::int64_t FByteLimit = -1; // bytes of RecTime; negative without a limit
    std::int64_t FByteCap = 0;    // most bytes any recording of this format may hold
    DWORD FWaitLimitMs = 0;       // longest wait for the device to hand a buffer back
};
