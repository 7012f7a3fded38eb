// The preferences window on its own: made as its opener makes it, driven
// through its controls and handlers without a modal loop.
#include "dialogs/ql_preference.h"

#include "editor/CommandShortCuts.h"

#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class PreferenceWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Seams().WaveOutDevices = [] { return std::vector<AnsiString>{"Null A", "Null B"}; };
    }
    void TearDown() override
    {
        FreeAndNil(window);
        PumpMessages();
    }
    TForm6* Make(const TOption& option = TOption{})
    {
        window = new TForm6(nullptr, option);
        window->Show();
        PumpMessages();
        return window;
    }
    // The table as the opener fills it: every command with its default.
    void ListCommands()
    {
        std::vector<TShortCutRecord> table;
        std::vector<TShortCut> defaults = DefaultShortCuts();
        for (int i = 0; i < kCommandCount; ++i)
            table.push_back({i == 0 ? "開く(&O)..." : CommandInfo(i).Name, defaults[i], -1});
        window->SetShortCutTable(std::move(table), nullptr);
    }
    void SelectCommand(const char* name)
    {
        window->ShortCutList->Items()->Item(CommandIndexOf(name))->SetSelected(true);
        PumpMessages();
    }
    void Choose(int shiftIndex, WORD key)
    {
        window->ShiftCombo->SetItemIndex(shiftIndex);
        window->KeyCombo->SetItemIndex(KeyChoiceOf(key));
        window->ChangeBtn->Click();
    }
    TShortCut TableShortCut(const char* name) const
    {
        return window->FShortCutTable[CommandIndexOf(name)].ShortCut;
    }
    AnsiString ListedShortCut(const char* name) const
    {
        return window->ShortCutList->Items()->Item(CommandIndexOf(name))->SubItems()->Strings(0);
    }
    // Presses the mouse on a swatch, with the colour dialog answering color.
    void PickColor(TShape* swatch, TColor color)
    {
        Seams().ColorDialog = [color](TColorDialogRequest& request) {
            request.Color = color;
            return true;
        };
        ClickAt(swatch->Parent()->Handle(), swatch->Left() + 2, swatch->Top() + 2);
    }

    TForm6* window = nullptr;
};

} // namespace

TEST_F(PreferenceWindowTest, TheAudioChoicesStartFromTheSettings)
{
    struct
    {
        const char* OutDevice;
        int BufSize, BufCount;
        int DeviceItem;
        const char* SizeText;
        const char* CountText;
    } const cases[] = {
        {"WAVE_MAPPER", 4096, 4, 0, "4096", "4"},
        {"Null B", 1024, 8, 2, "1024", "8"},
        {"Gone", 1000, 9, 0, "4096", "4"}, // values not offered keep the defaults
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.OutDevice);
        TOption option;
        option.OutDevice = c.OutDevice;
        option.BufSize = c.BufSize;
        option.BufCount = static_cast<std::uint16_t>(c.BufCount);
        Make(option);
        ASSERT_EQ(window->DeviceCombo->Items()->Count(), 3);
        EXPECT_EQ(window->DeviceCombo->Items()->Strings(0), "コントロールパネルの設定");
        EXPECT_EQ(window->DeviceCombo->ItemIndex(), c.DeviceItem);
        EXPECT_EQ(window->BufSizeCombo->Items()->Strings(window->BufSizeCombo->ItemIndex()),
                  c.SizeText);
        EXPECT_EQ(window->BufCountCombo->Items()->Strings(window->BufCountCombo->ItemIndex()),
                  c.CountText);
        EXPECT_FALSE(window->FGeneralChanged || window->FColorsChanged ||
                     window->FShortCutsChanged || window->FOkResult);
        FreeAndNil(window);
    }
}

TEST_F(PreferenceWindowTest, AColourAnotherSwatchHasIsRefusedAndAFreshOneTaken)
{
    Make();
    const TSwatchColors before = window->SwatchColors();
    {
        ScriptedMessageBoxes boxes({IDOK});
        PickColor(window->sp1, before[1]); // WAVE takes BACK's colour
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text, "同じカラーを複数使用することはできません");
    }
    EXPECT_EQ(window->SwatchColors(), before);
    EXPECT_FALSE(window->FColorsChanged);

    PickColor(window->sp1, 0x123456);
    EXPECT_EQ(window->sp1->Brush()->Color(), 0x123456);
    EXPECT_TRUE(window->FColorsChanged);
}

TEST_F(PreferenceWindowTest, APresetColoursEverySwatch)
{
    Make();
    window->PresetCombo->SetItemIndex(4);
    window->PresetComboChange(window->PresetCombo);
    EXPECT_EQ(window->SwatchColors(), ColorPreset(4).Colors);
    EXPECT_EQ(window->sp11->Brush()->Color(), 0x408000);
    EXPECT_TRUE(window->FColorsChanged);
}

TEST_F(PreferenceWindowTest, TheShortCutListShowsTheTable)
{
    Make();
    ListCommands();
    ASSERT_EQ(window->ShortCutList->Items()->Count(), kCommandCount);
    EXPECT_EQ(window->ShortCutList->Items()->Item(0)->Caption(), "開く...");
    EXPECT_EQ(ListedShortCut("actFileOpen"), "Ctrl+O");
    EXPECT_EQ(ListedShortCut("actFileAddFilelist"), "");
    SelectCommand("actRegionRew");
    EXPECT_EQ(window->ShiftCombo->ItemIndex(), 4); // Shift + Ctrl
    EXPECT_EQ(window->KeyCombo->Items()->Strings(window->KeyCombo->ItemIndex()), "←");
    SelectCommand("actAudioGotoZero");
    EXPECT_EQ(window->ShiftCombo->ItemIndex(), 0);
    EXPECT_EQ(window->KeyCombo->Items()->Strings(window->KeyCombo->ItemIndex()), "テンキー : .");
}

TEST_F(PreferenceWindowTest, ADuplicateIsAskedAboutAndMovesOnlyOnYes)
{
    Make();
    ListCommands();
    SelectCommand("actFileClose");
    {
        ScriptedMessageBoxes boxes({IDNO});
        Choose(2, 'O');
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text,
                  "このキーは『 開く(&O)... 』で使われています  \r置き換えますか？");
        EXPECT_EQ(boxes.Shown()[0].Caption, "ショートカットの重複");
        EXPECT_EQ(boxes.Shown()[0].Flags, UINT(MB_YESNO | MB_ICONWARNING));
    }
    EXPECT_EQ(TableShortCut("actFileOpen"), scCtrl | 'O');
    EXPECT_EQ(TableShortCut("actFileClose"), scCtrl | 'W');
    EXPECT_FALSE(window->FShortCutsChanged);

    {
        ScriptedMessageBoxes boxes({IDYES});
        Choose(2, 'O');
    }
    EXPECT_EQ(TableShortCut("actFileOpen"), scNone);
    EXPECT_EQ(ListedShortCut("actFileOpen"), "");
    EXPECT_EQ(TableShortCut("actFileClose"), scCtrl | 'O');
    EXPECT_EQ(ListedShortCut("actFileClose"), "Ctrl+O");
    EXPECT_TRUE(window->FShortCutsChanged);
}

TEST_F(PreferenceWindowTest, PlainArrowsAndAPlainKeyForRenamePlayAreRefused)
{
    Make();
    ListCommands();
    struct
    {
        const char* Command;
        int Shift;
        WORD Key;
        const char* Message;
    } const refusals[] = {
        {"actAbout", 0, VK_LEFT, "このキーはシフト状態が『なし』では使用できません"},
        // Refused before asking, though play has Space.
        {"actAudioRenamePlay", 0, VK_SPACE,
         "このショートカットはシフト状態が『なし』では設定できません"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.Command);
        SelectCommand(r.Command);
        TShortCut before = TableShortCut(r.Command);
        ScriptedMessageBoxes boxes({IDOK});
        Choose(r.Shift, r.Key);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text, r.Message);
        EXPECT_EQ(boxes.Shown()[0].Caption, "単独キーの禁止");
        EXPECT_EQ(TableShortCut(r.Command), before);
    }
    EXPECT_EQ(TableShortCut("actAudioPlay"), VK_SPACE);
    EXPECT_FALSE(window->FShortCutsChanged);

    SelectCommand("actAbout");
    Choose(3, VK_LEFT); // Alt+Left is free
    EXPECT_EQ(TableShortCut("actAbout"), scAlt | VK_LEFT);
    SelectCommand("actAbout");
    window->DeleteBtn->Click();
    EXPECT_EQ(TableShortCut("actAbout"), scNone);
    EXPECT_EQ(window->KeyCombo->ItemIndex(), 0);
}

TEST_F(PreferenceWindowTest, ResetActsOnTheVisiblePageOnly)
{
    for (TPreferencePage page :
         {TPreferencePage::General, TPreferencePage::Display, TPreferencePage::ShortCuts}) {
        SCOPED_TRACE(static_cast<int>(page));
        TOption option;
        option.BufSize = 1024;
        Make(option);
        ListCommands();
        // Something off its default on every page.
        window->chk1->SetChecked(false);
        window->ZeroSpin->SetValue(100);
        window->PresetCombo->SetItemIndex(2);
        window->PresetComboChange(window->PresetCombo);
        window->StripeChk->SetChecked(true);
        window->MarkSizeCombo->SetItemIndex(3);
        SelectCommand("actAbout");
        Choose(0, VK_F3);
        window->FColorsChanged = window->FShortCutsChanged = false;

        window->PageControl1->SetActivePageIndex(static_cast<int>(page));
        window->InitializeBtn->Click();

        bool general = page == TPreferencePage::General;
        bool display = page == TPreferencePage::Display;
        bool shortCuts = page == TPreferencePage::ShortCuts;
        EXPECT_EQ(window->chk1->Checked(), general);
        EXPECT_EQ(window->ZeroSpin->AsInteger(), general ? 256 : 100);
        EXPECT_EQ(window->ChosenBufSize(), general ? 4096 : 1024);
        EXPECT_EQ(window->FGeneralChanged, general);
        EXPECT_EQ(window->SwatchColors(), ColorPreset(display ? 0 : 2).Colors);
        EXPECT_EQ(window->StripeChk->Checked(), !display);
        EXPECT_EQ(window->MarkSizeCombo->ItemIndex(), display ? 0 : 3);
        EXPECT_EQ(window->FColorsChanged, display);
        EXPECT_EQ(TableShortCut("actAbout"), shortCuts ? scNone : VK_F3);
        EXPECT_EQ(ListedShortCut("actAbout"), shortCuts ? "" : "F3");
        EXPECT_EQ(window->FShortCutsChanged, shortCuts);
        FreeAndNil(window);
    }
}
