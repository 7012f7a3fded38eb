// Renaming regions in the running window on a generated WAV file: the
// preview column the rename pane adds, a rule applied through the pane's
// button, the manual input walked with real keys, and names loaded from the
// clipboard through the choice window and the numbering question.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "dialogs/ql_loadlist.h"

#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include "classlib/Clipboard.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 80000;

using Names = std::vector<std::string>;

class RenameWindowTest : public MainWindowTest
{
protected:
    // A file with four regions, the rename pane shown from its menu item.
    void OpenWithRegions()
    {
        StartWithWav("take.wav", kFrames, kRate);
        for (int i = 0; i < 4; ++i)
            form->AddRegion(i * 16000, i * 16000 + 8000);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        ASSERT_TRUE(ActivateForm(form));
        ClickMenuItem(form, form->actViewRen);
        ASSERT_TRUE(form->RenameMode());
    }
    Names RecordNames() const
    {
        Names names;
        for (const TRegionData* region : form->ListedRegions())
            names.push_back(region->Name);
        return names;
    }
    Names Previews() const { return RegionTexts(form, TRegionColumn::RenamePreview); }
    void SelectOnly(std::initializer_list<int> rows)
    {
        SelectOnlyRegions(form, rows);
        form->UpdateRenamePreview();
    }
    // The serial-number rule: "Track" + two digits from 1, after.
    void ChooseTrackNumbers()
    {
        form->RenamePage->SetActiveTabIndex(0);
        ClickCentre(form->rnAdd2);
        form->rEd1->SetText("Track");
        form->rSp1->SetValue(1);
        form->rSp2->SetValue(2);
        form->rCb1->SetItemIndex(1);
    }
};

TEST_F(RenameWindowTest, ThePaneAddsThePreviewColumnSecondAndTakesItAway)
{
    OpenWithRegions();
    ASSERT_EQ(form->EditList->Columns()->Count(), kRegionColumnCount + 1);
    EXPECT_EQ(form->EditList->Columns()->Items(kRegionColumnCount)->Caption(), "変更後名");
    EXPECT_EQ(form->EditList->ColumnOrder(), (std::vector<int>{0, 6, 1, 2, 3, 4, 5}));

    ClickMenuItem(form, form->actViewRen);
    EXPECT_FALSE(form->RenameMode());
    EXPECT_EQ(form->EditList->Columns()->Count(), kRegionColumnCount);

    // The header and the values agree again: the list's own order array, and
    // under the middle of each header the first row's value of that column,
    // the row ending with the last header.
    const HWND list = form->EditList->Handle();
    std::vector<int> order(kRegionColumnCount, -1);
    SendMessageA(list, LVM_GETCOLUMNORDERARRAY, order.size(),
                 reinterpret_cast<LPARAM>(order.data()));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    const HWND header = ListView_GetHeader(list);
    RECT row, head;
    ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
    for (int column = 0; column < kRegionColumnCount; ++column) {
        Header_GetItemRect(header, column, &head);
        LVHITTESTINFO hit = {};
        hit.pt = {(head.left + head.right) / 2, (row.top + row.bottom) / 2};
        SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        EXPECT_EQ(hit.iItem, 0) << column;
        EXPECT_EQ(hit.iSubItem, column) << form->EditList->Columns()->Items(column)->Caption();
        char text[64] = {};
        ListView_GetItemText(list, 0, column, text, sizeof(text));
        EXPECT_EQ(text, form->RegionText(0, static_cast<TRegionColumn>(column))) << column;
    }
    EXPECT_EQ(row.right, head.right);
}

TEST_F(RenameWindowTest, TheButtonAppliesThePreviewOfTheSelectedRegions)
{
    OpenWithRegions();
    ChooseTrackNumbers();
    SelectOnly({0, 1, 3});
    EXPECT_EQ(Previews(), (Names{"Track01", "Track02", "", "Track03"}));
    EXPECT_FALSE(form->Document().Modified());

    ClickCentre(form->GoRnBtn1);
    EXPECT_EQ(RegionNames(), (Names{"Track01", "Track02", "take_03", "Track03"}));
    EXPECT_EQ(RecordNames(), RegionNames());
    EXPECT_EQ(Previews(), (Names{"", "", "", ""}));
    EXPECT_TRUE(form->Document().Modified());
}

// Space plays only where the focus is on the waveform or a list; on the run
// button reached by Tab it presses the button.
TEST_F(RenameWindowTest, SpaceOnTheRunButtonAppliesTheRuleAndOnTheListPlays)
{
    OpenWithRegions();
    ChooseTrackNumbers();
    SelectOnly({0, 1});
    form->EditList->SetFocus();
    WalkWithTab(form, form->GoRnBtn1, 10);
    ASSERT_EQ(form->ActiveControl(), form->GoRnBtn1);
    RealKeyPress(VK_SPACE);
    EXPECT_EQ(RegionNames(), (Names{"Track01", "Track02", "take_03", "take_04"}));
    EXPECT_TRUE(form->Stopped());

    form->EditList->SetFocus();
    RealKeyPress(VK_SPACE);
    EXPECT_FALSE(form->Stopped());
    form->actAudioStopExecute(form);
}

TEST_F(RenameWindowTest, ApplyingStopsAtANameAnotherRegionKeeps)
{
    OpenWithRegions();
    form->SetRegionText(2, TRegionColumn::Name, "Track03");
    form->RegionAt(2)->Name = "Track03";
    ChooseTrackNumbers();
    SelectOnly({0, 1, 3});
    ClickCentre(form->GoRnBtn1);
    EXPECT_EQ(RegionNames(), (Names{"Track01", "Track02", "Track03", "take_04"}));
    EXPECT_EQ(Status(), "同じ名前のリージョンがすでに存在しています");
    EXPECT_EQ(StatusColor(form), clRed);
    EXPECT_TRUE(form->Document().Modified()); // the first two keep their new names
}

TEST_F(RenameWindowTest, AClickedTabShowsItsPageAndRulesAndStaysChosenAfterARestart)
{
    OpenWithRegions();
    ChooseTrackNumbers();
    form->rEd2->SetText("take_");
    form->rEd3->SetText("take");
    form->rEd4->SetText("cut");
    SelectOnly({0, 1, 3});
    TExtTabSheet* const sheets[] = {form->RenameAddTab, form->RenameDelTab, form->RenameChangeTab,
                                    form->RenameInputTab};
    const struct
    {
        int Tab;
        Names Previews;
    } cases[] = {
        {1, {"01", "02", "", "04"}},
        {2, {"cut_01", "cut_02", "", "cut_04"}},
        {0, {"Track01", "Track02", "", "Track03"}},
        {3, {}},
        {2, {"cut_01", "cut_02", "", "cut_04"}},
    };
    for (const auto& c : cases) {
        TBarView* view = form->RenamePage->TabToolbar()->View();
        const TRect r = view->Find(form->RenamePage->Items()->Items(c.Tab))->BoundsRect();
        ClickAt(form->RenamePage->TabToolbar()->Handle(), (r.left + r.right) / 2,
                (r.top + r.bottom) / 2);
        PumpMessages();
        EXPECT_EQ(form->RenamePage->ActiveTabIndex(), c.Tab);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(sheets[i]->Visible(), i == c.Tab) << c.Tab << " " << i;
        if (!c.Previews.empty()) {
            EXPECT_EQ(Previews(), c.Previews) << c.Tab;
        }
    }

    CloseAndFree();
    EXPECT_EQ(Settings().ReadInteger("RENAME", "ACTIVEPAGE", -1), 2);
    Start();
    EXPECT_TRUE(form->RenamePage->Visible());
    EXPECT_EQ(form->RenamePage->ActiveTabIndex(), 2);
    EXPECT_TRUE(form->RenameChangeTab->Visible());
    EXPECT_FALSE(form->RenameAddTab->Visible());
}

TEST_F(RenameWindowTest, TheRulesEnableTheControlsTheyUse)
{
    OpenWithRegions();
    form->RenamePage->SetActiveTabIndex(1);
    ClickCentre(form->rnDel2);
    EXPECT_FALSE(form->rEd2->Enabled());
    EXPECT_TRUE(form->rSp4->Enabled());
    EXPECT_FALSE(form->rSp3->Enabled());
    form->rCb2->SetItemIndex(2);
    form->RenameControlChange(form->rCb2);
    EXPECT_TRUE(form->rSp3->Enabled());
    EXPECT_TRUE(form->rLb7->Enabled());
    ClickCentre(form->rnDel1);
    EXPECT_TRUE(form->rEd2->Enabled());
    EXPECT_FALSE(form->rSp4->Enabled());
}

// The stored rule of the open tab is checked at the start, when the program
// places the focus. Tab from the region list walks the tab to its end (the
// run button; the waveform after the manual input), Shift+Tab walks back the
// same way, and neither chooses a rule: the stored one is checked all along
// and stored again at the close.
TEST_F(RenameWindowTest, TabWalksThroughTheRulesWithoutChoosingOne)
{
    using Controls = std::vector<const char*>;
    const Controls add = {"rnAdd1", "rnAdd2", "rnAdd3"}, remove = {"rnDel1", "rnDel2"},
                   change = {"rnChange1", "rnChange2", "rnChange3"}, manual = {"rCk1"};
    const struct Case
    {
        int Tab;
        const char* Key;
        int Stored;
        Controls Rules;
        const char* End;
        bool PassesEach; // the walk reaches every rule, not only the stored one
    } cases[] = {
        {0, "ADD_CHECK", 1, add, "GoRnBtn1", false},
        {0, "ADD_CHECK", 3, add, "GoRnBtn1", false},
        {1, "DEL_CHECK", 1, remove, "GoRnBtn2", true},
        {1, "DEL_CHECK", 2, remove, "GoRnBtn2", true},
        {2, "CHANGE_CHECK", 1, change, "GoRnBtn3", true},
        {2, "CHANGE_CHECK", 2, change, "GoRnBtn3", true},
        {2, "CHANGE_CHECK", 3, change, "GoRnBtn3", true},
        {3, "MANUAL_CHK", 1, manual, "FocusBtn", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key + std::string("=") + std::to_string(c.Stored));
        StartWithSettings("[FORM]\r\nSUBWINDOW_NUM=2\r\n[RENAME]\r\nACTIVEPAGE=" + IntToStr(c.Tab) +
                          "\r\n" + c.Key + "=" + IntToStr(c.Stored) + "\r\n");
        ASSERT_TRUE(ActivateForm(form));
        PumpMessages();
        const auto checks = [&] {
            std::vector<bool> checked;
            for (const char* rule : c.Rules)
                checked.push_back(
                    dynamic_cast<TExtButtonControl*>(form->FindComponent(rule))->Checked());
            return checked;
        };
        ASSERT_TRUE(checks()[c.Stored - 1]);

        const TRect list = form->EditList->ClientRect();
        RealClick(ScreenPointOf(form->EditList->Handle(), list.right / 2, list.bottom / 2));
        ASSERT_TRUE(form->EditList->Focused());
        auto* end = dynamic_cast<TWinControl*>(form->FindComponent(c.End));
        Names forward = WalkWithTabKeeping(form, end, 10, 0, checks);
        ASSERT_EQ(form->ActiveControl(), end);
        Names backward = WalkWithTabKeeping(form, form->EditList, 10, ssShift, checks);
        for (const char* rule : c.Rules)
            if (c.PassesEach) {
                EXPECT_NE(std::find(forward.begin(), forward.end(), rule), forward.end())
                    << rule << " not reached";
            }
        // Back the same way: from the last before the end to the list.
        forward.pop_back();
        forward.insert(forward.begin(), form->EditList->Name());
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(backward, forward);
        CloseAndFree();
        EXPECT_EQ(Settings().ReadInteger("RENAME", c.Key, -1), c.Stored);
    }
}

TEST_F(RenameWindowTest, ANameEditRefusesCharactersANameMayNotHold)
{
    OpenWithRegions();
    form->RenamePage->SetActiveTabIndex(0);
    form->rEd1->SetText("");
    form->rEd1->SetFocus();
    for (char c : std::string("a/b:c"))
        SendMessageA(form->rEd1->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(form->rEd1->Text(), "abc");
}

TEST_F(RenameWindowTest, TheManualInputRenamesOneRegionAfterAnotherWithRealKeys)
{
    OpenWithRegions();
    form->RenamePage->SetActiveTabIndex(3);
    SelectOnly({1});
    form->FocusRegionRow(1); // as a click on it leaves it
    form->rEd5->SetFocus();
    PumpMessages();
    ASSERT_EQ(form->rEd5->Text(), "take_02");
    EXPECT_EQ(form->rEd5->SelLength(), 7);

    form->rEd5->SetText("Intro");
    EXPECT_EQ(Previews(), (Names{"", "Intro", "", ""}));
    PressKey(form->rEd5->Handle(), VK_RETURN);
    EXPECT_EQ(RegionNames(), (Names{"take_01", "Intro", "take_03", "take_04"}));
    EXPECT_TRUE(form->Document().Modified());
    EXPECT_EQ(form->FocusedRegionRow(), 2);
    EXPECT_EQ(form->rEd5->Text(), "take_03");

    form->rEd5->SetText("Intro"); // taken by item 1: nothing moves
    PressKey(form->rEd5->Handle(), VK_RETURN);
    EXPECT_EQ(Status(), "すでに同じ名前のリージョンがあります");
    EXPECT_EQ(form->FocusedRegionRow(), 2);
    EXPECT_EQ(RegionNames()[2], "take_03");

    PressKey(form->rEd5->Handle(), VK_DOWN);
    PressKey(form->rEd5->Handle(), VK_DOWN); // past the last: the first
    EXPECT_EQ(form->FocusedRegionRow(), 0);
    EXPECT_EQ(form->SelectedRegionRows(), std::vector<int>{0});
    EXPECT_EQ(form->rEd5->Text(), "take_01");
    PressKey(form->rEd5->Handle(), VK_UP);
    EXPECT_EQ(form->FocusedRegionRow(), 3);
}

TEST_F(RenameWindowTest, NamesFromTheClipboardAreNumberedAfterAYes)
{
    WriteSettings("[LOADLIST]\r\nTYPE=1\r\n");
    OpenWithRegions();
    Clipboard()->SetAsText("a.mp3\r\n  A\t\r\n\r\na\r\n");
    ScriptedModalForms modal({[](TCustomForm* shown) {
        auto* choice = dynamic_cast<TFormSelType*>(shown);
        EXPECT_NE(choice, nullptr);
        if (choice)
            choice->OkBtn->Click();
        return mrNone;
    }});
    ScriptedMessageBoxes boxes({IDYES});
    ClickMenuItem(form, form->actFileLoadListFromClp);
    EXPECT_EQ(RegionNames(), (Names{"a", "A[1]", "a[2]", "take_04"}));
    EXPECT_EQ(RecordNames(), RegionNames());
    EXPECT_TRUE(form->Document().Modified());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Caption, "文字列の重複");
}

TEST_F(RenameWindowTest, TheShortcutLoadsClipboardNamesOntoTheSelectedRegions)
{
    WriteSettings("[LOADLIST]\r\nTYPE=3\r\n");
    OpenWithRegions();
    SelectOnly({1, 3});
    Clipboard()->SetAsText("Intro.wav\r\nOutro\r\nSurplus\r\n");
    ScriptedModalForms modal({[](TCustomForm* shown) {
        static_cast<TFormSelType*>(shown)->OkBtn->Click();
        return mrNone;
    }});
    form->FocusBtn->SetFocus();
    PressKey(form->FocusBtn->Handle(), 'V', ssCtrl | ssShift);
    EXPECT_EQ(RegionNames(), (Names{"take_01", "Intro", "take_03", "Outro"}));
    EXPECT_EQ(modal.Shown().size(), 1u);
}

TEST_F(RenameWindowTest, ANoToTheNumberingQuestionChangesNoName)
{
    WriteSettings("[LOADLIST]\r\nTYPE=1\r\n");
    OpenWithRegions();
    ScriptedModalForms modal({[](TCustomForm* shown) {
        static_cast<TFormSelType*>(shown)->OkBtn->Click();
        return mrNone;
    }});
    ScriptedMessageBoxes boxes({IDNO});
    TStringList lines;
    lines.SetText("x\r\nX\r\n");
    form->LoadRenameLines(lines);
    EXPECT_EQ(RegionNames(), (Names{"take_01", "take_02", "take_03", "take_04"}));
    EXPECT_EQ(Status(), "リネーム文字列の読み込みを中止しました");
    EXPECT_FALSE(form->Document().Modified());
}

} // namespace
