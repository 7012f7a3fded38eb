// Objects and components.
//
//   TObject     the root: a virtual destructor and the class name
//   TPersistent objects that can be assigned to one another and streamed
//               (published properties and defined properties)
//   TComponent  an owned object: its owner frees it, it has a name and a tag,
//               and it tells other components when it goes away
//   TScopedFree an object freed with FreeAndNil when a scope ends
//
// Properties are a getter named as the property and a setter named Set plus
// the property (Name(), SetName()).
#pragma once

#include "Event.h"
#include "Types.h"

#include <vector>

struct TMessage;
struct TClassInfo;
class TFiler;
class TReader;
class TWriter;

class TObject
{
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The C++ class name without decoration ("TButton").
    AnsiString ClassName() const;

    // Hands a message to the object's own handling; what no handler takes
    // goes to DefaultHandler, which ignores it here.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // Runs before the destructors, while the whole object still exists:
    // FreeAndNil and an owner freeing its components call it first. A form
    // runs its OnDestroy here.
    virtual void BeforeDestruction() {}
};

class TPersistent : public TObject
{
public:
    // Copies Source into this object; raises EConvertError when the classes
    // do not know each other.
    virtual void Assign(TPersistent* Source);

    // The published properties (PropertyInfo.h); nullptr: none.
    virtual const TClassInfo* ClassInfo() const { return nullptr; }
    // Adds streamed properties of its own to a reader or writer
    // (TFiler::DefineProperty), beside the published ones.
    virtual void DefineProperties(TFiler& Filer) {}

protected:
    virtual void AssignTo(TPersistent* Dest);
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 0x001,
    csReading = 0x002,
    csWriting = 0x004,
    csDestroying = 0x008,
    csDesigning = 0x010,
    csAncestor = 0x020,
    csUpdating = 0x040,
};
using TComponentState = unsigned;

class TComponent : public TPersistent
{
public:
    // A component made while its owner is loading is loading too, until the
    // owner's FinishLoading.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(index); }
    int ComponentIndex() const;
    TComponent* FindComponent(const AnsiString& name) const;

    const AnsiString& Name() const { return FName; }
    virtual void SetName(const AnsiString& value);
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

    TComponentState ComponentState() const { return FComponentState; }
    bool HasState(TComponentStateFlag flag) const { return (FComponentState & flag) != 0; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, the last created first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

    // Asks AComponent to tell this component (through Notification) when it
    // is freed; the link goes both ways.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Ends loading: clears csLoading here and in the owned components, then
    // calls Loaded on each.
    void FinishLoading();

protected:
    // Called when AComponent is inserted into or removed from this
    // component's owner, or when a component this one asked to be told
    // about is freed. The default passes it on to the owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Called once every property is set (at the end of a constructor that
    // builds its children in code).
    virtual void Loaded();

    void SetComponentState(TComponentState state) { FComponentState = state; }
    void IncludeState(TComponentStateFlag flag) { FComponentState |= flag; }
    void ExcludeState(TComponentStateFlag flag) { FComponentState &= ~flag; }

private:
    friend class TReader; // sets csLoading and csReading while it reads
    friend class TWriter; // sets csWriting while it writes

    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);
    void NotifyAll(TComponent* AComponent, TOperation Operation);

    TComponent* FOwner = nullptr;            // not owned
    std::vector<TComponent*> FComponents;    // owned, in creation order
    unsigned FComponentsChanges = 0;         // counts inserts and removals
    std::vector<TComponent*> FFreeNotifies;  // not owned; linked both ways
    AnsiString FName;
    int FTag = 0;
    TComponentState FComponentState = 0;
};

// Points field at value, keeping the free notification between holder and
// the referenced component in step (the holder clears field in its
// Notification when the component goes).
template <class T> void ReplaceFreeNotified(TComponent* holder, T*& field, T* value)
{
    if (value == field)
        return;
    if (field)
        field->RemoveFreeNotification(holder);
    field = value;
    if (value)
        value->FreeNotification(holder);
}

// Frees the object (BeforeDestruction first) and clears the pointer, as a
// component's owner expects.
template <class T> void FreeAndNil(T*& object)
{
    T* doomed = object;
    object = nullptr;
    if (doomed) {
        doomed->BeforeDestruction();
        delete doomed;
    }
}

// Holds an object (a window shown modally, say) and frees it with
// FreeAndNil when the scope ends, however it ends.
template <class T> class TScopedFree
{
public:
    explicit TScopedFree(T* object) : FObject(object) {}
    TScopedFree(const TScopedFree&) = delete;
    TScopedFree& operator=(const TScopedFree&) = delete;
    ~TScopedFree() { FreeAndNil(FObject); }
    T* Get() const { return FObject; }
    T* operator->() const { return FObject; }

private:
    T* FObject; // owned
};
