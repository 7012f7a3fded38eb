// The extended popups: the popup windows of extended items, the extended
// toolbar's chevron and floating frame, and the extended popup menu with
// its preparation before the popup shows.
#include "controls/ExtItem.h"

#include "classlib/Application.h"

// --- TExtPopupWindow ------------------------------------------------------------------------

TExtPopupWindow::TExtPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                                 bool Customizing)
    : TSkinPopupWindow(AOwner, ParentView, Item, Customizing, NewBarPopupView<TExtPopupWindowView>),
      FItem(Item)
{
    if (FItem)
        FItem->FreeNotification(this);
    auto* submenu = dynamic_cast<TExtSubmenuItem*>(Item);
    if (!submenu)
        return;
    if (submenu->ToolbarStylePopup())
        View()->SetToolbarLayout(true);
    if (submenu->AlwaysSelectFirst())
        if (TBarItemViewer* first = View()->InitialViewer())
            View()->ChangeSelection(first, false);
}

TExtPopupWindow::~TExtPopupWindow()
{
    FireClosePopup();
    if (FItem)
        FItem->RemoveFreeNotification(this);
}

void TExtPopupWindow::Notification(TComponent* AComponent, TOperation Operation)
{
    TSkinPopupWindow::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FItem)
        FItem = nullptr;
}

TBarCustomItem* TExtPopupWindow::ClickedItem() const
{
    // The loop leaves its done action on the root view of the chain, which
    // outlives the popups it opened.
    const TBarLoopResult& done = View()->RootView()->DoneAction();
    return done.Kind == TBarLoopResultKind::ItemClicked ? done.Item : nullptr;
}

void TExtPopupWindow::FireClosePopup()
{
    auto* submenu = dynamic_cast<TExtSubmenuItem*>(FItem);
    if (!submenu || !submenu->OnClosePopup)
        return;
    // A destructor lets no exception pass.
    try {
        submenu->OnClosePopup(submenu, ClickedItem());
    } catch (...) {
        if (Application)
            Application->HandleException(std::current_exception());
    }
}

TBarPopupWindowClass TExtCustomItem::PopupClassForItem()
{
    return NewBarPopupWindow<TExtPopupWindow>;
}

// --- Chevron and floating frame ------------------------------------------------------------------

TBarItemViewerClass TExtChevronItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TSkinChevronItemViewer>;
}

TBarPopupWindowClass TExtChevronItem::PopupClassForItem()
{
    return NewBarPopupWindow<TExtChevronPopupWindow>;
}

void TExtChevronItem::PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                                       TBarPopupPositionRec& Rec)
{
    auto* toolbar = dynamic_cast<TExtToolbar*>(Toolbar());
    if (toolbar && toolbar->ChevronVertical()) {
        // Laid out again with a line for each item; the window follows, its
        // right edge staying where the chevron put it.
        Window->View()->SetWrapWidth(1);
        TPoint content;
        Window->View()->UpdatePositions(content);
        Rec.X += Rec.W - Window->Width();
        Rec.W = Window->Width();
        Rec.H = Window->Height();
    }
    TBarChevronItem::PlacePopupWindow(ParentView, Window, Rec);
}

TBarFrameClass TExtToolbar::FrameClass()
{
    return NewBarFrame<TExtFloatingWindowParent>;
}

// --- TExtPopupMenu ------------------------------------------------------------------------------

namespace {

// The popup menu's root: its popups are extended popup windows, and the
// menu prepares the popup it shows standing alone before it is placed.
class TExtPopupRootItem : public TSkinRootItem
{
public:
    explicit TExtPopupRootItem(TExtPopupMenu* Menu) : TSkinRootItem(nullptr), FMenu(Menu) {}

    TBarPopupWindowClass PopupClassForItem() override { return NewBarPopupWindow<TExtPopupWindow>; }

    void PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                          TBarPopupPositionRec& Rec) override
    {
        auto* view = dynamic_cast<TExtPopupWindowView*>(Window->View());
        if (!ParentView && view) {
            FMenu->PreparePopupMenu(view);
            FitPreparedPopup(Window, Rec);
        }
        TSkinRootItem::PlacePopupWindow(ParentView, Window, Rec);
    }

private:
    // Lays out what the preparation left and places the window at the
    // menu's point again for its new width.
    static void FitPreparedPopup(TBarPopupWindow* Window, TBarPopupPositionRec& Rec)
    {
        TPoint content;
        Window->View()->UpdatePositions(content);
        Rec.W = Window->Width();
        Rec.H = Window->Height();
        // A popup standing alone opens at a point, kept as an empty rectangle.
        Rec.X = Rec.ParentItemRect.left;
        if (Rec.Alignment == bpaRight)
            Rec.X -= Rec.W;
        else if (Rec.Alignment == bpaCenter)
            Rec.X -= Rec.W / 2;
        Rec.Y = Rec.ParentItemRect.top;
    }

    TExtPopupMenu* FMenu; // not owned: it owns the root
};

} // namespace

TExtPopupMenu::TExtPopupMenu(TComponent* AOwner)
    : TSkinPopupMenu(AOwner, new TExtPopupRootItem(this))
{
}

TBarCustomItem* TExtPopupMenu::PopupInternally(int X, int Y)
{
    return Items()->Popup(X, Y, TrackButton() == TTrackButton::tbRightButton, Alignment(), true);
}

void TExtPopupMenu::PreparePopupMenu(TExtPopupWindowView* PopupView)
{
    if (OnInitPopup)
        OnInitPopup(this, PopupView);
}
