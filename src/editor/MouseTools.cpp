#include "MouseTools.h"

#include "classlib/Checks.h"

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
