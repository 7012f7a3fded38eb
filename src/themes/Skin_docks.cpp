// Themed docks, toolbars, tool windows and floating frames: their view
// types and effective colours, their frames, backgrounds and floating
// frames painted through the current theme, colour passed on to their
// children, and the floating frame's snapping to the work area.
#include "Skin.h"

#include "SkinUtils.h"
#include "SkinUxThemes.h"

#include "classlib/Graphics.h"
#include "classlib/WideText.h"
#include "toolbar/BarCommon.h"

#include <cstdlib>
#include <optional>

namespace {

constexpr int kDockThemePaintsMetric = 5;
constexpr int kFrameOverBackgroundMetric = 6;
constexpr int kToolbarOverDockImageMetric = 7;
// The visual-style part of a tab page's body.
constexpr int kTabPanePart = 10;

constexpr UINT kFrameRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;

// Standing on a form or panel rather than in a dock or a floating frame.
bool StandsAlone(TBarCustomDockableWindow* window)
{
    return !window->Floating() && !window->InDock();
}

// Only a floating frame can be resized by the user.
DWORD PlaceBits(TBarCustomDockableWindow* window)
{
    if (!window->Floating())
        return 0;
    return window->Resizable() ? vkFloating | vkResizable : DWORD(vkFloating);
}

TColor DockableColor(TBarCustomDockableWindow* window, DWORD viewKind)
{
    if (window->Color() != clNone)
        return window->Color();
    if (StandsAlone(window))
        return ResolvedColor(window->Parent());
    return CurrentTheme()->ViewFillColor(viewKind);
}

void SendColorToChildren(TWinControl* window, TColor color)
{
    for (int i = 0; i < window->ControlCount(); ++i)
        window->Controls(i)->Perform(CM_PARENTCOLORCHANGED, 1, static_cast<LPARAM>(color));
}

void FillDockableBarInfo(TBarCustomDockableWindow* window, DWORD viewKind, TColor color,
                         TSkinBarInfo& info)
{
    info = {};
    info.Window = window->HandleAllocated() ? window->WindowHandle() : nullptr;
    info.ViewKindBits = viewKind;
    TBarDock* dock = window->CurrentDock();
    info.DockedVertically = dock && dock->LeftRight();
    info.AllowDrag = dock && dock->AllowDrag();
    info.BorderStyle = window->BorderStyle() == TBorderStyle::bsSingle;
    CurrentTheme()->ViewEdgeWidth(viewKind, info.BorderSize);
    info.ClientWidth = window->ClientWidth();
    info.ClientHeight = window->ClientHeight();
    info.DragHandleStyle = static_cast<int>(window->DragHandleStyle());
    if (info.AllowDrag && window->CloseButtonWhenDocked()) {
        info.CloseButtonState = scbShown;
        if (window->CloseBtnPressed())
            info.CloseButtonState |= scbPushed;
        else if (window->CloseBtnHot())
            info.CloseButtonState |= scbHot;
    }
    info.EffectiveColor = color;
}

// The docked frame: the theme paints it over the window's colour, or over
// the dock's background when the theme draws frames over backgrounds.
void DrawThemedNCArea(TBarCustomDockableWindow* window, bool drawToDC, HDC givenDC, HRGN clip,
                      const TSkinBarInfo& info)
{
    TBarDock* dock = window->CurrentDock();
    if (!window->InDock() || !dock || !window->HandleAllocated())
        return;
    HWND handle = window->WindowHandle();
    std::optional<TScreenDC> own;
    if (!drawToDC)
        own.emplace(handle, GetWindowDC(handle));
    HDC dc = drawToDC ? givenDC : own->Handle();
    if (!dc)
        return;
    TSavedDCState saved(dc);
    if (!drawToDC)
        SelectNCUpdateRgn(handle, dc, clip);
    const TRect r = WindowRectAtOrigin(handle);
    const TRect client = ClientAreaInWindow(handle);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    TCanvas canvas;
    canvas.SetHandle(dc);
    TSkinTheme* theme = CurrentTheme();
    canvas.Brush()->SetColor(info.EffectiveColor);
    if (theme->FlagMetric(kFrameOverBackgroundMetric)) {
        if (dock->HasBackdrop() && dock->BackgroundOnToolbars()) {
            dock->DrawBackgroundAt(dc, dock->BackgroundOrigin(window), r.Width(), r.Height());
            if (window->Color() == clNone && dock->Background())
                canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        } else {
            FillRectColor(dc, r, ResolvedColor(dock));
        }
    }
    theme->DrawBarEdge(&canvas, r, info);
}

// The whole frame again: a new theme may have another border.
void RefreshFrame(TBarCustomDockableWindow* window)
{
    TWinControl* frame = window;
    if (window->Floating())
        frame = window->FloatingParent();
    if (frame && frame->HandleAllocated())
        SetWindowPos(frame->WindowHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    window->Arrange();
    window->Invalidate();
}

void RedrawDockedFrame(TBarCustomDockableWindow* window)
{
    if (window->InDock() && window->HandleAllocated())
        RedrawWindow(window->WindowHandle(), nullptr, nullptr,
                     kFrameRedraw | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void AnswerColor(TMessage& message, TColor color)
{
    message.WParam = static_cast<WPARAM>(color);
    message.Result = 1;
}

// The parent's background, in dc whose coordinates are the parent's
// client coordinates; r in the same coordinates.
void PaintParentBackground(TWinControl* parent, HDC dc, const TRect& r)
{
    if (parent->HandleAllocated() &&
        SendMessageA(parent->WindowHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0))
        return;
    if (auto* dock = dynamic_cast<TBarDock*>(parent)) {
        dock->DrawBackground(dc, r);
        return;
    }
    const TColor color = ResolvedColor(parent);
    if (!VisualStyleInUse() || parent->HasState(csDesigning) || !parent->HandleAllocated()) {
        FillRectColor(dc, r, color);
        return;
    }
    const TVisualStyleEntryPoints& styles = VisualStyleEntryPoints();
    HTHEME tab =
        styles.OpenThemeData ? styles.OpenThemeData(parent->WindowHandle(), L"TAB") : nullptr;
    if (!tab) {
        FillRectColor(dc, r, color);
        return;
    }
    const TRect client = parent->ClientRect();
    styles.DrawThemeBackground(tab, dc, kTabPanePart, 0, &client, &r);
    styles.CloseThemeData(tab);
}

} // namespace

// --- Free routines -------------------------------------------------------------------

void PaintParentUnder(TControl* Control, HDC DC, const TRect& R)
{
    TWinControl* parent = Control->Parent();
    if (!parent) {
        FillRectColor(DC, R, clBtnFace);
        return;
    }
    TSavedDCState saved(DC);
    const int x = Control->Left();
    const int y = Control->Top();
    OffsetWindowOrgEx(DC, x, y, nullptr);
    TRect inParent = R;
    OffsetRect(&inParent, x, y);
    PaintParentBackground(parent, DC, inParent);
}

bool ErasesForAnother(TWinControl* Control, const TMessage& Erase)
{
    if (Erase.LParam == static_cast<LPARAM>(Erase.WParam))
        return false;
    const auto dc = reinterpret_cast<HDC>(Erase.WParam);
    return !Control->HandleAllocated() || WindowFromDC(dc) != Control->WindowHandle();
}

TPoint SnapToWorkArea(const TRect& Window, const TRect& WorkArea, int Distance)
{
    const int width = Window.Width();
    const int height = Window.Height();
    int x = Window.left;
    int y = Window.top;
    if (std::abs(WorkArea.right - (x + width)) < Distance)
        x = WorkArea.right - width;
    if (std::abs(WorkArea.bottom - (y + height)) < Distance)
        y = WorkArea.bottom - height;
    if (std::abs(x - WorkArea.left) < Distance)
        x = WorkArea.left;
    if (std::abs(y - WorkArea.top) < Distance)
        y = WorkArea.top;
    return TPoint(x, y);
}

// --- TSkinDock -------------------------------------------------------------------------

TSkinDock::TSkinDock(TComponent* AOwner) : TBarDock(AOwner)
{
    SetColor(clNone);
    ListenThemeChanges(this);
}

TSkinDock::~TSkinDock()
{
    UnlistenThemeChanges(this);
}

void TSkinDock::SetUseParentBackground(bool value)
{
    if (value == FUseParentBackground)
        return;
    FUseParentBackground = value;
    if (HandleAllocated())
        RedrawWindow(WindowHandle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool TSkinDock::ThemePaintsBack()
{
    return !Background() && Color() == clNone && CurrentTheme()->FlagMetric(kDockThemePaintsMetric);
}

bool TSkinDock::HasBackdrop()
{
    return FUseParentBackground || TBarDock::HasBackdrop() || ThemePaintsBack();
}

TColor TSkinDock::SkinColor()
{
    return Color() != clNone ? Color() : ResolvedColor(Parent());
}

void TSkinDock::DrawBackground(HDC DC, const TRect& DrawRect)
{
    if (FUseParentBackground && Parent()) {
        // DrawRect is in the parent's client coordinates already.
        PaintParentBackground(Parent(), DC, DrawRect);
        return;
    }
    if (ThemePaintsBack()) {
        TCanvas canvas;
        canvas.SetHandle(DC);
        const TPoint origin = BackgroundOrigin(this);
        CurrentTheme()->DrawDockArea(
            &canvas, TRect(origin.x, origin.y, origin.x + ClientWidth(), origin.y + ClientHeight()),
            static_cast<int>(Position()) + 1);
        return;
    }
    TBarDock::DrawBackground(DC, DrawRect);
}

void TSkinDock::EraseBackground(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (HasBackdrop())
        DrawBackgroundAt(dc, BackgroundOrigin(this), ClientWidth(), ClientHeight());
    else
        FillRectColor(dc, ClientRect(), SkinColor());
    message.Result = 1;
}

void TSkinDock::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SKIN_EFFECTIVECOLOR:
        AnswerColor(message, SkinColor());
        return;
    case WM_SKIN_THEMECHANGE:
        if (message.WParam == 3)
            InvalidateAll();
        return;
    case WM_ERASEBKGND:
        EraseBackground(message);
        return;
    case CM_COLORCHANGED:
        TBarDock::WndProc(message);
        for (int i = 0; i < ControlCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(Controls(i));
                child && child->HandleAllocated())
                RedrawWindow(child->WindowHandle(), nullptr, nullptr, kFrameRedraw);
        return;
    case WM_SIZE:
        TBarDock::WndProc(message);
        if (HasBackdrop())
            InvalidateAll();
        return;
    default:
        TBarDock::WndProc(message);
    }
}

// --- Themed dockable windows --------------------------------------------------------------

template <class Base>
TSkinDockableWindow<Base>::TSkinDockableWindow(TComponent* AOwner) : Base(AOwner)
{
    ListenThemeChanges(this);
}

template <class Base> TSkinDockableWindow<Base>::~TSkinDockableWindow()
{
    UnlistenThemeChanges(this);
}

template <class Base> TColor TSkinDockableWindow<Base>::SkinColor()
{
    return DockableColor(this, ViewKind());
}

template <class Base> void TSkinDockableWindow<Base>::FillBarInfo(TSkinBarInfo& Info)
{
    FillDockableBarInfo(this, ViewKind(), SkinColor(), Info);
}

template <class Base> void TSkinDockableWindow<Base>::DrawNCArea(bool DrawToDC, HDC DC, HRGN Clip)
{
    TSkinBarInfo info;
    FillBarInfo(info);
    DrawThemedNCArea(this, DrawToDC, DC, Clip, info);
}

template <class Base> TPoint TSkinDockableWindow<Base>::FloatFrameBorder()
{
    SIZE border = {};
    CurrentTheme()->ViewEdgeWidth(ViewKind() | vkFloating, border);
    return TPoint(border.cx, border.cy);
}

template <class Base> TBarFrameClass TSkinDockableWindow<Base>::FrameClass()
{
    return NewBarFrame<TSkinFloatingWindowParent>;
}

template <class Base> void TSkinDockableWindow<Base>::ThemeChanged(WPARAM step)
{
    if (step != 3)
        return;
    RefreshFrame(this);
    SendColorToChildren(this, SkinColor());
}

template <class Base> void TSkinDockableWindow<Base>::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SKIN_VIEWTYPE:
        message.Result = static_cast<LRESULT>(ViewKind());
        return;
    case WM_SKIN_EFFECTIVECOLOR:
        AnswerColor(message, SkinColor());
        return;
    case WM_SKIN_THEMECHANGE:
        ThemeChanged(message.WParam);
        return;
    case CM_COLORCHANGED:
        Base::WndProc(message);
        RedrawDockedFrame(this);
        SendColorToChildren(this, SkinColor());
        return;
    case CM_CONTROLCHANGE:
        Base::WndProc(message);
        // An inserted control without a colour of its own takes this one.
        if (message.LParam && this->Color() == clNone)
            reinterpret_cast<TControl*>(message.WParam)
                ->Perform(CM_PARENTCOLORCHANGED, 1, static_cast<LPARAM>(SkinColor()));
        return;
    default:
        Base::WndProc(message);
    }
}

template class TSkinDockableWindow<TBarCustomToolbar>;
template class TSkinDockableWindow<TBarToolWindow>;

// --- TSkinToolbar ------------------------------------------------------------------------

TSkinToolbar::TSkinToolbar(TComponent* AOwner) : TSkinDockableWindow(AOwner)
{
    SetColor(clNone);
    SetDblClickUndock(false);
    SetControlStyle(ControlStyle() & ~csOpaque);
}

void TSkinToolbar::SetItemTransparency(TSkinItemTransparency value)
{
    if (value == FItemTransparency)
        return;
    FItemTransparency = value;
    Invalidate();
}

DWORD TSkinToolbar::ViewKind()
{
    DWORD kind = (MenuBar() ? vkMenuBar : vkToolbar) | PlaceBits(this);
    if (FItemTransparency == TSkinItemTransparency::itDisable ||
        (FItemTransparency == TSkinItemTransparency::itAuto && StandsAlone(this)))
        kind |= vkOpaque;
    return kind;
}

void TSkinToolbar::ThemeChanged(WPARAM step)
{
    switch (step) {
    case 1:
        if (!FThemeUpdate)
            BeginUpdate();
        FThemeUpdate = true;
        break;
    case 3:
        // Only the update this toolbar began (it may have joined the
        // listeners during the change).
        if (FThemeUpdate)
            EndUpdate();
        FThemeUpdate = false;
        TSkinDockableWindow::ThemeChanged(step);
        break;
    case 4:
    case 5:
        if (MenuBar())
            Invalidate();
        break;
    default:
        break;
    }
}

void TSkinToolbar::EraseBackground(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    TBarDock* dock = CurrentDock();
    TSkinTheme* theme = CurrentTheme();
    bool underPainted = false;
    if (Color() == clNone && InDock() && dock && dock->Background() &&
        !theme->FlagMetric(kToolbarOverDockImageMetric)) {
        const TRect client = ClientAreaInWindow(WindowHandle());
        TPoint origin = dock->BackgroundOrigin(this);
        origin.x += client.left;
        origin.y += client.top;
        dock->DrawBackgroundAt(dc, origin, ClientWidth(), ClientHeight());
        underPainted = true;
    } else if (Color() == clNone && StandsAlone(this)) {
        PaintParentUnder(this, dc, ClientRect());
        underPainted = true;
    }
    RECT clip;
    GetClipBox(dc, &clip);
    TCanvas canvas;
    canvas.SetHandle(dc);
    theme->DrawViewBack(&canvas, ClientRect(), clip, SkinColor(), underPainted, ViewKind());
    message.Result = 1;
}

void TSkinToolbar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        EraseBackground(message);
        return;
    case CM_PARENTCOLORCHANGED:
        // Passed on with this toolbar's colour when it came without one.
        if (StandsAlone(this) && Color() == clNone && !message.WParam) {
            message.WParam = 1;
            message.LParam = static_cast<LPARAM>(SkinColor());
        }
        break;
    case WM_SIZE:
        TSkinDockableWindow::WndProc(message);
        if (CurrentDock() && CurrentDock()->HasBackdrop())
            for (int i = 0; i < ControlCount(); ++i)
                Controls(i)->Invalidate();
        return;
    default:
        break;
    }
    TSkinDockableWindow::WndProc(message);
}

// --- TSkinToolWindow ---------------------------------------------------------------------

TSkinToolWindow::TSkinToolWindow(TComponent* AOwner) : TSkinDockableWindow(AOwner)
{
    SetColor(clNone);
}

DWORD TSkinToolWindow::ViewKind()
{
    return vkToolWindow | PlaceBits(this);
}

void TSkinToolWindow::WndProc(TMessage& message)
{
    TSkinDockableWindow::WndProc(message);
    if (message.Msg != CM_TEXTCHANGED)
        return;
    if (Floating() && FloatingParent())
        FloatingParent()->RedrawCaption();
    else
        RedrawDockedFrame(this);
}

// --- TSkinFloatingWindowParent ------------------------------------------------------------

namespace {

int SnapDistanceOf(TBarCustomDockableWindow* window)
{
    if (auto* toolbar = dynamic_cast<TSkinDockableWindow<TBarCustomToolbar>*>(window))
        return toolbar->SnapDistance();
    if (auto* toolWindow = dynamic_cast<TSkinDockableWindow<TBarToolWindow>*>(window))
        return toolWindow->SnapDistance();
    return 0;
}

constexpr DWORD kRequestPushed = 1;
constexpr DWORD kRequestHot = 2;
constexpr DWORD kRequestButtonOnly = 4;

} // namespace

TSkinFloatFrameInfo TSkinFloatingWindowParent::MakeFrameInfo(DWORD request)
{
    TSkinFloatFrameInfo info = {};
    TBarCustomDockableWindow* hosted = HostedWindow();
    info.FrameWindow = HandleAllocated() ? WindowHandle() : nullptr;
    if (!hosted)
        return info;
    info.DockableWindow = hosted->HandleAllocated() ? hosted->WindowHandle() : nullptr;
    info.ViewKindBits = static_cast<DWORD>(SendSkinMessage(hosted, WM_SKIN_VIEWTYPE, 0, 0).Result);
    const TPoint border = hosted->FloatFrameBorder();
    info.BorderSize = SIZE{border.x, border.y};
    info.CaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
    info.CaptionShown = hosted->ShowCaption();
    info.Active = !hosted->DimCaption();
    if (hosted->CloseButton()) {
        info.CloseButtonState = scbShown;
        if (request & kRequestPushed)
            info.CloseButtonState |= scbPushed;
        else if (request & kRequestHot)
            info.CloseButtonState |= scbHot;
    }
    info.RedrawParts =
        (request & kRequestButtonOnly) ? sfpCloseButton : sfpFrame | sfpCaption | sfpCloseButton;
    info.Caption = AnsiToWide(hosted->Text());
    info.EffectiveColor = ResolvedColor(hosted);
    return info;
}

void TSkinFloatingWindowParent::DrawFrame(HDC dc, bool closePushed)
{
    PaintThemedFrame(dc, (closePushed ? kRequestPushed : 0) | (FCloseHot ? kRequestHot : 0));
}

void TSkinFloatingWindowParent::PaintThemedFrame(HDC dc, DWORD request)
{
    if (!HandleAllocated())
        return;
    const TSkinFloatFrameInfo info = MakeFrameInfo(request);
    const TRect whole = WindowRectAtOrigin(WindowHandle());
    const TRect client = ClientAreaInWindow(WindowHandle());
    TSavedDCState saved(dc);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    TCanvas canvas;
    canvas.SetHandle(dc);
    CurrentTheme()->DrawFloatFrame(&canvas, whole, info);
}

void TSkinFloatingWindowParent::SetCloseHot(bool value)
{
    if (value == FCloseHot)
        return;
    FCloseHot = value;
    if (!HandleAllocated())
        return;
    HWND window = WindowHandle();
    TScreenDC dc(window, GetWindowDC(window));
    if (dc.Handle())
        PaintThemedFrame(dc.Handle(), kRequestButtonOnly | (FCloseHot ? kRequestHot : 0));
}

void TSkinFloatingWindowParent::TrackCloseHover(const TPoint& screenPoint)
{
    if (!HandleAllocated() || !HostedWindow() || !HostedWindow()->CloseButton())
        return;
    RECT window;
    GetWindowRect(WindowHandle(), &window);
    const TBarFrameHitInfo geometry = FrameGeometry();
    if (!geometry.ShowCaption)
        return;
    const TRect button = FloatingCloseRect(geometry);
    const POINT p = {screenPoint.x - window.left, screenPoint.y - window.top};
    const bool over = PtInRect(&button, p) != FALSE;
    if (over && !FCloseHot) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_NONCLIENT, WindowHandle(), 0};
        TrackMouseEvent(&track);
    }
    SetCloseHot(over);
}

void TSkinFloatingWindowParent::Snap(WINDOWPOS& pos)
{
    const int distance = SnapDistanceOf(HostedWindow());
    if (distance <= 0 || (pos.flags & SWP_NOMOVE) || !HandleAllocated())
        return;
    RECT current;
    GetWindowRect(WindowHandle(), &current);
    const bool sameSize = (pos.flags & SWP_NOSIZE) || (pos.cx == current.right - current.left &&
                                                       pos.cy == current.bottom - current.top);
    if (!sameSize)
        return;
    MONITORINFO monitor = {sizeof(monitor)};
    if (!GetMonitorInfoA(MonitorFromWindow(WindowHandle(), MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const TRect at(pos.x, pos.y, pos.x + (current.right - current.left),
                   pos.y + (current.bottom - current.top));
    const TPoint snapped = SnapToWorkArea(at, monitor.rcWork, distance);
    pos.x = snapped.x;
    pos.y = snapped.y;
}

void TSkinFloatingWindowParent::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGING:
        Snap(*reinterpret_cast<WINDOWPOS*>(message.LParam));
        break;
    case WM_NCMOUSEMOVE: {
        const LPARAM at = message.LParam;
        TrackCloseHover(TPoint(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))));
        break;
    }
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
        SetCloseHot(false);
        break;
    default:
        break;
    }
    TBarFloatingWindowParent::WndProc(message);
}
