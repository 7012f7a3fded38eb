#include "BarPlaces.h"

#include "classlib/AnsiText.h"

#include <algorithm>

namespace {

// The draggable dock of that name, compared without regard to case; -1 for
// none.
int BarDraggableDockIndex(const std::vector<TBarDockChoice>& docks, const AnsiString& name)
{
    for (size_t i = 0; i < docks.size(); ++i)
        if (SameText(docks[i].Name, name))
            return docks[i].AllowDrag ? static_cast<int>(i) : -1;
    return -1;
}

int BarCoordinate(int value)
{
    return std::clamp(value, -kBarCoordinateLimit, kBarCoordinateLimit);
}

} // namespace

std::optional<TBarStoredPlace> BarReadStoredPlace(const AnsiString& name,
                                                  TBarPlaceReadIntProc readInt,
                                                  TBarPlaceReadStringProc readString,
                                                  void* extraData, const TBarCurrentPlace& current,
                                                  const std::vector<TBarDockChoice>& docks)
{
    if (readInt(name, "Rev", 0, extraData) != kBarPlaceRevision)
        return std::nullopt;
    TBarStoredPlace place;
    place.Visible = readInt(name, "Visible", current.Visible ? 1 : 0, extraData) != 0;
    const AnsiString dockedTo = readString(name, "DockedTo", "", extraData);
    if (dockedTo == kBarFloatingMark) {
        place.Where = TBarStoredWhere::Floating;
    } else if (!dockedTo.empty()) {
        place.Dock = BarDraggableDockIndex(docks, dockedTo);
        if (place.Dock >= 0)
            place.Where = TBarStoredWhere::Docked;
    }
    if (place.Where == TBarStoredWhere::Stay)
        return place;
    place.DockRow =
        std::clamp(readInt(name, "DockRow", current.DockRow, extraData), 0, kBarStoredRowLimit);
    place.DockPos = BarCoordinate(readInt(name, "DockPos", current.DockPos, extraData));
    place.FloatLeft = BarCoordinate(readInt(name, "FloatLeft", 0, extraData));
    place.FloatTop = BarCoordinate(readInt(name, "FloatTop", 0, extraData));
    return place;
}
