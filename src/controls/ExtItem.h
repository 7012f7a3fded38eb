// The caption painting that the extended controls share: glowing wide
// text, a caption laid out in a rectangle, and the choice between classic
// and visual-style painting. The extended items with wide captions and
// their viewer (ExtItem_items.cpp), hints painted as bitmaps
// (ExtItem_hints.cpp), the extended toolbar with right-aligned and anchored
// items and display modes (ExtItem_bars.cpp) and its customizing drag
// (ExtItem_drag.cpp), the extended dock (ExtItem_dock.cpp), the extended
// popups and the toolbar's chevron (ExtItem_popups.cpp), and the title bar
// (ExtItem_title.cpp).
#pragma once

#include "classlib/Control.h"
#include "classlib/DragManager.h"
#include "classlib/Filer.h"
#include "classlib/Graphics.h"
#include "classlib/HintWindow.h"
#include "classlib/StringTypes.h"
#include "controls/ExtBarRules.h"
#include "themes/Skin.h"

#include <algorithm>
#include <functional>
#include <memory>

enum class TExtThemeType
{
    thtNone = 0,    // classic drawing
    thtWindows = 1, // the system's visual styles
    thtSkin = 2     // the current toolbar theme
};

enum class TSpGlowDirection
{
    gldNone = 0,
    gldAll = 1,
    gldTopLeft = 2,
    gldBottomRight = 3
};

// The theme layer paints with visual styles and the edits' classic
// override is off.
bool ExtVisualStylesOn();
// The painting a control of that type does now: the toolbar theme "Default"
// paints as the visual styles do, and those fall back to classic when off.
TExtThemeType ExtResolveThemeKind(TExtThemeType type);

// How a caption runs: upright, turned to run upwards or downwards.
enum class TExtTextRotation
{
    None = 0,
    Up = 1,  // 90 degrees
    Down = 2 // 270 degrees
};

// The text a caption shows. One that begins with "utf8=" carries the rest
// as UTF-8: the bytes of its ANSI form, decoded (each byte of a malformed
// sequence shows as U+FFFD; a bare "utf8=" shows nothing). Any other caption
// shows as it stands.
WideString ExtShownCaptionText(const WideString& caption);
// Draws (or, with DT_CALCRECT, measures into rect) the text a wide caption
// shows in the canvas font, first in glowColor at the offsets of the glow
// direction. The text height (across the text when turned); 0 when rect
// comes out empty.
int ExtPaintCaptionGlow(TCanvas* canvas, const WideString& caption, TRect& rect, UINT format,
                        TSpGlowDirection glow, TColor glowColor,
                        TExtTextRotation rotation = TExtTextRotation::None);
// The same for a text taken as it stands, never decoded.
int ExtPaintTextGlow(TCanvas* canvas, const WideString& text, TRect& rect, UINT format,
                     TSpGlowDirection glow, TColor glowColor,
                     TExtTextRotation rotation = TExtTextRotation::None);
// The DC's current font turned by angle in tenths of a degree (owned by the
// caller).
HFONT ExtMakeTurnedFont(HDC dc, int angle);
// Draws one line of a wide caption in the DC's font turned by angle (900 or
// 2700), its accelerator underlined unless DT_NOPREFIX; with DT_CALCRECT
// measures it into rect instead. The text height across the line.
int ExtPaintTurnedText(HDC dc, const WideString& caption, TRect& rect, UINT format, int angle);
// Draws a caption centred vertically in rect and placed by alignment;
// the rectangle of the text (empty when the caption has no height).
TRect ExtDrawCaption(TCanvas* canvas, const TRect& rect, const WideString& caption,
                     TAlignment alignment, UINT format, TSpGlowDirection glow, TColor glowColor);

// Where a caption and a glyph of glyphSize go in rect: the caption placed
// as ExtDrawCaption places it, the glyph beside it on the side of the
// alignment (or, glyphOnTop, centred above it) 4 pixels away (1 above),
// both moved by (+1, +1) when pushed. A glyph smaller than 1 x 1 is none.
struct TExtCaptionLayout
{
    TPoint GlyphPos;
    TRect TextRect;
    int TextHeight = 0;
};
TExtCaptionLayout ExtLayoutCaption(TCanvas* canvas, const TRect& rect, const WideString& caption,
                                   TAlignment alignment, UINT format, SIZE glyphSize,
                                   bool glyphOnTop, bool pushed);

// The stage a draw event runs at: before the default painting (which it
// may skip by clearing PaintDefault) and after it.
constexpr int kExtPaintBefore = 0;
constexpr int kExtPaintAfter = 1;

// Sender, ACanvas, ARect, PaintStage, PaintDefault.
using TExtDrawEvent = TEvent<TObject*, TCanvas*, const TRect&, int, bool&>;
// Sender, ACanvas, ARect, ItemInfo, PaintStage, PaintDefault.
using TExtDrawItemEvent =
    TEvent<TObject*, TCanvas*, const TRect&, const TSkinItemInfo&, int, bool&>;
// Sender, ACanvas, ItemInfo, PaintStage, AImageList, AImageIndex, ARect,
// PaintDefault.
using TExtDrawImageEvent =
    TEvent<TObject*, TCanvas*, const TSkinItemInfo&, int, TCustomImageList*&, int&, TRect&, bool&>;
// Sender, ACanvas, ClientAreaRect, ACaption, CaptionRect, CaptionFormat,
// IsTextRotated, PaintStage, PaintDefault.
using TExtDrawTextEvent =
    TEvent<TObject*, TCanvas*, const TRect&, WideString&, TRect&, UINT&, bool, int, bool&>;

// Sender, AHintBitmap, AHint, PaintDefault: the bitmap comes sized to the
// text (8 pixels wider, 4 higher) in the hint colour; the text is drawn on
// it afterwards unless PaintDefault is cleared.
using TExtDrawHintEvent = TEvent<TObject*, TBitmap*, WideString&, bool&>;

// A control whose hint shows as a bitmap it painted.
class TExtHintBitmapSource
{
public:
    // The bitmap of the hint being shown; null for a plain hint.
    virtual TBitmap* HintBitmap() const = 0;

protected:
    ~TExtHintBitmapSource() = default;
};

// The bitmap of a hint text (see TExtDrawHintEvent); paintStage may paint
// on it, change the text or clear PaintDefault.
std::unique_ptr<TBitmap>
ExtMakeHintBitmap(WideString hint,
                  const std::function<void(TBitmap*, WideString&, bool&)>& paintStage);
// Makes the hint window that shows the hint bitmap of the control under the
// mouse (a THintInfo::HintWindowClass).
THintWindow* ExtCreateHintBitmapWindow(TControl* owner);

// --- Extended items -------------------------------------------------------------------
//
// Menu and toolbar items whose caption and hint are wide text (the
// inherited ANSI caption and hint always hold their conversions), with a
// glow, an alignment, a wrapping, fixed sizes and a bound control.

class TExtCustomItem : public TSkinCustomItem
{
public:
    explicit TExtCustomItem(TComponent* AOwner);
    ~TExtCustomItem() override;

    // The wide text while the ANSI caption is its conversion, else (the
    // ANSI caption was set on its own) that caption's.
    WideString Caption() const;
    void SetCaption(const WideString& value);
    WideString Hint() const;
    void SetHint(const WideString& value);
    TSpGlowDirection CaptionGlow() const { return FCaptionGlow; }
    void SetCaptionGlow(TSpGlowDirection value) { StoreRepainting(FCaptionGlow, value); }
    TColor CaptionGlowColor() const { return FCaptionGlowColor; }
    void SetCaptionGlowColor(TColor value) { StoreRepainting(FCaptionGlowColor, value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { StoreRepainting(FAlignment, value); }
    TTextWrapping Wrapping() const { return FWrapping; }
    void SetWrapping(TTextWrapping value) { StoreRepainting(FWrapping, value); }
    // Pixels; -1: measured (anything below -1 is stored as -1).
    int CustomWidth() const { return FCustomWidth; }
    void SetCustomWidth(int value);
    int CustomHeight() const { return FCustomHeight; }
    void SetCustomHeight(int value);
    // Extra width in pixels, never negative.
    int Margins() const { return FMargins; }
    void SetMargins(int value);
    // Grows and shrinks with its extended toolbar.
    bool Anchored() const { return FAnchored; }
    void SetAnchored(bool value) { FAnchored = value; }
    // A control the item shows and hides on a click.
    TControl* Control() const { return FControl; }
    void SetControl(TControl* value);

    void Click() override;
    void InitiateAction() override;
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;
    // TExtPopupWindow.
    TBarPopupWindowClass PopupClassForItem() override;

    virtual bool DialogChar(WORD Key) { return false; }
    // Fire the draw events of the item (Sender is the item).
    virtual void DoDrawItem(TCanvas* ACanvas, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                            int PaintStage, bool& PaintDefault);
    virtual void PaintCaptionStage(TCanvas* ACanvas, const TRect& ClientAreaRect,
                                   WideString& ACaption, TRect& CaptionRect, UINT& CaptionFormat,
                                   bool IsTextRotated, int PaintStage, bool& PaintDefault);
    virtual void PaintImageStage(TCanvas* ACanvas, const TSkinItemInfo& ItemInfo, int PaintStage,
                                 TCustomImageList*& AImageList, int& AImageIndex, TRect& ARect,
                                 bool& PaintDefault);
    virtual void PaintHintStage(TBitmap* AHintBitmap, WideString& AHint, bool& PaintDefault);
    virtual void FlipBoundControl();
    virtual void SyncFromControl();

    TExtDrawTextEvent OnDrawCaption;
    TExtDrawItemEvent OnDrawItem;
    TExtDrawImageEvent OnDrawImage;
    // With a handler the item's hint shows as a bitmap.
    TExtDrawHintEvent OnDrawHint;

    // Caption and Hint are read under their own names and written only as
    // "CaptionW" and "HintW".
    ZANDREL_PUBLISHED(TExtCustomItem)
    void DefineProperties(TFiler& Filer) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

private:
    template <class T> void StoreRepainting(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Change(false);
    }

    WideString FCaption;
    WideString FHint;
    TSpGlowDirection FCaptionGlow = TSpGlowDirection::gldNone;
    TColor FCaptionGlowColor = 65535; // yellow
    TAlignment FAlignment = TAlignment::taCenter;
    TTextWrapping FWrapping = TTextWrapping::twWrap;
    int FCustomWidth = -1;
    int FCustomHeight = -1;
    int FMargins = 0;
    bool FAnchored = false;
    TControl* FControl = nullptr; // not owned; free-notified
};

class TExtItem : public TExtCustomItem
{
public:
    using TExtCustomItem::TExtCustomItem;
};

// Sender, ClickedItem (null unless the popup ended by a click).
using TExtClosePopupEvent = TEvent<TObject*, TBarCustomItem*>;

class TExtSubmenuItem : public TExtItem
{
public:
    explicit TExtSubmenuItem(TComponent* AOwner);
    // Split into a button and an arrow part.
    bool DropdownCombo() const { return HasTrait(DualPart); }
    void SetDropdownCombo(bool value);
    // The popup opens with its first item selected.
    bool AlwaysSelectFirst() const { return FAlwaysSelectFirst; }
    void SetAlwaysSelectFirst(bool value) { FAlwaysSelectFirst = value; }
    // The popup lays its items out and draws them as a toolbar does.
    bool ToolbarStylePopup() const { return FToolbarStylePopup; }
    void SetToolbarStylePopup(bool value) { FToolbarStylePopup = value; }

    // Fires as the item's popup window goes.
    TExtClosePopupEvent OnClosePopup;

private:
    bool FAlwaysSelectFirst = false;
    bool FToolbarStylePopup = false;
};

// A caption that cannot be clicked; its accelerator focuses its control.
class TExtCustomLabelItem : public TExtCustomItem
{
public:
    explicit TExtCustomLabelItem(TComponent* AOwner);
    bool DialogChar(WORD Key) override;
    void FlipBoundControl() override {}
    void SyncFromControl() override {}
};

class TExtLabelItem : public TExtCustomLabelItem
{
public:
    using TExtCustomLabelItem::TExtCustomLabelItem;
};

// An empty label whose width its toolbar sets so that the items after it
// end at the toolbar's far edge.
class TExtRightAlignSpacerItem : public TExtCustomLabelItem
{
public:
    using TExtCustomLabelItem::TExtCustomLabelItem;
};

class TExtSeparatorItem : public TSkinSeparatorItem
{
public:
    using TSkinSeparatorItem::TSkinSeparatorItem;
};

// The caption format of an item: always vertically centred; the wrapping
// adds single line with an ellipsis, or word breaks; right alignment adds
// DT_RIGHT, centring (on a single line) DT_CENTER.
UINT ExtItemCaptionFormat(TTextWrapping wrapping, TAlignment alignment);

// Measures and paints an extended item: its wide caption with its glow and
// format, its margins, fixed sizes and anchor growth.
class TExtItemViewer : public TSkinItemViewer
{
public:
    using TSkinItemViewer::TSkinItemViewer;

    // Pixels the item grows by on an extended toolbar that grew since it
    // first laid the item out.
    int AnchorExtra() const { return FAnchorExtra; }
    void SetAnchorExtra(int value) { FAnchorExtra = value; }
    // The toolbar's length when the anchored item was first laid out; -1
    // before.
    int AnchorBase() const { return FAnchorBase; }
    void SetAnchorBase(int value) { FAnchorBase = value; }

    void CalcSize(TCanvas* Canvas, int& Width, int& Height) override;
    // The item's draw events around the default painting.
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    void DrawViewerImage(TCanvas* Canvas, const TRect& ARect,
                         const TSkinItemInfo& ItemInfo) override;
    // No caption on a toolbar that shows images only.
    bool ShowsCaption() override;

protected:
    void CaptionDrawHook(TCanvas* Canvas, const TRect& ClientAreaRect, TRect& CaptionRect,
                         bool IsTextRotated, bool& PaintDefault) override;
    // The wide caption up to its first tab.
    WideString ShownWideCaption();

private:
    TExtCustomItem* ExtItem() const;
    // The item's alignment, but a centred caption in a popup menu starts
    // after the image column: the shortcut text follows it on the right.
    TAlignment ShownAlignment() const;
    // How much wider the wide caption is than its ANSI conversion that the
    // inherited measuring took (characters the code page lacks).
    int WideCaptionWidthGain(TCanvas* Canvas);
    // An empty label on a bar, without an image: measured as a line of text.
    bool HoldsEmptyLine();

    int FAnchorExtra = 0;
    int FAnchorBase = -1;
    bool FCaptionPending = false; // the next caption hook draws the caption itself
};

// --- Extended toolbar --------------------------------------------------------------------

enum class TExtToolbarDisplayMode
{
    tbdmSelectiveCaption = 0,
    tbdmImageOnly = 1,
    tbdmImageAboveCaption = 2
};

// Sender, Ancestor, Relayed, Action, Index, Item.
using TExtItemNotificationEvent =
    TEvent<TObject*, TBarCustomItem*, bool, TBarItemChangeCode, int, TBarCustomItem*>;

// The screen cursor of an item dragged while customizing.
constexpr TCursor kExtItemDragCursor = 101;

// An item dragged from a toolbar while customizing.
class TExtCustomDragObject : public TDragObject
{
public:
    TExtCustomDragObject(TControl* SourceControl, TBarCustomItem* Item)
        : FSourceControl(SourceControl), FItem(Item)
    {
    }
    TControl* SourceControl() const { return FSourceControl; }
    TBarCustomItem* DraggedItem() const { return FItem; }
    TCursor DragCursor(bool accepted) const override
    {
        return accepted ? kExtItemDragCursor : crNo;
    }

private:
    TControl* FSourceControl; // not owned
    TBarCustomItem* FItem;    // not owned
};

class TExtItemDragObject : public TExtCustomDragObject
{
public:
    using TExtCustomDragObject::TExtCustomDragObject;
};

class TExtToolbar;

// The view of an extended toolbar: it can cap the height of its items.
class TExtToolbarView : public TBarToolbarView
{
public:
    using TBarToolbarView::TBarToolbarView;
    // Pixels; -1: no cap.
    int MaxItemHeight() const { return FMaxItemHeight; }
    void SetMaxItemHeight(int value);

private:
    int FMaxItemHeight = -1;
};

// A themed toolbar that keeps the items after its right-align spacer at its
// far edge, grows its anchored items and anchored controls with it, shows
// its items in one display mode, and lets its items be dragged to another
// place while customizing.
class TExtToolbar : public TSkinToolbar, public TExtHintBitmapSource
{
public:
    explicit TExtToolbar(TComponent* AOwner);
    ~TExtToolbar() override;

    TExtToolbarView* ExtView() const { return static_cast<TExtToolbarView*>(View()); }
    const WideString& Caption() const { return FCaption; }
    void SetCaption(const WideString& value) { FCaption = value; }
    // Items may be dragged to reorder them while customizing.
    bool Customizable() const { return FCustomizable; }
    void SetCustomizable(bool value) { FCustomizable = value; }
    // The chevron's popup lists the hidden items one below the other.
    bool ChevronVertical() const { return FChevronVertical; }
    void SetChevronVertical(bool value) { FChevronVertical = value; }
    TExtToolbarDisplayMode DisplayMode() const { return FDisplayMode; }
    void SetDisplayMode(TExtToolbarDisplayMode value);

    // While raised, a press on the toolbar drags the item under it (nothing
    // else happens on a toolbar that is not customizable).
    void BeginCustomizing() { ++FCustomizing; }
    void EndCustomizing();
    // While raised (around a batch of item moves), item notifications are
    // ignored: no event, no relayout.
    void BeginItemUpdate() { ++FItemUpdating; }
    void EndItemUpdate();
    // The index among the toolbar's items before which a dragged item
    // would go (the item count: at the end); -1 without a mark.
    int DropMark() const { return FDropMark; }

    // Whether a press starts a customizing drag.
    virtual bool CustomizeDragAllowed();
    // Pixels the items leave free at the far edge: the non-client size.
    virtual int RightPushMargin();
    // Sizes the last visible right-align spacer so that the items after it
    // end at the far edge.
    virtual void PushItemsRight();
    // Grows and shrinks the anchored items, and the right-anchored controls
    // of control items, with the toolbar.
    virtual void PinItems();

    // The hint of the last item whose hint showed through its draw-hint
    // event.
    TBitmap* HintBitmap() const override { return FHintBitmap.get(); }

    // The widths a right-anchored control item's control is sized from.
    const std::vector<TExtItemCache>& ItemCache() const { return FItemCache; }

    TExtDrawEvent OnDrawBackground;
    TExtItemNotificationEvent OnItemNotification;

    void WndProc(TMessage& message) override;
    TBarFrameClass FrameClass() override;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(TObject* Source, int X, int Y) override;
    void DoStartDrag(TDragObject*& DragObject) override;
    void DoEndDrag(TObject* Target, int X, int Y) override;

protected:
    // Fires OnDrawBackground.
    virtual void DoDrawBackground(TCanvas* ACanvas, const TRect& ARect, int PaintStage,
                                  bool& PaintDefault);
    virtual void HandleItemChangeNote(TBarCustomItem* Sender, bool Relayed, TBarItemChangeCode Code,
                                      int Index, TBarCustomItem* Item);
    // Layout requests are ignored while loading, destroying, or while the
    // toolbar lays itself out.
    bool LayoutBlocked() const;

private:
    // The toolbar's length along its items: the width, or the height when
    // docked left or right.
    int AlongLength();
    bool Vertical();
    TExtRightAlignSpacerItem* LastVisibleSpacer();
    // The far edge of the shown items (the chevron aside), view pixels;
    // beyond any toolbar when an item hides behind the chevron.
    int TrailingEdge();
    void PinAnchoredItems();
    void PinAnchoredControls();
    // The far edge of all the items laid out without a chevron, less the
    // extent of an item that is going.
    int MeasuredTrailingEdge(TBarCustomItem* going);
    void EraseBackground(TMessage& message);
    // An item with a draw-hint event shows its hint as a bitmap.
    void PrepareItemHint(THintInfo& info);

    // --- Customizing (ExtItem_drag.cpp)
    bool TakeCustomizePress(const TPoint& client);
    // The shown items of the toolbar itself along it, view pixels.
    std::vector<TItemSpan> ItemSpans();
    // The drop index at a client point.
    int DropIndexAt(const TPoint& client);
    void SetDropMark(int value);
    void PaintDropMark();

    WideString FCaption;
    bool FCustomizable = true;
    bool FChevronVertical = true;
    TExtToolbarDisplayMode FDisplayMode = TExtToolbarDisplayMode::tbdmSelectiveCaption;
    int FRelayouting = 0; // inside PushItemsRight or PinItems
    int FCustomizing = 0;
    int FItemUpdating = 0;
    int FDropMark = -1;
    TBarCustomItem* FPressedItem = nullptr;    // not owned: the item a press drags
    TExtItemDragObject* FDragObject = nullptr; // owned while dragging
    std::vector<TExtItemCache> FItemCache;
    std::unique_ptr<TBitmap> FHintBitmap;
    int FLastTrailingEdge = -1;             // of the last layout; -1 before the first
    TBarCustomItem* FChangedItem = nullptr; // not owned: the item just added or going
    bool FChangedItemGoing = false;
};

// A dock whose background an event can paint over or replace, and whose
// extended toolbars follow it when it gets shorter.
class TExtDock : public TSkinDock
{
public:
    using TSkinDock::TSkinDock;

    TExtDrawEvent OnDrawBackground;

    // Whether the background is painted through the draw event.
    virtual bool PaintsOwnBackground() { return static_cast<bool>(OnDrawBackground); }
    bool HasBackdrop() override;
    void DrawBackground(HDC DC, const TRect& DrawRect) override;
    void WndProc(TMessage& message) override;

    // Fires OnDrawBackground.
    virtual void DoDrawBackground(TCanvas* ACanvas, const TRect& ARect, int PaintStage,
                                  bool& PaintDefault);

private:
    // Resizes the extended toolbars on the dock after it got shorter.
    void FitToolbars();

    TPoint FLastSize{-1, -1}; // before the last resize
};

// --- Compound bars and the status bar ------------------------------------------------------

// A control hosting one extended toolbar on an inner dock: the toolbar has
// no border, handle or caption, stretches over the dock and never floats.
class TExtCompoundItemsControl : public TCustomControl
{
public:
    explicit TExtCompoundItemsControl(TComponent* AOwner);
    ~TExtCompoundItemsControl() override;

    TExtDock* Dock() const { return FDock; }
    TExtToolbar* Toolbar() const { return FToolbar; }
    // The inner toolbar's items.
    TBarRootItem* Items() const { return FToolbar ? FToolbar->Items() : nullptr; }
    TCustomImageList* Images() const { return FToolbar ? FToolbar->Items()->Images() : nullptr; }
    void SetImages(TCustomImageList* value);
    TExtThemeType ThemeType() const { return FThemeType; }
    void SetThemeType(TExtThemeType value);
    // Redraws the control with its children, background included.
    virtual void RepaintBackdrop();

protected:
    // Makes the dock and the toolbar (a derived control passes its own
    // toolbar class: a constructor cannot call a derived override).
    TExtCompoundItemsControl(TComponent* AOwner, TExtToolbar* (*makeBar)(TComponent*));

private:
    TExtDock* FDock;       // owned (a child)
    TExtToolbar* FToolbar; // owned (docked on FDock)
    TExtThemeType FThemeType = TExtThemeType::thtSkin;
};

// A compound control as high as its inner dock.
class TExtCompoundBar : public TExtCompoundItemsControl
{
public:
    explicit TExtCompoundBar(TComponent* AOwner);

    // Paints the inner dock's background (and so the toolbar's) instead of
    // the theme, or over it.
    TExtDrawEvent OnDrawDockBackground;
    // Fires OnDrawDockBackground (the inner dock calls it).
    virtual void PaintDockBackdrop(TCanvas* ACanvas, const TRect& ARect, int PaintStage,
                                   bool& PaintDefault);

protected:
    TExtCompoundBar(TComponent* AOwner, TExtToolbar* (*makeBar)(TComponent*));
    // Follows the inner dock's height.
    void FollowDock();
};

// The status bar's toolbar: a size grip at its right end and divider lines
// at its separators.
class TExtStatusToolbar : public TExtToolbar
{
public:
    explicit TExtStatusToolbar(TComponent* AOwner);

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // The grip in the dock's client coordinates; empty without one.
    TRect GripRect();
    // The theme type the grip and dividers are painted for.
    TExtThemeType PaintThemeType() const { return FPaintThemeType; }
    void SetPaintThemeType(TExtThemeType value);

    int RightPushMargin() override;
    void WndProc(TMessage& message) override;

private:
    // The grip in the toolbar's own client coordinates.
    TRect ClientGripRect();
    bool OverGrip(const TPoint& client);
    bool StartSizing(const TPoint& client);
    void PaintGripAndDividers();

    bool FSizeGrip = true;
    TExtThemeType FPaintThemeType = TExtThemeType::thtSkin;
};

class TExtCustomStatusBar : public TExtCompoundBar
{
public:
    explicit TExtCustomStatusBar(TComponent* AOwner);

    TExtStatusToolbar* StatusToolbar() const;
    bool SizeGrip() const { return StatusToolbar()->SizeGrip(); }
    void SetSizeGrip(bool value) { StatusToolbar()->SetSizeGrip(value); }

    void WndProc(TMessage& message) override;

protected:
    // Only the inner dock's height.
    bool CanResize(int& NewWidth, int& NewHeight) override;
};

class TExtStatusBar : public TExtCustomStatusBar
{
public:
    using TExtCustomStatusBar::TExtCustomStatusBar;
};

// --- Popups (ExtItem_popups.cpp) ---------------------------------------------------------

class TExtPopupWindowView : public TSkinPopupView
{
public:
    using TSkinPopupView::TSkinPopupView;
};

// The popup of an extended item's children. A submenu item's popup takes
// its toolbar-style and first-selection settings, and tells the item's
// OnClosePopup which item was clicked when the window goes.
class TExtPopupWindow : public TSkinPopupWindow
{
public:
    TExtPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                    bool Customizing);
    ~TExtPopupWindow() override;

    TExtPopupWindowView* ExtView() const { return static_cast<TExtPopupWindowView*>(View()); }
    // The item that opened the popup; null once it is freed.
    TBarCustomItem* OpeningItem() const { return FItem; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The item the menu ended with a click of, else null.
    TBarCustomItem* ClickedItem() const;
    void FireClosePopup();

    TBarCustomItem* FItem; // not owned; free-notified
};

// The chevron of an extended toolbar: drawn by the theme, its popup lists
// the items the toolbar hides.
class TExtChevronItem : public TBarChevronItem
{
public:
    using TBarChevronItem::TBarChevronItem;
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;
    TBarPopupWindowClass PopupClassForItem() override;
    // The popup of a toolbar with ChevronVertical lists one item a line.
    void PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                          TBarPopupPositionRec& Rec) override;
};

class TExtChevronPopupWindow : public TExtPopupWindow
{
public:
    using TExtPopupWindow::TExtPopupWindow;
    DWORD ViewKind() override { return vkChevronPopup; }
};

// The floating frame of an extended toolbar.
class TExtFloatingWindowParent : public TSkinFloatingWindowParent
{
public:
    using TSkinFloatingWindowParent::TSkinFloatingWindowParent;
};

// Sender, PopupView.
using TExtPopupEvent = TEvent<TObject*, TExtPopupWindowView*>;

// A themed popup menu of extended items (wide captions). OnInitPopup runs
// once the popup's window and view are made and before it shows; items
// it adds, removes or changes are laid out before the window is placed.
class TExtPopupMenu : public TSkinPopupMenu
{
public:
    explicit TExtPopupMenu(TComponent* AOwner);
    // Shows the menu at a screen point, runs the menu loop and answers the
    // chosen item (null when cancelled) without clicking it.
    virtual TBarCustomItem* PopupInternally(int X, int Y);
    // Fires OnInitPopup.
    virtual void PreparePopupMenu(TExtPopupWindowView* PopupView);

    TExtPopupEvent OnInitPopup;
};

// --- Title bar (ExtItem_title.cpp) -------------------------------------------------------
//
// A compound bar that stands in for a form's caption: the caption as a
// label, a system-menu button, and minimize, maximize and close buttons.
// Its buttons are drawn with the system's symbol font.

// A menu item's text (up to 260 characters), with its "&" marks and the
// shortcut after a tab.
WideString ExtReadMenuText(HMENU menu, UINT position);
// Shows a window's system menu as an extended popup menu at a screen point
// and posts the command chosen to the window; the command, 0 when none.
UINT ExtPopupSystemMenu(HWND window, const TPoint& at);

// Which buttons a title bar shows.
class TExtButtonOptions : public TNotifyingSettings
{
public:
    bool Minimize() const { return FMinimize; }
    void SetMinimize(bool value) { Store(FMinimize, value); }
    bool Maximize() const { return FMaximize; }
    void SetMaximize(bool value) { Store(FMaximize, value); }
    bool Close() const { return FClose; }
    void SetClose(bool value) { Store(FClose, value); }
    bool SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(bool value) { Store(FSystemMenu, value); }

private:
    bool FMinimize = true;
    bool FMaximize = true;
    bool FClose = true;
    bool FSystemMenu = true;
};

class TExtTitleBarButtonOptions : public TExtButtonOptions
{
public:
    static constexpr int kButtonWidth = 17; // pixels

    // The buttons' height in pixels (at least 1).
    int TitleBarSize() const { return FTitleBarSize; }
    void SetTitleBarSize(int value) { Store(FTitleBarSize, std::max(1, value)); }

private:
    int FTitleBarSize = 19;
};

// The title bar's toolbar: its items end 4 pixels from its right edge; a
// press beside its buttons moves the form, a double click maximizes or
// restores it.
class TExtTitleToolbar : public TExtToolbar
{
public:
    explicit TExtTitleToolbar(TComponent* AOwner);
    int RightPushMargin() override { return 4; }
    void WndProc(TMessage& message) override;

private:
    bool OverButton(const TPoint& client);
};

class TExtCustomTitleBar : public TExtCompoundBar
{
public:
    explicit TExtCustomTitleBar(TComponent* AOwner);
    ~TExtCustomTitleBar() override;

    // While set, the form shows no caption of its own.
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TExtTitleBarButtonOptions* Options() const { return FOptions; }
    // Takes the form's caption into the label and the maximize button's
    // symbol from its state.
    void SyncFromForm();

    TExtLabelItem* CaptionItem() const { return FCaptionItem; }
    TExtItem* SystemMenuItem() const { return FSystemMenuItem; }
    TExtItem* MinimizeItem() const { return FMinimizeItem; }
    TExtItem* MaximizeItem() const { return FMaximizeItem; }
    TExtItem* CloseItem() const { return FCloseItem; }

    void WndProc(TMessage& message) override;

private:
    TExtItem* AddButton(const wchar_t* symbol);
    void OptionsChanged(TObject* Sender);
    void ButtonClicked(TObject* Sender);
    void ApplyFormCaptionStyle();
    HWND FormHandle();

    TExtTitleBarButtonOptions* FOptions; // owned
    bool FActive = false;
    // Owned by the toolbar's items.
    TExtItem* FSystemMenuItem;
    TExtLabelItem* FCaptionItem;
    TExtItem* FMinimizeItem;
    TExtItem* FMaximizeItem;
    TExtItem* FCloseItem;
};

class TExtTitleBar : public TExtCustomTitleBar
{
public:
    using TExtCustomTitleBar::TExtCustomTitleBar;
};
