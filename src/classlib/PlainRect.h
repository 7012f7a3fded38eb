// Rectangles as plain numbers, for rules about places on the screen that
// need no window: the toolbars' floating frames and the editor's stored
// window places share them. Like the system's rectangles, a rectangle holds
// its left column and top row but not its right column and bottom row. The
// coordinates are 64-bit, so that a place read from a file (32-bit left plus
// 32-bit width) never overflows. This unit includes nothing of the platform.
#pragma once

#include <cstdint>

struct TPlainRect
{
    std::int64_t Left = 0;
    std::int64_t Top = 0;
    std::int64_t Right = 0;
    std::int64_t Bottom = 0;

    std::int64_t Width() const { return Right - Left; }
    std::int64_t Height() const { return Bottom - Top; }
    bool operator==(const TPlainRect&) const = default;
};

// Whether the two share at least one pixel.
bool PlainRectsMeet(const TPlainRect& a, const TPlainRect& b);
// r shifted back into area: left when past the right edge, up when past the
// bottom, then right and down (so the top left wins when r is the larger).
TPlainRect ShiftIntoArea(const TPlainRect& r, const TPlainRect& area);
// A frame restored from a stored place: shifted back into the work area
// when none of it is on it; left where it is when any of it shows.
TPlainRect BringOntoArea(const TPlainRect& r, const TPlainRect& area);
