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

void TFormVusk::ReadShortCuts(const TIniFile& ini)
{
    for (int i = 0; i < kCommandCount; ++i)
        ActionAt(ActionList, i)->SetShortCut(ReadCommandShortCut(ini, CommandInfo(i)));
}

void TFormVusk::TakeShortCutBackup()
{
    FShortCuts.ShortCuts.clear();
    for (int i = 0; i < ActionList->ActionCount(); ++i)
        FShortCuts.ShortCuts.push_back(ActionAt(ActionList, i)->ShortCut());
    FShortCuts.Count = ActionList->ActionCount();
}

void TFormVusk::WriteShortCuts(TIniFile& ini)
{
    SuspendShortCuts(true);
    for (int i = 0; i < ActionList->ActionCount(); ++i) {
        TCustomAction* action = ActionAt(ActionList, i);
        WriteCommandShortCut(ini, action->Name().c_str(), action->ShortCut());
    }
}

void TFormVusk::SuspendShortCuts(bool restore)
{
    for (int i = 0; i < ActionList->ActionCount(); ++i) {
        TCustomAction* action = ActionAt(ActionList, i);
        if (restore) {
            if (i < static_cast<int>(FShortCuts.ShortCuts.size()))
                action->SetShortCut(FShortCuts.ShortCuts[i]);
            action->SetTag(0);
        } else if (action->Tag() != kNeverWithdrawn && IsWithdrawnWhileTyping(action->ShortCut())) {
            action->SetShortCut(scNone);
            action->SetTag(kShortCutWithdrawn);
        }
    }
}

void TFormVusk::rEd1Enter(TObject* Sender)
{
    SuspendShortCuts(false);
}

void TFormVusk::rEd1Exit(TObject* Sender)
{
    SuspendShortCuts(true);
}
