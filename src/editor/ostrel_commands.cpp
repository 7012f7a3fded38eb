// The window's commands as a whole: when each action is enabled, and where
// Tab, Shift+Tab and Ctrl+Tab move the focus. The rules themselves live in
// CommandRules and FocusRules; this file gathers the window's state for
// them and carries out their answers.
#include "ostrel.h"

#include "CommandRules.h"
#include "FocusRules.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Clipboard.h"

#include <algorithm>
#include <utility>

namespace {

using FC = TFocusControl;

} // namespace

// --- Enabling ---------------------------------------------------------------------------------

TCommandState TFormVusk::CommandState()
{
    TCommandState s;
    s.FileOpen = Caption() != kApplicationTitle;
    s.Busy = FDocument.Busy();
    s.RegionCount = RegionCount();
    s.SelectedRegionCount = static_cast<int>(SelectionForRules().Rows.size());
    s.CutBarCount = FDocument.CutBarCount();
    s.CutBarSelected = CutManageList->Selected() != nullptr;
    s.HasSelection = View().HasSelection;
    s.Zoom = View().Zoom;
    s.VZoom = View().VZoom;
    s.ScrollBarEnabled = ScrollBar1->Enabled();
    s.PlayPos = View().PlayPos;
    s.RegionClipboardEmpty = FDocument.RegionClip().Empty();
    s.SampleSize = FileLoaded() ? FEngine->SampleSize() : 0;
    TWinControl* active = ActiveControl();
    if (auto* edit = dynamic_cast<TNumEdit*>(active)) {
        s.Active = edit == rEd5 ? TActiveControl::ManualRenameEdit : TActiveControl::TextEdit;
        s.TextSelected = edit->SelLength() > 0;
        s.TextPresent = !edit->Text().empty();
        s.ClipboardHasText = Clipboard()->HasFormat(CF_TEXT);
    } else if (active == FocusBtn) {
        s.Active = TActiveControl::Wave;
    } else if (active == EditList) {
        s.Active = TActiveControl::RegionList;
    } else if (active == CutManageList) {
        s.Active = TActiveControl::CutBarList;
    } else if (active == ShellTreeView1) {
        s.Active = TActiveControl::ExplorerTree;
    } else if (active) {
        s.Active = TActiveControl::Other;
    }
    return s;
}

void TFormVusk::WireCommandRules()
{
    for (TActionList* list : {ActionList, ActionList1})
        for (int i = 0; i < list->ActionCount(); ++i) {
            auto* action = static_cast<TCustomAction*>(list->Actions(i));
            TEnablingRule rule = EnablingRuleOf(action->Name());
            if (rule == TEnablingRule::Always || rule == TEnablingRule::OwnRule)
                continue;
            // An action whose command has not been wired stays disabled.
            action->OnUpdate = [this, action, rule](TObject*) {
                action->SetEnabled(action->OnExecute && RuleAllows(rule, CommandState()));
            };
        }
}

// --- Focus moves --------------------------------------------------------------------------------

std::vector<std::pair<TWinControl*, TFocusControl>> TFormVusk::FocusControls() const
{
    return {
        {FocusBtn, FC::FocusBtn},
        {EditList, FC::EditList},
        {ShellTreeView1, FC::ShellTreeView1},
        {CutManageList, FC::CutManageList},
        {RenamePage, FC::RenamePage},
        {rnAdd1, FC::rnAdd1},
        {rnAdd2, FC::rnAdd2},
        {rnAdd3, FC::rnAdd3},
        {rSp1, FC::rSp1},
        {rSp2, FC::rSp2},
        {rEd1, FC::rEd1},
        {rCb1, FC::rCb1},
        {GoRnBtn1, FC::GoRnBtn1},
        {rnDel1, FC::rnDel1},
        {rEd2, FC::rEd2},
        {rnDel2, FC::rnDel2},
        {rCb2, FC::rCb2},
        {rSp3, FC::rSp3},
        {rSp4, FC::rSp4},
        {GoRnBtn2, FC::GoRnBtn2},
        {rnChange1, FC::rnChange1},
        {rEd3, FC::rEd3},
        {rEd4, FC::rEd4},
        {rnChange2, FC::rnChange2},
        {rnChange3, FC::rnChange3},
        {GoRnBtn3, FC::GoRnBtn3},
        {rEd5, FC::rEd5},
        {rCk1, FC::rCk1},
        {rEd6, FC::rEd6},
        {rCb3, FC::rCb3},
    };
}

TFocusState TFormVusk::FocusState() const
{
    TFocusState s;
    TWinControl* active = ActiveControl();
    for (const auto& [control, name] : FocusControls())
        if (control == active)
            s.From = name;
    if (!ExpPanel->Visible())
        s.Pane = TSidePane::None;
    else if (ShellTreeView1->Visible())
        s.Pane = TSidePane::Explorer;
    else if (RenamePage->Visible())
        s.Pane = TSidePane::Rename;
    else
        s.Pane = TSidePane::CutBars;
    s.Tab = static_cast<TRenameTab>(std::clamp(RenamePage->ActiveTabIndex(), 0, 3));
    s.Add1Checked = rnAdd1->Checked();
    s.Add3Checked = rnAdd3->Checked();
    s.DeleteFromIndex = rCb2->ItemIndex();
    s.InputAddChecked = rCk1->Checked();
    return s;
}

TWinControl* TFormVusk::FocusControlOf(TFocusControl name) const
{
    for (const auto& [control, controlName] : FocusControls())
        if (controlName == name)
            return control;
    return FocusBtn;
}

void TFormVusk::MoveFocus(const TFocusMove& move)
{
    TWinControl* target = FocusControlOf(move.To);
    if (target->CanFocus())
        target->SetFocus();
    if (move.SelectText)
        if (auto* edit = dynamic_cast<TCustomEdit*>(target))
            edit->SelectAll();
    if (move.SelectListItem)
        SelectRegionListItem();
    if (move.ListClick)
        EditListClick(this);
    if (move.ResetRegionAudio)
        ResetRegionAudio();
}

// A list with items but none selected gets its focused item, or else its
// first, selected, focused and in view.
void TFormVusk::SelectRegionListItem()
{
    if (RegionCount() == 0 || SelectedRegionCount() > 0)
        return;
    const int focused = FocusedRegionRow();
    const int row = focused >= 0 ? focused : 0;
    SelectRegionRow(row, false);
    FocusRegionRow(row);
}

void TFormVusk::actTabExecute(TObject* Sender)
{
    MoveFocus(TabOver(TabForward, FocusState(), FocusableNow()));
}

void TFormVusk::actTab3Execute(TObject* Sender)
{
    MoveFocus(TabOver(TabBackward, FocusState(), FocusableNow()));
}

std::function<bool(TFocusControl)> TFormVusk::FocusableNow() const
{
    return [this](TFocusControl name) { return FocusControlOf(name)->CanFocus(); };
}

void TFormVusk::actTab4Execute(TObject* Sender)
{
    MoveFocus(TabSwitch(FocusState()));
}

void TFormVusk::WireFocusMoves()
{
    actTab->OnExecute = TNotifyEvent(this, &TFormVusk::actTabExecute);
    actTab3->OnExecute = TNotifyEvent(this, &TFormVusk::actTab3Execute);
    actTab4->OnExecute = TNotifyEvent(this, &TFormVusk::actTab4Execute);
}
