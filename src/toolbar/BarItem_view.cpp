// Views: the viewer list kept in step with the item tree, painting, the
// record of the open popup, and the popup timers. The layout is in
// BarItem_layout.cpp, selection and keys in BarItem_navigation.cpp.
#include "BarItem.h"

#include "BarAcc.h"
#include "BarCommon.h"
#include "BarConsts.h"

#include "classlib/Graphics.h"

#include <algorithm>

TBarView::TBarView(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* ParentItem,
                   TWinControl* Window, bool ToolbarView, bool Customizing, bool UsePriorityList)
    : TComponent(AOwner), FWindow(Window), FParentView(ParentView), FParentItem(ParentItem),
      FShownItem(ParentItem->GetChildSource()), FToolbarView(ToolbarView),
      FCustomizing(Customizing), FUsePriorityList(UsePriorityList)
{
    AttachToItems();
    RebuildAllViewers();
}

TBarView::~TBarView()
{
    ShutChildPopups();
    for (int timer = bvtOpen; timer <= bvtScrollDown; ++timer)
        StopTimer(static_cast<TBarViewTimer>(timer));
    if (FParentView) {
        TBarItemViewer* opener = FParentView->FOpenViewer;
        if (FParentView->FOpenChildView == this) {
            FParentView->FOpenChildView = nullptr;
            FParentView->FOpenViewer = nullptr;
        }
        if (FParentView->IsToolbar()) {
            FParentView->IncludeViewState(bvsPopupJustClosed);
            if (opener)
                FParentView->Invalidate(opener);
        }
    }
    DetachFromItems();
    FreeViewers();
    ReleaseBarAccObject(FAccObject);
    FAccObject = nullptr;
    if (FParentView)
        FParentView->NotifyAccessibleFocus();
}

TBarView* TBarView::RootView()
{
    TBarView* view = this;
    while (view->FParentView)
        view = view->FParentView;
    return view;
}

void TBarView::AttachToItems()
{
    FParentItem->AttachChangeHandler(TBarItemChangeEvent(this, &TBarView::ParentItemChanged));
    FShownItem->AttachChangeHandler(TBarItemChangeEvent(this, &TBarView::ShownItemChanged));
}

void TBarView::DetachFromItems()
{
    FShownItem->DropChangeHandler(TBarItemChangeEvent(this, &TBarView::ShownItemChanged));
    FParentItem->DropChangeHandler(TBarItemChangeEvent(this, &TBarView::ParentItemChanged));
}

void TBarView::SetCustomizing(bool value)
{
    if (value == FCustomizing)
        return;
    FCustomizing = value;
    RebuildAllViewers();
}

void TBarView::SetToolbarLayout(bool value)
{
    if (value == FToolbarLayout)
        return;
    FToolbarLayout = value;
    MarkLayoutStale();
}

void TBarView::SetOrientation(TBarViewOrientation value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    MarkLayoutStale();
}

// ---------------------------------------------------------------------------
// The viewer list

void TBarView::FreeViewers()
{
    FSelected = nullptr;
    FPriorityList.clear();
    std::vector<TBarItemViewer*> viewers;
    viewers.swap(FViewers);
    for (TBarItemViewer* viewer : viewers)
        delete viewer;
    FLeadingCount = 0;
    FTrailingCount = 0;
}

void TBarView::AddViewersOf(TBarCustomItem* item, int groupLevel, std::vector<TBarItemViewer*>& out)
{
    out.push_back(item->ViewerClassForItem(this)(this, item, groupLevel));
    // A group shows its children inline, nested at most to the limit (a
    // group linking back to its own parent stops there too).
    if (!item->HasTrait(InlineChildren) || FCustomizing || groupLevel + 1 > kBarGroupLevelLimit)
        return;
    TBarCustomItem* source = item->GetChildSource();
    for (int i = 0; i < source->Count(); ++i)
        AddViewersOf(source->Items(i), groupLevel + 1, out);
}

void TBarView::RebuildAllViewers()
{
    ShutChildPopups();
    FreeViewers();
    std::vector<TBarItemViewer*> viewers;
    if (TBarCustomItem* first = FirstEdgeItem())
        AddViewersOf(first, 0, viewers);
    FLeadingCount = static_cast<int>(viewers.size());
    for (int i = 0; i < FShownItem->Count(); ++i)
        AddViewersOf(FShownItem->Items(i), 0, viewers);
    size_t trailingStart = viewers.size();
    if (TBarCustomItem* last = LastEdgeItem())
        for (int i = 0; i < last->Count(); ++i)
            AddViewersOf(last->Items(i), 0, viewers);
    if (TBarCustomItem* overflow = OverflowItemOf())
        AddViewersOf(overflow, 0, viewers);
    FTrailingCount = static_cast<int>(viewers.size() - trailingStart);
    FViewers = viewers;
    if (FUsePriorityList)
        FPriorityList.assign(FViewers.begin() + FLeadingCount,
                             FViewers.begin() + static_cast<std::ptrdiff_t>(trailingStart));
    MarkLayoutStale();
}

bool TBarView::IsEdgeOrChevron(const TBarItemViewer* viewer) const
{
    int index = IndexOf(viewer);
    return index < FLeadingCount || index >= ViewerCount() - FTrailingCount;
}

TBarItemViewer* TBarView::ChevronViewer() const
{
    TBarCustomItem* overflow = const_cast<TBarView*>(this)->OverflowItemOf();
    if (!overflow || FViewers.empty() || FViewers.back()->Item() != overflow)
        return nullptr;
    return FViewers.back();
}

TBarItemViewer* TBarView::Find(TBarCustomItem* item)
{
    for (TBarItemViewer* viewer : FViewers)
        if (viewer->Item() == item)
            return viewer;
    throw EBarItemError(SBarViewerNotFound);
}

int TBarView::IndexOf(const TBarItemViewer* viewer) const
{
    for (size_t i = 0; i < FViewers.size(); ++i)
        if (FViewers[i] == viewer)
            return static_cast<int>(i);
    return -1;
}

TBarItemViewer* TBarView::ViewerAtPixel(const TPoint& p)
{
    EnsureLayout();
    for (TBarItemViewer* viewer : FViewers)
        if (viewer->Shown() && viewer->BoundsRect().Contains(p))
            return viewer;
    return nullptr;
}

void TBarView::GiveViewerHighestPriority(TBarItemViewer* viewer)
{
    auto it = std::find(FPriorityList.begin(), FPriorityList.end(), viewer);
    if (it == FPriorityList.end() || it == FPriorityList.begin())
        return;
    FPriorityList.erase(it);
    FPriorityList.insert(FPriorityList.begin(), viewer);
}

std::vector<TControl*> TBarView::ClippedControls() const
{
    std::vector<TControl*> controls;
    for (TBarItemViewer* viewer : FViewers)
        if (auto* item = dynamic_cast<TBarControlItem*>(viewer->Item()))
            if (viewer->Clipped() && dynamic_cast<TWinControl*>(item->Control()))
                controls.push_back(item->Control());
    return controls;
}

// The level of the viewers that show parent's children, and the index after
// which they start (-1: after the leading viewers); -1 when this view does
// not show them.
int TBarView::GroupLevelOfChildren(TBarCustomItem* parent, int& afterIndex)
{
    afterIndex = -1;
    if (parent == FShownItem)
        return 0;
    if (FCustomizing)
        return -1;
    for (size_t i = 0; i < FViewers.size(); ++i) {
        TBarCustomItem* item = FViewers[i]->Item();
        if (item->HasTrait(InlineChildren) && item->GetChildSource() == parent &&
            FViewers[i]->GroupLevel() < kBarGroupLevelLimit) {
            afterIndex = static_cast<int>(i);
            return FViewers[i]->GroupLevel() + 1;
        }
    }
    return -1;
}

void TBarView::InsertViewersOf(TBarCustomItem* parent, int index, TBarCustomItem* item)
{
    int groupIndex = -1;
    int level = GroupLevelOfChildren(parent, groupIndex);
    if (level < 0)
        return;
    size_t position = groupIndex >= 0 ? groupIndex + 1 : FLeadingCount;
    // After the previous sibling's viewers (and those of its own children).
    TBarCustomItem* previous =
        index > 0 && index - 1 < parent->Count() ? parent->Items(index - 1) : nullptr;
    if (previous) {
        for (size_t i = position; i < FViewers.size(); ++i)
            if (FViewers[i]->Item() == previous && FViewers[i]->GroupLevel() == level) {
                position = i + 1;
                while (position < FViewers.size() && FViewers[position]->GroupLevel() > level)
                    ++position;
                break;
            }
    }
    position = std::min(position, FViewers.size() - FTrailingCount);
    std::vector<TBarItemViewer*> made;
    AddViewersOf(item, level, made);
    FViewers.insert(FViewers.begin() + static_cast<std::ptrdiff_t>(position), made.begin(),
                    made.end());
    if (FUsePriorityList) {
        bool atFront = FNewFirst && !item->HasState(csLoading);
        FPriorityList.insert(atFront ? FPriorityList.begin() : FPriorityList.end(), made.begin(),
                             made.end());
    }
    MarkLayoutStale();
}

void TBarView::RemoveViewersOf(TBarCustomItem* item)
{
    for (size_t i = 0; i < FViewers.size();) {
        if (FViewers[i]->Item() != item) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < FViewers.size() && FViewers[end]->GroupLevel() > FViewers[i]->GroupLevel())
            ++end;
        std::vector<TBarItemViewer*> going(FViewers.begin() + static_cast<std::ptrdiff_t>(i),
                                           FViewers.begin() + static_cast<std::ptrdiff_t>(end));
        for (TBarItemViewer* viewer : going) {
            if (viewer == FOpenViewer)
                ShutChildPopups();
            if (viewer == FSelected)
                FSelected = nullptr;
            auto p = std::find(FPriorityList.begin(), FPriorityList.end(), viewer);
            if (p != FPriorityList.end())
                FPriorityList.erase(p);
        }
        int count = static_cast<int>(going.size());
        int first = static_cast<int>(i);
        int trailingStart = ViewerCount() - FTrailingCount;
        if (first < FLeadingCount)
            FLeadingCount -= std::min(count, FLeadingCount - first);
        else if (first >= trailingStart)
            FTrailingCount -= count;
        FViewers.erase(FViewers.begin() + static_cast<std::ptrdiff_t>(i),
                       FViewers.begin() + static_cast<std::ptrdiff_t>(end));
        for (TBarItemViewer* viewer : going)
            delete viewer;
    }
    MarkLayoutStale();
}

void TBarView::ShownItemChanged(TBarCustomItem* Sender, bool Relayed, TBarItemChangeCode Code,
                                int Index, TBarCustomItem* Item)
{
    switch (Code) {
    case TBarItemChangeCode::ChildAdded:
        InsertViewersOf(Sender, Index, Item);
        break;
    case TBarItemChangeCode::ChildRemoving:
        RemoveViewersOf(Item);
        break;
    case TBarItemChangeCode::LinkTargetChanged:
        if (!Relayed)
            RebuildAllViewers();
        break;
    case TBarItemChangeCode::ChildBatchBegin:
        BeginUpdate();
        break;
    case TBarItemChangeCode::ChildBatchEnd:
        EndUpdate();
        break;
    case TBarItemChangeCode::ItemChanged:
        for (TBarItemViewer* viewer : FViewers)
            if (viewer->Item() == Item)
                Invalidate(viewer);
        break;
    case TBarItemChangeCode::ItemChangedSize:
        MarkLayoutStale();
        break;
    case TBarItemChangeCode::ChildRenamed:
        return;
    case TBarItemChangeCode::ChildImagesChanged:
        for (TBarView* view = this; view; view = view->FOpenChildView)
            view->MarkLayoutStale();
        break;
    }
    ValidateUnlessBusy();
}

void TBarView::ParentItemChanged(TBarCustomItem* Sender, bool Relayed, TBarItemChangeCode Code, int,
                                 TBarCustomItem*)
{
    if (Code != TBarItemChangeCode::LinkTargetChanged || Relayed ||
        FParentItem->GetChildSource() == FShownItem)
        return;
    FShownItem->DropChangeHandler(TBarItemChangeEvent(this, &TBarView::ShownItemChanged));
    FShownItem = FParentItem->GetChildSource();
    FShownItem->AttachChangeHandler(TBarItemChangeEvent(this, &TBarView::ShownItemChanged));
    RebuildAllViewers();
    ValidateUnlessBusy();
}

// ---------------------------------------------------------------------------
// Layout bookkeeping

void TBarView::EnsureLayout()
{
    if (FPositionsValid)
        return;
    TPoint size;
    PerformLayout(size);
}

void TBarView::MarkLayoutStale()
{
    FPositionsValid = false;
    if (FWindow)
        FWindow->Invalidate();
}

void TBarView::ValidateUnlessBusy()
{
    if (FUpdateCount == 0 && !FShownItem->HasState(csLoading))
        EnsureLayout();
}

void TBarView::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        ValidateUnlessBusy();
}

void TBarView::GetMargins(TBarViewOrientation Orientation, TRect& Margins)
{
    if (Orientation == TBarViewOrientation::Floating)
        Margins = TRect(4, 2, 4, 1);
    else
        Margins = TRect(0, 0, 0, 0);
}

TFont* TBarView::GetFont()
{
    if (TFont* shared = BarMenuFont())
        return shared;
    return FWindow->Font();
}

void TBarView::SetMaximumSize(int value)
{
    if (value == FMaximumSize)
        return;
    FMaximumSize = value;
    MarkLayoutStale();
}

void TBarView::SetChevronSize(int value)
{
    if (value == FChevronSize)
        return;
    FChevronSize = value;
    MarkLayoutStale();
}

void TBarView::SetWrapWidth(int value)
{
    if (value == FWrapWidth)
        return;
    FWrapWidth = value;
    MarkLayoutStale();
}

void TBarView::SetMaxHeight(int value)
{
    if (value == FMaxHeight)
        return;
    FMaxHeight = value;
    MarkLayoutStale();
}

// ---------------------------------------------------------------------------
// Painting

void TBarView::DrawItems(TCanvas* Canvas)
{
    EnsureLayout();
    bool inOrder = HasViewState(bvsPaintInOrder);
    std::vector<TBarItemViewer*> viewers = FViewers;
    for (TBarItemViewer* viewer : viewers)
        if (inOrder || viewer != FSelected)
            PaintViewer(Canvas, viewer);
    if (!inOrder && FSelected)
        PaintViewer(Canvas, FSelected);
    ExcludeViewState(bvsPaintInOrder);
}

void TBarView::EraseAside(TCanvas* canvas, const TRect& bounds)
{
    canvas->Brush()->SetColor(FWindow->EffectiveColor());
    canvas->FillRect(TRect(0, 0, bounds.Width(), bounds.Height()));
}

void TBarView::PaintViewer(TCanvas* Canvas, TBarItemViewer* viewer)
{
    TRect bounds = viewer->BoundsRect();
    if (!viewer->Shown() || bounds.IsEmpty() || dynamic_cast<TBarControlItem*>(viewer->Item()))
        return;
    bool selected = viewer == FSelected;
    bool pushed = selected && (FOpenViewer == viewer || (FCapture && FMouseInButtonPart));
    bool embossDisabled = !selected;
    TRect local(0, 0, bounds.Width(), bounds.Height());
    auto useViewFont = [&](TCanvas* canvas) {
        canvas->Font()->Assign(GetFont());
        if (viewer->Item()->EffectiveOptions() & tboDefault)
            canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
    };
    if (viewer->FNeedsPaint) {
        // Drawn aside and copied in one step: no flicker.
        viewer->FNeedsPaint = false;
        TBitmap buffer;
        buffer.SetSize(bounds.Width(), bounds.Height());
        TCanvas* canvas = buffer.Canvas();
        EraseAside(canvas, bounds);
        useViewFont(canvas);
        viewer->Paint(canvas, local, selected, pushed, embossDisabled);
        BitBlt(Canvas->Handle(), bounds.left, bounds.top, bounds.Width(), bounds.Height(),
               canvas->Handle(), 0, 0, SRCCOPY);
        return;
    }
    useViewFont(Canvas);
    HDC dc = Canvas->Handle();
    TSavedDCState saved(dc);
    // The canvas lets go of what it selected before the DC's state goes back,
    // however the paint ends.
    struct TCanvasRefresh
    {
        TCanvas* Canvas;
        ~TCanvasRefresh() { Canvas->Refresh(); }
    } refresh{Canvas};
    OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    IntersectClipRect(dc, 0, 0, bounds.Width(), bounds.Height());
    viewer->Paint(Canvas, local, selected, pushed, embossDisabled);
}

void TBarView::Invalidate(TBarItemViewer* viewer)
{
    if (!viewer->Shown() || viewer->BoundsRect().IsEmpty() ||
        dynamic_cast<TBarControlItem*>(viewer->Item()))
        return;
    viewer->FNeedsPaint = true;
    if (FWindow && FWindow->HandleAllocated()) {
        RECT r = viewer->BoundsRect();
        InvalidateRect(FWindow->WindowHandle(), &r, FALSE);
    }
}

// ---------------------------------------------------------------------------
// The open popup and the popup timers

void TBarView::SetOpenPopup(TBarItemViewer* opener, TBarView* childView, TWinControl* window)
{
    FOpenViewer = opener;
    FOpenChildView = childView;
    FOpenPopupWindow = window;
    if (FToolbarView)
        IncludeViewState(bvsMenuMode);
    if (opener) {
        Invalidate(opener);
        if (FWindow)
            FWindow->Update();
    }
}

void TBarView::ShutChildPopups()
{
    if (FOpenChildView)
        FOpenChildView->ShutChildPopups();
    TWinControl* window = FOpenPopupWindow;
    TBarItemViewer* opener = FOpenViewer;
    FOpenPopupWindow = nullptr;
    FOpenChildView = nullptr;
    FOpenViewer = nullptr;
    FreeAndNil(window);
    if (opener)
        Invalidate(opener);
}

TBarView* TBarView::DeepestOpenView()
{
    TBarView* view = this;
    while (view->FOpenChildView)
        view = view->FOpenChildView;
    return view;
}

void TBarView::StartTimer(TBarViewTimer timer, UINT intervalMs)
{
    if (!FWindow || !FWindow->HandleAllocated())
        return;
    SetTimer(FWindow->WindowHandle(), kBarFirstTimerId + timer, intervalMs, nullptr);
    FTimers |= 1u << timer;
}

void TBarView::StopTimer(TBarViewTimer timer)
{
    if (!(FTimers & (1u << timer)))
        return;
    FTimers &= ~(1u << timer);
    if (FWindow && FWindow->HandleAllocated())
        KillTimer(FWindow->WindowHandle(), kBarFirstTimerId + timer);
}

void TBarView::ViewTimerTick(TBarViewTimer timer)
{
    switch (timer) {
    case bvtOpen:
        StopTimer(bvtOpen);
        ShutChildPopups();
        ShowChildPopup(false);
        break;
    case bvtClose:
        StopTimer(bvtClose);
        ShutChildPopups();
        break;
    case bvtScrollUp:
        if (FShowUpArrow)
            Scroll(false);
        else
            StopTimer(bvtScrollUp);
        break;
    case bvtScrollDown:
        if (FShowDownArrow)
            Scroll(true);
        else
            StopTimer(bvtScrollDown);
        break;
    }
}

void TBarView::CancelCapture()
{
    if (!FCapture)
        return;
    FCapture = false;
    RootView()->FMousePosInvalid = true;
    if (FSelected)
        FSelected->LosingCapture();
}
