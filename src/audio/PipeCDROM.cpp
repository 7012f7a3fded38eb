#include "PipeCDROM.h"

#include "classlib/Application.h"
#include "classlib/FilePaths.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Track numbers are bytes in the library's table of contents.
constexpr int cdinHighestTrack = 255;

// True (-1) and False as the library's eject call takes them.
constexpr BOOL cdinOpenTray = -1;
constexpr BOOL cdinCloseTray = 0;

// Holds the drive selected for the lifetime of a scope.
class TDriveUse
{
public:
    explicit TDriveUse(TCDIn& Input) : FInput(Input) { FInput.OpenDrive(); }
    ~TDriveUse() { FInput.CloseDrive(); }
    TDriveUse(const TDriveUse&) = delete;
    TDriveUse& operator=(const TDriveUse&) = delete;

private:
    TCDIn& FInput; // not owned
};

AnsiString cdinProgramFolder()
{
    return IncludeTrailingBackslash(ExtractFilePath(Application->ExeName()));
}

} // namespace

TCDIn::TCDIn(TComponent* AOwner) : TPipeInput(AOwner), FRipBuffer(RipBufferBytes)
{
    CDRipLoadLibrary(cdinProgramFolder());
    if (!HasState(csDesigning) && !CDRipLoaded())
        throw EPipeException(PipeText::CDRipNotLoaded);
}

TCDIn::~TCDIn()
{
    ReleaseReaders();
    if (Busy())
        CloseInput();
}

void TCDIn::CheckIdle(const char* Message) const
{
    if (Busy())
        throw EPipeException(Message);
}

void TCDIn::OpenDrive()
{
    if (FDriveUse.fetch_add(1) == 0)
        CR_SetActiveCDROM(FCurrentDrive);
}

void TCDIn::CloseDrive()
{
    int use = FDriveUse.load();
    while (use > 0 && !FDriveUse.compare_exchange_weak(use, use - 1)) {
    }
}

void TCDIn::SetCurrentDrive(int Value)
{
    TDriveUse drive(*this);
    if (Value >= 0 && Value < CR_GetNumCDROM())
        FCurrentDrive = Value;
}

void TCDIn::SetStartTrack(int Value)
{
    CheckIdle(PipeText::TheComponentIsBuisy);
    FStartTrack = Value;
    FRangeStartTrack = Value;
    FRangeStartOffset = TCDMSF();
}

void TCDIn::SetEndTrack(int Value)
{
    CheckIdle(PipeText::TheComponentIsBusy);
    FEndTrack = Value;
    FRangeEndTrack = static_cast<std::int64_t>(Value) + 1;
    FRangeEndOffset = TCDMSF();
}

int TCDIn::GetStatus()
{
    TDriveUse drive(*this);
    LONG status = 0;
    CR_IsMediaLoaded(&status);
    bool playing = CR_IsAudioPlaying() != FALSE;
    if (status != 0)
        return 0;
    return playing ? 2 : 1;
}

int TCDIn::GetTrackCount()
{
    TDriveUse drive(*this);
    if (CR_ReadToc() != 0)
        return -1;
    return CR_GetNumTocEntries();
}

TCDTrackInfo TCDIn::GetTrackInfo(int Track)
{
    TDriveUse drive(*this);
    if (Track < 1 || Track > GetTrackCount())
        throw EPipeException(PipeText::TrackOutOfRange);
    TCDTocEntry first = CDRipTocEntry(Track - 1);
    TCDTocEntry next = CDRipTocEntry(Track);
    TCDTrackInfo info;
    if (next.StartSector > first.StartSector)
        info.Length = FramesToMSF(next.StartSector - first.StartSector);
    info.IsData = first.Flag != CDAudioTrackFlag;
    return info;
}

bool TCDIn::StartTrackOnDisc(int TrackCount) const
{
    return FRangeStartTrack >= 1 && FRangeStartTrack <= TrackCount &&
           FRangeStartTrack <= cdinHighestTrack;
}

bool TCDIn::EndTrackOnDisc(int TrackCount) const
{
    // An end before the start would make a negative size.
    return FRangeEndTrack >= 1 && FRangeEndTrack <= static_cast<std::int64_t>(TrackCount) + 1 &&
           FEndTrack <= cdinHighestTrack && FEndTrack >= FStartTrack;
}

bool TCDIn::RangeSectors(int TrackCount, std::uint32_t& First, std::uint32_t& End,
                         std::int32_t& Bytes)
{
    if (!StartTrackOnDisc(TrackCount) || !EndTrackOnDisc(TrackCount))
        return false;
    std::int64_t first = std::int64_t(CDRipTocEntry(FRangeStartTrack - 1).StartSector) +
                         MSFToFrames(FRangeStartOffset);
    std::int64_t end =
        std::int64_t(CDRipTocEntry(static_cast<int>(FRangeEndTrack) - 1).StartSector) +
        MSFToFrames(FRangeEndOffset);
    std::int64_t bytes = (end - first) * CDBytesPerSector;
    // A table of contents whose sectors run backwards or beyond what a size
    // can count is not ripped.
    if (bytes < 0 || bytes > std::numeric_limits<std::int32_t>::max() ||
        end > std::numeric_limits<std::uint32_t>::max())
        return false;
    First = static_cast<std::uint32_t>(first);
    End = static_cast<std::uint32_t>(end);
    Bytes = static_cast<std::int32_t>(bytes);
    return true;
}

std::int32_t TCDIn::GetSize()
{
    if (Busy())
        return FRangeBytes;
    TDriveUse drive(*this);
    std::uint32_t first = 0, end = 0;
    std::int32_t bytes = 0;
    return RangeSectors(GetTrackCount(), first, end, bytes) ? bytes : 0;
}

void TCDIn::OpenInput()
{
    CheckIdle(PipeText::TheComponentIsBusy);
    OpenDrive(); // kept until CloseInput when the input opens
    try {
        if (GetStatus() == 0)
            throw EPipeException(PipeText::DriveNotReady);
        int trackCount = GetTrackCount();
        if (!StartTrackOnDisc(trackCount))
            throw EPipeException(PipeText::StartTrackOutOfRange);
        if (CDRipTocEntry(FRangeStartTrack - 1).Flag != CDAudioTrackFlag)
            throw EPipeException(PipeText::RippingDataTrack);
        std::uint32_t first = 0, end = 0;
        std::int32_t bytes = 0;
        if (!RangeSectors(trackCount, first, end, bytes))
            throw EPipeException(PipeText::EndTrackOutOfRange);
        FRangeBytes = bytes;
        FSize = bytes;
        FBufStart = 1;
        FBufEnd = 0;
        FPosition = 0;
        FBusy = true;
        FRipBufferSize = RipBufferBytes;
        CR_OpenRipper(&FRipBufferSize, static_cast<LONG>(first), static_cast<LONG>(end));
        AdoptRipBufferSize();
    } catch (...) {
        CloseDrive();
        throw;
    }
}

// The library may answer the buffer size handed to it with one of its own and
// then fill that many bytes: the buffer grows to it, and a size beyond reason
// ends the rip before any chunk is asked for.
void TCDIn::AdoptRipBufferSize()
{
    if (FRipBufferSize <= 0 || FRipBufferSize > MaxRipBufferBytes) {
        CR_CloseRipper();
        FBusy = false;
        FSize = 0;
        throw EPipeException(PipeText::RipBufferUnusable);
    }
    if (FRipBuffer.size() < static_cast<std::size_t>(FRipBufferSize))
        FRipBuffer.resize(static_cast<std::size_t>(FRipBufferSize));
}

int TCDIn::ReadData(void* Buffer, int Count)
{
    if (!Busy())
        throw EPipeException(PipeText::StreamNotOpened);
    if (Count <= 0)
        return 0;
    if (FBufStart > FBufEnd) {
        FBufStart = 1;
        LONG got = FRipBufferSize;
        BOOL abort = FALSE;
        CR_RipChunk(FRipBuffer.data(), &got, &abort);
        // The library's count is never trusted beyond the buffer.
        FBufEnd = std::clamp<LONG>(got, 0, FRipBufferSize);
    }
    int n = std::min(Count, FBufEnd - FBufStart + 1);
    if (n <= 0)
        return 0;
    std::memcpy(Buffer, FRipBuffer.data() + (FBufStart - 1), static_cast<size_t>(n));
    FBufStart += n;
    FPosition += n;
    return n;
}

void TCDIn::CloseInput()
{
    if (Busy()) {
        CR_CloseRipper();
        CloseDrive();
    }
    FSize = 0;
    FBusy = false;
}

void TCDIn::Eject()
{
    CheckIdle(PipeText::TheComponentIsBusy);
    TDriveUse drive(*this);
    CR_EjectCD(cdinOpenTray);
}

void TCDIn::CloseTray()
{
    TDriveUse drive(*this);
    CR_EjectCD(cdinCloseTray);
}
