// The extended toolbar: right-aligned and anchored items, anchored
// controls, display modes and its own background.
#include "controls/ExtBarRules.h"
#include "controls/ExtItem.h"

#include "classlib/ControlMessages.h"

#include "toolbar/BarCommon.h"
#include "toolbar/BarDock.h"

#include <algorithm>
#include <limits>
#include <windowsx.h>

void TExtToolbarView::SetMaxItemHeight(int value)
{
    value = std::max(value, -1);
    if (value == FMaxItemHeight)
        return;
    FMaxItemHeight = value;
    MarkLayoutStale();
}

// --- TExtToolbar ------------------------------------------------------------------------------

TExtToolbar::TExtToolbar(TComponent* AOwner) : TSkinToolbar(AOwner)
{
    ReplaceView(new TExtToolbarView(this, Items(), !HasState(csDesigning)));
    Items()->AttachChangeHandler(TBarItemChangeEvent(this, &TExtToolbar::HandleItemChangeNote));
    ReplaceOverflowItem(new TExtChevronItem(this));
}

TExtToolbar::~TExtToolbar()
{
    Items()->DropChangeHandler(TBarItemChangeEvent(this, &TExtToolbar::HandleItemChangeNote));
    if (DragManagerSource() == this)
        DragManagerEnd(false);
    delete FDragObject;
}

bool TExtToolbar::LayoutBlocked() const
{
    return FRelayouting > 0 || HasState(csLoading) || HasState(csDestroying) || HasState(csReading);
}

void TExtToolbar::SetDisplayMode(TExtToolbarDisplayMode value)
{
    if (value == FDisplayMode)
        return;
    FDisplayMode = value;
    constexpr TBarItemOptions aboveCaption = tboImageAboveCaption | tboSameWidth;
    const TBarItemOptions options = Items()->Options() & ~aboveCaption;
    Items()->SetOptions(
        value == TExtToolbarDisplayMode::tbdmImageAboveCaption ? options | aboveCaption : options);
    // Image-only changes no option: the viewers measure again.
    View()->MarkLayoutStale();
    Arrange();
}

void TExtToolbar::EndItemUpdate()
{
    if (FItemUpdating > 0)
        --FItemUpdating;
}

void TExtToolbar::HandleItemChangeNote(TBarCustomItem* Sender, bool Relayed,
                                       TBarItemChangeCode Code, int Index, TBarCustomItem* Item)
{
    // An item taken away while it is dragged ends the drag.
    if (Code == TBarItemChangeCode::ChildRemoving && Item && Item == FPressedItem &&
        DragManagerSource() == this)
        DragManagerEnd(false);
    if (LayoutBlocked() || FItemUpdating > 0)
        return;
    if (OnItemNotification)
        OnItemNotification(this, Sender, Relayed, Code, Index, Item);
    if (Relayed)
        return;
    switch (Code) {
    case TBarItemChangeCode::ChildAdded:
    case TBarItemChangeCode::ChildRemoving:
        if (Code == TBarItemChangeCode::ChildRemoving)
            std::erase_if(FItemCache, [Item](const TExtItemCache& e) { return e.Item == Item; });
        FChangedItem = Item;
        FChangedItemGoing = Code == TBarItemChangeCode::ChildRemoving;
        PushItemsRight();
        PinItems();
        FChangedItem = nullptr;
        break;
    case TBarItemChangeCode::ItemChangedSize:
        PushItemsRight();
        break;
    default:
        break;
    }
}

bool TExtToolbar::Vertical()
{
    return CurrentDock() && CurrentDock()->LeftRight();
}

int TExtToolbar::AlongLength()
{
    return Vertical() ? Height() : Width();
}

int TExtToolbar::RightPushMargin()
{
    return Width() - ClientWidth();
}

TExtRightAlignSpacerItem* TExtToolbar::LastVisibleSpacer()
{
    TBarView* view = View();
    for (int i = view->ViewerCount() - 1; i >= 0; --i) {
        auto* spacer = dynamic_cast<TExtRightAlignSpacerItem*>(view->Viewers(i)->Item());
        if (spacer && spacer->Visible())
            return spacer;
    }
    return nullptr;
}

int TExtToolbar::TrailingEdge()
{
    int trailing = 0;
    for (int i = 0; i < View()->ViewerCount(); ++i) {
        TBarItemViewer* viewer = View()->Viewers(i);
        if (viewer->Clipped())
            return std::numeric_limits<int>::max() / 2;
        if (viewer->Shown() && viewer->Item() != OverflowItem())
            trailing = std::max<int>(trailing, Vertical() ? viewer->BoundsRect().bottom
                                                          : viewer->BoundsRect().right);
    }
    return trailing;
}

void TExtToolbar::PushItemsRight()
{
    if (LayoutBlocked() || Width() <= 0 || Height() <= 0)
        return;
    TExtRightAlignSpacerItem* spacer = LastVisibleSpacer();
    if (!spacer)
        return;
    ++FRelayouting;
    View()->BeginUpdate();
    // Laid out without the spacer's width, the items show their whole
    // extent (none hides behind the chevron for the spacer's sake).
    spacer->SetCustomWidth(0);
    TPoint size;
    View()->UpdatePositions(size);
    const int space = ToolbarPushSpace(!Vertical(), Width(), Height(), RightPushMargin());
    spacer->SetCustomWidth(RightAlignSpacerWidth(space, TrailingEdge(), 0));
    View()->UpdatePositions(size);
    View()->EndUpdate();
    --FRelayouting;
}

void TExtToolbar::PinItems()
{
    if (LayoutBlocked() || Width() <= 0 || Height() <= 0)
        return;
    ++FRelayouting;
    PinAnchoredItems();
    PinAnchoredControls();
    --FRelayouting;
}

int TExtToolbar::MeasuredTrailingEdge(TBarCustomItem* going)
{
    const TPoint size = View()->MeasureLayout(View()->Orientation(), 0, 0);
    int edge = Vertical() ? size.y : size.x;
    for (int i = 0; going && i < View()->ViewerCount(); ++i) {
        TBarItemViewer* viewer = View()->Viewers(i);
        if (viewer->Item() == going && viewer->Shown())
            edge -= Vertical() ? viewer->BoundsRect().Height() : viewer->BoundsRect().Width();
    }
    return edge;
}

void TExtToolbar::PinAnchoredControls()
{
    TBarCustomItem* going = FChangedItemGoing ? FChangedItem : nullptr;
    if (FChangedItem && !FItemCache.empty())
        CorrectCachedWidths(FItemCache, FLastTrailingEdge, MeasuredTrailingEdge(going));
    std::vector<TExtItemCache> kept;
    for (int i = 0; i < View()->ViewerCount(); ++i) {
        auto* item = dynamic_cast<TBarControlItem*>(View()->Viewers(i)->Item());
        TControl* control = item ? item->Control() : nullptr;
        if (!control || !(control->Anchors() & akRight) || item == going)
            continue;
        auto cached = std::find_if(FItemCache.begin(), FItemCache.end(),
                                   [item](const TExtItemCache& e) { return e.Item == item; });
        kept.push_back(cached != FItemCache.end()
                           ? *cached
                           : TExtItemCache{item->Name(), item, control->Left(), control->Top(),
                                           control->Width(), control->Height(), Width(), Height()});
        const int width = PinnedControlWidth(kept.back(), Width());
        if (control->Width() != width)
            control->SetWidth(width);
    }
    FItemCache = std::move(kept);
    FLastTrailingEdge = FItemCache.empty() ? -1 : MeasuredTrailingEdge(going);
}

void TExtToolbar::PinAnchoredItems()
{
    const int length = AlongLength();
    for (int i = 0; i < View()->ViewerCount(); ++i) {
        auto* viewer = dynamic_cast<TExtItemViewer*>(View()->Viewers(i));
        auto* item = viewer ? dynamic_cast<TExtCustomItem*>(viewer->Item()) : nullptr;
        if (!item || !item->Anchored())
            continue;
        if (viewer->AnchorBase() < 0)
            viewer->SetAnchorBase(length);
        viewer->SetAnchorExtra(length - viewer->AnchorBase());
    }
}

void TExtToolbar::DoDrawBackground(TCanvas* ACanvas, const TRect& ARect, int PaintStage,
                                   bool& PaintDefault)
{
    if (OnDrawBackground)
        OnDrawBackground(this, ACanvas, ARect, PaintStage, PaintDefault);
}

void TExtToolbar::EraseBackground(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    TCanvas canvas;
    canvas.SetHandle(dc);
    const TRect client = ClientRect();
    bool paintDefault = true;
    DoDrawBackground(&canvas, client, kExtPaintBefore, paintDefault);
    if (paintDefault) {
        canvas.Refresh();
        auto* dock = dynamic_cast<TExtDock*>(CurrentDock());
        if (dock && InDock() && Color() == clNone && dock->PaintsOwnBackground()) {
            // The dock's painted background shows through.
            TPoint origin = dock->BackgroundOrigin(this);
            const TRect area = ClientAreaInWindow(WindowHandle());
            origin.x += area.left;
            origin.y += area.top;
            dock->DrawBackgroundAt(dc, origin, ClientWidth(), ClientHeight());
        } else {
            TSkinToolbar::WndProc(message);
        }
    }
    bool after = true;
    DoDrawBackground(&canvas, client, kExtPaintAfter, after);
    message.Result = 1;
}

void TExtToolbar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        EraseBackground(message);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (CustomizeDragAllowed() &&
            TakeCustomizePress(TPoint(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam))))
            return;
        break;
    default:
        break;
    }
    TSkinToolbar::WndProc(message);
    switch (message.Msg) {
    case CM_HINTSHOW:
        if (message.Result == 0)
            PrepareItemHint(*reinterpret_cast<THintInfo*>(message.LParam));
        break;
    case WM_SIZE:
        PinItems();
        PushItemsRight();
        break;
    case WM_PAINT:
        PaintDropMark();
        break;
    default:
        break;
    }
}
