// The waveform's mouse tools as plain data: the tool chosen, the cursor each
// shows, and a press on the waveform tracked from the button's press to the
// drag's end, with what ending it must do. The main window applies them
// (ostrel_mousetools.cpp).
//
// Columns are pixel columns of the waveform image; samples are frames.
#pragma once

#include "classlib/Control.h"

#include <cstdint>
#include <optional>

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
    int AnchorX = -1;               // column of the press: the drag's fixed edge
    int MouseX = -1;                // column the mouse was last seen at; a lost capture ends there
    int Overshoot = 0;              // pixels the mouse is outside the image; negative left
    int MarkerX = -1;               // column of the dragged marker, -1 after an auto-scroll step
    std::int32_t MarkerSample = -1; // the dragged marker's cut bar when pressed
    bool MarkerRemoved = false;     // a move has taken that cut bar out of the list

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
