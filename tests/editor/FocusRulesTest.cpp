// Focus moves of Tab, Shift+Tab and Ctrl+Tab, without windows.
#include "editor/FocusRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using C = TFocusControl;

TFocusState State(C from, TSidePane pane = TSidePane::None, TRenameTab tab = TRenameTab::Add)
{
    TFocusState s;
    s.From = from;
    s.Pane = pane;
    s.Tab = tab;
    return s;
}

// The controls Tab visits from the tab's entry control until it leaves the
// page.
std::vector<C> TabWalk(TFocusState s)
{
    std::vector<C> walk;
    s.From = RenameEntryControl(s);
    while (walk.size() < 20) {
        walk.push_back(s.From);
        TFocusMove move = TabForward(s);
        if (move.To == C::FocusBtn)
            break;
        s.From = move.To;
    }
    return walk;
}

struct TRenameOptions
{
    TRenameTab Tab;
    bool Add1, Add3;
    int DeleteFrom;
    bool InputAdd;
};

TFocusState RenameState(const TRenameOptions& o)
{
    TFocusState s = State(C::Other, TSidePane::Rename, o.Tab);
    s.Add1Checked = o.Add1;
    s.Add3Checked = o.Add3;
    s.DeleteFromIndex = o.DeleteFrom;
    s.InputAddChecked = o.InputAdd;
    return s;
}

} // namespace

TEST(FocusRules, CtrlTabCyclesTheWaveTheListAndTheShownPane)
{
    struct
    {
        C From;
        TSidePane Pane;
        C To;
        bool SelectListItem;
    } const cases[] = {
        {C::FocusBtn, TSidePane::None, C::EditList, true},
        {C::FocusBtn, TSidePane::Rename, C::EditList, true},
        {C::EditList, TSidePane::None, C::FocusBtn, false},
        {C::EditList, TSidePane::Explorer, C::ShellTreeView1, false},
        {C::EditList, TSidePane::Rename, C::RenamePage, false},
        {C::EditList, TSidePane::CutBars, C::CutManageList, false},
        {C::CutManageList, TSidePane::CutBars, C::FocusBtn, false},
        {C::rEd5, TSidePane::Rename, C::FocusBtn, false},
        {C::Other, TSidePane::None, C::FocusBtn, false},
    };
    for (const auto& c : cases) {
        TFocusMove move = TabSwitch(State(c.From, c.Pane));
        EXPECT_EQ(move.To, c.To) << static_cast<int>(c.From) << " " << static_cast<int>(c.Pane);
        EXPECT_EQ(move.SelectListItem, c.SelectListItem);
        EXPECT_FALSE(move.SelectText);
    }
}

TEST(FocusRules, TabFromTheListEntersTheShownPane)
{
    struct
    {
        TSidePane Pane;
        TRenameTab Tab;
        bool Add1, Add3;
        C To;
    } const cases[] = {
        {TSidePane::None, TRenameTab::Add, false, false, C::FocusBtn},
        {TSidePane::Explorer, TRenameTab::Add, false, false, C::ShellTreeView1},
        {TSidePane::CutBars, TRenameTab::Add, false, false, C::CutManageList},
        {TSidePane::Rename, TRenameTab::Add, true, false, C::rnAdd1},
        {TSidePane::Rename, TRenameTab::Add, false, false, C::rnAdd2},
        {TSidePane::Rename, TRenameTab::Add, false, true, C::rnAdd3},
        {TSidePane::Rename, TRenameTab::Delete, false, false, C::rnDel1},
        {TSidePane::Rename, TRenameTab::Change, false, false, C::rnChange1},
        {TSidePane::Rename, TRenameTab::Input, false, false, C::rEd5},
    };
    for (const auto& c : cases) {
        TFocusState s = State(C::EditList, c.Pane, c.Tab);
        s.Add1Checked = c.Add1;
        s.Add3Checked = c.Add3;
        EXPECT_EQ(TabForward(s).To, c.To) << static_cast<int>(c.Pane) << static_cast<int>(c.Tab);
    }
    TFocusMove fromWave = TabForward(State(C::FocusBtn, TSidePane::Explorer));
    EXPECT_EQ(fromWave.To, C::EditList);
    EXPECT_TRUE(fromWave.SelectListItem);
    EXPECT_EQ(TabForward(State(C::ShellTreeView1, TSidePane::Explorer)).To, C::FocusBtn);
    EXPECT_EQ(TabForward(State(C::Other)).To, C::FocusBtn);
}

TEST(FocusRules, TabWalksEachRenameTabInTheOrderOfItsSteps)
{
    struct
    {
        TRenameOptions Options;
        std::vector<C> Walk;
    } const cases[] = {
        {{TRenameTab::Add, false, false, 0, false},
         {C::rnAdd2, C::rSp1, C::rSp2, C::rEd1, C::rCb1, C::GoRnBtn1}},
        {{TRenameTab::Add, true, false, 0, false},
         {C::rnAdd1, C::rSp1, C::rSp2, C::rCb1, C::GoRnBtn1}},
        {{TRenameTab::Add, false, true, 0, false}, {C::rnAdd3, C::rEd1, C::rCb1, C::GoRnBtn1}},
        {{TRenameTab::Delete, false, false, 0, false},
         {C::rnDel1, C::rEd2, C::rnDel2, C::rCb2, C::rSp4, C::GoRnBtn2}},
        {{TRenameTab::Delete, false, false, 2, false},
         {C::rnDel1, C::rEd2, C::rnDel2, C::rCb2, C::rSp3, C::rSp4, C::GoRnBtn2}},
        {{TRenameTab::Change, false, false, 0, false},
         {C::rnChange1, C::rEd3, C::rEd4, C::rnChange2, C::rnChange3, C::GoRnBtn3}},
        {{TRenameTab::Input, false, false, 0, false}, {C::rEd5, C::rCk1}},
        {{TRenameTab::Input, false, false, 0, true}, {C::rEd5, C::rCk1, C::rEd6, C::rCb3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Options.Tab));
        EXPECT_EQ(TabWalk(RenameState(c.Options)), c.Walk);
    }
}

TEST(FocusRules, ShiftTabRetracesEveryTabStepOfTheRenamePage)
{
    const TRenameOptions options[] = {
        {TRenameTab::Add, false, false, 0, false},    {TRenameTab::Add, true, false, 0, false},
        {TRenameTab::Add, false, true, 0, false},     {TRenameTab::Delete, false, false, 0, false},
        {TRenameTab::Delete, false, false, 2, false}, {TRenameTab::Change, false, false, 0, false},
        {TRenameTab::Input, false, false, 0, false},  {TRenameTab::Input, false, false, 0, true},
    };
    for (const TRenameOptions& o : options) {
        TFocusState s = RenameState(o);
        std::vector<C> walk = TabWalk(s);
        SCOPED_TRACE(static_cast<int>(walk.front()));
        for (size_t i = 1; i < walk.size(); ++i) {
            s.From = walk[i];
            TFocusMove back = TabBackward(s);
            EXPECT_EQ(back.To, walk[i - 1]) << "back from step " << i;
            EXPECT_FALSE(back.ResetRegionAudio);
        }
        // From the waveform back to the last step; from the entry to the list.
        s.From = C::FocusBtn;
        EXPECT_EQ(TabBackward(s).To, walk.back());
        s.From = walk.front();
        TFocusMove toList = TabBackward(s);
        EXPECT_EQ(toList.To, C::EditList);
        EXPECT_TRUE(toList.ListClick);
        EXPECT_TRUE(toList.SelectListItem);
    }
}

TEST(FocusRules, ShiftTabOutsideTheRenamePage)
{
    struct
    {
        C From;
        TSidePane Pane;
        C To;
        bool ResetRegionAudio;
    } const cases[] = {
        {C::FocusBtn, TSidePane::None, C::EditList, false},
        {C::FocusBtn, TSidePane::Explorer, C::ShellTreeView1, false},
        {C::FocusBtn, TSidePane::CutBars, C::CutManageList, false},
        {C::EditList, TSidePane::CutBars, C::FocusBtn, true},
        {C::CutManageList, TSidePane::CutBars, C::FocusBtn, true},
        {C::RenamePage, TSidePane::Rename, C::FocusBtn, true},
        {C::Other, TSidePane::None, C::FocusBtn, true},
    };
    for (const auto& c : cases) {
        TFocusMove move = TabBackward(State(c.From, c.Pane));
        EXPECT_EQ(move.To, c.To) << static_cast<int>(c.From);
        EXPECT_EQ(move.ResetRegionAudio, c.ResetRegionAudio) << static_cast<int>(c.From);
    }
}

TEST(FocusRules, TheEditsTheStepsMarkHaveTheirTextSelectedOnArrival)
{
    struct
    {
        TRenameOptions Options;
        C From;
        C To;
        bool SelectText;
    } const cases[] = {
        {{TRenameTab::Add, false, true, 0, false}, C::rnAdd3, C::rEd1, true},
        {{TRenameTab::Add, false, false, 0, false}, C::rnAdd3, C::rSp1, false},
        {{TRenameTab::Add, false, false, 0, false}, C::rSp2, C::rEd1, true},
        {{TRenameTab::Delete, false, false, 0, false}, C::rnDel1, C::rEd2, true},
        {{TRenameTab::Change, false, false, 0, false}, C::rEd3, C::rEd4, true},
        {{TRenameTab::Change, false, false, 0, false}, C::rEd4, C::rnChange2, false},
        {{TRenameTab::Input, false, false, 0, true}, C::rCk1, C::rEd6, true},
        {{TRenameTab::Input, false, false, 0, false}, C::rCk1, C::FocusBtn, false},
        {{TRenameTab::Add, false, false, 0, false}, C::RenamePage, C::rnAdd2, false},
    };
    for (const auto& c : cases) {
        TFocusState s = RenameState(c.Options);
        s.From = c.From;
        TFocusMove move = TabForward(s);
        EXPECT_EQ(move.To, c.To) << static_cast<int>(c.From);
        EXPECT_EQ(move.SelectText, c.SelectText) << static_cast<int>(c.From);
    }
}

// Tab and Shift+Tab move on past the controls that cannot take the focus, as
// the key would leave each, and take the flags of the control they stop at.
TEST(FocusRules, AWalkPassesOverTheControlsThatCannotTakeTheFocus)
{
    struct
    {
        TFocusMove (*Step)(const TFocusState&);
        C From;
        std::vector<C> Refused;
        C To;
        bool SelectText;
    } const cases[] = {
        {TabForward, C::rnDel1, {}, C::rEd2, true},
        {TabForward, C::rnDel2, {C::rCb2, C::rSp4}, C::GoRnBtn2, false},
        {TabBackward, C::GoRnBtn2, {C::rCb2, C::rSp4}, C::rnDel2, false},
        {TabForward, C::rSp3, {C::rSp4, C::GoRnBtn2}, C::FocusBtn, false},
    };
    for (const auto& c : cases) {
        TFocusState s = RenameState({TRenameTab::Delete, false, false, 0, false});
        s.From = c.From;
        TFocusMove move = TabOver(c.Step, s, [&c](C control) {
            return std::find(c.Refused.begin(), c.Refused.end(), control) == c.Refused.end();
        });
        EXPECT_EQ(move.To, c.To) << static_cast<int>(c.From);
        EXPECT_EQ(move.SelectText, c.SelectText) << static_cast<int>(c.From);
    }
}
