// A wave-in device for tests that behaves as the system's devices do: it
// calls back WIM_OPEN when opened and WIM_CLOSE when closed, hands filled
// buffers back (WIM_DATA) on a thread of its own at a set pace, hands every
// queued buffer back on Reset, and refuses to close or unprepare while it
// holds buffers. Tests set how it answers (failed opens, a failed start, a
// device that never hands anything back) and read what happened.
#pragma once

#include "audio/WaveInDevice.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace testing_support {

class TFakeWaveInDevice : public TWaveInDevice
{
public:
    enum class TDelivery
    {
        Paced,    // one buffer every PaceMs, on the device's thread
        OnDemand, // as fast as the reader takes them: one buffer whenever every
                  // buffer handed back was unprepared (on the caller's thread)
        Never     // keeps every buffer until Reset
    };

    TFakeWaveInDevice();
    ~TFakeWaveInDevice() override;

    MMRESULT Open(HWAVEIN* handle, UINT deviceId, const WAVEFORMATEX* format, TWaveInProc callback,
                  DWORD_PTR instance, DWORD flags) override;
    MMRESULT Close(HWAVEIN handle) override;
    MMRESULT PrepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT UnprepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT AddBuffer(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT Start(HWAVEIN handle) override;
    MMRESULT Reset(HWAVEIN handle) override;

    // A broken driver waking up late: hands back every buffer it still
    // holds, on the caller's thread.
    void HandBackHeld();

    // The byte the device records at offset (counted over every byte it
    // delivered since it was opened).
    static std::uint8_t PatternByte(std::uint64_t offset)
    {
        return static_cast<std::uint8_t>(offset % 251);
    }

    // Settings, made before the device is opened.
    MMRESULT OpenResult = MMSYSERR_NOERROR;       // answer to every open
    MMRESULT MappedOpenResult = MMSYSERR_NOERROR; // answer to opens with WAVE_MAPPED
    MMRESULT StartResult = MMSYSERR_NOERROR;
    TDelivery Delivery = TDelivery::Paced;
    DWORD PaceMs = 1;         // between two buffers (Paced)
    bool FillPattern = true;  // false: recorded bytes are left as they were
    int EmptyEvery = 0;       // every n-th buffer comes back with no bytes; 0 never
    bool KeepOnReset = false; // a broken driver: Reset keeps the buffers

    // What happened.
    std::vector<DWORD> OpenFlags; // flags of every open attempt
    UINT OpenedDeviceId = 0;
    WAVEFORMATEX OpenedFormat = {};
    std::atomic<int> Closes{0};
    std::atomic<int> Resets{0};
    std::atomic<int> Delivered{0};   // buffers handed back with bytes
    std::atomic<int> MaxQueued{0};   // most buffers held at once
    std::atomic<int> PreparedNow{0}; // headers prepared and not unprepared

private:
    static DWORD WINAPI DeliveryThread(void* param);
    void DeliverPaced();
    void StopDelivery();
    WAVEHDR* PopQueued();
    void HandBack(WAVEHDR* header, bool withBytes);
    void HandBackOnDemand();
    void Notify(UINT message, WAVEHDR* header = nullptr);

    std::mutex FLock;            // guards FQueue
    std::deque<WAVEHDR*> FQueue; // buffers the device holds, oldest first (not owned)
    TWaveInProc FCallback = nullptr;
    DWORD_PTR FInstance = 0;
    bool FOpen = false;
    bool FStarted = false;
    std::uint64_t FOffset = 0;   // bytes delivered since opened
    int FHandedBack = 0;         // buffers handed back after filling
    int FUntaken = 0;            // buffers handed back and not yet unprepared (OnDemand)
    HANDLE FStopEvent = nullptr; // owned; manual-reset, ends the delivery thread
    HANDLE FThread = nullptr;    // owned; the delivery thread while paced and started
};

} // namespace testing_support
