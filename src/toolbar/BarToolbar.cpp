#include "BarToolbar.h"

#include "BarAcc.h"
#include "BarCommon.h"
#include "BarConsts.h"
#include "BarHook.h"

#include "classlib/Application.h"
#include "classlib/HintWindow.h"
#include "classlib/ScopeExit.h"
#include "classlib/WindowProcedure.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Floating sizes

std::vector<TBarFloatingSize> FloatingSizesFor(int oneRowWidth,
                                               const std::function<TPoint(int)>& layoutAt)
{
    std::vector<TBarFloatingSize> sizes;
    auto enter = [&sizes](int wrap, const TPoint& size) {
        if (!sizes.empty()) {
            TBarFloatingSize& last = sizes.back();
            if (last.Size == size)
                return;
            // As many rows as the last one, and narrower: it replaces it.
            if (last.Size.y == size.y) {
                last = TBarFloatingSize{wrap, size};
                return;
            }
        }
        sizes.push_back(TBarFloatingSize{wrap, size});
    };
    enter(0, layoutAt(0));
    for (int wrap = oneRowWidth - 1; wrap >= 1;) {
        const TPoint size = layoutAt(wrap);
        // Wider than asked: no item fits any more, nothing gets narrower.
        if (size.x > wrap)
            break;
        enter(wrap, size);
        // Every wrap width between the content's width and this one gives
        // the same layout.
        wrap = std::min<int>(wrap, size.x) - 1;
    }
    return sizes;
}

int SnapDistanceAt(const std::vector<int>& lengths, int current)
{
    int snap = 12;
    if (current > 0)
        snap = std::min(snap, lengths[current] - lengths[current - 1] - 1);
    if (current + 1 < static_cast<int>(lengths.size()))
        snap = std::min(snap, lengths[current + 1] - lengths[current] - 1);
    return std::max(snap, 0);
}

int SnapChoice(const std::vector<int>& lengths, int current, int proposed, int snap)
{
    const int here = lengths[current];
    if (std::abs(proposed - here) <= snap)
        return current;
    int best = current;
    for (int i = 0; i < static_cast<int>(lengths.size()); ++i) {
        const bool onDragSide = proposed > here ? lengths[i] > here : lengths[i] < here;
        if (onDragSide && (best == current ||
                           std::abs(lengths[i] - proposed) < std::abs(lengths[best] - proposed)))
            best = i;
    }
    return best;
}

// ---------------------------------------------------------------------------
// The routing of the application's keys to toolbars

namespace {

// The toolbars that answer shortcuts, program-wide, in registration order.
std::vector<TBarCustomToolbar*> gShortCutToolbars;
thread_local int tMenuBarCount = 0;

TCustomForm* FormOfWindow(HWND window)
{
    return window ? dynamic_cast<TCustomForm*>(FindControl(window)) : nullptr;
}

bool FormAcceptsKeys(TCustomForm* form)
{
    return form && form->HandleAllocated() && IsWindowEnabled(form->WindowHandle());
}

bool TryShortCutToolbars(TCustomForm* form, TMessage& m)
{
    if (!FormAcceptsKeys(form))
        return false;
    // A shortcut's handler may free toolbars: walk a copy, skip the gone.
    const std::vector<TBarCustomToolbar*> toolbars = gShortCutToolbars;
    for (TBarCustomToolbar* toolbar : toolbars) {
        if (std::find(gShortCutToolbars.begin(), gShortCutToolbars.end(), toolbar) ==
            gShortCutToolbars.end())
            continue;
        if (toolbar->ProcessShortCuts() && toolbar->TopForm() == form &&
            toolbar->DispatchShortCut(m))
            return true;
    }
    return false;
}

// Depth first: the first control that takes menu events (a dock or a
// toolbar) and answers the command.
bool SendToMenuEventControl(TWinControl* parent, TMessage& m)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (!control || !control->Visible() || !control->Enabled())
            continue;
        if ((control->ControlStyle() & csMenuEvents) &&
            (dynamic_cast<TBarDock*>(control) || dynamic_cast<TBarCustomToolbar*>(control)) &&
            control->HandleAllocated() &&
            SendMessageA(control->WindowHandle(), WM_SYSCOMMAND, m.WParam, m.LParam) != 0)
            return true;
        if (SendToMenuEventControl(control, m))
            return true;
    }
    return false;
}

void RouteApplicationMessage(TMessage& m, bool& handled)
{
    switch (m.Msg) {
    case CM_APPKEYDOWN: {
        TCustomForm* active = FormOfWindow(GetActiveWindow());
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        if (TryShortCutToolbars(active, m) || (main != active && TryShortCutToolbars(main, m))) {
            m.Result = 1;
            handled = true;
        }
        return;
    }
    case CM_APPSYSCOMMAND: {
        TCustomForm* active = FormOfWindow(GetActiveWindow());
        if (FormAcceptsKeys(active) && IsWindowVisible(active->WindowHandle()) &&
            SendToMenuEventControl(active, m)) {
            m.Result = 1;
            handled = true;
        }
        return;
    }
    default:
        return;
    }
}

const TWindowHook& RoutingHook()
{
    static const TWindowHook hook(
        [](TMessage& m, bool& handled) { RouteApplicationMessage(m, handled); });
    return hook;
}

// A character typed with Alt in the main form's focused control (or "-"
// anywhere inside it) goes to the main form, which passes it to its menu
// bar.
void MenuBarHook(TBarHookEventKind kind, HWND, WPARAM, LPARAM lp)
{
    if (kind != TBarHookEventKind::MessageRetrieved || !lp || GetCapture())
        return;
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message != WM_SYSCHAR || !Application || !Application->MainForm() ||
        !Application->MainForm()->HandleAllocated())
        return;
    HWND main = Application->MainForm()->WindowHandle();
    if (msg->hwnd == main || !IsChild(main, msg->hwnd))
        return;
    if (msg->hwnd == GetFocus() || msg->wParam == '-')
        msg->hwnd = main;
}

// The ANSI character of a typed one, in the keyboard's code page; false
// unless it is exactly one byte.
bool TypedAnsiChar(WORD typed, char& key)
{
    if (typed < 0x80) {
        key = static_cast<char>(typed);
        return true;
    }
    const wchar_t wide = static_cast<wchar_t>(typed);
    char bytes[4];
    if (WideCharToMultiByte(KeyboardCodePage(), 0, &wide, 1, bytes, sizeof bytes, nullptr,
                            nullptr) != 1)
        return false;
    key = bytes[0];
    return true;
}

TBarViewOrientation OrientationFor(TBarHostKind kind)
{
    switch (kind) {
    case TBarHostKind::hkVertDock:
        return TBarViewOrientation::Vertical;
    case TBarHostKind::hkFloat:
        return TBarViewOrientation::Floating;
    default:
        return TBarViewOrientation::Horizontal;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// The chevron

TBarChevronItem::TBarChevronItem(TBarCustomToolbar* Toolbar)
    : TBarCustomItem(nullptr), FToolbar(Toolbar)
{
    SetItemTraits(ItemTraits() | OpensPopup | NoOpenOnKeySelect);
    SetHint(SBarChevronHint);
    SetCaption(DoubleAmpersands(GetShortHint(SBarChevronHint)));
}

TBarView* TBarChevronItem::OverflowOwnerView()
{
    return FToolbar->View();
}

TBarItemViewerClass TBarChevronItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TBarChevronItemViewer>;
}

void TBarChevronItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected,
                                  bool IsPushed, bool)
{
    HDC dc = Canvas->Handle();
    TRect r = ClientRect;
    if (IsPushed)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (IsSelected)
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    // Two arrows pointing along the toolbar, pushed in when pressed.
    const bool vertical = View()->Orientation() == TBarViewOrientation::Vertical;
    const int shift = IsPushed ? 1 : 0;
    const int left = (vertical ? (r.left + r.right) / 2 - 2 : (r.left + r.right) / 2 - 3) + shift;
    const int top = (vertical ? r.top + 3 : r.top + 5) + shift;
    HBRUSH brush = GetSysColorBrush(Item()->Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int arrow = 0; arrow < 2; ++arrow)
        for (int k = 0; k < 5; ++k) {
            const int along = arrow * 4 + (k < 3 ? k : 4 - k);
            const int x = vertical ? left + k : left + along;
            const int y = vertical ? top + along : top + k;
            RECT dot{x, y, x + 1, y + 1};
            FillRect(dc, &dot, brush);
        }
}

// ---------------------------------------------------------------------------
// The view

TBarToolbarView::TBarToolbarView(TBarCustomToolbar* Toolbar, TBarCustomItem* Root,
                                 bool UsePriorityList)
    : TBarView(nullptr, nullptr, Root, Toolbar, true, false, UsePriorityList), FToolbar(Toolbar)
{
    SetChevronSize(kBarChevronSize);
    // The base constructor listed the viewers before this class could name
    // its chevron.
    RebuildAllViewers();
}

TFont* TBarToolbarView::GetFont()
{
    if (FToolbar->SystemFont())
        if (TFont* shared = BarMenuFont())
            return shared;
    return FToolbar->Font();
}

void TBarToolbarView::AutoSize(int Width, int Height)
{
    FToolbar->FLayoutSize = TPoint(Width, Height);
    if (FToolbar->FArranging == 0 && FToolbar->AutoResize() && !FToolbar->HasState(csDestroying))
        FToolbar->ApplyContentSize(Width, Height);
}

void TBarToolbarView::EraseAside(TCanvas* canvas, const TRect& bounds)
{
    TBarView::EraseAside(canvas, bounds);
    // Erased as a paint of the whole toolbar erases it, at the item's place.
    HDC dc = canvas->Handle();
    POINT origin;
    SetViewportOrgEx(dc, -bounds.left, -bounds.top, &origin);
    FToolbar->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    canvas->Refresh();
}

TBarCustomItem* TBarToolbarView::OverflowItemOf()
{
    return FToolbar->OverflowItem();
}

// ---------------------------------------------------------------------------
// The toolbar

TBarCustomToolbar::TBarCustomToolbar(TComponent* AOwner)
    : TBarCustomDockableWindow(AOwner), FOverflowItem(new TBarChevronItem(this)),
      FItems(new TBarRootItem(nullptr)), FView(nullptr)
{
    SetControlStyle((ControlStyle() | csAcceptsControls | csActionClient) & ~csCaptureMouse);
    SetFrameSizingOptions(0);
    FItems->SetParentComponent(this);
    FView = new TBarToolbarView(this, FItems, !HasState(csDesigning));
    FView->SetNewViewersGetHighestPriority(true);
    SetBounds(Left(), Top(), 23, 22);
}

void TBarCustomToolbar::ReplaceView(TBarToolbarView* view)
{
    delete FView;
    FView = view;
    FView->SetNewViewersGetHighestPriority(true);
}

TBarCustomToolbar::~TBarCustomToolbar()
{
    Destroying();
    SetProcessShortCuts(false);
    if (FMenuBar && --tMenuBarCount == 0)
        UnregisterThreadHook(MenuBarHook);
    // The view goes before the items it shows.
    delete FView;
    FView = nullptr;
    delete FItems;
    delete FOverflowItem;
}

void TBarCustomToolbar::ReplaceOverflowItem(TBarChevronItem* item)
{
    if (item == FOverflowItem)
        return;
    TBarChevronItem* old = FOverflowItem;
    FOverflowItem = item;
    // The chevron's viewer goes with the old item.
    FView->RebuildAllViewers();
    delete old;
}

void TBarCustomToolbar::SetMenuBar(bool value)
{
    if (value == FMenuBar)
        return;
    FMenuBar = value;
    SetControlStyle(value ? ControlStyle() | csMenuEvents : ControlStyle() & ~csMenuEvents);
    const BYTE menuStyles = bvsMenuBar | bvsHideAccelsUntilKeys;
    FView->SetViewStyle(value ? FView->ViewStyle() | menuStyles : FView->ViewStyle() & ~menuStyles);
    if (!HasState(csLoading)) {
        SetFullSize(value);
        SetShrinkMode(value ? TBarShrinkMode::tbsmWrap : TBarShrinkMode::tbsmChevron);
        SetCloseButton(!value);
        SetProcessShortCuts(value);
    }
    if (HasState(csDesigning))
        return;
    if (value && tMenuBarCount++ == 0)
        RegisterThreadHook(MenuBarHook, BarHookKind(TBarHookEventKind::MessageRetrieved));
    else if (!value && --tMenuBarCount == 0)
        UnregisterThreadHook(MenuBarHook);
}

void TBarCustomToolbar::SetProcessShortCuts(bool value)
{
    if (value == FProcessShortCuts)
        return;
    FProcessShortCuts = value;
    if (value) {
        if (gShortCutToolbars.empty() && Application)
            Application->HookMainWindow(RoutingHook());
        gShortCutToolbars.push_back(this);
        return;
    }
    gShortCutToolbars.erase(std::remove(gShortCutToolbars.begin(), gShortCutToolbars.end(), this),
                            gShortCutToolbars.end());
    if (gShortCutToolbars.empty() && Application)
        Application->UnhookMainWindow(RoutingHook());
}

void TBarCustomToolbar::SetShrinkMode(TBarShrinkMode value)
{
    if (value == FShrinkMode)
        return;
    FShrinkMode = value;
    if (InDock() && CurrentDock())
        CurrentDock()->LayOutRows();
    else
        Arrange();
}

void TBarCustomToolbar::SetSystemFont(bool value)
{
    FSystemFont = value;
    ContentChanged();
}

void TBarCustomToolbar::SetChevronPriorityForNewItems(TBarChevronPriorityForNewItems value)
{
    FChevronPriority = value;
    FView->SetNewViewersGetHighestPriority(value == TBarChevronPriorityForNewItems::tbcpHighest);
}

void TBarCustomToolbar::SetFloatRightX(int value)
{
    if (value == FFloatRightX)
        return;
    FFloatRightX = value;
    if (Floating())
        Arrange();
}

void TBarCustomToolbar::ContentChanged()
{
    FView->MarkLayoutStale();
    Arrange();
}

// --- Layout

TBarCustomToolbar::TViewLimits TBarCustomToolbar::LimitsFor(TBarHostKind kind, TBarDock* dock)
{
    TViewLimits limits;
    limits.Orientation = OrientationFor(kind);
    const bool docked = kind == TBarHostKind::hkHorzDock || kind == TBarHostKind::hkVertDock;
    if (!docked && kind != TBarHostKind::hkFloat) {
        // On a form: limited only by two anchors it keeps to.
        const auto both = akLeft | akRight;
        if (AutoResize() && (Anchors() & both) == both) {
            const int limit = std::max(0, ClientWidth());
            (FShrinkMode == TBarShrinkMode::tbsmWrap ? limits.WrapWidth : limits.MaximumSize) =
                limit;
        }
        return limits;
    }
    if (kind == TBarHostKind::hkFloat) {
        limits.WrapWidth = FFloatRightX;
        return limits;
    }
    const TBarDockedFrame frame = DockedFrameIn(dock);
    const bool leftRight = kind == TBarHostKind::hkVertDock;
    const int frameLength =
        leftRight ? frame.TopLeft.y + frame.BottomRight.y : frame.TopLeft.x + frame.BottomRight.x;
    if (FShrinkMode == TBarShrinkMode::tbsmChevron && dock == CurrentDock() && GivenLength() > 0)
        limits.MaximumSize = std::max(0, GivenLength() - frameLength);
    if (FShrinkMode == TBarShrinkMode::tbsmWrap && dock) {
        const int inner = leftRight ? dock->ClientHeight() : dock->ClientWidth();
        limits.WrapWidth = std::max(0, inner - frameLength);
    }
    return limits;
}

void TBarCustomToolbar::ApplyViewLimits(const TViewLimits& limits)
{
    FView->SetOrientation(limits.Orientation);
    FView->SetChevronSize(kBarChevronSize);
    FView->SetWrapWidth(limits.WrapWidth);
    FView->SetMaximumSize(limits.MaximumSize);
}

void TBarCustomToolbar::LayOutContent(bool CanMoveControls, TBarHostKind DockType, bool,
                                      TBarDock* Dock, TPoint& NewSize)
{
    if (!FView)
        return;
    const TViewLimits limits = LimitsFor(DockType, Dock);
    if (!CanMoveControls) {
        NewSize = FView->MeasureLayout(limits.Orientation, limits.WrapWidth, limits.MaximumSize);
        return;
    }
    ++FArranging;
    TScopeExit arranged([this] { --FArranging; });
    ApplyViewLimits(limits);
    FView->UpdatePositions(NewSize);
}

void TBarCustomToolbar::NaturalSize(TPoint& Size)
{
    if (!FView)
        return;
    // The whole length, also while the chevron hides some of it.
    const TViewLimits limits = LimitsFor(DockType(), InDock() ? CurrentDock() : nullptr);
    Size = FView->MeasureLayout(limits.Orientation, limits.WrapWidth, 0);
}

void TBarCustomToolbar::SmallestShrunkSize(TPoint& Size)
{
    if (!FView || FShrinkMode != TBarShrinkMode::tbsmChevron)
        return;
    FView->EnsureLayout();
    const bool vertical = FView->Orientation() == TBarViewOrientation::Vertical;
    for (int i = 0; i < FView->ViewerCount(); ++i) {
        TBarItemViewer* viewer = FView->Viewers(i);
        if (!viewer->Shown() || viewer->Item() == FOverflowItem)
            continue;
        const TRect& r = viewer->BoundsRect();
        const int length = (vertical ? r.Height() : r.Width()) +
                           (vertical ? GetNonClientHeight() : DockedBorderWidth()) +
                           kBarChevronSize;
        Size = TPoint(length, length);
        return;
    }
}

void TBarCustomToolbar::HasControlAt(const TPoint& Point, bool& Exists)
{
    TBarCustomDockableWindow::HasControlAt(Point, Exists);
    if (Exists || !FView || HasState(csDesigning))
        return;
    TBarItemViewer* viewer = FView->ViewerAtPixel(Point);
    Exists = viewer && !viewer->Item()->HasTrait(IgnoresMouseUp);
}

void TBarCustomToolbar::AlignControls(TControl*, TRect&)
{
    if (FArranging == 0 && FView)
        Arrange();
}

// --- Control items

bool TBarCustomToolbar::WrapsControl(TControl* control) const
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (auto* item = dynamic_cast<TBarControlItem*>(FItems->Items(i)))
            if (item->Control() == control)
                return true;
    return false;
}

void TBarCustomToolbar::WrapControl(TControl* control)
{
    if (WrapsControl(control))
        return;
    auto* item = new TBarControlItem(FItems);
    item->SetControl(control);
    FItems->Add(item);
}

void TBarCustomToolbar::UnwrapControl(TControl* control)
{
    for (int i = FItems->Count(); i-- > 0;)
        if (auto* item = dynamic_cast<TBarControlItem*>(FItems->Items(i)))
            if (item->Control() == control) {
                // The control stays: only the item that showed it goes.
                item->SetControl(nullptr);
                delete item;
            }
}

void TBarCustomToolbar::Loaded()
{
    for (int i = 0; i < ControlCount(); ++i)
        WrapControl(Controls(i));
    // The items the form was built with are not new: the chevron hides
    // them from the end.
    FView->RebuildAllViewers();
    TBarCustomDockableWindow::Loaded();
}

// --- Keys

bool TBarCustomToolbar::OpenByAccelerator(char Key, bool RequirePrimaryAccel)
{
    const bool wasShown = FView->HasViewState(bvsShowAccelerators);
    FView->IncludeViewState(bvsShowAccelerators);
    bool unique = false;
    TBarItemViewer* viewer = FView->ViewerForTypedChar(Key, RequirePrimaryAccel, unique);
    if (!viewer) {
        if (!wasShown)
            FView->ExcludeViewState(bvsShowAccelerators);
        return false;
    }
    Invalidate();
    FView->ChangeSelection(viewer, false);
    // The loop may free the toolbar: nothing of it is touched after it.
    FView->BeginToolbarTracking(unique ? btoExecuteSelection : 0);
    return true;
}

bool TBarCustomToolbar::DispatchShortCut(TMessage& Msg)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(Msg, handled);
    return handled || FItems->DispatchShortCut(Msg);
}

void TBarCustomToolbar::WMSysCommand(TMessage& m)
{
    m.Result = 0;
    if (!FMenuBar || !Enabled() || !Showing() || GetCapture() || (m.WParam & 0xFFF0) != SC_KEYMENU)
        return;
    const WORD typed = LOWORD(m.LParam);
    if (typed == ' ')
        return;
    if (typed == 0) {
        // Alt or F10 alone: the menu bar takes the keyboard.
        FView->IncludeViewState(bvsShowAccelerators);
        Invalidate();
        FView->ChangeSelection(FView->InitialViewer(), false);
        m.Result = 1;
        FView->BeginToolbarTracking(0);
        return;
    }
    char key = 0;
    if (!TypedAnsiChar(typed, key))
        return;
    if (OpenByAccelerator(key, false)) {
        m.Result = 1;
        return;
    }
    // "-" is left to the form's default handling.
    if (key == '-')
        return;
    BarBeep();
    m.Result = 1;
}

// --- Mouse, hints, cursor

void TBarCustomToolbar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft && FView) {
        TBarItemViewer* viewer = FView->ViewerAtPixel(TPoint(X, Y));
        if (viewer && !viewer->Item()->HasTrait(IgnoresMouseUp)) {
            FView->ChangeSelection(viewer, true);
            FView->BeginToolbarTracking(btoStartedByMouse);
            return;
        }
    }
    TBarCustomDockableWindow::MouseDown(Button, Shift, X, Y);
}

void TBarCustomToolbar::MouseMove(TShiftState Shift, int X, int Y)
{
    TBarCustomDockableWindow::MouseMove(Shift, X, Y);
    if (!FView || FView->HasViewState(bvsModal))
        return;
    // The hot viewer is the mouse's, not the keyboard's.
    FView->IncludeViewState(bvsMouseOver);
    TBarItemViewer* viewer = FView->ViewerAtPixel(TPoint(X, Y));
    if (viewer == FView->Selected())
        return;
    FView->ChangeSelection(viewer, true);
    const bool longHintOnly =
        viewer && (viewer->Item()->EffectiveOptions() & tboLongHintInMenuOnly);
    SetHint(viewer && !longHintOnly ? viewer->Item()->Hint() : AnsiString());
}

void TBarCustomToolbar::ClearHot()
{
    if (!FView || FView->HasViewState(bvsModal))
        return;
    FView->ExcludeViewState(bvsMouseOver);
    if (FView->Selected())
        FView->ChangeSelection(nullptr, false);
}

void TBarCustomToolbar::CMHintShow(TMessage& m)
{
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    TBarItemViewer* viewer = FView ? FView->ViewerAtPixel(info->CursorPos) : nullptr;
    if (!viewer) {
        m.Result = 1; // no hint over empty space
        return;
    }
    info->HintStr = viewer->ShownHint();
    info->CursorRect = viewer->BoundsRect();
    m.Result = 0;
}

bool TBarCustomToolbar::WMSetCursor(TMessage& m)
{
    if (!FView || LOWORD(m.LParam) != HTCLIENT)
        return false;
    POINT p;
    GetCursorPos(&p);
    const TPoint client = ScreenToClient(p);
    TBarItemViewer* viewer = FView->ViewerAtPixel(client);
    if (!viewer)
        return false;
    HCURSOR cursor = nullptr;
    const TRect& r = viewer->BoundsRect();
    viewer->GetCursor(TPoint(client.x - r.left, client.y - r.top), cursor);
    if (!cursor)
        return false;
    ::SetCursor(cursor);
    m.Result = 1;
    return true;
}

void TBarCustomToolbar::Paint()
{
    if (FView)
        FView->DrawItems(Canvas());
}

void TBarCustomToolbar::InitiateAction()
{
    TBarCustomDockableWindow::InitiateAction();
    if (!FUpdateActions)
        return;
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Items(i)->InitiateAction();
}

void TBarCustomToolbar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SYSCOMMAND:
        WMSysCommand(message);
        return;
    case CM_DIALOGKEY:
        if (FMenuBar && message.WParam == VK_MENU && FView) {
            FView->IncludeViewState(bvsShowAccelerators);
            Invalidate();
        }
        break;
    case CM_DIALOGCHAR:
        if (!FMenuBar && Enabled() && Showing() && message.WParam != 0 &&
            OpenByAccelerator(static_cast<char>(message.WParam), true)) {
            message.Result = 1;
            return;
        }
        break;
    case CM_HINTSHOW:
        CMHintShow(message);
        return;
    case WM_SETCURSOR:
        if (WMSetCursor(message))
            return;
        break;
    case CM_MOUSELEAVE:
    case WM_NCMOUSEMOVE:
        ClearHot();
        break;
    case WM_CANCELMODE:
        if (FView && FView->ModalHandler())
            FView->EndModal();
        break;
    case CM_SHOWHINTCHANGED:
        if (FView)
            FView->SetViewStyle(ShowHint() ? FView->ViewStyle() | bvsShowAllHints
                                           : FView->ViewStyle() & ~bvsShowAllHints);
        break;
    case CM_FONTCHANGED:
        if (!FSystemFont && FView)
            ContentChanged();
        break;
    case CM_CONTROLCHANGE:
        if (FItems && !HasState(csLoading)) {
            auto* control = reinterpret_cast<TControl*>(message.WParam);
            if (message.LParam)
                WrapControl(control);
            else
                UnwrapControl(control);
        }
        break;
    case WM_GETOBJECT:
        if (FView && AnswerBarAccessibleObject(FView, message))
            return;
        break;
    default:
        break;
    }
    TBarCustomDockableWindow::WndProc(message);
}

// --- Saved places and the floating resize

void TBarCustomToolbar::LoadExtraPlace(TBarPlaceReadIntProc ReadIntProc, TBarPlaceReadStringProc,
                                       void* ExtraData)
{
    SetFloatRightX(std::max(0, ReadIntProc(Name(), "FloatRightX", 0, ExtraData)));
}

void TBarCustomToolbar::SaveExtraPlace(TBarPlaceWriteIntProc WriteIntProc, TBarPlaceWriteStringProc,
                                       void* ExtraData)
{
    WriteIntProc(Name(), "FloatRightX", FFloatRightX, ExtraData);
}

void TBarCustomToolbar::SizingStarted(int Edge)
{
    TBarFloatingWindowParent* frame = FloatingParent();
    if (!frame || !FView)
        return;
    auto state = std::make_unique<TResizeState>();
    const BYTE sides = SizingSidesOfEdge(Edge);
    state->Horizontal = (sides & (bssTop | bssBottom)) == 0;
    auto layoutAt = [this](int wrap) {
        return FView->MeasureLayout(TBarViewOrientation::Floating, wrap, 0);
    };
    state->Sizes = FloatingSizesFor(layoutAt(0).x, layoutAt);
    const TPoint nonClient = FloatingNonClientSize();
    for (TBarFloatingSize& s : state->Sizes)
        s.Size = TPoint(s.Size.x + nonClient.x, s.Size.y + nonClient.y);
    const bool horizontal = state->Horizontal;
    std::stable_sort(state->Sizes.begin(), state->Sizes.end(),
                     [horizontal](const TBarFloatingSize& a, const TBarFloatingSize& b) {
                         return horizontal ? a.Size.x < b.Size.x : a.Size.y < b.Size.y;
                     });
    const int here = horizontal ? frame->Width() : frame->Height();
    std::vector<int>& lengths = state->Lengths;
    for (const TBarFloatingSize& s : state->Sizes)
        lengths.push_back(horizontal ? s.Size.x : s.Size.y);
    for (int i = 0; i < static_cast<int>(lengths.size()); ++i)
        if (std::abs(lengths[i] - here) < std::abs(lengths[state->Current] - here))
            state->Current = i;
    state->Snap = SnapDistanceAt(lengths, state->Current);
    FResizeState = std::move(state);
}

void TBarCustomToolbar::SizingStep(TRect& FrameRect, BYTE Sides)
{
    if (!FResizeState || FResizeState->Sizes.empty())
        return;
    TResizeState& state = *FResizeState;
    const int proposed = state.Horizontal ? FrameRect.Width() : FrameRect.Height();
    state.Chosen = SnapChoice(state.Lengths, state.Current, proposed, state.Snap);
    const TPoint size = state.Sizes[state.Chosen].Size;
    if (Sides & bssLeft)
        FrameRect.left = FrameRect.right - size.x;
    else
        FrameRect.right = FrameRect.left + size.x;
    if (Sides & bssTop)
        FrameRect.top = FrameRect.bottom - size.y;
    else
        FrameRect.bottom = FrameRect.top + size.y;
}

void TBarCustomToolbar::SizingApplied()
{
    // The frame now takes the size the last step chose: its wrap width
    // becomes the toolbar's.
    if (FResizeState && FResizeState->Chosen >= 0)
        SetFloatRightX(FResizeState->Sizes[FResizeState->Chosen].WrapWidth);
}

void TBarCustomToolbar::SizingFinished()
{
    FResizeState.reset();
}
