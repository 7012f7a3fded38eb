// The program-wide binding of the outside CD-ripping library "cdrip.dll".
//
//   CDRipLoadLibrary     loads the library (by its bare name, the system's search
//                        order), looks up its entry points, writes its settings
//                        file "cdr.ini" and initialises it
//   CDRipUnloadLibrary   de-initialises and unloads it (at program end; tests)
//   CR_...               the thirteen calls the program makes, valid while
//                        CDRipLoaded()
//   TCDTocEntry          one entry of the disc's table of contents
//   TCDMSF, FramesToMSF, MSFToFrames   CD time: 75 frames (sectors) a second
//
// The library counts as loaded only when every one of the thirteen calls was
// found; otherwise it is unloaded again and CDRipLoaded() stays false.
//
// Threads: loading and unloading run on the main thread; CR_RipChunk runs on a
// pipeline worker while a CD input is open, the other calls on the main thread.
#pragma once

#include "classlib/Types.h"

#include <cstdint>
#include <optional>
#include <windows.h>

inline constexpr const char* CDRipLibraryName = "cdrip.dll";
inline constexpr const char* CDRipIniName = "cdr.ini";
inline constexpr const char* CDRipIniSection = "CD-ROM";

inline constexpr int CDFramesPerSecond = 75;
inline constexpr int CDBytesPerSector = 2352;
// The flag byte of an audio track's table-of-contents entry.
inline constexpr std::uint8_t CDAudioTrackFlag = 16;

// Minutes, seconds and frames, one byte each.
struct TCDMSF
{
    std::uint8_t Minute = 0;
    std::uint8_t Second = 0;
    std::uint8_t Frame = 0;
};

TCDMSF FramesToMSF(std::uint32_t Frames);
std::uint32_t MSFToFrames(const TCDMSF& MSF);

// A table-of-contents entry as the library hands it back: an 8-byte record
// returned in EDX:EAX (start sector in bits 0-31, flag byte in bits 32-39,
// track number in bits 40-47).
struct TCDTocEntry
{
    std::uint32_t StartSector = 0;
    std::uint8_t Flag = 0;
    std::uint8_t TrackNumber = 0;
};

TCDTocEntry TocEntryFromRegisters(std::uint64_t EdxEax);

// The library's calls: arguments on the stack, the callee removes them.
using TCR_Init = LONG(WINAPI*)(LPCSTR IniFileName);
using TCR_DeInit = LONG(WINAPI*)();
using TCR_GetNumCDROM = LONG(WINAPI*)();
using TCR_SetActiveCDROM = void(WINAPI*)(LONG Index);
using TCR_IsMediaLoaded = LONG(WINAPI*)(LONG* Status);
using TCR_IsAudioPlaying = BOOL(WINAPI*)();
using TCR_ReadToc = LONG(WINAPI*)();
using TCR_GetNumTocEntries = LONG(WINAPI*)();
using TCR_GetTocEntry = std::uint64_t(WINAPI*)(LONG Index);
using TCR_OpenRipper = LONG(WINAPI*)(LONG* BufferSize, LONG FirstSector, LONG EndSector);
using TCR_RipChunk = LONG(WINAPI*)(BYTE* Buffer, LONG* ByteCount, BOOL* Abort);
using TCR_CloseRipper = LONG(WINAPI*)();
using TCR_EjectCD = LONG(WINAPI*)(BOOL Open);

// Entry points (not owned: they live in the library); null while not loaded.
extern TCR_Init CR_Init;
extern TCR_DeInit CR_DeInit;
extern TCR_GetNumCDROM CR_GetNumCDROM;
extern TCR_SetActiveCDROM CR_SetActiveCDROM;
extern TCR_IsMediaLoaded CR_IsMediaLoaded;
extern TCR_IsAudioPlaying CR_IsAudioPlaying;
extern TCR_ReadToc CR_ReadToc;
extern TCR_GetNumTocEntries CR_GetNumTocEntries;
extern TCR_GetTocEntry CR_GetTocEntry;
extern TCR_OpenRipper CR_OpenRipper;
extern TCR_RipChunk CR_RipChunk;
extern TCR_CloseRipper CR_CloseRipper;
extern TCR_EjectCD CR_EjectCD;

// Loads the library when it is not loaded yet, then (re)writes "cdr.ini" in
// Folder (with a trailing backslash) and calls CR_Init with its full path.
// A library that is absent or lacks a call leaves CDRipLoaded() false; nothing
// is raised then. A settings file that cannot be written raises
// EIniFileException before CR_Init (the library stays loaded).
void CDRipLoadLibrary(const AnsiString& Folder);
// When loaded: CR_DeInit, then unload. No CD input may be open.
void CDRipUnloadLibrary();
bool CDRipLoaded();
// The library's module; null while not loaded.
HMODULE CDRipHandle();
// Any of the library's entry points by name (also those the program does not
// call); null while not loaded or when the library lacks it.
FARPROC CDRipEntryPoint(const char* Name);

// The value of "nTransportLayer" for a platform identifier of the system's
// version information: 0 on Windows 9x, 1 on Windows NT, none elsewhere.
std::optional<int> CDRipTransportLayerFor(DWORD PlatformId);

// The table-of-contents entry Index of the active drive (library loaded).
TCDTocEntry CDRipTocEntry(int Index);
