// Basic types of the class library: the two string models (StringTypes.h),
// the date-time number and the colour value (ValueTypes.h), and the
// system's point and rectangle.
#pragma once

#include "PlainRect.h"
#include "StringTypes.h"
#include "ValueTypes.h"

#include <algorithm>
#include <cstdint>
#include <windows.h>

// A point and a rectangle with the system's layout; a rectangle excludes its
// right column and bottom row, as the system's drawing does.
struct TPoint : POINT
{
    TPoint() : POINT{0, 0} {}
    TPoint(LONG x, LONG y) : POINT{x, y} {}
    TPoint(const POINT& p) : POINT(p) {}
    bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
};

struct TRect : RECT
{
    TRect() : RECT{0, 0, 0, 0} {}
    TRect(LONG left, LONG top, LONG right, LONG bottom) : RECT{left, top, right, bottom} {}
    TRect(const RECT& r) : RECT(r) {}
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(const POINT& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const TRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

inline TRect Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    return TRect(left, top, right, bottom);
}
inline TRect Bounds(LONG left, LONG top, LONG width, LONG height)
{
    return TRect(left, top, left + width, top + height);
}
inline TPoint Point(LONG x, LONG y) { return TPoint(x, y); }

inline TPlainRect PlainRectOf(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}
// Each coordinate held within the system's 32 bits.
inline TRect RectOfPlain(const TPlainRect& r)
{
    auto held = [](std::int64_t v) {
        return static_cast<LONG>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return TRect(held(r.Left), held(r.Top), held(r.Right), held(r.Bottom));
}

// What a scroll asks for: the system's SB_ codes as scroll events name them.
enum class TScrollCode
{
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
