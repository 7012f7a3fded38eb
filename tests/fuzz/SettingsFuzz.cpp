// Fuzz target: the settings file as the program reads it at start, over
// arbitrary bytes: the settings record and what its users make of it, the
// command shortcuts, the recent files, the window and pane geometry (held
// to a few screens: one work area, one left of the origin, one smaller than
// the windows, an empty one) and the places of the main window's toolbars.
// Besides crashes and undefined behaviour it stops when
// - the whole record the window keeps (StoredSettings) does not come back
//   the same after it is written over what was read and read again, or
//   when writing it takes more than linear time (a starting input holds a
//   RECENT section of many thousand keys, which a quadratic write-back
//   turns into a hang);
// - a user of a value goes out of its range: a master-volume step that is
//   none of the six, buffers below the engine's least, a load type other
//   than the three;
// - a shortcut is not a key of 1 to 255 with Shift, Ctrl and Alt (or none);
// - the recent files are more than the list keeps, or one is empty, or they
//   are not the keys COUNT - 1 down to 0;
// - a window's size is not within its smallest size and its work area's
//   (the smallest when that is larger), a window does not show a piece of
//   its caption bar on a work area that is not empty, a window that showed
//   one was moved (but along a side on which it was made smaller to fit),
//   a window made smaller to fit runs past the area on that side, or a
//   pane is neither closed nor within its smallest open size and the room
//   the held window leaves;
// - a toolbar's place names no dock of the owner or one that cannot be
//   dragged, or holds a row below 0 or beyond the rows a dock can have, or
//   a position or floating origin beyond the coordinates of a window.
#include "editor/CommandShortCuts.h"
#include "editor/RenameLoad.h"
#include "editor/Settings.h"
#include "editor/StoredGeometry.h"
#include "editor/StoredSettings.h"
#include "toolbar/BarPlaces.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void FuzzCheckWriteBack(const TIniContent& ini, const TStoredSettings& stored)
{
    TIniContent written = ini;
    if (!WriteStoredSettings(written, stored))
        __builtin_trap();
    TIniContent reread;
    reread.ParseText(written.Text());
    if (ReadStoredSettings(reread) != stored)
        __builtin_trap();
}

void FuzzCheckOption(const TIniContent& ini, const TOption& option)
{
    const int step = MasterVolumeStepOf(ini.ReadInteger("AUDIO", "MASTERVOL", 0));
    if (step < 0 || step >= kMasterVolumeStepCount)
        __builtin_trap();
    const TMasterVolumeStep& volume = MasterVolumeStep(step);
    if (volume.Factor < 0 || volume.Factor > 1)
        __builtin_trap();
    const TInfoPanelMetrics metrics = InfoPanelMetricsFor(option.DispSize);
    if (metrics.PanelHeight <= 0 || metrics.Known != (option.DispSize >= 1 && option.DispSize <= 5))
        __builtin_trap();
    for (int channels : {1, 2})
        for (int rate : {8000, 44100, 96000, 192000}) {
            const TPlaybackBuffers buffers =
                PlaybackBufferFor(option.BufSize, option.BufCount, channels, rate);
            if (buffers.Size < 256 || buffers.Count < 0)
                __builtin_trap();
        }
    const int type = static_cast<int>(LoadListTypeOf(option.LoadListType));
    if (type < 1 || type > 3)
        __builtin_trap();
}

void FuzzCheckShortCuts(const TIniContent& ini)
{
    for (int i = 0; i < kCommandCount; ++i) {
        const TShortCut shortCut = ReadCommandShortCut(ini, CommandInfo(i));
        if ((shortCut & ~(0xFF | scShift | scCtrl | scAlt)) != 0 ||
            ((shortCut & 0xFF) == 0) != (shortCut == scNone))
            __builtin_trap();
        std::uint16_t key = 0;
        TShiftState shift = 0;
        ShortCutToKey(shortCut, key, shift);
        if (IndexToShift(ShiftToIndex(shift)) != shift || ShortCut(key, shift) != shortCut)
            __builtin_trap();
        IsWithdrawnWhileTyping(shortCut);
    }
}

void FuzzCheckRecentFiles(const TIniContent& ini)
{
    const std::vector<AnsiString> paths = RecentFilesToAdd(ini, kRecentFileLimit);
    std::vector<AnsiString> expected;
    const std::int64_t count = ini.ReadInteger("RECENT", "COUNT", 0);
    for (std::int64_t i = std::min<std::int64_t>(count, kRecentFileLimit) - 1; i >= 0; --i) {
        const AnsiString path = ini.ReadString("RECENT", std::to_string(i), "");
        if (!path.empty())
            expected.push_back(path);
    }
    if (paths != expected)
        __builtin_trap();
}

void FuzzCheckPlace(const TWindowPlace& stored, const TWindowPlace& held, const TPlainRect& area,
                    int minWidth, int minHeight)
{
    const std::int64_t lowestWidth = std::max(minWidth, 1), lowestHeight = std::max(minHeight, 1);
    if (held.Width < lowestWidth || held.Width > std::max(lowestWidth, area.Width()) ||
        held.Height < lowestHeight || held.Height > std::max(lowestHeight, area.Height()))
        __builtin_trap();
    const TPlainRect put{held.Left, held.Top, std::int64_t{held.Left} + held.Width,
                         std::int64_t{held.Top} + held.Height};
    const TPlainRect asStored{stored.Left, stored.Top, std::int64_t{stored.Left} + held.Width,
                              std::int64_t{stored.Top} + held.Height};
    const bool areaEmpty = area.Width() <= 0 || area.Height() <= 0;
    const bool narrowed = held.Width < stored.Width, lowered = held.Height < stored.Height;
    if ((!areaEmpty && !CaptionPieceOnArea(put, area)) ||
        (CaptionPieceOnArea(asStored, area) &&
         ((!narrowed && held.Left != stored.Left) || (!lowered && held.Top != stored.Top))))
        __builtin_trap();
    // Made smaller to fit, a window lies inside the area along that side.
    if ((narrowed && held.Width <= area.Width() &&
         (put.Left < area.Left || put.Right > area.Right)) ||
        (lowered && held.Height <= area.Height() &&
         (put.Top < area.Top || put.Bottom > area.Bottom)))
        __builtin_trap();
}

void FuzzCheckPane(int stored, int held, int smallestOpen, std::int64_t room)
{
    room = std::max<std::int64_t>(room, 0);
    if (stored == 0 ? held != 0 : held < std::min<std::int64_t>(smallestOpen, room) || held > room)
        __builtin_trap();
}

void FuzzCheckGeometry(const TStoredGeometry& stored)
{
    TGeometryLimits limits;
    limits.MainMinWidth = 600;
    limits.MainMinHeight = 550;
    limits.FileListMinWidth = 112;
    limits.FileListMinHeight = 27;
    limits.PaneMinSize = 30;
    limits.HeightBesidesUpperRow = 150;
    limits.WidthBesidesSidePane = 40;
    const TPlainRect areas[] = {{0, 24, 1280, 1024}, {-1920, -200, 0, 880}, {0, 0, 320, 200}, {}};
    for (const TPlainRect& area : areas) {
        limits.MainWorkArea = limits.FileListWorkArea = area;
        const TStoredGeometry held = GeometryToApply(stored, limits);
        FuzzCheckPlace(stored.Main, held.Main, area, limits.MainMinWidth, limits.MainMinHeight);
        FuzzCheckPlace(stored.FileList, held.FileList, area, limits.FileListMinWidth,
                       limits.FileListMinHeight);
        FuzzCheckPane(stored.MasterPanelHeight, held.MasterPanelHeight, limits.PaneMinSize,
                      std::int64_t{held.Main.Height} - limits.HeightBesidesUpperRow);
        FuzzCheckPane(stored.ExpPanelWidth, held.ExpPanelWidth, limits.PaneMinSize,
                      std::int64_t{held.Main.Width} - limits.WidthBesidesSidePane);
    }
}

int FuzzReadInt(const AnsiString& name, const AnsiString& value, int def, void* ini)
{
    return static_cast<const TIniContent*>(ini)->ReadInteger(name, value, def);
}

AnsiString FuzzReadString(const AnsiString& name, const AnsiString& value, const AnsiString& def,
                          void* ini)
{
    return static_cast<const TIniContent*>(ini)->ReadString(name, value, def);
}

bool FuzzWithinWindowCoordinates(int value)
{
    return value >= -kBarCoordinateLimit && value <= kBarCoordinateLimit;
}

void FuzzCheckToolbarPlaces(const TIniContent& ini)
{
    const std::vector<TBarDockChoice> docks = {{"SkinDock1", false}, {"SkinDock2", true}};
    void* data = const_cast<TIniContent*>(&ini);
    for (const char* name :
         {"MenuBar", "FileBar", "ModeBar", "TransportBar", "ZoomBar", "Toolbar"}) {
        const std::optional<TBarStoredPlace> place =
            BarReadStoredPlace(name, FuzzReadInt, FuzzReadString, data, {true, 0, 12}, docks);
        if (!place)
            continue;
        if (place->Where == TBarStoredWhere::Docked
                ? place->Dock < 0 || place->Dock >= static_cast<int>(docks.size()) ||
                      !docks[place->Dock].AllowDrag
                : place->Dock != -1)
            __builtin_trap();
        if (place->DockRow < 0 || place->DockRow > kBarStoredRowLimit ||
            !FuzzWithinWindowCoordinates(place->DockPos) ||
            !FuzzWithinWindowCoordinates(place->FloatLeft) ||
            !FuzzWithinWindowCoordinates(place->FloatTop))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryByteSource source(data, size);
    TIniContent ini;
    if (!ini.Parse(source))
        __builtin_trap();
    const TStoredSettings stored = ReadStoredSettings(ini);
    FuzzCheckWriteBack(ini, stored);
    FuzzCheckOption(ini, stored.Option);
    FuzzCheckShortCuts(ini);
    FuzzCheckRecentFiles(ini);
    FuzzCheckGeometry(stored.Form.Geometry);
    FuzzCheckToolbarPlaces(ini);
    return 0;
}
