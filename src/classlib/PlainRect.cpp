#include "PlainRect.h"

#include <algorithm>

bool PlainRectsMeet(const TPlainRect& a, const TPlainRect& b)
{
    return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) &&
           std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

TPlainRect ShiftIntoArea(const TPlainRect& r, const TPlainRect& area)
{
    TPlainRect result = r;
    auto shift = [&result](std::int64_t dx, std::int64_t dy) {
        result = {result.Left + dx, result.Top + dy, result.Right + dx, result.Bottom + dy};
    };
    if (result.Right > area.Right)
        shift(area.Right - result.Right, 0);
    if (result.Bottom > area.Bottom)
        shift(0, area.Bottom - result.Bottom);
    if (result.Left < area.Left)
        shift(area.Left - result.Left, 0);
    if (result.Top < area.Top)
        shift(0, area.Top - result.Top);
    return result;
}

TPlainRect BringOntoArea(const TPlainRect& r, const TPlainRect& area)
{
    return PlainRectsMeet(r, area) ? r : ShiftIntoArea(r, area);
}
