#include "FakeWaveOut.h"

#include <algorithm>

namespace {

HWAVEOUT const kFakeHandle = reinterpret_cast<HWAVEOUT>(0x5A5A);

} // namespace

FakeWaveOut::FakeWaveOut() : FChanged(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

FakeWaveOut::~FakeWaveOut()
{
    CloseHandle(FChanged);
}

MMRESULT FakeWaveOut::Record(const char* call, HWAVEOUT handle)
{
    FCalls.push_back(call);
    SetEvent(FChanged);
    if (!FOpen || handle != kFakeHandle) {
        FFaults.push_back(std::string(call) + " on a closed device");
        return MMSYSERR_INVALHANDLE;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveOut::Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format)
{
    std::lock_guard<std::mutex> guard(FLock);
    FCalls.push_back("open");
    FDevice = deviceId;
    FFormat = *format;
    SetEvent(FChanged);
    if (FOpenResult != MMSYSERR_NOERROR)
        return FOpenResult;
    if (FOpen)
        FFaults.push_back("opened twice");
    FOpen = true;
    *handle = kFakeHandle;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveOut::Close(HWAVEOUT handle)
{
    std::lock_guard<std::mutex> guard(FLock);
    MMRESULT r = Record("close", handle);
    if (!FHeld.empty())
        FFaults.push_back("closed while holding buffers");
    FHeld.clear();
    FOpen = false;
    SetEvent(FChanged);
    return r;
}

MMRESULT FakeWaveOut::PrepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    std::lock_guard<std::mutex> guard(FLock);
    MMRESULT r = Record("prepare", handle);
    header->dwFlags |= WHDR_PREPARED;
    return r;
}

MMRESULT FakeWaveOut::UnprepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    std::lock_guard<std::mutex> guard(FLock);
    MMRESULT r = Record("unprepare", handle);
    if (FStillPlaying > 0) {
        --FStillPlaying;
        ++FStillPlayingAnswered;
        return WAVERR_STILLPLAYING;
    }
    if (header->dwFlags & WHDR_INQUEUE)
        return WAVERR_STILLPLAYING;
    header->dwFlags &= ~WHDR_PREPARED;
    return r;
}

MMRESULT FakeWaveOut::Write(HWAVEOUT handle, WAVEHDR* header)
{
    std::lock_guard<std::mutex> guard(FLock);
    MMRESULT r = Record("write", handle);
    if (!(header->dwFlags & WHDR_PREPARED))
        FFaults.push_back("write of an unprepared header");
    if (header->dwBufferLength == 0)
        FFaults.push_back("write of an empty buffer");
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    FHeld.push_back(header);
    SetEvent(FChanged);
    return r;
}

MMRESULT FakeWaveOut::Pause(HWAVEOUT handle)
{
    std::lock_guard<std::mutex> guard(FLock);
    return Record("pause", handle);
}

MMRESULT FakeWaveOut::Restart(HWAVEOUT handle)
{
    std::lock_guard<std::mutex> guard(FLock);
    return Record("restart", handle);
}

MMRESULT FakeWaveOut::Reset(HWAVEOUT handle)
{
    std::lock_guard<std::mutex> guard(FLock);
    MMRESULT r = Record("reset", handle);
    SetEvent(FChanged);
    if (FResetFailures > 0) {
        --FResetFailures;
        return MMSYSERR_ERROR;
    }
    for (WAVEHDR* h : FHeld)
        h->dwFlags = (h->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    FHeld.clear();
    return r;
}

void FakeWaveOut::FailOpen(MMRESULT code)
{
    std::lock_guard<std::mutex> guard(FLock);
    FOpenResult = code;
}

void FakeWaveOut::FailNextResets(int count)
{
    std::lock_guard<std::mutex> guard(FLock);
    FResetFailures = count;
}

void FakeWaveOut::AnswerStillPlaying(int count)
{
    std::lock_guard<std::mutex> guard(FLock);
    FStillPlaying = count;
}

bool FakeWaveOut::FinishOldest()
{
    std::lock_guard<std::mutex> guard(FLock);
    if (FHeld.empty())
        return false;
    WAVEHDR* h = FHeld.front();
    FHeld.pop_front();
    h->dwFlags = (h->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    return true;
}

std::size_t FakeWaveOut::Held() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FHeld.size();
}

bool FakeWaveOut::IsOpen() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FOpen;
}

std::vector<std::string> FakeWaveOut::Calls() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FCalls;
}

int FakeWaveOut::Count(const std::string& call) const
{
    std::lock_guard<std::mutex> guard(FLock);
    return static_cast<int>(std::count(FCalls.begin(), FCalls.end(), call));
}

std::vector<std::string> FakeWaveOut::Faults() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FFaults;
}

WAVEFORMATEX FakeWaveOut::OpenedFormat() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FFormat;
}

UINT FakeWaveOut::OpenedDevice() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FDevice;
}

int FakeWaveOut::StillPlayingAnswered() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FStillPlayingAnswered;
}
