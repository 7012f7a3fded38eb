#include "TrackPlayer.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

// MCI's "track" flag asks about one track instead of the whole disc.
constexpr DWORD kNoTrack = 0;

} // namespace

TMciTrackPlayer::~TMciTrackPlayer()
{
    Close();
}

bool TMciTrackPlayer::Open(const AnsiString& trackFile)
{
    Close();
    MCI_OPEN_PARMSA open = {};
    open.lpstrElementName = trackFile.c_str();
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return false;
    FDevice = open.wDeviceID;
    MCI_SET_PARMS set = {};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    if (mciSendCommandA(FDevice, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&set)) != 0) {
        Close();
        return false;
    }
    return true;
}

void TMciTrackPlayer::Close()
{
    if (!FDevice)
        return;
    mciSendCommandA(FDevice, MCI_CLOSE, MCI_WAIT, 0);
    FDevice = 0;
}

std::int64_t TMciTrackPlayer::Status(unsigned item, int track)
{
    if (!FDevice)
        return 0;
    MCI_STATUS_PARMS status = {};
    status.dwItem = item;
    status.dwTrack = static_cast<DWORD>(track);
    DWORD flags = MCI_STATUS_ITEM | MCI_WAIT | (track != kNoTrack ? MCI_TRACK : 0);
    if (mciSendCommandA(FDevice, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&status)) != 0)
        return 0;
    return static_cast<std::int64_t>(status.dwReturn);
}

TPlayerMode TMciTrackPlayer::Mode()
{
    if (!FDevice)
        return TPlayerMode::NotOpen;
    switch (Status(MCI_STATUS_MODE, kNoTrack)) {
    case MCI_MODE_PLAY:
        return TPlayerMode::Playing;
    case MCI_MODE_PAUSE:
        return TPlayerMode::Paused;
    default:
        return TPlayerMode::Stopped;
    }
}

std::int64_t TMciTrackPlayer::Length()
{
    return Status(MCI_STATUS_LENGTH, kNoTrack);
}

std::int64_t TMciTrackPlayer::TrackStart(int track)
{
    return Status(MCI_STATUS_POSITION, track);
}

std::int64_t TMciTrackPlayer::TrackLength(int track)
{
    return Status(MCI_STATUS_LENGTH, track);
}

std::int64_t TMciTrackPlayer::Position()
{
    return Status(MCI_STATUS_POSITION, kNoTrack);
}

void TMciTrackPlayer::Seek(std::int64_t positionMs)
{
    if (!FDevice)
        return;
    MCI_SEEK_PARMS seek = {};
    seek.dwTo = static_cast<DWORD>(positionMs);
    mciSendCommandA(FDevice, MCI_SEEK, MCI_TO | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&seek));
}

void TMciTrackPlayer::Play()
{
    if (!FDevice)
        return;
    MCI_PLAY_PARMS play = {};
    mciSendCommandA(FDevice, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&play));
}

void TMciTrackPlayer::Pause()
{
    if (FDevice)
        mciSendCommandA(FDevice, MCI_PAUSE, MCI_WAIT, 0);
}

void TMciTrackPlayer::Resume()
{
    if (FDevice)
        mciSendCommandA(FDevice, MCI_RESUME, MCI_WAIT, 0);
}

void TMciTrackPlayer::Stop()
{
    if (FDevice)
        mciSendCommandA(FDevice, MCI_STOP, MCI_WAIT, 0);
}
