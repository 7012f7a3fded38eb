// Selection and navigation in views: the hot viewer and the submenu timers
// that follow it, keys, accelerator characters, the wheel, the end of a
// menu, and the default mouse handling of viewers.
//
// Closing a popup level frees that level's view: the key and mouse handlers
// return at once after they close the level they run in.
#include "BarItem.h"

#include "BarCommon.h"

#include "classlib/TextUtils.h"

#include <algorithm>
#include <cstdlib>

namespace {

char FoldCase(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsPickable(TBarItemViewer* viewer)
{
    return viewer->IsAccessible() && viewer->Item()->Visible() &&
           viewer->Item()->HasTrait(HotTrackable);
}

} // namespace

UINT EffectiveWheelLines(UINT systemLines)
{
    if (systemLines == WHEEL_PAGESCROLL)
        return 3;
    return std::min<UINT>(systemLines, 120);
}

int TakeWheelSteps(int& accumulator, UINT wheelLines)
{
    if (wheelLines == 0)
        return 0;
    int steps =
        static_cast<int>(std::abs(accumulator) * static_cast<int>(wheelLines) / WHEEL_DELTA);
    if (steps == 0)
        return 0;
    int taken = static_cast<int>(WHEEL_DELTA / wheelLines) * steps;
    if (accumulator > 0) {
        accumulator -= taken;
        return steps;
    }
    accumulator += taken;
    return -steps;
}

// ---------------------------------------------------------------------------
// Selection

void TBarView::ReflectMouseInButtonPart(TBarItemViewer* viewer)
{
    FMouseInButtonPart = false;
    if (!viewer || !FWindow || !FWindow->HandleAllocated())
        return;
    DWORD position = GetMessagePos();
    POINT screen = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    if (WindowFromPoint(screen) != FWindow->WindowHandle())
        return;
    TPoint client = FWindow->ScreenToClient(screen);
    const TRect& bounds = viewer->BoundsRect();
    if (!bounds.Contains(client))
        return;
    FMouseInButtonPart =
        !FCapture || viewer->HitsButtonSection(client.x - bounds.left, client.y - bounds.top);
}

void TBarView::ChangeSelection(TBarItemViewer* viewer, bool viaMouse)
{
    TBarItemViewer* old = FSelected;
    if (viewer != old) {
        // Only once the parent has recorded this view as its open popup: a
        // popup that selects its first item while it is being made must not
        // take the selection from the item that opens it.
        if (viewer && FParentView && FParentView->FOpenChildView == this &&
            FParentView->FSelected != FParentView->FOpenViewer) {
            FParentView->ChangeSelection(FParentView->FOpenViewer, viaMouse);
            FParentView->StopTimer(bvtClose);
            FParentView->StopTimer(bvtOpen);
        }
        if (HasViewState(bvsModal)) {
            if (FToolbarView || !viaMouse) {
                StopTimer(bvtClose);
                if (FOpenViewer && FOpenViewer != viewer)
                    ShutChildPopups();
            } else if (FOpenViewer && FOpenViewer != viewer && !TimerRunning(bvtClose)) {
                StartTimer(bvtClose, SubmenuDelay());
            }
        }
        CancelCapture();
        if (old)
            old->Leaving();
    }
    FSelected = viewer;
    bool wasInButtonPart = FMouseInButtonPart;
    ReflectMouseInButtonPart(viewer);
    if (viewer == old) {
        if (FMouseInButtonPart != wasInButtonPart && FCapture && viewer &&
            viewer->Item()->HasTrait(RepaintOnHoverChange))
            Invalidate(viewer);
        return;
    }
    if (old && old->Item()->HasTrait(RepaintOnHotChange))
        Invalidate(old);
    if (viewer && viewer->Item()->HasTrait(RepaintOnHotChange))
        Invalidate(viewer);
    if (viewer)
        viewer->Entering(old);
    NotifyAccessibleFocus();
    if (!HasViewState(bvsModal))
        return;
    if (IsPopup()) {
        StopTimer(bvtOpen);
        if (viaMouse && viewer && viewer->Item()->HasTrait(OpensPopup))
            StartTimer(bvtOpen, SubmenuDelay());
        return;
    }
    if (viaMouse && FParentView)
        IncludeViewState(bvsMenuMode);
    if (HasViewState(bvsMenuMode) && viewer &&
        (viaMouse || !viewer->Item()->HasTrait(NoOpenOnKeySelect)))
        ShowChildPopup(!viaMouse);
}

TBarItemViewer* TBarView::NextPickableViewer(TBarItemViewer* from, bool forward)
{
    EnsureLayout();
    int count = ViewerCount();
    if (count == 0)
        return nullptr;
    int start = from ? IndexOf(from) : -1;
    if (start < 0)
        start = forward ? -1 : count;
    for (int step = 1; step <= count; ++step) {
        int i = ((start + (forward ? step : -step)) % count + count) % count;
        if (IsPickable(FViewers[i]))
            return FViewers[i];
    }
    return nullptr;
}

TBarItemViewer* TBarView::InitialViewer()
{
    EnsureLayout();
    for (TBarItemViewer* viewer : FViewers)
        if (IsPickable(viewer) && !viewer->Item()->HasTrait(SkipInitialSelect))
            return viewer;
    return nullptr;
}

void TBarView::StepSelection(bool forward)
{
    if (TBarItemViewer* next = NextPickableViewer(FSelected, forward)) {
        ChangeSelection(next, false);
        RevealSelection();
    }
}

void TBarView::RevealSelection()
{
    EnsureLayout();
    if (!FSelected || !FSelected->OffEdge())
        return;
    const TRect& bounds = FSelected->BoundsRect();
    if (bounds.top < kBarScrollArrowHeight)
        FScrollOffset -= kBarScrollArrowHeight - bounds.top;
    else if (bounds.bottom > FMaxHeight - kBarScrollArrowHeight)
        FScrollOffset += bounds.bottom - (FMaxHeight - kBarScrollArrowHeight);
    MarkLayoutStale();
    EnsureLayout();
}

void TBarView::Scroll(bool down)
{
    EnsureLayout();
    if (down ? !FShowDownArrow : !FShowUpArrow)
        return;
    // To the edge of the next viewer behind the arrow.
    if (down) {
        int limit = FMaxHeight - kBarScrollArrowHeight;
        for (TBarItemViewer* viewer : FViewers)
            if (viewer->IsAccessible() && viewer->BoundsRect().bottom > limit) {
                FScrollOffset += viewer->BoundsRect().bottom - limit;
                break;
            }
    } else {
        for (size_t i = FViewers.size(); i-- > 0;) {
            TBarItemViewer* viewer = FViewers[i];
            if (viewer->IsAccessible() && viewer->BoundsRect().top < kBarScrollArrowHeight) {
                FScrollOffset -= kBarScrollArrowHeight - viewer->BoundsRect().top;
                break;
            }
        }
    }
    MarkLayoutStale();
    EnsureLayout();
}

// ---------------------------------------------------------------------------
// Executing and ending

void TBarView::RunSelectedItem(bool allowPriorityMove)
{
    TBarItemViewer* viewer = FSelected;
    if (!viewer || !viewer->Item()->Enabled()) {
        EndModal();
        return;
    }
    if (!viewer->Item()->HasTrait(DualPart) && ShowChildPopup(true))
        return;
    if (!viewer->Item()->HasTrait(HotTrackable)) {
        EndModal();
        return;
    }
    ExecuteViewer(viewer, allowPriorityMove);
}

void TBarView::ExecuteViewer(TBarItemViewer* viewer, bool priorityMove)
{
    viewer->DoExecute();
    if (!priorityMove)
        return;
    // The executed viewer, then each opener up the chain, goes first; a
    // chevron popup moves its twin on the bar.
    TBarView* view = this;
    while (view && viewer) {
        TBarView* target = view;
        TBarItemViewer* moved = viewer;
        if (view->FChevronParentView) {
            target = view->FChevronParentView;
            size_t twin = target->FLeadingCount + view->IndexOf(viewer);
            moved = twin < target->FViewers.size() ? target->FViewers[twin] : nullptr;
        }
        if (moved) {
            bool relayout = moved->Clipped() || !target->FPositionsValid;
            target->GiveViewerHighestPriority(moved);
            if (relayout) {
                target->MarkLayoutStale();
                target->ValidateUnlessBusy();
            }
        }
        viewer = view->FParentView ? view->FParentView->FOpenViewer : nullptr;
        view = view->FParentView;
    }
}

void TBarView::EndModal()
{
    TBarLoopResult result;
    result.Kind = TBarLoopResultKind::Cancelled;
    RootView()->FDoneAction = result;
}

void TBarView::EndModalWithChoice(TBarItemViewer* viewer)
{
    TBarLoopResult result;
    result.Kind = TBarLoopResultKind::ItemClicked;
    result.Item = viewer->Item();
    result.PlaySound = IsPopup();
    RootView()->FDoneAction = result;
}

void TBarView::FinishForSystemMenu(HWND window, int key)
{
    TBarLoopResult result;
    result.Kind = TBarLoopResultKind::SystemMenu;
    result.Window = window;
    result.Key = key;
    RootView()->FDoneAction = result;
}

void TBarView::EndModalForHelp(int helpContext)
{
    TBarLoopResult result;
    result.Kind = TBarLoopResultKind::Help;
    result.HelpContext = helpContext;
    RootView()->FDoneAction = result;
}

// ---------------------------------------------------------------------------
// Submenus

bool TBarView::ShowChildPopup(bool selectFirst)
{
    TBarItemViewer* opener = FSelected;
    if (!opener || !opener->Item()->HasTrait(OpensPopup) || !opener->Item()->Enabled())
        return false;
    if (FOpenViewer == opener && FOpenPopupWindow)
        return true;
    ShutChildPopups();
    FWheelAccumulator = 0;
    EnsureLayout();
    opener->Item()->CreatePopup(this, opener, IsPopup(), selectFirst, TPoint(), 0);
    return FOpenViewer == opener && FOpenPopupWindow;
}

void TBarView::DropMenuMode()
{
    ShutChildPopups();
    if (FToolbarView)
        ExcludeViewState(bvsMenuMode);
}

void TBarView::CloseThisLevel()
{
    // Frees this view.
    FParentView->DropMenuMode();
}

// ---------------------------------------------------------------------------
// Keys

TBarView* TBarView::NearestToolbarView()
{
    for (TBarView* view = this; view; view = view->FParentView)
        if (view->FToolbarView)
            return view;
    return nullptr;
}

void TBarView::KeyDown(WORD& Key, TShiftState Shift)
{
    TBarView* bar = NearestToolbarView();
    bool barVertical = bar && bar->FOrientation == TBarViewOrientation::Vertical;
    WORD key = Key;
    Key = 0;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        if (bar == this && barVertical) {
            ShowChildPopup(true);
        } else if (key == VK_RIGHT) {
            if (!(IsPopup() && ShowChildPopup(true)) && bar && !barVertical)
                bar->StepSelection(true);
        } else if (!bar || barVertical) {
            if (FParentView)
                CloseThisLevel();
        } else if (bar == this || FParentView == bar) {
            bar->StepSelection(false);
        } else {
            CloseThisLevel();
        }
        return;
    case VK_UP:
    case VK_DOWN:
        if (bar == this && !barVertical)
            ShowChildPopup(true);
        else
            StepSelection(key == VK_DOWN);
        return;
    case VK_HOME:
    case VK_END:
        if (TBarItemViewer* viewer = NextPickableViewer(nullptr, key == VK_HOME)) {
            ChangeSelection(viewer, false);
            RevealSelection();
        }
        return;
    case VK_TAB:
        StepSelection(!(Shift & ssShift));
        return;
    case VK_RETURN:
        RunSelectedItem(true);
        return;
    case VK_ESCAPE:
        if (FParentView)
            CloseThisLevel();
        else
            EndModal();
        return;
    case VK_F1:
        for (TBarView* view = this; view; view = view->FParentView)
            if (view->FSelected && view->FSelected->Item()->HelpContext() != 0) {
                EndModalForHelp(view->FSelected->Item()->HelpContext());
                break;
            }
        return;
    case VK_F10:
    case VK_MENU:
        EndModal();
        return;
    default:
        Key = key;
        return;
    }
}

TBarItemViewer* TBarView::SearchTypedChar(char typed, TBarItemViewer* from, bool firstCharPass,
                                          bool enabled)
{
    int count = ViewerCount();
    if (count == 0)
        return nullptr;
    int start = from ? IndexOf(from) : -1;
    char wanted = FoldCase(typed);
    for (int step = 1; step <= count; ++step) {
        TBarItemViewer* viewer = FViewers[(start + step + count) % count];
        TBarCustomItem* item = viewer->Item();
        if (!viewer->IsAccessible() || !item->HasTrait(HotTrackable) || !item->Visible() ||
            item->Enabled() != enabled || !viewer->ShowsCaption())
            continue;
        AnsiString caption = viewer->ShownCaption();
        char accelerator = ExtractAccelChar(caption);
        if (!firstCharPass) {
            if (accelerator && FoldCase(accelerator) == wanted)
                return viewer;
            continue;
        }
        // A caption that starts with a double-byte character never matches.
        if (!accelerator && !caption.empty() && CharLength(caption, 0) == 1 &&
            FoldCase(caption[0]) == wanted)
            return viewer;
    }
    return nullptr;
}

TBarItemViewer* TBarView::ViewerForTypedChar(char typed, bool acceleratorsOnly, bool& unique)
{
    EnsureLayout();
    unique = false;
    for (bool firstCharPass : {false, true}) {
        if (firstCharPass && (acceleratorsOnly || typed == ' '))
            break;
        for (bool enabled : {true, false}) {
            TBarItemViewer* found = SearchTypedChar(typed, FSelected, firstCharPass, enabled);
            if (!found)
                continue;
            unique = !enabled || SearchTypedChar(typed, found, firstCharPass, true) == found;
            return found;
        }
    }
    return nullptr;
}

void TBarView::MouseWheel(int WheelDelta, int, int)
{
    if (!FShowUpArrow && !FShowDownArrow)
        return;
    FWheelAccumulator += WheelDelta;
    int steps = TakeWheelSteps(FWheelAccumulator, EffectiveWheelLines(WheelScrollLines()));
    if (steps == 0)
        return;
    bool up = steps > 0;
    if (up ? !FShowUpArrow : !FShowDownArrow)
        return;
    ShutChildPopups();
    for (int i = 0; i < std::abs(steps); ++i)
        Scroll(!up);
}

// ---------------------------------------------------------------------------
// The mouse on a viewer

void TBarItemViewer::MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu)
{
    bool rootBar = !FView->ParentView() && !FView->IsPopup();
    if (!FItem->Enabled()) {
        if (rootBar)
            FView->EndModal();
        return;
    }
    if (HitsButtonSection(X, Y)) {
        if (HasBarLook()) {
            FView->DropMenuMode();
            FView->TakeMouse();
            Invalidate();
        }
        return;
    }
    bool wasOpener = FView->OpenViewer() == this;
    if (FView->Selected() != this)
        FView->ChangeSelection(this, true);
    bool opened = FView->ShowChildPopup(false);
    if (opened && wasOpener && rootBar)
        MouseDownOnMenu = true;
    if (!opened || !(Shift & ssDouble) || FItem->HasTrait(DualPart))
        return;
    // A double click runs the submenu's default item.
    TBarView* child = FView->OpenChildView();
    for (int i = 0; child && i < child->ViewerCount(); ++i) {
        TBarItemViewer* viewer = child->Viewers(i);
        TBarCustomItem* item = viewer->Item();
        if (viewer->IsAccessible() && item->HasTrait(HotTrackable) && item->Enabled() &&
            item->Visible() && (item->EffectiveOptions() & tboDefault)) {
            child->ExecuteViewer(viewer, true);
            return;
        }
    }
}

void TBarItemViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu)
{
    bool held = FView->Capturing();
    FView->ReleaseMouse();
    bool rootBar = !FView->ParentView() && !FView->IsPopup();
    if (FView->MouseInButtonPart() && FItem->Enabled() && !FItem->HasTrait(IgnoresMouseUp)) {
        if (FItem->HasTrait(OpensPopup) && !HitsButtonSection(X, Y)) {
            if (MouseWasDownOnMenu && rootBar)
                FView->EndModal();
            return;
        }
        if (HasBarLook() && !held)
            return;
        FView->ExecuteViewer(this, true);
        return;
    }
    if (rootBar)
        FView->EndModal();
}
