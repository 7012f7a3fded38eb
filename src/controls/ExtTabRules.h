// The tab strip's rules without windows: which tab is active after a
// request, an insertion or a deletion (with the change events a request
// fires), the fitted tab width, which tabs overflow into the hidden list and
// which come back, the names of new sheets and the sheets' rectangles.
// The tab control applies the answers to its strip and pages.
#pragma once

#include "classlib/Event.h"
#include "classlib/Types.h"

#include <string>
#include <vector>

// Stored by number in window descriptions and settings.
enum class TExtTabPosition
{
    ttpTop = 0,
    ttpBottom = 1
};

// How tabs are painted; stored by number.
enum class TExtTabThemeType
{
    tttNone = 0,    // classic: the active tab framed twice
    tttWindows = 1, // the visual style's tabs
    tttSkin = 2,    // as the toolbar theme paints tabs
    tttFlat = 3     // the active tab framed once
};

// What the strip knows of one of its items.
struct TTabStripSlot
{
    bool IsTab = true;       // a tab item (the spacer and other items are not)
    bool Destroying = false; // the item is being freed
};

// The active index of a tab strip and its change events. No tab is active
// at -1. Every change through Request asks Changing first and reports
// Changed after; Shift and Removed keep the same tab active without events.
class TTabActivation
{
public:
    // The current index, the requested one, Allow (starts true).
    TEvent<int, int, bool&> OnChanging;
    // The new active index.
    TEvent<int> OnChanged;

    int Active() const { return FActive; }

    // The index a request leaves active: a negative index, one not below
    // the item count or an item being freed gives -1; an item that is not a
    // tab keeps the current index.
    int Normalized(int requested, const std::vector<TTabStripSlot>& items) const;
    // Activates a tab: nothing when the normalised index is the active one
    // or when Changing refuses. Answers whether the active index changed.
    bool Request(int requested, const std::vector<TTabStripSlot>& items);
    // An item was inserted at index (items already holds it): a tab at or
    // before the active one moves the active index up by one, silently.
    void Inserted(int index);
    // What must follow the deletion of the item at index (items no longer
    // holds it).
    enum class TAfterDelete
    {
        Nothing,      // the active tab stays (its index may have moved down)
        RequestPrior, // the active tab went: the one before it is active
        ClickNext,    // the active first tab went: the tab now first is to be
                      // clicked and Reapply made (the index stays 0)
        ClearActive   // the active first tab went and no tab follows: -1
    };
    TAfterDelete Deleted(int index, const std::vector<TTabStripSlot>& items);
    // Sets the index without events (a tab dragged to a new place).
    void Move(int newIndex) { FActive = newIndex; }
    // Activates the active tab anew, from -1, so that its page is shown and
    // the events fire (after ClickNext left the index where it was).
    void Reapply(const std::vector<TTabStripSlot>& items);

private:
    void ForceActive(int index);

    int FActive = -1;
};

// Width of every tab when the tabs fill the strip, and of the right-align
// spacer after them.
struct TTabAutofit
{
    int TabWidth = 0;
    int SpacerWidth = 0;
};
// The fitted widths for tabCount tabs on a dock of the given client width,
// beside other items of fixed total width and spacers (20 pixels reserved
// each). A tab is at most maxTabWidth and never negative; the spacer takes
// what the tabs leave, less rightPushMargin, never below 0. tabCount 0
// gives nothing to fit (all zero).
TTabAutofit FitTabs(int dockClientWidth, int tabCount, int fixedWidth, int spacerCount,
                    int maxTabWidth, int rightPushMargin);

// One item of the strip for the overflow rules, in strip order.
struct TTabOverflowSlot
{
    int Width = 0;          // pixels, as laid out (remembered while hidden)
    bool IsTab = true;      // tabs may overflow; other items keep their place
    bool IsSpacer = false;  // the right-align spacer takes no width here
    bool Selectable = true; // enabled and visible to the user
    bool Visible = true;
    bool Remembered = false; // hidden by overflow (in the hidden-items list)
    bool Active = false;     // the active tab: never hidden
};
// Hides the tabs that end beyond usableWidth, from the last backwards,
// never the first selectable tab nor the active one, and marks them
// Remembered; when no tab
// overflows, shows remembered tabs again in strip order while the running
// width stays below usableWidth. Answers whether anything changed.
bool ApplyTabOverflow(std::vector<TTabOverflowSlot>& slots, int usableWidth);
// Brings a remembered tab back into the strip one step at a time: a tab
// before the first visible one shows the nearest remembered tab before it
// and hides the last visible one; a tab after the last visible one shows
// the nearest remembered tab after it and hides the first visible one. The
// first selectable tab stays. Answers whether anything changed.
bool ScrollTabIntoView(std::vector<TTabOverflowSlot>& slots, int index);

// The first name "ExtTabSheet" + n (n = 1, 2, ...) not in used.
std::string FreeTabSheetName(const std::vector<std::string>& used);

// The rectangle of a page inside the tab control's client rectangle: 2 in
// from the left; the right edge and the edge away from the tabs 2 in (4
// with visual styles); then the margins (left, top, right, bottom) apply.
TRect TabSheetBounds(const TRect& client, TExtTabPosition position, bool visualStyles,
                     const TRect& margins);
// The area of the page background a tab set erases: the client rectangle
// less the strip's height - 2 on the tabs' side.
TRect TabPageArea(const TRect& client, TExtTabPosition position, int stripHeight);

// The painting a strip of that type does now: the toolbar theme paints its
// tabs as the visual styles do, and those fall back to classic when off.
TExtTabThemeType ExtResolveTabThemeKind(TExtTabThemeType type, bool visualStylesOn);

// Where one tab is painted, in its own rectangle laid out with the page
// below it (tabs at the bottom are painted so and flipped).
struct TTabShape
{
    TRect Body;             // the tab's face
    bool DrawBody = false;  // classic and flat inactive tabs have no face
    bool Separator = false; // the two lines at the right edge
    bool ThemeFace = false; // the face is a hot toolbar button of the current theme
    int CaptionShift = 0;   // pixels toward the page for caption and image
    TRect Focus;            // the focus rectangle; empty when none
};
// What follows a tab: nothing, an inactive or the active tab.
enum class TTabNeighbour
{
    None,
    Inactive,
    Active
};
// The shape of a tab of a resolved kind: active, hot under the mouse, and
// what follows it. An active tab with visual styles widens over its
// neighbours, on the left always. The active tab of a focused strip shows
// the focus inside it.
TTabShape TabShape(const TRect& rect, TExtTabThemeType kind, bool active, bool hot,
                   TTabNeighbour after, bool focused = false);
