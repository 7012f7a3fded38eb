// Popup windows: where a popup goes (the placement rule), how an item opens
// the popup of its children, the popup view, and the popup window with its
// frame, scroll arrows, printing and animated showing.
#include "BarItem.h"

#include "BarAcc.h"
#include "BarAnim.h"
#include "BarCommon.h"

#include "classlib/Application.h"
#include "classlib/Graphics.h"
#include "classlib/ScopeExit.h"

#include <algorithm>
#include <memory>

namespace {

// The process's first popup has not been shown yet: it paints before its
// sound starts (the sound would hold up the first paint otherwise).
bool gFirstPopupSoundPending = true;

bool PopupOverlapsOpener(const TBarPopupPositionRec& rec, int x, int y)
{
    TRect popup = Bounds(x, y, rec.W, rec.H);
    RECT common;
    return IntersectRect(&common, &popup, &rec.ParentItemRect) != FALSE;
}

// How many of the opener's shown viewers lie wholly inside the popup at (x, y).
int CoveredViewers(const TBarPopupPositionRec& rec, const TBarPopupOpenerInfo& opener, int x, int y)
{
    TRect popup = Bounds(x, y, rec.W, rec.H);
    int covered = 0;
    for (const TRect& r : opener.ShownViewerRects)
        if (r.left >= popup.left && r.top >= popup.top && r.right <= popup.right &&
            r.bottom <= popup.bottom)
            ++covered;
    return covered;
}

void FitVertically(TBarPopupPositionRec& rec, const TBarPopupOpenerInfo& opener)
{
    const TRect& monitor = rec.MonitorRect;
    const TRect& item = rec.ParentItemRect;
    if (rec.Y + rec.H > monitor.bottom && !opener.Vertical) {
        int flipped = rec.PositionAsSubmenu ? item.bottom + rec.NCSizeY - rec.H : item.top - rec.H;
        if (flipped >= monitor.top)
            rec.Y = flipped;
    }
    rec.Y = std::max<int>(std::min<int>(rec.Y, monitor.bottom - rec.H), monitor.top);
}

void PlaceDropDown(TBarPopupPositionRec& rec, const TBarPopupOpenerInfo& opener)
{
    const TRect& monitor = rec.MonitorRect;
    const TRect& item = rec.ParentItemRect;
    if (!opener.Exists && rec.Alignment == bpaRight && rec.X < monitor.left)
        rec.X += rec.W;
    if (rec.X + rec.W > monitor.right)
        rec.X = (opener.Exists || rec.Alignment != bpaLeft) ? monitor.right - rec.W : rec.X - rec.W;
    rec.X = std::max<int>(rec.X, monitor.left);
    if (!opener.Vertical) {
        int above = item.top - rec.H;
        if (above >= monitor.top && (CoveredViewers(rec, opener, rec.X, above) <
                                         CoveredViewers(rec, opener, rec.X, rec.Y) ||
                                     PopupOverlapsOpener(rec, rec.X, rec.Y)))
            rec.Y = above;
        if (PopupOverlapsOpener(rec, rec.X, rec.Y)) {
            rec.X = item.right + rec.W > monitor.right ? item.left - rec.W : item.right;
            rec.X = std::max<int>(rec.X, monitor.left);
        }
        return;
    }
    int beside = item.right;
    if (beside + rec.W <= monitor.right &&
        (CoveredViewers(rec, opener, beside, rec.Y) < CoveredViewers(rec, opener, rec.X, rec.Y) ||
         PopupOverlapsOpener(rec, rec.X, rec.Y)))
        rec.X = beside;
    if (PopupOverlapsOpener(rec, rec.X, rec.Y)) {
        rec.Y = item.bottom + rec.H > monitor.bottom ? item.top - rec.H : item.bottom;
        rec.Y = std::max<int>(rec.Y, monitor.top);
    }
}

// True when the submenu went to the left.
bool PlaceSubmenu(TBarPopupPositionRec& rec, const TBarPopupOpenerInfo& opener)
{
    const TRect& monitor = rec.MonitorRect;
    bool leftward = false;
    for (;;) {
        if (!rec.Opposite && rec.X + rec.W <= monitor.right)
            break;
        int x = (opener.Exists ? rec.ParentItemRect.left + rec.NCSizeX : rec.X) - rec.W;
        // A submenu that only inherited the leftward way and finds no room
        // there tries the right again.
        if (x < monitor.left && rec.Opposite) {
            rec.Opposite = false;
            continue;
        }
        rec.X = x;
        leftward = true;
        break;
    }
    rec.X = std::max<int>(rec.X, monitor.left);
    return leftward;
}

BYTE AnimationDirectionOf(const TBarPopupPositionRec& rec)
{
    const TRect& item = rec.ParentItemRect;
    if (rec.PositionAsSubmenu)
        return 2 * rec.X + rec.W < item.left + item.right ? badLeftward : badRightward;
    BYTE direction = 0;
    if (rec.Y >= item.bottom)
        direction |= badDownward;
    else if (rec.Y + rec.H <= item.top)
        direction |= badUpward;
    if (rec.X >= item.right)
        direction |= badRightward;
    else if (rec.X + rec.W <= item.left)
        direction |= badLeftward;
    return direction;
}

TBarPopupOpenerInfo OpenerInfo(TBarView* view)
{
    TBarPopupOpenerInfo info;
    if (!view)
        return info;
    info.Exists = true;
    info.Vertical = view->Orientation() == TBarViewOrientation::Vertical;
    view->EnsureLayout();
    TPoint origin = view->Window()->ClientToScreen(TPoint(0, 0));
    for (int i = 0; i < view->ViewerCount(); ++i) {
        TBarItemViewer* viewer = view->Viewers(i);
        if (!viewer->Shown())
            continue;
        TRect r = viewer->BoundsRect();
        OffsetRect(&r, origin.x, origin.y);
        info.ShownViewerRects.push_back(r);
    }
    return info;
}

// Where the popup starts before the placement rule moves it.
void ProposePosition(TBarPopupPositionRec& rec, TBarView* parentView, bool chevron,
                     const TPoint& at)
{
    const TRect& item = rec.ParentItemRect;
    if (!parentView) {
        rec.X = at.x;
        if (rec.Alignment == bpaRight)
            rec.X -= rec.W;
        else if (rec.Alignment == bpaCenter)
            rec.X -= rec.W / 2;
        rec.Y = at.y;
        return;
    }
    bool vertical = parentView->Orientation() == TBarViewOrientation::Vertical;
    if (rec.PositionAsSubmenu) {
        rec.X = item.right - rec.NCSizeX;
        rec.Y = item.top - rec.NCSizeY;
    } else if (chevron && !vertical) {
        rec.X = item.right - rec.W;
        rec.Y = item.bottom;
    } else if (vertical) {
        rec.X = item.left - rec.W;
        rec.Y = item.top;
    } else {
        rec.Y = item.bottom;
        rec.X = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? item.right - rec.W : item.left;
    }
}

void ShowPopup(TBarPopupWindow* window, bool playSound)
{
    bool sound = playSound && SoundEventAssigned("MenuPopup");
    if (sound && gFirstPopupSoundPending) {
        gFirstPopupSoundPending = false;
        window->SetVisible(true);
        window->Update();
        PlaySoundEvent("MenuPopup");
    } else {
        if (sound)
            PlaySoundEvent("MenuPopup");
        window->SetVisible(true);
    }
    BarNotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, window->Handle(), OBJID_CLIENT, CHILDID_SELF);
    if (window->View()->Selected())
        window->View()->NotifyAccessibleFocus();
}

} // namespace

// ---------------------------------------------------------------------------
// Placement

bool PlaceBarPopup(TBarPopupPositionRec& rec, const TBarPopupOpenerInfo& opener)
{
    FitVertically(rec, opener);
    bool leftward = false;
    if (rec.PositionAsSubmenu)
        leftward = PlaceSubmenu(rec, opener);
    else
        PlaceDropDown(rec, opener);
    rec.AnimateDirection = AnimationDirectionOf(rec);
    return leftward;
}

void TBarCustomItem::PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                                      TBarPopupPositionRec& Rec)
{
    if (PlaceBarPopup(Rec, OpenerInfo(ParentView)))
        Window->View()->IncludeViewState(bvsOpensLeftward);
}

TBarPopupWindowClass TBarCustomItem::PopupClassForItem()
{
    return NewBarPopupWindow<TBarPopupWindow>;
}

// ---------------------------------------------------------------------------
// Opening a popup

TBarPopupWindow* TBarCustomItem::CreatePopup(TBarView* ParentView, TBarItemViewer* Opener,
                                             bool PositionAsSubmenu, bool SelectFirst,
                                             const TPoint& At, BYTE Alignment)
{
    TBarCustomItem* source = GetChildSource();
    if (source != this)
        source->DoPopup(this, true);
    DoPopup(this, false);

    TBarView* chevronParent = OverflowOwnerView();
    TBarCustomItem* shown = chevronParent ? chevronParent->ParentItem() : this;
    TBarPopupPositionRec rec;
    rec.PositionAsSubmenu = PositionAsSubmenu;
    rec.Alignment = Alignment;
    rec.Opposite = ParentView && ParentView->HasViewState(bvsOpensLeftward);

    std::unique_ptr<TBarPopupWindow> window(PopupClassForItem()(
        nullptr, ParentView, shown, ParentView ? ParentView->Customizing() : false));
    const SIZE frame = window->FrameSize();
    rec.NCSizeX = frame.cx;
    rec.NCSizeY = frame.cy;
    TBarPopupView* view = window->View();
    if (chevronParent) {
        view->SetChevronParentView(chevronParent);
        view->SetToolbarLayout(true);
        view->SetViewStyle((view->ViewStyle() & ~bvsShowAllHints) |
                           (chevronParent->ViewStyle() & bvsShowAllHints));
        window->SetColor(clBtnFace);
    }

    if (ParentView && Opener) {
        ParentView->EnsureLayout();
        TPoint origin = ParentView->Window()->ClientToScreen(TPoint(0, 0));
        rec.ParentItemRect = Opener->BoundsRect();
        OffsetRect(&rec.ParentItemRect, origin.x, origin.y);
        auto* parentPopup = dynamic_cast<TBarPopupView*>(ParentView);
        rec.MonitorRect = parentPopup && !parentPopup->MonitorRect().IsEmpty()
                              ? parentPopup->MonitorRect()
                              : MonitorRectForRect(rec.ParentItemRect, true);
    } else {
        rec.ParentItemRect = TRect(At.x, At.y, At.x, At.y);
        rec.MonitorRect = MonitorRectAtPoint(At, true);
    }
    view->SetMonitorRect(rec.MonitorRect);
    if (chevronParent)
        view->SetWrapWidth(rec.MonitorRect.Width() - 2 * rec.NCSizeX);
    else
        view->SetMaxHeight(rec.MonitorRect.Height() - 2 * rec.NCSizeY);

    if (SelectFirst)
        if (TBarItemViewer* first = view->InitialViewer())
            view->ChangeSelection(first, false);
    TPoint content;
    view->UpdatePositions(content);
    rec.W = window->Width();
    rec.H = window->Height();
    ProposePosition(rec, ParentView && Opener ? ParentView : nullptr, chevronParent != nullptr, At);
    PlacePopupWindow(ParentView && Opener ? ParentView : nullptr, window.get(), rec);
    window->SetAnimationDirection(rec.AnimateDirection);
    window->SetBounds(rec.X, rec.Y, rec.W, rec.H);

    TBarPopupWindow* result = window.get();
    if (ParentView && Opener) {
        // From here on the opening view owns the window.
        ParentView->SetOpenPopup(Opener, view, window.release());
        ShowPopup(result, rec.PlaySound);
        return result;
    }
    ShowPopup(result, rec.PlaySound);
    return window.release();
}

// ---------------------------------------------------------------------------
// TBarPopupView

TBarPopupView::TBarPopupView(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* ParentItem,
                             TWinControl* Window, bool Customizing)
    : TBarView(AOwner, ParentView, ParentItem, Window, false, Customizing, false)
{
}

TFont* TBarPopupView::GetFont()
{
    return Window()->Font();
}

void TBarPopupView::AutoSize(int Width, int Height)
{
    TWinControl* window = Window();
    auto* popup = dynamic_cast<TBarPopupWindow*>(window);
    const SIZE frame = popup ? popup->FrameSize() : SIZE{kBarPopupBorder, kBarPopupBorder};
    window->SetBounds(window->Left(), window->Top(), Width + 2 * frame.cx, Height + 2 * frame.cy);
}

// ---------------------------------------------------------------------------
// TBarPopupWindow

TBarPopupWindow::TBarPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                                 bool Customizing, TBarPopupViewClass ViewClass)
    : TCustomControl(AOwner)
{
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetShowHint(true);
    SetColor(clMenu);
    if (TFont* font = ParentView ? ParentView->GetFont() : BarMenuFont())
        Font()->Assign(font);
    FView = ViewClass(nullptr, ParentView, Item, this, Customizing);
    FView->IncludeViewState(bvsModal);
    if (ParentView) {
        FView->SetViewStyle(FView->ViewStyle() |
                            (ParentView->ViewStyle() & bvsHideAccelsUntilKeys));
        if (ParentView->HasViewState(bvsShowAccelerators))
            FView->IncludeViewState(bvsShowAccelerators);
    }
}

TBarPopupWindow::~TBarPopupWindow()
{
    FView->ShutChildPopups();
    // While this class still stands: its handle's end stops the animation
    // and the timers and tells screen readers.
    DestroyHandle();
    delete FView;
    FView = nullptr;
}

void TBarPopupWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    // Shown only through CM_SHOWINGCHANGED, which may animate it.
    params.Style = (params.Style & ~(WS_CHILD | WS_TABSTOP | WS_GROUP | WS_VISIBLE)) | WS_POPUP;
    params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    params.WindowClass.style |= CS_SAVEBITS;
    if (OsIsXPOrNewer())
        params.WindowClass.style |= CS_DROPSHADOW;
    params.WndParent =
        Application && Application->Handle() ? Application->Handle() : GetDesktopWindow();
}

void TBarPopupWindow::CreateWnd()
{
    TCustomControl::CreateWnd();
    if (FView->ParentView())
        return;
    // A menu standing alone follows the system's keyboard cues.
    HWND window = WindowHandle();
    SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    LRESULT state = SendMessageA(window, WM_QUERYUISTATE, 0, 0);
    if (!(state & UISF_HIDEACCEL))
        FView->IncludeViewState(bvsShowAccelerators);
}

void TBarPopupWindow::DestroyWindowHandle()
{
    HWND window = WindowHandle();
    if (window) {
        BarPopupRevealCancel(window);
        for (int timer = bvtOpen; timer <= bvtScrollDown; ++timer)
            FView->StopTimer(static_cast<TBarViewTimer>(timer));
        BarNotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, window, OBJID_CLIENT, CHILDID_SELF);
    }
    TCustomControl::DestroyWindowHandle();
}

void TBarPopupWindow::Paint()
{
    FView->DrawItems(Canvas());
    DrawScrollArrows();
}

void TBarPopupWindow::DrawScrollArrows()
{
    TCanvas* canvas = Canvas();
    TRect client = ClientRect();
    auto strip = [&](const TRect& r, bool up) {
        canvas->Brush()->SetColor(EffectiveColor());
        canvas->FillRect(r);
        int x = r.left + (r.Width() - 7) / 2;
        int y = r.top + (r.Height() - 4) / 2;
        POINT upward[3] = {{x + 3, y}, {x, y + 3}, {x + 6, y + 3}};
        POINT downward[3] = {{x, y}, {x + 6, y}, {x + 3, y + 3}};
        canvas->Brush()->SetColor(clMenuText);
        canvas->Pen()->SetColor(clMenuText);
        canvas->Polygon(up ? upward : downward, 3);
    };
    if (FView->ShowsUpArrow())
        strip(TRect(0, 0, client.right, kBarScrollArrowHeight), true);
    if (FView->ShowsDownArrow())
        strip(TRect(0, client.bottom - kBarScrollArrowHeight, client.right, client.bottom), false);
}

void TBarPopupWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        return;
    case WM_NCPAINT:
        WMNCPaint(message);
        return;
    case WM_PRINT:
        WMPrint(message);
        return;
    case WM_PRINTCLIENT:
        Perform(WM_PAINT, message.WParam, 0);
        return;
    case WM_ERASEBKGND:
    case WM_PAINT:
        if (!FPrinting && HandleAllocated())
            BarPopupRevealCancel(WindowHandle());
        break;
    case WM_CLOSE:
        return;
    case WM_MOUSEACTIVATE:
        // A click on a menu never takes the activation from the form.
        message.Result = MA_NOACTIVATE;
        return;
    case WM_GETOBJECT:
        if (AnswerBarAccessibleObject(FView, message))
            return;
        break;
    case WM_TIMER:
        if (message.WParam >= kBarFirstTimerId &&
            message.WParam <= kBarFirstTimerId + bvtScrollDown) {
            FView->ViewTimerTick(static_cast<TBarViewTimer>(message.WParam - kBarFirstTimerId));
            return;
        }
        break;
    case CM_HINTSHOW:
        CMHintShow(message);
        return;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(message);
        return;
    case WM_BAR_ANIMFRAME:
        BarPopupRevealFrame(WindowHandle(), message.LParam);
        return;
    case WM_BAR_ANIMDONE:
        Perform(WM_BAR_POPUPSHOWN, 2, 0);
        return;
    default:
        break;
    }
    TCustomControl::WndProc(message);
}

void TBarPopupWindow::WMNCCalcSize(TMessage& m)
{
    auto* r = reinterpret_cast<RECT*>(m.LParam); // the first rectangle of either form
    const SIZE frame = FrameSize();
    InflateRect(r, -frame.cx, -frame.cy);
    m.Result = 0;
}

void TBarPopupWindow::WMNCPaint(TMessage& m)
{
    HWND window = WindowHandle();
    {
        TScreenDC dc(window, GetWindowDC(window));
        if (!dc.Handle())
            return;
        SelectNCUpdateRgn(window, dc.Handle(), reinterpret_cast<HRGN>(m.WParam));
        DrawFrame(dc.Handle());
    }
    m.Result = 0;
}

void TBarPopupWindow::WMPrint(TMessage& m)
{
    // The paints it sends are for the picture, not the screen: they must not
    // end an animation that is taking its snapshot.
    FPrinting = true;
    TScopeExit printed([this] { FPrinting = false; });
    PaintWindowTree(
        WindowHandle(), reinterpret_cast<HDC>(m.WParam), m.LParam,
        [](HWND, HDC dc, void* window) { static_cast<TBarPopupWindow*>(window)->DrawFrame(dc); },
        this);
}

SIZE TBarPopupWindow::FrameSize()
{
    return SIZE{kBarPopupBorder, kBarPopupBorder};
}

void TBarPopupWindow::DrawFrame(HDC dc)
{
    DrawBarPopupFrame(WindowHandle(), dc, EffectiveColor());
}

void TBarPopupWindow::CMHintShow(TMessage& m)
{
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    TBarItemViewer* selected = FView->Selected();
    if (!selected) {
        m.Result = 1;
        return;
    }
    info->HintStr = selected->ShownHint();
    info->CursorRect = selected->BoundsRect();
    m.Result = info->HintStr.empty() ? 1 : 0;
}

void TBarPopupWindow::CMShowingChanged(TMessage&)
{
    HWND window = WindowHandle();
    if (!window)
        return;
    if (!Visible()) {
        BarPopupRevealCancel(window);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        return;
    }
    TBarView* parent = FView->ParentView();
    bool animate = !FView->Selected() && !IsWindowVisible(window) &&
                   !(parent && parent->HasViewState(bvsPopupJustClosed)) && MenuAnimationOn();
    if (animate) {
        bool fade = MenuFadeOn() && BoundUpdateLayeredWindow();
        if ((fade || FAnimationDirection != 0) && Perform(WM_BAR_POPUPSHOWN, 1, 0) == 0) {
            BarPopupRevealBegin(window, fade, FAnimationDirection);
            return;
        }
    }
    ShowAtOnce();
}

void TBarPopupWindow::ShowAtOnce()
{
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    Perform(WM_BAR_POPUPSHOWN, 3, 0);
}

void DrawBarPopupFrame(HWND window, HDC dc, TColor windowColor)
{
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    if (FlatMenuStyleOn()) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        HBRUSH ring = CreateSolidBrush(ColorToRGB(windowColor));
        for (int i = 0; i < 2; ++i) {
            InflateRect(&r, -1, -1);
            FrameRect(dc, &r, ring);
        }
        DeleteObject(ring);
        return;
    }
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
}
