#include "WaveInDevice.h"

MMRESULT TSystemWaveIn::Open(HWAVEIN* handle, UINT deviceId, const WAVEFORMATEX* format,
                             TWaveInProc callback, DWORD_PTR instance, DWORD flags)
{
    return waveInOpen(handle, deviceId, format, reinterpret_cast<DWORD_PTR>(callback), instance,
                      flags);
}

MMRESULT TSystemWaveIn::Close(HWAVEIN handle)
{
    return waveInClose(handle);
}

MMRESULT TSystemWaveIn::PrepareHeader(HWAVEIN handle, WAVEHDR* header)
{
    return waveInPrepareHeader(handle, header, sizeof(WAVEHDR));
}

MMRESULT TSystemWaveIn::UnprepareHeader(HWAVEIN handle, WAVEHDR* header)
{
    return waveInUnprepareHeader(handle, header, sizeof(WAVEHDR));
}

MMRESULT TSystemWaveIn::AddBuffer(HWAVEIN handle, WAVEHDR* header)
{
    return waveInAddBuffer(handle, header, sizeof(WAVEHDR));
}

MMRESULT TSystemWaveIn::Start(HWAVEIN handle)
{
    return waveInStart(handle);
}

MMRESULT TSystemWaveIn::Reset(HWAVEIN handle)
{
    return waveInReset(handle);
}

TSystemWaveIn& TSystemWaveIn::Instance()
{
    static TSystemWaveIn device;
    return device;
}
