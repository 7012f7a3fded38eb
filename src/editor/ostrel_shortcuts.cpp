// Command shortcuts: the SHORTCUT keys of the settings file, the user's
// assignment kept aside, and their withdrawal while a rename edit has the
// focus (so that plain keys reach the edit).
#include "ostrel.h"

namespace {

// The Tag of an action whose shortcut is withdrawn; -1 marks one that never is.
constexpr int kShortCutWithdrawn = 999;
constexpr int kNeverWithdrawn = -1;

TCustomAction* ActionAt(TActionList* list, int index)
{
    return static_cast<TCustomAction*>(list->Actions(index));
}

} // namespace

void TFormVusk::ApplyStoredShortCuts(const std::vector<TShortCut>& shortCuts)
{
    for (size_t i = 0; i < shortCuts.size() && i < kCommandCount; ++i)
        ActionAt(ActionList, static_cast<int>(i))->SetShortCut(shortCuts[i]);
}

void TFormVusk::TakeShortCutBackup()
{
    FShortCuts.ShortCuts.clear();
    for (int i = 0; i < ActionList->ActionCount(); ++i)
        FShortCuts.ShortCuts.push_back(ActionAt(ActionList, i)->ShortCut());
    FShortCuts.Count = ActionList->ActionCount();
}

std::vector<TShortCut> TFormVusk::ShortCutsToStore()
{
    SuspendShortCuts(true);
    std::vector<TShortCut> shortCuts;
    for (int i = 0; i < ActionList->ActionCount(); ++i)
        shortCuts.push_back(ActionAt(ActionList, i)->ShortCut());
    return shortCuts;
}

void TFormVusk::SuspendShortCuts(bool restore)
{
    if (!restore) {
        WithdrawShortCuts(IsWithdrawnWhileTyping);
        return;
    }
    for (int i = 0; i < ActionList->ActionCount(); ++i) {
        TCustomAction* action = ActionAt(ActionList, i);
        if (i < static_cast<int>(FShortCuts.ShortCuts.size()))
            action->SetShortCut(FShortCuts.ShortCuts[i]);
        action->SetTag(0);
    }
}

void TFormVusk::WithdrawShortCuts(bool (*withdrawn)(TShortCut))
{
    for (int i = 0; i < ActionList->ActionCount(); ++i) {
        TCustomAction* action = ActionAt(ActionList, i);
        if (action->Tag() != kNeverWithdrawn && withdrawn(action->ShortCut())) {
            action->SetShortCut(scNone);
            action->SetTag(kShortCutWithdrawn);
        }
    }
}

void TFormVusk::WithdrawEnterShortCuts()
{
    WithdrawShortCuts([](TShortCut shortCut) { return shortCut == VK_RETURN; });
}

void TFormVusk::rEd1Enter(TObject* Sender)
{
    SuspendShortCuts(false);
}

void TFormVusk::rEd1Exit(TObject* Sender)
{
    SuspendShortCuts(true);
}
