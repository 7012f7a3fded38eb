#include "Control.h"

#include "Application.h"
#include "DragManager.h"
#include "Exceptions.h"
#include "Form.h"
#include "Menu.h"
#include "ScopeExit.h"
#include "Seams.h"
#include "WinControl.h"

#include <algorithm>
#include <windowsx.h>

namespace {

TControl* gMouseControl = nullptr;   // not owned; the control under the mouse
TControl* gCaptureControl = nullptr; // not owned; the control holding the capture

} // namespace

TControl* MouseControl()
{
    return gMouseControl;
}

TControl* CaptureControl()
{
    return gCaptureControl;
}

void SetCaptureControl(TControl* control)
{
    if (!control) {
        gCaptureControl = nullptr;
        if (GetCapture())
            ReleaseCapture();
        return;
    }
    auto* windowed = dynamic_cast<TWinControl*>(control);
    TWinControl* holder = windowed ? windowed : control->Parent();
    if (!holder)
        return;
    gCaptureControl = control;
    SetCapture(holder->Handle());
}

void ControlGone(TControl* control)
{
    if (gMouseControl == control)
        gMouseControl = nullptr;
    if (gCaptureControl == control)
        gCaptureControl = nullptr;
    DragManagerControlGone(control);
    if (Application)
        Application->ControlDestroyed(control);
}

// Called by windows when the mouse moves over them: sends CM_MOUSELEAVE to
// the control the mouse left and CM_MOUSEENTER to the one it entered.
void SetMouseControl(TControl* control)
{
    if (control == gMouseControl)
        return;
    TControl* previous = gMouseControl;
    gMouseControl = control;
    if (previous)
        previous->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(previous));
    if (control && gMouseControl == control)
        control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
    if (Application)
        Application->MouseControlChanged(gMouseControl);
}

TCustomForm* GetParentForm(TControl* control)
{
    TControl* top = control;
    while (top && top->Parent())
        top = top->Parent();
    return dynamic_cast<TCustomForm*>(top);
}

TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled)
{
    TWinControl* windowed = FindOwningControl(WindowFromPoint(screenPos));
    if (!windowed)
        return nullptr;
    TControl* graphic = windowed->ControlAtPos(windowed->ScreenToClient(screenPos), allowDisabled);
    return graphic ? graphic : windowed;
}

// ---------------------------------------------------------------------------
// TSizeConstraints

void TSizeConstraints::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TSizeConstraints*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    FMinWidth = other->FMinWidth;
    FMinHeight = other->FMinHeight;
    FMaxWidth = other->FMaxWidth;
    FMaxHeight = other->FMaxHeight;
    Changed();
}

void TSizeConstraints::SetMinWidth(int value)
{
    value = std::max(value, 0);
    if (value == FMinWidth)
        return;
    FMinWidth = value;
    if (FMaxWidth > 0 && FMaxWidth < value)
        FMaxWidth = value;
    Changed();
}

void TSizeConstraints::SetMinHeight(int value)
{
    value = std::max(value, 0);
    if (value == FMinHeight)
        return;
    FMinHeight = value;
    if (FMaxHeight > 0 && FMaxHeight < value)
        FMaxHeight = value;
    Changed();
}

void TSizeConstraints::SetMaxWidth(int value)
{
    value = std::max(value, 0);
    if (value == FMaxWidth)
        return;
    FMaxWidth = value;
    if (value > 0 && FMinWidth > value)
        FMinWidth = value;
    Changed();
}

void TSizeConstraints::SetMaxHeight(int value)
{
    value = std::max(value, 0);
    if (value == FMaxHeight)
        return;
    FMaxHeight = value;
    if (value > 0 && FMinHeight > value)
        FMinHeight = value;
    Changed();
}

void TSizeConstraints::Apply(int& width, int& height) const
{
    if (FMaxWidth > 0 && width > FMaxWidth)
        width = FMaxWidth;
    if (FMinWidth > 0 && width < FMinWidth)
        width = FMinWidth;
    if (FMaxHeight > 0 && height > FMaxHeight)
        height = FMaxHeight;
    if (FMinHeight > 0 && height < FMinHeight)
        height = FMinHeight;
}

void TSizeConstraints::Changed()
{
    if (FControl)
        FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(),
                            FControl->Height());
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* value)
{
    if (value == FControl)
        return;
    FreeHandle();
    FControl = value;
}

void TControlCanvas::CreateHandle()
{
    if (!FControl)
        return;
    HWND window = nullptr;
    HDC dc = FControl->GetDeviceContext(window);
    if (!dc)
        return;
    FDeviceContext.emplace(window, dc);
    SetHandle(dc);
}

void TControlCanvas::FreeHandle()
{
    if (!FDeviceContext)
        return;
    SetHandle(nullptr);
    FDeviceContext.reset();
}

// ---------------------------------------------------------------------------
// TCanvasDCScope

TCanvasDCScope::TCanvasDCScope(TCanvas* canvas, HDC dc) : FCanvas(canvas)
{
    if (auto* controlCanvas = dynamic_cast<TControlCanvas*>(canvas))
        controlCanvas->FreeHandle();
    FCanvas->SetHandle(dc);
}

TCanvasDCScope::~TCanvasDCScope()
{
    FCanvas->SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// TControlActionLink

bool TControlActionLink::IsOnExecuteLinked()
{
    return FAction && (!FClient->OnClick || FClient->OnClick == FAction->OnExecute);
}

// ---------------------------------------------------------------------------
// TControl: life

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    FConstraints = new TSizeConstraints(this);
    FFont = new TFont;
    FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
    FWindowProc = TWndMethod(this, &TControl::WndProc);
}

TControl::~TControl()
{
    ControlGone(this);
    if (FParent)
        SetParent(nullptr);
    delete FActionLink;
    FActionLink = nullptr;
    delete FFont;
    delete FConstraints;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (FActionLink && FActionLink->Action())
        ActionChange(FActionLink->Action(), true);
    if (FAutoSize)
        AdjustSize();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
    if (FActionLink && AComponent == FActionLink->Action())
        SetAction(nullptr);
}

// ---------------------------------------------------------------------------
// TControl: parent and bounds

void TControl::SetParent(TWinControl* value)
{
    if (value == FParent)
        return;
    if (value == this)
        throw EInvalidOperation("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (value) {
        value->InsertControl(this);
        UpdateAnchorRules();
    }
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!CheckNewSize(AWidth, AHeight))
        return;
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    bool resized = AWidth != FWidth || AHeight != FHeight;
    InvalidateControl(Visible(), false);
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (resized)
        Resize();
}

bool TControl::CheckNewSize(int& width, int& height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    int w = width, h = height;
    if (!CanResize(w, h))
        return false;
    ConstrainedResize(w, h);
    width = w;
    height = h;
    return true;
}

bool TControl::CanResize(int& NewWidth, int& NewHeight)
{
    bool allowed = true;
    if (OnCanResize)
        OnCanResize(this, NewWidth, NewHeight, allowed);
    return allowed;
}

void TControl::ConstrainedResize(int& width, int& height)
{
    FConstraints->Apply(width, height);
}

bool TControl::CanAutoSize(int&, int&)
{
    return false;
}

void TControl::SetAutoSize(bool value)
{
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    if (value)
        AdjustSize();
}

void TControl::AdjustSize()
{
    if (!FAutoSize || HasState(csLoading))
        return;
    int w = FWidth, h = FHeight;
    if (CanAutoSize(w, h))
        SetBounds(FLeft, FTop, w, h);
}

void TControl::UpdateBoundsRect(const TRect& r)
{
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.Width();
    FHeight = r.Height();
    UpdateAnchorRules();
}

TRect TControl::ClientRect()
{
    return TRect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int value)
{
    SetBounds(FLeft, FTop, FWidth + value - ClientWidth(), FHeight);
}

void TControl::SetClientHeight(int value)
{
    SetBounds(FLeft, FTop, FWidth, FHeight + value - ClientHeight());
}

TPoint TControl::ClientOrigin()
{
    if (!FParent)
        return TPoint(FLeft, FTop);
    TPoint origin = FParent->ClientOrigin();
    return TPoint(origin.x + FLeft, origin.y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& point)
{
    TPoint origin = ClientOrigin();
    return TPoint(point.x + origin.x, point.y + origin.y);
}

TPoint TControl::ScreenToClient(const TPoint& point)
{
    TPoint origin = ClientOrigin();
    return TPoint(point.x - origin.x, point.y - origin.y);
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign)
        return;
    FAlign = value;
    switch (value) {
    case TAlign::alNone:
        FAnchors = akLeft | akTop;
        break;
    case TAlign::alTop:
        FAnchors = akLeft | akTop | akRight;
        break;
    case TAlign::alBottom:
        FAnchors = akLeft | akRight | akBottom;
        break;
    case TAlign::alLeft:
        FAnchors = akLeft | akTop | akBottom;
        break;
    case TAlign::alRight:
        FAnchors = akRight | akTop | akBottom;
        break;
    case TAlign::alClient:
        FAnchors = akLeft | akTop | akRight | akBottom;
        break;
    default:
        break;
    }
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value)
{
    if (value == FAnchors)
        return;
    FAnchors = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if ((FControlState & csAligning) || !FParent)
        return;
    FAnchorBounds = BoundsRect();
    TRect client = FParent->ClientRect();
    FAnchorParentSize = TPoint(client.Width(), client.Height());
    FAnchorRulesValid = true;
}

void TControl::RequestAlign()
{
    if (FParent && (FAlign != TAlign::alNone || FAnchors != (akLeft | akTop)))
        FParent->AlignControl(this);
}

// ---------------------------------------------------------------------------
// TControl: state and appearance

void TControl::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    VisibleChanging();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
    if (FParent && FAlign != TAlign::alNone)
        FParent->AlignControl(this);
}

bool TControl::Showing()
{
    return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor value)
{
    if (value == FColor && !FParentColor)
        return;
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (value == FParentColor)
        return;
    FParentColor = value;
    if (value && FParent)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

TColor TControl::EffectiveColor() const
{
    const TControl* c = this;
    while (c && c->FColor == clNone)
        c = c->FParent;
    return c ? c->FColor : clBtnFace;
}

void TControl::SetFont(TFont* value)
{
    FFont->Assign(value);
}

void TControl::FontChanged(TObject*)
{
    if (!FTakingParentFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (value && FParent)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

AnsiString TControl::Text()
{
    auto length = static_cast<int>(Perform(WM_GETTEXTLENGTH, 0, 0));
    if (length <= 0)
        return "";
    AnsiString buffer(length + 1, '\0');
    auto copied = static_cast<int>(
        Perform(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(std::clamp(copied, 0, length));
    return buffer;
}

void TControl::SetText(const AnsiString& value)
{
    if (Text() == value)
        return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

// A hint that changes under the mouse (a toolbar's, as the mouse moves from
// button to button) is waited for and shown again.
void TControl::SetHint(const AnsiString& value)
{
    if (value == FHint)
        return;
    FHint = value;
    if (Application)
        Application->ControlHintChanged(this);
}

void TControl::SetShowHint(bool value)
{
    if (value == FShowHint && !FParentShowHint)
        return;
    FShowHint = value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value)
{
    if (value == FParentShowHint)
        return;
    FParentShowHint = value;
    if (value && FParent)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenuBase* value)
{
    ReplaceFreeNotified(this, FPopupMenu, value);
}

TBasicAction* TControl::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* value)
{
    if (!value) {
        if (FActionLink && FActionLink->Action())
            FActionLink->Action()->RemoveFreeNotification(this);
        delete FActionLink;
        FActionLink = nullptr;
        FControlStyle &= ~csActionClient;
        return;
    }
    if (value == Action())
        return;
    if (!FActionLink)
        FActionLink = CreateActionLink();
    else if (FActionLink->Action())
        FActionLink->Action()->RemoveFreeNotification(this);
    FControlStyle |= csActionClient;
    FActionLink->SetAction(value);
    FActionLink->OnChange = TNotifyEvent(this, &TControl::DoActionChange);
    ActionChange(value, HasState(csLoading));
    value->FreeNotification(this);
}

TControlActionLink* TControl::CreateActionLink()
{
    return new TControlActionLink(this);
}

void TControl::DoActionChange(TObject* Sender)
{
    if (FActionLink && Sender == FActionLink->Action())
        ActionChange(Sender, false);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    if (!CheckDefaults || Caption().empty())
        SetCaption(action->Caption());
    if (!CheckDefaults || Enabled())
        SetEnabled(action->Enabled());
    if (!CheckDefaults || Hint().empty())
        SetHint(action->Hint());
    if (!CheckDefaults || Visible())
        SetVisible(action->Visible());
}

void TControl::InitiateAction()
{
    if (FActionLink)
        FActionLink->Update();
}

// ---------------------------------------------------------------------------
// TControl: messages

LRESULT TControl::Perform(UINT msg, WPARAM wp, LPARAM lp)
{
    TMessage message{msg, wp, lp, 0};
    FWindowProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        WMButtonDown(m, TMouseButton::mbLeft);
        return;
    case WM_RBUTTONDOWN:
        WMButtonDown(m, TMouseButton::mbRight);
        return;
    case WM_MBUTTONDOWN:
        WMButtonDown(m, TMouseButton::mbMiddle);
        return;
    case WM_LBUTTONDBLCLK:
        WMButtonDblClk(m, TMouseButton::mbLeft);
        return;
    case WM_RBUTTONDBLCLK:
        WMButtonDblClk(m, TMouseButton::mbRight);
        return;
    case WM_MBUTTONDBLCLK:
        WMButtonDblClk(m, TMouseButton::mbMiddle);
        return;
    case WM_LBUTTONUP:
        WMButtonUp(m, TMouseButton::mbLeft);
        return;
    case WM_RBUTTONUP:
        WMButtonUp(m, TMouseButton::mbRight);
        return;
    case WM_MBUTTONUP:
        WMButtonUp(m, TMouseButton::mbMiddle);
        return;
    case WM_MOUSEMOVE:
        WMMouseMove(m);
        return;
    case WM_MOUSEWHEEL:
        WMMouseWheel(m);
        return;
    case WM_CONTEXTMENU:
        WMContextMenu(m);
        return;
    case WM_CAPTURECHANGED:
        if (gCaptureControl == this)
            gCaptureControl = nullptr;
        break;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT:
        WMTextMessage(m);
        return;
    case CM_MOUSEENTER:
        MouseEnter();
        return;
    case CM_MOUSELEAVE:
        MouseLeave();
        return;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(m);
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        return;
    case CM_TEXTCHANGED:
        if (FAutoSize)
            AdjustSize();
        Invalidate();
        return;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(m);
        return;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(m);
        return;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(m);
        return;
    case CM_HINTSHOW:
        m.Result = 0;
        return;
    }
    Dispatch(m);
}

void TControl::WMTextMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETTEXTLENGTH:
        m.Result = static_cast<LRESULT>(FText.size());
        return;
    case WM_GETTEXT: {
        if (m.WParam == 0) {
            m.Result = 0;
            return;
        }
        size_t n = std::min<size_t>(FText.size(), m.WParam - 1);
        auto* buffer = reinterpret_cast<char*>(m.LParam);
        FText.copy(buffer, n);
        buffer[n] = '\0';
        m.Result = static_cast<LRESULT>(n);
        return;
    }
    case WM_SETTEXT:
        FText = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        m.Result = 1;
        return;
    }
}

void TControl::CMVisibleChanged(TMessage&)
{
    InvalidateControl(true, FVisible && (FControlStyle & csOpaque));
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        FParentColor = true;
        Perform(CM_COLORCHANGED, 0, 0);
    } else if (FColor == clNone) {
        Perform(CM_COLORCHANGED, 0, 0);
    }
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (!FParentFont || !FParent)
        return;
    FTakingParentFont = true;
    TScopeExit taken([this] { FTakingParentFont = false; });
    FFont->Assign(FParent->Font());
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (FParentShowHint && FParent) {
        FShowHint = FParent->ShowHint();
        Perform(CM_SHOWHINTCHANGED, 0, 0);
    }
}

// ---------------------------------------------------------------------------
// TControl: mouse

namespace {

// The button as this thread's input queue has seen it so far: not the
// key-state seam, since the question is which messages a native control
// took from the queue, not what the user holds.
bool LeftButtonHeld()
{
    return (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

} // namespace

void TControl::WMButtonDown(TMessage& m, TMouseButton button)
{
    // A native control that tracks the mouse itself (scroll bar, track bar,
    // header) runs its own loop inside the button-down message and takes the
    // button-up with it: a capture taken afterwards would never be released.
    const bool heldBefore = LeftButtonHeld();
    Dispatch(m);
    const bool releasedInside = heldBefore && !LeftButtonHeld();
    if (button == TMouseButton::mbLeft && !releasedInside) {
        // A drag the control started meanwhile holds the mouse itself.
        if ((FControlStyle & csCaptureMouse) && !Dragging())
            SetMouseCapture(true);
        if (FControlStyle & csClickEvents)
            FControlState |= csClicked;
    }
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    MouseDown(button, MouseShiftState(m.WParam), x, y);
    if (button == TMouseButton::mbLeft && FDragMode == TDragMode::dmAutomatic && !Dragging() &&
        !releasedInside)
        BeginDrag(false);
}

void TControl::WMButtonDblClk(TMessage& m, TMouseButton button)
{
    Dispatch(m);
    if (button == TMouseButton::mbLeft && (FControlStyle & csDoubleClicks))
        DblClick();
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    MouseDown(button, MouseShiftState(m.WParam) | ssDouble, x, y);
}

void TControl::WMButtonUp(TMessage& m, TMouseButton button)
{
    Dispatch(m);
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    if (button == TMouseButton::mbLeft) {
        if ((FControlStyle & csCaptureMouse) && CaptureControl() == this)
            SetMouseCapture(false);
        if (FControlState & csClicked) {
            FControlState &= ~csClicked;
            if (ClientRect().Contains(TPoint(x, y)))
                Click();
        }
    }
    MouseUp(button, MouseShiftState(m.WParam), x, y);
}

void TControl::WMMouseMove(TMessage& m)
{
    Dispatch(m);
    MouseMove(MouseShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::WMMouseWheel(TMessage& m)
{
    // The form gets the first chance (a list view would scroll itself), once:
    // the default procedure passes the wheel on to the parents, which must
    // not offer it to the form again.
    static int forwarding = 0;
    TShiftState shift = MouseShiftState(GET_KEYSTATE_WPARAM(m.WParam));
    int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
    TPoint pos(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    TCustomForm* form = GetParentForm(this);
    bool handled = false;
    if (forwarding == 0 && form)
        handled = form->DoMouseWheel(shift, delta, pos);
    if (!handled && form != this)
        handled = DoMouseWheel(shift, delta, pos);
    if (handled) {
        m.Result = 1;
        return;
    }
    ++forwarding;
    TScopeExit forwarded([] { --forwarding; });
    Dispatch(m);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

void TControl::WMContextMenu(TMessage& m)
{
    TPoint screen(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    bool fromKeyboard = screen.x == -1 && screen.y == -1;
    TPoint local = fromKeyboard ? TPoint(-1, -1) : ScreenToClient(screen);
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, local, handled);
    if (handled) {
        m.Result = 1;
        return;
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        if (fromKeyboard)
            screen = ClientToScreen(TPoint(0, 0));
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(screen.x, screen.y);
        m.Result = 1;
        return;
    }
    Dispatch(m);
}

void TControl::Click()
{
    TBasicAction* action = Action();
    if (FActionLink && action && (!OnClick || OnClick == action->OnExecute))
        FActionLink->Execute(this);
    else if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

bool TControl::MouseCapture()
{
    return CaptureControl() == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture())
        return;
    SetCaptureControl(value ? this : nullptr);
}

// ---------------------------------------------------------------------------
// TControl: dragging

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    if (Threshold < 0)
        Threshold = GetSystemMetrics(SM_CXDRAG);
    DragManagerBegin(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop)
{
    if (Dragging())
        DragManagerEnd(Drop);
}

bool TControl::Dragging() const
{
    return DragManagerSource() == this;
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

// ---------------------------------------------------------------------------
// TControl: painting and order

void TControl::InvalidateControl(bool isVisible, bool isOpaque)
{
    if (!FParent || !FParent->HandleAllocated() || !isVisible ||
        !IsWindowVisible(FParent->WindowHandle()))
        return;
    RECT r = BoundsRect();
    InvalidateRect(FParent->WindowHandle(), &r, !isOpaque);
}

void TControl::Invalidate()
{
    InvalidateControl(FVisible, (FControlStyle & csOpaque) != 0);
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    SetZOrder(true);
}

void TControl::SendToBack()
{
    SetZOrder(false);
}

void TControl::SetZOrder(bool topMost)
{
    if (!FParent)
        return;
    FParent->MoveControlInZOrder(this, topMost);
    Invalidate();
}

HDC TControl::GetDeviceContext(HWND& window)
{
    if (!FParent)
        return nullptr;
    window = FParent->Handle();
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc)
        return nullptr;
    SetViewportOrgEx(dc, FLeft, FTop, nullptr);
    IntersectClipRect(dc, 0, 0, FWidth, FHeight);
    return dc;
}

// ---------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
    FCanvas = new TControlCanvas;
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl()
{
    delete FCanvas;
}

void TGraphicControl::WndProc(TMessage& m)
{
    if (m.Msg == WM_PAINT && m.WParam) {
        TCanvasDCScope paint(FCanvas, reinterpret_cast<HDC>(m.WParam));
        Paint();
        return;
    }
    TControl::WndProc(m);
}
