// TBarFloatingWindowParent: the frame of a floating window. Its non-client
// area (borders, the small caption with its close button, the sizing
// edges) is its own; it never keeps the activation.
#include "BarDock.h"

#include "BarCommon.h"

#include "classlib/Application.h"
#include "classlib/ScopeExit.h"

#include <windowsx.h>

namespace {

constexpr int kGradientActiveCaption = 27;
constexpr int kGradientInactiveCaption = 28;

// How long a frame watches its owner after it shows: ticks of kWatchMs.
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 50;
constexpr int kWatchTicks = 20;

// Whether window stands above other in the z-order.
bool StandsAbove(HWND window, HWND other)
{
    for (HWND w = GetWindow(other, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (w == window)
            return true;
    return false;
}

bool GradientCaptions()
{
    BOOL on = FALSE;
    return SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &on, 0) && on;
}

struct TThreadWindowSearch
{
    HWND Found = nullptr;
    HWND FoundTopmost = nullptr;
    HWND Except = nullptr;
};

BOOL CALLBACK ConsiderTopLevel(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TThreadWindowSearch*>(data);
    if (window == search->Except || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
        if (!search->FoundTopmost)
            search->FoundTopmost = window;
        return TRUE;
    }
    search->Found = window;
    return FALSE;
}

} // namespace

TBarFloatingWindowParent::TBarFloatingWindowParent(TBarCustomDockableWindow* Window)
    : TCustomForm(nullptr), FHostedWindow(Window)
{
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetShowHint(true);
}

TBarFloatingWindowParent::~TBarFloatingWindowParent()
{
    Destroying();
}

void TBarFloatingWindowParent::SetFrameOwnerForm(TCustomForm* value)
{
    ReplaceFreeNotified(this, FFrameOwnerForm, value);
}

void TBarFloatingWindowParent::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomForm::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || AComponent != FFrameOwnerForm)
        return;
    // The form's windows go with it: the frame stays, owned by the
    // application window, until its window goes too.
    FFrameOwnerForm = nullptr;
    if (HandleAllocated() && Application)
        SetWindowLongPtrA(WindowHandle(), GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(Application->Handle()));
}

void TBarFloatingWindowParent::CreateParams(TCreateParams& params)
{
    TCustomForm::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (FHostedWindow->Resizable())
        params.Style |= WS_THICKFRAME;
    params.ExStyle = WS_EX_TOOLWINDOW;
    if (FFrameOwnerForm && FHostedWindow->FloatingMode() == TBarFloatingMode::fmOnTopOfParentForm)
        params.WndParent = FFrameOwnerForm->Handle();
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

TBarFrameHitInfo TBarFloatingWindowParent::FrameGeometry()
{
    TBarFrameHitInfo info;
    info.WindowSize = TPoint(Width(), Height());
    if (HandleAllocated()) {
        RECT r;
        GetWindowRect(WindowHandle(), &r);
        info.WindowSize = TPoint(r.right - r.left, r.bottom - r.top);
    }
    info.Border = FHostedWindow->FloatFrameBorder();
    info.SmallCaption = GetSystemMetrics(SM_CYSMCAPTION);
    info.ShowCaption = FHostedWindow->ShowCaption();
    info.CloseButton = FHostedWindow->CloseButton();
    info.Resizable = FHostedWindow->Resizable();
    info.SizingCorners = (FHostedWindow->FrameSizingOptions() & bfsSizingCorners) != 0;
    return info;
}

void TBarFloatingWindowParent::Discard()
{
    if (FMessageDepth == 0) {
        delete this;
        return;
    }
    FHostedWindow = nullptr;
    if (HandleAllocated())
        SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Release();
}

void TBarFloatingWindowParent::WndProc(TMessage& message)
{
    if (!FHostedWindow) {
        if (message.Msg != CM_SHOWINGCHANGED)
            TCustomForm::WndProc(message);
        return;
    }
    ++FMessageDepth;
    TScopeExit handled([this] { --FMessageDepth; });
    FrameMessage(message);
}

void TBarFloatingWindowParent::FrameMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(message);
        return;
    case WM_NCLBUTTONDOWN:
        WMNCButtonDown(message);
        return;
    case WM_NCLBUTTONDBLCLK:
        if (message.WParam == kBarHitFloatingCaption) {
            FHostedWindow->ToggleDockState();
            return;
        }
        TCustomForm::WndProc(message);
        return;
    case WM_NCRBUTTONUP:
        if (FHostedWindow->HandleAllocated())
            SendMessageA(FHostedWindow->WindowHandle(), WM_CONTEXTMENU,
                         reinterpret_cast<WPARAM>(FHostedWindow->WindowHandle()), message.LParam);
        return;
    case WM_NCPAINT:
        WMNCPaint(message);
        return;
    case WM_NCACTIVATE:
        // The caption is ours: the system must not draw its own.
        message.Result = TRUE;
        PaintFrameNow(false);
        return;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
        info->ptMinTrackSize = POINT{1, 1};
        info->ptMaxTrackSize = POINT{32767, 32767};
        message.Result = 0;
        return;
    }
    case WM_MOUSEACTIVATE:
        WMMouseActivate(message);
        return;
    case WM_ACTIVATE:
        WMActivate(message);
        return;
    case WM_CLOSE:
        if (FFrameOwnerForm && FFrameOwnerForm->HandleAllocated())
            SendMessageA(FFrameOwnerForm->WindowHandle(), WM_CLOSE, 0, 0);
        return;
    case CM_DIALOGKEY:
        if (message.WParam == VK_ESCAPE && ModifierKeys(KeyDataToShiftState(message.LParam)) == 0 &&
            FFrameOwnerForm && FFrameOwnerForm->HandleAllocated()) {
            ::SetFocus(FFrameOwnerForm->WindowHandle());
            message.Result = 1;
            return;
        }
        TCustomForm::WndProc(message);
        return;
    case WM_MOVE:
        TCustomForm::WndProc(message);
        if (FHostedWindow->Parent() == this && !FHostedWindow->HasState(csLoading) &&
            FHostedWindow->FMoveEventLock == 0 && FHostedWindow->OnMove)
            FHostedWindow->OnMove(FHostedWindow);
        return;
    case WM_CAPTURECHANGED:
        PostMessageA(WindowHandle(), WM_NULL, 0, 0);
        TCustomForm::WndProc(message);
        return;
    case CM_SHOWINGCHANGED:
        // The hosted window decides when the frame shows.
        return;
    case WM_TIMER:
        if (message.WParam == kWatchTimer) {
            WatchTick();
            return;
        }
        TCustomForm::WndProc(message);
        return;
    default:
        TCustomForm::WndProc(message);
        return;
    }
}

void TBarFloatingWindowParent::WMNCCalcSize(TMessage& m)
{
    TPoint border = FHostedWindow->FloatFrameBorder();
    int caption = FHostedWindow->ShowCaption() ? GetSystemMetrics(SM_CYSMCAPTION) : 0;
    TakeNonClientFrame(*reinterpret_cast<RECT*>(m.LParam), border.x, border.y + caption, border.x,
                       border.y);
    m.Result = 0;
}

void TBarFloatingWindowParent::WMNCHitTest(TMessage& m)
{
    RECT whole;
    GetWindowRect(WindowHandle(), &whole);
    TPoint p(GET_X_LPARAM(m.LParam) - whole.left, GET_Y_LPARAM(m.LParam) - whole.top);
    LRESULT code = FloatingFrameHitTest(FrameGeometry(), p);
    if (code) {
        m.Result = code;
        return;
    }
    TCustomForm::WndProc(m);
}

void TBarFloatingWindowParent::WMNCButtonDown(TMessage& m)
{
    if (m.WParam >= HTLEFT && m.WParam <= HTBOTTOMRIGHT) {
        FHostedWindow->StartSizeLoop(static_cast<int>(m.WParam) - HTLEFT);
        return;
    }
    if (m.WParam == kBarHitFloatingCaption) {
        if (FHostedWindow->HandleAllocated()) {
            TPoint client = FHostedWindow->ScreenToClient(
                TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            FHostedWindow->StartDragLoop(client.x, client.y);
        }
        return;
    }
    if (m.WParam == kBarHitCloseButton) {
        if (TrackCloseButton())
            FHostedWindow->Close();
        return;
    }
    TCustomForm::WndProc(m);
}

bool TBarFloatingWindowParent::TrackCloseButton()
{
    return TrackBarButton(WindowHandle(), FloatingCloseRect(FrameGeometry()),
                          [this](bool pushed) { PaintFrameNow(pushed); });
}

// ---------------------------------------------------------------------------
// Painting

void TBarFloatingWindowParent::WMNCPaint(TMessage& m)
{
    HWND window = WindowHandle();
    TScreenDC dc(window, GetWindowDC(window));
    if (!dc.Handle())
        return;
    TSavedDCState saved(dc.Handle());
    SelectNCUpdateRgn(window, dc.Handle(), reinterpret_cast<HRGN>(m.WParam));
    DrawFrame(dc.Handle(), false);
    m.Result = 0;
}

void TBarFloatingWindowParent::PaintFrameNow(bool closePushed)
{
    if (!HandleAllocated())
        return;
    HWND window = WindowHandle();
    TScreenDC dc(window, GetWindowDC(window));
    if (dc.Handle())
        DrawFrame(dc.Handle(), closePushed);
}

void TBarFloatingWindowParent::RedrawCaption()
{
    PaintFrameNow(false);
}

void TBarFloatingWindowParent::DrawFrame(HDC dc, bool closePushed)
{
    TBarFrameHitInfo geometry = FrameGeometry();
    const TRect whole(0, 0, geometry.WindowSize.x, geometry.WindowSize.y);
    const TRect client = ClientAreaInWindow(WindowHandle());
    TSavedDCState saved(dc);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &whole, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = whole;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    if (geometry.ShowCaption) {
        const bool active = !FHostedWindow->DimCaption();
        const bool gradient = GradientCaptions();
        RECT caption = FloatingCaptionRect(geometry);
        UINT flags =
            DC_SMALLCAP | DC_TEXT | (active ? DC_ACTIVE : 0) | (gradient ? DC_GRADIENT : 0);
        DrawCaption(WindowHandle(), dc, &caption, flags);
        RECT line = {caption.left, caption.bottom, caption.right, caption.bottom + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
        if (geometry.CloseButton) {
            RECT box = FloatingCloseRect(geometry);
            int colour = active ? (gradient ? kGradientActiveCaption : COLOR_ACTIVECAPTION)
                                : (gradient ? kGradientInactiveCaption : COLOR_INACTIVECAPTION);
            FillRect(dc, &box, GetSysColorBrush(colour));
            InflateRect(&box, -2, -2);
            DrawFrameControl(dc, &box, DFC_CAPTION,
                             DFCS_CAPTIONCLOSE | (closePushed ? DFCS_PUSHED : 0));
        }
    }
}

// ---------------------------------------------------------------------------
// Activation

void TBarFloatingWindowParent::WMMouseActivate(TMessage& m)
{
    m.Result = MA_NOACTIVATE;
    HWND window = WindowHandle();
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (FHostedWindow->FloatingMode() != TBarFloatingMode::fmOnTopOfParentForm ||
        !FHostedWindow->ActivateParent() || !FFrameOwnerForm || !FFrameOwnerForm->HandleAllocated())
        return;
    HWND form = FFrameOwnerForm->WindowHandle();
    SetActiveWindow(form);
    HWND top = GetAncestor(form, GA_ROOTOWNER);
    if (top && top != form)
        SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TBarFloatingWindowParent::WMActivate(TMessage& m)
{
    m.Result = 0;
    HWND form = FFrameOwnerForm && FFrameOwnerForm->HandleAllocated()
                    ? FFrameOwnerForm->WindowHandle()
                    : nullptr;
    if (form)
        SendMessageA(form, WM_NCACTIVATE, LOWORD(m.WParam) != WA_INACTIVE, 0);
    if (LOWORD(m.WParam) == WA_INACTIVE)
        return;
    HWND previous = reinterpret_cast<HWND>(m.LParam);
    if (!IsWindowVisible(WindowHandle())) {
        PassActivationOn();
        return;
    }
    if (form && previous != form)
        SetActiveWindow(form);
}

void TBarFloatingWindowParent::PlaceAboveOwner()
{
    if (!HandleAllocated())
        return;
    constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND window = WindowHandle();
    HWND owner = GetWindow(window, GW_OWNER);
    // Under Wine (top-level windows unmanaged) a window that takes the focus
    // is raised on the screen over the windows it owns, and the z-order is
    // later taken back from the screen. A move to the top reaches the screen
    // only when it changes the z-order, which it does not for a frame still
    // listed first: a step under the owner makes it one. (A topmost frame
    // would lose its topmost place by that step.)
    if (RunningUnderWine() && owner && IsWindowVisible(window) &&
        !(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(window, owner, 0, 0, 0, 0, kZOrderOnly | SWP_NOOWNERZORDER);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, kZOrderOnly);
}

// Under Wine a form that is mapped while the focus is in one of its controls
// is raised on the screen when the mapping is reported back, later than the
// form's show and with no message to any window: at the start, over the
// frames placed above it meanwhile. The frame watches for that a while.
void TBarFloatingWindowParent::WatchOwnerRaise()
{
    if (!HandleAllocated() || !RunningUnderWine())
        return;
    FWatchTicksLeft = kWatchTicks;
    SetTimer(WindowHandle(), kWatchTimer, kWatchMs, nullptr);
}

void TBarFloatingWindowParent::WatchTick()
{
    HWND window = WindowHandle();
    if (--FWatchTicksLeft <= 0 || !IsWindowVisible(window))
        KillTimer(window, kWatchTimer);
    // Only while its form is the active window: never over another's.
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner && GetActiveWindow() == owner && StandsAbove(owner, window))
        PlaceAboveOwner();
}

void TBarFloatingWindowParent::PassActivationOn()
{
    if (FFrameOwnerForm && FFrameOwnerForm->HandleAllocated()) {
        HWND form = FFrameOwnerForm->WindowHandle();
        if (IsWindowVisible(form) && IsWindowEnabled(form)) {
            SetActiveWindow(form);
            return;
        }
    }
    TThreadWindowSearch search;
    search.Except = HandleAllocated() ? WindowHandle() : nullptr;
    EnumThreadWindows(GetCurrentThreadId(), ConsiderTopLevel, reinterpret_cast<LPARAM>(&search));
    HWND next = search.Found ? search.Found : search.FoundTopmost;
    if (next)
        SetActiveWindow(next);
}
