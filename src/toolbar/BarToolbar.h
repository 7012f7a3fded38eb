// Toolbars: dockable windows that show an item tree.
//
//   TBarCustomToolbar       lays its items out for the dock or frame it is
//                           in, wraps them or hides them behind a chevron
//                           when space runs short, acts as a menu bar, and
//                           answers accelerators and shortcuts for its form
//   TBarToolbarView         the view of a toolbar's root item
//   TBarChevronItem         the button at a toolbar's end that opens a popup
//                           of the items the toolbar had to hide
//   TBarChevronItemViewer   draws it
//
// While a toolbar processes shortcuts, a hook on the application window
// routes the application's keys (shortcuts, Alt and F10) to the toolbars of
// the active form, then of the main form.
#pragma once

#include "BarDock.h"
#include "BarItem.h"

#include <vector>

class TBarCustomToolbar;

enum class TBarChevronPriorityForNewItems : BYTE
{
    tbcpHighest,
    tbcpLowest
};

constexpr int kBarChevronSize = 12; // pixels along the toolbar

// --- Floating sizes ------------------------------------------------------------------

// A size a floating toolbar can take, and the wrap width that gives it.
struct TBarFloatingSize
{
    int WrapWidth = 0; // 0: one row
    TPoint Size;       // pixels
};

// The sizes a floating toolbar steps through while its frame is resized:
// the one-row layout, then the layouts at every wrap width from
// oneRowWidth - 1 down, one per row count (the narrowest), in that order.
// layoutAt gives the content size at a wrap width.
std::vector<TBarFloatingSize> FloatingSizesFor(int oneRowWidth,
                                               const std::function<TPoint(int)>& layoutAt);
// How far the pointer must pull from the current size (index current of
// the sorted lengths) before the frame jumps: 12 pixels, less where a
// neighbouring size is closer.
int SnapDistanceAt(const std::vector<int>& lengths, int current);
// The size (index into the sorted lengths) a pull to proposed picks: the
// current one within the snap distance, else the nearest one on the side
// the pointer went.
int SnapChoice(const std::vector<int>& lengths, int current, int proposed, int snap);

// --- The chevron ---------------------------------------------------------------------

class TBarChevronItem : public TBarCustomItem
{
public:
    explicit TBarChevronItem(TBarCustomToolbar* Toolbar);
    TBarCustomToolbar* Toolbar() const { return FToolbar; }
    TBarView* OverflowOwnerView() override;
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;

private:
    TBarCustomToolbar* FToolbar; // not owned: it owns the item
};

class TBarChevronItemViewer : public TBarItemViewer
{
public:
    using TBarItemViewer::TBarItemViewer;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
};

// --- The view --------------------------------------------------------------------------

class TBarToolbarView : public TBarView
{
public:
    TBarToolbarView(TBarCustomToolbar* Toolbar, TBarCustomItem* Root, bool UsePriorityList);
    TBarCustomToolbar* Toolbar() const { return FToolbar; }
    TFont* GetFont() override;

protected:
    void AutoSize(int Width, int Height) override;
    TBarCustomItem* OverflowItemOf() override;
    // The toolbar's own erase (a dock's background may show through it).
    void EraseAside(TCanvas* canvas, const TRect& bounds) override;

private:
    TBarCustomToolbar* FToolbar; // not owned: it owns the view
};

// --- The toolbar -----------------------------------------------------------------------

// Msg (the key message), Handled.
using TBarShortCutEvent = TEvent<TMessage&, bool&>;

class TBarCustomToolbar : public TBarCustomDockableWindow
{
public:
    explicit TBarCustomToolbar(TComponent* AOwner);
    ~TBarCustomToolbar() override;

    TBarRootItem* Items() const { return FItems; }
    TBarToolbarView* View() const { return FView; }
    TBarChevronItem* OverflowItem() const { return FOverflowItem; }

    // A menu bar: full size, wrapping, no close button, answering
    // shortcuts, Alt and F10 for its form, underlines shown with keyboard
    // cues only.
    bool MenuBar() const { return FMenuBar; }
    void SetMenuBar(bool value);
    // The toolbar answers its items' shortcuts for its form.
    bool ProcessShortCuts() const { return FProcessShortCuts; }
    void SetProcessShortCuts(bool value);
    TBarShrinkMode ShrinkMode() const { return FShrinkMode; }
    void SetShrinkMode(TBarShrinkMode value);
    // The view uses the shared menu font instead of Font.
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);
    bool UpdateActions() const { return FUpdateActions; }
    void SetUpdateActions(bool value) { FUpdateActions = value; }
    TBarChevronPriorityForNewItems ChevronPriorityForNewItems() const { return FChevronPriority; }
    void SetChevronPriorityForNewItems(TBarChevronPriorityForNewItems value);
    // The wrap width of the floating toolbar (0: one row), pixels.
    int FloatRightX() const { return FFloatRightX; }
    void SetFloatRightX(int value);
    // The size of the last layout, pixels.
    TPoint LayoutSize() const { return FLayoutSize; }

    void BeginUpdate() { FView->BeginUpdate(); }
    void EndUpdate() { FView->EndUpdate(); }
    // Underlines the accelerators, then opens the item whose accelerator
    // is Key (only a primary one when asked) through the view's loop.
    // False when no item has it.
    bool OpenByAccelerator(char Key, bool RequirePrimaryAccel);
    // OnShortCut, then the items' shortcuts. True when taken.
    bool DispatchShortCut(TMessage& Msg);

    TBarShortCutEvent OnShortCut;

    // --- Dockable window operations
    void LayOutContent(bool CanMoveControls, TBarHostKind DockType, bool Floating, TBarDock* Dock,
                       TPoint& NewSize) override;
    void NaturalSize(TPoint& Size) override;
    void SmallestShrunkSize(TPoint& Size) override;
    TBarShrinkMode ShrinkBehaviour() override { return FShrinkMode; }
    void HasControlAt(const TPoint& Point, bool& Exists) override;
    void LoadExtraPlace(TBarPlaceReadIntProc ReadIntProc, TBarPlaceReadStringProc ReadStringProc,
                        void* ExtraData) override;
    void SaveExtraPlace(TBarPlaceWriteIntProc WriteIntProc,
                        TBarPlaceWriteStringProc WriteStringProc, void* ExtraData) override;
    void SizingStarted(int Edge) override;
    void SizingStep(TRect& FrameRect, BYTE Sides) override;
    void SizingApplied() override;
    void SizingFinished() override;

    void WndProc(TMessage& message) override;
    void InitiateAction() override;

protected:
    friend class TBarToolbarView;

    void Loaded() override;
    void Paint() override;
    // Puts a view of a derived class in the place of the one the
    // constructor made (from a derived constructor, before items are added).
    void ReplaceView(TBarToolbarView* view);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Puts a chevron of a derived class in place of the current one (which
    // is freed) and rebuilds the viewers; the toolbar owns it from here on.
    void ReplaceOverflowItem(TBarChevronItem* item);
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void AlignControls(TControl* control, TRect& rect) override;

private:
    // The view's orientation and limits for a place.
    struct TViewLimits
    {
        TBarViewOrientation Orientation = TBarViewOrientation::Horizontal;
        int WrapWidth = 0;
        int MaximumSize = 0;
    };
    TViewLimits LimitsFor(TBarHostKind kind, TBarDock* dock);
    void ApplyViewLimits(const TViewLimits& limits);
    void ContentChanged();
    void WrapControl(TControl* control);
    void UnwrapControl(TControl* control);
    bool WrapsControl(TControl* control) const;
    void ClearHot();
    void WMSysCommand(TMessage& m);
    void CMHintShow(TMessage& m);
    bool WMSetCursor(TMessage& m);

    TBarChevronItem* FOverflowItem; // owned
    TBarRootItem* FItems;           // owned
    TBarToolbarView* FView;         // owned
    TBarChevronPriorityForNewItems FChevronPriority = TBarChevronPriorityForNewItems::tbcpHighest;
    int FFloatRightX = 0;
    TPoint FLayoutSize;
    bool FMenuBar = false;
    bool FProcessShortCuts = false;
    TBarShrinkMode FShrinkMode = TBarShrinkMode::tbsmChevron;
    bool FSystemFont = true;
    bool FUpdateActions = true;
    int FArranging = 0; // the toolbar lays itself out: the view only reports the size
    // During a floating resize: the sizes (frame pixels) sorted along the
    // dragged edge, the current one and the snap distance.
    struct TResizeState
    {
        std::vector<TBarFloatingSize> Sizes;
        std::vector<int> Lengths; // of the sizes along the dragged edge
        bool Horizontal = true;   // the left or right edge
        int Current = 0;
        int Snap = 0;
        int Chosen = -1; // the size the last step picked
    };
    std::unique_ptr<TResizeState> FResizeState;
};
