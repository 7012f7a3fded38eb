// The preferences command on the running window: the window shown through
// the modal seam, changed there, and what the main window does with it.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "dialogs/ql_preference.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "classlib/Streams.h"

#include "support/ModalDriver.h"
#include "support/TestSeams.h"

#include <cstring>

using namespace testing_support;

namespace {

class PreferenceCommandTest : public MainWindowTest
{
protected:
    int CommandIndex(const char* name) const { return CommandIndexOf(name); }
    AnsiString CachePath() const { return ChangeFileExt(wavPath, ".dwd"); }
    // The silence threshold the draw cache was written with.
    std::int32_t CacheThreshold() const
    {
        TFileStream cache(CachePath(), fmOpenRead | fmShareDenyNone);
        std::uint8_t head[8] = {};
        cache.ReadBuffer(head, sizeof(head));
        std::int32_t threshold = 0;
        std::memcpy(&threshold, head + 4, sizeof(threshold));
        return threshold;
    }
    void Open()
    {
        wavPath = StartWithWav("prefs.wav", 16000, 8000);
    }

    AnsiString wavPath;
};

} // namespace

TEST_F(PreferenceCommandTest, AColourAShortCutAndTheBufferCountChangedInTheWindowAreApplied)
{
    Open();
    ChangePreferences([](TForm6& window) {
        Seams().ColorDialog = [](TColorDialogRequest& request) {
            request.Color = 0x123456;
            return true;
        };
        window.SwatchMouseDown(window.sp1, TMouseButton::mbLeft, 0, 1, 1);

        window.PageControl1->SetActivePageIndex(2);
        window.ShortCutList->Items()->Item(CommandIndexOf("actFileOpen"))->SetSelected(true);
        window.ShiftCombo->SetItemIndex(4);
        window.KeyCombo->SetItemIndex(KeyChoiceOf('K'));
        window.ChangeBtn->Click();

        window.BufCountCombo->SetItemIndex(7);
        window.AudioChoiceChange(window.BufCountCombo);
        return true;
    });
    EXPECT_EQ(form->FOption.WaveColor, 0x123456);
    EXPECT_EQ(form->actFileOpen->ShortCut(), scShift | scCtrl | 'K');
    EXPECT_EQ(form->ShortCuts().ShortCuts[CommandIndex("actFileOpen")], scShift | scCtrl | 'K');
    EXPECT_EQ(form->FOption.BufCount, 8);
    EXPECT_EQ(form->Engine()->BufCount(), 8u);
    EXPECT_EQ(form->Engine()->BufSize(), 2048u); // a mono file halves the size
    EXPECT_EQ(form->FOption.PrefPage, 2);
    // The new key runs the command; the old one no longer does.
    int opens = 0;
    form->actFileOpen->OnExecute = [&](TObject*) { ++opens; };
    PressOnWave('O', ssCtrl);
    EXPECT_EQ(opens, 0);
    PressKey(form->FocusBtn->Handle(), 'K', ssShift | ssCtrl);
    EXPECT_EQ(opens, 1);
}

TEST_F(PreferenceCommandTest, CancelKeepsEverySettingButRemembersThePage)
{
    Start();
    const TOption before = form->FOption;
    ChangePreferences([](TForm6& window) {
        window.PresetCombo->SetItemIndex(3);
        window.PresetComboChange(window.PresetCombo);
        window.chk1->SetChecked(false);
        window.PageControl1->SetActivePageIndex(1);
        return false;
    });
    TOption expected = before;
    expected.PrefPage = 1;
    EXPECT_EQ(form->FOption, expected);
}

TEST_F(PreferenceCommandTest, TheDrawDataIsRebuiltOnlyWhenTheSilenceThresholdChanged)
{
    Open();
    // The open wrote the draw cache; gone, it shows whether a rebuild runs.
    ASSERT_TRUE(DeleteFile(CachePath()));
    ChangePreferences([](TForm6& window) {
        window.chk3->SetChecked(true);
        return true;
    });
    EXPECT_TRUE(form->FOption.NoCaution);
    EXPECT_FALSE(FileExists(CachePath())); // nothing was built

    ChangeSilenceThreshold(100);
    EXPECT_EQ(form->FOption.ZeroLevel, 100);
    ASSERT_TRUE(FileExists(CachePath()));
    EXPECT_EQ(CacheThreshold(), 100);
    EXPECT_TRUE(form->FileLoaded());
}

TEST_F(PreferenceCommandTest, ShortCutsWithdrawnByARenameEditAreListedAndKeptAsAssigned)
{
    Start();
    form->actViewRenExecute(form->actViewRen);
    ASSERT_TRUE(ActivateForm(form));
    form->rEd1->SetFocus();
    PumpMessages();
    ASSERT_EQ(form->actAudioPlay->ShortCut(), scNone);
    ChangePreferences([](TForm6& window) {
        const int play = CommandIndexOf("actAudioPlay");
        EXPECT_EQ(window.FShortCutTable[play].ShortCut, VK_SPACE);
        EXPECT_EQ(window.ShortCutList->Items()->Item(play)->SubItems()->Strings(0), "Space");
        window.ShortCutList->Items()->Item(CommandIndexOf("actAbout"))->SetSelected(true);
        window.ShiftCombo->SetItemIndex(0);
        window.KeyCombo->SetItemIndex(KeyChoiceOf(VK_F3));
        window.ChangeBtn->Click();
        return true;
    });
    const int play = CommandIndex("actAudioPlay");
    EXPECT_EQ(form->ShortCuts().ShortCuts[play], VK_SPACE);
    // Still typing: the plain keys stay with the edit, the new one too.
    EXPECT_EQ(form->ActiveControl(), form->rEd1);
    EXPECT_EQ(form->actAudioPlay->ShortCut(), scNone);
    EXPECT_EQ(form->actAbout->ShortCut(), scNone);
    form->FocusBtn->SetFocus();
    PumpMessages();
    EXPECT_EQ(form->actAudioPlay->ShortCut(), VK_SPACE);
    EXPECT_EQ(form->actAbout->ShortCut(), VK_F3);
}

TEST_F(PreferenceCommandTest, CtrlPAndTheMenuItemOpenTheWindow)
{
    Start();
    FocusWave();
    ScriptedModalForms modal;
    modal.Add(mrCancel);
    modal.Add(mrCancel);
    PressKey(form->FocusBtn->Handle(), 'P', ssCtrl);
    ASSERT_EQ(modal.Shown().size(), 1u);
    EXPECT_EQ(modal.Shown()[0], "TForm6");
    TBarCustomItem* item = MenuItemOf(form->FileMenu, form->actFilePreference);
    ASSERT_NE(item, nullptr);
    item->Click();
    EXPECT_EQ(modal.Shown().size(), 2u);
    EXPECT_EQ(Form6, nullptr);
}
