// The cut bars in the running window on a generated WAV file: the cut
// commands with and without a region for each cut, the bars turned into
// regions, nudges that pass neighbours, deleting and clearing (also from the
// list's popup), and a bar's place dragged in its list with the mouse behind
// the seams.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "editor/CutBarList.h"

#include "audio/DirectWavEngine.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <optional>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 80000;

using Bars = std::vector<std::int32_t>;
using Ranges = std::vector<TRegionRange>;

class CutBarWindowTest : public MainWindowTest
{
protected:
    void Open(std::int32_t samplesPerPixel = 100)
    {
        StartWithWav("take.wav", kFrames, kRate);
        ZoomTo(*form, samplesPerPixel);
    }
    Bars CutBars() const { return form->Document().CutBarSamples(); }
    TRegionRange Selection() const
    {
        return {form->Document().View().SelStart, form->Document().View().SelEnd};
    }
    Ranges Regions() const { return RegionRanges(form); }
    TListItem* Row(int index) const { return form->CutManageList->Items()->Item(index); }
    int SelectedRow() const
    {
        const TListItem* selected = form->CutManageList->Selected();
        return selected ? selected->Index() : -1;
    }
    void SelectRow(int index)
    {
        form->CutManageList->SetSelected(Row(index));
        Row(index)->SetFocused(true);
    }
};

TEST_F(CutBarWindowTest, ACutAtTheCursorAddsTheRegionFromTheBarBefore)
{
    const struct
    {
        bool CutToAdd;
        Bars Before;
        Ranges Added;
    } cases[] = {
        {true, {500, 3000}, {{500, 999}}},
        {true, {3000}, {{0, 999}}},
        {true, {}, {{0, 999}}},
        {true, {1000}, {}}, // a bar already there: the region would be empty
        {false, {500}, {}},
    };
    for (const auto& c : cases) {
        WriteSettings(c.CutToAdd ? "[USE]\r\nCUTTOADD=1\r\n" : "[USE]\r\nCUTTOADD=0\r\n");
        Open();
        form->AddCutBars(c.Before);
        form->SetPlayPosition(1000);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        ASSERT_TRUE(form->actRegionCut->Execute());
        Bars after = c.Before;
        after.push_back(1000);
        std::sort(after.begin(), after.end());
        EXPECT_EQ(CutBars(), after);
        EXPECT_EQ(form->CutManageList->Items()->Count(), static_cast<int>(after.size()));
        EXPECT_EQ(Regions(), c.Added);
        EXPECT_TRUE(form->Document().Modified());
        FreeAndNil(form);
    }
}

// The cut commands from their menu items and their keys, on the waveform.
TEST_F(CutBarWindowTest, TheCutCommandsRunFromTheirMenuItemsAndKeys)
{
    for (bool byMenu : {true, false}) {
        WriteSettings("[USE]\r\nCUTTOADD=0\r\n");
        Open();
        FocusWave();
        const auto run = [&](TAction* action, WORD key, TShiftState shift) {
            if (byMenu)
                ClickMenuItem(form, action);
            else
                PressKey(form->FocusBtn->Handle(), key, shift);
        };
        form->SetPlayPosition(1000);
        run(form->actRegionCut, 'G', ssCtrl);
        EXPECT_EQ(CutBars(), (Bars{1000})) << byMenu;
        DragOnWave(*form, 20, 50);
        ASSERT_EQ(Selection(), (TRegionRange{2000, 5099}));
        form->FocusBtn->SetFocus();
        run(form->actRegionCut2, 'G', ssShift | ssCtrl);
        EXPECT_EQ(CutBars(), (Bars{1000, 2000, 5099})) << byMenu;
        if (byMenu) {
            ClickMenuItem(form, form->actRegionCutToList);
            EXPECT_EQ(form->RegionCount(), 4);
            ClickMenuItem(form, form->actRegionCutClear);
            EXPECT_EQ(CutBars(), Bars{});
        }
        FreeAndNil(form);
    }
}

TEST_F(CutBarWindowTest, ACutAtBothEndsMarksTheSelection)
{
    WriteSettings("[USE]\r\nCUTTOADD=1\r\n");
    Open();
    DragOnWave(*form, 20, 50);
    ASSERT_EQ(Selection(), (TRegionRange{2000, 5099}));
    ASSERT_TRUE(form->actRegionCut2->Execute());
    EXPECT_EQ(CutBars(), (Bars{2000, 5099}));
    EXPECT_EQ(form->Document().CutBars().Strings(0), "000000002000");
    EXPECT_EQ(Regions(), (Ranges{{2000, 5098}}));
}

TEST_F(CutBarWindowTest, BarsTurnIntoTheRegionsBetweenThem)
{
    const struct
    {
        Bars Bars;
        Ranges Regions;
    } cases[] = {
        {{0, 100, 200}, {{0, 99}, {100, 199}, {200, kFrames}}},
        {{0}, {{0, kFrames}}},
        {{300, 300, 900}, {{0, 299}, {300, 899}, {900, kFrames}}},
    };
    for (const auto& c : cases) {
        Open();
        form->AddCutBars(c.Bars);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        ASSERT_TRUE(form->actRegionCutToList->Execute());
        EXPECT_EQ(Regions(), c.Regions);
        EXPECT_EQ(form->RegionText(0, TRegionColumn::Name), "take_01");
        EXPECT_TRUE(form->Document().Modified());
        FreeAndNil(form);
    }
}

TEST_F(CutBarWindowTest, ANudgeKeepsTheListSortedAndTheMovedBarSelected)
{
    const struct
    {
        int Row;
        bool Forward;
        Bars After;
        int SelectedAfter;
    } cases[] = {
        {0, true, {1010, 1020, 1100, 5000}, 2}, // past two neighbours
        {1, true, {1000, 1020, 1110, 5000}, 2}, // past one
        {3, true, {1000, 1010, 1020, 5100}, 3}, // past none
        {2, false, {920, 1000, 1010, 5000}, 0}, // back past two
        {0, false, {900, 1010, 1020, 5000}, 0},
    };
    for (const auto& c : cases) {
        Open();
        form->AddCutBars({1000, 1010, 1020, 5000});
        SelectRow(c.Row);
        form->SetPlayPosition(40000);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        form->NudgeCutBar(c.Forward);
        EXPECT_EQ(CutBars(), c.After) << c.Row;
        EXPECT_EQ(SelectedRow(), c.SelectedAfter) << c.Row;
        EXPECT_EQ(Row(c.SelectedAfter)->Caption(), IntToStr(c.SelectedAfter + 1));
        EXPECT_EQ(form->Document().View().PlayPos, 40000) << "the reorder moves no cursor";
        EXPECT_TRUE(form->Document().Modified());
        // Every bar still makes a region.
        form->actRegionCutToList->Execute();
        EXPECT_EQ(form->RegionCount(), 5) << c.Row;
        FreeAndNil(form);
    }
}

TEST_F(CutBarWindowTest, ANudgeStopsAtTheEndsOfTheFile)
{
    Open(256);
    form->AddCutBars({100, kFrames - 10});
    SelectRow(0);
    form->NudgeCutBar(false);
    EXPECT_EQ(CutBars(), (Bars{0, kFrames - 10}));
    form->NudgeCutBar(false);
    EXPECT_EQ(CutBars(), (Bars{0, kFrames - 10}));
    SelectRow(1);
    form->NudgeCutBar(true);
    form->NudgeCutBar(true);
    EXPECT_EQ(CutBars(), (Bars{0, kFrames}));
}

TEST_F(CutBarWindowTest, DeletingAndClearingLeaveTheModifiedFlag)
{
    Open();
    form->AddCutBars({1000, 2000, 3000});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    SelectRow(2);
    form->DeleteSelectedCutBar();
    EXPECT_EQ(CutBars(), (Bars{1000, 2000}));
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_FALSE(form->Document().Modified());
    ASSERT_TRUE(form->actRegionCutClear->Execute());
    EXPECT_EQ(CutBars(), Bars{});
    EXPECT_EQ(form->CutManageList->Items()->Count(), 0);
    EXPECT_FALSE(form->Document().Modified());
}

TEST_F(CutBarWindowTest, TheRightClickThatSelectsABarShowsThePopupEnabledForIt)
{
    Open();
    form->AddCutBars({1000, 2000});
    form->actViewCutbarlist->Execute();
    FocusWave(); // the loop idles: the commands follow the focus, no bar selected
    TBarCustomItem* remove = MenuItemOf(form->CutManagePopup->Items(), form->actEditDelete);
    ASSERT_NE(remove, nullptr);
    const TRect row = Row(1)->DisplayRect(TDisplayCode::drBounds);
    EXPECT_TRUE(RightClickAndChoose(
        ScreenPointOf(form->CutManageList->Handle(), row.left + 20, (row.top + row.bottom) / 2),
        remove, [&] { return CutBars().size() < 2; }));
    EXPECT_EQ(CutBars(), Bars{1000});
}

TEST_F(CutBarWindowTest, SelectingABarMovesTheCursorToIt)
{
    Open(8);
    form->AddCutBars({1000, 60000});
    DragOnWave(*form, 1, 2);
    ASSERT_TRUE(form->Document().View().HasSelection);
    SelectRow(1);
    EXPECT_EQ(form->Document().View().PlayPos, 60000);
    EXPECT_FALSE(form->Document().View().HasSelection);
    EXPECT_TRUE(form->IsSampleVisible(60000));
}

// A bar's place dragged in its list: a press on its time, a move of four
// pixels that starts the drag, then ticks with the mouse dy rows away.
TEST_F(CutBarWindowTest, DraggingABarDownMovesItEarlierAndSortsTheListOnRelease)
{
    Open(256);
    form->AddCutBars({1000, 3000, 6000});
    SelectRow(1);
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    const TRect cell = form->CutManageList->SubItemRect(Row(1), 1);
    const TPoint at((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    const TPoint screen = form->CutManageList->ClientToScreen(at);
    std::optional<ScopedKeyState> held(std::in_place, std::initializer_list<int>{VK_LBUTTON});
    ScopedCursorPos mouse(POINT{screen.x, screen.y + 4});
    form->CutManageListMouseDown(form->CutManageList, TMouseButton::mbLeft, ssLeft, at.x, at.y);
    form->CutManageListMouseMove(form->CutManageList, ssLeft, at.x, at.y + 4);
    ASSERT_TRUE(form->DragEditTimer->Enabled());
    mouse.Move({screen.x, screen.y + 10});
    form->DragEditTimerTimer(form->DragEditTimer);
    EXPECT_EQ(form->Document().CutBars().Strings(1), "000000000440"); // 3000 - 10 x 256
    mouse.Move({screen.x, screen.y + 20});
    form->DragEditTimerTimer(form->DragEditTimer);
    EXPECT_EQ(form->Document().CutBars().Strings(1), "000000000000"); // not below 0
    mouse.Move({screen.x, screen.y + 8});
    form->DragEditTimerTimer(form->DragEditTimer);
    held.reset();
    form->DragEditTimerTimer(form->DragEditTimer);
    EXPECT_FALSE(form->DragEditTimer->Enabled());
    EXPECT_EQ(CutBars(), (Bars{952, 1000, 6000}));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(Row(0)->SubItems()->Strings(1), "952");
    EXPECT_FALSE(form->Document().Modified());
}

} // namespace
