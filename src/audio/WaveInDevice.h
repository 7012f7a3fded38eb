// The wave-in device as the sound-card input sees it: the seven calls it
// makes, behind one small interface, so that tests can record from a device
// of their own. TSystemWaveIn passes each call to the system.
//
// The device is opened with a callback function, which the device calls on a
// thread of its own: WIM_OPEN once opened, WIM_DATA for each buffer it hands
// back (filled, or cut short by Reset), WIM_CLOSE once closed.
#pragma once

#include <windows.h>
#include <mmsystem.h>

using TWaveInProc = void(CALLBACK*)(HWAVEIN handle, UINT message, DWORD_PTR instance,
                                    DWORD_PTR param1, DWORD_PTR param2);

class TWaveInDevice
{
public:
    virtual ~TWaveInDevice() = default;

    // Opens deviceId for format; flags hold CALLBACK_FUNCTION and maybe
    // WAVE_MAPPED. The callback gets instance with every message.
    virtual MMRESULT Open(HWAVEIN* handle, UINT deviceId, const WAVEFORMATEX* format,
                          TWaveInProc callback, DWORD_PTR instance, DWORD flags) = 0;
    // Answers WAVERR_STILLPLAYING while the device holds buffers.
    virtual MMRESULT Close(HWAVEIN handle) = 0;
    virtual MMRESULT PrepareHeader(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT UnprepareHeader(HWAVEIN handle, WAVEHDR* header) = 0;
    // Queues an empty buffer for the device to fill.
    virtual MMRESULT AddBuffer(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT Start(HWAVEIN handle) = 0;
    // Stops recording and hands every queued buffer back through the callback.
    virtual MMRESULT Reset(HWAVEIN handle) = 0;
};

class TSystemWaveIn : public TWaveInDevice
{
public:
    MMRESULT Open(HWAVEIN* handle, UINT deviceId, const WAVEFORMATEX* format, TWaveInProc callback,
                  DWORD_PTR instance, DWORD flags) override;
    MMRESULT Close(HWAVEIN handle) override;
    MMRESULT PrepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT UnprepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT AddBuffer(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT Start(HWAVEIN handle) override;
    MMRESULT Reset(HWAVEIN handle) override;

    // The one system device object; it holds no state.
    static TSystemWaveIn& Instance();
};
