#include "WaveOutDevice.h"

MMRESULT TSystemWaveOut::Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format)
{
    return waveOutOpen(handle, deviceId, format, 0, 0, CALLBACK_NULL);
}

MMRESULT TSystemWaveOut::Close(HWAVEOUT handle)
{
    return waveOutClose(handle);
}

MMRESULT TSystemWaveOut::PrepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutPrepareHeader(handle, header, sizeof(WAVEHDR));
}

MMRESULT TSystemWaveOut::UnprepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutUnprepareHeader(handle, header, sizeof(WAVEHDR));
}

MMRESULT TSystemWaveOut::Write(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutWrite(handle, header, sizeof(WAVEHDR));
}

MMRESULT TSystemWaveOut::Pause(HWAVEOUT handle)
{
    return waveOutPause(handle);
}

MMRESULT TSystemWaveOut::Restart(HWAVEOUT handle)
{
    return waveOutRestart(handle);
}

MMRESULT TSystemWaveOut::Reset(HWAVEOUT handle)
{
    return waveOutReset(handle);
}

TSystemWaveOut& TSystemWaveOut::Instance()
{
    static TSystemWaveOut device;
    return device;
}
