// Basic types of the class library: the two string models (StringTypes.h)
// and the colour value.
#pragma once

#include "PlainRect.h"
#include "StringTypes.h"

#include <algorithm>
#include <cstdint>

// Days since 1899-12-30, the fraction being the time of day.
using TDateTime = double;

// 0x00BBGGRR; negative values name a system colour (0x80000000 | index).
using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | index); }
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clMenuText = SystemColor(7);

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
