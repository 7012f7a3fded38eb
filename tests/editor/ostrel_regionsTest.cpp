// The region commands on the running window with a generated file: each
// reached through its menu item or its shortcut with the control it needs
// focused, and what each leaves in the list, the records, the region
// clipboard and FModified.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "audio/DirectWavEngine.h"
#include "dialogs/ql_filelist.h"
#include "editor/CutBarList.h"
#include "editor/PlayCursor.h"

#include "support/MessageRecorder.h"
#include "support/WavFile.h"

#include <commctrl.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 80000;

using NameList = std::vector<std::string>;

class RegionCommandTest : public MainWindowTest
{
protected:
    void Open(bool stereo = false)
    {
        Start();
        const std::string path =
            stereo
                ? WriteWav(folder, "take.wav",
                           WavBuilder().Pcm16(2, kRate, ToneSamples(kFrames, 2, kRate, 440, 8000)))
                : WriteHalfSilentWav(folder, "take.wav", kFrames, kRate);
        LoadTestDocument(*form, path);
        ASSERT_TRUE(ActivateForm(form));
    }
    int Count() const { return form->RegionCount(); }
    void Name(int row, const char* name)
    {
        Record(row).Name = name;
        form->SetRegionText(row, TRegionColumn::Name, name);
    }
    void Focus(TWinControl* control)
    {
        control->SetFocus();
        PumpMessages();
        ASSERT_EQ(FocusedWindow(), control->Handle());
    }
    void Press(WORD key, TShiftState shift = 0) { PressKey(FocusedWindow(), key, shift); }
    // Clicks the action's item in the main menu, as an opened menu does:
    // its actions updated first.
    void ClickMenu(TAction* action)
    {
        TBarCustomItem* item = MenuItemOf(form->MenuBar->Items(), action);
        ASSERT_NE(item, nullptr);
        action->Update();
        item->Click();
        PumpMessages();
    }
};

} // namespace

TEST_F(RegionCommandTest, MergeSpansTheSelectedRegionsUnderAFreeName)
{
    Open();
    const std::function<void()> ways[] = {
        [&] { ClickMenu(form->actRegionMerge); },
        [&] { Press('M', ssCtrl); },
    };
    for (const auto& way : ways) {
        form->actRegionClear->Execute();
        form->AddRegionRanges({{3000, 4000}, {1000, 2000}, {5000, 5800}, {0, 10}});
        Name(0, "A");
        Name(3, "A_Merged");
        Record(0).Volume = 0.5;
        Record(0).OutMode = TOutputMode::MonoLeft;
        Focus(form->EditList);
        SelectOnly({0, 1, 2});
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        way();
        EXPECT_EQ(RegionNames(), (NameList{"A_Merged(1)", "A_Merged"}));
        EXPECT_EQ(Record(0).Start, 1000);
        EXPECT_EQ(Record(0).End, 5800);
        EXPECT_EQ(Record(0).Volume, 0.5);
        EXPECT_EQ(Record(0).OutMode, TOutputMode::MonoLeft);
        EXPECT_EQ(Text(0, TRegionColumn::Length), "0:00.60"); // 4800 frames
        EXPECT_EQ(form->SelectedRegionRows(), std::vector<int>{0});
        EXPECT_TRUE(form->Document().Modified());
        EXPECT_EQ(Status(), "リージョンを結合しました");
    }
}

TEST_F(RegionCommandTest, ClearingLeavesTheListUnchangedAndTheWaveformFocused)
{
    Open();
    form->AddRegionRanges({{0, 100}, {100, 200}});
    Focus(form->EditList);
    SelectOnly({1});
    ClickMenu(form->actRegionClear);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(form->Document().Regions().Count(), 0);
    EXPECT_FALSE(form->Document().Modified());
    EXPECT_FALSE(form->Document().View().HasSelection);
    EXPECT_EQ(FocusedWindow(), form->FocusBtn->Handle());
}

TEST_F(RegionCommandTest, CopiedRegionsPasteIntoTheListOnlyAsNewRegions)
{
    Open();
    form->AddRegionRanges({{1000, 2000}, {3000, 4000}});
    Record(0).Volume = 0.25;
    Focus(form->EditList);
    SelectOnly({0, 1});
    Press('C', ssCtrl);
    ASSERT_EQ(form->Document().RegionClip().Count(), 2);

    // The waveform focused: nothing, from the menu or the shortcut.
    Focus(form->FocusBtn);
    form->actEditPaste->Update();
    EXPECT_FALSE(form->actEditPaste->Enabled());
    form->actEditPasteExecute(form);
    Press('V', ssCtrl);
    EXPECT_EQ(Count(), 2);

    Focus(form->EditList);
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    Press('V', ssCtrl);
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_02", "take_03", "take_04"}));
    EXPECT_EQ(Record(2).Start, 1000);
    EXPECT_EQ(Record(2).Volume, 1.0); // only the range is copied
    EXPECT_EQ(Record(3).End, 4000);
    EXPECT_TRUE(form->Document().Modified());
    EXPECT_EQ(Status(), "リージョンを貼り付けました");

    // The waveform's selection copies as one range; cut deletes the source.
    Focus(form->FocusBtn);
    DragOnWave(*form, form->SampleToX(500), form->SampleToX(700));
    const TRegionRange selected{form->Document().View().SelStart, form->Document().View().SelEnd};
    ASSERT_LT(selected.Start, selected.End);
    ClickMenu(form->actEditCopy);
    EXPECT_EQ(form->Document().RegionClip().Ranges, (std::vector<TRegionRange>{selected}));
    Focus(form->EditList);
    SelectOnly({3});
    ClickMenu(form->actEditCut);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(form->Document().RegionClip().Ranges, (std::vector<TRegionRange>{{3000, 4000}}));

    form->CloseDocument();
    EXPECT_TRUE(form->Document().RegionClip().Empty());
}

TEST_F(RegionCommandTest, DuplicatesFollowTheirSourcesWithNumberedNames)
{
    Open();
    form->AddRegionRanges({{0, 100}, {100, 200}, {200, 300}});
    Name(0, "A");
    Name(1, "A(1)");
    Name(2, "B");
    Record(0).Volume = 0.5;
    Focus(form->EditList);
    SelectOnly({0, 1});
    Press('D', ssCtrl);
    EXPECT_EQ(RegionNames(), (NameList{"A", "A(2)", "A(1)", "A(1)(1)", "B"}));
    EXPECT_EQ(Record(1).Start, 0);
    EXPECT_EQ(Record(1).Name, "A(2)");
    EXPECT_EQ(Record(1).Volume, 1.0);
    EXPECT_EQ(Record(3).Start, 100);
    EXPECT_EQ(form->SortColumn(), 1);
    EXPECT_EQ(Status(), "リージョンを複製しました");
}

TEST_F(RegionCommandTest, DeleteAndBackspaceRemoveTheSelectedRegions)
{
    Open();
    form->AddRegionRanges({{0, 100}, {100, 200}, {200, 300}});
    Focus(form->EditList);
    SelectOnly({1});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    Press(VK_DELETE);
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_03"}));
    EXPECT_TRUE(form->Document().Modified());
    EXPECT_EQ(form->SelectedRegionCount(), 1);

    form->SelectAllRegions();
    Press(VK_BACK);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(form->Document().Regions().Count(), 0);
    EXPECT_EQ(FocusedWindow(), form->FocusBtn->Handle());

    // Backspace elsewhere, and the sideways arrows in the lists, do nothing
    // of the window's own.
    form->AddRegion(0, 100);
    Focus(form->EditList);
    form->ClearRegionSelection();
    EXPECT_FALSE(form->IsShortCut(VK_BACK, 0));
    EXPECT_TRUE(form->IsShortCut(VK_LEFT, 0));
    EXPECT_EQ(Count(), 1);
}

// What a change of the list's selection leaves behind: the list's selection
// and focus, the waveform selection with its labels, the commands' enabling,
// FModified and the file list's count of regions. A command that changes
// many items at once must leave what the same change item by item leaves.
class RegionBatchTest : public RegionCommandTest
{
protected:
    void OpenListed()
    {
        Open(true);
        form->AddToFileList(form->Engine()->Path());
        TForm10* fileList = form->FileListWindow();
        fileList->MarkOnly(fileList->ItemOfPath(form->Engine()->Path()));
    }
    void AddSix()
    {
        form->AddRegionRanges(
            {{800, 1600}, {4000, 9000}, {2400, 3000}, {16000, 20000}, {400, 600}, {9000, 12000}});
        Focus(form->EditList);
        form->FocusRegionRow(0);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    }
    // One line per item (name, selected, focused), then the rest.
    std::vector<std::string> Outcome() const
    {
        std::vector<std::string> outcome = RegionNames();
        for (int row : form->SelectedRegionRows())
            outcome[row] += " selected";
        if (form->FocusedRegionRow() >= 0)
            outcome[form->FocusedRegionRow()] += " focused";
        const TWaveViewState& view = form->Document().View();
        outcome.push_back(std::to_string(view.HasSelection) + std::to_string(view.RegionSelection) +
                          " " + std::to_string(view.SelStart) + "-" + std::to_string(view.SelEnd) +
                          " @" + std::to_string(view.PlayPos));
        outcome.push_back(form->InfoRegionLabel->Caption() + " | " +
                          form->InfoTimeLabel->Caption());
        outcome.push_back("modified " + std::to_string(form->Document().Modified()) + ", listed " +
                          form->FileListWindow()->MarkedItem()->SubItems()->Strings(0));
        for (TAction* action :
             {form->actRegionMerge, form->actRegionEdit, form->actRegionMonoMix}) {
            action->Update();
            outcome.push_back(action->Name() + " " + std::to_string(action->Enabled()));
        }
        return outcome;
    }
};

TEST_F(RegionBatchTest, SelectAllEndsAsSelectingEachRegionWithShift)
{
    OpenListed();
    AddSix();
    SelectOnly({0});
    {
        ScopedKeyState shift({VK_SHIFT});
        for (int row = 1; row < Count(); ++row)
            form->SelectRegionRow(row, false);
    }
    ASSERT_TRUE(PumpUntil([this] { return !form->RangeClickPending(); }));
    const std::vector<std::string> oneByOne = Outcome();
    EXPECT_EQ(form->SelectedRegionSpan(), (TRegionRange{400, 20000}));

    SelectOnly({2});
    ASSERT_EQ(form->Document().View().SelStart, 2400);
    Press('A', ssCtrl);
    EXPECT_EQ(Outcome(), oneByOne);
}

TEST_F(RegionBatchTest, DeletingSeveralEndsAsDeletingEachInTurn)
{
    OpenListed();
    AddSix();
    for (int index : {5, 3, 1}) {
        SelectOnly({index});
        Press(VK_DELETE);
    }
    const std::vector<std::string> oneByOne = Outcome();
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_03", "take_05"}));
    EXPECT_EQ(form->Document().View().SelStart, 800);

    ClickMenu(form->actRegionClear);
    ASSERT_EQ(Count(), 0);
    AddSix();
    SelectOnly({1, 3, 5});
    Press(VK_DELETE);
    EXPECT_EQ(Outcome(), oneByOne);
}

// A plain click on a region after select all, through the window: the list
// deselects every other region and the whole change is taken once.
TEST_F(RegionBatchTest, APlainClickAfterSelectAllEndsAsSelectingTheRegionAlone)
{
    OpenListed();
    AddSix();
    SelectOnly({2});
    form->FocusRegionRow(2);
    const std::vector<std::string> alone = Outcome();

    Press('A', ssCtrl);
    ASSERT_EQ(form->SelectedRegionCount(), Count());
    RealClick(form->EditList->ClientToScreen(RegionCell(form, 2, TRegionColumn::Name)));
    EXPECT_EQ(Outcome(), alone);
}

TEST_F(RegionCommandTest, SelectAllInTheWaveformSelectsTheWholeFile)
{
    StartWithWav("one.wav", 44100, 44100);
    ASSERT_TRUE(ActivateForm(form));
    Focus(form->FocusBtn);
    Press('A', ssCtrl);
    EXPECT_TRUE(form->Document().View().HasSelection);
    EXPECT_EQ(form->Document().View().SelStart, 0);
    EXPECT_EQ(form->Document().View().SelEnd, 44100);
    EXPECT_EQ(form->Document().View().PlayPos, 0);
    EXPECT_EQ(form->InfoTimeLabel->Caption(), "0:00.00 / 0:01.00");
    EXPECT_EQ(form->InfoRegionLabel->Caption(), "0:01.00 [ 0:00.00 - 0:01.00 ]");
}

TEST_F(RegionCommandTest, AdjustCommandsMoveTheSelectedRegionByAPixelsWorth)
{
    Open();
    const std::int32_t s = form->Document().View().SamplesPerPixel;
    ASSERT_GT(s, 0);
    form->AddRegionRanges({{0, 10 * s}, {20 * s, 21 * s + 1}});
    Focus(form->EditList);
    SelectOnly({0});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    struct Step
    {
        TAction* TFormVusk::*Action;
        WORD Key;
        TShiftState Shift;
        TRegionRange After;
    };
    const Step steps[] = {
        {&TFormVusk::actRegionFwd, VK_RIGHT, ssShift | ssCtrl, {s, 11 * s}}, // from 0 it moves
        {&TFormVusk::actRegionStartShort, VK_RIGHT, ssCtrl, {2 * s, 11 * s}},
        {&TFormVusk::actRegionEndWide, VK_RIGHT, ssShift, {2 * s, 12 * s}},
        {&TFormVusk::actRegionEndShort, VK_LEFT, ssShift, {2 * s, 11 * s}},
        {&TFormVusk::actRegionStartWide, VK_LEFT, ssCtrl, {s, 11 * s}},
        {&TFormVusk::actRegionRew, VK_LEFT, ssShift | ssCtrl, {0, 10 * s}},
        {&TFormVusk::actRegionRew, VK_LEFT, ssShift | ssCtrl, {0, 10 * s}}, // at 0: stays
    };
    for (const Step& step : steps) {
        Press(step.Key, step.Shift);
        EXPECT_EQ((TRegionRange{Record(0).Start, Record(0).End}), step.After)
            << (form->*step.Action)->Name();
        EXPECT_EQ(form->Document().View().SelStart, step.After.Start);
        EXPECT_EQ(form->Document().View().SelEnd, step.After.End);
    }
    EXPECT_TRUE(form->Document().Modified());
    // From the menu, on a region s + 1 samples long: one sample is left;
    // again, nothing changes.
    SelectOnly({1});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    ClickMenu(form->actRegionEndShort);
    EXPECT_EQ(Record(1).End, 20 * s + 1);
    ClickMenu(form->actRegionEndShort);
    EXPECT_EQ(Record(1).End, 20 * s + 1);
    EXPECT_EQ(Text(1, TRegionColumn::End), RegionTimeText(20 * s + 1, kRate));
}

TEST_F(RegionCommandTest, AdjustCommandsWithoutARegionSelectionMoveTheWaveformSelection)
{
    Open();
    const std::int32_t s = form->Document().View().SamplesPerPixel;
    form->AddRegion(5 * s, 6 * s);
    Focus(form->FocusBtn);
    form->Document().Select({5 * s, 6 * s});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    Press(VK_RIGHT, ssShift); // end-wide
    EXPECT_EQ(form->Document().View().SelStart, 5 * s);
    EXPECT_EQ(form->Document().View().SelEnd, 7 * s);
    EXPECT_EQ(form->Document().View().PlayPos, 5 * s);
    EXPECT_EQ(form->InfoRegionLabel->Caption(),
              SelectionLabelText(form->ViewDocument(), 5 * s, 7 * s));
    EXPECT_EQ(Record(0).End, 6 * s);
    EXPECT_FALSE(form->Document().Modified());
}

TEST_F(RegionCommandTest, AdjustCommandsNudgeTheSelectedCutBarInItsList)
{
    Open();
    const std::int32_t s = form->Document().View().SamplesPerPixel;
    form->actViewCutbarlist->Execute();
    form->AddCutBar(10 * s);
    form->CutManageList->SetSelected(form->CutManageList->Items()->Item(0));
    Focus(form->CutManageList);
    Press(VK_RIGHT, ssCtrl); // start-short: on
    EXPECT_EQ(CutBarSample(form->Document().CutBars().Strings(0)), 11 * s);
    ClickMenu(form->actRegionEndShort); // back
    EXPECT_EQ(CutBarSample(form->Document().CutBars().Strings(0)), 10 * s);
}

TEST_F(RegionCommandTest, OutputModesFromTheMenuAndTheirCheckMarks)
{
    Open(true);
    form->AddRegionRanges({{0, 100}, {100, 200}});
    Focus(form->EditList);
    SelectOnly({0, 1});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    ClickMenu(form->actRegionSwap);
    EXPECT_EQ(Record(0).OutMode, TOutputMode::Swap);
    EXPECT_EQ(Record(1).OutMode, TOutputMode::Swap);
    EXPECT_EQ(Text(1, TRegionColumn::OutMode), OutputModeText(TOutputMode::Swap));
    EXPECT_TRUE(form->Document().Modified());
    form->actRegionSwap->Update();
    EXPECT_TRUE(form->actRegionSwap->Checked());
    SelectOnly({0});
    ClickMenu(form->actRegionMonoMix);
    SelectOnly({0, 1});
    for (TAction* action : {form->actRegionSwap, form->actRegionMonoMix}) {
        action->Update();
        EXPECT_FALSE(action->Checked()); // the modes differ
        EXPECT_TRUE(action->Enabled());
    }
    form->ClearRegionSelection();
    form->actRegionNoChange->Update();
    EXPECT_FALSE(form->actRegionNoChange->Enabled());
}

TEST_F(RegionCommandTest, OutputModesAreOffForAMonoFile)
{
    Open();
    form->AddRegion(0, 100);
    SelectOnly({0});
    form->actRegionMonoMix->Update();
    EXPECT_FALSE(form->actRegionMonoMix->Enabled());
}

// After each step of a user's, the loop idles: the output modes are enabled
// for a selection, and the mode every selected region shares is checked. The
// selection is read from the list once after a change, not again at the
// next idle step (the loop idles after every mouse move).
TEST_F(RegionCommandTest, TheOutputModesFollowEachStepAndTheIdleStepReadsTheSelectionOnce)
{
    Open(true);
    form->AddRegionRanges({{0, 100}, {100, 200}, {200, 300}});
    Focus(form->EditList);
    const auto onRow = [&](int row) {
        return form->EditList->ClientToScreen(RegionCell(form, row, TRegionColumn::Name));
    };
    const TRect list = form->EditList->ClientRect();
    const POINT belowTheRows = ScreenPointOf(form->EditList->Handle(), 20, list.bottom - 4);
    const TPoint waveMiddle = form->WaveImage->ClientToScreen(
        TPoint(form->WaveImage->Width() / 2, form->WaveImage->Height() / 2));
    const std::optional<TOutputMode> none;
    const struct
    {
        const char* What;
        std::function<void()> Step;
        bool Enabled;
        std::optional<TOutputMode> Checked;
    } steps[] = {
        {"click the first", [&] { RealClick(onRow(0)); }, true, TOutputMode::NoTouch},
        {"its mode by its key", [&] { Press('M', ssShift | ssCtrl); }, true, TOutputMode::MonoMix},
        {"select all", [&] { Press('A', ssCtrl); }, true, none},
        // The list deselects them one by one, the last with no list click.
        {"right-click below the rows", [&] { RightClickAndChoose(belowTheRows, nullptr); }, false,
         none},
        {"click the second, Ctrl+click the third",
         [&] {
             RealClick(onRow(1));
             RealClick(onRow(2), ssCtrl);
         },
         true, TOutputMode::NoTouch},
        {"delete them: the one left selected", [&] { Press(VK_DELETE); }, true,
         TOutputMode::MonoMix},
    };
    const std::pair<TAction*, TOutputMode> modes[] = {
        {form->actRegionNoChange, TOutputMode::NoTouch},
        {form->actRegionMonoMix, TOutputMode::MonoMix},
        {form->actRegionMonoLeft, TOutputMode::MonoLeft},
        {form->actRegionMonoRight, TOutputMode::MonoRight},
        {form->actRegionSwap, TOutputMode::Swap},
    };
    MessageRecorder reads(form->EditList->Handle(), {LVM_GETNEXTITEM});
    int nudge = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.What);
        step.Step();
        reads.Clear();
        nudge = 8 - nudge;
        RealMouseMove({waveMiddle.x + nudge, waveMiddle.y});
        EXPECT_EQ(reads.Count(LVM_GETNEXTITEM), 0);
        for (const auto& [action, mode] : modes) {
            EXPECT_EQ(action->Enabled(), step.Enabled) << action->Name();
            EXPECT_EQ(action->Checked(), step.Checked == mode) << action->Name();
        }
    }
}

TEST_F(RegionCommandTest, ADoubleClickOnTheVolumeResetsIt)
{
    Open();
    form->AddRegion(0, 100);
    Record(0).Volume = 0.5;
    form->SetRegionText(0, TRegionColumn::Volume, "-6.0 dB");
    SelectOnly({0});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    ScopedCursorPos mouse(form->EditList->ClientToScreen(RegionCell(form, 0, TRegionColumn::Volume)));
    form->EditListDblClick(form->EditList);
    EXPECT_EQ(Record(0).Volume, 1.0);
    EXPECT_EQ(Text(0, TRegionColumn::Volume), "-");
    EXPECT_TRUE(form->Document().Modified());
}

TEST_F(RegionCommandTest, TheListCommandsAnswerTheirMenuItemsAsTheirShortcuts)
{
    Open(true);
    struct Command
    {
        TAction* TFormVusk::*Action;
        WORD Key;
        TShiftState Shift;
        std::function<bool()> Done;
    };
    const Command commands[] = {
        {&TFormVusk::actEditDouble, 'D', ssCtrl, [&] { return Count() == 3; }},
        {&TFormVusk::actEditDelete, VK_DELETE, 0, [&] { return Count() == 1; }},
        {&TFormVusk::actEditSelAll, 'A', ssCtrl, [&] { return form->SelectedRegionCount() == 2; }},
        {&TFormVusk::actRegionMonoMix, 'M', ssShift | ssCtrl,
         [&] { return Record(0).OutMode == TOutputMode::MonoMix; }},
    };
    for (const Command& command : commands) {
        TAction* action = form->*command.Action;
        for (bool byMenu : {true, false}) {
            SCOPED_TRACE(testing::Message() << action->Name() << (byMenu ? " menu" : " key"));
            form->actRegionClearExecute(form);
            form->AddRegionRanges({{0, 100}, {100, 200}});
            Focus(form->EditList);
            SelectOnly({0});
            if (byMenu)
                ClickMenu(action);
            else
                Press(command.Key, command.Shift);
            EXPECT_TRUE(command.Done());
        }
    }
}

TEST_F(RegionCommandTest, AddTakesTheWaveformSelectionFromTheMenuAndEnter)
{
    Open();
    const std::function<void()> ways[] = {
        [&] { ClickMenu(form->actRegionAdd); },
        [&] { Press(VK_RETURN); },
    };
    TRegionRange selected;
    for (const auto& way : ways) {
        DragOnWave(*form, form->SampleToX(800), form->SampleToX(1600));
        selected = {form->Document().View().SelStart, form->Document().View().SelEnd};
        ASSERT_LT(selected.Start, selected.End);
        Focus(form->FocusBtn);
        way();
    }
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_02"}));
    EXPECT_EQ(Record(1).Start, selected.Start);
    EXPECT_EQ(Record(1).End, selected.End);
}
