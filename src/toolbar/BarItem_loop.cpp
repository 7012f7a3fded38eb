// The menu loop: the modal handler that owns the mouse while a menu is
// open, a popup standing alone (TBarCustomItem::Popup, TBarPopupMenu) and a
// toolbar's loop (BeginToolbarTracking). A done action runs only after every
// popup of the menu is gone.
//
// A handler may outlive the views it serves: a click handler or a foreign
// message may free the toolbar whose loop runs. The root view is watched,
// and once it goes the loop ends without touching any view.
#include "BarItem.h"

#include "BarAcc.h"
#include "BarCommon.h"

#include "classlib/Application.h"
#include "classlib/HiddenWindow.h"
#include "classlib/HintWindow.h"
#include "classlib/ScopeExit.h"
#include "classlib/ShortCut.h"

#include <atomic>
#include <imm.h>
#include <memory>
#include <windowsx.h>

namespace {

constexpr UINT kHelpKeyMessage = 0x4D; // WM_KEYF1
constexpr UINT kScrollIntervalMs = 100;

using TLockSetForegroundWindow = BOOL(WINAPI*)(UINT);

std::atomic<bool> gLockBound{false};
std::atomic<TLockSetForegroundWindow> gLockSetForegroundWindow{nullptr};

TLockSetForegroundWindow BoundLockSetForegroundWindow()
{
    if (!gLockBound.exchange(true))
        gLockSetForegroundWindow =
            reinterpret_cast<TLockSetForegroundWindow>(reinterpret_cast<void*>(
                GetProcAddress(GetModuleHandleA("user32.dll"), "LockSetForegroundWindow")));
    return gLockSetForegroundWindow.load();
}

void LockForeground(UINT code)
{
    if (TLockSetForegroundWindow lock = BoundLockSetForegroundWindow())
        lock(code);
}

HWND ViewWindowHandle(TBarView* view)
{
    TWinControl* window = view->Window();
    return window && window->HandleAllocated() ? window->WindowHandle() : nullptr;
}

bool PointInWindow(HWND window, const TPoint& screen)
{
    RECT r;
    return window && GetWindowRect(window, &r) && PtInRect(&r, screen);
}

bool PointInClient(HWND window, const TPoint& screen)
{
    RECT r;
    POINT client = screen;
    return window && GetClientRect(window, &r) && ScreenToClient(window, &client) &&
           PtInRect(&r, client);
}

// The views of the open chain, from the root down.
std::vector<TBarView*> OpenChain(TBarView* root)
{
    std::vector<TBarView*> chain;
    for (TBarView* view = root; view; view = view->OpenChildView())
        chain.push_back(view);
    return chain;
}

bool IsHotTrackable(TBarItemViewer* viewer)
{
    return viewer && viewer->Item()->HasTrait(HotTrackable);
}

} // namespace

// ---------------------------------------------------------------------------
// TBarModalHandler

TBarModalHandler::TBarModalHandler(TWinControl* window)
{
    DWORD position = GetMessagePos();
    FLastMousePos = TPoint(GET_X_LPARAM(position), GET_Y_LPARAM(position));
    if (window) {
        FWindow = window->Handle();
    } else {
        FWindow = AllocateHWnd(TWndMethod(this, &TBarModalHandler::WindowMessage));
        FOwnWindow = true;
    }
    LockForeground(LSFW_LOCK);
    SetCapture(FWindow);
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    BarNotifyWinEvent(EVENT_SYSTEM_MENUSTART, FWindow, OBJID_CLIENT, CHILDID_SELF);
    FMenuStartSent = true;
}

TBarModalHandler::~TBarModalHandler()
{
    LockForeground(LSFW_UNLOCK);
    if (GetCapture() == FWindow)
        ReleaseCapture();
    if (FMenuStartSent)
        BarNotifyWinEvent(EVENT_SYSTEM_MENUEND, FWindow, OBJID_CLIENT, CHILDID_SELF);
    if (FOwnWindow)
        DeallocateHWnd(FWindow);
}

void TBarModalHandler::WindowMessage(TMessage& message)
{
    if (message.Msg == WM_CANCELMODE) {
        AbortMenuChain();
        message.Result = 0;
        return;
    }
    DefaultHiddenWindowHandling(FWindow, message);
}

void TBarModalHandler::AbortMenuChain()
{
    if (FRoot && !RootGone()) {
        FRoot->EndModal();
        for (TBarView* view : OpenChain(FRoot))
            if (view->IsPopup())
                view->Window()->SetVisible(false);
        return;
    }
    if (FRootPopup)
        FRootPopup->SetVisible(false);
}

bool TBarModalHandler::Loop(TBarView* RootView, bool StartedByMouse, bool TrackRightButton,
                            bool WithoutPriorityMove, bool ExecuteSelection)
{
    FRootWatch = std::make_unique<TBarFreeWatch>(RootView);
    FRoot = RootView;
    FTrackRightButton = TrackRightButton;
    FNoPriorityMove = WithoutPriorityMove;
    FMouseDownOnMenu = false;
    {
        TScopeExit finished([this] { FinishLoop(); });
        FRoot->ClearDoneAction();
        FRoot->EnsureLayout();
        FRoot->SetModalHandler(this);
        RunLoop(StartedByMouse, ExecuteSelection);
    }
    return !RootGone();
}

bool TBarModalHandler::RootGone() const
{
    return FRootWatch && FRootWatch->Gone();
}

bool TBarModalHandler::LoopShouldRun(HWND activeWindow) const
{
    return !RootGone() && GetCapture() == FWindow && GetActiveWindow() == activeWindow &&
           FRoot->DoneAction().Kind == TBarLoopResultKind::None;
}

void TBarModalHandler::RunLoop(bool startedByMouse, bool executeSelection)
{
    if (startedByMouse) {
        if (TBarItemViewer* viewer = FRoot->Selected()) {
            TPoint p = ViewerPoint(FRoot, viewer, FLastMousePos);
            bool downOnMenu = false;
            viewer->MouseDown(ssLeft, p.x, p.y, downOnMenu);
            FMouseDownOnMenu = downOnMenu;
        }
    } else if (executeSelection) {
        FRoot->RunSelectedItem(!FNoPriorityMove);
    }
    HWND activeWindow = GetActiveWindow();
    while (LoopShouldRun(activeWindow)) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        // The press stays queued for the window it was meant for.
        if (PressEndsLoop(msg))
            break;
        if (!PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE))
            continue;
        if (msg.message == WM_QUIT) {
            // The loop outside must see it too.
            FRoot->EndModal();
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        HandleMessage(msg);
        if (!LoopShouldRun(activeWindow))
            break;
        if (FRoot->MousePosInvalid()) {
            FRoot->SetMousePosInvalid(false);
            POINT cursor;
            GetCursorPos(&cursor);
            FLastMousePos = cursor;
            TrackHotViewers(FLastMousePos);
            if (!LoopShouldRun(activeWindow))
                break;
        }
        if (Application) {
            TBarItemViewer* selected = FRoot->DeepestOpenView()->Selected();
            Application->SetHint(selected ? GetLongHint(selected->Item()->Hint()) : AnsiString());
        }
    }
}

void TBarModalHandler::FinishLoop()
{
    if (!RootGone()) {
        FRoot->ReleaseMouse();
        FRoot->SetModalHandler(nullptr);
    }
    FRoot = nullptr;
    if (Application)
        Application->SetHint(AnsiString());
    RemoveMessages(WM_CHAR, WM_DEADCHAR);
    RemoveMessages(WM_SYSCHAR, WM_SYSDEADCHAR);
    RemoveMessages(kHelpKeyMessage, kHelpKeyMessage);
}

bool TBarModalHandler::PressEndsLoop(const MSG& msg)
{
    if (msg.message != WM_LBUTTONDOWN && msg.message != WM_RBUTTONDOWN)
        return false;
    TPoint screen = msg.pt;
    for (TBarView* view : OpenChain(FRoot))
        if (view->IsPopup() && PointInWindow(ViewWindowHandle(view), screen))
            return false;
    bool ends = true;
    HWND rootWindow = ViewWindowHandle(FRoot);
    if (!FRoot->IsPopup() && PointInWindow(rootWindow, screen)) {
        ends = !PointInClient(rootWindow, screen);
        if (!ends && msg.message == WM_LBUTTONDOWN) {
            FLastMousePos = screen;
            TrackHotViewers(screen);
            if (RootGone())
                return true;
            TBarItemViewer* selected = FRoot->Selected();
            TBarItemViewer* under = FRoot->ViewerAtPixel(FRoot->Window()->ScreenToClient(screen));
            ends = !selected || under != selected || selected->Item()->HasTrait(IgnoresMouseUp);
        }
    }
    if (ends && !RootGone())
        FRoot->EndModal();
    return ends;
}

void TBarModalHandler::HandleMessage(MSG& msg)
{
    switch (msg.message) {
    case WM_TIMER:
        HandleTimer(msg);
        return;
    case kHelpKeyMessage:
    case WM_CONTEXTMENU:
        return;
    case WM_MOUSEMOVE:
        HandleMouseMove(msg);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        HandleButtonDown(msg, msg.message == WM_LBUTTONDBLCLK);
        return;
    case WM_RBUTTONDOWN:
        if (FTrackRightButton)
            HandleButtonDown(msg, false);
        return;
    case WM_LBUTTONUP:
        HandleButtonUp(msg);
        return;
    case WM_RBUTTONUP:
        if (FTrackRightButton)
            HandleButtonUp(msg);
        return;
    case WM_MOUSEWHEEL:
        HandleWheel(msg);
        return;
    default:
        break;
    }
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        HandleKey(msg);
        return;
    }
    // The other buttons mean nothing to a menu; their messages belong to
    // the capture window, which must not act on them meanwhile.
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
        return;
    DispatchMessageA(&msg);
}

void TBarModalHandler::HandleTimer(MSG& msg)
{
    if (msg.hwnd && msg.wParam >= kBarFirstTimerId &&
        msg.wParam <= kBarFirstTimerId + bvtScrollDown)
        for (TBarView* view : OpenChain(FRoot))
            if (ViewWindowHandle(view) == msg.hwnd) {
                view->ViewTimerTick(static_cast<TBarViewTimer>(msg.wParam - kBarFirstTimerId));
                return;
            }
    DispatchMessageA(&msg);
}

bool TBarModalHandler::KeysHeldBack()
{
    TShiftState state = KeyboardShiftState();
    return (state & ssLeft) || (FTrackRightButton && (state & ssRight));
}

void TBarModalHandler::HandleKey(MSG& msg)
{
    if (Application)
        Application->CancelHint();
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        HandleKeyDown(msg);
        return;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (!KeysHeldBack())
            HandleChar(msg);
        return;
    default:
        return;
    }
}

void TBarModalHandler::HandleKeyDown(MSG& msg)
{
    auto key = static_cast<WORD>(msg.wParam);
    if (key == VK_PROCESSKEY)
        key = static_cast<WORD>(ImmGetVirtualKey(msg.hwnd));
    if (key != VK_F1 && KeysHeldBack())
        return;
    TShiftState shift = KeyDataToShiftState(msg.lParam);
    TBarView* deepest = FRoot->DeepestOpenView();
    if (TBarItemViewer* selected = deepest->Selected())
        selected->KeyDown(key, shift);
    // The viewer may have closed its level.
    if (key != 0 && !RootGone() && FRoot->DeepestOpenView() == deepest)
        deepest->KeyDown(key, shift);
    if (RootGone() || FRoot->DoneAction().Kind != TBarLoopResultKind::None)
        return;
    if (key != 0)
        TranslateMessage(&msg);
}

void TBarModalHandler::HandleChar(const MSG& msg)
{
    auto typed = static_cast<char>(msg.wParam);
    TBarView* deepest = FRoot->DeepestOpenView();
    bool unique = false;
    if (TBarItemViewer* found = deepest->ViewerForTypedChar(typed, false, unique)) {
        deepest->ChangeSelection(found, false);
        deepest->RevealSelection();
        if (unique)
            deepest->RunSelectedItem(!FNoPriorityMove);
        return;
    }
    if ((typed == ' ' || typed == '-') && deepest == FRoot && !FRoot->IsPopup()) {
        if (HWND active = GetActiveWindow()) {
            FRoot->FinishForSystemMenu(active, typed);
            return;
        }
    }
    BarBeep();
}

TPoint TBarModalHandler::ViewerPoint(TBarView* view, TBarItemViewer* viewer, const TPoint& screen)
{
    TPoint client = view->Window()->ScreenToClient(screen);
    return TPoint(client.x - viewer->BoundsRect().left, client.y - viewer->BoundsRect().top);
}

TBarModalHandler::TMouseTarget TBarModalHandler::MouseTarget(const TPoint& screen)
{
    TMouseTarget target;
    std::vector<TBarView*> chain = OpenChain(FRoot);
    for (auto it = chain.rbegin(); it != chain.rend() && !target.View; ++it)
        if ((*it)->Capturing()) {
            target.View = *it;
            target.Viewer = target.View->Selected();
        }
    for (auto it = chain.rbegin(); it != chain.rend() && !target.View; ++it) {
        if ((*it)->Selected() && (*it)->MouseInButtonPart()) {
            target.View = *it;
            target.Viewer = target.View->Selected();
        } else if ((*it)->HasViewState(bvsMouseOver)) {
            target.View = *it;
        }
    }
    if (target.Viewer)
        target.Point = ViewerPoint(target.View, target.Viewer, screen);
    return target;
}

bool TBarModalHandler::FollowMouse(const TPoint& screen)
{
    if (!(screen == FLastMousePos)) {
        FLastMousePos = screen;
        TrackHotViewers(screen);
    }
    return !RootGone();
}

void TBarModalHandler::HandleMouseMove(const MSG& msg)
{
    TPoint screen = msg.pt;
    if (!FollowMouse(screen))
        return;
    TMouseTarget target = MouseTarget(screen);
    if (target.Viewer)
        target.Viewer->MouseMove(target.Point.x, target.Point.y);
}

void TBarModalHandler::HandleButtonDown(const MSG& msg, bool doubleClick)
{
    if (Application)
        Application->CancelHint();
    FRoot->ExcludeViewState(bvsIgnoreMouseUp);
    TPoint screen = msg.pt;
    // A press where the mouse did not move to first still picks what it is on.
    if (!FollowMouse(screen))
        return;
    TMouseTarget target = MouseTarget(screen);
    for (TBarView* view : OpenChain(FRoot))
        if (view != target.View)
            view->CancelCapture();
    if (target.Viewer) {
        TShiftState shift = MouseShiftState(msg.wParam);
        if (doubleClick)
            shift |= ssDouble;
        bool downOnMenu = false;
        target.Viewer->MouseDown(shift, target.Point.x, target.Point.y, downOnMenu);
        FMouseDownOnMenu = downOnMenu;
    }
    FLastMousePos = screen;
}

void TBarModalHandler::HandleButtonUp(const MSG& msg)
{
    TPoint screen = msg.pt;
    if (!FollowMouse(screen))
        return;
    TMouseTarget target = MouseTarget(screen);
    if (target.Viewer) {
        target.Viewer->MouseUp(target.Point.x, target.Point.y, FMouseDownOnMenu);
        return;
    }
    if (target.View != FRoot || !FRoot->IsToolbar())
        return;
    if (FRoot->HasViewState(bvsIgnoreMouseUp))
        FRoot->ExcludeViewState(bvsIgnoreMouseUp);
    else
        FRoot->EndModal();
}

void TBarModalHandler::HandleWheel(const MSG& msg)
{
    int delta = GET_WHEEL_DELTA_WPARAM(msg.wParam);
    TPoint screen(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
    TMouseTarget target = MouseTarget(screen);
    bool handled = false;
    if (target.Viewer)
        target.Viewer->MouseWheel(delta, handled, screen);
    if (!handled && target.View) {
        TPoint client = target.View->Window()->ScreenToClient(screen);
        target.View->MouseWheel(delta, client.x, client.y);
    }
}

void TBarModalHandler::TrackHotViewers(const TPoint& screen)
{
    HWND under = WindowFromPoint(screen);
    TBarView* cursorView = nullptr;
    bool cursorSelectionChanged = false;
    // A selection change may close the views below: each next view is
    // looked up after its parent is done.
    for (TBarView* view = FRoot; view; view = view->OpenChildView()) {
        HWND window = ViewWindowHandle(view);
        bool over = window && (under == window || IsChild(window, under));
        bool wasOver = view->HasViewState(bvsMouseOver);
        if (over)
            view->IncludeViewState(bvsMouseOver);
        else
            view->ExcludeViewState(bvsMouseOver);
        TPoint client = window ? view->Window()->ScreenToClient(screen) : TPoint();
        TBarItemViewer* current = view->Selected();
        TBarItemViewer* next = current;
        if (!view->Capturing()) {
            if (over) {
                if (view->IsPopup())
                    next = nullptr;
                TBarItemViewer* at = view->ViewerAtPixel(client);
                if (IsHotTrackable(at))
                    next = at;
            } else if (view->IsPopup() && wasOver && current != view->OpenViewer()) {
                next = nullptr;
            }
        }
        // Also with the selection kept: whether the mouse is in its button
        // part follows the cursor (a press dragged off the item must not
        // click it on release).
        view->ChangeSelection(next, true);
        if (RootGone())
            return;
        if (view->IsPopup()) {
            int height = view->Window()->ClientHeight();
            bool up = over && view->ShowsUpArrow() && client.y < kBarScrollArrowHeight;
            bool down =
                over && view->ShowsDownArrow() && client.y >= height - kBarScrollArrowHeight;
            if (up && !view->TimerRunning(bvtScrollUp))
                view->StartTimer(bvtScrollUp, kScrollIntervalMs);
            if (down && !view->TimerRunning(bvtScrollDown))
                view->StartTimer(bvtScrollDown, kScrollIntervalMs);
            if (!up)
                view->StopTimer(bvtScrollUp);
            if (!down)
                view->StopTimer(bvtScrollDown);
        }
        if (over) {
            cursorView = view;
            cursorSelectionChanged = next != current;
        }
    }
    HCURSOR cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    TBarItemViewer* selected = cursorView ? cursorView->Selected() : nullptr;
    if (selected)
        selected->GetCursor(ViewerPoint(cursorView, selected, screen), cursor);
    SetCursor(cursor);
    if (selected && cursorSelectionChanged && Application &&
        ((cursorView->ViewStyle() & bvsShowAllHints) ||
         (selected->Item()->EffectiveOptions() & tboShowHint)))
        Application->ActivateHint(screen);
}

// ---------------------------------------------------------------------------
// Menus that use the loop

TBarCustomItem* TBarCustomItem::Popup(int X, int Y, bool TrackRightButton, BYTE Alignment,
                                      bool ReturnClickedItemOnly, bool PositionAsSubmenu)
{
    TBarLoopResult result;
    {
        TBarModalHandler handler(nullptr);
        std::unique_ptr<TBarPopupWindow> window(
            CreatePopup(nullptr, nullptr, PositionAsSubmenu, false, TPoint(X, Y), Alignment));
        handler.SetRootPopup(window.get());
        // Someone may free the popup under the loop.
        TScopeExit forgotten([&] {
            if (handler.RootGone())
                window.release();
        });
        handler.Loop(window->View(), false, TrackRightButton, false, false);
        if (handler.RootGone())
            return nullptr;
        result = window->View()->DoneAction();
        handler.SetRootPopup(nullptr);
        window.reset();
    }
    return RunMenuOutcome(result, ReturnClickedItemOnly);
}

void TBarView::BeginToolbarTracking(BYTE Options)
{
    if (FModalHandler)
        return;
    TBarModalHandler handler(FWindow);
    SetViewState(FState & bvsShowAccelerators);
    IncludeViewState(bvsModal);
    ClearDoneAction();
    NotifyAccessibleFocus();
    TBarLoopResult result;
    {
        // Freed under the loop: nothing of it may be touched.
        TScopeExit finished([this, &handler] {
            if (!handler.RootGone())
                FinishToolbarTracking();
        });
        handler.Loop(this, Options & btoStartedByMouse, false, Options & btoNoPriorityMove,
                     Options & btoExecuteSelection);
        if (handler.RootGone())
            return;
        result = FDoneAction;
    }
    RunMenuOutcome(result, false);
}

void TBarView::FinishToolbarTracking()
{
    for (int timer = bvtOpen; timer <= bvtScrollDown; ++timer)
        StopTimer(static_cast<TBarViewTimer>(timer));
    DropMenuMode();
    ExcludeViewState(bvsModal);
    POINT cursor;
    GetCursorPos(&cursor);
    HWND window = FWindow->HandleAllocated() ? FWindow->WindowHandle() : nullptr;
    if (window && WindowFromPoint(cursor) == window) {
        IncludeViewState(bvsMouseOver);
        RequestMouseLeave(window, TME_LEAVE);
    } else {
        ExcludeViewState(bvsMouseOver);
    }
    if ((FStyle & bvsHideAccelsUntilKeys) && !KeyboardCuesShown() &&
        HasViewState(bvsShowAccelerators)) {
        ExcludeViewState(bvsShowAccelerators);
        FWindow->Invalidate();
    }
    ChangeSelection(nullptr, false);
}

// ---------------------------------------------------------------------------
// TBarPopupMenu

TBarPopupMenu::TBarPopupMenu(TComponent* AOwner) : TBarPopupMenu(AOwner, new TBarRootItem(nullptr))
{
}

TBarPopupMenu::TBarPopupMenu(TComponent* AOwner, TBarRootItem* root)
    : TPopupMenuBase(AOwner), FItems(root)
{
    FItems->SetParentComponent(this);
    // Opening the menu runs the root's DoPopup, whose click is the menu's
    // popup event.
    FItems->OnClick = TNotifyEvent(this, &TBarPopupMenu::RootClicked);
}

TBarPopupMenu::~TBarPopupMenu()
{
    delete FItems;
}

void TBarPopupMenu::RootClicked(TObject*)
{
    if (OnPopup)
        OnPopup(this);
}

void TBarPopupMenu::Popup(int X, int Y)
{
    FItems->Popup(X, Y, FTrackButton == TTrackButton::tbRightButton, FAlignment, false, false);
}

bool TBarPopupMenu::IsShortCut(WORD key, TShiftState shift)
{
    return FItems->DispatchShortCut(::ShortCut(key, shift));
}
