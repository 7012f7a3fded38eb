// The main window's rip and record commands: what they open, what they
// refuse, and what they keep of the windows' choices.
#include "editor/MainWindowFixture.h"

#include "dialogs/ql_record.h"
#include "dialogs/ql_rip.h"

#include "support/CDStandIn.h"
#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include "audio/PipeAudio.h"
#include "audio/PipeWave.h"

#include "classlib/FilePaths.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "classlib/ShortCut.h"

using namespace testing_support;

namespace {

class CaptureCommandTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        cd_test::InstallLibrary("cdrip_standin.dll");
        DeleteFileA(cd_test::IniPath().c_str());
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        cd_test::InstallLibrary("cdrip_standin.dll");
        DeleteFileA(cd_test::IniPath().c_str());
    }
};

} // namespace

TEST_F(CaptureCommandTest, RipNeedsTheLibraryBesideTheProgramFromMenuAndShortcutAlike)
{
    cd_test::RemoveLibrary();
    Start();
    ScriptedMessageBoxes boxes({IDOK, IDOK});
    form->actFileRip->Execute();
    ASSERT_TRUE(ActivateForm(form));
    PressKey(form->FocusBtn->Handle(), 'R', ssCtrl);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    for (const TMessageBoxRequest& box : boxes.Shown())
        EXPECT_EQ(box.Text, "CDリッピングには『CDRip.dll』が必要です");
}

TEST_F(CaptureCommandTest, ALibraryThatCannotBeLoadedOpensNoWindow)
{
    cd_test::InstallLibrary("cdrip_lacking.dll");
    Start();
    ScriptedMessageBoxes boxes({IDOK});
    form->actFileRip->Execute();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "cdrip.dll could not be loaded.");
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(CaptureCommandTest, RipOpensTheWindowAndKeepsTheAddToListChoice)
{
    // Each run stores the box as it was left, the next run shows it so.
    StartWithSettings("[RIP]\r\nADDRIPFILE=1\r\n");
    for (bool stored : {true, false}) {
        ScriptedModalForms modal({[&](TCustomForm* shown) {
            auto* rip = dynamic_cast<TForm1*>(shown);
            EXPECT_NE(rip, nullptr);
            if (!rip)
                return mrCancel;
            EXPECT_EQ(rip->AddRipChk->Checked(), stored);
            EXPECT_EQ(Screen->Cursor(), crDefault) << "the window shows the normal cursor";
            rip->AddRipChk->SetChecked(!stored);
            return mrCancel;
        }});
        form->actFileRip->Execute();
        EXPECT_EQ(modal.Shown(), (std::vector<AnsiString>{"TForm1"}));
        EXPECT_EQ(form->FOption.AddRipFile, !stored);
    }
}

TEST_F(CaptureCommandTest, RecordKeepsTheWindowsChoices)
{
    Seams().WaveInDevices = [] { return std::vector<AnsiString>{"In 1", "In 2"}; };
    Start();
    ScriptedModalForms modal({[](TCustomForm* shown) {
        auto* record = dynamic_cast<TForm11*>(shown);
        EXPECT_NE(record, nullptr);
        if (!record)
            return mrCancel;
        record->DeviceCombo->SetItemIndex(1);
        record->RateCombo->SetItemIndex(4);
        record->ChannelCombo->SetItemIndex(0);
        record->LimitChk->SetChecked(true);
        record->LimitSpin->SetValue(3);
        return mrCancel;
    }});
    form->actAudioRecord->Execute();
    EXPECT_EQ(modal.Shown(), (std::vector<AnsiString>{"TForm11"}));
    EXPECT_EQ(form->FOption.InDevice, "In 2");
    EXPECT_EQ(form->FOption.InRate, 22050);
    EXPECT_EQ(form->FOption.InChannel, 1);
    EXPECT_TRUE(form->FOption.Limit);
    EXPECT_EQ(form->FOption.LimitTime, 3);
}

// The system's own input: on the null device Wine lists one input or none,
// and records silence at its own pace. What was recorded opens in the editor.
TEST_F(CaptureCommandTest, RecordsFromTheSystemsInputAndOpensTheFile)
{
    const bool haveDevice = !TAudioIn::DeviceNames().empty();
    Seams().FileDialog = [this](TFileDialogRequest& request) {
        request.FileName = folder / "smoke.wav";
        return true;
    };
    Start();
    ScriptedMessageBoxes boxes(haveDevice ? std::vector<int>{IDYES, IDYES}
                                          : std::vector<int>{IDOK});
    bool recorded = false;
    ScriptedModalForms modal({[&](TCustomForm* shown) {
        auto* record = dynamic_cast<TForm11*>(shown);
        if (!record || !record->RecordBtn->Enabled())
            return mrCancel;
        record->ChannelCombo->SetItemIndex(1);
        record->RateCombo->SetItemIndex(2);
        ClickCentre(record->RecordBtn);
        PumpUntil([&] { return record->AudioIn->Position() > 0 || !record->Recording(); }, 5000);
        recorded = record->AudioIn->Position() > 0;
        if (record->Recording())
            ClickCentre(record->RecordBtn);
        PumpUntil([&] { return !record->Recording() && boxes.Shown().size() >= 2; }, 10000);
        return mrNone; // the open question closed it
    }});
    form->actAudioRecord->Execute();
    if (!haveDevice) {
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text, "録音可能なデバイスが存在しません");
        return;
    }
    ASSERT_EQ(boxes.Shown().size(), 2u);
    ASSERT_TRUE(FileExists(folder / "smoke.wav"));
    if (recorded) {
        EXPECT_TRUE(form->FileLoaded());
        EXPECT_NE(form->Caption().find("smoke.wav"), AnsiString::npos) << form->Caption();
    }
    EXPECT_EQ(form->FOption.InRate, 44100);
    EXPECT_EQ(form->FOption.InChannel, 2);
}
