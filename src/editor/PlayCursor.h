// Where the play cursor goes: the selection's hold on a moved cursor, the
// chase that keeps the play position in view while playing, the steps of the
// cursor moves, and the time and region labels. Plain arithmetic over the view state;
// the main window applies it to the engine and the images.
#pragma once

#include "ViewGeometry.h"

#include "classlib/Types.h"

#include <cstdint>
#include <optional>

// Which edge of the selection held a moved cursor.
enum class TCursorHold
{
    None,           // the cursor went where it was asked
    SelectionStart, // asked for at or before the selection's start
    SelectionEnd    // asked for at or after the selection's end
};

struct TCursorPlace
{
    std::int32_t PlayPos = 0;
    TCursorHold Hold = TCursorHold::None;
};

// The cursor asked for sample: within 0 .. the file's length, and with a
// selection at its start when asked for at or before it, at its end when
// asked for at or after it.
TCursorPlace PlaceCursor(const TWaveViewState& view, const TViewDocument& doc, std::int64_t sample);

// The view start that chase asks for while playing, or none when the view
// may stay: a play position in the last tenth of a view that does not yet
// show the end moves the view on so that it keeps its last fifth; a play
// position out of view is centred.
std::optional<std::int32_t> ChaseStart(const TWaveViewState& view, const TViewDocument& doc);

// The cursor's coarse step: a twentieth of the view's width.
std::int32_t CoarseCursorStep(const TWaveViewState& view);

// "m:ss.cc / m:ss.cc": the position and the file's length.
AnsiString PlayTimeText(const TViewDocument& doc, std::int32_t position);
// "length [ start - end ]" of a selection or region, each as m:ss.cc.
AnsiString SelectionLabelText(const TViewDocument& doc, std::int32_t start, std::int32_t end);
