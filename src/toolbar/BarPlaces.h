// Saved places of dockable windows, without windows: the key-value
// callbacks through which places are written and read, and what one
// window's section says before it is applied (BarDock applies it). This
// unit needs nothing of the platform, so that reading places also builds
// natively for fuzzing.
//
//   TBarPlaceRead/WriteIntProc, ...StringProc   the callbacks
//   kBarPlaceRevision      the revision a section must carry to be read
//   TBarStoredPlace        what a section restores
//   BarReadStoredPlace     one window's section, read
#pragma once

#include "classlib/StringTypes.h"

#include <optional>
#include <vector>

// Key-value storage of window positions: each call names the window (its
// Name), the value, and passes the caller's data last.
using TBarPlaceReadIntProc = int (*)(const AnsiString& ToolbarName, const AnsiString& Value,
                                     int Default, void* ExtraData);
using TBarPlaceReadStringProc = AnsiString (*)(const AnsiString& ToolbarName,
                                               const AnsiString& Value, const AnsiString& Default,
                                               void* ExtraData);
using TBarPlaceWriteIntProc = void (*)(const AnsiString& ToolbarName, const AnsiString& Value,
                                       int Data, void* ExtraData);
using TBarPlaceWriteStringProc = void (*)(const AnsiString& ToolbarName, const AnsiString& Value,
                                          const AnsiString& Data, void* ExtraData);

// The revision a saved section must carry to be read.
constexpr int kBarPlaceRevision = 2000;
// "DockedTo" of a floating window.
inline constexpr const char* kBarFloatingMark = "+";

// The last row a dock can have, and the farthest a window can be placed
// from the origin either way: stored places are held within them.
constexpr int kBarStoredRowLimit = 255;
constexpr int kBarCoordinateLimit = 32767;

// A dock of the owner as reading places sees it.
struct TBarDockChoice
{
    AnsiString Name;
    bool AllowDrag = false;
};

// The window's own values, which missing keys keep.
struct TBarCurrentPlace
{
    bool Visible = false;
    int DockRow = 0;
    int DockPos = 0;
};

enum class TBarStoredWhere
{
    Stay,     // only the visibility is restored
    Floating, // the window floats at the stored place
    Docked    // the window goes into the dock
};

struct TBarStoredPlace
{
    bool Visible = false;
    TBarStoredWhere Where = TBarStoredWhere::Stay;
    int Dock = -1; // Docked: the index of the dock among those given
    // Floating or Docked: the place in a dock and the floating frame's origin.
    int DockRow = 0;
    int DockPos = 0;
    int FloatLeft = 0;
    int FloatTop = 0;
};

// One window's section: none unless it carries kBarPlaceRevision. "Visible"
// is read, then "DockedTo": empty stays, "+" floats, the name of a dock
// (without regard to case) that allows dragging docks, any other name
// stays. Floating or docked, "DockRow", "DockPos", "FloatLeft" and
// "FloatTop" follow, held to rows 0 to kBarStoredRowLimit and coordinates
// within kBarCoordinateLimit: beyond them (a damaged or hand-made file),
// every arrangement of the dock walked through every row number up to the
// stored one, and a position near the integer limit put the window past
// the dock's end, out of sight.
std::optional<TBarStoredPlace> BarReadStoredPlace(const AnsiString& name,
                                                  TBarPlaceReadIntProc readInt,
                                                  TBarPlaceReadStringProc readString,
                                                  void* extraData, const TBarCurrentPlace& current,
                                                  const std::vector<TBarDockChoice>& docks);
