// The stand-in for the outside CD-ripping library: what tests share with it.
//
// The stand-in exports the library's entry points (stdcall, undecorated names)
// over a synthetic disc, and two test-only calls:
//   CRTest_Configure  sets the disc and how ripping behaves; clears the log
//   CRTest_GetLog     the calls made since, one line each, with arguments
// Tests reach both in-process through GetProcAddress on the loaded library.
//
// Log lines (arguments in decimal):
//   CR_Init(<ini path>)          followed by "  ini: <file text, line ends as |>"
//   CR_DeInit()  CR_GetNumCDROM()  CR_IsAudioPlaying()  CR_ReadToc()
//   CR_GetNumTocEntries()  CR_CloseRipper()
//   CR_SetActiveCDROM(<index>)   CR_IsMediaLoaded(<status as preset>)
//   CR_GetTocEntry(<index>)      CR_EjectCD(<flag>)
//   CR_OpenRipper(<buffer size>,<first sector>,<end sector>)
//   CR_RipChunk(<count reported>)       CR_RipChunk(aborted)
//   <name>()                     any entry point the program does not call
#pragma once

#include <cstdint>
#include <windows.h>

struct CRTestTocEntry
{
    std::uint32_t StartSector;
    std::uint8_t Flag; // 16 audio; anything else data
    std::uint8_t TrackNumber;
};

struct CRTestDisc
{
    std::int32_t DriveCount;    // CR_GetNumCDROM
    std::int32_t MediaStatus;   // what CR_IsMediaLoaded stores: 0 a disc is present
    std::int32_t AudioPlaying;  // CR_IsAudioPlaying
    std::int32_t ReadTocResult; // CR_ReadToc: 0 read
    std::int32_t TrackCount;    // CR_GetNumTocEntries: entries 0..TrackCount, the last the lead-out
    CRTestTocEntry Entries[101];
    std::int32_t ChunkBytes; // most bytes a chunk holds; 0: the buffer size given to CR_OpenRipper
    std::int32_t CutAfterBytes; // the range ends early after this many bytes; -1 never
    std::int32_t ReportCount;   // non-zero: every chunk reports this count, whatever it holds
    std::int32_t ChunkDelayMs;  // each chunk takes at least this long (a slow drive)
    std::int32_t RipperBufferBytes; // non-zero: CR_OpenRipper answers with this buffer size
};

using TCRTest_Configure = void(WINAPI*)(const CRTestDisc* Disc);
// Copies the log (NUL-terminated, cut to Size) and returns its full length.
using TCRTest_GetLog = std::int32_t(WINAPI*)(char* Buffer, std::int32_t Size);

// The byte the stand-in delivers at an absolute byte offset of the disc
// (sector x 2352 + offset in the sector).
inline std::uint8_t CRTestPatternByte(std::uint32_t Offset)
{
    return static_cast<std::uint8_t>((Offset * 0x9E3779B1u) >> 24);
}
