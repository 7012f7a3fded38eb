// The CD input: a pipeline input that delivers the digital audio of a range of
// audio-CD tracks as 16-bit stereo PCM at 44100 Hz, read through the outside
// CD-ripping library (CDRip).
//
//   TCDTrackInfo  a track's length and whether it holds data
//   TCDIn         the input
//
// The range runs from the first sector of StartTrack to the first sector of
// the track after EndTrack (the lead-out after the last track). While idle the
// properties may change and every question reads the table of contents afresh;
// from OpenInput to CloseInput the drive stays selected and the track
// properties and Eject refuse.
//
// Threads: the properties, the questions and OpenInput run on the main thread;
// ReadData and CloseInput on the output's worker thread.
#pragma once

#include "CDRip.h"
#include "PipeClasses.h"

#include <atomic>
#include <cstdint>
#include <vector>

struct TCDTrackInfo
{
    TCDMSF Length;       // from the track's first sector to the next entry's
    bool IsData = false; // the entry's flag byte is not that of an audio track
};

class TCDIn : public TPipeInput
{
public:
    // Loads and initialises the library (folder of the program); raises
    // "cdrip.dll could not be loaded." when it is absent or incomplete.
    explicit TCDIn(TComponent* AOwner);
    ~TCDIn() override;

    // The chosen drive, 0-based; values outside the drives present are
    // ignored.
    int CurrentDrive() const { return FCurrentDrive; }
    void SetCurrentDrive(int Value);
    // The first and last track of the range, 1-based; refused while busy.
    int StartTrack() const { return FStartTrack; }
    void SetStartTrack(int Value);
    int EndTrack() const { return FEndTrack; }
    void SetEndTrack(int Value);

    int GetBitsPerSample() override { return 16; }
    int GetChannels() override { return 2; }
    int GetSampleRate() override { return 44100; }
    int ReadData(void* Buffer, int Count) override;
    void OpenInput() override;
    void CloseInput() override;

    // 0 not ready (no disc), 1 ready, 2 the drive plays audio.
    int GetStatus();
    // Tracks on the disc; -1 when the table of contents cannot be read.
    int GetTrackCount();
    // Raises "Track out of range." unless 1 <= Track <= GetTrackCount().
    TCDTrackInfo GetTrackInfo(int Track);
    // Bytes of the range: read afresh while idle (0 when the range is not on
    // the disc), the size being delivered while busy.
    std::int32_t GetSize();
    // Opens the tray (refused while busy) and closes it.
    void Eject();
    void CloseTray();

    // Nested use of the drive: the outermost OpenDrive selects CurrentDrive
    // in the library.
    void OpenDrive();
    void CloseDrive();

private:
    // Bytes per chunk the library is asked for: one second of CD audio.
    static constexpr int RipBufferBytes = 75 * CDBytesPerSector;
    // The largest buffer the library may ask for when it answers the size
    // handed to it with one of its own (16 MiB, about 95 s of audio).
    static constexpr int MaxRipBufferBytes = 16 * 1024 * 1024;

    // The range's first and end sector and its byte size; false when the
    // tracks are not on the disc or the table of contents is inconsistent.
    bool RangeSectors(int TrackCount, std::uint32_t& First, std::uint32_t& End,
                      std::int32_t& Bytes);
    bool StartTrackOnDisc(int TrackCount) const;
    bool EndTrackOnDisc(int TrackCount) const;
    void CheckIdle(const char* Message) const;
    void AdoptRipBufferSize();

    int FCurrentDrive = 0;           // 0-based drive index
    int FStartTrack = 0;             // 1-based
    int FEndTrack = 0;               // 1-based
    std::atomic<int> FDriveUse{0};   // nesting of OpenDrive; the worker closes the last
    int FRangeStartTrack = 0;        // the range starts in this track...
    TCDMSF FRangeStartOffset;        // ...this far in (always 0:00:00)
    std::int64_t FRangeEndTrack = 1; // the range ends where this track starts...
    TCDMSF FRangeEndOffset;          // ...plus this (always 0:00:00)
    std::int32_t FRangeBytes = 0;    // byte size of the open range
    std::vector<BYTE> FRipBuffer;    // one chunk from the library (at least RipBufferBytes)
    LONG FRipBufferSize = 0;         // chunk size agreed with the library at CR_OpenRipper
};
