// Wide actions and the action links that pass their wide captions and hints
// to wide controls.
//
//   IWideAction             what wide actions are: their wide caption and
//                           hint live in a helper (UniClasses) beside the
//                           ANSI ones
//   ActionWideCaption ...   any action's wide caption and hint (an ordinary
//                           action's converted), and their setters
//   TUniAction              an action with a wide caption and hint, streamed
//   TUniHintAction          a hint action carrying a wide hint
//   TUniActionLinkSlots     the four slots every wide link overrides: the
//                           caption and hint are linked while the client's
//                           wide text equals the action's too, and a change
//                           reaches the client as wide text
//   TUniControlActionLink, TUniWinControlActionLink, TUniButtonActionLink
//                           the links of wide controls (menu items: UniMenus)
#pragma once

#include "UniControls.h"

#include "classlib/Actions.h"
#include "classlib/PropertyInfo.h"
#include "classlib/StandardControls.h"

class IWideAction
{
public:
    virtual ~IWideAction() = default;
};

bool IsWideAction(TBasicAction* Action);

WideString ActionWideCaption(TBasicAction* Action);
WideString ActionWideHint(TBasicAction* Action);
// The ANSI property becomes the conversion; clients that showed the old
// wide text show the new one.
void SetActionWideCaption(TBasicAction* Action, const WideString& Value);
void SetActionWideHint(TBasicAction* Action, const WideString& Value);

class TUniAction : public TAction, public IWideAction
{
    ZANDREL_PUBLISHED(TUniAction)
public:
    using TAction::TAction;

    WideString GetCaption() { return ActionWideCaption(this); }
    void SetCaption(const WideString& value) { SetActionWideCaption(this, value); }
    using TAction::SetCaption;
    WideString GetHint() { return ActionWideHint(this); }
    void SetHint(const WideString& value) { SetActionWideHint(this, value); }
    using TAction::SetHint;

    // From any action: its caption and hint, wide.
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler& Filer) override;
};

class TUniHintAction : public THintAction, public IWideAction
{
public:
    using THintAction::THintAction;

    WideString GetHint() { return ActionWideHint(this); }
    void SetHint(const WideString& value) { SetActionWideHint(this, value); }
    using THintAction::SetHint;
};

// What a link needs of its client, per client family.
WideString UniClientCaption(TControl* client);
void SetUniClientCaption(TControl* client, const WideString& value);
WideString UniClientHint(TControl* client);
void SetUniClientHint(TControl* client, const WideString& value);

// The wide caption (hint) a linked client shows while the action passes a
// change on: the value before the change for the linked test, the new one
// for the client. Outside a change both are the action's.
WideString ActionWideCaptionShown(TBasicAction* Action);
WideString ActionWideCaptionToShow(TBasicAction* Action, const AnsiString& AnsiValue);
WideString ActionWideHintShown(TBasicAction* Action);
WideString ActionWideHintToShow(TBasicAction* Action, const AnsiString& AnsiValue);

template <class Base> class TUniActionLinkSlots : public Base
{
public:
    using Base::Base;

    bool IsCaptionLinked() override
    {
        return Base::IsCaptionLinked() &&
               (!IsWideAction(this->Action()) ||
                UniClientCaption(this->FClient) == ActionWideCaptionShown(this->Action()));
    }
    bool IsHintLinked() override
    {
        return Base::IsHintLinked() &&
               (!IsWideAction(this->Action()) ||
                UniClientHint(this->FClient) == ActionWideHintShown(this->Action()));
    }
    void SetCaption(const AnsiString& value) override
    {
        if (IsCaptionLinked())
            SetUniClientCaption(this->FClient, ActionWideCaptionToShow(this->Action(), value));
    }
    void SetHint(const AnsiString& value) override
    {
        if (IsHintLinked())
            SetUniClientHint(this->FClient, ActionWideHintToShow(this->Action(), value));
    }
};

class TUniControlActionLink : public TUniActionLinkSlots<TControlActionLink>
{
public:
    using TUniActionLinkSlots::TUniActionLinkSlots;
};

class TUniWinControlActionLink : public TUniControlActionLink
{
public:
    using TUniControlActionLink::TUniControlActionLink;
};

class TUniButtonActionLink : public TUniActionLinkSlots<TButtonActionLink>
{
public:
    using TUniActionLinkSlots::TUniActionLinkSlots;
};
