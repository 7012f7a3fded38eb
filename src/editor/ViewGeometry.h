// Geometry of the waveform view, its time ruler and the overview strip, as
// plain arithmetic over the view state: where the view starts and ends for a
// zoom, which sample a pixel column shows, the rows of the wave, the ruler's
// ticks, the overview's scale and frame, and the zoom, wheel and scroll-bar
// steps of navigation. Nothing here draws or touches a window (WaveRender
// draws from these; the main window applies them to its controls).
//
//   TViewDocument      the open file as the views see it
//   TWaveViewState     the view state the main window keeps
//   conversions        SampleToX, XToSample, IsSampleVisible, MsecToSample,
//                      MsecToX, SampleToMsec, ScaleLevel, MakeColor
//   TWaveFrame         what a full redraw shows (span, grey columns,
//                      selection columns, scroll bar)
//   TWaveRows          rows of the wave and its lines in an image
//   RulerTicks         the ruler's ticks and labels, DropCrowdedRulerLabels,
//                      RulerLayout
//   overview           step, work width, scale, frame and mark column
//   navigation         zoom factors and anchors, wheel, scroll bar, layout
//
// Sample positions are 32-bit signed frame counts; -1 means none. Pixel
// columns and rows count from the image's top left.
#pragma once

#include "classlib/Types.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The open file as the views see it.
struct TViewDocument
{
    bool Loaded = false;         // a file is open
    std::int32_t Length = 0;     // the file's length in sample frames (L)
    std::uint32_t Rate = 44100;  // frames per second
    int BlockSize = 256;         // the draw-block size; one draw entry is half a block
    std::int32_t EntryCount = 0; // draw entries of the open file
    bool Stereo = false;         // two channels (else one)

    // Frames one draw entry covers, at least 1.
    std::int32_t HalfBlock() const { return std::max(1, BlockSize / 2); }
};

// The phase of the stopped cursor's blink.
enum class TBlinkPhase : std::uint8_t
{
    Drawn = 0, // the line shows; the next tick erases it
    Erased = 1 // the line is away; the next tick draws it
};

// The view state of the main window. The full redraw sets the view fields;
// selection, cursor and overview fields are kept by the routines that draw
// them.
struct TWaveViewState
{
    // --- View
    std::int32_t ViewStart = -1;       // first sample of the view
    std::int32_t ViewEnd = -1;         // ViewStart + width x SamplesPerPixel, or the length
    std::int32_t Zoom = 1;             // draw entries per pixel column, at least 1
    std::int32_t SamplesPerPixel = -1; // frames per column: Zoom x (block size div 2)
    int VZoom = 1;                     // vertical zoom factor, 1 .. kMaxVZoom
    bool ZoomOutAllowed = true;        // the last full redraw did not run out of draw data
    bool Drawing = false;              // a full redraw is under way (timers skip the cursor)

    // --- Selection
    std::int32_t SelStart = -1; // first sample of the selection
    std::int32_t SelEnd = -1;   // last sample of the selection
    bool HasSelection = false;
    bool RegionSelection = false; // the selection spans the selected regions
    int SelStartX = -1;           // first column of the drawn selection, -1 when not shown
    int SelEndX = -1;             // last column of the drawn selection, -1 when not shown

    // --- Play cursor
    std::int32_t PlayPos = 0; // the cursor, or while playing the last position read
    int CursorX = -1;         // column of the drawn cursor line, -1 when none
    bool CursorDrawn = false;
    TBlinkPhase BlinkPhase = TBlinkPhase::Erased; // where the stopped cursor's blink stands

    // --- Ruler
    int MarkSize = 1;    // VIEW MARKSIZE as read (any value; 1 .. 5 count)
    int MarkHeight = 14; // ruler height in rows: the ruler covers rows 0 .. MarkHeight
    int MarkHalf = 7;    // label font size in points

    // --- Overview
    std::int32_t OverviewSamplesPerPixel = -1; // frames per overview column, -1 before the first
    TRect OverviewFrame;                       // the drawn range frame, empty when none
    int OverviewMarkX = -1;                    // column of the drawn position mark, -1 when none

    // The view values a newly opened file starts from (cursor at 0, no
    // selection, no view yet, vertical zoom 1, no overview).
    void Reset();
};

constexpr int kMaxVZoom = 10;

// --- Conversions

// The column of a sample: (sample - ViewStart) div SamplesPerPixel; may be
// negative or beyond the image. -1 before the first redraw.
int SampleToX(const TWaveViewState& view, std::int32_t sample);
// The first sample of a column, or its last when last is set.
std::int32_t XToSample(const TWaveViewState& view, int x, bool last);
// A file is open and ViewStart <= sample <= ViewEnd and sample <= length.
bool IsSampleVisible(const TWaveViewState& view, const TViewDocument& doc, std::int32_t sample);
// round(ms / 1000 x rate), at most the file's length.
std::int32_t MsecToSample(const TViewDocument& doc, std::int64_t msec);
// The column of a time, or -1 when its sample is not visible.
int MsecToX(const TWaveViewState& view, const TViewDocument& doc, std::int64_t msec);
// round(sample / rate x 1000); 0 for a file without a rate.
std::int64_t SampleToMsec(const TViewDocument& doc, std::int32_t sample);
// level x VZoom, limited to -128 .. 127.
int ScaleLevel(const TWaveViewState& view, int level);
// red + green x 256 + blue x 65536.
constexpr TColor MakeColor(int red, int green, int blue)
{
    return red + green * 256 + blue * 65536;
}

// --- Full redraw

struct TViewSpan
{
    std::int32_t ViewStart = 0;
    std::int32_t ViewEnd = 0;
    std::int32_t FirstEntry = 0; // draw entry shown in column 0
    std::int32_t SamplesPerPixel = 1;
};

// The span a redraw from start shows in width columns: aligned down to a
// draw entry, a negative start showing the beginning, a start too near the
// end showing the last full screen (or the beginning when the file is
// shorter than the view).
TViewSpan ComputeViewSpan(std::int32_t start, std::int32_t zoom, const TViewDocument& doc,
                          int width);

// The scroll bar, in units of 100 samples.
struct TScrollSettings
{
    bool Enabled = false; // the file reaches past the view's end
    std::int32_t Max = 0;
    std::int32_t PageSize = 0;
    std::int32_t Position = 0;
    std::int32_t SmallStep = 1; // a fortieth of the page, at least 1
    std::int32_t LargeStep = 1;
};

TScrollSettings ScrollSettingsFor(std::int32_t viewStart, std::int32_t viewEnd,
                                  std::int32_t length);

// What a full redraw from a requested start shows.
struct TWaveFrame
{
    TViewSpan Span;
    int GreyFrom = 0;           // first column past the draw data; the width when none
    bool ZoomOutAllowed = true; // every column had draw data
    int SelStartX = -1;         // selection columns, -1 when the selection is not shown
    int SelEndX = -1;
    TScrollSettings Scroll;
};

// Columns and rows never drop below 1 here: a caller draws nothing when the
// image has no room.
TWaveFrame PlanWaveFrame(const TWaveViewState& view, const TViewDocument& doc, int width,
                         std::int32_t start);

// The drawn columns of the selection in a view, or -1 and -1 when it lies
// wholly outside (or there is none).
void SelectionColumns(const TWaveViewState& view, int width, int& x1, int& x2);

// A run of draw entries: up to count from first, cut at the end of the draw
// data (Count 0 when first lies past it).
struct TEntryRun
{
    std::int32_t First = 0;
    std::int32_t Count = 0;
};
TEntryRun EntriesFrom(std::int64_t first, std::int32_t count, std::int32_t entryCount);

// --- Rows

// Where levels are drawn in an image. A level v lies at row
// round(-v x Scale) + the channel's centre.
struct TWaveRows
{
    int CentreL = 0;     // row of level 0 of the left (or only) channel
    int CentreR = 0;     // row of level 0 of the right channel (mono: CentreL)
    double Scale = 0;    // rows per level step
    int CentreLine = -1; // row of the CENTER line between the channels, -1 for mono
    int ZeroLineL = 0;   // rows of the ZERO lines (mono: one, ZeroLineR -1)
    int ZeroLineR = -1;
    bool Stereo = false;

    int RowOf(int level, int centre) const;
};

// The waveform image of the given height below a ruler of markHeight.
TWaveRows WaveRowsFor(int height, int markHeight, bool stereo);
// The overview's work bitmap of the given height (lines one row above their
// centres).
TWaveRows OverviewRowsFor(int height, bool stereo);

// --- Ruler

// VIEW MARKSIZE as it acts: 1 .. 5, anything else 1.
int EffectiveMarkSize(int markSize);
// Ruler height for a mark size: 14, 16, 18, 20, 24.
int MarkHeightFor(int markSize);

struct TTickSpacing
{
    int MinorMsec;
    int MajorMsec;
};
TTickSpacing TickSpacingFor(std::int64_t msecPerColumn, int markSize);

enum class TTickKind
{
    Minor,
    Major
};

struct TRulerTick
{
    TTickKind Kind = TTickKind::Minor;
    int X = 0;             // column
    std::int64_t Msec = 0; // time of the tick
    int Top = 0;           // first row of the tick line; it ends above MarkHeight
    AnsiString Label;      // major ticks: the time as m:ss
    int LabelX = 0;        // where the label's top left goes
    int LabelY = 1;
};

// Every tick of the ruler in the current view, minor ones first, each kind in
// time order, the major ones majorFactor times as far apart as the spacing
// table has them (a minor tick stays where a major one is left out). Ticks
// whose time is not visible are left out.
std::vector<TRulerTick> RulerTicks(const TWaveViewState& view, const TViewDocument& doc,
                                   int majorFactor = 1);
// Clears the label of each major tick whose label would begin before the
// label drawn before it ends (widthOf gives a label's width in pixels); the
// tick itself stays. Long files crowd the labels at coarse zooms.
void DropCrowdedRulerLabels(std::vector<TRulerTick>& ticks,
                            const std::function<int(const AnsiString&)>& widthOf);
// The ruler as it is drawn (widthOf gives a label's width in pixels): the
// major ticks are spaced at the least whole multiple of the table's spacing
// that leaves each label room before the next major tick, so that long files
// seen whole get labels that keep apart instead of running together.
std::vector<TRulerTick> RulerLayout(const TWaveViewState& view, const TViewDocument& doc,
                                    const std::function<int(const AnsiString&)>& widthOf);

// --- Cut bars

// The index of the cut bar that erasing a mark at the given sample removes:
// scanning the sorted positions from the start while the distance shrinks,
// the earlier one on equal distance. 0 for a single entry; -1 for none.
int NearestCutBarIndex(const std::vector<std::int32_t>& sortedPositions, std::int32_t sample);

// --- Overview

// Draw entries per column of the overview's work bitmap.
std::int32_t OverviewStep(std::int32_t entryCount, int waveWidth);
// Width of the work bitmap: entryCount div step, at least 1.
int OverviewWorkWidth(std::int32_t entryCount, std::int32_t step);
// Frames per overview column: length div (width - 1), at least 1.
std::int32_t OverviewSamplesPerPixel(std::int32_t length, int overviewWidth);
// The range frame's rectangle: columns start div scale to end div scale (at
// most the width), rows 0 to height - 1. Empty before the scale is known.
TRect OverviewFrameFor(const TWaveViewState& view, int overviewWidth, int height);
// The mark's column, or -1 before the scale is known.
int OverviewMarkColumn(const TWaveViewState& view);
// The columns a drawn frame paints from top to bottom (its two outer
// columns on each side), left to right, none twice.
std::vector<int> OverviewFrameEdges(const TRect& frame);
// The view start an overview click at column x asks for; none before the
// scale is known.
std::optional<std::int32_t> OverviewClickStart(const TWaveViewState& view, int x);

// --- Navigation

// The cursor of zooming: the selection start, else the play position.
std::int32_t ZoomAnchor(const TWaveViewState& view);
// Zoom in: half the entries per column, at least 1.
std::int32_t ZoomedIn(std::int32_t zoom);
// Zoom out: twice the entries per column (kept within 32 bits).
std::int32_t ZoomedOut(std::int32_t zoom);
// The start that puts the anchor in the middle of the view after zooming in
// (the new view is half as wide) or out (twice as wide).
std::int32_t ZoomInStart(const TWaveViewState& view, std::int32_t anchor);
std::int32_t ZoomOutStart(const TWaveViewState& view, std::int32_t anchor);
// The start that puts a sample in the middle of the current view.
std::int32_t CentredStart(const TWaveViewState& view, std::int32_t sample);
// Entries per column that show the whole file: entries div width, at least 1.
std::int32_t ZoomAllFactor(std::int32_t entryCount, int width);
// The smallest factor n >= 1 whose view (width x n x half a block) holds the
// selection.
std::int32_t ZoomToSelectionFactor(std::int32_t selStart, std::int32_t selEnd, int width,
                                   std::int32_t halfBlock);

enum class TWheelAction
{
    Nothing,
    ZoomIn,
    ZoomOut,
    VZoomIn,
    VZoomOut,
    Scroll
};
TWheelAction WheelActionFor(bool ctrl, bool shift, int delta);

// A wheel scroll: nothing while the bar is disabled; refused at the start
// turning forward and past the end turning back (the event is then not
// handled); otherwise the view start it asks for. One notch of 120 moves by
// one small step.
struct TWheelScroll
{
    bool Handled = false;
    std::optional<std::int32_t> Start;
};
TWheelScroll WheelScrollFor(const TScrollSettings& bar, int delta);

// The scroll bar's answer to a scroll code: whether it is taken, the
// position the bar keeps, and a redraw start when the scroll has ended.
struct TScrollReply
{
    bool Accepted = false;
    std::int32_t Position = 0;
    std::optional<std::int32_t> RedrawStart;
};
TScrollReply ScrollBarReply(TScrollCode code, std::int32_t requested, const TScrollSettings& bar);

// Where the two images and the scroll bar go in a waveform panel of the given
// client size. Every size is at least 1.
struct TWaveLayout
{
    int WaveWidth = 1;
    int WaveHeight = 1;
    int OverviewWidth = 1;
    int OverviewHeight = 1;
    int OverviewBitmapHeight = 1;
    int ScrollTop = 0;
    int ScrollWidth = 1;
    int ScrollHeight = 17;
};
TWaveLayout WaveLayoutFor(int panelWidth, int panelHeight);
