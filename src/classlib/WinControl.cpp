#include "WinControl.h"

#include "WindowProcedure.h"

#include "Application.h"
#include "Exceptions.h"
#include "Form.h"
#include "Menu.h"
#include "Screen.h"
#include "Seams.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <windowsx.h>

namespace {

bool IsWindowed(const TControl* control)
{
    return dynamic_cast<const TWinControl*>(control) != nullptr;
}

// Sets the flag for the duration of a scope.
class TStateScope
{
public:
    TStateScope(TControlState& state, TControlState flag) : FState(state), FFlag(flag)
    {
        FState |= flag;
    }
    ~TStateScope() { FState &= ~FFlag; }

private:
    TControlState& FState;
    TControlState FFlag;
};

} // namespace

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
    params.WindowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
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
    try {
        CreateWindowHandle(params);
    } catch (...) {
        SetCreationControl(nullptr);
        SetControlState(ControlState() & ~csCreating);
        throw;
    }
    SetCreationControl(nullptr);
    SetControlState(ControlState() & ~csCreating);
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
                        params.WndParent, nullptr, GetModuleHandleA(nullptr), params.Param);
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
    for (TControl* child : std::vector<TControl*>(FControls)) {
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (!windowed)
            continue;
        if (windowed->FHandle)
            ::SetParent(windowed->FHandle, FHandle);
        else
            windowed->CreateHandle();
    }
    Realign();
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
    } else if (value && value->FHandle && !HasState(csDestroying)) {
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
    if (!FHandle || (m.Msg >= CM_BASE && m.Msg < 0xC000)) {
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
    if (window) {
        RemovePropA(window, MAKEINTATOM(WindowAtom()));
        RemovePropA(window, MAKEINTATOM(ControlAtom()));
    }
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
// TWinControl: painting

bool TWinControl::PaintsItself() const
{
    return (ControlState() & csCustomPaint) != 0 || !FSystemClass;
}

bool TWinControl::HasVisibleGraphicChildren() const
{
    for (TControl* c : FControls)
        if (c->Visible() && !IsWindowed(c))
            return true;
    return false;
}

void TWinControl::WMPaint(TMessage& m)
{
    if (m.WParam == 0 && FDoubleBuffered && PaintsItself()) {
        DoubleBufferedPaint(m);
        return;
    }
    if (m.WParam == 0 && FSystemClass && !(ControlState() & csCustomPaint) &&
        !HasVisibleGraphicChildren()) {
        DefaultHandler(m);
        return;
    }
    PaintHandler(m);
}

void TWinControl::DoubleBufferedPaint(TMessage& m)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    RECT client;
    GetClientRect(FHandle, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1),
                                            std::max<LONG>(client.bottom, 1));
    HGDIOBJ old = SelectObject(memory, bitmap);
    try {
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(memory));
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    } catch (...) {
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(FHandle, &ps);
        throw;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(FHandle, &ps);
    m.Result = 0;
}

void TWinControl::PaintHandler(TMessage& m)
{
    PAINTSTRUCT ps;
    auto dc = reinterpret_cast<HDC>(m.WParam);
    bool ownDC = dc == nullptr;
    if (ownDC)
        dc = BeginPaint(FHandle, &ps);
    try {
        int saved = SaveDC(dc);
        PaintWindow(dc);
        RestoreDC(dc, saved);
        PaintControls(dc, nullptr);
    } catch (...) {
        if (ownDC)
            EndPaint(FHandle, &ps);
        throw;
    }
    if (ownDC)
        EndPaint(FHandle, &ps);
    m.Result = 0;
}

void TWinControl::PaintWindow(HDC dc)
{
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    if (FSystemClass)
        DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto start = FControls.begin();
    if (first) {
        start = std::find(FControls.begin(), FControls.end(), first);
        if (start == FControls.end())
            start = FControls.begin();
    }
    for (auto it = start; it != FControls.end(); ++it) {
        TControl* c = *it;
        if (IsWindowed(c) || !c->Visible())
            continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r))
            continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        try {
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        } catch (...) {
            RestoreDC(dc, saved);
            throw;
        }
        RestoreDC(dc, saved);
    }
}

void TWinControl::WMEraseBkgnd(TMessage& m)
{
    if (FSystemClass && !(ControlState() & csCustomPaint)) {
        DefaultHandler(m);
        return;
    }
    if (FDoubleBuffered && m.WParam != static_cast<WPARAM>(m.LParam)) {
        m.Result = 1; // erased in the buffer instead
        return;
    }
    RECT client;
    GetClientRect(FHandle, &client);
    FillRect(reinterpret_cast<HDC>(m.WParam), &client, FBrush->Handle());
    m.Result = 1;
}

void TWinControl::PaintTo(HDC dc, int x, int y)
{
    if (!FHandle)
        return;
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    if (PaintsItself()) {
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } else {
        Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    }
    RestoreDC(dc, saved);
    for (TControl* c : FControls) {
        auto* windowed = dynamic_cast<TWinControl*>(c);
        if (windowed && windowed->Visible())
            windowed->PaintTo(dc, x + windowed->Left(), y + windowed->Top());
    }
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !(ControlStyle() & csOpaque));
}

void TWinControl::Update()
{
    if (FHandle)
        UpdateWindow(FHandle);
}

HDC TWinControl::GetDeviceContext(HWND& window)
{
    window = Handle();
    return GetDC(window);
}

void TWinControl::SetDoubleBuffered(bool value)
{
    if (value == FDoubleBuffered)
        return;
    FDoubleBuffered = value;
    Invalidate();
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

void TWinControl::SetZOrder(bool topMost)
{
    if (!Parent() && FHandle) {
        SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    TControl::SetZOrder(topMost);
}

// ---------------------------------------------------------------------------
// TWinControl: children

void TWinControl::InsertControl(TControl* control)
{
    if (!control || control->FParent == this)
        return;
    FControls.push_back(control);
    control->FParent = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        FTabList.push_back(windowed);
    if (control->ParentFont())
        control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (control->ParentColor() || control->Color() == clNone)
        control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (control->ParentShowHint())
        control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
    if (control->Align() != TAlign::alNone && control->Visible())
        Realign();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end())
        return;
    if (!HasState(csDestroying)) {
        if (TCustomForm* form = GetParentForm(this))
            form->ControlRemoving(control);
        control->InvalidateControl(control->Visible(), false);
    }
    if (MouseControl() == control)
        SetMouseControl(nullptr);
    FControls.erase(it);
    auto tab = std::find(FTabList.begin(), FTabList.end(), control);
    if (tab != FTabList.end())
        FTabList.erase(tab);
    control->FParent = nullptr;
    if (!HasState(csDestroying)) {
        Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
        if (control->Align() != TAlign::alNone)
            Realign();
    }
}

void TWinControl::MoveControlInZOrder(TControl* control, bool topMost)
{
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end())
        return;
    FControls.erase(it);
    if (topMost)
        FControls.push_back(control);
    else
        FControls.insert(FControls.begin(), control);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->FHandle)
        SetWindowPos(windowed->FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (control->Align() != TAlign::alNone)
        Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls)
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || (!allowDisabled && !c->Enabled()))
            continue;
        if (!allowWinControls && IsWindowed(c))
            continue;
        if (c->BoundsRect().Contains(pos))
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end())
            continue;
        c->WindowProc()(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg)
{
    TMessage message{msg, 0, 0, 0};
    for (TControl* c : std::vector<TControl*>(FControls))
        if (std::find(FControls.begin(), FControls.end(), c) != FControls.end())
            c->WindowProc()(message);
}

// ---------------------------------------------------------------------------
// TWinControl: alignment

void TWinControl::DisableAlign()
{
    ++FAlignLevel;
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0 && (ControlState() & csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control)
{
    if (FAligning || HasState(csDestroying))
        return;
    if (FAlignLevel > 0) {
        SetControlState(ControlState() | csAlignmentNeeded);
        return;
    }
    FAligning = true;
    try {
        TRect rect = ClientRect();
        AlignControls(control, rect);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
    SetControlState(ControlState() & ~csAlignmentNeeded);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::AlignControls(TControl*, TRect& rect)
{
    TRect client = ClientRect();
    AdjustClientRect(rect);
    const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                            TAlign::alClient};
    for (TAlign align : order) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && c->Visible())
                list.push_back(c);
        auto key = [align](TControl* c) {
            switch (align) {
            case TAlign::alTop:
                return c->Top();
            case TAlign::alBottom:
                return -(c->Top() + c->Height());
            case TAlign::alLeft:
                return c->Left();
            case TAlign::alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(),
                         [&](TControl* a, TControl* b) { return key(a) < key(b); });
        for (TControl* c : list) {
            TStateScope scope(c->FControlState, csAligning);
            int l = rect.left, t = rect.top;
            int w = std::max<LONG>(rect.Width(), 0), h = std::max<LONG>(rect.Height(), 0);
            switch (align) {
            case TAlign::alTop:
                h = c->Height();
                break;
            case TAlign::alBottom:
                h = c->Height();
                t = rect.bottom - h;
                break;
            case TAlign::alLeft:
                w = c->Width();
                break;
            case TAlign::alRight:
                w = c->Width();
                l = rect.right - w;
                break;
            default:
                break;
            }
            c->SetBounds(l, t, w, h);
            switch (align) {
            case TAlign::alTop:
                rect.top += c->Height();
                break;
            case TAlign::alBottom:
                rect.bottom -= c->Height();
                break;
            case TAlign::alLeft:
                rect.left += c->Width();
                break;
            case TAlign::alRight:
                rect.right -= c->Width();
                break;
            default:
                break;
            }
        }
    }
    for (TControl* c : FControls)
        if (c->Align() == TAlign::alNone && c->Anchors() != (akLeft | akTop))
            ApplyAnchors(c, client);
}

void TWinControl::ApplyAnchors(TControl* c, const TRect& clientRect)
{
    if (!c->FAnchorRulesValid)
        return;
    int dx = clientRect.Width() - c->FAnchorParentSize.x;
    int dy = clientRect.Height() - c->FAnchorParentSize.y;
    const TRect& b = c->FAnchorBounds;
    int l = b.left, t = b.top, w = b.Width(), h = b.Height();
    TAnchors anchors = c->Anchors();
    if (anchors & akRight) {
        if (anchors & akLeft)
            w += dx;
        else
            l += dx;
    } else if (!(anchors & akLeft)) {
        l += dx / 2;
    }
    if (anchors & akBottom) {
        if (anchors & akTop)
            h += dy;
        else
            t += dy;
    } else if (!(anchors & akTop)) {
        t += dy / 2;
    }
    TStateScope scope(c->FControlState, csAligning);
    c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
}

// ---------------------------------------------------------------------------
// TWinControl: focus and tab order

void TWinControl::SetTabStop(bool value)
{
    if (value == FTabStop)
        return;
    FTabStop = value;
    if (FHandle) {
        LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
        SetWindowLongPtrA(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!Parent())
        return;
    auto& list = Parent()->FTabList;
    int current = TabOrder();
    if (current < 0)
        return;
    value = std::clamp(value, 0, static_cast<int>(list.size()) - 1);
    list.erase(list.begin() + current);
    list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list)
{
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus()
{
    for (TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this)
        form->FocusControl(this);
    else if (Handle())
        ::SetFocus(FHandle);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    int n = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start =
        found == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[i];
        if (c == current)
            break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) &&
            c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (next)
        next->SetFocus();
}

// ---------------------------------------------------------------------------
// TWinControl: keyboard

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    TShiftState shift = KeyDataToShiftState(m.LParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0)
            return true;
    }
    KeyDown(key, shift);
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    TShiftState shift = KeyDataToShiftState(m.LParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        form->KeyUp(key, shift);
        if (key == 0)
            return true;
    }
    KeyUp(key, shift);
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
    auto key = static_cast<char>(m.WParam & 0xFF);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(key);
        if (key == 0)
            return true;
    }
    KeyPress(key);
    if (key == 0)
        return true;
    m.WParam = (m.WParam & ~static_cast<WPARAM>(0xFF)) | static_cast<unsigned char>(key);
    return false;
}

UINT TWinControl::DialogCodeFor(WORD key)
{
    switch (key) {
    case VK_TAB:
        return DLGC_WANTTAB;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return DLGC_WANTARROWS;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
        return DLGC_WANTALLKEYS;
    }
    return 0;
}

bool TWinControl::IsMenuKey(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    TShiftState shift = KeyDataToShiftState(m.LParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form->IsShortCut(key, shift))
        return true;
    return Application && Application->SendAppKeyDown(m.WParam, m.LParam, form);
}

void TWinControl::CNKeyDown(TMessage& m)
{
    m.Result = 1;
    if (IsMenuKey(m))
        return;
    auto key = static_cast<WORD>(m.WParam);
    UINT mask = DialogCodeFor(key);
    if (mask) {
        for (TWinControl* c = this; c; c = c->Parent())
            if (c->Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)))
                return;
        MSG keyMessage = {FHandle, WM_KEYDOWN, m.WParam, m.LParam, 0, {0, 0}};
        bool wanted = Perform(CM_WANTSPECIALKEY, key, m.LParam) != 0 ||
                      (Perform(WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&keyMessage)) &
                       (mask | DLGC_WANTMESSAGE)) != 0;
        TCustomForm* form = GetParentForm(this);
        if (!wanted && form && form->Perform(CM_DIALOGKEY, key, m.LParam))
            return;
    }
    m.Result = 0;
}

void TWinControl::CNChar(TMessage& m)
{
    m.Result = 0;
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    if (m.Msg == CN_CHAR) {
        MSG charMessage = {FHandle, WM_CHAR, m.WParam, m.LParam, 0, {0, 0}};
        if (Perform(WM_GETDLGCODE, m.WParam, reinterpret_cast<LPARAM>(&charMessage)) &
            (DLGC_WANTCHARS | DLGC_WANTMESSAGE))
            return;
    }
    if (form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam))
        m.Result = 1;
}

void TWinControl::CMDialogKey(TMessage& m)
{
    Broadcast(m);
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
