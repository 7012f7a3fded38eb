// The wave-out device as the playback thread sees it: the eight calls it
// makes, behind one small interface, so that tests can run the thread against
// a device of their own. TSystemWaveOut passes each call to the system.
//
// The device is opened without a callback; the thread polls each header's
// done flag.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class TWaveOutDevice
{
public:
    virtual ~TWaveOutDevice() = default;

    // Opens deviceId (WAVE_MAPPER for the mapper) for format, no callback.
    virtual MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) = 0;
    virtual MMRESULT Close(HWAVEOUT handle) = 0;
    virtual MMRESULT PrepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
    // May answer WAVERR_STILLPLAYING while the device holds the buffer.
    virtual MMRESULT UnprepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT Write(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT Pause(HWAVEOUT handle) = 0;
    virtual MMRESULT Restart(HWAVEOUT handle) = 0;
    // Stops output and marks every queued header done.
    virtual MMRESULT Reset(HWAVEOUT handle) = 0;
};

class TSystemWaveOut : public TWaveOutDevice
{
public:
    MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) override;
    MMRESULT Close(HWAVEOUT handle) override;
    MMRESULT PrepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT UnprepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT Write(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT Pause(HWAVEOUT handle) override;
    MMRESULT Restart(HWAVEOUT handle) override;
    MMRESULT Reset(HWAVEOUT handle) override;

    // The one system device object; it holds no state.
    static TSystemWaveOut& Instance();
};
