#include "StoredGeometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// Within lowest .. highest, and highest when the two cross.
std::int64_t HeldWithin(std::int64_t value, std::int64_t lowest, std::int64_t highest)
{
    return std::min(std::max(value, lowest), highest);
}

int HeldToInt(std::int64_t value)
{
    return static_cast<int>(HeldWithin(value, INT_MIN, INT_MAX));
}

// At least the smallest size (and a pixel), at most the work area's unless
// that is smaller still.
std::int64_t HeldSize(int stored, int smallest, std::int64_t areaSize)
{
    const std::int64_t lowest = std::max(smallest, 1);
    return HeldWithin(stored, lowest, std::max(lowest, areaSize));
}

// The length of what a and b share along one side of the screen.
std::int64_t SharedLength(std::int64_t aStart, std::int64_t aEnd, std::int64_t bStart,
                          std::int64_t bEnd)
{
    return std::min(aEnd, bEnd) - std::max(aStart, bStart);
}

TWindowPlace PlaceOnWorkArea(const TWindowPlace& stored, const TPlainRect& area, int minWidth,
                             int minHeight)
{
    const std::int64_t width = HeldSize(stored.Width, minWidth, area.Width());
    const std::int64_t height = HeldSize(stored.Height, minHeight, area.Height());
    TPlainRect place{stored.Left, stored.Top, stored.Left + width, stored.Top + height};
    // Made smaller to fit the work area, a window that kept its place there
    // would still run past its edge.
    const TPlainRect inside = ShiftIntoArea(place, area);
    if (width < stored.Width)
        place = {inside.Left, place.Top, inside.Right, place.Bottom};
    if (height < stored.Height)
        place = {place.Left, inside.Top, place.Right, inside.Bottom};
    if (!CaptionPieceOnArea(place, area))
        place = ShiftIntoArea(place, area);
    return {HeldToInt(place.Left), HeldToInt(place.Top), HeldToInt(width), HeldToInt(height)};
}

// A splitter leaves its pane closed (0) or between its smallest open size
// and the room the rest of the window leaves.
int PaneSizeWithin(int stored, int smallestOpen, std::int64_t room)
{
    if (stored == 0)
        return 0;
    const std::int64_t highest = std::max<std::int64_t>(room, 0);
    return HeldToInt(HeldWithin(stored, std::min<std::int64_t>(smallestOpen, highest), highest));
}

} // namespace

bool CaptionPieceOnArea(const TPlainRect& window, const TPlainRect& area)
{
    const std::int64_t bandHeight = std::min(kCaptionPieceHeight, window.Height());
    return SharedLength(window.Top, window.Top + bandHeight, area.Top, area.Bottom) >= bandHeight &&
           SharedLength(window.Left, window.Right, area.Left, area.Right) >=
               std::min(kCaptionPieceWidth, window.Width());
}

TStoredGeometry GeometryToApply(const TStoredGeometry& stored, const TGeometryLimits& limits)
{
    TStoredGeometry held;
    held.Main = PlaceOnWorkArea(stored.Main, limits.MainWorkArea, limits.MainMinWidth,
                                limits.MainMinHeight);
    held.FileList = PlaceOnWorkArea(stored.FileList, limits.FileListWorkArea,
                                    limits.FileListMinWidth, limits.FileListMinHeight);
    held.MasterPanelHeight =
        PaneSizeWithin(stored.MasterPanelHeight, limits.PaneMinSize,
                       std::int64_t{held.Main.Height} - limits.HeightBesidesUpperRow);
    held.ExpPanelWidth =
        PaneSizeWithin(stored.ExpPanelWidth, limits.PaneMinSize,
                       std::int64_t{held.Main.Width} - limits.WidthBesidesSidePane);
    return held;
}
