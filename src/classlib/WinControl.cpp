// The window of a control: its life, creation, message handling and state
// changes. Children and alignment, painting, and focus and keys are in
// WinControlAlign.cpp, WinControlPaint.cpp and WinControlKeys.cpp.
#include "WinControl.h"

#include "WinControlDetail.h"
#include "WindowProcedure.h"

#include "Application.h"
#include "Exceptions.h"
#include "Form.h"
#include "Menu.h"
#include "Screen.h"
#include "ScopeExit.h"
#include "Seams.h"

#include <algorithm>
#include <iterator>
#include <commctrl.h>
#include <cstring>
#include <windowsx.h>

using namespace wincontrol_detail;

// ---------------------------------------------------------------------------
// TWinControl: life

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    FBrush = new TBrush;
    FBrush->SetColor(Color());
}

TWinControl::~TWinControl()
{
    Destroying();
    if (TCustomForm* form = GetParentForm(this))
        form->ControlRemoving(this);
    if (Screen)
        Screen->ControlRemoving(this);
    if (FHandle) {
        HWND window = FHandle;
        DestroyWindow(window);
        FHandle = nullptr;
    }
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        child->BeforeDestruction();
        if (!FControls.empty() && FControls.back() == child) {
            RemoveControl(child);
            delete child;
        }
    }
    delete FBrush;
}

// ---------------------------------------------------------------------------
// TWinControl: window creation

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle() & csAcceptsControls)
        params.Style |= WS_CLIPCHILDREN;
    if (Visible())
        params.Style |= WS_VISIBLE;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (FTabStop)
        params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : FParentWindow;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = DefWindowProcA;
    static const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    params.WindowClass.hCursor = arrow;
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* systemClassName)
{
    WNDCLASSA system = {};
    if (!GetClassInfoA(nullptr, systemClassName, &system) &&
        !GetClassInfoA(GetModuleHandleA(nullptr), systemClassName, &system))
        throw EOSError(AnsiString("The window class ") + systemClassName + " is not registered");
    UINT keep = params.WindowClass.style & CS_DBLCLKS;
    params.WindowClass = system;
    params.WindowClass.style = (system.style & ~CS_GLOBALCLASS) | keep;
    params.SubClassOf = systemClassName;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    FDefWndProc = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefWindowProcA;
    FSystemClass = !params.SubClassOf.empty();
    RegisterControlClass(params);
    TControlState state = ControlState();
    SetControlState(state | csCreating);
    SetCreationControl(this);
    {
        TScopeExit created([this] {
            SetCreationControl(nullptr);
            SetControlState(ControlState() & ~csCreating);
        });
        CreateWindowHandle(params);
    }
    if (!FHandle)
        RaiseLastOSError();
    if (FSystemClass)
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    UpdateBoundsFromWindow();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params)
{
    HWND window =
        CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                        params.Style, params.X, params.Y, params.Width, params.Height,
                        params.WndParent, ChildWindowId(params.Style), GetModuleHandleA(nullptr),
                        params.Param);
    if (window)
        FHandle = window;
}

void TWinControl::CreateHandle()
{
    if (FHandle)
        return;
    // The parent's creation makes its children's windows, this one's too.
    if (Parent() && !Parent()->FHandle) {
        Parent()->CreateHandle();
        if (FHandle)
            return;
    }
    CreateWnd();
    TakePlaceAmongSiblings();
    for (TControl* child : std::vector<TControl*>(FControls)) {
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (!windowed)
            continue;
        if (windowed->FHandle)
            ::SetParent(windowed->FHandle, FHandle);
        else if (windowed->Visible())
            windowed->CreateHandle();
    }
    Realign();
}

void TWinControl::TakePlaceAmongSiblings()
{
    if (!Parent())
        return;
    // The system puts a new child below its siblings; the first made is on
    // top. Only a later sibling's window stands where this one belongs.
    const std::vector<TControl*>& siblings = Parent()->FControls;
    const auto self = std::find(siblings.begin(), siblings.end(), this);
    const bool laterHasWindow = std::any_of(self, siblings.end(), [this](TControl* c) {
        auto* windowed = dynamic_cast<TWinControl*>(c);
        return windowed && windowed != this && windowed->FHandle;
    });
    if (!laterHasWindow)
        return;
    HWND above = HWND_TOP;
    for (auto it = std::make_reverse_iterator(self); it != siblings.rend(); ++it)
        if (auto* windowed = dynamic_cast<TWinControl*>(*it); windowed && windowed->FHandle) {
            above = windowed->FHandle;
            break;
        }
    SetWindowPos(FHandle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TWinControl::CanMakeWindow() const
{
    const TWinControl* outermost = this;
    for (; outermost->Parent(); outermost = outermost->Parent())
        if (outermost->HasState(csDestroying))
            return false;
    if (outermost->HasState(csDestroying))
        return false;
    return outermost->FHandle || outermost->FParentWindow ||
           dynamic_cast<const TCustomForm*>(outermost);
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    for (TControl* child : std::vector<TControl*>(FControls))
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    FText = Text();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
    TStateScope scope(FControlState, csDestroyingHandle);
    if (FHandle && !DestroyWindow(FHandle))
        RaiseLastOSError();
    FHandle = nullptr;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle)
        return;
    bool hadFocus = Focused();
    {
        TStateScope scope(FControlState, csRecreating);
        DestroyHandle();
        CreateHandle();
    }
    Perform(CM_SHOWINGCHANGED, 0, 0);
    if (hadFocus && FHandle)
        ::SetFocus(FHandle);
}

void TWinControl::SetParentWindow(HWND value)
{
    if (value == FParentWindow)
        return;
    FParentWindow = value;
    if (FHandle && !Parent())
        ::SetParent(FHandle, value ? value : ParkingWindow());
}

void TWinControl::SetParent(TWinControl* value)
{
    if (value == Parent())
        return;
    TControl::SetParent(value);
    if (FHandle) {
        HWND newParent = value && value->FHandle     ? value->FHandle
                         : (!value && FParentWindow) ? FParentWindow
                                                     : ParkingWindow();
        ::SetParent(FHandle, newParent);
        if (value && value->FHandle)
            SetWindowPos(FHandle, nullptr, Left(), Top(), Width(), Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (value && value->FHandle && Visible() && !HasState(csDestroying)) {
        CreateHandle();
    }
}

void TWinControl::UpdateBoundsFromWindow()
{
    if (!FHandle || IsIconic(FHandle))
        return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(FHandle);
        if (parent)
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    TRect bounds(r);
    if (bounds != BoundsRect())
        UpdateBoundsRect(bounds);
}

// ---------------------------------------------------------------------------
// TWinControl: message handling

void TWinControl::MainWndProc(TMessage& message)
{
    try {
        WindowProc()(message);
    } catch (...) {
        if (Application)
            Application->HandleException(std::current_exception());
        else
            HandleCallbackException(std::current_exception());
    }
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (!FHandle || (m.Msg >= CM_BASE && m.Msg < 0xC000) || IsSkinMessage(m.Msg)) {
        TControl::DefaultHandler(m);
        return;
    }
    WNDPROC procedure = FDefWndProc ? FDefWndProc : DefWindowProcA;
    m.Result = IsWindowUnicode(FHandle)
                   ? CallWindowProcW(procedure, FHandle, m.Msg, m.WParam, m.LParam)
                   : CallWindowProcA(procedure, FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (IsControlMouseMsg(m))
            return;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(m))
            return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (DoKeyUp(m))
            return;
        break;
    case WM_CHAR:
        if (DoKeyPress(m))
            return;
        break;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT:
        if (FHandle) {
            DefaultHandler(m);
            return;
        }
        break;
    case WM_PAINT:
        WMPaint(m);
        return;
    case WM_NCPAINT:
        WMNCPaint(m);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(m);
        return;
    case WM_SIZE:
        WMSize(m);
        return;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(m);
        return;
    case WM_SETCURSOR:
        WMSetCursor(m);
        return;
    case WM_SETFOCUS:
        WMSetFocus(m);
        return;
    case WM_COMMAND:
        WMCommand(m);
        return;
    case WM_NOTIFY:
        WMNotify(m);
        return;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        WMCtlColor(m);
        return;
    case WM_DRAWITEM:
        WMDrawItem(m);
        return;
    case WM_MEASUREITEM:
        WMMeasureItem(m);
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        WMScroll(m);
        return;
    case WM_CONTEXTMENU:
        WMContextMenu(m);
        return;
    case WM_MOUSELEAVE:
        WMMouseLeave(m);
        return;
    case WM_CAPTURECHANGED:
        if (CaptureControl() && CaptureControl()->Parent() == this && !IsWindowed(CaptureControl()))
            CaptureControl()->Perform(m.Msg, m.WParam, m.LParam);
        break;
    case WM_NCDESTROY:
        WMNCDestroy(m);
        return;
    case WM_SYSCOLORCHANGE:
        NotifyControls(CM_SYSCOLORCHANGE);
        break;
    case WM_SETTINGCHANGE:
        NotifyControls(CM_WININICHANGE);
        break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        CNKeyDown(m);
        return;
    case CN_CHAR:
    case CN_SYSCHAR:
        CNChar(m);
        return;
    case CN_KEYUP:
        m.Result = 0;
        return;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC:
        CNCtlColor(m);
        return;
    case CM_COLORCHANGED:
        CMColorChanged(m);
        return;
    case CM_FONTCHANGED:
        CMFontChanged(m);
        return;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(m);
        return;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(m);
        return;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(m);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_DIALOGKEY:
        CMDialogKey(m);
        return;
    case CM_DIALOGCHAR:
        Broadcast(m);
        return;
    case CM_FOCUSCHANGED:
        Broadcast(m);
        m.Result = 0;
        return;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE:
        Broadcast(m);
        return;
    case CM_SYSCOLORCHANGE:
    case CM_WININICHANGE:
        Broadcast(m);
        return;
    case CM_RECREATEWND:
        RecreateWnd();
        return;
    }
    TControl::WndProc(m);
}

void TWinControl::ReflectTo(HWND child, UINT reflected, TMessage& m)
{
    TWinControl* control = FindControl(child);
    if (control && control != this)
        m.Result = control->Perform(reflected, m.WParam, m.LParam);
    else
        DefaultHandler(m);
}

void TWinControl::WMCommand(TMessage& m)
{
    if (m.LParam) {
        ReflectTo(reinterpret_cast<HWND>(m.LParam), CN_COMMAND, m);
        return;
    }
    if (HIWORD(m.WParam) <= 1 && DispatchMenuCommand(LOWORD(m.WParam))) {
        m.Result = 0;
        return;
    }
    DefaultHandler(m);
}

void TWinControl::WMNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (!header) {
        DefaultHandler(m);
        return;
    }
    ReflectTo(header->hwndFrom, CN_NOTIFY, m);
}

void TWinControl::WMCtlColor(TMessage& m)
{
    ReflectTo(reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg, m);
}

void TWinControl::CNCtlColor(TMessage& m)
{
    auto dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    m.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
}

void TWinControl::WMDrawItem(TMessage& m)
{
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (item && item->CtlType != ODT_MENU)
        ReflectTo(item->hwndItem, CN_DRAWITEM, m);
    else
        DefaultHandler(m);
}

void TWinControl::WMMeasureItem(TMessage& m)
{
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (item && item->CtlType != ODT_MENU && FHandle)
        ReflectTo(GetDlgItem(FHandle, item->CtlID), CN_MEASUREITEM, m);
    else
        DefaultHandler(m);
}

void TWinControl::WMScroll(TMessage& m)
{
    if (m.LParam)
        ReflectTo(reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg, m);
    else
        DefaultHandler(m);
}

void TWinControl::WMContextMenu(TMessage& m)
{
    TPoint screen(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    if (!(screen.x == -1 && screen.y == -1)) {
        TControl* child = ControlAtPos(ScreenToClient(screen), false);
        if (child && child->Perform(WM_CONTEXTMENU, m.WParam, m.LParam)) {
            m.Result = 1;
            return;
        }
    }
    TControl::WndProc(m);
}

void TWinControl::WMSize(TMessage& m)
{
    DefaultHandler(m);
    if (m.WParam == SIZE_MINIMIZED)
        return;
    UpdateBoundsFromWindow();
    Realign();
    Resize();
}

void TWinControl::WMWindowPosChanged(TMessage& m)
{
    UpdateBoundsFromWindow();
    DefaultHandler(m);
}

void TWinControl::WMSetCursor(TMessage& m)
{
    if (LOWORD(m.LParam) == HTCLIENT && Screen) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault && reinterpret_cast<HWND>(m.WParam) == FHandle) {
            TControl* over = CaptureControl();
            if (!over || over->Parent() != this)
                over = ControlAtPos(ScreenToClient(TPoint(Seams().CursorPos())), false);
            cursor = over ? over->Cursor() : Cursor();
        }
        if (cursor != crDefault) {
            ::SetCursor(Screen->Cursors(cursor));
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMSetFocus(TMessage& m)
{
    DefaultHandler(m);
    if (TCustomForm* form = GetParentForm(this))
        form->SetFocusedControl(this);
}

void TWinControl::WMMouseLeave(TMessage& m)
{
    TControl* current = MouseControl();
    if (current == this || (current && current->Parent() == this && !IsWindowed(current)))
        SetMouseControl(nullptr);
    DefaultHandler(m);
}

void TWinControl::WMNCDestroy(TMessage& m)
{
    HWND window = FHandle;
    DefaultHandler(m);
    if (window)
        UntieWindow(window);
    FHandle = nullptr;
}

void TWinControl::TrackMouseLeave()
{
    // Re-armed on every move: a system control may track the mouse itself.
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, FHandle, 0};
    TrackMouseEvent(&track);
}

bool TWinControl::IsControlMouseMsg(TMessage& m)
{
    TPoint pos(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    TControl* target = nullptr;
    TControl* captured = CaptureControl();
    if (captured) {
        if (captured->Parent() == this && !IsWindowed(captured))
            target = captured;
    } else {
        target = ControlAtPos(pos, false);
    }
    if (m.Msg == WM_MOUSEMOVE) {
        SetMouseControl(target ? target : this);
        TrackMouseLeave();
    }
    if (!target)
        return false;
    TMessage routed{m.Msg, m.WParam, MAKELPARAM(pos.x - target->Left(), pos.y - target->Top()), 0};
    target->WindowProc()(routed);
    m.Result = routed.Result;
    return true;
}

// ---------------------------------------------------------------------------
// TWinControl: state changes

void TWinControl::CMColorChanged(TMessage&)
{
    FBrush->SetColor(EffectiveColor());
    NotifyControls(CM_PARENTCOLORCHANGED);
    Invalidate();
}

void TWinControl::CMFontChanged(TMessage&)
{
    if (FHandle)
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
    NotifyControls(CM_PARENTFONTCHANGED);
    Invalidate();
}

void TWinControl::CMEnabledChanged(TMessage&)
{
    if (FHandle)
        EnableWindow(FHandle, Enabled());
    Invalidate();
}

void TWinControl::CMVisibleChanged(TMessage&)
{
    if (Visible() && !FHandle) {
        bool canCreate = Parent() ? Parent()->FHandle != nullptr : false;
        if (!Parent()) {
            TCreateParams params;
            CreateParams(params);
            canCreate = !(params.Style & WS_CHILD) || params.WndParent;
        }
        if (canCreate)
            CreateHandle();
    }
    UpdateShowing();
}

void TWinControl::UpdateShowing()
{
    if (FHandle)
        Perform(CM_SHOWINGCHANGED, 0, 0);
}

void TWinControl::CMShowingChanged(TMessage&)
{
    if (!FHandle)
        return;
    UINT flag = Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flag);
}

bool TWinControl::Showing()
{
    return FHandle && IsWindowVisible(FHandle);
}

TRect TWinControl::ClientRect()
{
    if (!FHandle)
        return TControl::ClientRect();
    RECT r;
    GetClientRect(FHandle, &r);
    return TRect(r);
}

TPoint TWinControl::ClientOrigin()
{
    if (!FHandle)
        return TControl::ClientOrigin();
    POINT p = {0, 0};
    ::ClientToScreen(FHandle, &p);
    return TPoint(p);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!CheckNewSize(AWidth, AHeight))
        return;
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())
        return;
    if (FHandle && !IsIconic(FHandle)) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBoundsFromWindow();
    } else {
        bool resized = AWidth != Width() || AHeight != Height();
        UpdateBoundsRect(Bounds(ALeft, ATop, AWidth, AHeight));
        if (resized && !FHandle) {
            Realign();
            Resize();
        }
    }
    RequestAlign();
}

namespace {

bool IsAlwaysOnTop(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// A hidden tip window: the system puts a tip above every other window each
// time it shows it, and lets it sink while hidden.
bool IsHiddenTip(HWND window)
{
    char className[32] = {};
    return !IsWindowVisible(window) && GetClassNameA(window, className, sizeof className) &&
           std::strcmp(className, TOOLTIPS_CLASSA) == 0;
}

// Whether only windows that cannot be raised over are above window (hidden
// tips, and always-on-top windows when it is not one): it is as high as it
// can go.
bool IsAtTopOfItsBand(HWND window)
{
    const bool alwaysOnTop = IsAlwaysOnTop(window);
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (!IsHiddenTip(above) && (alwaysOnTop || !IsAlwaysOnTop(above)))
            return false;
    return true;
}

} // namespace

void TWinControl::SetZOrder(bool topMost)
{
    if (!Parent() && FHandle) {
        // Raising a window already at the top still costs the system a full
        // move (a just-shown form is raised so).
        if (topMost && IsAtTopOfItsBand(FHandle))
            return;
        SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    TControl::SetZOrder(topMost);
}

// ---------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FCanvas = new TControlCanvas;
    FCanvas->SetControl(this);
    SetControlState(ControlState() | csCustomPaint);
}

TCustomControl::~TCustomControl()
{
    delete FCanvas;
}

void TCustomControl::PaintWindow(HDC dc)
{
    TCanvasDCScope paint(FCanvas, dc);
    Paint();
}

void TCustomControl::DestroyWnd()
{
    FCanvas->FreeHandle();
    TWinControl::DestroyWnd();
}
