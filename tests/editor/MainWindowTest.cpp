// The main window's lifecycle: what it is made of, the first start, the
// close question and the command-line argument.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "audio/DirectWavEngine.h"
#include "audio/ThdTimer.h"
#include "classlib/FilePaths.h"
#include "classlib/Screen.h"
#include "dialogs/ql_preference.h"
#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/TestWait.h"

#include <atomic>
#include <string>
#include <thread>

using namespace testing_support;

TEST(CommandLineArgument, ChosenByExtensionIgnoringCase)
{
    EXPECT_EQ(CommandLineFileKind("C:\\music\\a.WAV"), TCommandLineFile::Wav);
    EXPECT_EQ(CommandLineFileKind("take.wav"), TCommandLineFile::Wav);
    EXPECT_EQ(CommandLineFileKind("C:\\lists\\list.RGL"), TCommandLineFile::RegionList);
    EXPECT_EQ(CommandLineFileKind("notes.txt"), TCommandLineFile::None);
    EXPECT_EQ(CommandLineFileKind("a.wav.txt"), TCommandLineFile::None);
    EXPECT_EQ(CommandLineFileKind("C:\\x.wav\\readme"), TCommandLineFile::None);
    EXPECT_EQ(CommandLineFileKind(""), TCommandLineFile::None);
    // "表" ends in the byte 0x5C, which is not a folder separator here.
    EXPECT_EQ(CommandLineFileKind("C:\\表.wav"), TCommandLineFile::Wav);
}

TEST(CloseQuestion, AskedOnlyWhenSomethingCanBeLost)
{
    //                 modified nocaution regions cutbars rglfile
    EXPECT_FALSE(CloseNeedsQuestion({false, false, 3, 2, true}));
    EXPECT_FALSE(CloseNeedsQuestion({true, true, 3, 2, true}));
    EXPECT_FALSE(CloseNeedsQuestion({true, false, 0, 0, false}));
    EXPECT_TRUE(CloseNeedsQuestion({true, false, 0, 1, false}));
    EXPECT_TRUE(CloseNeedsQuestion({true, false, 1, 0, false}));
    EXPECT_TRUE(CloseNeedsQuestion({true, false, 0, 0, true}));
}

// What stands outside the constructor: a second start finds the window by
// its class; the window keeps its least size, and the tools show cursors of
// their own.
TEST_F(MainWindowTest, IsFoundByItsClassAndKeepsItsLeastSizeAndCursors)
{
    Start();
    EXPECT_EQ(FindWindowA(kMainWindowClassName, nullptr), form->Handle());
    form->SetBounds(40, 40, 300, 200);
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 40, 600, 550));
    for (TCursor tool : {crCutTool, crEraseTool})
        EXPECT_NE(Screen->Cursors(tool), Screen->Cursors(crArrow)) << tool;
}

TEST_F(MainWindowTest, FirstStartWithoutSettingsFile)
{
    Start();
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 40, 620, 550));
    EXPECT_EQ(form->FOption, TOption{});
    EXPECT_TRUE(form->Stopped());
    EXPECT_TRUE(form->actToolRegion->Checked());
    EXPECT_FALSE(form->Document().Modified());
    EXPECT_FALSE(form->RenameMode());
    EXPECT_TRUE(form->actViewChase->Checked());
    EXPECT_FALSE(form->EditListStatus().Active);
    EXPECT_EQ(form->EditListStatus().StartY, -1);
    EXPECT_EQ(form->Document().CompData().Chunk, -1);
    EXPECT_EQ(form->Document().AutoRegions().Count(), 0);
    EXPECT_EQ(form->Engine()->DeviceID(), WAVE_MAPPER);
    EXPECT_EQ(form->Engine()->BufSize(), 4096u);
    EXPECT_EQ(form->Engine()->BufCount(), 4);
    EXPECT_DOUBLE_EQ(form->Engine()->Volume(), 1.0);
    EXPECT_TRUE(form->vol0->Checked());
    EXPECT_FALSE(form->Engine()->Loop());
    EXPECT_FALSE(form->actAudioLoop->Checked());
    EXPECT_EQ(form->actAudioLoop->ImageIndex(), 23);
    EXPECT_EQ(form->MarkHeight(), 14);
    EXPECT_EQ(form->InfoPanel->Height(), 20);
    EXPECT_FALSE(form->ExpPanel->Visible());
    EXPECT_TRUE(form->SkinDock2->AllowDrag());
    EXPECT_FALSE(form->ExtItem88->Checked());
    EXPECT_EQ(form->RenamePage->ActiveTabIndex(), 0);
    EXPECT_TRUE(form->rnAdd2->Checked());
    EXPECT_EQ(form->rCb1->ItemIndex(), 1);
    EXPECT_EQ(form->ShortCuts().Count, kCommandCount);
    for (int i = 0; i < kCommandCount; ++i) {
        auto* action = static_cast<TCustomAction*>(form->ActionList->Actions(i));
        EXPECT_EQ(action->ShortCut(), DefaultShortCut(CommandInfo(i))) << action->Name();
        EXPECT_EQ(form->ShortCuts().ShortCuts[i], action->ShortCut());
    }
    EXPECT_FALSE(SettingsExist()); // nothing is written before the close

    CloseAndFree();
    TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_LEFT", 0), 40);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_TOP", 0), 40);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_WIDTH", 0), 620);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_HEIGHT", 0), 550);
    EXPECT_EQ(ini.ReadInteger("FORM", "COLUMN0_WIDTH", 0), 120);
    EXPECT_EQ(ini.ReadInteger("FORM", "MASTERPANEL_HEIGHT", 0), 215);
    EXPECT_EQ(ini.ReadInteger("FORM", "EXPPANEL_WIDTH", 0), 216);
    EXPECT_EQ(ini.ReadInteger("FORM", "SUBWINDOW_NUM", -1), 0);
    EXPECT_EQ(ini.ReadInteger("FORM", "BARFIX", -1), 1);
    EXPECT_EQ(ini.ReadInteger("AUDIO", "MASTERVOL", -1), 0);
    EXPECT_EQ(ini.ReadInteger("AUDIO", "LOOP", -1), 0);
    EXPECT_EQ(ini.ReadString("AUDIO", "OUTDEVICE", ""), "WAVE_MAPPER");
    EXPECT_EQ(ini.ReadInteger("RECENT", "COUNT", -1), 0);
    EXPECT_EQ(ini.ReadInteger("RENAME", "ADD_CHECK", -1), 2);
    EXPECT_EQ(ini.ReadInteger("SHORTCUT", "actAudioPlay_KEY", -1), VK_SPACE);
    EXPECT_EQ(ReadOption(ini.Content()), TOption{});
}

// The first show leaves the waveform's drop target, the output device's
// lookup and the explorer tree's drives until the window is on the screen (a
// message it posts), and reads the last two on threads of their own; a
// command that comes before finds them done all the same.
class StartRestTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Seams().WaveOutDevices = [this] {
            const int reading = ++readsAtOnce;
            if (reading > mostReadsAtOnce)
                mostReadsAtOnce = reading;
            if (listLate)
                listGo.WaitWithoutPumping();
            --readsAtOnce;
            ++deviceReads;
            return std::vector<AnsiString>{"Null Out A", "Null Out B"};
        };
        WriteSettings("[AUDIO]\r\nOUTDEVICE=Null Out A\r\n");
        ASSERT_TRUE(CreateDir(folder / "songs"));
        wav = WriteHalfSilentWav(folder, "songs\\take.wav", 800, 8000);
    }
    void TearDown() override
    {
        listGo.Set();
        if (letGo.joinable())
            letGo.join();
        MainWindowTest::TearDown();
    }
    // Shows the window without handling a message: the rest of the start
    // still waits in the queue.
    void ShowOnly()
    {
        form = new TFormVusk(nullptr);
        form->SetSettingsPath(iniPath);
        form->Show();
    }
    // Shows the window with the device list slow to read: the lookup after
    // the show waits until LetTheListGoSoon.
    void ShowWithTheListLate()
    {
        listLate = true;
        ShowOnly();
        ASSERT_TRUE(PumpUntil([this] { return form->DropFileTarget1->TargetActive(); }));
        PumpMessages();
        ASSERT_FALSE(form->StartFinished());
    }
    // A moment from now, from another thread: the window's may be waiting
    // for the list.
    void LetTheListGoSoon()
    {
        letGo = std::thread([this] {
            Sleep(200);
            listGo.Set();
        });
    }
    std::atomic<int> deviceReads{0};
    std::atomic<int> readsAtOnce{0}, mostReadsAtOnce{0};
    bool listLate = false;
    TestSignal listGo;
    std::thread letGo;
    std::string wav;
};

TEST_F(StartRestTest, TheRestComesOnceAfterTheShowAndTheHiddenTreeStaysWithoutAWindow)
{
    ShowOnly();
    EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
    EXPECT_FALSE(form->DropFileTarget1->TargetActive());
    EXPECT_EQ(deviceReads, 0);
    EXPECT_EQ(form->Engine()->DeviceID(), WAVE_MAPPER);
    EXPECT_EQ(form->ShellTreeView1->Items()->RootCount(), 0);
    ASSERT_TRUE(PumpUntil([this] { return form->StartFinished(); }));
    EXPECT_TRUE(form->DropFileTarget1->TargetActive());
    EXPECT_EQ(RegisterDragDrop(form->WavePanel->WindowHandle(), form->DropFileTarget1),
              DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(deviceReads, 1);
    EXPECT_EQ(form->Engine()->DeviceID(), 0u);
    EXPECT_GT(form->ShellTreeView1->Items()->RootCount(), 0);
    EXPECT_FALSE(form->ShellTreeView1->HandleAllocated());
    // The panes' windows wait for their first show.
    EXPECT_FALSE(form->RenamePage->HandleAllocated());
    EXPECT_FALSE(form->rEd1->HandleAllocated());
    PumpMessages();
    EXPECT_EQ(deviceReads, 1);
}

TEST_F(StartRestTest, CommandsBeforeTheRestFindTheDeviceAndTheDrives)
{
    ShowOnly();
    form->actViewExp->Execute();
    ASSERT_TRUE(form->ShellTreeView1->HandleAllocated());
    EXPECT_GT(form->ShellTreeView1->Items()->RootCount(), 0);
    ASSERT_TRUE(form->ShellTreeView1->SelectPath(ExtractFilePath(wav.c_str())));
    EXPECT_EQ(form->ShellTreeView1->SelectedPath(), folder / "songs");

    LoadTestDocument(*form, wav);
    form->SetActiveControl(form->FocusBtn);
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_EQ(form->Engine()->DeviceID(), 0u);
    EXPECT_EQ(deviceReads, 1);
    form->Engine()->Stop();
    const int roots = form->ShellTreeView1->Items()->RootCount();
    PumpMessages();
    EXPECT_EQ(deviceReads, 1);
    EXPECT_EQ(form->ShellTreeView1->Items()->RootCount(), roots);
    EXPECT_EQ(form->ShellTreeView1->SelectedPath(), folder / "songs");
}

TEST_F(StartRestTest, APlayBeforeTheDeviceIsLookedUpWaitsForItAndPlaysOnIt)
{
    ShowWithTheListLate();
    LoadTestDocument(*form, wav);
    FocusWave();
    LetTheListGoSoon();
    RealKeyPress(VK_SPACE);
    std::uint32_t playedOn = WAVE_MAPPER;
    ASSERT_TRUE(PumpUntil([&] {
        playedOn = form->Engine()->DeviceID();
        return !form->Stopped();
    }));
    EXPECT_EQ(playedOn, 0u);
    ASSERT_TRUE(PumpUntil([this] { return form->StartFinished(); }));
    EXPECT_EQ(form->Engine()->DeviceID(), 0u);
    EXPECT_EQ(deviceReads, 1);
    form->Engine()->Stop();
}

TEST_F(StartRestTest, ThePreferencesBeforeTheDeviceIsLookedUpOpenAfterTheLookupAndWin)
{
    ShowWithTheListLate();
    FocusWave();
    ScriptedModalForms modal;
    modal.Add([](TCustomForm* shown) -> TModalResult {
        auto* window = dynamic_cast<TForm6*>(shown);
        if (!window || window->DeviceCombo->Items()->Count() != 3)
            return mrCancel;
        window->DeviceCombo->SetItemIndex(2);
        window->AudioChoiceChange(window->DeviceCombo);
        window->OkBtn->Click();
        return window->ModalResult();
    });
    LetTheListGoSoon();
    RealKeyPress('P', ssCtrl);
    ASSERT_TRUE(PumpUntil([&] { return modal.Shown().size() == 1; }));
    ASSERT_TRUE(PumpUntil([this] { return form->StartFinished(); }));
    // The lookup's, the window's list, the chosen device's; one after another.
    EXPECT_EQ(deviceReads, 3);
    EXPECT_EQ(mostReadsAtOnce, 1);
    EXPECT_EQ(form->FOption.OutDevice, "Null Out B");
    EXPECT_EQ(form->Engine()->DeviceID(), 1u);
}

// The window goes while it waits for the device list: it waits for the
// read to end, and what comes of it reaches nothing.
TEST_F(StartRestTest, AWindowFreedBeforeTheLookupEndedTakesNothingFromIt)
{
    ShowWithTheListLate();
    LetTheListGoSoon();
    FreeAndNil(form);
    EXPECT_EQ(deviceReads, 1);
    PumpMessages();
}

class CloseQuestionTest : public MainWindowTest
{
protected:
    // A window with a file open and a cut bar the region list never saved.
    void StartWithUnsavedCutBar()
    {
        StartWithWav("take.wav", 8000, 8000);
        form->AddCutBar(1000);
    }
    // The save command, its dialog answered with path.
    void SaveAs(const AnsiString& path)
    {
        AnswerFileDialogs({path});
        form->actFileSave->Execute();
        ASSERT_EQ(form->Document().RglPath(), path);
    }
    // Changed again after the save, and then every cut bar cleared (which
    // leaves the changed flag): the list holds nothing.
    void EmptyTheChangedList()
    {
        form->AddCutBar(2000);
        form->actRegionCutClear->Execute();
        ASSERT_EQ(form->Document().CutBarCount(), 0);
        ASSERT_TRUE(form->Document().Modified());
    }
};

TEST_F(CloseQuestionTest, AskedAfterCutBarsWereAddedAndNoKeepsEverything)
{
    StartWithUnsavedCutBar();
    {
        ScriptedMessageBoxes boxes({IDNO});
        form->Close();
        PumpMessages();
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text,
                  "リージョンリストに変更があります\rこのまま閉じてもよろしいですか？");
        EXPECT_EQ(boxes.Shown()[0].Caption, "警告");
        EXPECT_EQ(boxes.Shown()[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(SettingsExist());
    EXPECT_EQ(form->Document().CutBarCount(), 1);
    EXPECT_TRUE(form->Document().Modified());

    ScriptedMessageBoxes boxes({IDYES});
    form->Close();
    PumpMessages();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(SettingsExist());
    EXPECT_EQ(form->Document().CutBarCount(), 0); // the document was closed
}

TEST_F(CloseQuestionTest, NotAskedWhenNothingChanged)
{
    Start();
    form->Close(); // an unexpected question would fail the test
    PumpMessages();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(SettingsExist());
}

TEST_F(CloseQuestionTest, NeverAskedWithNoCaution)
{
    WriteSettings("[SAVE]\r\nNOCAUTION=1\r\n");
    StartWithUnsavedCutBar();
    form->Close();
    PumpMessages();
    EXPECT_FALSE(form->Visible());
}

TEST_F(CloseQuestionTest, NotAskedWhenTheChangedListHoldsNothing)
{
    StartWithUnsavedCutBar();
    SaveAs(folder / "never-saved.rgl");
    ASSERT_TRUE(DeleteFile(folder / "never-saved.rgl"));
    EmptyTheChangedList();
    form->Close();
    PumpMessages();
    EXPECT_FALSE(form->Visible());
}

TEST_F(CloseQuestionTest, AskedWhenTheListWasSavedBefore)
{
    StartWithUnsavedCutBar();
    SaveAs(folder / "saved.rgl");
    EmptyTheChangedList();
    ScriptedMessageBoxes boxes({IDYES});
    form->Close();
    PumpMessages();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_FALSE(form->Visible());
}

TEST_F(CloseQuestionTest, RefusedWithoutQuestionWhileBusy)
{
    StartWithUnsavedCutBar();
    TBusyScope busy(form->Document());
    form->Close();
    PumpMessages();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(SettingsExist());
}
