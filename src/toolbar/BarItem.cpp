// The item tree: properties, the child list, notifications, options, the
// action link, the item kinds and the framework's start and end. Clicks,
// shortcuts and done actions are in BarItem_click.cpp.
#include "BarItem.h"

#include "BarAcc.h"
#include "BarAnim.h"
#include "BarCommon.h"
#include "BarConsts.h"
#include "BarHook.h"

#include "classlib/ScopeExit.h"

namespace {

TFont* gBarMenuFont = nullptr; // owned; between the framework's start and end

// Runs work with the views of parent's children holding their layout until
// it ends, however it ends.
template <class Work> void AsChildBatch(TBarCustomItem* parent, Work&& work)
{
    parent->Notify(TBarItemChangeCode::ChildBatchBegin, -1, nullptr);
    TScopeExit ended([parent] { parent->Notify(TBarItemChangeCode::ChildBatchEnd, -1, nullptr); });
    work();
}

} // namespace

// ---------------------------------------------------------------------------
// The framework's start and end

void StartBarFramework()
{
    if (!gBarMenuFont) {
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof(metrics);
        gBarMenuFont = new TFont();
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            gBarMenuFont->SetHandle(CreateFontIndirectA(&metrics.lfMenuFont));
    }
    StartBarAnimation();
}

void StopBarFramework()
{
    RemoveThreadHooks();
    StopBarAnimation();
    StopBarAccessibility();
    FreeBarPostedClicks();
    delete gBarMenuFont;
    gBarMenuFont = nullptr;
}

TFont* BarMenuFont()
{
    return gBarMenuFont;
}

// ---------------------------------------------------------------------------
// TBarCustomItemActionLink

bool TBarCustomItemActionLink::IsOnExecuteLinked()
{
    return TActionLink::IsOnExecuteLinked() && FAction && FClient->OnClick == FAction->OnExecute;
}

bool TBarCustomItemActionLink::IsAutoToggleLinked()
{
    return IsAutoCheckLinked();
}

// ---------------------------------------------------------------------------
// TBarCustomItem: life

TBarCustomItem::TBarCustomItem(TComponent* AOwner)
    : TComponent(AOwner), FImagesLink(new TChangeLink), FSubMenuImagesLink(new TChangeLink)
{
    FImagesLink->OnChange = TNotifyEvent(this, &TBarCustomItem::ImagesChanged);
    FSubMenuImagesLink->OnChange = TNotifyEvent(this, &TBarCustomItem::SubMenuImagesChanged);
    BarObjectCreated();
}

TBarCustomItem::~TBarCustomItem()
{
    // Each child leaves this item's list as it goes.
    while (!FItems.empty())
        delete FItems.back();
    if (FParent)
        FParent->Remove(this);
    delete FActionLink;
    FActionLink = nullptr;
    delete FImagesLink;
    delete FSubMenuImagesLink;
    BarObjectDestroyed(this);
}

void TBarCustomItem::Loaded()
{
    TComponent::Loaded();
    if (Action())
        ActionChange(Action(), true);
}

void TBarCustomItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    // The going component is half torn down: clear the references without
    // calling into it.
    for (auto it = FLinkingItems.begin(); it != FLinkingItems.end(); ++it)
        if (static_cast<TComponent*>(*it) == AComponent) {
            FLinkingItems.erase(it);
            break;
        }
    // A going action has already cut its links loose.
    if (FActionLink && !FActionLink->Action()) {
        delete FActionLink;
        FActionLink = nullptr;
    }
    if (AComponent == FImages) {
        FImages = nullptr;
        FImagesLink->SetSender(nullptr);
        FImagesSize = {};
        Change(true);
    }
    if (AComponent == FSubMenuImages) {
        FSubMenuImages = nullptr;
        FSubMenuImagesLink->SetSender(nullptr);
        FSubMenuImagesSize = {};
        Notify(TBarItemChangeCode::ChildImagesChanged, -1, nullptr);
    }
    if (AComponent == FLinkSubitems)
        SetLinkSubitems(nullptr);
}

void TBarCustomItem::SetName(const AnsiString& value)
{
    AnsiString old = Name();
    TComponent::SetName(value);
    if (Name() != old && FParent)
        FParent->Notify(TBarItemChangeCode::ChildRenamed, -1, this);
}

// ---------------------------------------------------------------------------
// TBarCustomItem: properties

void TBarCustomItem::SetCaption(const AnsiString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    Change(true);
}

void TBarCustomItem::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    Change(false);
    if (value)
        UncheckGroupSiblings();
}

void TBarCustomItem::SetDisplayMode(TBarItemDisplayMode value)
{
    if (value == FDisplayMode)
        return;
    FDisplayMode = value;
    Change(true);
}

void TBarCustomItem::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    EnabledChanged();
}

void TBarCustomItem::EnabledChanged()
{
    Change(false);
}

void TBarCustomItem::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    if (FChecked)
        UncheckGroupSiblings();
}

void TBarCustomItem::UncheckGroupSiblings()
{
    if (FGroupIndex == 0 || !FParent)
        return;
    std::vector<TBarCustomItem*> siblings = FParent->FItems;
    for (TBarCustomItem* sibling : siblings)
        if (sibling != this && sibling->FGroupIndex == FGroupIndex)
            sibling->SetChecked(false);
}

void TBarCustomItem::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    // An image that comes or goes changes the size; another one does not.
    bool needResize = (FImageIndex < 0) != (value < 0);
    FImageIndex = value;
    Change(needResize);
}

SIZE TBarCustomItem::ImageListSize(TCustomImageList* list) const
{
    return list ? SIZE{list->Width(), list->Height()} : SIZE{0, 0};
}

void TBarCustomItem::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    SIZE oldSize = ImageListSize(FImages);
    bool hadList = FImages != nullptr;
    ReplaceLinkedImages(this, FImages, value, FImagesLink);
    FImagesSize = ImageListSize(FImages);
    bool sizeChanged = hadList != (FImages != nullptr) || oldSize.cx != FImagesSize.cx ||
                       oldSize.cy != FImagesSize.cy;
    Change(sizeChanged);
}

void TBarCustomItem::ImagesChanged(TObject*)
{
    SIZE size = ImageListSize(FImages);
    bool sizeChanged = size.cx != FImagesSize.cx || size.cy != FImagesSize.cy;
    FImagesSize = size;
    Change(sizeChanged);
}

void TBarCustomItem::SetSubMenuImages(TCustomImageList* value)
{
    if (value == FSubMenuImages)
        return;
    ReplaceLinkedImages(this, FSubMenuImages, value, FSubMenuImagesLink);
    FSubMenuImagesSize = ImageListSize(FSubMenuImages);
    Notify(TBarItemChangeCode::ChildImagesChanged, -1, nullptr);
}

void TBarCustomItem::SubMenuImagesChanged(TObject*)
{
    FSubMenuImagesSize = ImageListSize(FSubMenuImages);
    Notify(TBarItemChangeCode::ChildImagesChanged, -1, nullptr);
}

void TBarCustomItem::SetRadioItem(bool value)
{
    if (value == FRadioItem)
        return;
    FRadioItem = value;
    Change(false);
}

void TBarCustomItem::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Change(true);
}

void TBarCustomItem::Change(bool NeedResize)
{
    if (FParent)
        FParent->Notify(NeedResize ? TBarItemChangeCode::ItemChangedSize
                                   : TBarItemChangeCode::ItemChanged,
                        -1, this);
}

TBarItemViewerClass TBarCustomItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TBarItemViewer>;
}

// ---------------------------------------------------------------------------
// TBarCustomItem: options

TBarItemOptions TBarCustomItem::SanitizeOptions(TBarItemOptions options)
{
    if (!(options & tboToolbarStyle))
        options &= ~tboToolbarSize;
    return options;
}

void TBarCustomItem::SetOptions(TBarItemOptions value)
{
    value = SanitizeOptions(value);
    if (value == FOptions)
        return;
    FOptions = value;
    RecomputeEffectiveOptions();
}

void TBarCustomItem::SetMaskOptions(TBarItemOptions value)
{
    if (value == FMaskOptions)
        return;
    FMaskOptions = value;
    RecomputeEffectiveOptions();
}

void TBarCustomItem::SetInheritOptions(bool value)
{
    if (value == FInheritOptions)
        return;
    FInheritOptions = value;
    RecomputeEffectiveOptions();
}

void TBarCustomItem::RecomputeEffectiveOptions()
{
    TBarItemOptions inherited = 0;
    if (FInheritOptions && FParent)
        inherited = FParent->FEffectiveOptions & ~tboDefault;
    TBarItemOptions effective = SanitizeOptions((inherited & ~FMaskOptions) | FOptions);
    if (effective == FEffectiveOptions)
        return;
    TBarItemOptions old = FEffectiveOptions;
    FEffectiveOptions = effective;
    if ((old ^ effective) & kBarResizingOptions)
        Change(true);
    std::vector<TBarCustomItem*> children = FItems;
    for (TBarCustomItem* child : children)
        if (child->FInheritOptions)
            child->RecomputeEffectiveOptions();
}

// ---------------------------------------------------------------------------
// TBarCustomItem: the child list

TBarCustomItem* TBarCustomItem::GetItem(int index) const
{
    if (index < 0 || index >= Count())
        throw EBarItemError(SBarItemIndexOutOfRange);
    return FItems[index];
}

bool TBarCustomItem::ContainsInTree(const TBarCustomItem* item) const
{
    for (const TBarCustomItem* p = item; p; p = p->FParent)
        if (p == this)
            return true;
    return false;
}

void TBarCustomItem::Insert(int index, TBarCustomItem* item)
{
    // An item may hang in one place only; hanging an item below itself
    // would make the tree a loop.
    if (!item || item->FParent || item->ContainsInTree(this))
        throw EBarItemError(SBarItemAlreadyInserted);
    if (index < 0 || index > Count())
        throw EBarItemError(SBarItemIndexOutOfRange);
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Notify(TBarItemChangeCode::ChildBatchBegin, -1, nullptr);
    Notify(TBarItemChangeCode::ChildAdded, index, item);
    item->RecomputeEffectiveOptions();
    Notify(TBarItemChangeCode::ChildBatchEnd, -1, nullptr);
}

void TBarCustomItem::Delete(int index)
{
    TBarCustomItem* child = GetItem(index);
    Notify(TBarItemChangeCode::ChildRemoving, index, child);
    child->FParent = nullptr;
    int now = IndexOf(child);
    if (now >= 0)
        FItems.erase(FItems.begin() + now);
}

int TBarCustomItem::IndexOf(const TBarCustomItem* item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i] == item)
            return static_cast<int>(i);
    return -1;
}

void TBarCustomItem::Remove(TBarCustomItem* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
}

void TBarCustomItem::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    TBarCustomItem* item = GetItem(curIndex);
    if (newIndex < 0 || newIndex >= Count())
        throw EBarItemError(SBarItemIndexOutOfRange);
    AsChildBatch(this, [&] {
        Delete(curIndex);
        Insert(newIndex, item);
    });
}

void TBarCustomItem::SetLinkSubitems(TBarCustomItem* value)
{
    if (value == this)
        value = nullptr;
    if (value == FLinkSubitems)
        return;
    if (FLinkSubitems)
        ListRemove(FLinkSubitems->FLinkingItems, this);
    ReplaceFreeNotified(this, FLinkSubitems, value);
    if (FLinkSubitems)
        ListAddUnique(FLinkSubitems->FLinkingItems, this);
    Notify(TBarItemChangeCode::LinkTargetChanged, -1, nullptr);
}

// ---------------------------------------------------------------------------
// TBarCustomItem: notifications

void TBarCustomItem::AttachChangeHandler(const TBarItemChangeEvent& handler)
{
    for (TChangeHandlerRecord& record : FChangeHandlers)
        if (record.Handler == handler) {
            ++record.UseCount;
            return;
        }
    FChangeHandlers.push_back({handler, 1});
}

void TBarCustomItem::DropChangeHandler(const TBarItemChangeEvent& handler)
{
    for (auto it = FChangeHandlers.begin(); it != FChangeHandlers.end(); ++it)
        if (it->Handler == handler) {
            if (--it->UseCount == 0)
                FChangeHandlers.erase(it);
            return;
        }
}

void TBarCustomItem::Notify(TBarItemChangeCode code, int index, TBarCustomItem* item)
{
    Deliver(this, code, index, item, 0);
}

void TBarCustomItem::Deliver(TBarCustomItem* firstSender, TBarItemChangeCode code, int index,
                             TBarCustomItem* item, int depth)
{
    // The views of a parent show an inline group's children: they hear of
    // them too.
    if ((FItemTraits & InlineChildren) && FParent && depth < kBarRelayDepthLimit)
        FParent->Deliver(firstSender, code, index, item, depth + 1);
    // So do the views of a group that links to this item.
    for (size_t i = 0; i < FLinkingItems.size(); ++i) {
        TBarCustomItem* linking = FLinkingItems[i];
        if (linking == FParent)
            continue;
        if ((linking->FItemTraits & InlineChildren) && linking->FParent &&
            depth < kBarRelayDepthLimit)
            linking->FParent->Deliver(firstSender, code, index, item, depth + 1);
    }
    // A handler may drop itself or another one: the bound is read afresh at
    // every step, and the index moves on only past a handler still in place.
    for (size_t i = 0; i < FChangeHandlers.size();) {
        TBarItemChangeEvent handler = FChangeHandlers[i].Handler;
        handler(firstSender, firstSender != this, code, index, item);
        if (i < FChangeHandlers.size() && FChangeHandlers[i].Handler == handler)
            ++i;
    }
}

// ---------------------------------------------------------------------------
// TBarCustomItem: the action link

TBasicAction* TBarCustomItem::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

TBarCustomItemActionLink* TBarCustomItem::CreateActionLink()
{
    return new TBarCustomItemActionLink(this);
}

void TBarCustomItem::SetAction(TBasicAction* value)
{
    TBasicAction* old = Action();
    if (value == old && (value || !FActionLink))
        return;
    if (old)
        old->RemoveFreeNotification(this);
    if (!value) {
        delete FActionLink;
        FActionLink = nullptr;
        return;
    }
    if (!FActionLink)
        FActionLink = CreateActionLink();
    FActionLink->SetAction(value);
    FActionLink->OnChange = TNotifyEvent(this, &TBarCustomItem::DoActionChange);
    ActionChange(value, value->HasState(csLoading));
    value->FreeNotification(this);
}

void TBarCustomItem::DoActionChange(TObject* Sender)
{
    if (Sender != Action())
        return;
    // The views lay the item out once, after every property the action
    // brings: an item that sets one back at once (a caption of its own)
    // never makes its bar grow and shrink again.
    if (FParent)
        AsChildBatch(FParent, [&] { ActionChange(Sender, false); });
    else
        ActionChange(Sender, false);
}

void TBarCustomItem::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    // With CheckDefaults, a property set to other than its default stays.
    if (!CheckDefaults || !FAutoCheck)
        SetAutoCheck(action->AutoCheck());
    if (!CheckDefaults || FCaption.empty())
        SetCaption(action->Caption());
    if (!CheckDefaults || !FChecked)
        SetChecked(action->Checked());
    if (!CheckDefaults || FEnabled)
        SetEnabled(action->Enabled());
    if (!CheckDefaults || FHelpContext == 0)
        SetHelpContext(action->HelpContext());
    if (!CheckDefaults || FHint.empty())
        SetHint(action->Hint());
    if (!CheckDefaults || FImageIndex == -1)
        SetImageIndex(action->ImageIndex());
    if (!CheckDefaults || FShortCut == scNone)
        SetShortCut(action->ShortCut());
    if (!CheckDefaults || FVisible)
        SetVisible(action->Visible());
    if (!CheckDefaults || !OnClick)
        OnClick = action->OnExecute;
}

void TBarCustomItem::InitiateAction()
{
    if (FActionLink)
        FActionLink->Update();
}

// ---------------------------------------------------------------------------
// The item kinds

TBarGroupItem::TBarGroupItem(TComponent* AOwner) : TBarCustomItem(AOwner)
{
    SetItemTraits(ItemTraits() | InlineChildren);
}

TBarSeparatorItem::TBarSeparatorItem(TComponent* AOwner) : TBarCustomItem(AOwner)
{
    SetItemTraits((ItemTraits() & ~kBarItemTraits) | ActsAsDivider | IgnoresMouseUp);
}

void TBarSeparatorItem::SetBlank(bool value)
{
    if (value == FBlank)
        return;
    FBlank = value;
    Change(false);
}

TBarItemViewerClass TBarSeparatorItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TBarSeparatorItemViewer>;
}

TBarControlItem::TBarControlItem(TComponent* AOwner) : TBarCustomItem(AOwner)
{
    SetItemTraits((ItemTraits() & ~HotTrackable) | IgnoresMouseUp);
}

TBarControlItem::~TBarControlItem()
{
    TControl* control = FControl;
    if (control && !control->HasState(csAncestor)) {
        FControl = nullptr;
        control->RemoveFreeNotification(this);
        FreeAndNil(control);
    }
}

void TBarControlItem::SetControl(TControl* value)
{
    if (value == FControl)
        return;
    ReplaceFreeNotified(this, FControl, value);
    Change(true);
}

void TBarControlItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TBarCustomItem::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FControl) {
        FControl = nullptr;
        Change(true);
    }
}

// ---------------------------------------------------------------------------
// TBarCustomImageList

TBarCustomImageList::TBarCustomImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FFirstStateLink(new TChangeLink), FDisabledLink(new TChangeLink),
      FSecondStateLink(new TChangeLink), FImagesBitmap(new TBitmap)
{
    for (TChangeLink* link : {FFirstStateLink, FDisabledLink, FSecondStateLink})
        link->OnChange = TNotifyEvent(this, &TBarCustomImageList::StateListChanged);
    FImagesBitmap->OnChange = TNotifyEvent(this, &TBarCustomImageList::ImagesBitmapChanged);
}

TBarCustomImageList::~TBarCustomImageList()
{
    delete FFirstStateLink;
    delete FDisabledLink;
    delete FSecondStateLink;
    delete FImagesBitmap;
}

void TBarCustomImageList::SetStateList(TCustomImageList*& field, TChangeLink* link,
                                       TCustomImageList* value)
{
    if (value == this)
        value = nullptr;
    if (value == field)
        return;
    ReplaceLinkedImages(this, field, value, link);
    Change();
}

void TBarCustomImageList::SetFirstStateImages(TCustomImageList* value)
{
    SetStateList(FFirstStateImages, FFirstStateLink, value);
}

void TBarCustomImageList::SetDisabledImages(TCustomImageList* value)
{
    SetStateList(FDisabledImages, FDisabledLink, value);
}

void TBarCustomImageList::SetSecondStateImages(TCustomImageList* value)
{
    SetStateList(FSecondStateImages, FSecondStateLink, value);
}

void TBarCustomImageList::SetImagesBitmapMaskColor(TColor value)
{
    if (value == FMaskColor)
        return;
    FMaskColor = value;
    ImagesBitmapChanged(nullptr);
}

void TBarCustomImageList::StateListChanged(TObject*)
{
    Change();
}

void TBarCustomImageList::ImagesBitmapChanged(TObject*)
{
    if (FImagesBitmap->Empty())
        return;
    Clear();
    AddMasked(FImagesBitmap, FMaskColor);
}

void TBarCustomImageList::DrawState(TCanvas* Canvas, int X, int Y, int Index, bool Enabled,
                                    bool FirstState, bool SecondState)
{
    if (!Enabled && FDisabledImages)
        FDisabledImages->Draw(Canvas, X, Y, Index, true);
    else if (FirstState && FFirstStateImages)
        FFirstStateImages->Draw(Canvas, X, Y, Index, Enabled);
    else if (SecondState && FSecondStateImages)
        FSecondStateImages->Draw(Canvas, X, Y, Index, Enabled);
    else
        Draw(Canvas, X, Y, Index, Enabled);
}

void TBarCustomImageList::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomImageList::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    // The going list is half torn down: forget it without calling into it.
    if (AComponent == FFirstStateImages) {
        FFirstStateImages = nullptr;
        FFirstStateLink->SetSender(nullptr);
    }
    if (AComponent == FDisabledImages) {
        FDisabledImages = nullptr;
        FDisabledLink->SetSender(nullptr);
    }
    if (AComponent == FSecondStateImages) {
        FSecondStateImages = nullptr;
        FSecondStateLink->SetSender(nullptr);
    }
}
