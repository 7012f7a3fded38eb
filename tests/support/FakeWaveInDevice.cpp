#include "support/FakeWaveInDevice.h"

#include <algorithm>

namespace testing_support {

namespace {

HWAVEIN FakeHandle(TFakeWaveInDevice* device)
{
    return reinterpret_cast<HWAVEIN>(device);
}

} // namespace

TFakeWaveInDevice::TFakeWaveInDevice()
{
    FStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TFakeWaveInDevice::~TFakeWaveInDevice()
{
    StopDelivery();
    CloseHandle(FStopEvent);
}

void TFakeWaveInDevice::Notify(UINT message, WAVEHDR* header)
{
    if (FCallback)
        FCallback(FakeHandle(this), message, FInstance, reinterpret_cast<DWORD_PTR>(header), 0);
}

MMRESULT TFakeWaveInDevice::Open(HWAVEIN* handle, UINT deviceId, const WAVEFORMATEX* format,
                                 TWaveInProc callback, DWORD_PTR instance, DWORD flags)
{
    OpenFlags.push_back(flags);
    if (OpenResult != MMSYSERR_NOERROR)
        return OpenResult;
    if ((flags & WAVE_MAPPED) && MappedOpenResult != MMSYSERR_NOERROR)
        return MappedOpenResult;
    OpenedDeviceId = deviceId;
    OpenedFormat = *format;
    FCallback = callback;
    FInstance = instance;
    FOpen = true;
    FStarted = false;
    FOffset = 0;
    *handle = FakeHandle(this);
    Notify(WIM_OPEN);
    return MMSYSERR_NOERROR;
}

MMRESULT TFakeWaveInDevice::Close(HWAVEIN)
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (!FQueue.empty())
            return WAVERR_STILLPLAYING;
    }
    StopDelivery();
    Notify(WIM_CLOSE);
    FOpen = false;
    FCallback = nullptr;
    ++Closes;
    return MMSYSERR_NOERROR;
}

MMRESULT TFakeWaveInDevice::PrepareHeader(HWAVEIN, WAVEHDR* header)
{
    header->dwFlags |= WHDR_PREPARED;
    ++PreparedNow;
    return MMSYSERR_NOERROR;
}

MMRESULT TFakeWaveInDevice::UnprepareHeader(HWAVEIN, WAVEHDR* header)
{
    if (header->dwFlags & WHDR_INQUEUE)
        return WAVERR_STILLPLAYING;
    if (header->dwFlags & WHDR_PREPARED)
        --PreparedNow;
    bool taken = (header->dwFlags & WHDR_DONE) && FUntaken > 0;
    header->dwFlags &= ~(WHDR_PREPARED | WHDR_DONE);
    if (taken) {
        --FUntaken;
        HandBackOnDemand();
    }
    return MMSYSERR_NOERROR;
}

MMRESULT TFakeWaveInDevice::AddBuffer(HWAVEIN, WAVEHDR* header)
{
    if (!(header->dwFlags & WHDR_PREPARED))
        return WAVERR_UNPREPARED;
    header->dwFlags = (header->dwFlags | WHDR_INQUEUE) & ~WHDR_DONE;
    header->dwBytesRecorded = 0;
    {
        std::lock_guard<std::mutex> lock(FLock);
        FQueue.push_back(header);
        MaxQueued = std::max<int>(MaxQueued, static_cast<int>(FQueue.size()));
    }
    HandBackOnDemand();
    return MMSYSERR_NOERROR;
}

MMRESULT TFakeWaveInDevice::Start(HWAVEIN)
{
    if (StartResult != MMSYSERR_NOERROR)
        return StartResult;
    FStarted = true;
    HandBackOnDemand();
    if (Delivery == TDelivery::Paced && !FThread) {
        ResetEvent(FStopEvent);
        FThread = CreateThread(nullptr, 0, DeliveryThread, this, 0, nullptr);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT TFakeWaveInDevice::Reset(HWAVEIN)
{
    ++Resets;
    StopDelivery();
    FStarted = false;
    FUntaken = 0;
    if (KeepOnReset)
        return MMSYSERR_NOERROR;
    while (WAVEHDR* header = PopQueued())
        HandBack(header, false);
    return MMSYSERR_NOERROR;
}

void TFakeWaveInDevice::HandBackHeld()
{
    while (WAVEHDR* header = PopQueued())
        HandBack(header, true);
}

void TFakeWaveInDevice::HandBackOnDemand()
{
    if (Delivery != TDelivery::OnDemand || !FStarted || FUntaken > 0)
        return;
    if (WAVEHDR* header = PopQueued()) {
        ++FUntaken;
        HandBack(header, true);
    }
}

WAVEHDR* TFakeWaveInDevice::PopQueued()
{
    std::lock_guard<std::mutex> lock(FLock);
    if (FQueue.empty())
        return nullptr;
    WAVEHDR* header = FQueue.front();
    FQueue.pop_front();
    return header;
}

void TFakeWaveInDevice::HandBack(WAVEHDR* header, bool withBytes)
{
    if (!header)
        return;
    DWORD recorded = 0;
    if (withBytes) {
        ++FHandedBack;
        bool empty = EmptyEvery > 0 && FHandedBack % EmptyEvery == 0;
        recorded = empty ? 0 : header->dwBufferLength;
    }
    if (FillPattern) {
        for (DWORD i = 0; i < recorded; ++i)
            header->lpData[i] = static_cast<char>(PatternByte(FOffset + i));
    }
    FOffset += recorded;
    if (recorded > 0)
        ++Delivered;
    header->dwBytesRecorded = recorded;
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    Notify(WIM_DATA, header);
}

DWORD WINAPI TFakeWaveInDevice::DeliveryThread(void* param)
{
    static_cast<TFakeWaveInDevice*>(param)->DeliverPaced();
    return 0;
}

void TFakeWaveInDevice::DeliverPaced()
{
    while (WaitForSingleObject(FStopEvent, PaceMs) == WAIT_TIMEOUT)
        HandBack(PopQueued(), true);
}

void TFakeWaveInDevice::StopDelivery()
{
    if (!FThread)
        return;
    SetEvent(FStopEvent);
    WaitForSingleObject(FThread, INFINITE);
    CloseHandle(FThread);
    FThread = nullptr;
}

} // namespace testing_support
