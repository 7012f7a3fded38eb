// The item tree's commands: clicks, popups of children, shortcut dispatch,
// clicks posted until a menu has closed, and a menu's done action.
#include "BarItem.h"

#include "BarCommon.h"

#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Screen.h"

namespace {

// ---------------------------------------------------------------------------
// Posted clicks: one hidden window and queue per thread, while items or
// viewers live there.

// Marks the slot of a queued object that went before its click ran.
TObject* const kGoneTarget = reinterpret_cast<TObject*>(1);

struct TPostedClicks
{
    int LiveObjects = 0;
    HWND Window = nullptr;       // owned; made on first use
    std::vector<TObject*> Queue; // not owned; null: a free slot
};

thread_local TPostedClicks tPosted;

void TrimFreeSlots()
{
    while (!tPosted.Queue.empty() && !tPosted.Queue.back())
        tPosted.Queue.pop_back();
}

void RunPostedClick(TMessage& message)
{
    if (message.Msg != WM_BAR_POSTEDCLICK) {
        DefaultHiddenWindowHandling(tPosted.Window, message);
        return;
    }
    auto slot = static_cast<size_t>(message.LParam);
    if (slot >= tPosted.Queue.size())
        return;
    TObject* target = tPosted.Queue[slot];
    tPosted.Queue[slot] = nullptr;
    TrimFreeSlots();
    if (!target || target == kGoneTarget)
        return;
    if (auto* item = dynamic_cast<TBarCustomItem*>(target))
        item->Click();
    else if (auto* viewer = dynamic_cast<TBarItemViewer*>(target))
        viewer->RunAccessibleRequest(message.WParam);
}

// ---------------------------------------------------------------------------
// Shortcut search

struct TShortCutSearch
{
    TShortCut Wanted;
    int Hops = 0;        // LinkSubitems followed so far
    bool Failed = false; // too many hops: the search gives up
};

// Depth first below from's child source. found is the item with the
// shortcut; topLevel the child of from's source through which it was
// reached (null when found is such a child).
bool SearchShortCut(TBarCustomItem* from, TShortCutSearch& search, TBarCustomItem*& found,
                    TBarCustomItem*& topLevel)
{
    TBarCustomItem* source = from->GetChildSource();
    if (source != from && ++search.Hops > kBarLinkHopLimit) {
        search.Failed = true;
        return false;
    }
    for (int i = 0; i < source->Count(); ++i) {
        TBarCustomItem* child = source->Items(i);
        if (child->ShortCut() == search.Wanted) {
            found = child;
            topLevel = nullptr;
            return true;
        }
        TBarCustomItem* below = nullptr;
        if (SearchShortCut(child, search, found, below)) {
            topLevel = child;
            return true;
        }
        if (search.Failed)
            return false;
    }
    return false;
}

bool FindShortCut(TBarCustomItem* from, TShortCut shortCut, TBarCustomItem*& found,
                  TBarCustomItem*& topLevel)
{
    TShortCutSearch search{shortCut};
    return SearchShortCut(from, search, found, topLevel);
}

} // namespace

void BarObjectCreated()
{
    ++tPosted.LiveObjects;
}

void BarObjectDestroyed(TObject* object)
{
    for (TObject*& queued : tPosted.Queue)
        if (queued == object)
            queued = kGoneTarget;
    if (--tPosted.LiveObjects <= 0) {
        tPosted.LiveObjects = 0;
        FreeBarPostedClicks();
    }
}

void FreeBarPostedClicks()
{
    if (tPosted.Window)
        DeallocateHWnd(tPosted.Window);
    tPosted.Window = nullptr;
    tPosted.Queue.clear();
}

void PostBarClick(TObject* target, WPARAM flag)
{
    if (!tPosted.Window)
        tPosted.Window = AllocateHWnd(TWndMethod([](TMessage& m) { RunPostedClick(m); }));
    size_t slot = 0;
    while (slot < tPosted.Queue.size() && tPosted.Queue[slot])
        ++slot;
    if (slot == tPosted.Queue.size())
        tPosted.Queue.push_back(target);
    else
        tPosted.Queue[slot] = target;
    PostMessageA(tPosted.Window, WM_BAR_POSTEDCLICK, flag, static_cast<LPARAM>(slot));
}

TBarCustomItem* RunMenuOutcome(const TBarLoopResult& result, bool itemOnly)
{
    switch (result.Kind) {
    case TBarLoopResultKind::ItemClicked:
        if (result.PlaySound && SoundEventAssigned("MenuCommand"))
            PlaySoundEvent("MenuCommand");
        if (!itemOnly && result.Item)
            PostBarClick(result.Item, 0);
        return result.Item;
    case TBarLoopResultKind::SystemMenu:
        SendMessageA(result.Window, WM_SYSCOMMAND, SC_KEYMENU, result.Key);
        break;
    case TBarLoopResultKind::Help: {
        TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
        bool helpButton = form && form->HandleAllocated() &&
                          (GetWindowLongA(form->WindowHandle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
        if (Application) {
            if (helpButton)
                Application->HelpCommand(HELP_CONTEXTPOPUP, result.HelpContext);
            else
                Application->HelpContext(result.HelpContext);
        }
        break;
    }
    default:
        break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// TBarCustomItem: clicks and shortcuts

void TBarCustomItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck && !(FActionLink && FActionLink->IsAutoToggleLinked()))
        SetChecked(!FChecked);
    TBasicAction* action = Action();
    if (OnClick && action && !(OnClick == action->OnExecute)) {
        OnClick(this);
        return;
    }
    if (!HasState(csDesigning) && FActionLink) {
        FActionLink->Execute(this);
        return;
    }
    if (OnClick)
        OnClick(this);
}

void TBarCustomItem::DoPopup(TBarCustomItem* Sender, bool FromLink)
{
    if (OnPopup)
        OnPopup(Sender, FromLink);
    if (!HasTrait(DualPart))
        Click();
}

AnsiString TBarCustomItem::ShortcutCaption() const
{
    size_t tab = FCaption.find('\t');
    if (tab != AnsiString::npos && tab + 1 < FCaption.size())
        return FCaption.substr(tab + 1);
    if (FShortCut != scNone)
        return ShortCutToText(FShortCut);
    return AnsiString();
}

bool TBarCustomItem::DispatchShortCut(const TMessage& keyMessage)
{
    return DispatchShortCut(
        ::ShortCut(static_cast<WORD>(keyMessage.WParam), KeyDataToShiftState(keyMessage.LParam)));
}

bool TBarCustomItem::DispatchShortCut(TShortCut shortCut)
{
    if (shortCut == scNone)
        return false;
    TBarCustomItem* found = nullptr;
    TBarCustomItem* topLevel = nullptr;
    // Popup handlers on the way may move the item; the search starts over
    // then, a bounded number of times.
    for (int attempt = 0; attempt <= kBarLinkHopLimit; ++attempt) {
        if (!FindShortCut(this, shortCut, found, topLevel))
            return false;
        TBarCustomItem* level = this;
        bool lost = false;
        for (;;) {
            if (!level->Enabled())
                return false;
            TBarCustomItem* source = level->GetChildSource();
            if (!HasState(csDesigning)) {
                std::vector<TBarCustomItem*> children = source->FItems;
                for (TBarCustomItem* child : children)
                    child->InitiateAction();
            }
            if (!level->HasTrait(InlineChildren)) {
                if (source != level)
                    source->DoPopup(level, true);
                level->DoPopup(level, false);
            }
            if (!FindShortCut(level, shortCut, found, topLevel)) {
                lost = true;
                break;
            }
            if (!topLevel)
                break;
            level = topLevel;
        }
        if (lost)
            continue;
        auto* action = dynamic_cast<TCustomAction*>(found->Action());
        if (!found->Enabled() || (action && !action->TakesShortCut()))
            return false;
        found->Click();
        return true;
    }
    return false;
}
