// Windowed controls.
//
//   TCreateParams    what CreateParams fills for the window's creation: the
//                    window class record, its name, styles, bounds, parent
//   TWinControl      a control with a window: creation through the virtual
//                    CreateParams and CreateWindowHandle, the one static
//                    window procedure of the library, reflection of the
//                    parent's notifications (CN_*), child controls with
//                    alignment, tab order and focus, keyboard routing,
//                    double buffering, parent changes that keep the window
//   TCustomControl   a windowed control that paints itself on Canvas
//
// Window creation: CreateWnd asks CreateParams, registers the class (a
// system class is copied under the control's class name with the library's
// initial window procedure, the system procedure becoming DefWndProc), marks
// the control as being created (CreationControl) and calls
// CreateWindowHandle. The initial procedure takes the control being created
// at the window's first message, stores the handle, sets the two lookup
// properties (WindowAtom, ControlAtom) and installs the standard window
// procedure, which finds the control through ControlAtom and calls its
// MainWndProc. Every exception a handler raises stops there and reaches
// Application->HandleException.
#pragma once

#include "Control.h"
#include "WindowProcedure.h"

#include <vector>

struct TCreateParams
{
    AnsiString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr; // not owned
    void* Param = nullptr;
    WNDCLASSA WindowClass = {}; // lpszClassName and hInstance are set on registration
    AnsiString WinClassName;    // the registered name ("TButton")
    // The system class this control's class copies ("BUTTON"), or empty.
    AnsiString SubClassOf;
};

class TWinControl : public TControl
{
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // --- The window
    // Creates the window (and its parents') when none exists yet.
    HWND Handle();
    HWND WindowHandle() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    // Whether the control can have its window now: its outermost parent has
    // one, or is a form (whose window can be made at any time), and nothing
    // on the way is being destroyed.
    bool CanMakeWindow() const;
    // For layers that create the window themselves (see CreationControl).
    void SetWindowHandle(HWND value) { FHandle = value; }
    // The procedure that handles what the control leaves to the default.
    WNDPROC DefWndProc() const { return FDefWndProc; }
    void SetDefWndProc(WNDPROC value) { FDefWndProc = value; }
    // Destroys the window and makes a new one with the current properties
    // (keeping what the window held: text, items, focus).
    void RecreateWnd();
    void DestroyHandle();
    // A window outside the library that parents this control's window.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND value);
    void SetParent(TWinControl* value) override;
    // Runs the message through WindowProc, catching every exception.
    void MainWndProc(TMessage& message);
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    // --- Children
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(index); }
    bool ContainsControl(const TControl* control) const;
    // The topmost enabled (or any, with allowDisabled) visible graphic child
    // at a client point; windowed children too with allowWinControls.
    TControl* ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls = false);
    // Sends the message to every child until one answers non-zero.
    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg);

    // --- Alignment
    void DisableAlign();
    void EnableAlign();
    bool AlignDisabled() const { return FAlignLevel > 0; }
    void Realign();
    // Realigns because control changed (nullptr: the client area changed).
    void AlignControl(TControl* control);

    // --- Focus and tab order
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    // The position among the parent's windowed children in tab order.
    int TabOrder() const;
    void SetTabOrder(int value);
    // Every windowed child, depth first, in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& list);
    virtual bool CanFocus();
    bool Focused() const;
    virtual void SetFocus();
    // Where the focus goes when the program, not a key or a click, places it
    // on this control: this control; a radio button answers the checked one
    // of its group, as the system's dialog manager does, because a radio
    // button checks itself when it takes the focus and the stored choice
    // must survive.
    virtual TWinControl* FocusTarget() { return this; }
    // The control the program focuses when it moves the focus into this
    // one: the first tab stop that can take it, as its FocusTarget; null
    // when there is none.
    TWinControl* FirstFocusTarget();
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // --- Appearance
    TBrush* Brush() const { return FBrush; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    virtual void SetDoubleBuffered(bool value);
    bool Showing() override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Invalidate() override;
    void Update() override;
    // Paints now whatever of this window and the windows inside it waits to
    // be painted, frames included, handling no other message (Update paints
    // this window's client area only).
    void UpdateWithChildren();
    HDC GetDeviceContext(HWND& window) override;
    // Paints this window and its children into dc (at the origin).
    void PaintTo(HDC dc, int x, int y);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Adds or removes a child (SetParent calls these).
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void MoveControlInZOrder(TControl* control, bool topMost);

protected:
    // --- Creation
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // Saves what the window holds, then destroys it.
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    // Creates the window and then the windows of its visible children; a
    // hidden child gets its window when it is shown or its handle is asked
    // for, in its place among its siblings.
    virtual void CreateHandle();
    // Stores a property that the window's styles carry and recreates the
    // window (when there is one) to apply it.
    template <class T> void SetWindowStyleProperty(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (FHandle)
            RecreateWnd();
    }
    // Copies the system class into params (SubClassOf).
    void CreateSubClass(TCreateParams& params, const char* systemClassName);
    void UpdateShowing();
    // A window made after a later sibling's: moved to its place in the
    // children's order, as if made in the parent's pass.
    void TakePlaceAmongSiblings();

    // --- Alignment
    virtual void AlignControls(TControl* control, TRect& rect);
    // The part of the client area that alignment fills.
    virtual void AdjustClientRect(TRect& rect);
    void ApplyAnchors(TControl* control, const TRect& clientRect);

    // --- Painting
    virtual void PaintWindow(HDC dc);
    void PaintHandler(TMessage& message);
    void PaintControls(HDC dc, TControl* first);
    bool PaintsItself() const;

    // --- Keyboard
    virtual void DoEnter();
    virtual void DoExit();
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    // True when the key (or the form's preview of it) was swallowed.
    bool DoKeyDown(TMessage& message);
    bool DoKeyUp(TMessage& message);
    bool DoKeyPress(TMessage& message);
    // The mask of WM_GETDLGCODE that says the control wants this key.
    static UINT DialogCodeFor(WORD key);

    void SetZOrder(bool topMost) override;

    std::vector<TControl*> FControls;   // not owned: every child, in z-order (last on top)
    std::vector<TWinControl*> FTabList; // not owned: windowed children in tab order

private:
    void WMPaint(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMSize(TMessage& m);
    void WMWindowPosChanged(TMessage& m);
    void WMSetCursor(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMCommand(TMessage& m);
    void WMNotify(TMessage& m);
    void WMCtlColor(TMessage& m);
    void WMDrawItem(TMessage& m);
    void WMMeasureItem(TMessage& m);
    void WMScroll(TMessage& m);
    void WMContextMenu(TMessage& m);
    void WMMouseLeave(TMessage& m);
    void WMNCDestroy(TMessage& m);
    void CNKeyDown(TMessage& m);
    void CNChar(TMessage& m);
    void CNCtlColor(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void CMDialogKey(TMessage& m);
    bool IsControlMouseMsg(TMessage& m);
    bool IsMenuKey(TMessage& m);
    void DoubleBufferedPaint(TMessage& m);
    void UpdateBoundsFromWindow();
    void ReflectTo(HWND child, UINT reflected, TMessage& m);
    bool HasVisibleGraphicChildren() const;
    void TrackMouseLeave();

    HWND FHandle = nullptr;        // owned: destroyed with the control
    HWND FParentWindow = nullptr;  // not owned
    WNDPROC FDefWndProc = nullptr; // the class's own procedure (DefWindowProc for ours)
    TBrush* FBrush;                // owned: the background, in EffectiveColor
    int FAlignLevel = 0;           // DisableAlign nesting
    bool FAligning = false;        // AlignControls is running
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FSystemClass = false; // the window class copies a system class
};

class TCustomControl : public TWinControl
{
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    void DestroyWnd() override;

private:
    TControlCanvas* FCanvas; // owned
};

// A control of a window built in code: made for owner (which frees it),
// named, and placed inside parent.
template <class T> T* MakeChildControl(TComponent* owner, TWinControl* parent, const char* name)
{
    T* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    return control;
}
