// Actions: commands that menus, buttons and shortcuts share.
//
//   TBasicAction      a command with OnExecute and OnUpdate, and the links of
//                     the clients (controls, menu items) that show it
//   TBasicActionLink  a client's tie to one action
//   TContainedAction  an action that belongs to an action list
//   TCustomAction     caption, checked, enabled, visible, hint, image index,
//                     shortcut, group index: each change reaches the clients
//                     whose property is linked (still equal to the action's)
//   TAction           the action the program's windows declare
//   THintAction       carries a hint to status bars that show hints
//   TActionLink       the link with the property setters clients override
//   TClientActionLink the link of a client that shares some of the action's
//                     properties under the action's names
//   TActionList       a form's list of actions: updates them at idle and
//                     takes their shortcuts before the focused control sees
//                     the key
//
// Execute runs the update handler first and does nothing while the action is
// disabled, shortcuts included.
#pragma once

#include "Object.h"
#include "ShortCut.h"

#include <vector>

class TBasicAction;
class TActionList;
class TCustomImageList;

class TBasicActionLink : public TObject
{
public:
    // The client is the object that owns the link; derived links keep it
    // typed.
    explicit TBasicActionLink(TObject* AClient) {}
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return FAction; }
    virtual void SetAction(TBasicAction* value);
    // Runs the action for AComponent (the client); true when handled.
    virtual bool Execute(TComponent* AComponent = nullptr);
    virtual bool Update();
    virtual bool IsOnExecuteLinked() { return true; }

    // Runs when the action changed (after the property setters).
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();

    TBasicAction* FAction = nullptr; // not owned; the action knows this link
};

class TBasicAction : public TComponent
{
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // OnExecute; true when a handler ran.
    virtual bool Execute();
    // OnUpdate; true when a handler ran.
    virtual bool Update();

    // The component that executes the action now (a menu item, a button).
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* value);

    int ClientCount() const { return static_cast<int>(FClients.size()); }
    TBasicActionLink* Clients(int index) const { return FClients.at(index); }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    friend class TBasicActionLink;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Tells the clients that the action changed.
    virtual void Change();
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

    std::vector<TBasicActionLink*> FClients; // not owned; each link knows this action

private:
    TComponent* FActionComponent = nullptr; // not owned; free-notified
};

class TContainedAction : public TBasicAction
{
public:
    explicit TContainedAction(TComponent* AOwner);
    ~TContainedAction() override;

    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* value);
    // The position in the action list; -1 without one.
    int Index() const;
    void SetIndex(int value);
    const AnsiString& Category() const { return FCategory; }
    void SetCategory(const AnsiString& value) { FCategory = value; }

    // The list's OnExecute, then the application's, then OnExecute, then
    // CM_ACTIONEXECUTE to the application (for actions without handlers).
    bool Execute() override;
    // The list's OnUpdate, then the application's, then OnUpdate.
    bool Update() override;

private:
    friend class TActionList;
    TActionList* FActionList = nullptr; // not owned; the list holds this action
    AnsiString FCategory;
};

class TCustomAction : public TContainedAction
{
public:
    explicit TCustomAction(TComponent* AOwner);

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& value);
    bool Checked() const { return FChecked; }
    // Checking an action with a group index unchecks the others of its group
    // in the same list.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value);
    // With no handler anywhere, Update disables an action that has no
    // OnExecute.
    bool DisableIfNoHandler() const { return FDisableIfNoHandler; }
    void SetDisableIfNoHandler(bool value) { FDisableIfNoHandler = value; }

    // Runs the update first; does nothing (false) while disabled. AutoCheck
    // toggles Checked before the handler runs.
    bool Execute() override;
    bool Update() override;
    // What a matching shortcut does: Execute, unless the action does not
    // take the shortcut now.
    virtual bool HandleShortCut() { return TakesShortCut() && Execute(); }
    // Whether a matching shortcut runs the action now: false while its
    // command would not run where the focus is, so that the key goes on to
    // the focused control. True without OnTakeShortCut.
    bool TakesShortCut();
    // Lets OnHint change a client's hint or veto it (false).
    virtual bool DoHint(AnsiString& hintStr);

    // Hint text (in and out), CanShow (in and out).
    TEvent<AnsiString&, bool&> OnHint;
    // Take (in, true, and out): cleared when the command does not run in
    // the present focus.
    TEvent<bool&> OnTakeShortCut;

private:
    AnsiString FCaption;
    AnsiString FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FAutoCheck = false;
    bool FDisableIfNoHandler = true;
    bool FChecking = false; // unchecking the group's others
    int FImageIndex = -1;
    int FGroupIndex = 0;
    int FHelpContext = 0;
    TShortCut FShortCut = scNone;
};

class TAction : public TCustomAction
{
public:
    using TCustomAction::TCustomAction;
};

// The application executes one when its hint changes and no OnHint handler
// is set; status bars that show hints take it through CM_ACTIONEXECUTE.
class THintAction : public TCustomAction
{
public:
    explicit THintAction(TComponent* AOwner) : TCustomAction(AOwner)
    {
        SetDisableIfNoHandler(false);
    }
};

class TActionLink : public TBasicActionLink
{
public:
    using TBasicActionLink::TBasicActionLink;

    // A property is linked while the client still shows the action's value;
    // these tests are true here whenever the action is a TCustomAction.
    virtual bool IsAutoCheckLinked();
    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsGroupIndexLinked();
    virtual bool IsHelpContextLinked();
    virtual bool IsHintLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsShortCutLinked();
    virtual bool IsVisibleLinked();

    // Called by the action before it takes a new value; clients override
    // them to copy the value while the property is linked.
    virtual void SetAutoCheck(bool) {}
    virtual void SetCaption(const AnsiString&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetHelpContext(int) {}
    virtual void SetHint(const AnsiString&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}

protected:
    TCustomAction* CustomAction() const;
};

// The properties a client may share with its action (TClientActionLink).
enum TLinkedProperty : unsigned
{
    lpAutoCheck = 1u << 0,
    lpCaption = 1u << 1,
    lpChecked = 1u << 2,
    lpEnabled = 1u << 3,
    lpGroupIndex = 1u << 4,
    lpHelpContext = 1u << 5,
    lpHint = 1u << 6,
    lpImageIndex = 1u << 7,
    lpShortCut = 1u << 8,
    lpVisible = 1u << 9,
};

// The link of a client that reads and writes the properties in Shared
// (TLinkedProperty bits) under the action's names: Caption() and
// SetCaption(), and so on. Each shared property is linked while the action
// links it and the client still shows the action's value, and only then
// takes the action's new value; the others are TActionLink's.
template <class Client, unsigned Shared> class TClientActionLink : public TActionLink
{
public:
    explicit TClientActionLink(Client* client) : TActionLink(client), FClient(client) {}

    bool IsAutoCheckLinked() override
    {
        if constexpr (Shares(lpAutoCheck))
            return TActionLink::IsAutoCheckLinked() &&
                   FClient->AutoCheck() == CustomAction()->AutoCheck();
        return TActionLink::IsAutoCheckLinked();
    }
    bool IsCaptionLinked() override
    {
        if constexpr (Shares(lpCaption))
            return TActionLink::IsCaptionLinked() &&
                   FClient->Caption() == CustomAction()->Caption();
        return TActionLink::IsCaptionLinked();
    }
    bool IsCheckedLinked() override
    {
        if constexpr (Shares(lpChecked))
            return TActionLink::IsCheckedLinked() &&
                   FClient->Checked() == CustomAction()->Checked();
        return TActionLink::IsCheckedLinked();
    }
    bool IsEnabledLinked() override
    {
        if constexpr (Shares(lpEnabled))
            return TActionLink::IsEnabledLinked() &&
                   FClient->Enabled() == CustomAction()->Enabled();
        return TActionLink::IsEnabledLinked();
    }
    bool IsGroupIndexLinked() override
    {
        if constexpr (Shares(lpGroupIndex))
            return TActionLink::IsGroupIndexLinked() &&
                   FClient->GroupIndex() == CustomAction()->GroupIndex();
        return TActionLink::IsGroupIndexLinked();
    }
    bool IsHelpContextLinked() override
    {
        if constexpr (Shares(lpHelpContext))
            return TActionLink::IsHelpContextLinked() &&
                   FClient->HelpContext() == CustomAction()->HelpContext();
        return TActionLink::IsHelpContextLinked();
    }
    bool IsHintLinked() override
    {
        if constexpr (Shares(lpHint))
            return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
        return TActionLink::IsHintLinked();
    }
    bool IsImageIndexLinked() override
    {
        if constexpr (Shares(lpImageIndex))
            return TActionLink::IsImageIndexLinked() &&
                   FClient->ImageIndex() == CustomAction()->ImageIndex();
        return TActionLink::IsImageIndexLinked();
    }
    bool IsShortCutLinked() override
    {
        if constexpr (Shares(lpShortCut))
            return TActionLink::IsShortCutLinked() &&
                   FClient->ShortCut() == CustomAction()->ShortCut();
        return TActionLink::IsShortCutLinked();
    }
    bool IsVisibleLinked() override
    {
        if constexpr (Shares(lpVisible))
            return TActionLink::IsVisibleLinked() &&
                   FClient->Visible() == CustomAction()->Visible();
        return TActionLink::IsVisibleLinked();
    }

    void SetAutoCheck(bool value) override
    {
        if constexpr (Shares(lpAutoCheck))
            if (IsAutoCheckLinked())
                FClient->SetAutoCheck(value);
    }
    void SetCaption(const AnsiString& value) override
    {
        if constexpr (Shares(lpCaption))
            if (IsCaptionLinked())
                FClient->SetCaption(value);
    }
    void SetChecked(bool value) override
    {
        if constexpr (Shares(lpChecked))
            if (IsCheckedLinked())
                FClient->SetChecked(value);
    }
    void SetEnabled(bool value) override
    {
        if constexpr (Shares(lpEnabled))
            if (IsEnabledLinked())
                FClient->SetEnabled(value);
    }
    void SetGroupIndex(int value) override
    {
        if constexpr (Shares(lpGroupIndex))
            if (IsGroupIndexLinked())
                FClient->SetGroupIndex(value);
    }
    void SetHelpContext(int value) override
    {
        if constexpr (Shares(lpHelpContext))
            if (IsHelpContextLinked())
                FClient->SetHelpContext(value);
    }
    void SetHint(const AnsiString& value) override
    {
        if constexpr (Shares(lpHint))
            if (IsHintLinked())
                FClient->SetHint(value);
    }
    void SetImageIndex(int value) override
    {
        if constexpr (Shares(lpImageIndex))
            if (IsImageIndexLinked())
                FClient->SetImageIndex(value);
    }
    void SetShortCut(TShortCut value) override
    {
        if constexpr (Shares(lpShortCut))
            if (IsShortCutLinked())
                FClient->SetShortCut(value);
    }
    void SetVisible(bool value) override
    {
        if constexpr (Shares(lpVisible))
            if (IsVisibleLinked())
                FClient->SetVisible(value);
    }

protected:
    static constexpr bool Shares(unsigned property) { return (Shared & property) != 0; }

    Client* FClient; // not owned: the client that owns this link
};

enum class TActionListState
{
    asNormal,
    asSuspended
};

class TActionList : public TComponent
{
public:
    explicit TActionList(TComponent* AOwner);
    ~TActionList() override;

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TContainedAction* Actions(int index) const { return FActions.at(index); }
    void AddAction(TContainedAction* action);
    void RemoveAction(TContainedAction* action);
    int IndexOfAction(const TContainedAction* action) const;
    void MoveAction(TContainedAction* action, int newIndex);

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TActionListState State() const { return FState; }
    void SetState(TActionListState value) { FState = value; }

    // The first enabled action with this shortcut executes; true when one
    // took the key. A disabled action's shortcut does nothing and the key
    // goes on.
    bool IsShortCut(WORD key, TShiftState shift);
    // Runs every action's update.
    void UpdateActions();

    // The list's own chance to execute or update any of its actions.
    TEvent<TBasicAction*, bool&> OnExecute;
    TEvent<TBasicAction*, bool&> OnUpdate;
    TNotifyEvent OnChange;

    bool ExecuteAction(TBasicAction* action);
    bool UpdateAction(TBasicAction* action);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TContainedAction*> FActions; // not owned (the form owns actions)
    TCustomImageList* FImages = nullptr;     // not owned; free-notified
    TActionListState FState = TActionListState::asNormal;
};
