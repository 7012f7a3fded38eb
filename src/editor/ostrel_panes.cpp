// The side pane: the explorer tree, the cut-bar list or the rename page,
// one at a time, left of the waveform and the region list.
#include "ostrel.h"

void TFormVusk::HideSidePane()
{
    ExpPanel->SetVisible(false);
    FlatSplitter1->SetVisible(false);
    if (!EditList->Focused() && FocusBtn->CanFocus())
        FocusBtn->SetFocus();
}

void TFormVusk::ShowSidePane(TAction* paneAction, TWinControl* pane)
{
    if (FRenameMode && paneAction != actViewRen) {
        RemoveRenameColumn();
        FRenameMode = false;
    }
    for (TAction* action : {actViewExp, actViewRen, actViewCutbarlist})
        action->SetChecked(action == paneAction);
    for (TWinControl* other :
         std::initializer_list<TWinControl*>{ShellTreeView1, RenamePage, CutManageList})
        other->SetVisible(other == pane);
    ExpPanel->SetVisible(true);
    FlatSplitter1->SetVisible(true);
    FlatSplitter1->SetLeft(ExpPanel->Left() + ExpPanel->Width());
}

void TFormVusk::actViewExpExecute(TObject* Sender)
{
    if (!actViewExp->Checked()) {
        ShowSidePane(actViewExp, ShellTreeView1);
        return;
    }
    actViewExp->SetChecked(false);
    ShellTreeView1->SetVisible(false);
    HideSidePane();
    UpdateRenamePreview();
}

void TFormVusk::actViewCutbarlistExecute(TObject* Sender)
{
    if (!actViewCutbarlist->Checked()) {
        ShowSidePane(actViewCutbarlist, CutManageList);
        return;
    }
    actViewCutbarlist->SetChecked(false);
    CutManageList->SetVisible(false);
    HideSidePane();
    UpdateRenamePreview();
}

void TFormVusk::actViewRenExecute(TObject* Sender)
{
    if (!actViewRen->Checked()) {
        AddRenameColumn();
        ShowSidePane(actViewRen, RenamePage);
        FRenameMode = true;
        UpdateRenamePreview();
        return;
    }
    actViewRen->SetChecked(false);
    ShellTreeView1->SetVisible(false);
    RenamePage->SetVisible(false);
    RemoveRenameColumn();
    FRenameMode = false;
    bool listHadFocus = EditList->Focused();
    HideSidePane();
    if (!listHadFocus)
        ResetRegionAudio();
}

void TFormVusk::WirePaneEvents()
{
    Wire(actViewExp->OnExecute, &TFormVusk::actViewExpExecute);
    Wire(actViewCutbarlist->OnExecute, &TFormVusk::actViewCutbarlistExecute);
    Wire(actViewRen->OnExecute, &TFormVusk::actViewRenExecute);
}
