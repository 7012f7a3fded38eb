// Shortcuts in the running window: withdrawn while a rename edit has the
// focus, back when it leaves, and written as assigned meanwhile.
#include "MainWindowFixture.h"

#include "support/TestSeams.h"

using namespace testing_support;

namespace {

class ShortCutWindowTest : public MainWindowTest
{
protected:
    void StartWithRenamePane()
    {
        Start();
        form->actViewRenExecute(form->actViewRen);
        ASSERT_TRUE(ActivateForm(form));
        form->RenamePage->SetActiveTabIndex(0);
        PumpMessages();
    }
};

} // namespace

TEST_F(ShortCutWindowTest, ARenameEditTakesThePlainKeysWhileItHasTheFocus)
{
    StartWithRenamePane();
    int plays = 0, saves = 0;
    form->SetCaption("tone.wav"); // play is enabled while a file is open
    form->Document().AddLoadedCutBars(
        {"000000001000"}); // and saving while there is something to save
    form->actAudioPlay->OnExecute = [&](TObject*) { ++plays; };
    form->actFileSave->OnExecute = [&](TObject*) { ++saves; };

    form->rEd1->SetFocus();
    PumpMessages();
    ASSERT_EQ(FocusedWindow(), form->rEd1->Handle());
    EXPECT_EQ(form->actAudioPlay->ShortCut(), scNone);
    EXPECT_EQ(form->actAudioPlay->Tag(), 999);
    EXPECT_EQ(form->actRegionAdd->ShortCut(), scNone);
    EXPECT_EQ(form->actHelp->ShortCut(), scNone);
    EXPECT_EQ(form->actRegionEndShort->ShortCut(), scNone);   // Shift+Left
    EXPECT_EQ(form->actRegionStartShort->ShortCut(), scNone); // Ctrl+Right
    EXPECT_EQ(form->actFileSave->ShortCut(), scCtrl | 'S');
    EXPECT_EQ(form->actAudioRenamePlay->ShortCut(), scCtrl | VK_SPACE);
    EXPECT_EQ(form->actTab->ShortCut(), VK_TAB); // the fixed list is left alone

    PressKey(form->rEd1->Handle(), VK_SPACE);
    EXPECT_EQ(plays, 0);
    PressKey(form->rEd1->Handle(), 'S', ssCtrl);
    EXPECT_EQ(saves, 1);

    // Saving meanwhile writes the assignment, not the withdrawn keys.
    ASSERT_TRUE(form->SaveSettings(iniPath));
    EXPECT_EQ(Settings().ReadInteger("SHORTCUT", "actAudioPlay_KEY", -1), VK_SPACE);

    form->FocusBtn->SetFocus();
    PumpMessages();
    EXPECT_EQ(form->actAudioPlay->ShortCut(), VK_SPACE);
    EXPECT_EQ(form->actAudioPlay->Tag(), 0);
    EXPECT_EQ(form->actRegionEndShort->ShortCut(), scShift | VK_LEFT);
    PressKey(form->FocusBtn->Handle(), VK_SPACE);
    EXPECT_EQ(plays, 1);
}

TEST_F(ShortCutWindowTest, MovingBetweenRenameEditsKeepsThemWithdrawn)
{
    StartWithRenamePane();
    form->rEd1->SetFocus();
    PumpMessages();
    form->rSp1->SetFocus();
    PumpMessages();
    EXPECT_EQ(form->actAudioPlay->ShortCut(), scNone);
    form->FocusBtn->SetFocus();
    PumpMessages();
    EXPECT_EQ(form->actAudioPlay->ShortCut(), VK_SPACE);
}

TEST_F(MainWindowTest, AnActionMarkedNeverWithdrawnKeepsItsShortCut)
{
    Start();
    form->actAudioStop->SetTag(-1);
    form->SuspendShortCuts(false);
    EXPECT_EQ(form->actAudioStop->ShortCut(), VK_NUMPAD0);
    EXPECT_EQ(form->actAudioGotoZero->ShortCut(), scNone);
    form->SuspendShortCuts(true);
    EXPECT_EQ(form->actAudioGotoZero->ShortCut(), VK_DECIMAL);
    EXPECT_EQ(form->actAudioStop->Tag(), 0);
}

TEST_F(MainWindowTest, EveryCommandIsWrittenToTheShortCutSection)
{
    StartWithSettings("[SHORTCUT]\r\nactRegionNoChange_SHIFT=5\r\nactRegionNoChange_KEY=78\r\n");
    EXPECT_EQ(form->actRegionNoChange->ShortCut(), scShift | scAlt | 'N');
    CloseAndFree();
    TIniFile ini = Settings();
    for (int i = 0; i < kCommandCount; ++i) {
        AnsiString name = CommandInfo(i).Name;
        EXPECT_TRUE(ini.ValueExists("SHORTCUT", name + "_KEY")) << name;
        EXPECT_TRUE(ini.ValueExists("SHORTCUT", name + "_SHIFT")) << name;
    }
    EXPECT_EQ(ini.ReadInteger("SHORTCUT", "actRegionNoChange_SHIFT", -1), 5);
    EXPECT_EQ(ini.ReadInteger("SHORTCUT", "actFileSaveAs_SHIFT", -1), 4);
    EXPECT_EQ(ini.ReadInteger("SHORTCUT", "actFileSaveAs_KEY", -1), 'S');
}
