// The stand-in for the outside CD-ripping library: the entry points the
// program calls, over a synthetic disc that tests configure in-process, with a
// log of every call. Built as a DLL whose undecorated stdcall names come from
// cdrip.def.
#include "CDRipStandIn.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A table-of-contents entry as the library returns it: by value, 8 bytes, so
// the compiler hands it back in EDX:EAX.
struct TStandInTocEntry
{
    std::uint32_t StartSector;
    std::uint8_t Flag;
    std::uint8_t TrackNumber;
};
static_assert(sizeof(TStandInTocEntry) == 8);

constexpr std::int32_t standinSectorBytes = 2352;

class TStandIn
{
public:
    TStandIn()
    {
        InitializeCriticalSection(&FLock);
        SetDisc(DefaultDisc());
    }
    ~TStandIn() { DeleteCriticalSection(&FLock); }

    // A disc of three short audio tracks, a data track and the lead-out.
    static CRTestDisc DefaultDisc()
    {
        CRTestDisc disc = {};
        disc.DriveCount = 1;
        disc.TrackCount = 4;
        const std::uint32_t starts[] = {150, 900, 1650, 2400, 3150};
        for (int i = 0; i <= disc.TrackCount; ++i)
            disc.Entries[i] = {starts[i], std::uint8_t(i == 3 ? 4 : 16),
                               std::uint8_t(i == disc.TrackCount ? 0xAA : i + 1)};
        disc.CutAfterBytes = -1;
        return disc;
    }

    void SetDisc(const CRTestDisc& disc)
    {
        Locked lock(this);
        FDisc = disc;
        FDisc.TrackCount = std::clamp(FDisc.TrackCount, 0, 100);
        FLog.clear();
        FRipping = false;
    }

    void Log(const std::string& line)
    {
        Locked lock(this);
        FLog += line;
        FLog += '\n';
    }

    std::int32_t CopyLog(char* buffer, std::int32_t size)
    {
        Locked lock(this);
        if (buffer && size > 0) {
            size_t n = std::min(FLog.size(), static_cast<size_t>(size - 1));
            std::memcpy(buffer, FLog.data(), n);
            buffer[n] = '\0';
        }
        return static_cast<std::int32_t>(FLog.size());
    }

    CRTestDisc Disc()
    {
        Locked lock(this);
        return FDisc;
    }

    TStandInTocEntry Entry(LONG index)
    {
        Locked lock(this);
        if (index < 0 || index > FDisc.TrackCount)
            return TStandInTocEntry{0, 0, 0};
        const CRTestTocEntry& e = FDisc.Entries[index];
        return TStandInTocEntry{e.StartSector, e.Flag, e.TrackNumber};
    }

    void OpenRipper(LONG bufferSize, LONG first, LONG end)
    {
        Locked lock(this);
        FRipping = true;
        FBufferSize = std::max<LONG>(bufferSize, 0);
        FNextOffset = static_cast<std::uint32_t>(first) * standinSectorBytes;
        FEndOffset = static_cast<std::uint32_t>(std::max(first, end)) * standinSectorBytes;
        FDelivered = 0;
    }

    void CloseRipper()
    {
        Locked lock(this);
        FRipping = false;
    }

    // Fills the next chunk of the range; returns the bytes placed.
    std::int32_t Rip(BYTE* buffer)
    {
        Locked lock(this);
        if (!FRipping)
            return 0;
        std::int64_t left = std::int64_t(FEndOffset) - FNextOffset;
        if (FDisc.CutAfterBytes >= 0)
            left = std::min<std::int64_t>(left, FDisc.CutAfterBytes - FDelivered);
        std::int64_t n = std::min<std::int64_t>(left, FBufferSize);
        if (FDisc.ChunkBytes > 0)
            n = std::min<std::int64_t>(n, FDisc.ChunkBytes);
        n = std::max<std::int64_t>(n, 0);
        for (std::int64_t i = 0; i < n; ++i)
            buffer[i] = CRTestPatternByte(FNextOffset + static_cast<std::uint32_t>(i));
        FNextOffset += static_cast<std::uint32_t>(n);
        FDelivered += n;
        return static_cast<std::int32_t>(n);
    }

private:
    struct Locked
    {
        explicit Locked(TStandIn* s) : FStandIn(s) { EnterCriticalSection(&s->FLock); }
        ~Locked() { LeaveCriticalSection(&FStandIn->FLock); }
        TStandIn* FStandIn;
    };

    CRITICAL_SECTION FLock; // guards everything below (main and ripping thread)
    CRTestDisc FDisc;
    std::string FLog;              // one line per call
    bool FRipping = false;         // between CR_OpenRipper and CR_CloseRipper
    LONG FBufferSize = 0;          // bytes a chunk may hold, from CR_OpenRipper
    std::uint32_t FNextOffset = 0; // absolute byte offset of the next chunk
    std::uint32_t FEndOffset = 0;  // absolute byte offset where the range ends
    std::int64_t FDelivered = 0;   // bytes of the range delivered so far
};

TStandIn standIn;

std::string standinFormat(const char* format, long a = 0, long b = 0, long c = 0)
{
    char text[128];
    std::snprintf(text, sizeof(text), format, a, b, c);
    return text;
}

std::string standinReadFile(const char* path)
{
    std::string text;
    if (FILE* f = std::fopen(path, "rb")) {
        char chunk[512];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0)
            text.append(chunk, n);
        std::fclose(f);
    }
    return text;
}

std::string standinOneLine(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    std::replace(text.begin(), text.end(), '\n', '|');
    return text;
}

} // namespace

extern "C" {

// The calls the program makes.

LONG WINAPI CR_Init(LPCSTR iniFileName)
{
    std::string path = iniFileName ? iniFileName : "";
    standIn.Log("CR_Init(" + path + ")");
    standIn.Log("  ini: " + standinOneLine(standinReadFile(path.c_str())));
    return 0;
}

LONG WINAPI CR_DeInit()
{
    standIn.Log("CR_DeInit()");
    return 0;
}

LONG WINAPI CR_GetNumCDROM()
{
    standIn.Log("CR_GetNumCDROM()");
    return standIn.Disc().DriveCount;
}

void WINAPI CR_SetActiveCDROM(LONG index)
{
    standIn.Log(standinFormat("CR_SetActiveCDROM(%ld)", index));
}

LONG WINAPI CR_IsMediaLoaded(LONG* status)
{
    standIn.Log(standinFormat("CR_IsMediaLoaded(%ld)", status ? *status : -999));
    if (status)
        *status = standIn.Disc().MediaStatus;
    return 0;
}

BOOL WINAPI CR_IsAudioPlaying()
{
    standIn.Log("CR_IsAudioPlaying()");
    return standIn.Disc().AudioPlaying;
}

LONG WINAPI CR_ReadToc()
{
    standIn.Log("CR_ReadToc()");
    return standIn.Disc().ReadTocResult;
}

LONG WINAPI CR_GetNumTocEntries()
{
    standIn.Log("CR_GetNumTocEntries()");
    return standIn.Disc().TrackCount;
}

TStandInTocEntry WINAPI CR_GetTocEntry(LONG index)
{
    standIn.Log(standinFormat("CR_GetTocEntry(%ld)", index));
    return standIn.Entry(index);
}

LONG WINAPI CR_OpenRipper(LONG* bufferSize, LONG firstSector, LONG endSector)
{
    LONG size = bufferSize ? *bufferSize : 0;
    standIn.Log(standinFormat("CR_OpenRipper(%ld,%ld,%ld)", size, firstSector, endSector));
    const std::int32_t answered = standIn.Disc().RipperBufferBytes;
    if (answered != 0 && bufferSize)
        size = *bufferSize = answered;
    standIn.OpenRipper(size, firstSector, endSector);
    return 0;
}

LONG WINAPI CR_RipChunk(BYTE* buffer, LONG* count, BOOL* abort)
{
    if (abort && *abort) {
        standIn.Log("CR_RipChunk(aborted)");
        if (count)
            *count = 0;
        return 0;
    }
    CRTestDisc disc = standIn.Disc();
    if (disc.ChunkDelayMs > 0)
        Sleep(static_cast<DWORD>(disc.ChunkDelayMs));
    LONG placed = buffer ? standIn.Rip(buffer) : 0;
    LONG reported = disc.ReportCount != 0 ? disc.ReportCount : placed;
    standIn.Log(standinFormat("CR_RipChunk(%ld)", reported));
    if (count)
        *count = reported;
    return 0;
}

LONG WINAPI CR_CloseRipper()
{
    standIn.Log("CR_CloseRipper()");
    standIn.CloseRipper();
    return 0;
}

LONG WINAPI CR_EjectCD(BOOL open)
{
    standIn.Log(standinFormat("CR_EjectCD(%ld)", open));
    return 0;
}

// The library's other entry points: present, never called by the program.
#define STANDIN_UNUSED_ENTRY(name)                                                                 \
    LONG WINAPI name()                                                                             \
    {                                                                                              \
        standIn.Log(#name "()");                                                                   \
        return 1;                                                                                  \
    }
STANDIN_UNUSED_ENTRY(CR_GetCDRipVersion)
STANDIN_UNUSED_ENTRY(CR_GetActiveCDROM)
STANDIN_UNUSED_ENTRY(CR_SelectCDROMType)
STANDIN_UNUSED_ENTRY(CR_GetCDROMType)
STANDIN_UNUSED_ENTRY(CR_GetCDROMParameters)
STANDIN_UNUSED_ENTRY(CR_SetCDROMParameters)
STANDIN_UNUSED_ENTRY(CR_GetPercentCompleted)
STANDIN_UNUSED_ENTRY(CR_GetPeakValue)
STANDIN_UNUSED_ENTRY(CR_GetNumberOfJitterErrors)
STANDIN_UNUSED_ENTRY(CR_GetJitterPosition)
STANDIN_UNUSED_ENTRY(CR_LoadSettings)
STANDIN_UNUSED_ENTRY(CR_SaveSettings)
STANDIN_UNUSED_ENTRY(CR_NormalizeChunk)
STANDIN_UNUSED_ENTRY(CR_ReadCDText)
STANDIN_UNUSED_ENTRY(CR_IsUnitReady)
STANDIN_UNUSED_ENTRY(CR_PlayTrack)
STANDIN_UNUSED_ENTRY(CR_StopPlayTrack)
STANDIN_UNUSED_ENTRY(CR_PauseCD)
STANDIN_UNUSED_ENTRY(CR_GetCDStatusInfo)
STANDIN_UNUSED_ENTRY(CR_LockCD)
STANDIN_UNUSED_ENTRY(CR_GetSubChannelTrackInfo)
STANDIN_UNUSED_ENTRY(CR_GetPlayPosition)
STANDIN_UNUSED_ENTRY(CR_SetPlayPosition)
STANDIN_UNUSED_ENTRY(CR_PlaySection)
STANDIN_UNUSED_ENTRY(CR_GetLastJitterErrorPosition)
STANDIN_UNUSED_ENTRY(CR_GetCurrentRipSector)
STANDIN_UNUSED_ENTRY(CR_SetTransportLayer)
STANDIN_UNUSED_ENTRY(CR_GetTransportLayer)
STANDIN_UNUSED_ENTRY(CR_ScanForC2Errors)

// Test-only calls.

void WINAPI CRTest_Configure(const CRTestDisc* disc)
{
    standIn.SetDisc(disc ? *disc : TStandIn::DefaultDisc());
}

std::int32_t WINAPI CRTest_GetLog(char* buffer, std::int32_t size)
{
    return standIn.CopyLog(buffer, size);
}

} // extern "C"
