// The extended toolbar: right-aligned and anchored items.
#include "controls/ExtBarRules.h"
#include "controls/ExtItem.h"

#include "toolbar/BarDock.h"

#include <limits>

TExtToolbar::TExtToolbar(TComponent* AOwner) : TSkinToolbar(AOwner)
{
    Items()->AttachChangeHandler(TBarItemChangeEvent(this, &TExtToolbar::HandleItemChangeNote));
    ReplaceOverflowItem(new TExtChevronItem(this));
}

TExtToolbar::~TExtToolbar()
{
    Items()->DropChangeHandler(TBarItemChangeEvent(this, &TExtToolbar::HandleItemChangeNote));
}

bool TExtToolbar::LayoutBlocked() const
{
    return FRelayouting > 0 || HasState(csLoading) || HasState(csDestroying) || HasState(csReading);
}

void TExtToolbar::HandleItemChangeNote(TBarCustomItem*, bool Relayed, TBarItemChangeCode Code, int,
                                       TBarCustomItem*)
{
    if (Relayed || LayoutBlocked())
        return;
    switch (Code) {
    case TBarItemChangeCode::ChildAdded:
    case TBarItemChangeCode::ChildRemoving:
        PushItemsRight();
        PinItems();
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
    --FRelayouting;
}

void TExtToolbar::WndProc(TMessage& message)
{
    TSkinToolbar::WndProc(message);
    if (message.Msg == WM_SIZE) {
        PinItems();
        PushItemsRight();
    }
}
