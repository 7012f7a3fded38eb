// The preview player of the CD ripping window: plays an audio CD's tracks
// through the system's media control interface, opened by one of the disc's
// track files. Times are milliseconds from the start of the disc.
//
//   TTrackPlayer     what the window asks of a player
//   TMciTrackPlayer  the system's CD audio device behind it
//
// The window owns one player; tests hand it one of their own.
#pragma once

#include "classlib/Types.h"

#include <cstdint>
#include <memory>

enum class TPlayerMode
{
    NotOpen,
    Stopped,
    Playing,
    Paused
};

class TTrackPlayer
{
public:
    virtual ~TTrackPlayer() = default;

    // Opens the disc that holds trackFile; false when it cannot (no disc, no
    // device). Any disc open before is closed first.
    virtual bool Open(const AnsiString& trackFile) = 0;
    virtual void Close() = 0;
    virtual TPlayerMode Mode() = 0;
    // The whole disc.
    virtual std::int64_t Length() = 0;
    // Where a track (1-based) starts, and how long it lasts.
    virtual std::int64_t TrackStart(int track) = 0;
    virtual std::int64_t TrackLength(int track) = 0;
    virtual std::int64_t Position() = 0;
    virtual void Seek(std::int64_t positionMs) = 0;
    // Plays from the position on; returns at once.
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void Stop() = 0;
};

class TMciTrackPlayer : public TTrackPlayer
{
public:
    TMciTrackPlayer() = default;
    ~TMciTrackPlayer() override;
    TMciTrackPlayer(const TMciTrackPlayer&) = delete;
    TMciTrackPlayer& operator=(const TMciTrackPlayer&) = delete;

    bool Open(const AnsiString& trackFile) override;
    void Close() override;
    TPlayerMode Mode() override;
    std::int64_t Length() override;
    std::int64_t TrackStart(int track) override;
    std::int64_t TrackLength(int track) override;
    std::int64_t Position() override;
    void Seek(std::int64_t positionMs) override;
    void Play() override;
    void Pause() override;
    void Resume() override;
    void Stop() override;

private:
    std::int64_t Status(unsigned item, int track);
    unsigned FDevice = 0; // the open MCI device; 0 when none
};
