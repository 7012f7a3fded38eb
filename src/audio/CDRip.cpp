#include "CDRip.h"

#include "classlib/FilePaths.h"
#include "classlib/IniFile.h"

#include <array>
#include <cstring>

TCR_Init CR_Init = nullptr;
TCR_DeInit CR_DeInit = nullptr;
TCR_GetNumCDROM CR_GetNumCDROM = nullptr;
TCR_SetActiveCDROM CR_SetActiveCDROM = nullptr;
TCR_IsMediaLoaded CR_IsMediaLoaded = nullptr;
TCR_IsAudioPlaying CR_IsAudioPlaying = nullptr;
TCR_ReadToc CR_ReadToc = nullptr;
TCR_GetNumTocEntries CR_GetNumTocEntries = nullptr;
TCR_GetTocEntry CR_GetTocEntry = nullptr;
TCR_OpenRipper CR_OpenRipper = nullptr;
TCR_RipChunk CR_RipChunk = nullptr;
TCR_CloseRipper CR_CloseRipper = nullptr;
TCR_EjectCD CR_EjectCD = nullptr;

namespace {

// Every entry point of the library, in the order they are looked up.
constexpr std::array<const char*, 42> cdripEntryNames = {
    "CR_Init",
    "CR_DeInit",
    "CR_GetCDRipVersion",
    "CR_GetNumCDROM",
    "CR_GetActiveCDROM",
    "CR_SetActiveCDROM",
    "CR_SelectCDROMType",
    "CR_GetCDROMType",
    "CR_GetCDROMParameters",
    "CR_SetCDROMParameters",
    "CR_OpenRipper",
    "CR_CloseRipper",
    "CR_GetPercentCompleted",
    "CR_GetPeakValue",
    "CR_GetNumberOfJitterErrors",
    "CR_GetJitterPosition",
    "CR_RipChunk",
    "CR_LoadSettings",
    "CR_SaveSettings",
    "CR_NormalizeChunk",
    "CR_ReadToc",
    "CR_ReadCDText",
    "CR_GetNumTocEntries",
    "CR_GetTocEntry",
    "CR_IsUnitReady",
    "CR_IsMediaLoaded",
    "CR_EjectCD",
    "CR_IsAudioPlaying",
    "CR_PlayTrack",
    "CR_StopPlayTrack",
    "CR_PauseCD",
    "CR_GetCDStatusInfo",
    "CR_LockCD",
    "CR_GetSubChannelTrackInfo",
    "CR_GetPlayPosition",
    "CR_SetPlayPosition",
    "CR_PlaySection",
    "CR_GetLastJitterErrorPosition",
    "CR_GetCurrentRipSector",
    "CR_SetTransportLayer",
    "CR_GetTransportLayer",
    "CR_ScanForC2Errors",
};

HMODULE cdripModule = nullptr;                              // owned reference to the library
std::array<FARPROC, cdripEntryNames.size()> cdripEntries{}; // null while not loaded

// Binds one of the called entry points; false when the library lacks it.
template <class T> bool cdripBind(T& Target, const char* Name)
{
    // Through void*: an entry point's real type is known only to the caller.
    Target = reinterpret_cast<T>(reinterpret_cast<void*>(CDRipEntryPoint(Name)));
    return Target != nullptr;
}

bool cdripBindCalls()
{
    // Every call is attempted, so that a missing one leaves no stale pointer.
    bool all = cdripBind(CR_Init, "CR_Init");
    all &= cdripBind(CR_DeInit, "CR_DeInit");
    all &= cdripBind(CR_GetNumCDROM, "CR_GetNumCDROM");
    all &= cdripBind(CR_SetActiveCDROM, "CR_SetActiveCDROM");
    all &= cdripBind(CR_IsMediaLoaded, "CR_IsMediaLoaded");
    all &= cdripBind(CR_IsAudioPlaying, "CR_IsAudioPlaying");
    all &= cdripBind(CR_ReadToc, "CR_ReadToc");
    all &= cdripBind(CR_GetNumTocEntries, "CR_GetNumTocEntries");
    all &= cdripBind(CR_GetTocEntry, "CR_GetTocEntry");
    all &= cdripBind(CR_OpenRipper, "CR_OpenRipper");
    all &= cdripBind(CR_RipChunk, "CR_RipChunk");
    all &= cdripBind(CR_CloseRipper, "CR_CloseRipper");
    all &= cdripBind(CR_EjectCD, "CR_EjectCD");
    return all;
}

void cdripForget()
{
    cdripEntries.fill(nullptr);
    cdripBindCalls(); // the table is empty: every call becomes null
    cdripModule = nullptr;
}

// Loads the module and looks up every entry point; false (nothing left
// loaded) when the module is absent or lacks one of the calls.
bool cdripLoadModule()
{
    HMODULE module = LoadLibraryA(CDRipLibraryName);
    if (!module)
        return false;
    cdripModule = module;
    for (size_t i = 0; i < cdripEntryNames.size(); ++i)
        cdripEntries[i] = GetProcAddress(module, cdripEntryNames[i]);
    if (cdripBindCalls())
        return true;
    cdripForget();
    FreeLibrary(module);
    return false;
}

std::optional<int> cdripTransportLayer()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info))
        return std::nullopt;
#pragma GCC diagnostic pop
    return CDRipTransportLayerFor(info.dwPlatformId);
}

// Sets the library's keys in Path, keeping what else the file holds.
void cdripWriteIni(const AnsiString& Path)
{
    TIniFile ini(Path);
    ini.WriteString(CDRipIniSection, "nActive", "0");
    if (std::optional<int> layer = cdripTransportLayer())
        ini.WriteInteger(CDRipIniSection, "nTransportLayer", *layer);
    ini.UpdateFile();
}

} // namespace

TCDMSF FramesToMSF(std::uint32_t Frames)
{
    TCDMSF msf;
    msf.Minute = static_cast<std::uint8_t>(Frames / CDFramesPerSecond / 60);
    msf.Second = static_cast<std::uint8_t>(Frames / CDFramesPerSecond % 60);
    msf.Frame = static_cast<std::uint8_t>(Frames % CDFramesPerSecond);
    return msf;
}

std::uint32_t MSFToFrames(const TCDMSF& MSF)
{
    return (MSF.Minute * 60u + MSF.Second) * CDFramesPerSecond + MSF.Frame;
}

TCDTocEntry TocEntryFromRegisters(std::uint64_t EdxEax)
{
    TCDTocEntry entry;
    entry.StartSector = static_cast<std::uint32_t>(EdxEax);
    entry.Flag = static_cast<std::uint8_t>(EdxEax >> 32);
    entry.TrackNumber = static_cast<std::uint8_t>(EdxEax >> 40);
    return entry;
}

std::optional<int> CDRipTransportLayerFor(DWORD PlatformId)
{
    switch (PlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        return 0;
    case VER_PLATFORM_WIN32_NT:
        return 1;
    default:
        return std::nullopt;
    }
}

void CDRipLoadLibrary(const AnsiString& Folder)
{
    if (!cdripModule && !cdripLoadModule())
        return;
    AnsiString iniPath = IncludeTrailingBackslash(Folder) + CDRipIniName;
    cdripWriteIni(iniPath);
    CR_Init(iniPath.c_str());
}

void CDRipUnloadLibrary()
{
    if (!cdripModule)
        return;
    HMODULE module = cdripModule;
    CR_DeInit();
    cdripForget();
    FreeLibrary(module);
}

bool CDRipLoaded()
{
    return cdripModule != nullptr;
}

HMODULE CDRipHandle()
{
    return cdripModule;
}

FARPROC CDRipEntryPoint(const char* Name)
{
    for (size_t i = 0; i < cdripEntryNames.size(); ++i)
        if (std::strcmp(cdripEntryNames[i], Name) == 0)
            return cdripEntries[i];
    return nullptr;
}

TCDTocEntry CDRipTocEntry(int Index)
{
    return TocEntryFromRegisters(CR_GetTocEntry(Index));
}

namespace {

// Unloads the library at program end, as the last thing the binding does.
struct TCDRipFinaliser
{
    ~TCDRipFinaliser() { CDRipUnloadLibrary(); }
} cdripFinaliser;

} // namespace
