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

int CustomizeDropIndex(const std::vector<TItemSpan>& spans, int pos, int itemCount)
{
    for (const TItemSpan& span : spans)
        if (pos < (span.Start + span.End) / 2)
            return span.Index;
    return itemCount;
}

int CustomizeInsertIndex(int dropIndex, int oldIndex)
{
    if (oldIndex < 0)
        return dropIndex;
    if (dropIndex == oldIndex || dropIndex == oldIndex + 1)
        return -1;
    return dropIndex > oldIndex ? dropIndex - 1 : dropIndex;
}

int CustomizeMarkPos(const std::vector<TItemSpan>& spans, int dropIndex)
{
    for (const TItemSpan& span : spans)
        if (span.Index >= dropIndex)
            return span.Start;
    return spans.empty() ? 0 : spans.back().End;
}

int PinnedControlWidth(const TExtItemCache& entry, int toolbarWidth)
{
    return std::max(entry.Width + toolbarWidth - entry.ParentWidth, 0);
}

void CorrectCachedWidths(std::vector<TExtItemCache>& cache, int lastEdge, int edge)
{
    if (lastEdge < 0 || edge < 0)
        return;
    for (TExtItemCache& entry : cache)
        entry.Width -= edge - lastEdge;
}
