// The toolbar framework's item tree and the views that show it.
//
//   TBarCustomItem           a node of the item tree: caption, image,
//                            shortcut, checked and enabled state, options,
//                            children; tied to an action through a link;
//                            changes reach registered handlers as
//                            notifications (BarItem.cpp, BarItem_click.cpp)
//   TBarRootItem, TBarGroupItem, TBarSeparatorItem, TBarControlItem
//                            the kinds every bar and menu is built from
//   TBarCustomItemActionLink the tie between an item and an action
//   TBarItemViewer           one item as shown in one view: bounds, size,
//                            paint, hit tests, mouse (BarItem_viewer.cpp)
//   TBarSeparatorItemViewer  a separator's viewer
//   TBarView                 one level of the tree shown in one window:
//                            the viewer list and its lazy layout
//                            (BarItem_view.cpp, BarItem_layout.cpp),
//                            selection, keys, accelerators and the wheel
//                            (BarItem_navigation.cpp)
//   TBarPopupView            the view of a popup window
//   TBarPopupWindow          one popup level of a menu: a top-level window
//                            with a frame and scroll arrows, placed beside
//                            or below its opener (BarItem_popup.cpp)
//   TBarModalHandler         the menu loop: owns the mouse while a menu is
//                            open and reads the message queue itself
//                            (BarItem_loop.cpp)
//   TBarPopupMenu            a context menu whose items are a root item
//   TBarCustomImageList      an image list with state and disabled lists
//
// Items belong to the thread that made them. Clicks chosen in a menu are
// posted to a per-thread window and run after the menu closed. The
// framework is started and ended once by the program (StartBarFramework,
// StopBarFramework).
//
// Not here: the accessibility objects of views and viewers (BarAcc); docks,
// toolbars and their positions.
#pragma once

#include "classlib/Actions.h"
#include "classlib/WinControl.h"
#include "classlib/Exceptions.h"
#include "classlib/ImageList.h"
#include "classlib/Menu.h"

#include <memory>
#include <vector>

class TBarCustomItem;
class TBarItemViewer;
class TBarMeasuringCanvas;
class TBarView;
class TBarPopupView;
class TBarPopupWindow;
class TBarModalHandler;
class TBarFreeWatch;
class TBarViewAccObject;
class TBarItemViewerAccObject;

// --- Options, traits and notifications --------------------------------------

enum TBarItemOption : unsigned short
{
    tboDefault = 0x001, // bold caption; the default item of its menu
    tboDropdownArrow = 0x002,
    tboImageAboveCaption = 0x004,
    tboLongHintInMenuOnly = 0x008,
    tboNoAutoHint = 0x010,
    tboNoRotation = 0x020,
    tboSameWidth = 0x040,
    tboShowHint = 0x080,
    tboToolbarStyle = 0x100,
    tboToolbarSize = 0x200,
};
using TBarItemOptions = unsigned short;

// A change of these options changes a viewer's size.
constexpr TBarItemOptions kBarResizingOptions = tboDefault | tboDropdownArrow |
                                                tboImageAboveCaption | tboNoRotation |
                                                tboSameWidth | tboToolbarStyle | tboToolbarSize;

enum class TBarItemDisplayMode : BYTE
{
    nbdmDefault,
    nbdmTextOnly,
    nbdmTextOnlyInMenus,
    nbdmImageAndText
};

// How an item behaves (each kind sets its own in its constructor).
enum TBarItemTrait : unsigned short
{
    OpensPopup = 0x0001,        // opens a popup of its children
    HotTrackable = 0x0002,      // selectable by mouse and keys
    ActsAsDivider = 0x0004,     // a separator
    InlineChildren = 0x0008,    // its children show inline in its parent's views
    IgnoresMouseUp = 0x0010,    // a release over it does nothing
    DualPart = 0x0020,          // a button part and a separate arrow part
    NoOpenOnKeySelect = 0x0040, // selected by a key on a bar in menu mode, stays shut
    BreakOnlyWhenFull = 0x0100, // a separator that breaks a wrapped line only when full
    PushToLineEnd = 0x0200,     // it and the rest of its line go to the line's far end
    SkipInitialSelect = 0x0400, // passed over by a view's first selection
    RepaintOnHotChange = 0x0800,
    RepaintOnHoverChange = 0x1000,
    FullLineSpan = 0x2000, // spans its toolbar line's whole cross size
};
using TBarItemTraits = unsigned short;

constexpr TBarItemTraits kBarItemTraits = HotTrackable | RepaintOnHotChange | RepaintOnHoverChange;

// The numbers are fixed: handlers outside this unit switch on them.
enum class TBarItemChangeCode : BYTE
{
    ChildAdded = 0,
    ChildRemoving = 1,
    LinkTargetChanged = 2,
    ChildBatchBegin = 3,
    ChildBatchEnd = 4,
    ItemChanged = 5,     // Item: the changed child
    ItemChangedSize = 6, // Item: the changed child
    ChildRenamed = 8,    // Item: the renamed child
    ChildImagesChanged = 9,
};

// Sender, Relayed, Code, Index, Item.
using TBarItemChangeEvent = TEvent<TBarCustomItem*, bool, TBarItemChangeCode, int, TBarCustomItem*>;
// Sender, FromLink.
using TBarPopupEvent = TEvent<TBarCustomItem*, bool>;
// Sender, Viewer, Selecting.
using TBarSelectEvent = TEvent<TBarCustomItem*, TBarItemViewer*, bool>;

// A viewer class: makes a viewer of an item in a view.
using TBarItemViewerClass = TBarItemViewer* (*)(TBarView* View, TBarCustomItem* Item,
                                                int GroupLevel);
template <class V>
TBarItemViewer* NewBarViewer(TBarView* View, TBarCustomItem* Item, int GroupLevel)
{
    return new V(View, Item, GroupLevel);
}

// Limits that keep cyclic or runaway trees finite.
constexpr int kBarRelayDepthLimit = 11; // notifications relay while the depth is below this
constexpr int kBarGroupLevelLimit = 10; // deepest level of nested groups shown
constexpr int kBarLinkHopLimit = 25;    // LinkSubitems hops of a shortcut search

ZANDREL_EXCEPTION(EBarItemError, Exception);

// --- Done actions of a menu ---------------------------------------------------

enum class TBarLoopResultKind : BYTE
{
    None = 0,
    Cancelled = 1,
    ItemClicked = 2,
    SystemMenu = 3,
    Help = 4,
};

struct TBarLoopResult
{
    TBarLoopResultKind Kind = TBarLoopResultKind::None;
    TBarCustomItem* Item = nullptr; // not owned; ItemClicked
    bool PlaySound = false;         // ItemClicked: "MenuCommand" may sound
    HWND Window = nullptr;          // not owned; SystemMenu
    int Key = 0;                    // SystemMenu: the typed character
    int HelpContext = 0;            // Help
};

// Carries out a menu's done action once every popup has closed; returns the
// clicked item (null for any other action). Unless itemOnly, the item's
// click is posted and runs from the message queue.
TBarCustomItem* RunMenuOutcome(const TBarLoopResult& result, bool itemOnly);

// Queues a click of an item (or the default action of a viewer) that runs
// from the message queue; a target destroyed meanwhile is dropped.
void PostBarClick(TObject* target, WPARAM flag);
// Every item and viewer counts itself on its thread while it lives; the
// posted-click window lives while the count is above zero. A going object
// also drops its queued clicks.
void BarObjectCreated();
void BarObjectDestroyed(TObject* object);
// Frees this thread's posted-click window and queue (the framework's end).
void FreeBarPostedClicks();

// --- Popups ------------------------------------------------------------------------

// Where a popup shown at a point lies against the point.
enum TBarPopupAlignment : BYTE
{
    bpaLeft = 0,   // its left edge at the point
    bpaRight = 1,  // its right edge at the point
    bpaCenter = 2, // centred on the point
};

constexpr int kBarPopupBorder = 3; // a popup window's frame on each side, pixels

// The proposed and then final place of a popup window, handed to the
// opening item's PlacePopupWindow. Screen coordinates, pixels.
struct TBarPopupPositionRec
{
    bool PositionAsSubmenu = false; // beside the opener (else below or above it)
    BYTE Alignment = bpaLeft;       // TBarPopupAlignment of a popup at a point
    bool Opposite = false;          // open to the left
    TRect MonitorRect;              // the work area to stay inside
    TRect ParentItemRect;           // the opener's bounds; empty at a point
    int NCSizeX = 0;                // the popup window's frame
    int NCSizeY = 0;
    int X = 0, Y = 0, W = 0, H = 0; // the window's rectangle
    BYTE AnimateDirection = 0;      // a set of TBarAnimDirection
    bool PlaySound = true;          // "MenuPopup" may sound
};

// What the placement needs of the view that opens a popup.
struct TBarPopupOpenerInfo
{
    bool Exists = false;                 // there is an opening view
    bool Vertical = false;               // it is a vertical bar
    std::vector<TRect> ShownViewerRects; // its shown viewers, screen coordinates
};

// The placement rule of popup windows: fits the window into the monitor
// rectangle, flips a drop-down above its opener or a submenu to the left
// where that serves better, and picks the animation's direction. True when
// a submenu was placed to the left (its own submenus follow it there).
bool PlaceBarPopup(TBarPopupPositionRec& rec, const TBarPopupOpenerInfo& opener);

// A popup window class: makes a popup of Item's children for ParentView
// (none for a popup standing alone).
using TBarPopupWindowClass = TBarPopupWindow* (*)(TComponent* AOwner, TBarView* ParentView,
                                                  TBarCustomItem* Item, bool Customizing);
template <class W>
TBarPopupWindow* NewBarPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                                   bool Customizing)
{
    return new W(AOwner, ParentView, Item, Customizing);
}

// --- The framework's start and end ----------------------------------------------

// Once, on the program's main thread, before the first window of the
// framework: the shared menu font, the run-time bindings.
void StartBarFramework();
// Once, after the last window of the framework: hooks, animation, the
// shared font and the posted-click window go.
void StopBarFramework();
// The menu font of the system, shared by every view without a font of its
// own; null outside the framework's start and end.
TFont* BarMenuFont();

// --- Items --------------------------------------------------------------------------

class TBarCustomItemActionLink
    : public TClientActionLink<TBarCustomItem, lpAutoCheck | lpCaption | lpChecked | lpEnabled |
                                                   lpHelpContext | lpHint | lpImageIndex |
                                                   lpShortCut | lpVisible>
{
public:
    using TClientActionLink::TClientActionLink;

    bool IsOnExecuteLinked() override;
    // The action toggles Checked itself: the item must not.
    virtual bool IsAutoToggleLinked();
};

// The lists an item keeps for others. A base of its own, so that they
// outlive the component teardown: handlers told of the item's going may
// still drop their registrations.
class TBarItemLinkLists
{
protected:
    struct TChangeHandlerRecord
    {
        TBarItemChangeEvent Handler;
        int UseCount;
    };
    // Only ever emptied, never freed while the item lives: a delivery may be
    // walking it.
    std::vector<TChangeHandlerRecord> FChangeHandlers;
    std::vector<TBarCustomItem*> FLinkingItems; // not owned; free-notified
};

class TBarCustomItem : protected TBarItemLinkLists, public TComponent
{
public:
    explicit TBarCustomItem(TComponent* AOwner);
    ~TBarCustomItem() override;

    // --- Properties
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    // A tab separates the caption from an explicit shortcut text.
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    TBarItemDisplayMode DisplayMode() const { return FDisplayMode; }
    void SetDisplayMode(TBarItemDisplayMode value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& value) { FHint = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* SubMenuImages() const { return FSubMenuImages; }
    void SetSubMenuImages(TCustomImageList* value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TBarCustomItemActionLink* ActionLink() const { return FActionLink; }

    // --- Options
    TBarItemOptions Options() const { return FOptions; }
    void SetOptions(TBarItemOptions value);
    TBarItemOptions MaskOptions() const { return FMaskOptions; }
    void SetMaskOptions(TBarItemOptions value);
    bool InheritOptions() const { return FInheritOptions; }
    void SetInheritOptions(bool value);
    // What viewers read: the parent's (without tboDefault) minus
    // MaskOptions, plus Options.
    TBarItemOptions EffectiveOptions() const { return FEffectiveOptions; }
    // tboToolbarSize only counts together with tboToolbarStyle.
    static TBarItemOptions SanitizeOptions(TBarItemOptions options);

    TBarItemTraits ItemTraits() const { return FItemTraits; }
    bool HasTrait(TBarItemTrait trait) const { return (FItemTraits & trait) != 0; }

    // --- The tree
    TBarCustomItem* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EBarItemError for an index outside 0..Count-1.
    TBarCustomItem* GetItem(int index) const;
    TBarCustomItem* Items(int index) const { return GetItem(index); }
    void Add(TBarCustomItem* item) { Insert(Count(), item); }
    // Raises EBarItemError for an item that has a parent (or would contain
    // this item) and for an index outside 0..Count.
    void Insert(int index, TBarCustomItem* item);
    // Takes the child out (not freed).
    void Delete(int index);
    int IndexOf(const TBarCustomItem* item) const;
    void Remove(TBarCustomItem* item);
    void Move(int curIndex, int newIndex);
    // Show that item's children instead of this item's own.
    TBarCustomItem* LinkSubitems() const { return FLinkSubitems; }
    void SetLinkSubitems(TBarCustomItem* value);
    // The item whose children this item shows.
    TBarCustomItem* GetChildSource() { return FLinkSubitems ? FLinkSubitems : this; }
    // Items whose LinkSubitems name this one.
    const std::vector<TBarCustomItem*>& LinkingItems() const { return FLinkingItems; }
    // The toolbar or popup menu a root item belongs to.
    TComponent* ParentComponent() const { return FParentComponent; }
    void SetParentComponent(TComponent* value) { FParentComponent = value; }

    // --- Notifications
    void AttachChangeHandler(const TBarItemChangeEvent& handler);
    void DropChangeHandler(const TBarItemChangeEvent& handler);
    // Delivers a notification of this item's children to its handlers, and
    // relays it to the views that show them inline.
    void Notify(TBarItemChangeCode code, int index, TBarCustomItem* item);

    // --- Behaviour (virtual in the order derived items expect)
    // Tells the parent's views that this item changed.
    virtual void Change(bool NeedResize);
    // Opens the popup of this item's children; null when none opens.
    virtual TBarPopupWindow* CreatePopup(TBarView* ParentView, TBarItemViewer* Opener,
                                         bool PositionAsSubmenu, bool SelectFirst, const TPoint& At,
                                         BYTE Alignment);
    // OnPopup, then Click unless the item is DualPart.
    virtual void DoPopup(TBarCustomItem* Sender, bool FromLink);
    virtual void EnabledChanged();
    virtual TBarView* OverflowOwnerView() { return nullptr; }
    // The class of this item's viewers in View.
    virtual TBarItemViewerClass ViewerClassForItem(TBarView* View);
    // Adjusts the proposed place of a popup of this item's children
    // (PlaceBarPopup here); Window is made and sized but not shown.
    virtual void PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                                  TBarPopupPositionRec& Rec);
    // The class of the popup windows of this item's children.
    virtual TBarPopupWindowClass PopupClassForItem();
    // The viewer shows this item in a class it should no longer have.
    virtual bool ViewerNeedsRebuild(TBarItemViewer* Viewer) { return false; }
    // Runs the item's command: OnClick or its action (nothing while
    // disabled); AutoCheck toggles Checked first.
    virtual void Click();
    // Updates the linked action.
    virtual void InitiateAction();

    // The text after the caption's tab, else the shortcut's name.
    AnsiString ShortcutCaption() const;
    // Clicks the enabled item whose shortcut is the key message's; true when
    // one was clicked.
    bool DispatchShortCut(const TMessage& keyMessage);
    bool DispatchShortCut(TShortCut shortCut);
    // Shows this item's children in a popup at a screen point, runs the menu
    // loop, and carries out the done action once the popup is gone: the
    // chosen item's click is posted unless ReturnClickedItemOnly. Returns the
    // chosen item (null when cancelled).
    TBarCustomItem* Popup(int X, int Y, bool TrackRightButton, BYTE Alignment = bpaLeft,
                          bool ReturnClickedItemOnly = false, bool PositionAsSubmenu = false);

    TNotifyEvent OnClick;
    TBarPopupEvent OnPopup;
    TBarSelectEvent OnSelect;

    void SetName(const AnsiString& value) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual TBarCustomItemActionLink* CreateActionLink();
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    void SetItemTraits(TBarItemTraits value) { FItemTraits = value; }
    // Stores a setting that changes the viewers' size.
    template <class T> void StoreResizing(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Change(true);
    }

private:
    void DoActionChange(TObject* Sender);
    void RecomputeEffectiveOptions();
    void UncheckGroupSiblings();
    void Deliver(TBarCustomItem* firstSender, TBarItemChangeCode code, int index,
                 TBarCustomItem* item, int depth);
    void ImagesChanged(TObject* Sender);
    void SubMenuImagesChanged(TObject* Sender);
    SIZE ImageListSize(TCustomImageList* list) const;
    bool ContainsInTree(const TBarCustomItem* item) const;

    TBarCustomItemActionLink* FActionLink = nullptr; // owned
    bool FAutoCheck = false;
    AnsiString FCaption;
    bool FChecked = false;
    TBarItemDisplayMode FDisplayMode = TBarItemDisplayMode::nbdmDefault;
    bool FEnabled = true;
    TBarItemOptions FEffectiveOptions = 0;
    int FGroupIndex = 0;
    int FHelpContext = 0;
    AnsiString FHint;
    int FImageIndex = -1;
    TCustomImageList* FImages = nullptr; // not owned; free-notified
    TChangeLink* FImagesLink;            // owned
    SIZE FImagesSize = {};               // image size at the last change, pixels
    std::vector<TBarCustomItem*> FItems; // owned: destroying the item destroys them
    TBarItemTraits FItemTraits = kBarItemTraits;
    TBarItemOptions FMaskOptions = 0;
    TBarItemOptions FOptions = 0;
    bool FInheritOptions = true;
    TBarCustomItem* FParent = nullptr;      // not owned; lists this item
    TComponent* FParentComponent = nullptr; // not owned
    bool FRadioItem = false;
    TShortCut FShortCut = scNone;
    TCustomImageList* FSubMenuImages = nullptr; // not owned; free-notified
    TChangeLink* FSubMenuImagesLink;            // owned
    SIZE FSubMenuImagesSize = {};
    TBarCustomItem* FLinkSubitems = nullptr; // not owned; free-notified
    bool FVisible = true;
};

class TBarRootItem : public TBarCustomItem
{
public:
    using TBarCustomItem::TBarCustomItem;
};

// Shows its children inline among its parent's.
class TBarGroupItem : public TBarCustomItem
{
public:
    explicit TBarGroupItem(TComponent* AOwner);
};

class TBarSeparatorItem : public TBarCustomItem
{
public:
    explicit TBarSeparatorItem(TComponent* AOwner);
    // Draws nothing but keeps its space.
    bool Blank() const { return FBlank; }
    void SetBlank(bool value);
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;

private:
    bool FBlank = false;
};

// An ordinary control placed among the items.
class TBarControlItem : public TBarCustomItem
{
public:
    explicit TBarControlItem(TComponent* AOwner);
    // Frees Control unless it belongs to an inherited form.
    ~TBarControlItem() override;
    TControl* Control() const { return FControl; }
    void SetControl(TControl* value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TControl* FControl = nullptr; // not owned by the item's tree; free-notified
};

// --- Viewers ---------------------------------------------------------------------------

class TBarItemViewer : public TObject
{
public:
    TBarItemViewer(TBarView* View, TBarCustomItem* Item, int GroupLevel);
    ~TBarItemViewer() override;

    TBarView* View() const { return FView; }
    TBarCustomItem* Item() const { return FItem; }
    int GroupLevel() const { return FGroupLevel; }
    // View coordinates.
    const TRect& BoundsRect() const { return FBoundsRect; }
    bool Shown() const { return FShown; }
    bool Clipped() const { return FClipped; }
    // Outside a popup's scroll window.
    bool OffEdge() const { return FOffEdge; }
    // A separator that ends a wrapped line.
    bool IsLineBreak() const { return FLineBreak; }
    // Shown or scrolled out: the viewer takes part in navigation.
    bool IsAccessible() const { return FShown || FOffEdge; }

    virtual void CalcSize(TCanvas* Canvas, int& Width, int& Height);
    // Ends the menu with a click of this viewer's item; true.
    virtual bool DoExecute();
    virtual void DrawViewerCaption(TCanvas* Canvas, const TRect& R, const AnsiString& Caption,
                                   UINT Format);
    virtual void Entering(TBarItemViewer* Previous);
    virtual int AccessibleRole();
    virtual bool AccessibleValue(AnsiString& Value) { return false; }
    // The caption up to its tab.
    virtual AnsiString ShownCaption();
    virtual void GetCursor(const TPoint& Pt, HCURSOR& Cursor) {}
    // Measured as a toolbar button.
    virtual bool HasBarMetrics();
    // Whether (X, Y) in viewer coordinates is the button part (not the arrow).
    virtual bool HitsButtonSection(int X, int Y);
    virtual void KeyDown(WORD& Key, TShiftState Shift) {}
    virtual void Leaving();
    virtual void LosingCapture();
    virtual void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu);
    virtual void MouseMove(int X, int Y) {}
    virtual void MouseUp(int X, int Y, bool MouseWasDownOnMenu);
    virtual void MouseWheel(int WheelDelta, bool& Handled, const TPoint& MousePos) {}
    // Paints into ClientRect (the viewer's own rectangle at the origin).
    virtual void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
                       bool UseDisabledShadow);
    virtual bool SharesColumnWidth();
    // Drawn as a toolbar button.
    virtual bool HasBarLook();

    virtual bool ShowsCaption();
    // Its image index names an image of its list.
    bool HasPicture();
    bool ImageDrawn();
    // Drawn with the rotated font.
    bool IsRotated();
    // The item's images, else the nearest SubMenuImages up the tree.
    TCustomImageList* ImageList();
    // The hint to show: the short hint, else one made from the caption.
    AnsiString ShownHint();
    // Repaints the viewer in its view.
    void Invalidate();

    // --- Accessibility (BarAcc.cpp)
    // The viewer's accessibility object, made on first request; null
    // without the accessibility library. The viewer holds one reference.
    TBarItemViewerAccObject* AccObject();
    // A request that a screen reader queued (PostBarClick): flag 1 runs the
    // viewer's default action, flag 0 only selects it.
    void RunAccessibleRequest(WPARAM Flag);
    // Whether a screen reader may select the viewer, and run it.
    bool AccFocusable();
    bool AccCanAct();

protected:
    friend class TBarView;

    TRect FBoundsRect;     // view coordinates
    bool FOffEdge = false; // scrolled out of a popup's window
    int FGroupLevel;       // 0 for the shown item's children
    TBarCustomItem* FItem; // not owned
    bool FClipped = false; // hidden by the chevron
    bool FShown = false;
    TBarView* FView;                               // not owned
    bool FNeedsPaint = false;                      // invalidated since the last paint
    bool FLineBreak = false;                       // a separator that ends a line
    TBarItemViewerAccObject* FAccObject = nullptr; // one reference held; made on first request

private:
    void PaintFrame(TCanvas* Canvas, const TRect& R, bool IsSelected, bool IsPushed);
    void PaintImage(TCanvas* Canvas, const TRect& R, bool UseDisabledShadow);
    void PaintMenuExtras(TCanvas* Canvas, const TRect& R);
};

class TBarSeparatorItemViewer : public TBarItemViewer
{
public:
    using TBarItemViewer::TBarItemViewer;
    void CalcSize(TCanvas* Canvas, int& Width, int& Height) override;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    bool SharesColumnWidth() override { return false; }
};

// --- Views ---------------------------------------------------------------------------------

enum class TBarViewOrientation : BYTE
{
    Horizontal = 0,
    Vertical = 1,
    Floating = 2
};

enum TBarViewState : BYTE
{
    bvsModal = 0x01,            // a menu loop runs
    bvsMouseOver = 0x02,        // the mouse is over the view's window
    bvsPaintInOrder = 0x04,     // paint the selected viewer in order, once
    bvsOpensLeftward = 0x08,    // this popup opened leftward
    bvsIgnoreMouseUp = 0x10,    // the next release does nothing
    bvsShowAccelerators = 0x20, // underline accelerators
    bvsMenuMode = 0x40,         // a bar with a popup open: selection opens submenus
    bvsPopupJustClosed = 0x80,  // the next popup of this bar is not animated
};

enum TBarViewStyle : BYTE
{
    bvsMenuBar = 0x01,
    bvsHideAccelsUntilKeys = 0x02,
    bvsShowAllHints = 0x04,
};

constexpr int kBarScrollArrowHeight = 19; // a popup's scroll strip, pixels
constexpr UINT kBarFirstTimerId = 9000;   // timers 9000 to 9003

// Options of a toolbar's menu loop (BeginToolbarTracking).
enum TBarTrackingOption : BYTE
{
    btoStartedByMouse = 0x01,   // a press on the selected viewer started it
    btoExecuteSelection = 0x02, // run the selection at the start
    btoNoPriorityMove = 0x04,   // executed viewers keep their priority
};

enum TBarViewTimer
{
    bvtOpen = 0,  // opens the selected submenu
    bvtClose = 1, // closes the open submenu
    bvtScrollUp = 2,
    bvtScrollDown = 3,
};

// A view goes before the items it shows (its window's item display ends
// first). A derived view whose edge or chevron items differ from the base's
// rebuilds its viewers at the end of its constructor: the base constructor
// builds them with its own.
class TBarView : public TComponent
{
public:
    TBarView(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* ParentItem,
             TWinControl* Window, bool ToolbarView, bool Customizing, bool UsePriorityList);
    ~TBarView() override;

    // --- What the view shows, where
    TWinControl* Window() const { return FWindow; }
    TBarView* ParentView() const { return FParentView; }
    // The view at the top of this view's chain.
    TBarView* RootView();
    TBarCustomItem* ParentItem() const { return FParentItem; }
    // The item whose children are shown: the parent item's child source.
    TBarCustomItem* ShownItem() const { return FShownItem; }
    bool IsPopup() const { return !FToolbarView; }
    bool IsToolbar() const { return FToolbarView; }
    // Laid out and measured as a toolbar: a toolbar view, or a popup that
    // wraps its items like one (a chevron's).
    bool LaysOutAsToolbar() const { return FToolbarView || FToolbarLayout; }
    void SetToolbarLayout(bool value);
    bool Customizing() const { return FCustomizing; }
    void SetCustomizing(bool value);
    bool UsesPriorityList() const { return FUsePriorityList; }
    // Items inserted later go to the front of the priority list.
    bool NewViewersGetHighestPriority() const { return FNewFirst; }
    void SetNewViewersGetHighestPriority(bool value) { FNewFirst = value; }
    TBarViewOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TBarViewOrientation value);
    TBarView* ChevronParentView() const { return FChevronParentView; }
    void SetChevronParentView(TBarView* value) { FChevronParentView = value; }

    // --- Viewers
    int ViewerCount() const { return static_cast<int>(FViewers.size()); }
    TBarItemViewer* Viewers(int index) const { return FViewers.at(index); }
    // Raises EBarItemError when no viewer shows item.
    TBarItemViewer* Find(TBarCustomItem* item);
    int IndexOf(const TBarItemViewer* viewer) const;
    // The first shown viewer at a view point.
    TBarItemViewer* ViewerAtPixel(const TPoint& p);
    // Highest priority first (the chevron hides viewers from the end).
    const std::vector<TBarItemViewer*>& PriorityList() const { return FPriorityList; }
    // Puts viewer first in the priority list.
    void GiveViewerHighestPriority(TBarItemViewer* viewer);
    void RebuildAllViewers();
    // The windowed controls of control items that the chevron clipped.
    std::vector<TControl*> ClippedControls() const;

    // --- Layout (lazy: notifications only invalidate)
    // Beyond this along the orientation the chevron clips (0: no limit).
    int MaximumSize() const { return FMaximumSize; }
    void SetMaximumSize(int value);
    int ChevronSize() const { return FChevronSize; }
    void SetChevronSize(int value);
    // Lines wrap at this width (0: no wrapping).
    int WrapWidth() const { return FWrapWidth; }
    void SetWrapWidth(int value);
    // A popup taller than this scrolls (0: no limit).
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int value);
    int ScrollOffset() const { return FScrollOffset; }
    bool ShowsUpArrow() const { return FShowUpArrow; }
    bool ShowsDownArrow() const { return FShowDownArrow; }
    // Runs the layout; Size is the content's size.
    void UpdatePositions(TPoint& Size) { PerformLayout(Size); }
    // The content size a layout with these settings would give; nothing
    // moves and the view's own layout stays as it is.
    TPoint MeasureLayout(TBarViewOrientation orientation, int wrapWidth, int maximumSize);
    // Lays the viewers out unless their positions are valid.
    void EnsureLayout();
    bool PositionsValid() const { return FPositionsValid; }
    // Forgets the positions and repaints the window.
    virtual void MarkLayoutStale();
    void ValidateUnlessBusy();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    virtual void GetMargins(TBarViewOrientation Orientation, TRect& Margins);
    // The view's font: the shared menu font, else the window's.
    virtual TFont* GetFont();

    // --- Painting
    // Paints every shown viewer (the selected one last) on Canvas, whose
    // origin is the view's.
    void DrawItems(TCanvas* Canvas);
    // Repaints one viewer.
    void Invalidate(TBarItemViewer* viewer);

    // --- Selection and keys
    TBarItemViewer* Selected() const { return FSelected; }
    bool MouseInButtonPart() const { return FMouseInButtonPart; }
    void ChangeSelection(TBarItemViewer* viewer, bool viaMouse);
    TBarItemViewer* NextPickableViewer(TBarItemViewer* from, bool forward);
    void StepSelection(bool forward);
    // The first viewer a view selects by itself.
    TBarItemViewer* InitialViewer();
    void RunSelectedItem(bool allowPriorityMove);
    // Scrolls a scrolled-out selection into the popup's window.
    void RevealSelection();
    void Scroll(bool down);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void MouseWheel(int WheelDelta, int X, int Y);
    // The viewer a typed character names; Unique when it is the only one.
    TBarItemViewer* ViewerForTypedChar(char typed, bool acceleratorsOnly, bool& unique);

    // --- Submenus and the menu loop
    // The menu loop of a toolbar view (a menu bar's): runs until the menu
    // ends, then carries out its done action. Nothing while a loop runs.
    // Options: TBarTrackingOption flags.
    void BeginToolbarTracking(BYTE Options);
    bool ShowChildPopup(bool selectFirst);
    void ShutChildPopups();
    void DropMenuMode();
    TBarItemViewer* OpenViewer() const { return FOpenViewer; }
    TBarView* OpenChildView() const { return FOpenChildView; }
    TWinControl* OpenPopupWindow() const { return FOpenPopupWindow; }
    // Records the popup a viewer of this view opened (the window is owned).
    void SetOpenPopup(TBarItemViewer* opener, TBarView* childView, TWinControl* window);
    // The deepest view of the open chain from this one.
    TBarView* DeepestOpenView();
    void EndModal();
    void EndModalWithChoice(TBarItemViewer* viewer);
    void FinishForSystemMenu(HWND window, int key);
    void EndModalForHelp(int helpContext);
    // Executes viewer, first in its priority list when asked.
    void ExecuteViewer(TBarItemViewer* viewer, bool priorityMove);
    const TBarLoopResult& DoneAction() const { return FDoneAction; }
    void ClearDoneAction() { FDoneAction = TBarLoopResult(); }
    TBarModalHandler* ModalHandler() const { return FModalHandler; }
    void SetModalHandler(TBarModalHandler* value) { FModalHandler = value; }
    // The view holds the mouse (a press on one of its viewers).
    bool Capturing() const { return FCapture; }
    void TakeMouse() { FCapture = true; }
    void ReleaseMouse() { FCapture = false; }
    // Gives the mouse up: the selection is told, the loop reads the cursor
    // again.
    void CancelCapture();
    // A view lost the mouse since the loop last looked (the loop reads the
    // cursor again).
    bool MousePosInvalid() const { return FMousePosInvalid; }
    void SetMousePosInvalid(bool value) { FMousePosInvalid = value; }
    void StartTimer(TBarViewTimer timer, UINT intervalMs);
    void StopTimer(TBarViewTimer timer);
    bool TimerRunning(TBarViewTimer timer) const { return (FTimers & (1u << timer)) != 0; }
    void ViewTimerTick(TBarViewTimer timer);

    // TBarViewState flags.
    BYTE ViewState() const { return FState; }
    bool HasViewState(TBarViewState flag) const { return (FState & flag) != 0; }
    void SetViewState(BYTE value) { FState = value; }
    void IncludeViewState(TBarViewState flag) { FState |= flag; }
    void ExcludeViewState(TBarViewState flag) { FState &= ~flag; }
    // TBarViewStyle flags.
    BYTE ViewStyle() const { return FStyle; }
    void SetViewStyle(BYTE value) { FStyle = value; }
    int WheelAccumulator() const { return FWheelAccumulator; }

    // --- Accessibility (BarAcc.cpp)
    // The view's accessibility object, made on first request; null without
    // the accessibility library. The view holds one reference.
    TBarViewAccObject* AccObject();
    // The viewers a screen reader sees: shown, clipped or scrolled out.
    std::vector<TBarItemViewer*> AccessibleViewers() const;
    // The position of viewer among them, -1 when not there.
    int AccessibleIndexOf(const TBarItemViewer* viewer) const;
    // Tells screen readers which viewer has the focus, while this view and
    // its loop's root run a menu that has not ended; a view without a
    // selection they can see hands this to its parent view.
    void NotifyAccessibleFocus();

protected:
    // Sizes the window to the content (nothing here).
    virtual void AutoSize(int Width, int Height) {}
    virtual void PerformLayout(TPoint& Size);
    // The chevron's item (none here).
    virtual TBarCustomItem* OverflowItemOf() { return nullptr; }
    virtual TBarCustomItem* LastEdgeItem() { return nullptr; }
    virtual TBarCustomItem* FirstEdgeItem() { return nullptr; }
    // Fills canvas, the buffer an item is painted in alone, with what lies
    // behind the item at bounds in the window (here its colour).
    virtual void EraseAside(TCanvas* canvas, const TRect& bounds);

private:
    friend class TBarItemViewer;

    // --- Viewer list
    void ShownItemChanged(TBarCustomItem* Sender, bool Relayed, TBarItemChangeCode Code, int Index,
                          TBarCustomItem* Item);
    void ParentItemChanged(TBarCustomItem* Sender, bool Relayed, TBarItemChangeCode Code, int Index,
                           TBarCustomItem* Item);
    void AttachToItems();
    void DetachFromItems();
    void FreeViewers();
    // Appends the viewers of item (and of an inline group's children).
    void AddViewersOf(TBarCustomItem* item, int groupLevel, std::vector<TBarItemViewer*>& out);
    void InsertViewersOf(TBarCustomItem* parent, int index, TBarCustomItem* item);
    void RemoveViewersOf(TBarCustomItem* item);
    int GroupLevelOfChildren(TBarCustomItem* parent, int& afterIndex);
    bool IsEdgeOrChevron(const TBarItemViewer* viewer) const;
    TBarItemViewer* ChevronViewer() const;

    // --- Layout (BarItem_layout.cpp)
    // One run of the layout, step by step.
    struct TLayoutPass;
    // Lays the viewers out; without writeBack only FContentSize (and the
    // scroll state) change.
    bool LayoutViewers(bool validating, bool writeBack = true);
    void PaintWindowAtOnce();
    void PaintViewer(TCanvas* Canvas, TBarItemViewer* viewer);

    // --- The menu loop (BarItem_loop.cpp)
    // The end of a toolbar's menu loop, however it ended: timers stopped,
    // menu mode dropped, the hover state and the accelerators as the mouse
    // and the keyboard cues now say, no selection.
    void FinishToolbarTracking();

    // --- Navigation (BarItem_navigation.cpp)
    TBarView* NearestToolbarView();
    void CloseThisLevel();
    void ReflectMouseInButtonPart(TBarItemViewer* viewer);
    TBarItemViewer* SearchTypedChar(char typed, TBarItemViewer* from, bool firstCharPass,
                                    bool enabled);

    TWinControl* FWindow;        // not owned
    TBarView* FParentView;       // not owned; the view whose submenu this is
    TBarCustomItem* FParentItem; // not owned
    TBarCustomItem* FShownItem;  // not owned
    bool FToolbarView;
    bool FToolbarLayout = false; // a popup laid out as a toolbar
    bool FCustomizing;
    bool FUsePriorityList;
    bool FNewFirst = true;
    bool FPositionsValid = false;
    TBarViewOrientation FOrientation = TBarViewOrientation::Horizontal;
    std::vector<TBarItemViewer*> FViewers;      // owned
    int FLeadingCount = 0;                      // viewers of FirstEdgeItem
    int FTrailingCount = 0;                     // viewers of LastEdgeItem and the chevron
    std::vector<TBarItemViewer*> FPriorityList; // not owned (viewers of FViewers)
    TBarItemViewer* FSelected = nullptr;        // not owned
    bool FMouseInButtonPart = false;
    TBarItemViewer* FOpenViewer = nullptr;   // not owned: the opener of the open popup
    TBarView* FOpenChildView = nullptr;      // not owned: the open popup's view
    TWinControl* FOpenPopupWindow = nullptr; // owned: the open popup
    BYTE FState = 0;                         // TBarViewState flags
    BYTE FStyle = 0;                         // TBarViewStyle flags
    int FUpdateCount = 0;
    unsigned FTimers = 0; // bit n: timer 9000 + n runs
    bool FCapture = false;
    bool FMousePosInvalid = false;
    TBarModalHandler* FModalHandler = nullptr; // not owned; while a loop runs
    int FMaxHeight = 0;                        // pixels; 0: no limit
    int FScrollOffset = 0;                     // pixels
    bool FShowUpArrow = false;
    bool FShowDownArrow = false;
    int FWrapWidth = 0;                      // pixels; 0: no wrapping
    int FMaximumSize = 0;                    // pixels along the orientation; 0: no limit
    int FChevronSize = 0;                    // pixels along the orientation
    TBarLoopResult FDoneAction;              // on a loop's root view
    int FWheelAccumulator = 0;               // wheel delta not yet scrolled
    TBarView* FChevronParentView = nullptr;  // not owned: the bar a chevron popup serves
    TPoint FContentSize;                     // of the last layout, pixels
    TBarViewAccObject* FAccObject = nullptr; // one reference held; made on first request
    // Every layout measures all the viewers; its DC and font are kept.
    std::unique_ptr<TBarMeasuringCanvas> FMeasuring;
};

// --- Popup windows ----------------------------------------------------------------------

// The view of a popup window: it sizes its window to the content and draws
// with the window's font. It remembers the monitor rectangle it was placed
// in, for its own submenus.
class TBarPopupView : public TBarView
{
public:
    TBarPopupView(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* ParentItem,
                  TWinControl* Window, bool Customizing);

    // Empty until the popup is placed.
    const TRect& MonitorRect() const { return FMonitorRect; }
    void SetMonitorRect(const TRect& value) { FMonitorRect = value; }

    TFont* GetFont() override;

protected:
    void AutoSize(int Width, int Height) override;

private:
    TRect FMonitorRect; // screen coordinates
};

// A popup view class: makes the view of a popup window.
using TBarPopupViewClass = TBarPopupView* (*)(TComponent* AOwner, TBarView* ParentView,
                                              TBarCustomItem* ParentItem, TWinControl* Window,
                                              bool Customizing);
template <class V>
TBarPopupView* NewBarPopupView(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* ParentItem,
                               TWinControl* Window, bool Customizing)
{
    return new V(AOwner, ParentView, ParentItem, Window, Customizing);
}

// One popup level of a menu: a topmost window that never takes the
// activation, with a frame (3 pixels here), that shows Item's children through its
// view. It appears animated (rolled or faded, as the system's settings say)
// unless it opens with a selection, and tells its own window of each
// showing (WM_BAR_POPUPSHOWN) so that derived windows can add to it.
//
// A derived window whose view class differs passes it to the constructor:
// C++ constructors do not reach derived overrides.
class TBarPopupWindow : public TCustomControl
{
public:
    TBarPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                    bool Customizing,
                    TBarPopupViewClass ViewClass = NewBarPopupView<TBarPopupView>);
    ~TBarPopupWindow() override;

    TBarPopupView* View() const { return FView; }
    // The roll's direction: a set of TBarAnimDirection.
    BYTE AnimationDirection() const { return FAnimationDirection; }
    void SetAnimationDirection(BYTE value) { FAnimationDirection = value; }

    void WndProc(TMessage& message) override;

    // Draws the up and down scroll arrows the view shows, over its viewers.
    virtual void DrawScrollArrows();
    // The frame on each side, pixels.
    virtual SIZE FrameSize();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWindowHandle() override;
    void Paint() override;
    // Draws the frame into a DC whose origin is the window's top left.
    virtual void DrawFrame(HDC dc);
    // WM_PRINT runs: its paints are for a picture, not the screen.
    bool Printing() const { return FPrinting; }

private:
    void WMNCCalcSize(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMPrint(TMessage& m);
    void CMHintShow(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void ShowAtOnce();

    TBarPopupView* FView;         // owned
    BYTE FAnimationDirection = 0; // TBarAnimDirection set
    bool FPrinting = false;       // WM_PRINT runs: its paints are no real paint
};

// Draws a popup window's frame into a DC whose origin is the window's top
// left; flat menus get a thin frame in the window's colour.
void DrawBarPopupFrame(HWND window, HDC dc, TColor windowColor);

// --- The menu loop ------------------------------------------------------------------------

// While a menu is open, the loop owns the mouse (capturing it on a window:
// the toolbar's, or a hidden one of its own), keeps other applications from
// taking the foreground, and reads the message queue itself: input goes to
// the views of the open chain, the popup timers drive submenus and
// scrolling, every other message is dispatched. It ends when a done action
// is set, the capture or the active window changes, or WM_QUIT arrives (which
// it posts again for the loop outside).
class TBarModalHandler
{
public:
    // window: the window that takes the capture, or null for one of the
    // handler's own (which ends the loop on WM_CANCELMODE).
    explicit TBarModalHandler(TWinControl* window);
    ~TBarModalHandler();
    TBarModalHandler(const TBarModalHandler&) = delete;
    TBarModalHandler& operator=(const TBarModalHandler&) = delete;

    // Runs the loop for the chain that starts at RootView. False when the
    // root view was destroyed meanwhile: the caller must not touch it then.
    bool Loop(TBarView* RootView, bool StartedByMouse, bool TrackRightButton,
              bool WithoutPriorityMove, bool ExecuteSelection);
    // The last loop's root view was destroyed (also after an exception).
    bool RootGone() const;
    HWND Window() const { return FWindow; }
    // The popup of a menu standing alone (hidden when the menu is aborted).
    void SetRootPopup(TBarPopupWindow* value) { FRootPopup = value; }
    // Ends the loop cancelled and hides every popup of the chain.
    void AbortMenuChain();

private:
    void RunLoop(bool startedByMouse, bool executeSelection);
    bool LoopShouldRun(HWND activeWindow) const;
    bool PressEndsLoop(const MSG& msg);
    void HandleMessage(MSG& msg);
    void HandleTimer(MSG& msg);
    void HandleKey(MSG& msg);
    void HandleKeyDown(MSG& msg);
    void HandleChar(const MSG& msg);
    void HandleMouseMove(const MSG& msg);
    void HandleButtonDown(const MSG& msg, bool doubleClick);
    void HandleButtonUp(const MSG& msg);
    void HandleWheel(const MSG& msg);
    void TrackHotViewers(const TPoint& screen);
    // Tracks the hot viewers when the mouse moved; false when that freed
    // the root view.
    bool FollowMouse(const TPoint& screen);
    // Where the mouse goes: the deepest view holding it with its selection,
    // else the deepest whose selection has the mouse in its button part; a
    // view the mouse is over stops the search, without a viewer.
    struct TMouseTarget
    {
        TBarView* View = nullptr;         // not owned
        TBarItemViewer* Viewer = nullptr; // not owned
        TPoint Point;                     // viewer coordinates
    };
    TMouseTarget MouseTarget(const TPoint& screen);
    TPoint ViewerPoint(TBarView* view, TBarItemViewer* viewer, const TPoint& screen);
    bool KeysHeldBack();
    void FinishLoop();
    void WindowMessage(TMessage& message);

    HWND FWindow = nullptr; // takes the capture; owned when FOwnWindow
    bool FOwnWindow = false;
    bool FMenuStartSent = false;               // the menu-start event went out
    TBarPopupWindow* FRootPopup = nullptr;     // not owned
    TBarView* FRoot = nullptr;                 // not owned; while the loop runs
    std::unique_ptr<TBarFreeWatch> FRootWatch; // the last loop's root view
    TPoint FLastMousePos;                      // screen
    bool FTrackRightButton = false;
    bool FNoPriorityMove = false;
    bool FMouseDownOnMenu = false; // the last press reopened the open menu
};

// --- Popup menus ---------------------------------------------------------------------------

// A context menu whose items are the children of a root item. Any control
// shows it through its PopupMenu; its shortcuts work while the form has it.
class TBarPopupMenu : public TPopupMenuBase
{
public:
    enum class TTrackButton : BYTE
    {
        tbRightButton,
        tbLeftButton,
    };

    explicit TBarPopupMenu(TComponent* AOwner);
    ~TBarPopupMenu() override;

    // The root's SubMenuImages.
    TCustomImageList* Images() const { return FItems->SubMenuImages(); }
    void SetImages(TCustomImageList* value) { FItems->SetSubMenuImages(value); }
    TBarRootItem* Items() const { return FItems; }
    TBarCustomItem* LinkSubitems() const { return FItems->LinkSubitems(); }
    void SetLinkSubitems(TBarCustomItem* value) { FItems->SetLinkSubitems(value); }
    TBarItemOptions Options() const { return FItems->Options(); }
    void SetOptions(TBarItemOptions value) { FItems->SetOptions(value); }
    // Where the menu lies against the point it is shown at.
    TBarPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TBarPopupAlignment value) { FAlignment = value; }
    // The button that chooses items while the menu shows (the left one always).
    TTrackButton TrackButton() const { return FTrackButton; }
    void SetTrackButton(TTrackButton value) { FTrackButton = value; }

    // Shows the root's children at a screen point; the chosen item's click
    // runs after the menu has closed.
    void Popup(int X, int Y) override;
    bool IsShortCut(WORD key, TShiftState shift) override;
    bool DispatchShortCut(const TMessage& keyMessage)
    {
        return FItems->DispatchShortCut(keyMessage);
    }

protected:
    // For derived menus with a root of their own class (owned from here on).
    TBarPopupMenu(TComponent* AOwner, TBarRootItem* root);

private:
    void RootClicked(TObject* Sender);

    TBarRootItem* FItems; // owned
    TBarPopupAlignment FAlignment = bpaLeft;
    TTrackButton FTrackButton = TTrackButton::tbRightButton;
};

// --- Wheel arithmetic ----------------------------------------------------------------

// The system's wheel lines as the views use them: a page per notch counts as
// 3 lines, and more than 120 lines as 120 (each line then still takes part
// of a notch). 0 turns wheel scrolling off.
UINT EffectiveWheelLines(UINT systemLines);
// Takes whole steps out of a wheel accumulator: positive steps scroll up,
// negative ones down; what is left of a step stays.
int TakeWheelSteps(int& accumulator, UINT wheelLines);

// --- Image list -----------------------------------------------------------------------

// An image list that draws from state lists: a disabled list, and two lists
// for two states the caller names. It can also take its images from a
// bitmap, masked with a colour.
class TBarCustomImageList : public TCustomImageList
{
public:
    explicit TBarCustomImageList(TComponent* AOwner);
    ~TBarCustomImageList() override;

    TCustomImageList* FirstStateImages() const { return FFirstStateImages; }
    void SetFirstStateImages(TCustomImageList* value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* value);
    TCustomImageList* SecondStateImages() const { return FSecondStateImages; }
    void SetSecondStateImages(TCustomImageList* value);
    // When not empty, the images (masked with ImagesBitmapMaskColor).
    TBitmap* ImagesBitmap() const { return FImagesBitmap; }
    TColor ImagesBitmapMaskColor() const { return FMaskColor; }
    void SetImagesBitmapMaskColor(TColor value);

    virtual void DrawState(TCanvas* Canvas, int X, int Y, int Index, bool Enabled, bool FirstState,
                           bool SecondState);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void SetStateList(TCustomImageList*& field, TChangeLink* link, TCustomImageList* value);
    void StateListChanged(TObject* Sender);
    void ImagesBitmapChanged(TObject* Sender);

    TCustomImageList* FFirstStateImages = nullptr;  // not owned; free-notified
    TCustomImageList* FDisabledImages = nullptr;    // not owned; free-notified
    TCustomImageList* FSecondStateImages = nullptr; // not owned; free-notified
    TChangeLink* FFirstStateLink;                   // owned
    TChangeLink* FDisabledLink;                     // owned
    TChangeLink* FSecondStateLink;                  // owned
    TBitmap* FImagesBitmap;                         // owned
    TColor FMaskColor = 0xFF00FF;                   // magenta
};
