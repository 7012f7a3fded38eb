// Docks, the windows that dock in them, and the frames they float in.
//
//   TBarBasicBackground       an abstract painter of dock backgrounds
//   TBarDock                  a strip along one edge of a form that holds
//                             dockable windows in rows (BarDock.cpp); the
//                             arrangement of its rows is a pure function over
//                             window records (ArrangeDockRows,
//                             BarDock_rows.cpp)
//   TBarCustomDockableWindow  the base of every toolbar and tool window:
//                             docked, floating in a frame of its own, or on
//                             its form, keeping its window handle through
//                             every move (BarDock_window.cpp); its docked
//                             non-client area with the drag handle and the
//                             close button (BarDock_nc.cpp); the drag and
//                             resize loops (BarDock_drag.cpp)
//   TBarFloatingWindowParent  the small tool-window form a floating window
//                             sits in: caption, close button, sizing edges,
//                             activation hand-off (BarDock_frame.cpp)
//
// Every loop here (dragging, resizing, close-button tracking) holds the
// mouse capture and reads the queue itself; it ends as a cancel once the
// capture goes, whatever took it, and posts WM_QUIT again when it meets one.
//
// Not here: toolbars, tool windows and their saved positions.
#pragma once

#include "BarPlaces.h"

#include "classlib/Form.h"
#include "classlib/StandardControls.h"

#include <functional>
#include <vector>

class TBarDock;
class TBarCustomDockableWindow;
class TBarFloatingWindowParent;
class TIniFile;

// --- Kinds and sets ----------------------------------------------------------

enum class TBarDockPosition : BYTE
{
    dpTop = 0,
    dpBottom = 1,
    dpLeft = 2,
    dpRight = 3
};

enum TBarDockBoundLine : BYTE
{
    blTop = 1,
    blBottom = 2,
    blLeft = 4,
    blRight = 8
};
using TBarDockBoundLines = BYTE;

// The kind of place a dockable window is in.
enum class TBarHostKind : BYTE
{
    hkNone = 0,
    hkFloat = 1,
    hkHorzDock = 2,
    hkVertDock = 3
};

// How a window gives up length when its row is too short.
enum class TBarShrinkMode : BYTE
{
    tbsmNone,
    tbsmWrap,
    tbsmChevron
};

// A set of dock positions: bit n for TBarDockPosition n.
using TBarDockableTo = BYTE;
constexpr TBarDockableTo BarDockableTo(TBarDockPosition position)
{
    return static_cast<TBarDockableTo>(1u << static_cast<unsigned>(position));
}
constexpr TBarDockableTo kBarDockableToAll = 0x0F;

enum class TBarDockMode : BYTE
{
    dmCanFloat,
    dmCannotFloat,
    dmCannotFloatOrChangeDocks
};

enum class TBarDragHandleStyle : BYTE
{
    dhDouble,
    dhNone,
    dhSingle
};

enum class TBarFloatingMode : BYTE
{
    fmOnTopOfParentForm,
    fmOnTopOfAllForms
};

enum TBarFrameSizingOption : BYTE
{
    bfsSizingCorners = 1, // the corners of a floating frame size two edges
    bfsConfineCursor = 2, // the pointer stays on the monitor while sizing
};
using TBarFrameSizingOptions = BYTE;

// Hit-test codes of the framework's own non-client parts.
constexpr LRESULT kBarHitDragHandle = 2000;
constexpr LRESULT kBarHitCloseButton = 2001;
constexpr LRESULT kBarHitFloatingCaption = 2002;

// Sender, Inserting, Bar.
using TBarInsertRemoveEvent = TEvent<TObject*, bool, TBarCustomDockableWindow*>;
// Sender, Bar, Accept.
using TBarRequestDockEvent = TEvent<TObject*, TBarCustomDockableWindow*, bool&>;
// Sender, Floating, DockingTo.
using TBarDockChangingEvent = TEvent<TObject*, bool, TBarDock*>;

// --- The row arrangement ----------------------------------------------------------

// One window of a dock as the row arrangement sees it. Lengths run along
// the dock's rows, pixels.
struct TBarRowSlot
{
    // What the window asks for.
    int DockRow = 0;
    int DockPos = -1;
    bool Visible = false; // visible on the dock; hidden windows keep a row
    bool FullSize = false;
    bool Stretch = false;
    bool NewRowAhead = false;
    bool DragActive = false;
    bool RowShifting = false;
    int FullLength = 0; // docked non-client length plus the natural length
    int MinLength = 0;  // the smallest it may shrink to, at most FullLength
    TBarShrinkMode ShrinkMode = TBarShrinkMode::tbsmNone;
    // What the arrangement gives it.
    int Row = 0;                  // its row, renumbered from 0 without empty rows
    int Position = 0;             // along the row (DockPos for a hidden window)
    int Length = 0;               // along the row (0 for a hidden window)
    bool RowShiftAllowed = false; // a dragged window on an overflowing shared row
};

// Sorts the windows by row and position, gives full-size windows and
// windows that want a new row ahead a row of their own, drops empty rows,
// wraps rows longer than availableLength, places the windows along their
// rows with the gaps they ask for, shrinks what may shrink and stretches
// what stretches. Returns the sorted order (indices into slots).
std::vector<int> ArrangeDockRows(std::vector<TBarRowSlot>& slots, int availableLength,
                                 bool limitToOneRow);

// --- The drag rules ---------------------------------------------------------------

// The non-client extent of a docked window: 2 pixels on every side plus,
// in a dock that allows dragging, the drag handle on the leading side
// (left in top-bottom docks, top in left-right docks).
struct TBarDockedFrame
{
    TPoint TopLeft;
    TPoint BottomRight;
};
int DragHandleWidth(TBarDragHandleStyle style, bool closeButtonWhenDocked);
TBarDockedFrame DockedFrameFor(bool allowDrag, bool leftRight, TBarDragHandleStyle style,
                               bool closeButtonWhenDocked);

// The screen rectangle of a dragged window of size under the pointer,
// keeping the proportion of the grab point (window coordinates) in a
// window that was startSize at the start.
TRect DragTargetRect(const TPoint& pointer, const TPoint& size, const TPoint& grab,
                     const TPoint& startSize);
// Whether a window dragged with that grab point can dock in a dock whose
// screen rectangle is dockRect, with the pointer at pointer and the window
// placed at target.
bool DragCanDock(const TRect& dockRect, bool leftRight, const TPoint& pointer, const TPoint& grab,
                 const TPoint& startSize, const TRect& target);
// A row size as the drag keeps it: the thickness in the low 16 bits, bit 16
// set for a row that holds a full-size window.
int PackRowSize(int thickness, bool fullSizeRow);
// The row a window dropped with its centre at across (dock coordinates,
// across the rows) goes to: a new row before row (newRow) or joining it.
// Past the last row: one row past it.
struct TBarDropRow
{
    int Row = 0;
    bool NewRow = false;
};
TBarDropRow DropRowAt(const std::vector<int>& rowSizes, int across, bool windowFullSize);
// The pointer kept inside a work area.
TPoint ClampPointToArea(const TPoint& p, const TRect& area);
// A floating frame's rectangle kept reachable in a work area: it may leave
// it by all but border + 4 pixels, and its top rises at most topNonClient - 4
// pixels above the area.
TRect KeepFrameReachable(const TRect& frame, const TRect& workArea, const TPoint& border,
                         int topNonClient);
// A rectangle shifted back into an area: left when past the right edge, up
// when past the bottom, then right and down (so the top left wins).
TRect ShiftRectIntoArea(const TRect& r, const TRect& area);
// Which sides of a floating frame follow the pointer for a sizing edge (0
// to 7: left, right, top, top-left, top-right, bottom, bottom-left,
// bottom-right).
enum TBarSizingSide : BYTE
{
    bssLeft = 1,
    bssRight = 2,
    bssTop = 4,
    bssBottom = 8
};
BYTE SizingSidesOfEdge(int edge);
// The frame rectangle of a size step: the moving sides of start moved by
// travel, then kept between the minimum and a positive maximum by moving
// the dragged side back.
TRect SizedFrameRect(const TRect& start, BYTE sides, const TPoint& travel, const TPoint& minSize,
                     const TPoint& maxSize);
// The floating frame's hit test in window coordinates: a kBarHit code, a
// sizing HT code, or 0 for the default answer.
struct TBarFrameHitInfo
{
    TPoint WindowSize;
    TPoint Border;        // the frame border, x and y
    int SmallCaption = 0; // SM_CYSMCAPTION
    bool ShowCaption = true;
    bool CloseButton = true;
    bool Resizable = true;
    bool SizingCorners = true;
};
LRESULT FloatingFrameHitTest(const TBarFrameHitInfo& frame, const TPoint& p);
// The caption and the close-button rectangles of a floating frame, window
// coordinates.
TRect FloatingCaptionRect(const TBarFrameHitInfo& frame);
TRect FloatingCloseRect(const TBarFrameHitInfo& frame);

// --- Backgrounds -------------------------------------------------------------------

// Paints what lies behind the windows of a dock. Nothing concrete ships
// with the framework; docks work with none.
class TBarBasicBackground : public TComponent
{
public:
    using TComponent::TComponent;

    virtual void Draw(HDC DC, const TRect& DrawRect) = 0;
    virtual HPALETTE PaletteHandle() = 0;
    // Registers a handler told of every change of the background.
    virtual void RegisterChanges(const TNotifyEvent& Handler) = 0;
    virtual void ColorsChangedNotify() = 0;
    virtual void DetachChangeHandler(const TNotifyEvent& Handler) = 0;
    // Whether there is anything to paint.
    virtual bool HasBackdrop() = 0;
};

// --- Docks ----------------------------------------------------------------------------

class TBarDock : public TCustomControl
{
public:
    explicit TBarDock(TComponent* AOwner);
    ~TBarDock() override;

    // --- Properties
    TBarDockPosition Position() const { return FPosition; }
    // Raises EInvalidOperation for a change while the dock holds controls.
    void SetPosition(TBarDockPosition value);
    // Left-right docks run their rows top to bottom.
    bool LeftRight() const
    {
        return FPosition == TBarDockPosition::dpLeft || FPosition == TBarDockPosition::dpRight;
    }
    bool AllowDrag() const { return FAllowDrag; }
    void SetAllowDrag(bool value);
    TBarDockBoundLines BoundLines() const { return FBoundLines; }
    void SetBoundLines(TBarDockBoundLines value);
    TBarBasicBackground* Background() const { return FBackground; }
    void SetBackground(TBarBasicBackground* value);
    bool BackgroundOnToolbars() const { return FBackgroundOnToolbars; }
    void SetBackgroundOnToolbars(bool value);
    bool FixAlign() const { return FFixAlign; }
    void SetFixAlign(bool value);
    bool PersistNextArrange() const { return FPersistNextArrange; }
    void SetPersistNextArrange(bool value) { FPersistNextArrange = value; }
    bool LimitToOneRow() const { return FLimitToOneRow; }
    void SetLimitToOneRow(bool value);
    int ArrangeLockCount() const { return FArrangeLockCount; }
    bool ArrangePending() const { return FArrangePending; }
    // Pixels the bound lines take: left and right lines, top and bottom.
    int LineInsetX() const { return FLineInsetX; }
    int LineInsetY() const { return FLineInsetY; }

    // Every window that belongs to the dock, hidden ones and ones floating
    // away from it (their LastDock) included.
    const std::vector<TBarCustomDockableWindow*>& MemberWindows() const { return FMemberWindows; }
    // The windows visible on the dock.
    const std::vector<TBarCustomDockableWindow*>& ShownWindows() const { return FShownWindows; }
    int ShownCount() const { return static_cast<int>(FShownWindows.size()); }
    TBarCustomDockableWindow* ShownWindow(int index) const { return FShownWindows.at(index); }
    // Its Parent is this dock and it is visible.
    bool IsShownOnDock(const TBarCustomDockableWindow* window) const;
    TBarHostKind HostKind() const
    {
        return LeftRight() ? TBarHostKind::hkVertDock : TBarHostKind::hkHorzDock;
    }

    // --- Arrangement
    void BeginUpdate() { ++FArrangeLockCount; }
    void EndUpdate();
    // SetBounds keeping the aligned edge (bottom docks their bottom, right
    // docks their right).
    void ResizeDockTo(int NewWidth, int NewHeight);
    // The largest DockRow (PlacedRow when effective) of the members; -1
    // without members.
    int LastRowIndex(bool Effective) const;
    // The thickness of a row: the largest across size of the windows shown
    // on it; FullSizeRow: the last of them is full-size.
    int RowThickness(int Row, bool& FullSizeRow) const;
    // The row at a pixel across the rows (the row after the last past them).
    int RowAtOffset(int Pixel) const;
    // Every shown window takes its placed row and position as wanted ones.
    void AdoptArrangedPlaces();
    // A window's dock or LastDock changed: it joins or leaves the members.
    void UpdateMembership(bool Inserting, TBarCustomDockableWindow* Window);
    // Brings the shown list up to date for a window.
    void RefreshShownList(TBarCustomDockableWindow* Window, bool ForceRemove);
    // A window that goes leaves both lists.
    void RemoveWindow(TBarCustomDockableWindow* Window);

    // --- Virtual operations (the theme layer overrides the first three)
    virtual bool DragAllowedHere() { return FAllowDrag; }
    // DrawRect is in the dock parent's client coordinates, so that
    // neighbouring docks and the windows on them show one background.
    virtual void DrawBackground(HDC DC, const TRect& DrawRect);
    virtual bool HasBackdrop();
    virtual void LayOutRows();

    // Where the client area of the dock (or the whole rectangle of a window
    // on it) lies in the dock parent's client coordinates.
    TPoint BackgroundOrigin(TWinControl* window);
    // Paints the background into dc, whose origin lies at origin.
    void DrawBackgroundAt(HDC dc, const TPoint& origin, int width, int height);

    TBarInsertRemoveEvent OnInsertRemoveBar;
    TBarRequestDockEvent OnRequestDock;

    void SetParent(TWinControl* value) override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Invalidates the dock and redraws every window shown on it, frames
    // included.
    void InvalidateAll();

private:
    // Arranges with the lock held (LayOutRows steps 3 to 11).
    void ArrangeRows();
    // Places the rows across the dock and returns their total thickness.
    int PlaceRowsAcross(const std::vector<TBarRowSlot>& slots,
                        const std::vector<TBarCustomDockableWindow*>& windows);
    void BackgroundChanged(TObject* Sender);
    void WMNCCalcSize(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMPrint(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    // Offers a menu key to the members floating away from the dock.
    bool ForwardToFloatingMembers(TMessage& m);
    static void PaintBoundLines(HWND window, HDC dc, void* self);

    TBarDockPosition FPosition = TBarDockPosition::dpTop;
    bool FAllowDrag = true;
    TBarDockBoundLines FBoundLines = 0;
    TBarBasicBackground* FBackground = nullptr; // not owned; free-notified
    bool FBackgroundOnToolbars = true;
    bool FFixAlign = false;
    bool FPersistNextArrange = false; // the next arrangement writes rows back
    bool FLimitToOneRow = false;
    int FArrangeLockCount = 0; // BeginUpdate nesting
    bool FArrangePending = false;
    int FLineInsetX = 0;                                   // pixels
    int FLineInsetY = 0;                                   // pixels
    std::vector<TBarCustomDockableWindow*> FMemberWindows; // not owned; free-notified
    std::vector<TBarCustomDockableWindow*> FShownWindows;  // not owned; members shown here
};

// --- Dockable windows ----------------------------------------------------------------

// A frame class: makes the floating frame of a window.
using TBarFrameClass = TBarFloatingWindowParent* (*)(TBarCustomDockableWindow* Window);
template <class F> TBarFloatingWindowParent* NewBarFrame(TBarCustomDockableWindow* Window)
{
    return new F(Window);
}

class TBarCustomDockableWindow : public TCustomControl
{
public:
    explicit TBarCustomDockableWindow(TComponent* AOwner);
    ~TBarCustomDockableWindow() override;

    // --- Where it is
    TBarDock* CurrentDock() const { return FCurrentDock; }
    // Re-parents into the dock, or onto the form for null.
    void SetCurrentDock(TBarDock* value);
    TBarDock* DefaultDock() const { return FDefaultDock; }
    void SetDefaultDock(TBarDock* value);
    TBarDock* LastDock() const { return FLastDock; }
    void SetLastDock(TBarDock* value);
    bool InDock() const { return FInDock; }
    bool Floating() const { return FFloating; }
    // Raises EInvalidOperation when the window has no form to float from.
    void SetFloating(bool value);
    // The kind of place it is in.
    TBarHostKind DockType() const;
    // The frame it floats in (null when not floating).
    TBarFloatingWindowParent* FloatingParent() const;
    // Its form: the topmost form among its parents, or the owner form of
    // the frame it floats in.
    TCustomForm* TopForm() const;
    // Top-left of the floating frame, screen pixels.
    TPoint FloatOrigin() const { return FFloatOrigin; }
    void SetFloatOrigin(const TPoint& value);
    int DockRow() const { return FDockRow; }
    void SetDockRow(int value);
    int DockPos() const { return FDockPos; }
    void SetDockPos(int value);
    int PlacedRow() const { return FPlacedRow; }
    int PlacedPos() const { return FPlacedPos; }
    // Length the dock gave it along its row; 0 when not shrunk.
    int GivenLength() const { return FGivenLength; }
    int GivenThickness() const { return FGivenThickness; }

    // --- Behaviour
    bool AutoResize() const { return FAutoResize; }
    void SetAutoResize(bool value) { FAutoResize = value; }
    bool DblClickUndock() const { return FDblClickUndock; }
    void SetDblClickUndock(bool value) { FDblClickUndock = value; }
    bool ActivateParent() const { return FActivateParent; }
    void SetActivateParent(bool value) { FActivateParent = value; }
    bool HideWhenInactive() const { return FHideWhenInactive; }
    void SetHideWhenInactive(bool value);
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool value);
    bool CloseButtonWhenDocked() const { return FCloseButtonWhenDocked; }
    void SetCloseButtonWhenDocked(bool value);
    bool FullSize() const { return FFullSize; }
    void SetFullSize(bool value);
    bool Resizable() const { return FResizable; }
    void SetResizable(bool value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool UseLastDock() const { return FUseLastDock; }
    void SetUseLastDock(bool value) { FUseLastDock = value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TBarDockMode DockMode() const { return FDockMode; }
    void SetDockMode(TBarDockMode value) { FDockMode = value; }
    TBarDragHandleStyle DragHandleStyle() const { return FDragHandleStyle; }
    void SetDragHandleStyle(TBarDragHandleStyle value);
    TBarDockableTo DockableTo() const { return FDockableTo; }
    void SetDockableTo(TBarDockableTo value) { FDockableTo = value; }
    TBarFloatingMode FloatingMode() const { return FFloatingMode; }
    void SetFloatingMode(TBarFloatingMode value);
    bool SmoothDrag() const { return FSmoothDrag; }
    void SetSmoothDrag(bool value) { FSmoothDrag = value; }
    TBarFrameSizingOptions FrameSizingOptions() const { return FFrameSizingOptions; }
    void SetFrameSizingOptions(TBarFrameSizingOptions value) { FFrameSizingOptions = value; }
    // Further forms whose docks take part in drags (not owned).
    std::vector<TCustomForm*>& ExtraDockForms() { return FExtraDockForms; }

    // --- State the dock and the loops keep here
    bool NewRowAhead() const { return FNewRowAhead; }
    int SelfSizingDepth() const { return FSelfSizingDepth; }
    bool RelayoutPending() const { return FRelayoutPending; }
    bool DimCaption() const { return FDimCaption; }
    bool DragActive() const { return FDragActive; }
    bool RowShifting() const { return FRowShifting; }
    bool RowShiftAllowed() const { return FRowShiftAllowed; }
    bool LiveDragActive() const { return FLiveDragActive; }
    bool CloseBtnPressed() const { return FCloseBtnPressed; }
    bool CloseBtnHot() const { return FCloseBtnHot; }
    TBarFloatingWindowParent* OwnFrame() const { return FOwnFrame; }

    // --- Operations
    void BeginUpdate() { ++FLayoutLockCount; }
    void EndUpdate();
    // Lays the content out for the current place and takes its size.
    void Arrange();
    // Takes a content size (client pixels) as the window's size.
    void ApplyContentSize(int Width, int Height);
    // OnCloseQuery, then hides and fires OnClose.
    void Close();
    // Floats a docked window; docks a floating one back.
    void ToggleDockState();
    // Moves a floating frame back onto the work area of its monitor (only
    // when it is wholly off it, when asked).
    void KeepOnMonitor(bool OnlyIfFullyOffscreen);
    // Drags the window between docks and floating, from a point in its
    // client coordinates. False when the window went during the loop: the
    // caller must not touch it then.
    bool StartDragLoop(int X, int Y);
    // Resizes the floating frame by one of its edges (0 to 7, as
    // SizingSidesOfEdge).
    void StartSizeLoop(int Edge);
    // The docked non-client size, pixels: across and along the two axes.
    int DockedBorderWidth();
    int GetNonClientHeight();
    // The floating frame's non-client size, pixels (borders and caption).
    TPoint FloatingNonClientSize();
    // Brings the floating frame's visibility, owner and caption look up to
    // date.
    void UpdateFloatingVisibility();

    // --- Virtual operations, in the order the theme layer expects
    // The docked non-client extent for the current dock.
    virtual void DockedFrameExtent(TPoint& TopLeft, TPoint& BottomRight);
    virtual bool AcceptsDock(TBarDock* Dock);
    virtual void HasControlAt(const TPoint& Point, bool& Exists);
    // The content size (client pixels) for a place; with CanMoveControls
    // the content is really laid out, else only measured.
    virtual void LayOutContent(bool CanMoveControls, TBarHostKind DockType, bool Floating,
                               TBarDock* Dock, TPoint& NewSize) = 0;
    // Paints the docked non-client area, into DC when DrawToDC, else into
    // the window's own DC clipped to Clip.
    virtual void DrawNCArea(bool DrawToDC, HDC DC, HRGN Clip);
    // The content size (client pixels) it wants in its current place.
    virtual void NaturalSize(TPoint& Size) = 0;
    // The docked close button, window coordinates.
    virtual TRect DockedCloseBox(bool LeftRight);
    virtual void SmallestShrunkSize(TPoint& Size) {}
    virtual void SizeLimits(int& MinClientWidth, int& MinClientHeight, int& MaxClientWidth,
                            int& MaxClientHeight)
    {
    }
    virtual TBarShrinkMode ShrinkBehaviour() { return TBarShrinkMode::tbsmNone; }
    virtual void SizeAboutToChange(int Width, int Height) {}
    virtual TPoint FloatFrameBorder();
    // Operations the descendants override.
    // Reads and writes what a class keeps beyond the common position keys.
    virtual void LoadExtraPlace(TBarPlaceReadIntProc ReadIntProc,
                                TBarPlaceReadStringProc ReadStringProc, void* ExtraData)
    {
    }
    virtual void SaveExtraPlace(TBarPlaceWriteIntProc WriteIntProc,
                                TBarPlaceWriteStringProc WriteStringProc, void* ExtraData)
    {
    }
    virtual TBarFrameClass FrameClass();
    virtual void SizingStarted(int Edge) {}
    // May adjust a frame rectangle while sizing (sides: TBarSizingSide).
    virtual void SizingStep(TRect& FrameRect, BYTE Sides) {}
    virtual void SizingApplied() {}
    virtual void SizingFinished() {}
    virtual void PrepareOrder() {}
    virtual void FireDockChangingHidden(bool NewFloating, TBarDock* DockingTo);
    virtual bool IgnoresChild(TControl* Control) { return false; }

    TNotifyEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDockChanged;
    TBarDockChangingEvent OnDockChanging;
    TBarDockChangingEvent OnDockChangingHidden;
    TNotifyEvent OnMove;
    TNotifyEvent OnRecreated;
    TNotifyEvent OnRecreating;
    TNotifyEvent OnVisibleChanged;

    void SetParent(TWinControl* value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& message) override;

protected:
    friend class TBarDock;
    friend class TBarFloatingWindowParent;
    class TDragSession;

    void CreateParams(TCreateParams& params) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The docked non-client extent in a dock (none outside a dock).
    TBarDockedFrame DockedFrameIn(TBarDock* dock);
    // The window can be dragged: docked where dragging is allowed, or
    // floating.
    bool CanBeDragged();
    // Recomputes the non-client area (SWP_FRAMECHANGED).
    void FrameChanged();
    // Asks the dock to arrange when docked.
    void ArrangeDock();
    // Stores a property the dock's arrangement reads.
    template <class T> void SetArrangedProperty(T& field, T value)
    {
        field = value;
        ArrangeDock();
    }
    // Stores a property of the docked frame. The frame sets the window's
    // length in its dock: the dock arranges again after it changed.
    template <class T> void SetDockedFrameProperty(T& field, T value)
    {
        field = value;
        if (FInDock) {
            FrameChanged();
            ArrangeDock();
        }
    }

private:
    // A dock that goes: the window forgets every reference to it.
    void DockGoing(TBarDock* dock);
    void ApplyPlace(TWinControl* value);
    // Sets the floating frame to a rectangle of the size loop.
    void ApplyFrameRect(const TRect& rect);
    void MakeFloatingFrame(TCustomForm* form);
    void FreeLeftFrame(TWinControl* oldParent);
    void UpdateDimCaption();
    void SetCloseBtnHot(bool value);
    // Tracks the docked close button; true when released over it.
    bool TrackCloseButton();
    void RedrawNCArea();
    void WMNCCalcSize(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void WMSetCursor(TMessage& m);
    void WMNCButtonDown(TMessage& m);
    void WMNCButtonDblClk(TMessage& m);
    void WMNCMouseMove(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMPrint(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    static void PaintNCArea(HWND window, HDC dc, void* self);
    void DrawDragHandle(HDC dc, const TRect& handle, bool leftRight);

    bool FAutoResize = true;
    bool FDblClickUndock = true;
    int FDockPos = -1;                // wanted position along the row, pixels
    int FDockRow = 0;                 // wanted row
    int FPlacedPos = 0;               // position of the last arrangement, pixels
    int FPlacedRow = -1;              // row of the last arrangement
    bool FInDock = false;             // the parent is a dock
    bool FFloating = false;           // the parent is a floating frame
    TBarDock* FCurrentDock = nullptr; // not owned: the parent, when a dock
    TBarDock* FDefaultDock = nullptr; // not owned; free-notified
    TBarDock* FLastDock = nullptr;    // not owned; free-notified
    int FGivenLength = 0;             // pixels; 0: not shrunk
    bool FActivateParent = true;
    bool FHideWhenInactive = true;
    bool FCloseButton = true;
    bool FCloseButtonWhenDocked = false;
    bool FFullSize = false;
    bool FResizable = true;
    bool FShowCaption = true;
    bool FStretch = false;
    bool FUseLastDock = true;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    TBarDockMode FDockMode = TBarDockMode::dmCanFloat;
    TBarDragHandleStyle FDragHandleStyle = TBarDragHandleStyle::dhSingle;
    TBarDockableTo FDockableTo = kBarDockableToAll;
    TBarFloatingMode FFloatingMode = TBarFloatingMode::fmOnTopOfParentForm;
    bool FSmoothDrag = true;
    TBarFrameSizingOptions FFrameSizingOptions = bfsSizingCorners | bfsConfineCursor;
    int FGivenThickness = 0;    // across the row, client pixels
    bool FNewRowAhead = false;  // a drag asks for a new row before DockRow
    int FSelfSizingDepth = 0;   // the window or its dock sets its bounds
    int FLayoutLockCount = 0;   // BeginUpdate nesting
    int FMoveEventLock = 0;     // OnMove is quiet while re-parenting
    int FReparentHideCount = 0; // the frame stays hidden while re-parenting
    bool FRelayoutPending = false;
    bool FDimCaption = false;                  // the floating caption looks inactive
    TPoint FFloatOrigin;                       // screen pixels
    std::vector<TCustomForm*> FExtraDockForms; // not owned
    bool FDragActive = false;
    bool FRowShifting = false;     // the drag moves the window along its row
    bool FRowShiftAllowed = false; // the last arrangement let it shift
    bool FLiveDragActive = false;  // a smooth drag runs
    bool FCloseBtnPressed = false;
    bool FCloseBtnHot = false;
    TBarFloatingWindowParent* FOwnFrame = nullptr; // owned: the frame it made and reuses
};

// --- Floating frames --------------------------------------------------------------------

// The tool-window form a floating window sits in. It never keeps the
// activation: a click leaves its owner form active, and an activation that
// reaches it is handed to that form.
class TBarFloatingWindowParent : public TCustomForm
{
public:
    explicit TBarFloatingWindowParent(TBarCustomDockableWindow* Window);
    ~TBarFloatingWindowParent() override;

    TBarCustomDockableWindow* HostedWindow() const { return FHostedWindow; }
    // The form the frame belongs to (not owned; free-notified).
    TCustomForm* FrameOwnerForm() const { return FFrameOwnerForm; }
    void SetFrameOwnerForm(TCustomForm* value);
    // The last visibility decision.
    bool ShowWanted() const { return FShowWanted; }
    void SetShowWanted(bool value) { FShowWanted = value; }
    // The frame's own parts for its window size.
    TBarFrameHitInfo FrameGeometry();
    // Redraws the caption (and its close button).
    void RedrawCaption();
    // Puts the frame above its owner window in the z-order, on the screen
    // too, as the window system keeps an owned window.
    void PlaceAboveOwner();
    // For a short while, puts the frame back above its owner whenever it
    // finds itself below it (see WatchTick).
    void WatchOwnerRaise();
    // Gives the activation to the owner form, or when that cannot take it,
    // to the first visible enabled top-level window of the thread.
    void PassActivationOn();
    // Frees the frame. In the middle of its own message handling (a double
    // click on its caption docks the window back) it lets go of the window
    // and hides at once, and goes once that handling is over.
    void Discard();

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Paints the frame: the border, the caption and the close button.
    virtual void DrawFrame(HDC dc, bool closePushed);

private:
    void FrameMessage(TMessage& message);
    void WMNCCalcSize(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void WMNCButtonDown(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMMouseActivate(TMessage& m);
    void WMActivate(TMessage& m);
    void PaintFrameNow(bool closePushed);
    bool TrackCloseButton();
    void WatchTick();

    TBarCustomDockableWindow* FHostedWindow; // not owned; null once discarded
    TCustomForm* FFrameOwnerForm = nullptr;  // not owned; free-notified
    bool FShowWanted = false;
    int FMessageDepth = 0; // nesting of its own message handling
    int FWatchTicksLeft = 0;
};

// --- Saved positions -------------------------------------------------------------

// The data the INI callbacks receive: the file and the prefix of the
// section names (a window's section is prefix + its Name).
struct TIniReadWriteData
{
    TIniFile* IniFile = nullptr;
    AnsiString SectionNamePrefix;
};

// Writes the places of the owner's named dockable windows (in component
// order). Raises EInvalidOperation at a window docked in a draggable dock
// without a Name; the windows before it stay written.
void BarWritePlacesVia(TComponent* OwnerComponent, TBarPlaceWriteIntProc WriteIntProc,
                       TBarPlaceWriteStringProc WriteStringProc, void* ExtraData);
// Reads them back: a section of another revision is skipped whole, a dock
// name that matches no draggable dock restores only the visibility. The
// owner's docks arrange once, at the end.
void BarReadPlacesVia(TComponent* OwnerComponent, TBarPlaceReadIntProc ReadIntProc,
                      TBarPlaceReadStringProc ReadStringProc, void* ExtraData);
void BarWritePlacesToIni(TComponent* OwnerComponent, const AnsiString& IniFilename,
                         const AnsiString& SectionNamePrefix);
void BarReadPlacesFromIni(TComponent* OwnerComponent, const AnsiString& IniFilename,
                          const AnsiString& SectionNamePrefix);

// The thread's dockable windows, in creation order.
const std::vector<TBarCustomDockableWindow*>& ThreadDockableWindows();

// Tracks a button of a window's non-client area while the left button is
// held: the mouse is captured on window, showPushed hears whether the
// pointer is over the button (in the coordinates of the window's whole
// rectangle). True when the button is released over it; another press, a
// lost capture or WM_QUIT (posted again) end it without effect.
bool TrackBarButton(HWND window, const TRect& buttonInWindow,
                    const std::function<void(bool pushed)>& showPushed);
