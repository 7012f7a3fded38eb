// The extended bars' layout rules without windows: the width the
// right-align spacer takes so that the items after it end at the bar's far
// edge, the status bar's size-grip rectangle and margin, and the divider
// lines it draws at its separators. The bars apply the answers.
#pragma once

#include "classlib/StringTypes.h"
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

// --- Customizing ---------------------------------------------------------------------------

// Where along a toolbar one shown item lies: [Start, End), and its index
// among the toolbar's items.
struct TItemSpan
{
    int Start = 0;
    int End = 0;
    int Index = 0;
};
// The index a dragged item would be inserted before at pos: the first item
// (in order along the bar) whose middle lies beyond pos; itemCount (the end)
// past them all.
int CustomizeDropIndex(const std::vector<TItemSpan>& spans, int pos, int itemCount);
// The index the item takes once it is taken out of the toolbar's items
// (from oldIndex; -1 when it came from elsewhere) and put back before
// dropIndex; -1 when the drop leaves it where it is.
int CustomizeInsertIndex(int dropIndex, int oldIndex);
// Where along the bar the drop mark of dropIndex stands: just before the
// item's span, or after the last one.
int CustomizeMarkPos(const std::vector<TItemSpan>& spans, int dropIndex);

// --- Anchored controls -----------------------------------------------------------------------

// What a toolbar keeps of a control item whose control is anchored to the
// right: the control's bounds and the toolbar's size when first seen.
struct TExtItemCache
{
    AnsiString Name;            // the control item's component name
    const void* Item = nullptr; // the control item (not owned)
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int ParentWidth = 0;
    int ParentHeight = 0;
};
// The control's width on a toolbar width wide: its cached width grown by
// what the toolbar grew since; never negative.
int PinnedControlWidth(const TExtItemCache& entry, int toolbarWidth);
// After an item came or went, the cached widths shrink by how far the
// items' trailing edge moved (from lastEdge to edge), so that the controls
// keep ending where they did.
void CorrectCachedWidths(std::vector<TExtItemCache>& cache, int lastEdge, int edge);
