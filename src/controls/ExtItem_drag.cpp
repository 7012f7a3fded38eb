// Customizing an extended toolbar: its items dragged to another place on it
// or on another customizable toolbar.
#include "controls/ExtItem.h"

#include "classlib/Graphics.h"

void TExtToolbar::EndCustomizing()
{
    if (FCustomizing > 0)
        --FCustomizing;
}

bool TExtToolbar::CustomizeDragAllowed()
{
    return FCustomizing > 0 && !HasState(csDesigning);
}

bool TExtToolbar::TakeCustomizePress(const TPoint& client)
{
    if (!FCustomizable)
        return true;
    TBarItemViewer* viewer = View()->ViewerAtPixel(client);
    if (!viewer || viewer->Item() == OverflowItem())
        return true;
    FPressedItem = viewer->Item();
    BeginDrag(true);
    return true;
}

void TExtToolbar::DoStartDrag(TDragObject*& DragObject)
{
    TSkinToolbar::DoStartDrag(DragObject);
    if (DragObject || !FPressedItem)
        return;
    delete FDragObject;
    FDragObject = new TExtItemDragObject(this, FPressedItem);
    DragObject = FDragObject;
}

void TExtToolbar::DoEndDrag(TObject* Target, int X, int Y)
{
    FPressedItem = nullptr;
    delete FDragObject;
    FDragObject = nullptr;
    TSkinToolbar::DoEndDrag(Target, X, Y);
}

int TExtToolbar::DropIndexAt(const TPoint& client)
{
    return CustomizeDropIndex(ItemSpans(), Vertical() ? client.y : client.x, Items()->Count());
}

std::vector<TItemSpan> TExtToolbar::ItemSpans()
{
    std::vector<TItemSpan> spans;
    for (int i = 0; i < View()->ViewerCount(); ++i) {
        TBarItemViewer* viewer = View()->Viewers(i);
        if (!viewer->Shown() || viewer->Item()->Parent() != Items())
            continue;
        const TRect& r = viewer->BoundsRect();
        spans.push_back({Vertical() ? r.top : r.left, Vertical() ? r.bottom : r.right,
                         Items()->IndexOf(viewer->Item())});
    }
    return spans;
}

void TExtToolbar::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (!dynamic_cast<TExtCustomDragObject*>(Source)) {
        TSkinToolbar::DragOver(Source, X, Y, State, Accept);
        return;
    }
    Accept = FCustomizable;
    SetDropMark(Accept && State != TDragState::dsDragLeave ? DropIndexAt(TPoint(X, Y)) : -1);
}

void TExtToolbar::DragDrop(TObject* Source, int X, int Y)
{
    auto* object = dynamic_cast<TExtCustomDragObject*>(Source);
    if (!object) {
        TSkinToolbar::DragDrop(Source, X, Y);
        return;
    }
    const int drop = FDropMark >= 0 ? FDropMark : Items()->Count();
    SetDropMark(-1);
    TBarCustomItem* item = object->DraggedItem();
    TBarCustomItem* from = item->Parent();
    const int index = CustomizeInsertIndex(drop, from == Items() ? Items()->IndexOf(item) : -1);
    if (index < 0)
        return;
    if (from)
        from->Remove(item);
    Items()->Insert(index, item);
    item->SetVisible(true);
}

void TExtToolbar::SetDropMark(int value)
{
    if (value == FDropMark)
        return;
    FDropMark = value;
    if (HandleAllocated())
        InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TExtToolbar::PaintDropMark()
{
    if (FDropMark < 0 || !HandleAllocated())
        return;
    const int pos = CustomizeMarkPos(ItemSpans(), FDropMark);
    const TRect client = ClientRect();
    const TRect mark = Vertical() ? TRect(client.left, pos - 1, client.right, pos + 1)
                                  : TRect(pos - 1, client.top, pos + 1, client.bottom);
    TScreenDC dc(WindowHandle());
    FillRect(dc.Handle(), &mark, GetSysColorBrush(COLOR_WINDOWTEXT));
}
