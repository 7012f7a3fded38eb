// The waveform's mouse tools as plain data: the tool chosen, the cursor each
// shows, a press on the waveform tracked from the button's press to the
// drag's end with what ending it must do, and what each tool's press, drag
// and auto-scroll make of the selection and the cut bars. The main window
// applies them (ostrel_mousetools.cpp).
//
//   TTool, ToolCursor        the four tools and their cursors
//   TWaveDrag                the press being tracked
//   select tool              the segment between cut bars under a press
//   region tool              the selection of a drag, a Shift press
//   drags off the image      the column and overshoot, the auto-scroll steps
//   erase tool               the cut bars a sweep takes
//
// Columns are pixel columns of the waveform image; samples are frames.
#pragma once

#include "RegionList.h"
#include "ViewGeometry.h"

#include "classlib/Control.h"

#include <cstdint>
#include <optional>
#include <vector>

// The tool cursors the window registers with the screen.
constexpr TCursor crCutTool = -10;   // resource "CUS1"
constexpr TCursor crEraseTool = -20; // resource "CUS2"

// The mouse tool. The numbers are the tool's stored ones.
enum class TTool : std::uint8_t
{
    Select = 0, // picks the segment between cut bars
    Cut = 1,    // places cut bars
    Region = 2, // draws a selection; the initial tool
    Erase = 3   // removes cut bars
};

// The screen cursor over the waveform for a tool: the arrow for select, the
// program's cut and erase cursors, the I-beam for region.
TCursor ToolCursor(TTool tool);

// What a press on the waveform started.
enum class TWaveDragKind : std::uint8_t
{
    None,  // no press is tracked
    Press, // a tool's press: the region tool's selection or the erase tool's sweep
    Marker // a cut-bar marker is dragged (in any tool)
};

// A press on the waveform, from the button's press until the drag ends (on
// the button's release or a lost capture, whichever comes first).
struct TWaveDrag
{
    TWaveDragKind Kind = TWaveDragKind::None;
    int AnchorX = -1;               // column of the press: the drag's fixed edge (-1 once a
                                    // marker drag scrolled the view: it shows other samples)
    int MouseX = -1;                // column the mouse was last seen at; a lost capture ends there
    int Overshoot = 0;              // pixels the mouse is outside the image; negative left
    int MarkerX = -1;               // column of the dragged marker as drawn, -1 when not drawn
    std::int32_t MarkerSample = -1; // the dragged marker's cut bar when pressed
    bool MarkerRemoved = false;     // a move has taken that cut bar out of the list
    bool SelectionShown = false;    // the region tool shows a selection of its own (the
                                    // region label is written), not only a click's cursor

    bool Tracking() const { return Kind != TWaveDragKind::None; }
    bool DraggingMarker() const { return Kind == TWaveDragKind::Marker; }
};

// The cut bar that ending a marker drag at column endX puts into the list,
// or none: the first sample of the end column (endSample) when the mouse
// left the pressed column; the marker's own sample when a move took its bar
// out and the mouse came back to the pressed column. A bar taken out is
// always put back.
std::optional<std::int32_t> MarkerDragEndBar(const TWaveDrag& drag, int endX,
                                             std::int32_t endSample);

// --- Select tool

// The segment of the file between cut bars that holds sample c, with the
// bars c1 .. cn sorted: [0, c1 - 1] for c up to c1, [c(k-1), ck - 1] for
// the first ck >= c, [cn, length] past the last; the whole file [0, length]
// without bars.
TRegionRange CutSegmentAt(const std::vector<std::int32_t>& sortedBars, std::int32_t c,
                          std::int32_t length);
// A Shift press at c with the select tool: inside the selection nothing
// changes; after it the end goes to the end of c's segment; before it the
// start goes to the start of c's segment.
TRegionRange ExtendedToSegment(const std::vector<std::int32_t>& sortedBars,
                               const TRegionRange& selection, std::int32_t c, std::int32_t length);

// --- Region tool

// The selection of a region-tool drag with the mouse on the column that
// runs from first to last (its samples), the press on the anchor column
// anchorFirst .. anchorLast: left of it from the mouse column's first
// sample to the anchor's last; right of it from the anchor's first to the
// mouse column's last; on it [cursor, cursor] (OnAnchor). Never beyond the
// length.
struct TDragSelection
{
    TRegionRange Range;
    bool OnAnchor = false;
};
TDragSelection RegionDragSelection(std::int32_t anchorFirst, std::int32_t anchorLast,
                                   std::int32_t first, std::int32_t last, std::int32_t cursor,
                                   std::int32_t length);

// What a Shift press of the region tool on the column first .. last does to
// a selection: nothing on a column that holds either edge; inside it or
// after it the end moves to the column's last sample (not beyond the
// length); before it the start moves to the column's first sample.
enum class TShiftPressEdge
{
    None,  // nothing changes
    Start, // the start moved: the end is the fixed edge
    End    // the end moved: the start is the fixed edge
};
struct TShiftPress
{
    TShiftPressEdge Moved = TShiftPressEdge::None;
    TRegionRange Range;
};
TShiftPress RegionShiftPress(const TRegionRange& selection, std::int32_t first, std::int32_t last,
                             std::int32_t length);
// A Shift press of the region tool without a selection: from the cursor to
// the pressed column's last sample, or from the column's first sample to
// the cursor when the column lies before it.
TRegionRange RegionShiftPressFromCursor(std::int32_t cursor, std::int32_t first, std::int32_t last,
                                        std::int32_t length);

// --- Drags off the image

// Where a drag's mouse column counts: inside the image as it is; outside it
// clamped to the image, with the overshoot (negative left), and Held when
// the view can still scroll that way, so that the move stops there and the
// auto-scroll moves on.
struct TDragColumn
{
    int X = 0;
    int Overshoot = 0;
    bool Held = false;
};
TDragColumn DragColumnFor(int x, int width, const TWaveViewState& view, std::int32_t length);

// The view start an auto-scroll step redraws from: overshoot pixels' worth
// of samples earlier or later; none when the view already shows that end of
// the file (or there is no overshoot).
std::optional<std::int32_t> AutoScrollStart(const TWaveViewState& view, int overshoot,
                                            std::int32_t length);

// What an auto-scroll step does to the view's region-tool selection with the
// cursor at the drag's fixed edge. Scrolling back: with the cursor before the view
// the selection ends just before the view; otherwise it starts where the
// new view starts. Scrolling on: with the cursor past the view the
// selection starts at the view's end; otherwise it ends where the new view
// ends (not beyond the length). Never before 0.
TRegionRange AutoScrolledSelection(const TWaveViewState& view, int overshoot, std::int32_t cursor,
                                   std::int32_t length);

// --- Erase tool

// The indexes of the sorted cut bars within from .. to (both included).
std::vector<int> CutBarsWithin(const std::vector<std::int32_t>& sortedBars, std::int32_t from,
                               std::int32_t to);
