// The region list in the running window on a generated WAV file: regions
// added with their names and texts, refused ranges, header sorting, the
// list's selection becoming the waveform's, reordering by a drop, and the
// drag edits of ends and volumes driven by the drag-edit tick with the mouse
// behind the seams.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "dialogs/ql_preference.h"
#include "dialogs/ql_regionedit.h"

#include "audio/DirectWavEngine.h"
#include "classlib/DragManager.h"
#include "classlib/Graphics.h"
#include "classlib/Seams.h"

#include "support/BarDriver.h"
#include "support/ModalDriver.h"
#include "support/ModalScript.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 80000; // ten seconds; one frame per draw entry

class RegionListWindowTest : public MainWindowTest
{
protected:
    void Open()
    {
        StartWithWav("take.wav", kFrames, kRate);
        form->SetActiveControl(form->FocusBtn);
    }
};

using NameList = std::vector<std::string>;
using Texts = std::vector<AnsiString>;

TEST_F(RegionListWindowTest, AddedRegionsShowTheirNamesAndTexts)
{
    Open();
    ASSERT_FALSE(form->Document().Modified());
    form->AddRegion(8000, 20000);
    ASSERT_EQ(form->RegionCount(), 1);
    using C = TRegionColumn;
    Texts shown;
    for (C column : {C::Name, C::Length, C::Start, C::End, C::Volume, C::OutMode})
        shown.push_back(Text(0, column));
    EXPECT_EQ(shown, (Texts{"take_01", "0:01.50", "0:01.00", "0:02.50", "-", "-"}));
    EXPECT_EQ(form->RegionAt(0), &form->Document().Regions()[0]);
    EXPECT_TRUE(form->Document().Modified());

    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    for (const auto& [start, end] :
         std::vector<std::pair<int, int>>{{5, 5}, {-1, 10}, {100, kFrames + 1}, {300, 200}})
        form->AddRegion(start, end);
    EXPECT_EQ(form->RegionCount(), 1);
    EXPECT_FALSE(form->Document().Modified());
    form->AddRegion(0, kFrames);
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_02"}));
}

TEST_F(RegionListWindowTest, DeletedRegionsStillCountForTheNextNameUntilTheListEmpties)
{
    Open();
    form->AddRegion(0, 100);
    form->AddRegion(100, 200);
    form->AddRegion(200, 300);
    form->RemoveRegionRows({2});
    form->AddRegion(300, 400);
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_02", "take_04"}));
    EXPECT_EQ(form->Document().Regions().Count(), 4);
    EXPECT_EQ(form->Document().RegionCount(), 3);
    form->RemoveRegionRows({0, 1, 2});
    EXPECT_EQ(form->Document().Regions().Count(), 0);
    form->AddRegion(300, 400);
    EXPECT_EQ(RegionNames(), (NameList{"take_01"}));
}

TEST_F(RegionListWindowTest, ABatchIsNumberedInOrderAndSkipsEmptyPairs)
{
    Open();
    form->AddRegion(0, 100);
    TAutoRegionList detected;
    detected.Regions = {{1000, 2000}, {3000, 3000}, {4000, 5000}};
    form->AddRegions(detected);
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_02", "take_03"}));
    EXPECT_EQ(form->RegionAt(2)->Start, 4000);
}

TEST_F(RegionListWindowTest, AHeaderClickSortsAndASecondOneTurnsTheOrder)
{
    Open();
    form->AddRegion(3000, 4000);
    form->AddRegion(1000, 9000);
    form->AddRegion(2000, 2500);
    TListColumns* columns = form->EditList->Columns();
    form->EditListColumnClick(form->EditList, columns->Items(2)); // start
    EXPECT_EQ(RegionNames(), (NameList{"take_02", "take_03", "take_01"}));
    form->EditListColumnClick(form->EditList, columns->Items(2));
    EXPECT_EQ(form->SortColumn(), -3);
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_03", "take_02"}));
    form->EditListColumnClick(form->EditList, columns->Items(1)); // length
    EXPECT_EQ(RegionNames(), (NameList{"take_03", "take_01", "take_02"}));
    form->EditListColumnClick(form->EditList, columns->Items(0)); // name
    EXPECT_EQ(RegionNames(), (NameList{"take_01", "take_02", "take_03"}));
}

TEST_F(RegionListWindowTest, SelectingRegionsSelectsTheirSpanOnTheWaveform)
{
    Open();
    form->AddRegion(8000, 16000);
    form->AddRegion(24000, 40000);
    form->AddRegion(4000, 12000);
    SelectOnly({0});
    EXPECT_TRUE(form->Document().View().HasSelection);
    EXPECT_TRUE(form->Document().View().RegionSelection);
    EXPECT_EQ(form->Document().View().SelStart, 8000);
    EXPECT_EQ(form->Document().View().SelEnd, 16000);
    EXPECT_EQ(form->Document().View().PlayPos, 8000);
    EXPECT_EQ(form->InfoRegionLabel->Caption(), "0:01.00 [ 0:01.00 - 0:02.00 ]");
    EXPECT_EQ(form->InfoTimeLabel->Caption(), "0:01.00 / 0:10.00");
    EXPECT_EQ(form->SelectedRegionSpan(), (TRegionRange{-1, -1}));

    // A range taken with Shift and the mouse is handled once it is whole.
    {
        ScopedKeyState shift({VK_SHIFT});
        form->SelectRegionRow(1, false);
        form->SelectRegionRow(2, false);
    }
    EXPECT_EQ(form->Document().View().SelEnd, 16000) << "taken once the loop waits";
    ASSERT_TRUE(PumpUntil([this] { return !form->RangeClickPending(); }));
    EXPECT_EQ(form->Document().View().SelStart, 4000);
    EXPECT_EQ(form->Document().View().SelEnd, 40000);
    EXPECT_EQ(form->SelectedRegionSpan(), (TRegionRange{4000, 40000}));
}

// A selection of several items is taken while Shift is held with the mouse
// released, or with Up or Down; not while the mouse still sweeps a range.
TEST_F(RegionListWindowTest, ARangeSelectionIsTakenOnceItIsWhole)
{
    Open();
    form->AddRegion(8000, 16000);
    form->AddRegion(24000, 40000);
    std::vector<int> held;
    Seams().KeyState = [&held](int key) -> SHORT {
        return std::find(held.begin(), held.end(), key) != held.end() ? SHORT(0x8000) : 0;
    };
    const struct
    {
        std::vector<int> Held;
        bool Taken;
    } cases[] = {
        {{VK_SHIFT}, true},
        {{VK_SHIFT, VK_DOWN}, true},
        {{VK_SHIFT, VK_UP, VK_LBUTTON}, true},
        {{VK_SHIFT, VK_LBUTTON}, false},
        {{}, false},
    };
    for (const auto& c : cases) {
        held.clear();
        SelectOnly({0});
        held = c.Held;
        form->SelectRegionRow(1, false);
        EXPECT_EQ(form->RangeClickPending(), c.Taken) << c.Held.size();
        PumpUntil([this] { return !form->RangeClickPending(); });
        EXPECT_EQ(form->Document().View().SelEnd, c.Taken ? 40000 : 16000) << c.Held.size();
    }
}

// Typed keys, sent through the system's input queue: Shift+End selects 300
// items, one notification each; the waveform then spans them all.
TEST_F(RegionListWindowTest, ShiftEndSelectsTheRestAndTheWaveSpansThem)
{
    Open();
    std::vector<TRegionRange> ranges;
    for (int i = 0; i < 300; ++i)
        ranges.push_back({i * 100, i * 100 + 50});
    form->AddRegionRanges(ranges);
    Seams().KeyState = [](int key) { return GetKeyState(key); };
    ASSERT_TRUE(ActivateForm(form));
    form->EditList->SetFocus();
    ASSERT_EQ(FocusedWindow(), form->EditList->Handle());
    SelectOnly({0});
    form->FocusRegionRow(0);
    std::vector<INPUT> keys;
    for (const auto& [key, flags] : std::vector<std::pair<WORD, DWORD>>{
             {VK_SHIFT, 0}, {VK_END, 0}, {VK_END, KEYEVENTF_KEYUP}, {VK_SHIFT, KEYEVENTF_KEYUP}}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        keys.push_back(input);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    ASSERT_TRUE(PumpUntil([this] {
        return form->SelectedRegionCount() == 300 && !form->RangeClickPending() &&
               form->Document().View().SelEnd == 299 * 100 + 50;
    }));
    EXPECT_EQ(form->Document().View().SelStart, 0);
    EXPECT_TRUE(form->Document().View().RegionSelection);
}

TEST_F(RegionListWindowTest, ARegionOutOfViewIsBroughtToTheMiddle)
{
    Open();
    ZoomTo(*form, 8);
    form->AddRegion(60000, 61000);
    SelectOnly({0});
    EXPECT_TRUE(form->IsSampleVisible(60000));
    EXPECT_TRUE(form->IsSampleVisible(61000));
    EXPECT_NE(form->Document().View().SelStartX, -1);
}

TEST_F(RegionListWindowTest, DroppedItemsMoveBeforeTheTargetInTheirOrder)
{
    Open();
    for (int i = 0; i < 4; ++i)
        form->AddRegion(i * 1000, i * 1000 + 500);
    SelectOnly({2, 3});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    const TPoint onFirst = Cell(0, TRegionColumn::Name);
    form->EditListDragDrop(form->EditList, form->EditList, onFirst.x, onFirst.y);
    EXPECT_EQ(RegionNames(), (NameList{"take_03", "take_04", "take_01", "take_02"}));
    EXPECT_EQ(form->SelectedRegionRows(), (std::vector<int>{0, 1}));
    EXPECT_FALSE(form->Document().Modified());

    // Onto the last item: the selection goes to the end.
    SelectOnly({0});
    const TPoint onLast = Cell(3, TRegionColumn::Name);
    form->EditListDragDrop(form->EditList, form->EditList, onLast.x, onLast.y);
    EXPECT_EQ(RegionNames(), (NameList{"take_04", "take_01", "take_02", "take_03"}));
}

TEST_F(RegionListWindowTest, ARightClickOpensThePopupOfItsPlace)
{
    Open();
    form->AddRegion(1000, 2000);
    form->AddRegion(3000, 4000);
    TBarCustomItem* regionMenu = form->EditListPopup->Items();
    TBarCustomItem* outModeMenu = form->OutModePopup->Items();
    const TRect outModeCell = form->RegionCellRect(1, TRegionColumn::OutMode);
    const TPoint belowOutMode =
        form->EditList->ClientToScreen(TPoint(outModeCell.left, outModeCell.bottom));
    const TPoint pastTheColumns(outModeCell.right + 20, Cell(0, TRegionColumn::Name).y);
    const struct
    {
        bool Selected;
        TPoint At;
        TBarCustomItem* Menu;
    } cases[] = {
        {false, Cell(0, TRegionColumn::OutMode), regionMenu}, // nothing selected
        {true, Cell(0, TRegionColumn::Volume), regionMenu},
        {true, Cell(0, TRegionColumn::Name), regionMenu},
        {true, Cell(0, TRegionColumn::OutMode), outModeMenu},
        {true, pastTheColumns, outModeMenu},
    };
    for (const auto& c : cases) {
        form->ClearRegionSelection();
        if (c.Selected) {
            form->SelectRegionRow(1, false);
            form->FocusRegionRow(1);
        }
        TBarCustomItem* shown = nullptr;
        TRect shownAt;
        ModalScript script;
        script.WaitUntil([] { return StandalonePopupView() != nullptr; }, "a popup opens")
            .Then([&] {
                TBarView* view = StandalonePopupView();
                shown = view->ParentItem();
                GetWindowRect(view->Window()->Handle(), &shownAt);
                ModalScript::PressKey(VK_ESCAPE);
            });
        script.Run([&] {
            form->EditListMouseDown(form->EditList, TMouseButton::mbRight, ssRight, c.At.x, c.At.y);
        });
        EXPECT_EQ(shown, c.Menu) << c.At.x;
        if (c.Menu == outModeMenu) {
            // Under the focused item's output-mode cell, wherever the click was.
            EXPECT_EQ(shownAt.left, belowOutMode.x);
            EXPECT_EQ(shownAt.top, belowOutMode.y);
        }
    }
    EXPECT_FALSE(form->EditListStatus().Active);
}

TEST_F(RegionListWindowTest, TheRightClickThatSelectsARowShowsThePopupEnabledForIt)
{
    Open();
    form->AddRegion(1000, 2000);
    form->AddRegion(3000, 4000);
    ASSERT_TRUE(ActivateForm(form));
    SelectOnly({}); // the loop idles: the commands follow the empty selection
    TBarCustomItem* edit = MenuItemOf(form->EditListPopup->Items(), form->actRegionEdit);
    ASSERT_NE(edit, nullptr);
    AnsiString editedName;
    ScriptedModalForms modal({[&](TCustomForm* shown) {
        if (auto* window = dynamic_cast<TForm2*>(shown))
            editedName = window->RenameEdit->Text();
        return mrCancel;
    }});
    EXPECT_TRUE(RightClickAndChoose(form->EditList->ClientToScreen(Cell(1, TRegionColumn::Name)),
                                    edit, [&] { return !modal.Shown().empty(); }));
    EXPECT_EQ(form->SelectedRegionRows(), std::vector<int>{1});
    EXPECT_EQ(editedName, "take_02");
}

// The colour the screen shows at a client point of a list, once painted.
TColor ScreenPixel(TWinControl* list, TPoint at)
{
    RedrawWindow(list->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(list->Handle());
    const COLORREF colour = GetPixel(dc, at.x, at.y);
    ReleaseDC(list->Handle(), dc);
    return static_cast<TColor>(colour);
}

TEST_F(RegionListWindowTest, OddRowsOfBothListsAreStripedWhileTheSettingIsOn)
{
    Open();
    for (int i = 0; i < 3; ++i) {
        form->AddRegion(i * 1000, i * 1000 + 500);
        form->AddCutBars({i * 1000 + 100});
    }
    form->actViewCutbarlist->Execute(); // the cut-bar list shown in the side pane
    ASSERT_TRUE(form->CutManageList->Visible());
    form->ClearRegionSelection();
    const TColor window = static_cast<TColor>(ColorToRGB(clWindow));
    for (bool stripe : {true, false}) {
        ChangePreferences([stripe](TForm6& window) {
            window.StripeChk->SetChecked(stripe);
            return true;
        });
        for (int row = 0; row < 3; ++row) {
            const bool striped = stripe && row % 2 == 1;
            // Right in a cell, where no text is drawn.
            const TRect region = form->RegionCellRect(row, TRegionColumn::Name);
            EXPECT_EQ(ScreenPixel(form->EditList, TPoint(region.right - 4, region.top + 2)),
                      striped ? TColor(0xEAF2FC) : window)
                << stripe << row;
            TListItem* bar = form->CutManageList->Items()->Item(row);
            const TRect cell = form->CutManageList->SubItemRect(bar, 1);
            EXPECT_EQ(ScreenPixel(form->CutManageList, TPoint(cell.right - 4, cell.top + 2)),
                      striped ? TColor(0xE1FFFF) : window)
                << stripe << row;
        }
    }
}

// A drag edit: a left press on a cell of the selected regions, a move of
// four pixels that starts it, then ticks with the mouse at rows dy.
class RegionDragEditTest : public RegionListWindowTest
{
protected:
    void Press(int index, TRegionColumn column)
    {
        held.emplace(std::initializer_list<int>{VK_LBUTTON});
        const TPoint at = Cell(index, column);
        pressScreen = form->EditList->ClientToScreen(at);
        form->EditListMouseDown(form->EditList, TMouseButton::mbLeft, ssLeft, at.x, at.y);
        mouse.emplace(POINT{pressScreen.x, pressScreen.y + 4});
        form->EditListMouseMove(form->EditList, ssLeft, at.x, at.y + 4);
    }
    void TickAt(int dy)
    {
        mouse->Move({pressScreen.x, pressScreen.y + dy});
        form->DragEditTimerTimer(form->DragEditTimer);
    }
    void Release()
    {
        held.reset();
        form->DragEditTimerTimer(form->DragEditTimer);
    }

    std::optional<ScopedKeyState> held;
    std::optional<ScopedCursorPos> mouse;
    TPoint pressScreen;
};

TEST_F(RegionDragEditTest, DraggingEndsUpLengthensTheRegionsUpToTheFilesEnd)
{
    Open();
    ZoomTo(*form, 256);
    form->AddRegion(10000, 20000);
    form->AddRegion(70000, 79000);
    SelectOnly({0, 1});
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    Press(1, TRegionColumn::End);
    EXPECT_TRUE(form->DragEditTimer->Enabled());
    EXPECT_FALSE(form->BrinkTimer->Enabled());
    TickAt(-6);
    EXPECT_EQ(form->RegionAt(0)->End, 21536); // 20000 + 6 x 256
    EXPECT_EQ(form->RegionAt(1)->End, kFrames);
    EXPECT_EQ(Text(0, TRegionColumn::Length), "0:01.44");
    EXPECT_EQ(Text(0, TRegionColumn::End), "0:02.69");
    EXPECT_EQ(Text(1, TRegionColumn::End), "0:10.00");
    EXPECT_EQ(form->Document().View().SelEnd, kFrames); // the span follows
    EXPECT_TRUE(form->Document().Modified());
    TickAt(0);
    EXPECT_EQ(form->RegionAt(0)->End, 20000);
    Release();
    EXPECT_FALSE(form->DragEditTimer->Enabled());
    EXPECT_FALSE(form->EditListStatus().Active);
    EXPECT_EQ(form->Document().View().PlayPos, 10000);
    EXPECT_TRUE(form->BrinkTimer->Enabled());
}

TEST_F(RegionDragEditTest, DraggingAVolumeWritesItsLevelAndTheEngineFollows)
{
    Open();
    form->AddRegion(10000, 20000);
    form->SetActiveControl(form->EditList);
    SelectOnly({0});
    form->ApplyRegionAudio();
    Press(0, TRegionColumn::Volume);
    TickAt(150);
    EXPECT_EQ(form->RegionAt(0)->Volume, 0.0);
    EXPECT_EQ(Text(0, TRegionColumn::Volume), "-∞ dB");
    TickAt(-100);
    EXPECT_EQ(form->RegionAt(0)->Volume, 2.0);
    EXPECT_EQ(Text(0, TRegionColumn::Volume), "+6.0 dB");
    EXPECT_DOUBLE_EQ(form->Engine()->Volume(), form->MasterVolume() * 2.0);
    TickAt(0);
    EXPECT_EQ(Text(0, TRegionColumn::Volume), "-");
    Release();
    EXPECT_FALSE(form->EditListStatus().Active);
}

// A press and a short drag up on each column of a selected region, as the
// list shows it: the cells that change while the drag holds, and whether the
// rows are taken for a move instead. Dragging back to the press undoes it.
TEST_F(RegionDragEditTest, EachColumnStartsItsOwnDrag)
{
    Open();
    form->AddRegion(10000, 20000);
    form->actViewRen->Execute(); // the rename pane adds the preview column
    SelectOnly({0});
    using C = TRegionColumn;
    const C shown[] = {C::Name, C::Length, C::Start, C::End, C::Volume, C::OutMode};
    auto texts = [&] {
        std::vector<AnsiString> all;
        for (C column : shown)
            all.push_back(Text(0, column));
        return all;
    };
    auto changedColumns = [&](const std::vector<AnsiString>& before) {
        std::vector<C> changed;
        const std::vector<AnsiString> now = texts();
        for (size_t i = 0; i < now.size(); ++i)
            if (now[i] != before[i])
                changed.push_back(shown[i]);
        return changed;
    };
    struct Case
    {
        C column;
        std::vector<C> changed;
        bool movesRows;
    };
    const Case cases[] = {
        {C::Name, {}, true},
        {C::Length, {C::Length, C::End}, false},
        {C::Start, {C::Length, C::Start}, false},
        {C::End, {C::Length, C::End}, false},
        {C::Volume, {C::Volume}, false},
        {C::OutMode, {}, false},
        {C::RenamePreview, {}, false},
    };
    const std::vector<AnsiString> before = texts();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.column));
        Press(0, c.column);
        TickAt(-3);
        EXPECT_EQ(changedColumns(before), c.changed);
        EXPECT_EQ(DragManagerSource() == form->EditList, c.movesRows);
        if (DragManagerSource())
            DragManagerEnd(false);
        TickAt(0);
        Release();
        EXPECT_EQ(texts(), before);
    }
}

TEST_F(RegionDragEditTest, AMoveOfLessThanFourPixelsEditsNothing)
{
    Open();
    form->AddRegion(10000, 20000);
    SelectOnly({0});
    held.emplace(std::initializer_list<int>{VK_LBUTTON});
    const TPoint at = Cell(0, TRegionColumn::Start);
    form->EditListMouseDown(form->EditList, TMouseButton::mbLeft, ssLeft, at.x, at.y);
    form->EditListMouseMove(form->EditList, ssLeft, at.x, at.y - 3);
    EXPECT_FALSE(form->DragEditTimer->Enabled());
    form->EditListMouseUp(form->EditList, TMouseButton::mbLeft, 0, at.x, at.y - 3);
    EXPECT_FALSE(form->EditListStatus().Active);
    EXPECT_EQ(form->RegionAt(0)->Start, 10000);
}

} // namespace
