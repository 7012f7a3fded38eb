#include "controls/ExtBarRules.h"

#include <algorithm>

int ToolbarPushSpace(bool horizontal, int toolbarWidth, int toolbarHeight, int rightPushMargin)
{
    if (horizontal)
        return toolbarWidth - rightPushMargin;
    return toolbarHeight - rightPushMargin - 6;
}

int RightAlignSpacerWidth(int space, int totalExtent, int spacerExtent)
{
    return std::max(space - (totalExtent - spacerExtent), 0);
}

TRect StatusGripRect(const TStatusGripState& state, const TRect& dockClient, int scrollBarWidth)
{
    if (state.Destroying || !state.SizeGrip || !state.Docked || state.FormMaximized ||
        !state.FormSizable)
        return TRect();
    TRect grip = dockClient;
    grip.left = grip.right - scrollBarWidth;
    return grip;
}

int StatusRightPushMargin(const TRect& gripRect)
{
    const int width = gripRect.right - gripRect.left;
    return width != 0 ? width : 4;
}

std::vector<TDividerLine> StatusDividerLines(const std::vector<int>& separatorCentres, bool classic)
{
    std::vector<TDividerLine> lines;
    for (int x : separatorCentres) {
        lines.push_back({x - 2, clWindow});
        lines.push_back({x + 1, classic ? clBtnShadow : clWindow});
    }
    return lines;
}
