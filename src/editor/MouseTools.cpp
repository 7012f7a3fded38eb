#include "MouseTools.h"

#include "classlib/Checks.h"

#include <algorithm>

TCursor ToolCursor(TTool tool)
{
    switch (tool) {
    case TTool::Select:
        return crDefault;
    case TTool::Cut:
        return crCutTool;
    case TTool::Region:
        return crIBeam;
    case TTool::Erase:
        return crEraseTool;
    }
    Verified(false, "a tool is one of the four");
    return crDefault;
}

std::optional<std::int32_t> MarkerDragEndBar(const TWaveDrag& drag, int endX,
                                             std::int32_t endSample)
{
    if (!drag.DraggingMarker())
        return std::nullopt;
    if (endX != drag.AnchorX)
        return endSample;
    if (drag.MarkerRemoved)
        return drag.MarkerSample;
    return std::nullopt;
}

// --- Select tool ---------------------------------------------------------------------------

TRegionRange CutSegmentAt(const std::vector<std::int32_t>& sortedBars, std::int32_t c,
                          std::int32_t length)
{
    const auto next = std::find_if(sortedBars.begin(), sortedBars.end(),
                                   [=](std::int32_t bar) { return bar >= c; });
    if (next == sortedBars.end())
        return {sortedBars.empty() ? 0 : sortedBars.back(), length};
    const std::int32_t start = next == sortedBars.begin() ? 0 : *(next - 1);
    return {start, *next - 1};
}

TRegionRange ExtendedToSegment(const std::vector<std::int32_t>& sortedBars,
                               const TRegionRange& selection, std::int32_t c, std::int32_t length)
{
    TRegionRange extended = selection;
    if (c > selection.End)
        extended.End = CutSegmentAt(sortedBars, c, length).End;
    else if (c < selection.Start)
        extended.Start = CutSegmentAt(sortedBars, c, length).Start;
    return extended;
}

// --- Region tool ---------------------------------------------------------------------------

TDragSelection RegionDragSelection(std::int32_t anchorFirst, std::int32_t anchorLast,
                                   std::int32_t first, std::int32_t last, std::int32_t cursor,
                                   std::int32_t length)
{
    TDragSelection drag;
    if (first < anchorFirst)
        drag.Range = {first, std::min(anchorLast, length)};
    else if (first > anchorFirst)
        drag.Range = {anchorFirst, std::min(last, length)};
    else
        drag = {{cursor, cursor}, true};
    return drag;
}

TShiftPress RegionShiftPress(const TRegionRange& selection, std::int32_t first, std::int32_t last,
                             std::int32_t length)
{
    auto holds = [&](std::int32_t sample) { return first <= sample && sample <= last; };
    if (holds(selection.Start) || holds(selection.End))
        return {TShiftPressEdge::None, selection};
    if (last < selection.Start)
        return {TShiftPressEdge::Start, {first, selection.End}};
    return {TShiftPressEdge::End, {selection.Start, std::min(last, length)}};
}

TRegionRange RegionShiftPressFromCursor(std::int32_t cursor, std::int32_t first, std::int32_t last,
                                        std::int32_t length)
{
    if (last < cursor)
        return {first, cursor};
    return {cursor, std::min(last, length)};
}

// --- Drags off the image -------------------------------------------------------------------

TDragColumn DragColumnFor(int x, int width, const TWaveViewState& view, std::int32_t length)
{
    TDragColumn column{x, 0, false};
    if (x < 0) {
        column = {0, x, view.ViewStart > 0};
    } else if (x >= width) {
        column = {std::max(0, width - 1), x - (width - 1), view.ViewEnd < length};
    }
    return column;
}

std::optional<std::int32_t> AutoScrollStart(const TWaveViewState& view, int overshoot,
                                            std::int32_t length)
{
    const bool back = overshoot < 0 && view.ViewStart > 0;
    const bool on = overshoot > 0 && view.ViewEnd < length;
    if (!back && !on)
        return std::nullopt;
    const std::int64_t start =
        std::int64_t(view.ViewStart) + std::int64_t(overshoot) * view.SamplesPerPixel;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(start, 0, length));
}

TRegionRange AutoScrolledSelection(const TWaveViewState& view, int overshoot, std::int32_t cursor,
                                   std::int32_t length)
{
    TRegionRange selection{view.SelStart, view.SelEnd};
    const std::int64_t step = std::int64_t(overshoot) * view.SamplesPerPixel;
    if (overshoot < 0) {
        if (cursor < view.ViewStart)
            selection.End = std::max(0, view.ViewStart - 1);
        else
            selection.Start =
                static_cast<std::int32_t>(std::max<std::int64_t>(0, view.ViewStart + step));
    } else if (overshoot > 0) {
        if (cursor > view.ViewEnd)
            selection.Start = view.ViewEnd;
        else
            selection.End =
                static_cast<std::int32_t>(std::min<std::int64_t>(length, view.ViewEnd + step));
    }
    return selection;
}

// --- Erase tool ----------------------------------------------------------------------------

std::vector<int> CutBarsWithin(const std::vector<std::int32_t>& sortedBars, std::int32_t from,
                               std::int32_t to)
{
    std::vector<int> indexes;
    for (int i = 0; i < static_cast<int>(sortedBars.size()); ++i)
        if (from <= sortedBars[i] && sortedBars[i] <= to)
            indexes.push_back(i);
    return indexes;
}
