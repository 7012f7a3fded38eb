// The current theme and the windows that follow it.
//
//   CurrentTheme        the theme every painter calls; always set between
//                       StartSkin and StopSkin ("Default" from the start)
//   SwitchTheme         replaces it and tells the theme-change listeners
//   TSkinNexus          holds the current theme and the theme-change
//                       listeners; passes every system change on to them
//   TSkinMenuAnimation  the animation chosen for popups
//   AskViewType, ResolvedColor
//                       the questions any window may be asked
//
// And the themed items of the toolbar framework, measured and painted
// through the current theme:
//   TNotifyingSettings  settings whose setters tell OnChange of a change
//   TFontSettings       changes a themed item makes to its font
//   TSkinCustomItem     an item with font settings, a layout and a minimum
//                       size (Skin_items.cpp)
//   TSkinItemViewer     measures and paints any item through the theme
//                       (Skin_viewer.cpp)
//   TSkinSeparatorItem  a separator whose size the theme or the item gives
//   TSkinVisibilityToggleItem
//                       an item that shows and hides a control
//   TSkinPopupWindow    a popup with the theme's frame, background, view
//                       type, drop shadow and animation (Skin_popup.cpp)
//   TSkinChevronItemViewer, TSkinChevronPopupWindow
//                       the chevron's button and popup
//   TSkinPopupMenu      a context menu that can also open at a rectangle
//
// And the themed docks and dockable windows (Skin_docks.cpp):
//   TSkinDock           a dock the theme or its parent paints behind
//   TSkinToolbar, TSkinToolWindow
//                       answer their view type and effective colour, frame
//                       painted by the theme, colour passed to children
//   TSkinFloatingWindowParent
//                       the floating frame painted by the theme, snapping
//                       to the work area
//   PaintParentUnder    what lies under a control
//   ErasesForAnother    whether an erase request is a child's asking for it
//
// Theme-change listeners get WM_SKIN_THEMECHANGE three times per change
// (WParam 1 before, 2 during, 3 after), with LParam 1 for a switch and 0
// for a system change passed on (then WParam 4 and 5 tell activation).
#pragma once

#include "SkinThemes.h"

#include "toolbar/BarItem.h"
#include "toolbar/BarToolWindow.h"
#include "toolbar/BarToolbar.h"

class TShadows;

void StartSkin();
void StopSkin();

// Windows NT 5 or later.
bool SystemIsNT5OrLater();

TSkinTheme* CurrentTheme();
// Nothing happens for a name not registered; otherwise the current theme
// is released, the named one taken, and the listeners told.
void SwitchTheme(const AnsiString& Name);
AnsiString CurrentThemeName();

// Adds only when absent.
void ListenThemeChanges(TObject* Obj);
void UnlistenThemeChanges(TObject* Obj);

class TSkinNexus : public TObject
{
public:
    // Takes the named theme as the current one and listens to the system.
    explicit TSkinNexus(const AnsiString& ThemeName);
    ~TSkinNexus() override;

    void Dispatch(TMessage& message) override;

    void Listen(TObject* listener);
    void Unlisten(TObject* listener);
    // Sends WM_SKIN_THEMECHANGE to every listener; listeners may join or
    // leave meanwhile (one that left is not told).
    void Broadcast(WPARAM wParam, LPARAM lParam);

private:
    std::vector<TObject*> FListeners; // not owned
};

// --- Popup animation --------------------------------------------------------------

enum class TSkinPopupAnimation
{
    None = 0,
    Unfold = 1,
    Slide = 2,
    Fade = 3,
};

// The modes a system offers, bit n for mode n: 0 always; 1 to 4 on NT 5 and
// later or on 9x 4.10 and later; 5 (fade) on NT 5 and later.
unsigned AvailableMenuAnimationModes(bool nt, DWORD majorVersion, DWORD minorVersion);
// The mode asked for, stepped down until available; mode 1 becomes 0 while
// the system does not animate menus.
int ResolveMenuAnimationMode(int asked, unsigned available, bool systemAnimation);
// The animation of one popup in a mode: 1 follows the system's animation
// and fade settings, 2 picks by random among unfold and slide (and fade
// when available), 3, 4, 5 are unfold, slide, fade; 0 none.
TSkinPopupAnimation PopupAnimationFor(int mode, bool systemAnimation, bool systemFade,
                                      bool fadeAvailable, unsigned random);

class TSkinMenuAnimation : public TObject
{
public:
    // mode 0 .. 5, resolved on this system.
    explicit TSkinMenuAnimation(int mode);
    int Mode() const { return FMode; }
    // The animation of the next popup, from the system's current settings.
    TSkinPopupAnimation AnimationForPopup() const;

private:
    BYTE FMode;
    unsigned FAvailable; // the system's modes, bit n for mode n
};

// The program's choice (nullptr outside StartSkin .. StopSkin).
TSkinMenuAnimation* SkinMenuAnimation();

// --- Questions to windows ---------------------------------------------------------

// 0 for no view or a view without owner; else the owner's answer to
// WM_SKIN_VIEWTYPE.
DWORD AskViewType(TBarView* View);
// clBtnFace for no control; the control's answer to WM_SKIN_EFFECTIVECOLOR,
// else its Color.
TColor ResolvedColor(TControl* Control);

// --- Font settings -----------------------------------------------------------------

// A font style to set, clear, or leave as the font has it.
enum class TTriState : BYTE
{
    tsDefault = 0,
    tsTrue = 1,
    tsFalse = 2,
};

// Where a toolbar button's image goes against its caption.
enum class TSkinItemLayout : BYTE
{
    sklAuto = 0, // above in vertical bars or with tboImageAboveCaption, else left
    sklGlyphLeft = 1,
    sklGlyphTop = 2,
};

// How the extended items fit a caption into its room.
enum class TTextWrapping : BYTE
{
    twNone,
    twEndEllipsis,
    twPathEllipsis,
    twWrap,
};

using TFontSize = WORD; // a percentage of the font's size

// A group of settings that tells its holder of each change.
class TNotifyingSettings : public TPersistent
{
public:
    TNotifyEvent OnChange;

protected:
    // Stores only a different value, then tells OnChange.
    template <class T> void Store(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
};

// Changes applied on top of a font: styles, a size in percent, a colour and
// a face name. Each setter stores only a different value and then tells
// OnChange.
class TFontSettings : public TNotifyingSettings
{
public:
    static constexpr TFontSize kUnchangedSize = 100;

    TTriState Bold() const { return FBold; }
    void SetBold(TTriState value) { Store(FBold, value); }
    TTriState Italic() const { return FItalic; }
    void SetItalic(TTriState value) { Store(FItalic, value); }
    TTriState Underline() const { return FUnderline; }
    void SetUnderline(TTriState value) { Store(FUnderline, value); }
    TTriState StrikeOut() const { return FStrikeOut; }
    void SetStrikeOut(TTriState value) { Store(FStrikeOut, value); }
    TFontSize Size() const { return FSize; }
    void SetSize(TFontSize value) { Store(FSize, value); }
    // clNone: the font keeps its colour.
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Store(FColor, value); }
    // Empty: the font keeps its face.
    const AnsiString& Name() const { return FName; }
    void SetName(const AnsiString& value) { Store(FName, value); }

    // From another font settings object: all seven values with one change
    // (none when they are equal already).
    void Assign(TPersistent* Source) override;
    // Changes font: a size scaled by the percentage (rounded half up), the
    // colour and face when set, each style set or cleared as asked.
    void Apply(TFont* Font) const;
    // A new font (owned by the caller) made from source with the same
    // changes; Color takes the colour when one is set.
    HFONT MakeAdjustedFont(HFONT Source, TColor& Color) const;

private:
    TTriState FBold = TTriState::tsDefault;
    TTriState FItalic = TTriState::tsDefault;
    TTriState FUnderline = TTriState::tsDefault;
    TTriState FStrikeOut = TTriState::tsDefault;
    TFontSize FSize = kUnchangedSize;
    TColor FColor = clNone;
    AnsiString FName;
};

// A size in points or a font height in pixels scaled by a percentage,
// rounded half up in magnitude (the sign of a height stays).
int ScaledFontSize(int size, TFontSize percent);

// --- Themed items ----------------------------------------------------------------

// Item, Viewer, Font, StateFlags (ViewerStateBits).
using TAdjustFontEvent = TEvent<TBarCustomItem*, TBarItemViewer*, TFont*, int>;

// An item that themed viewers show: its font settings, layout and minimum
// size change its viewers' size.
class TSkinCustomItem : public TBarCustomItem
{
public:
    explicit TSkinCustomItem(TComponent* AOwner);
    ~TSkinCustomItem() override;

    TFontSettings* FontSettings() const { return FFontSettings; }
    void SetFontSettings(TFontSettings* value) { FFontSettings->Assign(value); }
    TSkinItemLayout Layout() const { return FLayout; }
    void SetLayout(TSkinItemLayout value) { StoreResizing(FLayout, value); }
    // Pixels; the viewer is at least this big.
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value) { StoreResizing(FMinHeight, value); }
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value) { StoreResizing(FMinWidth, value); }
    // Spans its toolbar line's whole cross size.
    bool Stretch() const { return HasTrait(FullLineSpan); }
    void SetStretch(bool value);
    // Repaints the item's viewers.
    void Invalidate() { Change(false); }

    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;
    TBarPopupWindowClass PopupClassForItem() override;

    TAdjustFontEvent OnAdjustFont;

private:
    void FontSettingsChanged(TObject* Sender);

    TFontSettings* FFontSettings; // owned
    TSkinItemLayout FLayout = TSkinItemLayout::sklAuto;
    int FMinHeight = 0;
    int FMinWidth = 0;
};

// Shows and hides a control; checked while the control is visible.
class TSkinVisibilityToggleItem : public TSkinCustomItem
{
public:
    using TSkinCustomItem::TSkinCustomItem;

    TControl* Control() const { return FControl; }
    // Takes the control's text as the caption when the caption is empty.
    void SetControl(TControl* value);

    // Flips the control's visibility, then clicks as usual.
    void Click() override;
    // Checked follows the control's visibility.
    void InitiateAction() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TControl* FControl = nullptr; // not owned; free-notified
};

class TSkinSeparatorItem : public TBarSeparatorItem
{
public:
    explicit TSkinSeparatorItem(TComponent* AOwner);
    // Pixels across the line; -1: the theme's; 0: nothing is drawn.
    int Size() const { return FSize; }
    void SetSize(int value);
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;

private:
    int FSize = -1;
};

// --- Themed viewers -------------------------------------------------------------

// What ViewerKind answers.
constexpr int kSkinToolbarViewer = 1;
constexpr int kSkinMenuViewer = 2;

// Measures and paints an item through the current theme: toolbar buttons
// (split buttons and drop-down arrows included) and menu rows with their
// image column, captions, shortcuts and check marks.
class TSkinItemViewer : public TBarItemViewer
{
public:
    using TBarItemViewer::TBarItemViewer;

    void CalcSize(TCanvas* Canvas, int& Width, int& Height) override;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    bool HasBarLook() override;
    bool HasBarMetrics() override;
    bool HitsButtonSection(int X, int Y) override;
    // Executes also a toolbar-style viewer the mouse was released over
    // without being pressed there (a press elsewhere dragged onto it).
    void MouseUp(int X, int Y, bool MouseWasDownOnMenu) override;

    // Runs before each caption and shortcut text is drawn; clearing
    // PaintDefault leaves the text to the hook.
    virtual void CaptionDrawHook(TCanvas* Canvas, const TRect& ClientAreaRect, TRect& CaptionRect,
                                 bool IsTextRotated, bool& PaintDefault)
    {
    }
    // kSkinToolbarViewer or kSkinMenuViewer.
    virtual int ViewerKind();
    // Draws the item's image at ARect (the image's own rectangle).
    virtual void DrawViewerImage(TCanvas* Canvas, const TRect& ARect,
                                 const TSkinItemInfo& ItemInfo);
    // Bold for the default item, then the item's font settings and its
    // OnAdjustFont.
    virtual void DoAdjustFont(TFont* Font, int StateFlags);
    virtual bool ShowsImage();

    // The item's layout with sklAuto resolved for this view.
    TSkinItemLayout ResolvedLayout();
    // A toolbar button's caption runs downwards.
    bool CaptionRotated();
    // The image size that counts (0 x 0 when no image shows).
    SIZE ShownImageSize();
    // What the theme is told of the item in this state.
    TSkinItemInfo MakeItemInfo(bool IsSelected, bool IsPushed);

private:
    // A submenu item with a separate arrow part.
    bool IsSplitButton() const;
    // A toolbar button whose submenu opens from its drop-down arrow.
    bool HasDropdownArrow() const;
    void CalcToolbarSize(TCanvas* Canvas, int& Width, int& Height);
    void CalcMenuSize(TCanvas* Canvas, int& Width, int& Height);
    void PaintToolbarItem(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& info);
    void PaintMenuItem(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& info);
    void PaintCaption(TCanvas* Canvas, const TRect& clientArea, TRect captionRect,
                      const TSkinItemInfo& info, const AnsiString& text, UINT format, bool rotated);
    void PaintImageArea(TCanvas* Canvas, const TRect& area, const TSkinItemInfo& info);
    UINT CaptionFormat();
};

class TSkinSeparatorItemViewer : public TBarSeparatorItemViewer
{
public:
    using TBarSeparatorItemViewer::TBarSeparatorItemViewer;
    void CalcSize(TCanvas* Canvas, int& Width, int& Height) override;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
};

// The chevron button: the theme's overflow arrow.
class TSkinChevronItemViewer : public TSkinItemViewer
{
public:
    using TSkinItemViewer::TSkinItemViewer;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
};

// The width of a popup menu's image column for viewer: the image (its
// list's size, else 16 x 16) widened in proportion when the view's text
// line is taller than the image, both with the menu-item margins.
int MeasureThemedViewer(TBarItemViewer* Viewer);

// State bits handed to OnAdjustFont.
enum TSkinViewerState : int
{
    svsDisabled = 1,
    svsMouseHot = 2,
    svsPushed = 4,
    svsChecked = 8,
};
int ViewerStateBits(const TSkinItemInfo& ItemInfo);

// Flags of DrawImageByTheme: the state bits of TSkinViewerState, and the
// kind of place the image stands in.
constexpr DWORD sipToolbar = 0x000;
constexpr DWORD sipPanel = 0x100;
constexpr DWORD sipStatusBar = 0x200;
constexpr DWORD sipPlaceMask = 0xF00;
// The record DrawImageByTheme hands to the theme for flags.
TSkinItemInfo ImageInfoForFlags(DWORD Flags, TCustomImageList* ImageList);
// Draws an image of a list as the theme draws an item's image.
void DrawImageByTheme(TCanvas* Canvas, const TRect& ARect, TCustomImageList* ImageList,
                      int ImageIndex, DWORD Flags);

// --- Themed popups -----------------------------------------------------------------

// The view of a themed popup: its window is its owner, so that it can be
// asked its view type.
class TSkinPopupView : public TBarPopupView
{
public:
    TSkinPopupView(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* ParentItem,
                   TWinControl* Window, bool Customizing);
};

// A popup with the theme's frame (left open where it joins its opener),
// background and scroll arrows. It answers its view type, follows theme
// changes, animates as the program's menu animation says, and casts the
// theme's drop shadow: the window class's (kind 1) or shadow windows made
// once it shows (kinds 2 and 3). List popups never cast one.
class TSkinPopupWindow : public TBarPopupWindow
{
public:
    TSkinPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                     bool Customizing);
    ~TSkinPopupWindow() override;

    // The shadow windows (null when none).
    TShadows* Shadow() const { return FShadow; }
    // The popup's view type: a list's popup when its item's only child is a
    // list, else a popup menu.
    virtual DWORD ViewKind();
    // The rectangle of what opened the popup, in screen coordinates: a
    // toolbar button, or the rectangle a menu was shown at; empty for
    // anything else.
    TRect OpenerScreenRect();

    virtual void AddDropShadow();
    virtual void RemoveDropShadow();
    virtual bool ShadowPossible();

    void WndProc(TMessage& message) override;
    void DrawScrollArrows() override;
    // The theme's border for the view type.
    SIZE FrameSize() override;

protected:
    // For a derived window whose view is of a class of its own.
    TSkinPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                     bool Customizing, TBarPopupViewClass ViewClass);
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DrawFrame(HDC dc) override;

private:
    // The item's rectangle, for a popup opened by a toolbar button.
    TRect ToolbarOpenerScreenRect();
    void ShowWindowAnimated();
    void EraseBackground(TMessage& message);
    void HintOfItemUnderMouse(TMessage& message);
    void ThemeChanged(WPARAM step);
    void TakeThemeColor();

    TShadows* FShadow = nullptr; // owned while shown
};

class TSkinChevronPopupWindow : public TSkinPopupWindow
{
public:
    using TSkinPopupWindow::TSkinPopupWindow;
    DWORD ViewKind() override { return vkChevronPopup; }
};

// Where a popup of size goes when it opens at a rectangle (screen
// coordinates): at the rectangle's bottom-left corner, or above the
// rectangle when it would pass the monitor's bottom and fits above; its
// right edge on the rectangle's for right alignment; kept inside the
// monitor rectangle.
TPoint PopupPositionAtRect(const TRect& At, SIZE Size, const TRect& Monitor, bool RightAligned);

// The root of a themed popup menu: it keeps the rectangle the menu is
// shown at and places the menu there.
class TSkinRootItem : public TBarRootItem
{
public:
    using TBarRootItem::TBarRootItem;

    // Screen coordinates; the next popups open at it until cleared.
    const TRect& PopupRect() const { return FPopupRect; }
    bool HasPopupRect() const { return FHasPopupRect; }
    void SetPopupRect(const TRect& value);
    void ClearPopupRect() { FHasPopupRect = false; }

    TBarPopupWindowClass PopupClassForItem() override;
    void PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                          TBarPopupPositionRec& Rec) override;

private:
    TRect FPopupRect;
    bool FHasPopupRect = false;
};

class TSkinPopupMenu : public TBarPopupMenu
{
public:
    explicit TSkinPopupMenu(TComponent* AOwner);

    TSkinRootItem* SkinItems() const { return static_cast<TSkinRootItem*>(Items()); }
    // Opens the menu below ARect (screen coordinates), runs the menu loop,
    // and answers the chosen item (null when cancelled); its click runs
    // once the menu is gone.
    TBarCustomItem* ShowPopupAt(const TRect& ARect);

protected:
    // For derived menus with a root of their own class (owned from here on).
    TSkinPopupMenu(TComponent* AOwner, TSkinRootItem* root);
};

// --- Themed docks, toolbars, tool windows and floating frames ----------------------

// Whether a toolbar's items paint opaque (view type bit vkOpaque).
enum class TSkinItemTransparency : BYTE
{
    itAuto = 0, // opaque only on a toolbar neither floating nor docked
    itEnable = 1,
    itDisable = 2,
};

// Paints what lies under control into dc (control's client coordinates)
// over r: the parent's own background when it erases into the DC, else a
// dock's background, the parent's colour, or its visual-style tab page.
void PaintParentUnder(TControl* Control, HDC DC, const TRect& R);
// Whether a WM_ERASEBKGND that Control gets asks for its background on
// another surface (a child's DC, through PaintParentUnder) rather than
// erasing before Control's own paint: its window's DC, or a buffer or
// picture that the class library passes in LParam as well. A control that
// paints its background in Paint answers the first by painting it there.
bool ErasesForAnother(TWinControl* Control, const TMessage& Erase);

// The top-left corner of a window of the size of window after it snaps to
// the edges of workArea it lies less than distance pixels from (the right
// and bottom edges first, so that left and top win when both apply).
TPoint SnapToWorkArea(const TRect& Window, const TRect& WorkArea, int Distance);

// A dock whose background the theme (or its parent) can paint; without a
// Color of its own it shows its parent's.
class TSkinDock : public TBarDock
{
public:
    explicit TSkinDock(TComponent* AOwner);
    ~TSkinDock() override;

    // Shows the parent's background behind the windows on the dock.
    bool UseParentBackground() const { return FUseParentBackground; }
    void SetUseParentBackground(bool value);
    // No background and no colour of its own, and the theme paints docks.
    virtual bool ThemePaintsBack();

    bool HasBackdrop() override;
    void DrawBackground(HDC DC, const TRect& DrawRect) override;
    void WndProc(TMessage& message) override;

private:
    void EraseBackground(TMessage& message);
    TColor SkinColor();

    bool FUseParentBackground = false;
};

// What a themed toolbar and tool window share (Base is the framework's
// class): they answer their view type and effective colour, let the theme
// paint their docked frame, float in a themed frame that snaps to the work
// area, pass their colour to their children and follow theme changes.
// Without a Color of their own (the default) they take their parent's when
// they stand on a form or panel, else the theme's.
template <class Base> class TSkinDockableWindow : public Base
{
public:
    explicit TSkinDockableWindow(TComponent* AOwner);
    ~TSkinDockableWindow() override;

    // Pixels from a work-area edge at which the floating frame snaps to it;
    // 0: never.
    int SnapDistance() const { return FSnapDistance; }
    void SetSnapDistance(int value) { FSnapDistance = value; }

    virtual DWORD ViewKind() = 0;
    TColor SkinColor();
    virtual void FillBarInfo(TSkinBarInfo& Info);

    void WndProc(TMessage& message) override;
    void DrawNCArea(bool DrawToDC, HDC DC, HRGN Clip) override;
    TPoint FloatFrameBorder() override;
    TBarFrameClass FrameClass() override;

protected:
    // A step of a theme change (WM_SKIN_THEMECHANGE's WParam); step 3 takes
    // the new theme's frame and passes the colour on.
    virtual void ThemeChanged(WPARAM step);

private:
    int FSnapDistance = 0;
};

extern template class TSkinDockableWindow<TBarCustomToolbar>;
extern template class TSkinDockableWindow<TBarToolWindow>;

class TSkinToolbar : public TSkinDockableWindow<TBarCustomToolbar>
{
public:
    explicit TSkinToolbar(TComponent* AOwner);

    TSkinItemTransparency ItemTransparency() const { return FItemTransparency; }
    void SetItemTransparency(TSkinItemTransparency value);

    DWORD ViewKind() override;
    void WndProc(TMessage& message) override;

protected:
    void ThemeChanged(WPARAM step) override;

private:
    void EraseBackground(TMessage& message);

    TSkinItemTransparency FItemTransparency = TSkinItemTransparency::itAuto;
    bool FThemeUpdate = false; // the view's update begun by a theme change
};

class TSkinToolWindow : public TSkinDockableWindow<TBarToolWindow>
{
public:
    explicit TSkinToolWindow(TComponent* AOwner);

    DWORD ViewKind() override;
    void WndProc(TMessage& message) override;
};

// The floating frame of a themed toolbar or tool window: the theme paints
// it, its close button lights under the mouse, and it snaps to the edges
// of the work area by its window's SnapDistance.
class TSkinFloatingWindowParent : public TBarFloatingWindowParent
{
public:
    using TBarFloatingWindowParent::TBarFloatingWindowParent;

    bool CloseButtonHot() const { return FCloseHot; }
    // What the theme is told of the frame; request: bit 0 the close
    // button is pushed, bit 1 hot, bit 2 only the button is redrawn.
    TSkinFloatFrameInfo MakeFrameInfo(DWORD request);

    void WndProc(TMessage& message) override;

protected:
    void DrawFrame(HDC dc, bool closePushed) override;

private:
    void PaintThemedFrame(HDC dc, DWORD request);
    void TrackCloseHover(const TPoint& screenPoint);
    void SetCloseHot(bool value);
    void Snap(WINDOWPOS& pos);

    bool FCloseHot = false;
};
