// TBarCustomDockableWindow: where it is and how it moves between dock,
// floating frame and form; its sizing; closing and the double click; the
// visibility of its frame and the thread's list that the hooks re-evaluate.
#include "BarDock.h"

#include "BarCommon.h"
#include "BarHook.h"
#include "BarItem.h"

#include "classlib/Application.h"
#include "classlib/ScopeExit.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <cstdio>

namespace {

thread_local std::vector<TBarCustomDockableWindow*> tDockables;
// The application's activation as the last WM_ACTIVATEAPP told it (-1: not
// seen while the hook was installed). The hook sees the message before the
// application window does.
thread_local int tAppActive = -1;

bool ApplicationActive()
{
    if (tAppActive >= 0)
        return tAppActive != 0;
    return !Application || Application->Active();
}

bool IsTopFormWindowOfFloater(HWND window)
{
    for (TBarCustomDockableWindow* w : tDockables) {
        TBarFloatingWindowParent* frame = w->FloatingParent();
        TCustomForm* form = frame ? frame->FrameOwnerForm() : nullptr;
        if (form && form->HandleAllocated() && form->WindowHandle() == window)
            return true;
    }
    return false;
}

void ReevaluateFloaters()
{
    for (TBarCustomDockableWindow* w : std::vector<TBarCustomDockableWindow*>(tDockables))
        if (std::find(tDockables.begin(), tDockables.end(), w) != tDockables.end())
            w->UpdateFloatingVisibility();
}

// The shown frames owned by owner go back above it.
void PlaceFramesAboveOwner(HWND owner)
{
    for (TBarCustomDockableWindow* w : std::vector<TBarCustomDockableWindow*>(tDockables)) {
        if (std::find(tDockables.begin(), tDockables.end(), w) == tDockables.end())
            continue;
        TBarFloatingWindowParent* frame = w->FloatingParent();
        if (frame && frame->HandleAllocated() && frame->ShowWanted() &&
            GetWindow(frame->WindowHandle(), GW_OWNER) == owner)
            frame->PlaceAboveOwner();
    }
}

// Frames owned by a form that goes are owned by the application window.
void ReownFramesOf(HWND goingWindow)
{
    if (!Application)
        return;
    for (TBarCustomDockableWindow* w : tDockables) {
        TBarFloatingWindowParent* frame = w->FloatingParent();
        if (!frame || !frame->HandleAllocated())
            continue;
        HWND window = frame->WindowHandle();
        if (GetWindow(window, GW_OWNER) == goingWindow)
            SetWindowLongPtrA(window, GWLP_HWNDPARENT,
                              reinterpret_cast<LONG_PTR>(Application->Handle()));
    }
}

void DockableHook(TBarHookEventKind kind, HWND window, WPARAM wp, LPARAM)
{
    switch (kind) {
    case TBarHookEventKind::AppActivated:
        tAppActive = wp != 0 ? 1 : 0;
        ReevaluateFloaters();
        break;
    case TBarHookEventKind::WindowActivated:
        ReevaluateFloaters();
        break;
    case TBarHookEventKind::WindowPosChanged:
        // A form shown, hidden or minimised takes its frames with it.
        if (IsTopFormWindowOfFloater(window))
            ReevaluateFloaters();
        break;
    case TBarHookEventKind::WindowDestroying:
        ReownFramesOf(window);
        break;
    case TBarHookEventKind::FocusTaken:
        // The window system may have raised the focused form over its frames.
        PlaceFramesAboveOwner(GetAncestor(window, GA_ROOT));
        break;
    case TBarHookEventKind::MessageRetrieved:
        break;
    }
}

constexpr TBarHookEventKinds kDockableHookKinds =
    BarHookKind(TBarHookEventKind::AppActivated) | BarHookKind(TBarHookEventKind::WindowActivated) |
    BarHookKind(TBarHookEventKind::WindowPosChanged) |
    BarHookKind(TBarHookEventKind::WindowDestroying) | BarHookKind(TBarHookEventKind::FocusTaken);

} // namespace

const std::vector<TBarCustomDockableWindow*>& ThreadDockableWindows()
{
    return tDockables;
}

// ---------------------------------------------------------------------------
// Life

TBarCustomDockableWindow::TBarCustomDockableWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
    SetControlStyle(ControlStyle() | csAcceptsControls);
    tDockables.push_back(this);
}

TBarCustomDockableWindow::~TBarCustomDockableWindow()
{
    Destroying();
    ListRemove(tDockables, this);
    if (tDockables.empty()) {
        UnregisterThreadHook(DockableHook);
        tAppActive = -1;
    }
    if (FCurrentDock)
        FCurrentDock->RemoveWindow(this);
    if (FLastDock && FLastDock != FCurrentDock)
        FLastDock->RemoveWindow(this);
    FCurrentDock = FLastDock = nullptr;
    FInDock = false;
    TBarFloatingWindowParent* frame = FloatingParent();
    if (frame) {
        // The frame would free its children: leave it first.
        TCustomControl::SetParent(nullptr);
        FFloating = false;
        if (frame != FOwnFrame && !frame->HasState(csDestroying))
            frame->Discard();
    }
    if (FOwnFrame && !FOwnFrame->HasState(csDestroying))
        FOwnFrame->Discard();
    FOwnFrame = nullptr;
}

void TBarCustomDockableWindow::DockGoing(TBarDock* dock)
{
    if (FCurrentDock == dock) {
        FCurrentDock = nullptr;
        FInDock = false;
    }
    if (FLastDock == dock)
        FLastDock = nullptr;
    if (FDefaultDock == dock)
        FDefaultDock = nullptr;
}

void TBarCustomDockableWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TBarCustomDockableWindow::Loaded()
{
    TCustomControl::Loaded();
    PrepareOrder();
    Arrange();
}

void TBarCustomDockableWindow::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FDefaultDock)
        FDefaultDock = nullptr;
    if (AComponent == FLastDock)
        FLastDock = nullptr;
    if (AComponent == FOwnFrame)
        FOwnFrame = nullptr;
}

// ---------------------------------------------------------------------------
// Where it is

TBarHostKind TBarCustomDockableWindow::DockType() const
{
    if (FFloating)
        return TBarHostKind::hkFloat;
    if (FInDock && FCurrentDock)
        return FCurrentDock->HostKind();
    return TBarHostKind::hkNone;
}

TBarFloatingWindowParent* TBarCustomDockableWindow::FloatingParent() const
{
    return FFloating ? dynamic_cast<TBarFloatingWindowParent*>(Parent()) : nullptr;
}

TCustomForm* TBarCustomDockableWindow::TopForm() const
{
    TCustomForm* found = nullptr;
    for (TWinControl* p = Parent(); p;) {
        if (auto* frame = dynamic_cast<TBarFloatingWindowParent*>(p)) {
            p = frame->FrameOwnerForm();
            continue;
        }
        if (auto* form = dynamic_cast<TCustomForm*>(p))
            found = form;
        p = p->Parent();
    }
    return found;
}

void TBarCustomDockableWindow::SetCurrentDock(TBarDock* value)
{
    if (HasState(csLoading))
        return;
    if (value)
        SetParent(value);
    else if (TCustomForm* form = TopForm())
        SetParent(form);
}

void TBarCustomDockableWindow::SetDefaultDock(TBarDock* value)
{
    ReplaceFreeNotified(this, FDefaultDock, value);
}

void TBarCustomDockableWindow::SetLastDock(TBarDock* value)
{
    if (FUseLastDock && FInDock)
        value = FCurrentDock;
    if (value == FLastDock)
        return;
    TBarDock* old = FLastDock;
    FLastDock = value;
    if (old && old != Parent())
        old->UpdateMembership(false, this);
    if (value) {
        FUseLastDock = true;
        value->FreeNotification(this);
        value->UpdateMembership(true, this);
    }
}

void TBarCustomDockableWindow::SetFloating(bool value)
{
    if (value == FFloating)
        return;
    TCustomForm* form = TopForm();
    if (!form) {
        char text[512];
        std::snprintf(text, sizeof(text), "コントロール '%s' は親ウィンドウを持っていません",
                      Name().c_str());
        throw EInvalidOperation(text);
    }
    if (!value) {
        SetParent(form);
        return;
    }
    MakeFloatingFrame(form);
    SetParent(FOwnFrame);
    SetBounds(0, 0, Width(), Height());
}

void TBarCustomDockableWindow::MakeFloatingFrame(TCustomForm* form)
{
    if (FOwnFrame && FOwnFrame->FrameOwnerForm() == form)
        return;
    if (FOwnFrame && FOwnFrame != Parent()) {
        FOwnFrame->Discard();
        FOwnFrame = nullptr;
    }
    // The hooks serve floating frames only: a thread whose windows never
    // float does without them (under some systems every sent message pays
    // for an installed hook).
    RegisterThreadHook(DockableHook, kDockableHookKinds);
    TBarFloatingWindowParent* frame = FrameClass()(this);
    FOwnFrame = frame;
    frame->FreeNotification(this);
    char name[64];
    std::snprintf(name, sizeof(name), "NBFloatingWindowParent_%.8x",
                  static_cast<unsigned>(reinterpret_cast<UINT_PTR>(frame)));
    frame->SetName(name);
    frame->SetFrameOwnerForm(form);
    frame->SetCaption(Caption());
    frame->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    frame->SetBounds(FFloatOrigin.x, FFloatOrigin.y, Width(), Height());
    frame->HandleNeeded();
    TRect client = ClientRect();
    frame->SetClientWidth(client.Width());
    frame->SetClientHeight(client.Height());
    frame->SetShowHint(true);
    frame->SetVisible(true);
}

void TBarCustomDockableWindow::SetFloatOrigin(const TPoint& value)
{
    FFloatOrigin = value;
    if (TBarFloatingWindowParent* frame = FloatingParent())
        frame->SetBounds(value.x, value.y, frame->Width(), frame->Height());
}

void TBarCustomDockableWindow::SetDockRow(int value)
{
    SetArrangedProperty(FDockRow, value);
}

void TBarCustomDockableWindow::SetDockPos(int value)
{
    SetArrangedProperty(FDockPos, value);
}

// Every move between dock, frame and form goes through here; the window
// handle survives it.
void TBarCustomDockableWindow::SetParent(TWinControl* value)
{
    if (value == Parent()) {
        FCurrentDock = dynamic_cast<TBarDock*>(value);
        FInDock = FCurrentDock != nullptr;
        FFloating = dynamic_cast<TBarFloatingWindowParent*>(value) != nullptr;
        if (FFloating)
            SetFloatOrigin(FFloatOrigin);
        return;
    }
    const bool announced = !HasState(csDestroying) && value;
    auto* newDock = dynamic_cast<TBarDock*>(value);
    const bool newFloating = dynamic_cast<TBarFloatingWindowParent*>(value) != nullptr;
    if (announced) {
        if (OnDockChanging)
            OnDockChanging(this, newFloating, newDock);
        if (OnRecreating)
            OnRecreating(this);
    }
    ++FReparentHideCount;
    ++FMoveEventLock;
    UpdateFloatingVisibility();
    TBarDock* oldDock = FInDock ? FCurrentDock : nullptr;
    if (oldDock)
        oldDock->BeginUpdate();
    if (newDock)
        newDock->BeginUpdate();
    ++FSelfSizingDepth;
    {
        TScopeExit placed([this, oldDock, newDock] {
            --FSelfSizingDepth;
            if (newDock)
                newDock->EndUpdate();
            if (oldDock)
                oldDock->EndUpdate();
            --FReparentHideCount;
            --FMoveEventLock;
        });
        if (value) {
            if (!HasState(csDestroying))
                FireDockChangingHidden(newFloating, newDock);
            BeginUpdate();
            FGivenLength = 0;
        }
        ApplyPlace(value);
        if (value) {
            if (FFloating)
                SetFloatOrigin(FFloatOrigin);
            Arrange();
            EndUpdate();
        }
    }
    UpdateFloatingVisibility();
    if (OnMove)
        OnMove(this);
    if (announced) {
        if (OnRecreated)
            OnRecreated(this);
        if (OnDockChanged)
            OnDockChanged(this);
    }
}

void TBarCustomDockableWindow::ApplyPlace(TWinControl* value)
{
    TBarDock* oldDock = FInDock ? FCurrentDock : nullptr;
    if (oldDock) {
        if (!(FUseLastDock && oldDock == FLastDock))
            oldDock->UpdateMembership(false, this);
        oldDock->RefreshShownList(this, true);
    }
    TWinControl* oldParent = Parent();
    TCustomControl::SetParent(nullptr);
    FCurrentDock = dynamic_cast<TBarDock*>(value);
    FInDock = FCurrentDock != nullptr;
    FFloating = dynamic_cast<TBarFloatingWindowParent*>(value) != nullptr;
    FrameChanged();
    TCustomControl::SetParent(value);
    FrameChanged();
    FPlacedRow = -1;
    FreeLeftFrame(oldParent);
    if (FCurrentDock) {
        if (FUseLastDock && !FLiveDragActive) {
            SetLastDock(FCurrentDock);
            FCurrentDock->RefreshShownList(this, false);
        } else {
            FCurrentDock->UpdateMembership(true, this);
        }
    }
}

// A frame left behind goes, except during a live drag, which may come back
// to it: then it only hides.
void TBarCustomDockableWindow::FreeLeftFrame(TWinControl* oldParent)
{
    auto* frame = dynamic_cast<TBarFloatingWindowParent*>(oldParent);
    if (!frame)
        return;
    if (FLiveDragActive) {
        if (frame->HandleAllocated())
            SetWindowPos(frame->WindowHandle(), nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->SetShowWanted(false);
        return;
    }
    if (frame == FOwnFrame)
        FOwnFrame = nullptr;
    frame->Discard();
}

void TBarCustomDockableWindow::FireDockChangingHidden(bool NewFloating, TBarDock* DockingTo)
{
    if (!HasState(csDestroying) && OnDockChangingHidden)
        OnDockChangingHidden(this, NewFloating, DockingTo);
}

TBarFrameClass TBarCustomDockableWindow::FrameClass()
{
    return NewBarFrame<TBarFloatingWindowParent>;
}

bool TBarCustomDockableWindow::AcceptsDock(TBarDock* Dock)
{
    return (FDockableTo & BarDockableTo(Dock->Position())) != 0;
}

void TBarCustomDockableWindow::HasControlAt(const TPoint& Point, bool& Exists)
{
    for (int i = 0; i < ControlCount() && !Exists; ++i) {
        TControl* child = Controls(i);
        if (child->Visible() && !IgnoresChild(child) && child->BoundsRect().Contains(Point))
            Exists = true;
    }
}

bool TBarCustomDockableWindow::CanBeDragged()
{
    return (FInDock && FCurrentDock && FCurrentDock->AllowDrag()) || FFloating;
}

// ---------------------------------------------------------------------------
// Properties that change the frame or the arrangement

void TBarCustomDockableWindow::FrameChanged()
{
    if (HandleAllocated())
        SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TBarCustomDockableWindow::ArrangeDock()
{
    if (FInDock && FCurrentDock)
        FCurrentDock->LayOutRows();
}

void TBarCustomDockableWindow::SetFullSize(bool value)
{
    SetArrangedProperty(FFullSize, value);
}

void TBarCustomDockableWindow::SetStretch(bool value)
{
    SetArrangedProperty(FStretch, value);
}

void TBarCustomDockableWindow::SetBorderStyle(TBorderStyle value)
{
    SetDockedFrameProperty(FBorderStyle, value);
}

void TBarCustomDockableWindow::SetDragHandleStyle(TBarDragHandleStyle value)
{
    SetDockedFrameProperty(FDragHandleStyle, value);
}

void TBarCustomDockableWindow::SetCloseButtonWhenDocked(bool value)
{
    SetDockedFrameProperty(FCloseButtonWhenDocked, value);
}

void TBarCustomDockableWindow::SetCloseButton(bool value)
{
    FCloseButton = value;
    if (TBarFloatingWindowParent* frame = FloatingParent())
        frame->RedrawCaption();
}

void TBarCustomDockableWindow::SetShowCaption(bool value)
{
    FShowCaption = value;
    if (TBarFloatingWindowParent* frame = FloatingParent()) {
        if (frame->HandleAllocated())
            SetWindowPos(frame->WindowHandle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                             SWP_NOACTIVATE);
        Arrange();
    }
}

// The frame's sizing border is a style bit: changing it in place keeps the
// window handles of the frame and of the window inside.
void TBarCustomDockableWindow::SetResizable(bool value)
{
    if (value == FResizable)
        return;
    FResizable = value;
    TBarFloatingWindowParent* frame = FloatingParent();
    if (!frame || !frame->HandleAllocated())
        return;
    HWND window = frame->WindowHandle();
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    style = value ? (style | WS_THICKFRAME) : (style & ~WS_THICKFRAME);
    SetWindowLongPtrA(window, GWL_STYLE, style);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Arrange();
}

void TBarCustomDockableWindow::SetFloatingMode(TBarFloatingMode value)
{
    FFloatingMode = value;
    Perform(CM_SHOWINGCHANGED, 0, 0);
}

void TBarCustomDockableWindow::SetHideWhenInactive(bool value)
{
    FHideWhenInactive = value;
    UpdateFloatingVisibility();
}

// ---------------------------------------------------------------------------
// Sizing

TBarDockedFrame TBarCustomDockableWindow::DockedFrameIn(TBarDock* dock)
{
    if (!dock)
        return {};
    return DockedFrameFor(dock->AllowDrag(), dock->LeftRight(), FDragHandleStyle,
                          FCloseButtonWhenDocked);
}

void TBarCustomDockableWindow::DockedFrameExtent(TPoint& TopLeft, TPoint& BottomRight)
{
    TBarDockedFrame frame = DockedFrameIn(FInDock ? FCurrentDock : nullptr);
    TopLeft = frame.TopLeft;
    BottomRight = frame.BottomRight;
}

int TBarCustomDockableWindow::DockedBorderWidth()
{
    TPoint topLeft, bottomRight;
    DockedFrameExtent(topLeft, bottomRight);
    return topLeft.x + bottomRight.x;
}

int TBarCustomDockableWindow::GetNonClientHeight()
{
    TPoint topLeft, bottomRight;
    DockedFrameExtent(topLeft, bottomRight);
    return topLeft.y + bottomRight.y;
}

TPoint TBarCustomDockableWindow::FloatFrameBorder()
{
    if (FResizable)
        return TPoint(GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CYSIZEFRAME));
    return TPoint(GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME));
}

TPoint TBarCustomDockableWindow::FloatingNonClientSize()
{
    TPoint border = FloatFrameBorder();
    int caption = FShowCaption ? GetSystemMetrics(SM_CYSMCAPTION) : 0;
    return TPoint(2 * border.x, 2 * border.y + caption);
}

void TBarCustomDockableWindow::EndUpdate()
{
    if (FLayoutLockCount > 0 && --FLayoutLockCount == 0 && FRelayoutPending)
        Arrange();
}

void TBarCustomDockableWindow::Arrange()
{
    if (FLayoutLockCount >= 1 || HasState(csLoading) || !Parent()) {
        FRelayoutPending = true;
        return;
    }
    FRelayoutPending = false;
    TPoint size;
    LayOutContent(true, DockType(), FFloating, FInDock ? FCurrentDock : nullptr, size);
    if (FAutoResize || FInDock || FFloating)
        ApplyContentSize(size.x, size.y);
}

void TBarCustomDockableWindow::ApplyContentSize(int Width, int Height)
{
    if (FInDock) {
        ArrangeDock();
        return;
    }
    TPoint topLeft, bottomRight;
    DockedFrameExtent(topLeft, bottomRight);
    int width = Width + topLeft.x + bottomRight.x;
    int height = Height + topLeft.y + bottomRight.y;
    if (!FFloating) {
        if ((Anchors() & (akLeft | akRight)) == (akLeft | akRight))
            width = this->Width();
        if ((Anchors() & (akTop | akBottom)) == (akTop | akBottom))
            height = this->Height();
    }
    ++FSelfSizingDepth;
    TScopeExit sized([this] { --FSelfSizingDepth; });
    SetBounds(Left(), Top(), width, height);
}

void TBarCustomDockableWindow::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (TBarFloatingWindowParent* frame = FloatingParent()) {
        TRect client = frame->ClientRect();
        frame->SetBounds(frame->Left(), frame->Top(), frame->Width() - client.Width() + AWidth,
                         frame->Height() - client.Height() + AHeight);
        ALeft = 0;
        ATop = 0;
    }
    if ((AWidth != Width() || AHeight != Height()) && FSelfSizingDepth == 0)
        SizeAboutToChange(AWidth, AHeight);
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// ---------------------------------------------------------------------------
// Closing, the double click, the monitor

void TBarCustomDockableWindow::Close()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    Hide();
    if (OnClose)
        OnClose(this);
}

void TBarCustomDockableWindow::ToggleDockState()
{
    if (FInDock) {
        if (FDblClickUndock && FDockMode == TBarDockMode::dmCanFloat) {
            SetFloating(true);
            KeepOnMonitor(true);
        }
        return;
    }
    if (!FFloating)
        return;
    if (FLastDock) {
        SetCurrentDock(FLastDock);
    } else if (FDefaultDock) {
        FDockRow = 0;
        FDockPos = -8;
        SetCurrentDock(FDefaultDock);
    }
    // With neither dock the window stays floating: docking it to nothing
    // would drop it on its form, where it could not be dragged back.
}

void TBarCustomDockableWindow::KeepOnMonitor(bool OnlyIfFullyOffscreen)
{
    TBarFloatingWindowParent* frame = FloatingParent();
    if (!frame)
        return;
    const TRect bounds = frame->BoundsRect();
    const TPlainRect area = PlainRectOf(MonitorRectForRect(bounds, true));
    const TPlainRect plain = PlainRectOf(bounds);
    const TRect moved =
        RectOfPlain(OnlyIfFullyOffscreen ? BringOntoArea(plain, area) : ShiftIntoArea(plain, area));
    if (!(moved == bounds))
        SetFloatOrigin(TPoint(moved.left, moved.top));
}

// ---------------------------------------------------------------------------
// The floating frame's visibility

void TBarCustomDockableWindow::UpdateFloatingVisibility()
{
    TBarFloatingWindowParent* frame = FloatingParent();
    if (!frame || !frame->HandleAllocated())
        return;
    HWND frameWindow = frame->WindowHandle();
    TCustomForm* form = frame->FrameOwnerForm();
    HWND formWindow = form && form->HandleAllocated() ? form->WindowHandle() : nullptr;
    bool show = Visible() && FReparentHideCount == 0;
    if (show && FFloatingMode == TBarFloatingMode::fmOnTopOfParentForm)
        show = formWindow && IsWindowVisible(formWindow) && !IsIconic(formWindow);
    if (show && FHideWhenInactive)
        show = ApplicationActive();
    HWND appWindow = Application ? Application->Handle() : nullptr;
    HWND owner = (FFloatingMode == TBarFloatingMode::fmOnTopOfAllForms || !formWindow) ? appWindow
                                                                                       : formWindow;
    if (reinterpret_cast<HWND>(GetWindowLongPtrA(frameWindow, GWLP_HWNDPARENT)) != owner) {
        SetWindowLongPtrA(frameWindow, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        frame->PlaceAboveOwner();
    }
    bool topmost = FFloatingMode == TBarFloatingMode::fmOnTopOfAllForms && Enabled();
    bool isTopmost = (GetWindowLongPtrA(frameWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (topmost != isTopmost)
        SetWindowPos(frameWindow, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (show != (IsWindowVisible(frameWindow) != FALSE)) {
        bool wasActive = GetActiveWindow() == frameWindow;
        SetWindowPos(frameWindow, nullptr, 0, 0, 0, 0,
                     (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE |
                         SWP_NOZORDER | SWP_NOACTIVATE);
        // Shown while its owner came up (at the start), a frame may still
        // stand under it, or be put there when the owner's mapping is
        // reported.
        if (show) {
            frame->PlaceAboveOwner();
            frame->WatchOwnerRaise();
        }
        if (!show && wasActive)
            frame->PassActivationOn();
    }
    frame->SetShowWanted(show);
    UpdateDimCaption();
}

void TBarCustomDockableWindow::UpdateDimCaption()
{
    TBarFloatingWindowParent* frame = FloatingParent();
    if (!frame || !frame->HandleAllocated())
        return;
    HWND frameWindow = frame->WindowHandle();
    HWND active = GetActiveWindow();
    if (active && dynamic_cast<TBarPopupWindow*>(FindControl(active)))
        return;
    bool dim = false;
    HWND appWindow = Application ? Application->Handle() : nullptr;
    if (!active) {
        dim = true;
    } else if (FFloatingMode == TBarFloatingMode::fmOnTopOfParentForm &&
               GetWindow(frameWindow, GW_OWNER) != appWindow) {
        HWND resolved = active;
        if (auto* other = dynamic_cast<TBarFloatingWindowParent*>(FindControl(active)))
            if (TCustomForm* form = other->FrameOwnerForm(); form && form->HandleAllocated())
                resolved = form->WindowHandle();
        bool related = false;
        for (HWND w = frameWindow; w && !related; w = GetParent(w))
            related = w == resolved;
        dim = !related;
    }
    if (dim == FDimCaption)
        return;
    FDimCaption = dim;
    frame->RedrawCaption();
}
