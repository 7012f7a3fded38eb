// The window's commands as a whole, on the running window: the enabling
// rules reaching the actions, the focus moves of Tab, Shift+Tab and
// Ctrl+Tab, and the toolbar's buttons leaving the focus where it was.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "support/TestSeams.h"

using namespace testing_support;

namespace {

class CommandWindowTest : public MainWindowTest
{
protected:
    void Open()
    {
        StartWithWav("commands.wav", 16000, 8000);
    }
    bool EnabledNow(TAction* action)
    {
        action->Update();
        return action->Enabled();
    }
    // Activates the window and focuses control.
    void FocusOn(TWinControl* control)
    {
        ASSERT_TRUE(ActivateForm(form));
        control->SetFocus();
        PumpMessages();
        ASSERT_EQ(FocusedWindow(), control->Handle());
    }
    void Press(WORD key, TShiftState shift = 0) { PressKey(FocusedWindow(), key, shift); }
};

} // namespace

TEST_F(CommandWindowTest, TheActionsFollowTheirRulesAsTheWindowChanges)
{
    Start();
    EXPECT_FALSE(EnabledNow(form->actFileClose));
    EXPECT_FALSE(EnabledNow(form->actAudioPlay));
    EXPECT_FALSE(EnabledNow(form->actViewVZoomIn));
    EXPECT_TRUE(EnabledNow(form->actViewExp));

    FreeAndNil(form);
    Open();
    EXPECT_TRUE(EnabledNow(form->actFileClose));
    EXPECT_TRUE(EnabledNow(form->actAudioPlay));
    EXPECT_FALSE(EnabledNow(form->actViewVZoomOut));
    EXPECT_TRUE(EnabledNow(form->actViewVZoomIn));
    form->actViewVZoomIn->Execute();
    EXPECT_EQ(form->Document().View().VZoom, 2);
    EXPECT_TRUE(EnabledNow(form->actViewVZoomOut));
    EXPECT_FALSE(EnabledNow(form->actViewZoomRegion));
    DragOnWave(*form, form->SampleToX(100), form->SampleToX(900));
    ASSERT_TRUE(form->Document().View().HasSelection);
    EXPECT_TRUE(EnabledNow(form->actViewZoomRegion));
    form->SetPlayPosition(500);
    EXPECT_TRUE(EnabledNow(form->actRegionCut));
    // The rule allows trimming the selection, but without its command the
    // action stays disabled.
    EXPECT_TRUE(EnabledNow(form->actRegionTrim));
    form->actRegionTrim->OnExecute.Clear();
    EXPECT_FALSE(EnabledNow(form->actRegionTrim));
    EXPECT_FALSE(form->actRegionTrim->Execute());
}

TEST_F(CommandWindowTest, CtrlTabGoesFromTheWaveToTheListToThePaneAndBack)
{
    Start();
    form->actViewCutbarlistExecute(form->actViewCutbarlist);
    FocusOn(form->FocusBtn);
    Press(VK_TAB, ssCtrl);
    EXPECT_EQ(FocusedWindow(), form->EditList->Handle());
    Press(VK_TAB, ssCtrl);
    EXPECT_EQ(FocusedWindow(), form->CutManageList->Handle());
    Press(VK_TAB, ssCtrl);
    EXPECT_EQ(FocusedWindow(), form->FocusBtn->Handle());
}

TEST_F(CommandWindowTest, TabAndShiftTabWalkTheRenamePage)
{
    Start();
    form->actViewRenExecute(form->actViewRen);
    form->RenamePage->SetActiveTabIndex(2);
    form->rEd3->SetText("before");
    FocusOn(form->EditList);
    Press(VK_TAB);
    EXPECT_EQ(FocusedWindow(), form->rnChange1->Handle());
    Press(VK_TAB);
    EXPECT_EQ(FocusedWindow(), form->rEd3->Handle());
    EXPECT_EQ(form->rEd3->SelLength(), 6); // arrives with its text selected
    Press(VK_TAB);
    EXPECT_EQ(FocusedWindow(), form->rEd4->Handle());
    Press(VK_TAB, ssShift);
    EXPECT_EQ(FocusedWindow(), form->rEd3->Handle());
    Press(VK_TAB, ssShift);
    Press(VK_TAB, ssShift);
    EXPECT_EQ(FocusedWindow(), form->EditList->Handle());
    Press(VK_TAB, ssShift);
    EXPECT_EQ(FocusedWindow(), form->FocusBtn->Handle());
    Press(VK_TAB, ssShift);
    EXPECT_EQ(FocusedWindow(), form->GoRnBtn3->Handle());
}

TEST_F(CommandWindowTest, TabIntoTheListSelectsItsFirstItemWhenNoneIs)
{
    Open();
    form->AddRegionRanges({{0, 100}, {100, 200}});
    FocusOn(form->FocusBtn);
    Press(VK_TAB);
    EXPECT_EQ(FocusedWindow(), form->EditList->Handle());
    EXPECT_EQ(form->SelectedRegionRows(), std::vector<int>{0});
    EXPECT_EQ(form->FocusedRegionRow(), 0);
}

TEST_F(CommandWindowTest, TheToolbarsPlayButtonPlaysAndLeavesTheFocusOnTheWave)
{
    Open();
    FocusOn(form->FocusBtn);
    form->SetPlayPosition(4000);
    ClickToolButton(form->TransportBar, form->actAudioPlay);
    EXPECT_EQ(form->Document().PlayStart(), 4000);
    EXPECT_EQ(FocusedWindow(), form->FocusBtn->Handle());
    EXPECT_TRUE(PumpUntil([this] { return form->Stopped(); }, 15000));
}

TEST_F(CommandWindowTest, AfterTheCloseNoCommandOfTheClosedFileStaysEnabled)
{
    Open();
    // A range dragged on the waveform, added with Enter, its row clicked:
    // the waveform selection and a selected region, as a hand makes them.
    ASSERT_TRUE(ActivateForm(form));
    const TPoint from = form->WaveImage->ClientToScreen(TPoint(20, form->MarkHeight() + 20));
    RealDrag({from.x, from.y}, {{from.x + 40, from.y}, {from.x + 80, from.y}});
    PressOnWave(VK_RETURN);
    ASSERT_EQ(form->RegionCount(), 1);
    const TPoint row = form->EditList->ClientToScreen(Cell(0, TRegionColumn::Name));
    RealClick({row.x, row.y});
    ASSERT_EQ(form->SelectedRegionRows(), std::vector<int>{0});
    ASSERT_TRUE(form->Document().View().HasSelection);
    {
        ScriptedMessageBoxes boxes({IDYES});
        RealKeyPress('W', ssCtrl);
        ASSERT_EQ(boxes.Shown().size(), 1u);
    }
    ASSERT_EQ(form->Caption(), kApplicationTitle);
    for (TAction* action :
         {form->actFileBounceSelOnly, form->actRegionEdit, form->actRegionAdd,
          form->actRegionTrim, form->actRegionExpand, form->actViewZoomRegion,
          form->actRegionCut2, form->actRegionStartWide, form->actRegionFwd})
        EXPECT_FALSE(EnabledNow(action)) << action->Name();
}
