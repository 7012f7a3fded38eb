#include "FocusRules.h"

#include <optional>

namespace {

using C = TFocusControl;

constexpr int kDeleteAtPositionItem = 2; // rCb2's third item
constexpr int kControlCount = static_cast<int>(C::rCb3) + 1;

TFocusMove MoveTo(TFocusControl to)
{
    TFocusMove move;
    move.To = to;
    return move;
}

TFocusMove MoveToEdit(TFocusControl to)
{
    TFocusMove move = MoveTo(to);
    move.SelectText = true;
    return move;
}

TFocusMove MoveToListSelecting()
{
    TFocusMove move = MoveTo(C::EditList);
    move.SelectListItem = true;
    return move;
}

// Tab from a control of the rename page; nothing for a control that is
// not one of its steps.
std::optional<TFocusMove> RenameStepForward(const TFocusState& s)
{
    switch (s.From) {
    case C::rnAdd1:
    case C::rnAdd2:
        return MoveTo(C::rSp1);
    case C::rnAdd3:
        return s.Add3Checked ? MoveToEdit(C::rEd1) : MoveTo(C::rSp1);
    case C::rSp1:
        return MoveTo(C::rSp2);
    case C::rSp2:
        return s.Add1Checked ? MoveTo(C::rCb1) : MoveToEdit(C::rEd1);
    case C::rEd1:
        return MoveTo(C::rCb1);
    case C::rCb1:
        return MoveTo(C::GoRnBtn1);
    case C::rnDel1:
        return MoveToEdit(C::rEd2);
    case C::rEd2:
        return MoveTo(C::rnDel2);
    case C::rnDel2:
        return MoveTo(C::rCb2);
    case C::rCb2:
        return MoveTo(s.DeleteFromIndex == kDeleteAtPositionItem ? C::rSp3 : C::rSp4);
    case C::rSp3:
        return MoveTo(C::rSp4);
    case C::rSp4:
        return MoveTo(C::GoRnBtn2);
    case C::rnChange1:
        return MoveToEdit(C::rEd3);
    case C::rEd3:
        return MoveToEdit(C::rEd4);
    case C::rEd4:
        return MoveTo(C::rnChange2);
    case C::rnChange2:
        return MoveTo(C::rnChange3);
    case C::rnChange3:
        return MoveTo(C::GoRnBtn3);
    case C::rEd5:
        return MoveTo(C::rCk1);
    case C::rCk1:
        return s.InputAddChecked ? MoveToEdit(C::rEd6) : MoveTo(C::FocusBtn);
    case C::rEd6:
        return MoveTo(C::rCb3);
    case C::GoRnBtn1:
    case C::GoRnBtn2:
    case C::GoRnBtn3:
    case C::rCb3:
        return MoveTo(C::FocusBtn);
    case C::RenamePage:
        return MoveTo(RenameEntryControl(s));
    default:
        return std::nullopt;
    }
}

// Shift+Tab inside the rename page: back to the control whose Tab leads
// here; nothing for an entry control or a control outside the page.
std::optional<TFocusControl> RenameStepBackward(const TFocusState& s)
{
    switch (s.From) {
    case C::rSp1: {
        TFocusState onAddTab = s;
        onAddTab.Tab = TRenameTab::Add;
        return RenameEntryControl(onAddTab);
    }
    case C::rSp2:
        return C::rSp1;
    case C::rEd1:
        return s.Add3Checked ? C::rnAdd3 : C::rSp2;
    case C::rCb1:
        return s.Add1Checked ? C::rSp2 : C::rEd1;
    case C::GoRnBtn1:
        return C::rCb1;
    case C::rEd2:
        return C::rnDel1;
    case C::rnDel2:
        return C::rEd2;
    case C::rCb2:
        return C::rnDel2;
    case C::rSp3:
        return C::rCb2;
    case C::rSp4:
        return s.DeleteFromIndex == kDeleteAtPositionItem ? C::rSp3 : C::rCb2;
    case C::GoRnBtn2:
        return C::rSp4;
    case C::rEd3:
        return C::rnChange1;
    case C::rEd4:
        return C::rEd3;
    case C::rnChange2:
        return C::rEd4;
    case C::rnChange3:
        return C::rnChange2;
    case C::GoRnBtn3:
        return C::rnChange3;
    case C::rCk1:
        return C::rEd5;
    case C::rEd6:
        return C::rCk1;
    case C::rCb3:
        return C::rEd6;
    default:
        return std::nullopt;
    }
}

// The last control of the shown pane, where Shift+Tab from the waveform
// goes; the region list when no pane is shown.
TFocusControl LastPaneControl(const TFocusState& s)
{
    switch (s.Pane) {
    case TSidePane::Explorer:
        return C::ShellTreeView1;
    case TSidePane::CutBars:
        return C::CutManageList;
    case TSidePane::None:
        return C::EditList;
    case TSidePane::Rename:
        break;
    }
    switch (s.Tab) {
    case TRenameTab::Add:
        return C::GoRnBtn1;
    case TRenameTab::Delete:
        return C::GoRnBtn2;
    case TRenameTab::Change:
        return C::GoRnBtn3;
    case TRenameTab::Input:
        break;
    }
    return s.InputAddChecked ? C::rCb3 : C::rCk1;
}

} // namespace

TFocusControl RenameEntryControl(const TFocusState& s)
{
    switch (s.Tab) {
    case TRenameTab::Add:
        if (s.Add1Checked)
            return C::rnAdd1;
        return s.Add3Checked ? C::rnAdd3 : C::rnAdd2;
    case TRenameTab::Delete:
        return C::rnDel1;
    case TRenameTab::Change:
        return C::rnChange1;
    case TRenameTab::Input:
        break;
    }
    return C::rEd5;
}

TFocusMove TabForward(const TFocusState& s)
{
    switch (s.From) {
    case C::FocusBtn:
        return MoveToListSelecting();
    case C::EditList:
        switch (s.Pane) {
        case TSidePane::None:
            return MoveTo(C::FocusBtn);
        case TSidePane::Explorer:
            return MoveTo(C::ShellTreeView1);
        case TSidePane::CutBars:
            return MoveTo(C::CutManageList);
        case TSidePane::Rename:
            return MoveTo(RenameEntryControl(s));
        }
        break;
    default:
        if (std::optional<TFocusMove> step = RenameStepForward(s))
            return *step;
        break;
    }
    return MoveTo(C::FocusBtn);
}

TFocusMove TabBackward(const TFocusState& s)
{
    if (s.From == C::FocusBtn)
        return MoveTo(LastPaneControl(s));
    if (s.Pane == TSidePane::Rename && s.From == RenameEntryControl(s)) {
        TFocusMove move = MoveToListSelecting();
        move.ListClick = true;
        return move;
    }
    if (std::optional<TFocusControl> step = RenameStepBackward(s))
        return MoveTo(*step);
    TFocusMove move = MoveTo(C::FocusBtn);
    move.ResetRegionAudio = true;
    return move;
}

TFocusMove TabSwitch(const TFocusState& s)
{
    switch (s.From) {
    case C::FocusBtn:
        return MoveToListSelecting();
    case C::EditList:
        switch (s.Pane) {
        case TSidePane::Explorer:
            return MoveTo(C::ShellTreeView1);
        case TSidePane::Rename:
            return MoveTo(C::RenamePage);
        case TSidePane::CutBars:
            return MoveTo(C::CutManageList);
        case TSidePane::None:
            break;
        }
        break;
    default:
        break;
    }
    return MoveTo(C::FocusBtn);
}

TFocusMove TabOver(TFocusMove (*step)(const TFocusState&), TFocusState state,
                   const std::function<bool(TFocusControl)>& canFocus)
{
    TFocusMove move = step(state);
    for (int passed = 0; move.To != C::FocusBtn && !canFocus(move.To) && passed < kControlCount;
         ++passed) {
        state.From = move.To;
        move = step(state);
    }
    return move;
}
