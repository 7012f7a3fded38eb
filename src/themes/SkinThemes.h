// The theme interface, the registry of named themes and the theme manager.
//
//   TSkinItemInfo       what a painter tells the theme about one item
//   TSkinBarInfo        a docked toolbar or tool window, for its frame
//   TSkinFloatFrameInfo a floating window's frame, caption and close button
//   TSkinTheme          the interface every theme answers: colours, margins
//                       and metrics, and the painting of every part
//   registry            named theme classes with one shared, counted
//                       instance each (AddThemeClass, AcquireTheme,
//                       ReleaseThemeRef)
//   TSkinThemeManager   watches the system through a hidden window (colours,
//                       settings, visual styles, activation), keeps the cache
//                       the painters read (SkinCache) and tells its listeners
//
// The theme layer and the windows built on it talk by messages dispatched to
// objects, so that any window can be asked: the view type (WM_SKIN_VIEWTYPE),
// the effective colour (WM_SKIN_EFFECTIVECOLOR), a system change
// (WM_SKIN_SYSCHANGE) and a theme change (WM_SKIN_THEMECHANGE, Skin.h).
//
// Everything here belongs to the main thread.
#pragma once

#include "classlib/ControlMessages.h"
#include "classlib/Exceptions.h"
#include "classlib/Object.h"
#include "classlib/Types.h"

#include <uxtheme.h>
#include <vector>
#include <windows.h>

class TApplication;
class TCanvas;
class TCustomImageList;

// --- Messages --------------------------------------------------------------------
// WM_SKIN_VIEWTYPE, WM_SKIN_EFFECTIVECOLOR, WM_SKIN_SYSCHANGE and
// WM_SKIN_THEMECHANGE are the class library's (any control may be sent
// them). A theme when it is made gets WM_SKIN_SYSCHANGE with WParam 1 when
// the application is active, else 0.

// Sends the message to an object: a control through its WindowProc, any
// other object through Dispatch. The message as handled (result 0 unless
// the target answered).
TMessage SendSkinMessage(TObject* target, UINT msg, WPARAM wParam, LPARAM lParam);
// Sends the message to every listener; listeners may join or leave
// meanwhile (one that left is not told, one that joined is not told yet).
void SendSkinMessageToAll(const std::vector<TObject*>& listeners, UINT msg, WPARAM wParam,
                          LPARAM lParam);

// --- View types ----------------------------------------------------------------------

enum TSkinViewKind : DWORD
{
    vkToolbarGroup = 0x1000,
    vkToolbar = 0x1001,
    vkMenuBar = 0x1002,
    vkToolWindow = 0x1004,
    vkFloating = 0x0800,  // or-ed with a toolbar-group type
    vkResizable = 0x0400, // or-ed with a toolbar-group type
    vkOpaque = 0x0200,    // or-ed with a toolbar-group type: items are opaque
    vkPopupGroup = 0x2000,
    vkPopupMenu = 0x2001,
    vkListPopup = 0x2002,
    vkEditPopup = 0x2004,
    vkChevronPopup = 0x2008,
    vkPanel = 0x4000,
    vkStatusBar = 0x10000,
};

// A menu bar's view type, whatever it is or-ed with.
inline bool IsMenuBarView(DWORD viewKindBits)
{
    return (viewKindBits & 0x1007) == vkMenuBar;
}

// The popup kind of a popup-group view type (vkPopupMenu ...), or 0.
inline DWORD PopupKindOf(DWORD viewKindBits)
{
    return (viewKindBits & vkPopupGroup) ? (viewKindBits & 0x200F) : 0;
}

// --- Records the painters fill (zero first) ------------------------------------------

enum TSkinItemOption : DWORD
{
    sioToolbarStyle = 1, // shown as a toolbar button
    sioHasSubmenu = 4,
    sioSplitButton = 8, // the submenu opens by a separate arrow part
    sioDesigning = 16,
    sioAppActive = 32,
    sioRadioItem = 64, // a checked radio item: its mark is a dot
};

// HotState values.
constexpr BYTE kSkinNotHot = 0;
constexpr BYTE kSkinKeyboardHot = 1; // selected by the keyboard (also a hot disabled item)
constexpr BYTE kSkinMouseHot = 2;

// ButtonPartKind values.
constexpr BYTE kSkinPlainButton = 0;
constexpr BYTE kSkinArrowButton = 1; // a button with a built-in arrow
constexpr BYTE kSkinSplitMain = 2;
constexpr BYTE kSkinSplitArrow = 3;

struct TSkinItemInfo
{
    DWORD ViewKindBits;
    DWORD ItemOptions; // TSkinItemOption bits
    BYTE Enabled;
    BYTE Pushed;
    BYTE HotState;
    BYTE Selected; // checked
    BYTE PictureShown;
    int PictureWidth;
    int PictureHeight;
    BYTE InVerticalBar;
    BYTE ButtonPartKind;
    BYTE PopupOpen;
    int ImageColumnWidth; // of popup menus
};

// Hot: (enabled and HotState is not 0) or (disabled and keyboard-hot).
bool ItemIsHot(const TSkinItemInfo& info);

// Close-button state bits of the bar and floating-frame records.
enum TSkinCloseButtonState : DWORD
{
    scbShown = 1,
    scbHot = 2,
    scbPushed = 4,
};

// Drag-handle styles, numbered as the dockable windows number theirs.
constexpr int kDragHandleDouble = 0;
constexpr int kDragHandleNone = 1;
constexpr int kDragHandleSingle = 2;

// A docked toolbar or tool window, for the painting of its non-client area.
struct TSkinBarInfo
{
    HWND Window;
    DWORD ViewKindBits;
    BYTE DockedVertically;
    BYTE AllowDrag;   // the dock's
    BYTE BorderStyle; // 0 none, 1 single
    SIZE BorderSize;  // the theme's ViewEdgeWidth for the view type
    int ClientWidth;
    int ClientHeight;
    int DragHandleStyle;    // kDragHandle...
    DWORD CloseButtonState; // TSkinCloseButtonState bits
    TColor EffectiveColor;
};

// Parts of a floating frame to draw.
enum TSkinFramePart : DWORD
{
    sfpFrame = 1,
    sfpCaption = 2,
    sfpCloseButton = 4,
};

// A floating window's frame (or a dockable panel's).
struct TSkinFloatFrameInfo
{
    HWND FrameWindow;    // the floating parent
    HWND DockableWindow; // the window it holds
    DWORD ViewKindBits;
    SIZE BorderSize;
    int CaptionHeight; // pixels; the caption bar's height (SM_CYSMCAPTION - 1)
    BYTE CaptionShown;
    BYTE Active;
    DWORD CloseButtonState; // TSkinCloseButtonState bits
    DWORD RedrawParts;      // TSkinFramePart bits
    WideString Caption;
    TColor EffectiveColor;
};

// The caption bar of a floating frame whose window rectangle (in its own
// coordinates) is r: the width inside the border by captionHeight at the
// top; when the close button shows, the caption ends before it.
TRect FloatingCaptionRect(const TRect& r, SIZE borderSize, int captionHeight,
                          bool closeButtonShown);
// The close button: a square of the caption height at the caption bar's
// right end.
TRect FloatingCloseButtonRect(const TRect& r, SIZE borderSize, int captionHeight);

// Margins as four integers.
struct TSkinMargins
{
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
    bool operator==(const TSkinMargins& o) const
    {
        return Left == o.Left && Right == o.Right && Top == o.Top && Bottom == o.Bottom;
    }
};

// Edit buttons: one drop-down button or the two halves of a spin.
enum class TSkinEditButtonKind
{
    DropDown,
    Spin,
};
// Flags of one edit button.
enum TSkinEditButtonFlag : DWORD
{
    sebDisabled = 1,
    sebHot = 2,
    sebPushed = 4,
};
struct TSkinEditButtonsInfo
{
    TSkinEditButtonKind Kind = TSkinEditButtonKind::DropDown;
    DWORD Flags[2] = {0, 0}; // the drop-down button, or the upper and lower halves
};

// MDI caption buttons of a menu bar.
enum class TSkinChildButton
{
    Minimize,
    Restore,
    Close,
};

// Check controls: the kind and the state bits.
constexpr int kSkinCheckBox = 1;
constexpr int kSkinRadioButton = 2;
enum TSkinCheckState : DWORD
{
    scsChecked = 1,
    scsMixed = 2,
    scsDisabled = 4,
    scsHot = 8,
    scsPushed = 16,
};

// Parts of a status bar.
enum class TSkinStatusPart
{
    Background = 0,
    Pane = 1,
    LastPane = 2,
    SizeGrip = 3,
};

// --- The theme ----------------------------------------------------------------------

// A theme: answers from its arguments only and keeps no state per item.
// Themes hear system changes as WM_SKIN_SYSCHANGE through Dispatch.
class TSkinTheme : public TObject
{
public:
    explicit TSkinTheme(const AnsiString& Name);

    const AnsiString& Name() const { return FName; }
    // Counts up with every theme made in the process: a theme made again
    // may get the old one's address.
    int CreationSerial() const { return FCreationSerial; }

    // Where an item's image moves when the item is pushed or checked.
    virtual TPoint PushedImageShift(const TSkinItemInfo& ItemInfo) = 0;
    virtual TColor ItemFillColor(const TSkinItemInfo& ItemInfo) = 0;
    virtual TColor ItemInkColor(const TSkinItemInfo& ItemInfo) = 0;
    virtual TColor ImageUnderColor(const TSkinItemInfo& ItemInfo) = 0;
    // Margins of kind 1 (caption margins of buttons), 2 (menu items) or 3
    // (status-bar panes).
    virtual void PaddingForPart(int Kind, TSkinMargins& Margins) = 0;
    // 0 none, 1 the window class's drop shadow, 2 and 3 shadow windows.
    virtual int MenuDropShadowStyle() = 0;
    virtual void ViewEdgeWidth(DWORD ViewKindBits, SIZE& Size) = 0;
    virtual TColor ViewFillColor(DWORD ViewKindBits) = 0;
    virtual void ViewPadding(DWORD ViewKindBits, TSkinMargins& Margins) = 0;
    virtual void DrawViewBack(TCanvas* Canvas, const TRect& ARect, const TRect& AClipRect,
                              TColor Color, bool Transparent, DWORD ViewKindBits) = 0;
    virtual void DrawButtonFace(TCanvas* Canvas, const TRect& ARect,
                                const TSkinItemInfo& ItemInfo) = 0;
    // Text in the canvas font; a font colour of clNone takes ItemInkColor.
    virtual void DrawItemText(TCanvas* Canvas, TRect& ARect, const TSkinItemInfo& ItemInfo,
                              const WideString& Text, UINT Format, bool Rotated) = 0;
    virtual void DrawTickGlyph(TCanvas* Canvas, const TRect& ARect,
                               const TSkinItemInfo& ItemInfo) = 0;
    virtual void DrawOverflowArrow(TCanvas* Canvas, const TRect& ARect,
                                   const TSkinItemInfo& ItemInfo) = 0;
    virtual void DrawEditField(TCanvas* Canvas, const TRect& ARect,
                               const TSkinItemInfo& ItemInfo) = 0;
    virtual void DrawEditSpinParts(TCanvas* Canvas, const TRect& ARect,
                                   const TSkinItemInfo& ItemInfo,
                                   const TSkinEditButtonsInfo& Buttons) = 0;
    // DockPosition: top 1, bottom 2, left 3, right 4.
    virtual void DrawDockArea(TCanvas* Canvas, const TRect& ARect, int DockPosition) = 0;
    virtual void DrawDockPanelEdge(TCanvas* Canvas, const TRect& ARect,
                                   const TSkinFloatFrameInfo& FrameInfo) = 0;
    virtual void DrawDropArrow(TCanvas* Canvas, const TRect& ARect,
                               const TSkinItemInfo& ItemInfo) = 0;
    virtual void DrawFloatFrame(TCanvas* Canvas, const TRect& ARect,
                                const TSkinFloatFrameInfo& FrameInfo) = 0;
    virtual void DrawItemEdge(TCanvas* Canvas, const TRect& ARect,
                              const TSkinItemInfo& ItemInfo) = 0;
    virtual void DrawItemPicture(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                                 TCustomImageList* Images, int ImageIndex) = 0;
    virtual void DrawChildWindowButton(TCanvas* Canvas, const TRect& ARect, TSkinChildButton Button,
                                       bool Pushed, bool Hot) = 0;
    virtual void DrawMenuEntry(TCanvas* Canvas, const TRect& ARect,
                               const TSkinItemInfo& ItemInfo) = 0;
    virtual void DrawMenuEntryHot(TCanvas* Canvas, const TRect& ARect,
                                  const TSkinItemInfo& ItemInfo) = 0;
    // Direction: up 0, down 1, left 2, right 3.
    virtual void DrawScrollArrowButton(TCanvas* Canvas, const TRect& ARect, int Direction,
                                       bool Pushed) = 0;
    // ARect: the popup's window rectangle; OpenerRect: the rectangle of the
    // item that opened it, in the same coordinates (empty when none).
    virtual void DrawPopupEdge(TCanvas* Canvas, const TRect& ARect, const TRect& OpenerRect,
                               DWORD ViewKindBits) = 0;
    virtual void DrawDivider(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                             bool Horizontal, bool LineSeparator) = 0;
    virtual void DrawBarEdge(TCanvas* Canvas, const TRect& ARect,
                             const TSkinBarInfo& ToolbarInfo) = 0;
    // Kind kSkinCheckBox or kSkinRadioButton; State TSkinCheckState bits.
    virtual void DrawCheckGlyph(TCanvas* Canvas, const TRect& ARect, DWORD State, int Kind) = 0;
    virtual void DrawStatusPane(TCanvas* Canvas, const TRect& ARect, TSkinStatusPart Part) = 0;
    // -1 when the theme has none.
    virtual int IntegerMetric(int Index) = 0;
    // False when the theme has none.
    virtual bool FlagMetric(int Index) = 0;

private:
    AnsiString FName;
    int FCreationSerial;
};

// A theme class: makes a theme of that class with the registered name.
using TSkinThemeClass = TSkinTheme* (*)(const AnsiString& Name);
template <class T> TSkinTheme* NewSkinTheme(const AnsiString& Name)
{
    return new T(Name);
}

// --- Registry ------------------------------------------------------------------------

// Raises "Cannot register theme" for an empty name or no class, "Theme %s
// is already registered" for a name known in any case.
void AddThemeClass(const AnsiString& Name, TSkinThemeClass ThemeClass);
// The entry's index (names compared without regard to case), or -1.
int ThemeRegistryIndex(const AnsiString& Name);
bool ThemeIsRegistered(const AnsiString& Name);
// The shared instance, made on first use (and sent WM_SKIN_SYSCHANGE);
// counts one reference. Raises "Unknown theme " + name.
TSkinTheme* AcquireTheme(const AnsiString& Name);
// Drops one reference; at none the instance is freed and Theme becomes
// nullptr. Raises "Cannot release theme" (+ " " + name when the count is
// already spent).
void ReleaseThemeRef(TSkinTheme*& Theme);
// The references counted for the named theme (0 when unknown).
int ThemeReferenceCount(const AnsiString& Name);

// --- System state --------------------------------------------------------------------

// The visual-style classes whose handles the manager keeps open.
enum class TSkinStyleClass
{
    Button,
    ScrollBar,
    Rebar,
    Toolbar,
    Window,
    ComboBox,
    ExplorerBar,
    Status,
    Spin,
    Count
};

// What the manager read of the system at its last refresh.
struct TSkinSystemCache
{
    bool LowColor = false;          // under 12 bits per pixel
    bool ButtonFaceIsWhite = false; // the button face is exactly white
    bool LowColorOrWhiteFace = false;
    bool VisualStylesActive = false;
    HTHEME Styles[static_cast<int>(TSkinStyleClass::Count)] = {};
    TColor MenuBarColor = clBtnFace;
    TColor MenuBarTextColor = clBtnText;
    bool FlatMenusActive = false;
    TColor PopupMenuColor = clMenu;
    TColor PopupMenuTextColor = clMenuText;

    HTHEME Style(TSkinStyleClass c) const { return Styles[static_cast<int>(c)]; }
};

const TSkinSystemCache& SkinCache();
// The open visual-style handle of a class while visual styles are active;
// nullptr otherwise (painters then draw classic).
HTHEME ActiveStyle(TSkinStyleClass c);
// Visual-style colour properties: fill and text.
constexpr int kSkinFillColorProperty = 3802;
constexpr int kSkinTextColorProperty = 3803;
// A colour property (part 0, state 0) of an active style; false, leaving
// color alone, when the style is not active or the call fails.
bool StyleColor(TSkinStyleClass c, int property, TColor& color);

// Flat-menu styles (system parameter 1).
constexpr int kFlatMenusFollowSystem = 0;
constexpr int kFlatMenusNever = 1;
constexpr int kFlatMenusAlways = 2;

struct TSkinPopupMenuLook
{
    bool FlatMenusActive;
    TColor PopupMenuColor;
    TColor PopupMenuTextColor;
};

// The popup menus' look for a flat-menu style, whether the system's menus
// are flat, and the menu bar's colours.
TSkinPopupMenuLook ResolvePopupMenuLook(int flatMenuStyle, bool systemFlatMenus,
                                        TColor menuBarColor, TColor menuBarTextColor);

// --- The manager ---------------------------------------------------------------------

class TSkinThemeManager : public TObject
{
public:
    TSkinThemeManager();
    ~TSkinThemeManager() override;

    bool UseVisualStyles() const { return FUseVisualStyles; }
    int FlatMenuStyle() const { return FFlatMenuStyle; }
    HWND Window() const { return FWindow; }

    // Reads the system again (the cache).
    void Refresh();
    // Refreshes, then (when anyone listens) sends WM_SKIN_SYSCHANGE 1, 2, 3.
    void RefreshAndTell();
    void Listen(TObject* listener);
    void Unlisten(TObject* listener);
    // Sends WM_SKIN_SYSCHANGE with wParam to every listener; listeners may
    // join or leave meanwhile (one that left is not told).
    void Broadcast(WPARAM wParam);

    void SetUseVisualStyles(bool value) { FUseVisualStyles = value; }
    void SetFlatMenuStyle(int value) { FFlatMenuStyle = value; }

private:
    void WindowMethod(TMessage& message);
    void ApplicationMessage(TMessage& message, bool& handled);
    void SystemMessage(const TMessage& message);
    void CloseStyles();
    void OpenStyles();

    bool FUseVisualStyles = true;
    int FFlatMenuStyle = kFlatMenusFollowSystem;
    std::vector<TObject*> FListeners; // not owned
    HWND FWindow = nullptr;           // owned: the hidden window hearing the system
    // Not owned: the application whose window hears the system's broadcasts
    // for FWindow (then a message-only window); null when FWindow hears them.
    TApplication* FHearingApplication = nullptr;
};

// The manager (nullptr outside StartSkinThemes .. StopSkinThemes).
TSkinThemeManager* SkinThemeManager();

void StartSkinThemes();
void StopSkinThemes();

void ListenSystemChanges(TObject* Obj);
void UnlistenSystemChanges(TObject* Obj);
// Parameter 1: the flat-menu style (kFlatMenus...); parameter 2: visual
// styles, 0 enabled, 2 disabled. A different value refreshes and tells the
// listeners. Other parameters: Set ignores them, Get answers -1.
void SetSkinSysParam(int Param, int Value);
int ThemeSystemParam(int Param);
