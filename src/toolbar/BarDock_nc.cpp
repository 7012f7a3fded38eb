// TBarCustomDockableWindow: its messages, its docked non-client area (the
// border, the drag handle and the close button with its tracking loop) and
// the mouse in its client area.
#include "BarDock.h"

#include "BarCommon.h"

#include <optional>
#include <windowsx.h>

namespace {

constexpr UINT kNCMouseLeave = 0x02A2; // WM_NCMOUSELEAVE

TPoint MessagePoint(LPARAM lp)
{
    return TPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
}

// A screen point in the coordinates of window's whole rectangle.
TPoint WindowPointOf(HWND window, const TPoint& screen)
{
    RECT r;
    GetWindowRect(window, &r);
    return TPoint(screen.x - r.left, screen.y - r.top);
}

bool IsButtonMessage(UINT msg, UINT first, UINT last)
{
    return msg >= first && msg <= last;
}

} // namespace

bool TrackBarButton(HWND window, const TRect& buttonInWindow,
                    const std::function<void(bool pushed)>& showPushed)
{
    RECT whole;
    GetWindowRect(window, &whole);
    TRect buttonOnScreen = buttonInWindow;
    OffsetRect(&buttonOnScreen, whole.left, whole.top);
    SetCapture(window);
    POINT cursor;
    GetCursorPos(&cursor);
    bool pushed = buttonOnScreen.Contains(cursor);
    showPushed(pushed);
    bool released = false;
    MSG msg;
    while (ReadCapturedLoopMessage(window, msg)) {
        if (msg.message == WM_MOUSEMOVE) {
            bool inside = buttonOnScreen.Contains(msg.pt);
            if (inside != pushed) {
                pushed = inside;
                showPushed(pushed);
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            released = buttonOnScreen.Contains(msg.pt);
            break;
        }
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK)
            break;
        if (IsButtonMessage(msg.message, WM_KEYFIRST, WM_KEYLAST) ||
            IsButtonMessage(msg.message, WM_RBUTTONDOWN, WM_MBUTTONDBLCLK))
            continue;
        DispatchMessageA(&msg);
    }
    if (GetCapture() == window)
        ReleaseCapture();
    if (IsWindow(window))
        showPushed(false);
    return released;
}

// ---------------------------------------------------------------------------
// Messages

void TBarCustomDockableWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(message);
        return;
    case WM_SETCURSOR:
        WMSetCursor(message);
        return;
    case WM_NCLBUTTONDOWN:
        WMNCButtonDown(message);
        return;
    case WM_NCLBUTTONDBLCLK:
        WMNCButtonDblClk(message);
        return;
    case WM_NCMOUSEMOVE:
        WMNCMouseMove(message);
        return;
    case kNCMouseLeave:
    case CM_MOUSELEAVE:
    case WM_MOUSEMOVE:
        SetCloseBtnHot(false);
        TCustomControl::WndProc(message);
        return;
    case WM_NCRBUTTONUP:
        SendMessageA(WindowHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(WindowHandle()),
                     message.LParam);
        return;
    case WM_NCPAINT:
        WMNCPaint(message);
        return;
    case WM_PRINT:
        WMPrint(message);
        return;
    case WM_CAPTURECHANGED:
        // A loop waiting for its next message must see that it lost the
        // mouse.
        PostMessageA(WindowHandle(), WM_NULL, 0, 0);
        TCustomControl::WndProc(message);
        return;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(message);
        return;
    case CM_SHOWINGCHANGED:
    case CM_ENABLEDCHANGED:
        TCustomControl::WndProc(message);
        UpdateFloatingVisibility();
        return;
    case CM_TEXTCHANGED:
        TCustomControl::WndProc(message);
        if (TBarFloatingWindowParent* frame = FloatingParent()) {
            frame->SetCaption(Caption());
            frame->RedrawCaption();
        }
        return;
    default:
        TCustomControl::WndProc(message);
        return;
    }
}

void TBarCustomDockableWindow::CMVisibleChanged(TMessage& m)
{
    TCustomControl::WndProc(m);
    if (FInDock && FCurrentDock)
        FCurrentDock->RefreshShownList(this, false);
    UpdateFloatingVisibility();
    if (OnVisibleChanged)
        OnVisibleChanged(this);
}

void TBarCustomDockableWindow::WMNCCalcSize(TMessage& m)
{
    if (!FInDock) {
        TCustomControl::WndProc(m);
        return;
    }
    TPoint topLeft, bottomRight;
    DockedFrameExtent(topLeft, bottomRight);
    TakeNonClientFrame(*reinterpret_cast<RECT*>(m.LParam), topLeft.x, topLeft.y, bottomRight.x,
                       bottomRight.y);
    m.Result = 0;
}

void TBarCustomDockableWindow::WMNCHitTest(TMessage& m)
{
    if (!FInDock) {
        TCustomControl::WndProc(m);
        return;
    }
    HWND window = WindowHandle();
    TPoint screen = MessagePoint(m.LParam);
    RECT whole;
    GetWindowRect(window, &whole);
    TPoint client = ScreenToClient(screen);
    if (!TRect(whole).Contains(screen) || ClientRect().Contains(client)) {
        TCustomControl::WndProc(m);
        return;
    }
    TPoint p = WindowPointOf(window, screen);
    bool closeShown = FCloseButtonWhenDocked && FCurrentDock && FCurrentDock->AllowDrag();
    if (closeShown && DockedCloseBox(FCurrentDock->LeftRight()).Contains(p))
        m.Result = kBarHitCloseButton;
    else
        m.Result = kBarHitDragHandle;
}

void TBarCustomDockableWindow::WMSetCursor(TMessage& m)
{
    if (static_cast<short>(LOWORD(m.LParam)) == kBarHitDragHandle && FInDock && FCurrentDock &&
        FDragHandleStyle != TBarDragHandleStyle::dhNone) {
        POINT cursor;
        GetCursorPos(&cursor);
        TPoint p = WindowPointOf(WindowHandle(), cursor);
        int reach = DragHandleWidth(FDragHandleStyle, FCloseButtonWhenDocked) + 2;
        if ((FCurrentDock->LeftRight() ? p.y : p.x) < reach) {
            ::SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEALL)));
            m.Result = 1;
            return;
        }
    }
    TCustomControl::WndProc(m);
}

void TBarCustomDockableWindow::WMNCButtonDown(TMessage& m)
{
    if (m.WParam == kBarHitDragHandle) {
        if (CanBeDragged()) {
            TPoint client = ScreenToClient(MessagePoint(m.LParam));
            StartDragLoop(client.x, client.y);
        }
        return;
    }
    if (m.WParam == kBarHitCloseButton) {
        if (TrackCloseButton())
            Close();
        return;
    }
    TCustomControl::WndProc(m);
}

void TBarCustomDockableWindow::WMNCButtonDblClk(TMessage& m)
{
    if (m.WParam == kBarHitDragHandle) {
        ToggleDockState();
        return;
    }
    TCustomControl::WndProc(m);
}

void TBarCustomDockableWindow::WMNCMouseMove(TMessage& m)
{
    bool overClose = m.WParam == kBarHitCloseButton;
    SetCloseBtnHot(overClose);
    if (overClose && WindowsVersionAtLeast(4, 10))
        RequestMouseLeave(WindowHandle(), TME_LEAVE | TME_NONCLIENT);
    TCustomControl::WndProc(m);
}

void TBarCustomDockableWindow::SetCloseBtnHot(bool value)
{
    if (value == FCloseBtnHot)
        return;
    FCloseBtnHot = value;
    RedrawNCArea();
}

void TBarCustomDockableWindow::RedrawNCArea()
{
    if (HandleAllocated() && FInDock)
        RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

bool TBarCustomDockableWindow::TrackCloseButton()
{
    if (!FCurrentDock)
        return false;
    return TrackBarButton(WindowHandle(), DockedCloseBox(FCurrentDock->LeftRight()),
                          [this](bool pushed) {
                              if (pushed == FCloseBtnPressed)
                                  return;
                              FCloseBtnPressed = pushed;
                              RedrawNCArea();
                          });
}

void TBarCustomDockableWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft && CanBeDragged()) {
        bool covered = false;
        HasControlAt(TPoint(X, Y), covered);
        if (!covered) {
            if (Shift & ssDouble) {
                ToggleDockState();
            } else if (StartDragLoop(X, Y)) {
                Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
            }
            return;
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------
// Painting the docked non-client area

TRect TBarCustomDockableWindow::DockedCloseBox(bool LeftRight)
{
    int size = DragHandleWidth(FDragHandleStyle, FCloseButtonWhenDocked) - 3;
    if (LeftRight)
        return Bounds(ClientWidth() + 2 - size, 3, size, size);
    return Bounds(3, 2, size, size);
}

void TBarCustomDockableWindow::WMNCPaint(TMessage& m)
{
    if (!FInDock) {
        TCustomControl::WndProc(m);
        return;
    }
    DrawNCArea(false, nullptr, reinterpret_cast<HRGN>(m.WParam));
    m.Result = 0;
}

void TBarCustomDockableWindow::PaintNCArea(HWND, HDC dc, void* self)
{
    static_cast<TBarCustomDockableWindow*>(self)->DrawNCArea(true, dc, nullptr);
}

void TBarCustomDockableWindow::WMPrint(TMessage& m)
{
    PaintWindowTree(WindowHandle(), reinterpret_cast<HDC>(m.WParam), m.LParam,
                    FInDock ? PaintNCArea : nullptr, this);
}

void TBarCustomDockableWindow::DrawNCArea(bool DrawToDC, HDC DC, HRGN Clip)
{
    if (!FInDock || !FCurrentDock || !HandleAllocated())
        return;
    HWND window = WindowHandle();
    std::optional<TScreenDC> own;
    if (!DrawToDC)
        own.emplace(window, GetWindowDC(window));
    HDC dc = DrawToDC ? DC : own->Handle();
    if (!dc)
        return;
    TSavedDCState saved(dc);
    if (!DrawToDC)
        SelectNCUpdateRgn(window, dc, Clip);
    const TRect r = WindowRectAtOrigin(window);
    const TRect client = ClientAreaInWindow(window);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    {
        TOwnedGdiObject fill(CreateSolidBrush(ColorToRGB(Color())));
        FillRect(dc, &r, static_cast<HBRUSH>(fill.Handle()));
    }
    TBarDock* dock = FCurrentDock;
    if (dock->HasBackdrop() && dock->BackgroundOnToolbars())
        dock->DrawBackgroundAt(dc, dock->BackgroundOrigin(this), r.Width(), r.Height());
    if (FBorderStyle == TBorderStyle::bsSingle) {
        RECT edge = r;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    }
    if (!dock->AllowDrag())
        return;
    const bool leftRight = dock->LeftRight();
    int handleWidth = DragHandleWidth(FDragHandleStyle, FCloseButtonWhenDocked);
    TRect handle = leftRight ? TRect(2, 2, r.right - 2, 2 + handleWidth)
                             : TRect(2, 2, 2 + handleWidth, r.bottom - 2);
    if (FCloseButtonWhenDocked) {
        RECT button = DockedCloseBox(leftRight);
        DrawFrameControl(dc, &button, DFC_CAPTION,
                         DFCS_CAPTIONCLOSE | (FCloseBtnPressed ? DFCS_PUSHED : 0));
        if (leftRight)
            handle.right = button.left - 1;
        else
            handle.top = button.bottom + 1;
    }
    DrawDragHandle(dc, handle, leftRight);
}

// One or two raised grip bars along the handle.
void TBarCustomDockableWindow::DrawDragHandle(HDC dc, const TRect& handle, bool leftRight)
{
    int bars = 0;
    if (FDragHandleStyle == TBarDragHandleStyle::dhSingle)
        bars = 1;
    else if (FDragHandleStyle == TBarDragHandleStyle::dhDouble)
        bars = 2;
    for (int i = 0; i < bars; ++i) {
        int start = 1 + 3 * i;
        RECT bar = leftRight ? RECT{handle.left + 1, handle.top + start, handle.right - 1,
                                    handle.top + start + 3}
                             : RECT{handle.left + start, handle.top + 1, handle.left + start + 3,
                                    handle.bottom - 1};
        if (bar.right > bar.left && bar.bottom > bar.top)
            DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
    }
}
