// Controls: the visual components, windowed or drawn on their parent.
//
//   TControl            bounds, alignment, anchors, constraints, visibility,
//                       enabled state, colour (clNone takes the parent's),
//                       font, cursor, text, hint, popup menu, action link,
//                       mouse events, and the WindowProc chain every message
//                       of the control runs through
//   TGraphicControl     a control without a window of its own: it paints on
//                       its parent's window, which routes mouse messages and
//                       mouse enter/leave to it
//   TControlCanvas      a canvas on a control's window (or its part of the
//                       parent's window for a graphic control)
//   TSizeConstraints    minimum and maximum width and height
//   TControlActionLink  copies an action's caption, enabled state, hint and
//                       visibility to a control while they are linked
//
// Messages reach a control through WindowProc (replaceable: a layer may hook
// it and call the previous value), which is WndProc unless replaced. Classes
// override WndProc with a switch and hand what they do not handle to the
// base; at the bottom DefaultHandler passes it to the window's default
// procedure (TWinControl) or drops it.
#pragma once

#include "Actions.h"
#include "ControlMessages.h"
#include "Graphics.h"
#include "HiddenWindow.h"
#include "ShortCut.h"
#include "WindowProcedure.h"

#include <optional>
#include <windows.h>

class TWinControl;
class TCustomForm;
class TPopupMenuBase;
class TDragObject;
class TControl;

enum class TAlign
{
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient,
    alCustom
};

enum TAnchorKind : unsigned
{
    akLeft = 1,
    akTop = 2,
    akRight = 4,
    akBottom = 8
};
using TAnchors = unsigned;

enum class TMouseButton
{
    mbLeft,
    mbRight,
    mbMiddle
};

enum class TAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter
};

enum class TDragMode
{
    dmManual,
    dmAutomatic
};
enum class TDragState
{
    dsDragEnter,
    dsDragLeave,
    dsDragMove
};

// A cursor number: an index into Screen's cursor table. The program adds
// its own cursors under numbers of its choice.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// What a control class is (set by its constructor).
enum TControlStyleFlag : unsigned
{
    csAcceptsControls = 0x0001, // may parent other controls
    csCaptureMouse = 0x0002,    // captures the mouse while a button is down
    csClickEvents = 0x0004,     // a press and release inside is a click
    csFramed = 0x0008,
    csSetCaption = 0x0010,   // the name becomes the caption when none is set
    csOpaque = 0x0020,       // paints its whole rectangle
    csDoubleClicks = 0x0040, // wants double-click messages
    csFixedWidth = 0x0080,
    csFixedHeight = 0x0100,
    csNoStdEvents = 0x0200,
    csActionClient = 0x0400, // shows an action
    csMenuEvents = 0x0800,   // takes menu commands of its own
    csParentBackground = 0x1000,
    csReflector = 0x2000,
};
using TControlStyle = unsigned;

// What a control is doing now.
enum TControlStateFlag : unsigned
{
    csLButtonDown = 0x0001,
    csClicked = 0x0002,         // pressed, waiting for the release
    csAlignmentNeeded = 0x0004, // a realign was asked while alignment was off
    csFocusing = 0x0008,
    csCreating = 0x0010,    // its window is being created
    csCustomPaint = 0x0020, // paints itself (not the system class)
    csDestroyingHandle = 0x0040,
    csAligning = 0x0080, // being placed by its parent's alignment
    csRecreating = 0x0100,
};
using TControlState = unsigned;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
// Sender, Shift, WheelDelta, MousePos (screen), Handled.
using TMouseWheelEvent = TEvent<TObject*, TShiftState, int, TPoint, bool&>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TCanResizeEvent = TEvent<TObject*, int&, int&, bool&>;
// Sender, MousePos (client; -1,-1 from the keyboard), Handled.
using TContextPopupEvent = TEvent<TObject*, TPoint, bool&>;
// Sender, Source, X, Y, State, Accept.
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
// Sender, Target (nullptr when cancelled), X, Y.
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;
using TStartDragEvent = TEvent<TObject*, TDragObject*&>;

class TSizeConstraints : public TPersistent
{
public:
    explicit TSizeConstraints(TControl* control) : FControl(control) {}
    void Assign(TPersistent* Source) override;

    // 0 means no limit.
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int value);
    void SetMinHeight(int value);
    void SetMaxWidth(int value);
    void SetMaxHeight(int value);

    // Clamps a size to the limits.
    void Apply(int& width, int& height) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    TControl* FControl; // not owned: the control these limit
    int FMinWidth = 0;
    int FMinHeight = 0;
    int FMaxWidth = 0;
    int FMaxHeight = 0;
};

class TControlCanvas : public TCanvas
{
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* value);
    // Gives back a device context the canvas fetched for itself.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;            // not owned
    std::optional<TScreenDC> FDeviceContext; // fetched by CreateHandle; released by FreeHandle
};

// Lends a device context to a canvas for a scope (a paint, a custom-draw
// stage); a control canvas first gives back a context it fetched itself.
class TCanvasDCScope
{
public:
    TCanvasDCScope(TCanvas* canvas, HDC dc);
    ~TCanvasDCScope();
    TCanvasDCScope(const TCanvasDCScope&) = delete;
    TCanvasDCScope& operator=(const TCanvasDCScope&) = delete;

private:
    TCanvas* FCanvas; // not owned
};

class TControlActionLink
    : public TClientActionLink<TControl, lpCaption | lpEnabled | lpHint | lpVisible>
{
public:
    using TClientActionLink::TClientActionLink;

    bool IsOnExecuteLinked() override;
};

class TControl : public TComponent
{
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // --- Parent and bounds (pixels, in the parent's client coordinates;
    // screen coordinates for a form)
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* value);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    // Clamps the size to the constraints (and OnCanResize), moves the
    // control, and asks the parent to realign.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Width(); }
    int ClientHeight() { return ClientRect().Height(); }
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    // The screen position of the client area's top left.
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(const TPoint& point);
    TPoint ScreenToClient(const TPoint& point);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return FConstraints; }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool value);

    // --- State and appearance
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a shown window.
    virtual bool Showing();
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    // The colour painted: Color, or for clNone the parent's effective colour.
    TColor EffectiveColor() const;
    TFont* Font() const { return FFont; }
    void SetFont(TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // Caption and Text are the same string; for a windowed control with a
    // window, the window holds it.
    AnsiString Text();
    void SetText(const AnsiString& value);
    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& value) { SetText(value); }
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TPopupMenuBase* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenuBase* value);
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TControlActionLink* ActionLink() const { return FActionLink; }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }

    // --- Messages
    const TWndMethod& WindowProc() const { return FWindowProc; }
    void SetWindowProc(const TWndMethod& value) { FWindowProc = value; }
    // Sends a message through WindowProc at once.
    LRESULT Perform(UINT msg, WPARAM wp, LPARAM lp);
    // The message handling of this class (the default WindowProc).
    virtual void WndProc(TMessage& message);

    // --- Painting and order
    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // --- Mouse and dragging
    bool MouseCapture();
    void SetMouseCapture(bool value);
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor value) { FDragCursor = value; }
    // Starts dragging this control: at once, or once the mouse has moved
    // Threshold pixels (-1: the system's drag distance).
    void BeginDrag(bool Immediate, int Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;

    // Updates the linked action (the idle loop calls it).
    virtual void InitiateAction();
    // The device context a canvas on this control draws into; released
    // with ReleaseDC on window.
    virtual HDC GetDeviceContext(HWND& window);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TCanResizeEvent OnCanResize;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

    // Called by the drag manager.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);

protected:
    friend class TWinControl;

    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The wheel: OnMouseWheel; true when handled.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual void Resize();
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    // The size AutoSize asks for; false keeps the current size.
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    virtual void AdjustSize();
    virtual void ConstrainedResize(int& width, int& height);
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    virtual TControlActionLink* CreateActionLink();
    void DoActionChange(TObject* Sender);
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Sets the fields without moving anything (a window reports its bounds).
    void UpdateBoundsRect(const TRect& r);
    // Asks the parent to realign when this control takes part in alignment.
    void RequestAlign();
    // Remembers the bounds and the parent's client size that anchors keep.
    void UpdateAnchorRules();
    // Clamps a new size (constraints, OnCanResize); false refuses it.
    bool CheckNewSize(int& width, int& height);
    // Invalidates this control's part of its parent (graphic controls).
    void InvalidateControl(bool isVisible, bool isOpaque);
    virtual void SetZOrder(bool topMost);
    virtual void VisibleChanging() {}
    virtual void FontChanged(TObject* Sender);
    virtual void SetParentComponent(TWinControl* value) { SetParent(value); }

    AnsiString FText; // the text while no window holds it

private:
    void WMButtonDown(TMessage& m, TMouseButton button);
    void WMButtonDblClk(TMessage& m, TMouseButton button);
    void WMButtonUp(TMessage& m, TMouseButton button);
    void WMMouseMove(TMessage& m);
    void WMMouseWheel(TMessage& m);
    void WMContextMenu(TMessage& m);
    void WMTextMessage(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMParentFontChanged(TMessage& m);
    void CMParentShowHintChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);

    TWinControl* FParent = nullptr; // not owned; the parent lists this control
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    TAnchors FAnchors = akLeft | akTop;
    TRect FAnchorBounds;      // bounds when the anchors were last taken
    TPoint FAnchorParentSize; // the parent's client size then
    bool FAnchorRulesValid = false;
    TSizeConstraints* FConstraints; // owned
    bool FAutoSize = false;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TFont* FFont; // owned
    bool FParentFont = true;
    bool FTakingParentFont = false; // FontChanged keeps ParentFont then
    TCursor FCursor = crDefault;
    AnsiString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenuBase* FPopupMenu = nullptr;      // not owned; free-notified
    TControlActionLink* FActionLink = nullptr; // owned
    TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState FControlState = 0;
    TDragMode FDragMode = TDragMode::dmManual;
    TCursor FDragCursor = crDrag;
    TWndMethod FWindowProc;
};

class TGraphicControl : public TControl
{
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return FCanvas; }
    void WndProc(TMessage& message) override;

protected:
    // Paints on Canvas, whose origin is this control's top left.
    virtual void Paint() {}

private:
    TControlCanvas* FCanvas; // owned
};

// The topmost form above control (or the control itself when a form).
TCustomForm* GetParentForm(TControl* control);
// The control (windowed or graphic) at a screen point, or nullptr.
TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled);
// The control under the mouse as the last mouse move saw it; windows set it
// from their mouse moves (CM_MOUSELEAVE to the old one, CM_MOUSEENTER to
// the new one).
TControl* MouseControl();
void SetMouseControl(TControl* control);
// The control that has the mouse captured (a graphic control's parent
// window holds the system capture for it).
TControl* CaptureControl();
void SetCaptureControl(TControl* control);
// Forgets a control that goes away (mouse, capture).
void ControlGone(TControl* control);
