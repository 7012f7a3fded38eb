#include "Object.h"

#include "Exceptions.h"
#include "TextUtils.h"

#include <algorithm>
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

AnsiString TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    AnsiString name = (status == 0 && plain) ? plain : mangled;
    std::free(plain);
    auto scope = name.rfind("::");
    return scope == AnsiString::npos ? name : name.substr(scope + 2);
}

void TObject::Dispatch(TMessage& message)
{
    DefaultHandler(message);
}

void TObject::DefaultHandler(TMessage&) {}

void TPersistent::Assign(TPersistent* Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignTo(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    AnsiString from = "nil";
    throw EConvertError("Cannot assign a " + ClassName() + " to a " +
                        (Dest ? Dest->ClassName() : from));
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) {
        if (AOwner->HasState(csLoading))
            IncludeState(csLoading);
        AOwner->InsertComponent(this);
    }
}

TComponent::~TComponent()
{
    Destroying();
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name))
            return c;
    return nullptr;
}

void TComponent::SetName(const AnsiString& value)
{
    if (value == FName)
        return;
    if (FOwner && !value.empty()) {
        TComponent* clash = FOwner->FindComponent(value);
        if (clash && clash != this)
            throw EComponentError("A component named " + value + " already exists");
    }
    FName = value;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    ++FComponentsChanges;
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) {
        ++FComponentsChanges;
        FComponents.erase(it);
    }
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        last->BeforeDestruction();
        // BeforeDestruction may have freed or moved components: free this
        // one only if it is still ours.
        if (std::find(FComponents.begin(), FComponents.end(), last) == FComponents.end())
            continue;
        Remove(last);
        delete last;
    }
}

void TComponent::Destroying()
{
    if (HasState(csDestroying))
        return;
    IncludeState(csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto& back = AComponent->FFreeNotifies;
    if (std::find(back.begin(), back.end(), this) == back.end())
        back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end())
        FFreeNotifies.erase(it);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    NotifyAll(AComponent, Operation);
}

void TComponent::NotifyAll(TComponent* AComponent, TOperation Operation)
{
    // A handler may free components: walk a snapshot, skipping the gone.
    // The search for the gone is needed only once the list has changed; a
    // form with hundreds of components notifies them all at every insert.
    const std::vector<TComponent*> snapshot = FComponents;
    const unsigned changesBefore = FComponentsChanges;
    for (TComponent* c : snapshot)
        if (FComponentsChanges == changesBefore ||
            std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
            c->Notification(AComponent, Operation);
}

void TComponent::FinishLoading()
{
    ExcludeState(csLoading);
    for (TComponent* c : FComponents)
        c->ExcludeState(csLoading);
    for (TComponent* c : FComponents)
        c->Loaded();
    Loaded();
}

void TComponent::Loaded()
{
    ExcludeState(csLoading);
}
