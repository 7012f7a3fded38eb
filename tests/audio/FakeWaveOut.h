// A wave-out device for tests: it plays nothing and finishes a buffer only
// when the test says so, so the playback thread can be driven step by step.
// It can refuse to open, fail a reset, and answer "still playing" to an
// unprepare, and it records every call that breaks the device's rules
// (a header written unprepared, a call on a closed device).
#pragma once

#include "audio/WaveOutDevice.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

class FakeWaveOut : public TWaveOutDevice
{
public:
    FakeWaveOut();
    ~FakeWaveOut() override;

    MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) override;
    MMRESULT Close(HWAVEOUT handle) override;
    MMRESULT PrepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT UnprepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT Write(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT Pause(HWAVEOUT handle) override;
    MMRESULT Restart(HWAVEOUT handle) override;
    MMRESULT Reset(HWAVEOUT handle) override;

    // Behaviour, set before the calls it affects.
    void FailOpen(MMRESULT code);
    void FailNextResets(int count);
    void AnswerStillPlaying(int count); // to the next count unprepares

    // Marks the oldest buffer in the device done; false when it holds none.
    bool FinishOldest();
    std::size_t Held() const; // buffers written and not yet done
    bool IsOpen() const;
    // Calls by name ("open", "write", ...) in order.
    std::vector<std::string> Calls() const;
    int Count(const std::string& call) const;
    std::vector<std::string> Faults() const;
    WAVEFORMATEX OpenedFormat() const;
    UINT OpenedDevice() const;
    int StillPlayingAnswered() const;
    // Set after every call (auto-reset).
    HANDLE Changed() const { return FChanged; }

private:
    MMRESULT Record(const char* call, HWAVEOUT handle);

    mutable std::mutex FLock; // guards everything below
    std::vector<std::string> FCalls;
    std::vector<std::string> FFaults;
    std::deque<WAVEHDR*> FHeld; // not owned: the engine's headers, in write order
    bool FOpen = false;
    MMRESULT FOpenResult = MMSYSERR_NOERROR;
    int FResetFailures = 0;
    int FStillPlaying = 0;
    int FStillPlayingAnswered = 0;
    WAVEFORMATEX FFormat = {};
    UINT FDevice = 0;
    HANDLE FChanged; // owned, auto-reset: a call was made
};
