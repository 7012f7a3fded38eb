#include "Actions.h"

#include "Application.h"
#include "ControlMessages.h"
#include "ImageList.h"
#include "ScopeExit.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TBasicActionLink

TBasicActionLink::~TBasicActionLink()
{
    if (FAction)
        FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value)
{
    if (value == FAction)
        return;
    if (FAction)
        FAction->UnRegisterChanges(this);
    FAction = value;
    if (FAction)
        FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent)
{
    if (!FAction)
        return false;
    FAction->SetActionComponent(AComponent);
    TScopeExit released([this] {
        if (FAction)
            FAction->SetActionComponent(nullptr);
    });
    return FAction->Execute();
}

bool TBasicActionLink::Update()
{
    return FAction && FAction->Update();
}

void TBasicActionLink::Change()
{
    if (OnChange)
        OnChange(FAction);
}

// ---------------------------------------------------------------------------
// TBasicAction

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
    // The links live on in their clients until the free notification
    // reaches them: cut them loose.
    for (TBasicActionLink* link : FClients)
        link->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::SetActionComponent(TComponent* value)
{
    ReplaceFreeNotified(this, FActionComponent, value);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FActionComponent)
        FActionComponent = nullptr;
}

void TBasicAction::Change()
{
    std::vector<TBasicActionLink*> snapshot = FClients;
    for (TBasicActionLink* link : snapshot)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* link)
{
    if (std::find(FClients.begin(), FClients.end(), link) == FClients.end())
        FClients.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link)
{
    auto it = std::find(FClients.begin(), FClients.end(), link);
    if (it != FClients.end())
        FClients.erase(it);
}

// ---------------------------------------------------------------------------
// TContainedAction

TContainedAction::TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TContainedAction::~TContainedAction()
{
    if (FActionList)
        FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TActionList* value)
{
    if (value == FActionList)
        return;
    if (FActionList)
        FActionList->RemoveAction(this);
    if (value)
        value->AddAction(this);
}

int TContainedAction::Index() const
{
    return FActionList ? FActionList->IndexOfAction(this) : -1;
}

void TContainedAction::SetIndex(int value)
{
    if (FActionList)
        FActionList->MoveAction(this, value);
}

bool TContainedAction::Execute()
{
    if (FActionList && FActionList->ExecuteAction(this))
        return true;
    if (Application && Application->ExecuteAction(this))
        return true;
    if (TBasicAction::Execute())
        return true;
    return Application && Application->DispatchActionExecute(this);
}

bool TContainedAction::Update()
{
    if (FActionList && FActionList->UpdateAction(this))
        return true;
    if (Application && Application->UpdateAction(this))
        return true;
    return TBasicAction::Update();
}

// ---------------------------------------------------------------------------
// TCustomAction

namespace {

template <class F> void ForEachActionLink(const std::vector<TBasicActionLink*>& clients, F apply)
{
    std::vector<TBasicActionLink*> snapshot = clients;
    for (TBasicActionLink* link : snapshot)
        if (auto* actionLink = dynamic_cast<TActionLink*>(link))
            apply(actionLink);
}

} // namespace

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

void TCustomAction::SetCaption(const AnsiString& value)
{
    if (value == FCaption)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetCaption(value); });
    FCaption = value;
    Change();
}

void TCustomAction::SetChecked(bool value)
{
    if (FChecking || value == FChecked)
        return;
    FChecking = true;
    TScopeExit checked([this] { FChecking = false; });
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetChecked(value); });
    FChecked = value;
    if (value && FGroupIndex > 0 && ActionList()) {
        for (int i = 0; i < ActionList()->ActionCount(); ++i) {
            auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex)
                other->SetChecked(false);
        }
    }
    Change();
}

void TCustomAction::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetEnabled(value); });
    FEnabled = value;
    Change();
}

void TCustomAction::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetVisible(value); });
    FVisible = value;
    Change();
}

void TCustomAction::SetHint(const AnsiString& value)
{
    if (value == FHint)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetHint(value); });
    FHint = value;
    Change();
}

void TCustomAction::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetImageIndex(value); });
    FImageIndex = value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut value)
{
    if (value == FShortCut)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetShortCut(value); });
    FShortCut = value;
    Change();
}

void TCustomAction::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetGroupIndex(value); });
    FGroupIndex = value;
    Change();
}

void TCustomAction::SetAutoCheck(bool value)
{
    if (value == FAutoCheck)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetAutoCheck(value); });
    FAutoCheck = value;
    Change();
}

void TCustomAction::SetHelpContext(int value)
{
    if (value == FHelpContext)
        return;
    ForEachActionLink(FClients, [&](TActionLink* l) { l->SetHelpContext(value); });
    FHelpContext = value;
    Change();
}

bool TCustomAction::Execute()
{
    Update();
    if (!FEnabled)
        return false;
    if (FAutoCheck && !(FChecked && FGroupIndex > 0))
        SetChecked(!FChecked);
    return TContainedAction::Execute();
}

bool TCustomAction::TakesShortCut()
{
    bool take = true;
    if (OnTakeShortCut)
        OnTakeShortCut(take);
    return take;
}

bool TCustomAction::DoHint(AnsiString& hintStr)
{
    bool canShow = true;
    if (OnHint)
        OnHint(hintStr, canShow);
    return canShow;
}

bool TCustomAction::Update()
{
    bool handled = TContainedAction::Update();
    if (!handled && FDisableIfNoHandler && !OnExecute)
        SetEnabled(false);
    return handled;
}

// ---------------------------------------------------------------------------
// TActionLink

TCustomAction* TActionLink::CustomAction() const
{
    return dynamic_cast<TCustomAction*>(FAction);
}

bool TActionLink::IsAutoCheckLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsCaptionLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsCheckedLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsEnabledLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsGroupIndexLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsHelpContextLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsHintLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsImageIndexLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsShortCutLinked()
{
    return CustomAction() != nullptr;
}
bool TActionLink::IsVisibleLinked()
{
    return CustomAction() != nullptr;
}

// ---------------------------------------------------------------------------
// TActionList

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList()
{
    while (!FActions.empty())
        RemoveAction(FActions.back());
}

void TActionList::AddAction(TContainedAction* action)
{
    if (!action || action->FActionList == this)
        return;
    if (action->FActionList)
        action->FActionList->RemoveAction(action);
    FActions.push_back(action);
    action->FActionList = this;
    action->FreeNotification(this);
    if (OnChange)
        OnChange(this);
}

void TActionList::RemoveAction(TContainedAction* action)
{
    auto it = std::find(FActions.begin(), FActions.end(), action);
    if (it == FActions.end())
        return;
    FActions.erase(it);
    action->FActionList = nullptr;
    if (!HasState(csDestroying)) {
        action->RemoveFreeNotification(this);
        if (OnChange)
            OnChange(this);
    }
}

int TActionList::IndexOfAction(const TContainedAction* action) const
{
    auto it = std::find(FActions.begin(), FActions.end(), action);
    return it == FActions.end() ? -1 : static_cast<int>(it - FActions.begin());
}

void TActionList::MoveAction(TContainedAction* action, int newIndex)
{
    int current = IndexOfAction(action);
    if (current < 0)
        return;
    newIndex = std::clamp(newIndex, 0, ActionCount() - 1);
    FActions.erase(FActions.begin() + current);
    FActions.insert(FActions.begin() + newIndex, action);
}

void TActionList::SetImages(TCustomImageList* value)
{
    ReplaceFreeNotified(this, FImages, value);
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (auto* action = dynamic_cast<TContainedAction*>(AComponent))
        RemoveAction(action);
}

bool TActionList::IsShortCut(WORD key, TShiftState shift)
{
    if (FState != TActionListState::asNormal)
        return false;
    TShortCut wanted = ShortCut(key, ModifierKeys(shift));
    if (wanted == scNone)
        return false;
    std::vector<TContainedAction*> snapshot = FActions;
    for (TContainedAction* contained : snapshot) {
        auto* action = dynamic_cast<TCustomAction*>(contained);
        if (!action || action->ShortCut() != wanted || IndexOfAction(action) < 0)
            continue;
        if (action->HandleShortCut())
            return true;
    }
    return false;
}

void TActionList::UpdateActions()
{
    if (FState != TActionListState::asNormal)
        return;
    std::vector<TContainedAction*> snapshot = FActions;
    for (TContainedAction* action : snapshot)
        if (IndexOfAction(action) >= 0)
            action->Update();
}

bool TActionList::ExecuteAction(TBasicAction* action)
{
    bool handled = false;
    if (OnExecute)
        OnExecute(action, handled);
    return handled;
}

bool TActionList::UpdateAction(TBasicAction* action)
{
    bool handled = false;
    if (OnUpdate)
        OnUpdate(action, handled);
    return handled;
}
