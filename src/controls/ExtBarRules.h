// The extended bars' layout rules without windows: the width the
// right-align spacer takes so that the items after it end at the bar's far
// edge, the status bar's size-grip rectangle and margin, and the divider
// lines it draws at its separators. The bars apply the answers.
#pragma once

#include "classlib/Types.h"

#include <vector>

// The length the items of a toolbar may take before the far edge: the width
// less the margin for a horizontal bar; the height less the margin and 6
// for a bar docked left or right. Pixels.
int ToolbarPushSpace(bool horizontal, int toolbarWidth, int toolbarHeight, int rightPushMargin);
// The right-align spacer's width: the space left once the other visible
// items (totalExtent includes the spacer's own spacerExtent) are laid out;
// never negative.
int RightAlignSpacerWidth(int space, int totalExtent, int spacerExtent);

// What decides whether a status bar shows its size grip.
struct TStatusGripState
{
    bool Destroying = false;
    bool SizeGrip = true;
    bool Docked = true; // the status toolbar sits on its dock
    bool FormMaximized = false;
    bool FormSizable = true; // the form's window has a sizing border
};
// The grip rectangle: the dock's client rectangle from its right edge less
// the width of a vertical scroll bar; empty when no grip shows.
TRect StatusGripRect(const TStatusGripState& state, const TRect& dockClient, int scrollBarWidth);
// The margin the items leave at the right: the grip's width, or 4 without
// a grip.
int StatusRightPushMargin(const TRect& gripRect);

// One vertical line over the bar's whole height.
struct TDividerLine
{
    int X = 0;
    TColor Color = 0;
    bool operator==(const TDividerLine& o) const { return X == o.X && Color == o.Color; }
};
// The two lines of each separator centre x: at x - 2 in clWindow, at x + 1
// in clBtnShadow when painted classic, else clWindow too.
std::vector<TDividerLine> StatusDividerLines(const std::vector<int>& separatorCentres,
                                             bool classic);
