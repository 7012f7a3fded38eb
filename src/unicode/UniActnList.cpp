#include "UniActnList.h"

#include "UniClasses.h"

#include "classlib/ScopeExit.h"
#include "classlib/WideText.h"

namespace {

// One of the two wide texts of an action: where the helper keeps it and
// the ANSI property beside it.
struct TUniActionText
{
    WideString TWideCaptionHelper::*Value;
    std::optional<TWideCaptionHelper::TChange> TWideCaptionHelper::*Change;
    const AnsiString& (TCustomAction::*GetAnsi)() const;
    void (TCustomAction::*SetAnsi)(const AnsiString&);
};

const TUniActionText kUniCaption{&TWideCaptionHelper::Caption, &TWideCaptionHelper::CaptionChange,
                                 &TCustomAction::Caption, &TCustomAction::SetCaption};
const TUniActionText kUniHint{&TWideCaptionHelper::Hint, &TWideCaptionHelper::HintChange,
                              &TCustomAction::Hint, &TCustomAction::SetHint};

// The helper of a wide action (made on first use); nullptr otherwise.
TWideCaptionHelper* UniWideActionHelper(TBasicAction* action)
{
    auto* custom = dynamic_cast<TCustomAction*>(action);
    return custom && IsWideAction(action) ? WideCaptionHelper(custom) : nullptr;
}

WideString UniActionText(TBasicAction* action, const TUniActionText& text)
{
    auto* custom = dynamic_cast<TCustomAction*>(action);
    if (!custom)
        return WideString();
    TWideCaptionHelper* helper = UniWideActionHelper(action);
    if (!helper)
        return AnsiToWide((custom->*text.GetAnsi)());
    if (const auto& change = helper->*text.Change)
        return change->After;
    return ShadowedWideValue(helper->*text.Value, (custom->*text.GetAnsi)());
}

void SetUniActionText(TBasicAction* action, const WideString& value, const TUniActionText& text)
{
    auto* custom = dynamic_cast<TCustomAction*>(action);
    if (!custom)
        return;
    TWideCaptionHelper* helper = UniWideActionHelper(action);
    if (!helper) {
        (custom->*text.SetAnsi)(WideToAnsi(value));
        return;
    }
    const WideString before = ShadowedWideValue(helper->*text.Value, (custom->*text.GetAnsi)());
    if (value == before)
        return;
    // The ANSI setter tells the clients; they take the wide value from here.
    helper->*text.Change = TWideCaptionHelper::TChange{before, value};
    TScopeExit told([helper, &text] { (helper->*text.Change).reset(); });
    StoreShadowedWide(helper->*text.Value, value, (custom->*text.GetAnsi)(),
                      [custom, &text](const AnsiString& ansi) { (custom->*text.SetAnsi)(ansi); });
}

WideString UniActionTextShown(TBasicAction* action, const TUniActionText& text)
{
    if (TWideCaptionHelper* helper = UniWideActionHelper(action))
        if (const auto& change = helper->*text.Change)
            return change->Before;
    return UniActionText(action, text);
}

WideString UniActionTextToShow(TBasicAction* action, const AnsiString& ansiValue,
                               const TUniActionText& text)
{
    TWideCaptionHelper* helper = UniWideActionHelper(action);
    if (!helper)
        return AnsiToWide(ansiValue);
    if (const auto& change = helper->*text.Change)
        return change->After;
    // ANSI-only code set the action's ANSI text: that text wins.
    return ShadowedWideView(helper->*text.Value, ansiValue);
}

} // namespace

bool IsWideAction(TBasicAction* Action)
{
    return dynamic_cast<IWideAction*>(Action) != nullptr;
}

WideString ActionWideCaption(TBasicAction* Action)
{
    return UniActionText(Action, kUniCaption);
}

WideString ActionWideHint(TBasicAction* Action)
{
    return UniActionText(Action, kUniHint);
}

void SetActionWideCaption(TBasicAction* Action, const WideString& Value)
{
    SetUniActionText(Action, Value, kUniCaption);
}

void SetActionWideHint(TBasicAction* Action, const WideString& Value)
{
    SetUniActionText(Action, Value, kUniHint);
}

WideString ActionWideCaptionShown(TBasicAction* Action)
{
    return UniActionTextShown(Action, kUniCaption);
}

WideString ActionWideCaptionToShow(TBasicAction* Action, const AnsiString& AnsiValue)
{
    return UniActionTextToShow(Action, AnsiValue, kUniCaption);
}

WideString ActionWideHintShown(TBasicAction* Action)
{
    return UniActionTextShown(Action, kUniHint);
}

WideString ActionWideHintToShow(TBasicAction* Action, const AnsiString& AnsiValue)
{
    return UniActionTextToShow(Action, AnsiValue, kUniHint);
}

// ---------------------------------------------------------------------------
// TUniAction

const TClassInfo& TUniAction::StaticClassInfo()
{
    using A = TUniAction;
    static const TPropInfo props[] = {
        WideStringProperty<A, &A::GetCaption, &A::SetCaption>("Caption"),
        WideStringProperty<A, &A::GetHint, &A::SetHint>("Hint"),
    };
    static const TClassInfo info{.Name = "TUniAction", .Props = props};
    return info;
}

void TUniAction::Assign(TPersistent* Source)
{
    auto* action = dynamic_cast<TCustomAction*>(Source);
    if (!action) {
        TAction::Assign(Source);
        return;
    }
    SetCaption(ActionWideCaption(action));
    SetHint(ActionWideHint(action));
}

void TUniAction::DefineProperties(TFiler& Filer)
{
    TAction::DefineProperties(Filer);
    DeclareWideStreamProps(Filer, this);
}

// ---------------------------------------------------------------------------
// Controls as clients

WideString UniClientCaption(TControl* client)
{
    return ControlWideText(client);
}

void SetUniClientCaption(TControl* client, const WideString& value)
{
    SetControlWideText(client, value);
}

WideString UniClientHint(TControl* client)
{
    return ControlWideHint(client);
}

void SetUniClientHint(TControl* client, const WideString& value)
{
    SetControlWideHint(client, value);
}
