#include "dialogs/ql_rip.h"

#include "support/CDStandIn.h"
#include "support/CdaBytes.h"
#include "support/TempFolder.h"
#include "support/TestSeams.h"
#include "support/WavBytes.h"
#include "support/WavFile.h"
#include "support/WindowDriver.h"

#include "audio/CDRip.h"
#include "audio/PipeCDROM.h"
#include "audio/PipeWave.h"
#include "audio/ThdTimer.h"

#include "classlib/FilePaths.h"
#include "classlib/Seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace testing_support;

namespace {

constexpr std::int64_t kTrackMs = 60000;

// A preview player that plays nothing: each track lasts a minute, and the
// position is what the test says.
struct FakePlayerState
{
    TPlayerMode Mode = TPlayerMode::NotOpen;
    bool OpenResult = true;
    AnsiString Opened;
    std::int64_t Position = 0;
    int Tracks = 0;
    std::vector<std::string> Calls;
};

class FakePlayer : public TTrackPlayer
{
public:
    explicit FakePlayer(std::shared_ptr<FakePlayerState> state) : S(std::move(state)) {}
    bool Open(const AnsiString& trackFile) override
    {
        S->Opened = trackFile;
        S->Mode = S->OpenResult ? TPlayerMode::Stopped : TPlayerMode::NotOpen;
        return S->OpenResult;
    }
    void Close() override { S->Mode = TPlayerMode::NotOpen; }
    TPlayerMode Mode() override { return S->Mode; }
    std::int64_t Length() override { return S->Tracks * kTrackMs; }
    std::int64_t TrackStart(int track) override { return (track - 1) * kTrackMs; }
    std::int64_t TrackLength(int) override { return kTrackMs; }
    std::int64_t Position() override { return S->Position; }
    void Seek(std::int64_t positionMs) override
    {
        S->Calls.push_back("seek " + std::to_string(positionMs));
        S->Position = positionMs;
    }
    void Play() override { Set(TPlayerMode::Playing, "play"); }
    void Pause() override { Set(TPlayerMode::Paused, "pause"); }
    void Resume() override { Set(TPlayerMode::Playing, "resume"); }
    void Stop() override
    {
        if (S->Mode != TPlayerMode::NotOpen)
            Set(TPlayerMode::Stopped, "stop");
    }

private:
    void Set(TPlayerMode mode, const char* call)
    {
        S->Mode = mode;
        S->Calls.push_back(call);
    }
    std::shared_ptr<FakePlayerState> S;
};

AnsiString TrackName(int track)
{
    char name[16];
    std::snprintf(name, sizeof(name), "Track%02d", track);
    return name;
}

class RipWindowTest : public cd_test::CDStandInTest
{
protected:
    void SetUp() override
    {
        CDStandInTest::SetUp();
        Seams().CDDrives = [this] { return std::vector<TCDDriveInfo>{{disc.Path(), "TESTDISC"}}; };
        Seams().FileDialog = [this](TFileDialogRequest& request) {
            offeredName = request.FileName;
            request.FileName = out / request.FileName;
            return true;
        };
    }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
        CDStandInTest::TearDown();
    }

    // A disc whose tracks hold these many sectors, with its track files.
    CRTestDisc InsertDisc(const std::vector<std::uint32_t>& sectors)
    {
        std::vector<std::uint32_t> starts = {0};
        for (std::uint32_t n : sectors)
            starts.push_back(starts.back() + n);
        for (size_t i = 0; i < sectors.size(); ++i) {
            const Bytes cda =
                CdaBytes(int(i) + 1, starts[i], std::max<std::uint32_t>(sectors[i], 75));
            disc.WriteFile(TrackName(int(i) + 1) + ".cda", AnsiString(cda.begin(), cda.end()));
        }
        trackStarts = starts;
        player->Tracks = static_cast<int>(sectors.size());
        return cd_test::MakeDisc(starts);
    }
    TForm1* Open(const CRTestDisc& cd)
    {
        CDRipLoadLibrary(cd_test::ProgramFolder());
        cd_test::Configure(cd);
        form = new TForm1(nullptr, std::make_unique<FakePlayer>(player));
        form->Show();
        PumpMessages();
        return form;
    }
    // What the stand-in delivers for track (1-based), as a WAV file.
    AnsiString ExpectedFile(int track) const
    {
        const std::uint32_t sectors = trackStarts[track] - trackStarts[track - 1];
        const Bytes bytes =
            WavBuilder()
                .Pcm(2, 44100, 16, cd_test::PatternBytes(trackStarts[track - 1], sectors * 2352))
                .Bytes();
        return AnsiString(bytes.begin(), bytes.end());
    }
    // A click posted in the tick box of track index (0-based).
    void ClickTickBox(int index)
    {
        TListView* list = form->TrackList;
        // The state image stands left of the item's icon.
        const TRect icon = list->Items()->Item(index)->DisplayRect(TDisplayCode::drIcon);
        LVHITTESTINFO hit = {};
        hit.pt = {icon.left - 8, (icon.top + icon.bottom) / 2};
        ListView_HitTest(list->Handle(), &hit);
        ASSERT_EQ(hit.iItem, index);
        ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON);
        ClickAt(list->Handle(), hit.pt.x, hit.pt.y);
    }
    bool WaitForMessage(const char* text)
    {
        return PumpUntil([&] { return form->MesLabel->Caption() == text && !form->Ripping(); },
                         20000);
    }

    TempFolder disc; // the drive's root
    TempFolder out;  // where the rip writes
    std::vector<std::uint32_t> trackStarts;
    std::shared_ptr<FakePlayerState> player = std::make_shared<FakePlayerState>();
    AnsiString offeredName;
    TForm1* form = nullptr;
};

} // namespace

TEST_F(RipWindowTest, RipsTheTickedTracksIntoFilesNamedAfterThem)
{
    Open(InsertDisc({40, 41, 40, 40, 43}));
    ASSERT_EQ(form->TrackList->Items()->Count(), 5);
    EXPECT_EQ(form->DriveCombo->Items()->Strings(0),
              "TESTDISC(" + AnsiString(1, disc.Path()[0]) + ":)");
    form->TrackList->Items()->Item(1)->SetChecked(true);
    form->TrackList->Items()->Item(4)->SetChecked(true);
    form->CheckRadio->SetChecked(true);
    ClickCentre(form->RipBtn);
    EXPECT_EQ(offeredName, "2個のトラックを出力");
    EXPECT_TRUE(form->Ripping());
    EXPECT_EQ(form->CancelBtn->Caption(), "中止(&S)");

    ASSERT_TRUE(WaitForMessage("リッピングが終了しました"));
    EXPECT_EQ(form->FTrackNumbers, (std::vector<int>{2, 5}));
    EXPECT_EQ(form->FWrittenFiles,
              (std::vector<AnsiString>{out / "Track02.wav", out / "Track05.wav"}));
    EXPECT_TRUE(form->FRipped);
    EXPECT_EQ(ReadWholeFile(out / "Track02.wav"), ExpectedFile(2));
    EXPECT_EQ(ReadWholeFile(out / "Track05.wav"), ExpectedFile(5));
    EXPECT_EQ(FileNamesIn(out.Path()).size(), 2u);
    EXPECT_EQ(form->CancelBtn->Caption(), "閉じる(&C)");
    EXPECT_TRUE(form->RipBtn->Enabled());
    EXPECT_TRUE(form->SeekBar->Visible());
    EXPECT_FALSE(form->ProgressBar1->Visible());
}

// Space on the rip button rips; the button goes grey meanwhile, and once the
// rip is over the track list holds the focus, so that the keys work on.
TEST_F(RipWindowTest, ARipStartedBySpaceEndsWithTheFocusOnTheTrackList)
{
    Open(InsertDisc({40, 40}));
    ASSERT_TRUE(ActivateForm(form));
    form->TrackList->Items()->Item(0)->SetChecked(true);
    form->RipBtn->SetFocus();
    RealKeyPress(VK_SPACE);
    ASSERT_TRUE(WaitForMessage("リッピングが終了しました"));
    EXPECT_EQ(FileNamesIn(out.Path()).size(), 1u);
    EXPECT_TRUE(form->TrackList->Focused());
}

TEST_F(RipWindowTest, CancellingDuringTheSecondTrackKeepsTheFirstAndLeavesAValidShorterFile)
{
    CRTestDisc cd = InsertDisc({40, 3000, 40});
    cd.ChunkDelayMs = 20; // the long track takes about 0.8 s
    Open(cd);
    form->AllRadio->SetChecked(true);
    ClickCentre(form->RipBtn);
    ASSERT_TRUE(PumpUntil([&] { return form->WaveOut1->Tag() == 1 && form->CDIn1->Position() > 0; },
                          10000));
    form->Close();
    EXPECT_TRUE(form->Visible()) << "a rip under way keeps the window";
    ClickTickBox(0);
    EXPECT_FALSE(form->RipBtn->Enabled()) << "no second rip while one runs";
    ClickCentre(form->CancelBtn);
    ASSERT_TRUE(WaitForMessage("リッピングが中止されました"));

    EXPECT_EQ(form->FWrittenFiles, (std::vector<AnsiString>{out / "Track01.wav"}));
    EXPECT_EQ(ReadWholeFile(out / "Track01.wav"), ExpectedFile(1));
    const AnsiString partial = ReadWholeFile(out / "Track02.wav");
    ASSERT_GT(partial.size(), 44u);
    EXPECT_LT(partial.size(), ExpectedFile(2).size());
    EXPECT_EQ(LittleEndianU32(partial, 4), partial.size() - 8);
    EXPECT_EQ(LittleEndianU32(partial, 40), partial.size() - 44);
    EXPECT_EQ(partial.substr(44), ExpectedFile(2).substr(44, partial.size() - 44));
    EXPECT_FALSE(FileExists(out / "Track03.wav"));
    EXPECT_EQ(form->CancelBtn->Caption(), "閉じる(&C)");
}

TEST_F(RipWindowTest, AClickInTheListEnablesRipOnlyWithATick)
{
    Open(InsertDisc({40, 40, 40}));
    struct Case
    {
        bool All;
        int Ticked; // -1: none
        bool Enabled;
    };
    const Case cases[] = {
        {true, -1, false}, // all tracks chosen, yet no tick: the click disables
        {false, 0, true},
        {true, 2, true},
        {false, -1, false},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i)
            form->TrackList->Items()->Item(i)->SetChecked(i == c.Ticked);
        (c.All ? form->AllRadio : form->CheckRadio)->SetChecked(true);
        EXPECT_EQ(form->RipBtn->Enabled(), c.All || c.Ticked >= 0) << "after the radio button";
        const TRect label = form->TrackList->Items()->Item(1)->DisplayRect(TDisplayCode::drLabel);
        ClickAt(form->TrackList->Handle(), label.left + 20, (label.top + label.bottom) / 2);
        EXPECT_EQ(form->RipBtn->Enabled(), c.Enabled) << c.All << " " << c.Ticked;
    }
}

// The list toggles a box after it reports the click; the rip button follows
// the box all the same, each time.
TEST_F(RipWindowTest, EveryClickOnATickBoxLeavesRipEnabledExactlyWhileATrackIsTicked)
{
    Open(InsertDisc({40, 40, 40}));
    TListView* list = form->TrackList;
    const struct
    {
        int Track;
        bool Ticked;
        bool Enabled;
    } steps[] = {{1, true, true}, {2, true, true}, {1, false, true}, {2, false, false}};
    for (const auto& step : steps) {
        ClickTickBox(step.Track);
        EXPECT_EQ(list->Items()->Item(step.Track)->Checked(), step.Ticked) << step.Track;
        EXPECT_EQ(form->RipBtn->Enabled(), step.Enabled) << step.Track << " " << step.Ticked;
    }
}

TEST_F(RipWindowTest, EnterTogglesTheTicksOfTheSelectedTracks)
{
    Open(InsertDisc({40, 40, 40}));
    ASSERT_TRUE(ActivateForm(form));
    form->TrackList->SetFocus();
    form->TrackList->Items()->Item(0)->SetSelected(true);
    form->TrackList->Items()->Item(2)->SetSelected(true);
    form->TrackList->Items()->Item(2)->SetChecked(true);
    PressKey(form->TrackList->Handle(), VK_RETURN);
    EXPECT_TRUE(form->TrackList->Items()->Item(0)->Checked());
    EXPECT_FALSE(form->TrackList->Items()->Item(1)->Checked());
    EXPECT_FALSE(form->TrackList->Items()->Item(2)->Checked());
    EXPECT_TRUE(form->RipBtn->Enabled());
}

// A Tab walk round the whole window passes the "all tracks" choice without
// choosing it: no track is ticked and ripping stays off.
TEST_F(RipWindowTest, ATabWalkRoundTheWindowChangesNoChoice)
{
    Open(InsertDisc({40, 40, 40}));
    ASSERT_TRUE(ActivateForm(form));
    const auto choices = [this] {
        std::vector<bool> state = {form->CheckRadio->Checked(), form->AllRadio->Checked(),
                                   form->RipBtn->Enabled()};
        for (int i = 0; i < form->TrackList->Items()->Count(); ++i)
            state.push_back(form->TrackList->Items()->Item(i)->Checked());
        return state;
    };
    TWinControl* const start = form->ActiveControl();
    const std::vector<AnsiString> reached = WalkWithTabKeeping(form, start, 40, 0, choices);
    EXPECT_NE(std::find(reached.begin(), reached.end(), form->AllRadio->Name()), reached.end());
    EXPECT_EQ(form->ActiveControl(), start) << "the walk comes round";
}

TEST_F(RipWindowTest, PreviewWithoutASelectionPlaysTheFirstTrack)
{
    Open(InsertDisc({40, 40, 40}));
    EXPECT_EQ(player->Opened, disc / "Track01.cda");
    EXPECT_EQ(form->InfoTotalLabel->Caption(), "全 3 トラック / 合計時間 : 3:00");
    form->TrackList->ClearSelection();
    ClickCentre(form->PlayBtn);
    EXPECT_EQ(form->FPreviewTrack, 1);
    EXPECT_EQ(player->Calls, (std::vector<std::string>{"stop", "seek 0", "play"}));
    EXPECT_EQ(form->PlayBtn->Caption(), "一時停止");

    player->Position = 15400;
    form->MainTimerTimer(nullptr);
    EXPECT_EQ(form->InfoTimePanel->Caption(), "0:15 / 1:00");
    EXPECT_GT(form->SeekBtn->Left(), form->SeekBar->Left());

    ClickCentre(form->RewBtn); // before the first comes the last
    EXPECT_EQ(form->FPreviewTrack, 3);
    EXPECT_EQ(player->Position, 2 * kTrackMs);

    player->Position = 3 * kTrackMs; // the track's end
    form->MainTimerTimer(nullptr);
    EXPECT_EQ(player->Mode, TPlayerMode::Stopped);
    EXPECT_FALSE(form->MainTimer->Enabled());
    EXPECT_EQ(form->PlayBtn->Caption(), "再生");
}

TEST_F(RipWindowTest, PreviewPausesAndStopsOnlyWhatPlays)
{
    Open(InsertDisc({40, 40}));
    form->TrackList->Items()->Item(1)->SetSelected(true);
    ClickCentre(form->StopBtn);
    EXPECT_TRUE(player->Calls.empty()) << "nothing plays";
    ClickCentre(form->PlayBtn);
    EXPECT_EQ(form->FPreviewTrack, 2);
    ClickCentre(form->PlayBtn);
    EXPECT_EQ(player->Mode, TPlayerMode::Paused);
    EXPECT_FALSE(form->MainTimer->Enabled());
    ClickCentre(form->PlayBtn);
    EXPECT_EQ(player->Mode, TPlayerMode::Playing);
    ClickCentre(form->StopBtn);
    EXPECT_EQ(player->Mode, TPlayerMode::Stopped);
    EXPECT_EQ(player->Calls,
              (std::vector<std::string>{"stop", "seek 60000", "play", "pause", "resume", "stop"}));
}

TEST_F(RipWindowTest, WhatTheDriveHoldsDecidesTheList)
{
    struct Case
    {
        const char* What;
        std::int32_t MediaStatus;
        bool ExtraJunkFile;
        bool PlayerOpens;
        int Tracks;
        const char* Total;
    };
    const Case cases[] = {
        {"a disc", 0, false, true, 2, "全 2 トラック / 合計時間 : 2:00"},
        {"no disc", 1, false, true, 0, ""},
        {"a file that is no track file", 0, true, true, 2, "全 2 トラック / 合計時間 : 2:00"},
        // Without a player the total comes from the track files.
        {"no player", 0, false, false, 2, "全 2 トラック / 合計時間 : 0:02"},
    };
    for (const Case& c : cases) {
        CRTestDisc cd = InsertDisc({75, 75});
        cd.MediaStatus = c.MediaStatus;
        if (c.ExtraJunkFile)
            disc.WriteFile("Track00.cda", "not a track file at all, but long enough to be read");
        player->OpenResult = c.PlayerOpens;
        Open(cd);
        EXPECT_EQ(form->TrackList->Items()->Count(), c.Tracks) << c.What;
        EXPECT_EQ(form->InfoTotalLabel->Caption(), c.Total) << c.What;
        EXPECT_EQ(form->PlayBtn->Enabled(), c.Tracks > 0 && c.PlayerOpens) << c.What;
        EXPECT_TRUE(form->DriveCombo->Enabled()) << c.What;
        FreeAndNil(form);
        DeleteFileA((disc / "Track00.cda").c_str());
    }
}

TEST_F(RipWindowTest, NoDriveDisablesTheDriveChoice)
{
    Seams().CDDrives = [] { return std::vector<TCDDriveInfo>{}; };
    Open(InsertDisc({40}));
    EXPECT_FALSE(form->DriveCombo->Enabled());
    EXPECT_EQ(form->TrackList->Items()->Count(), 0);
    EXPECT_FALSE(form->PlayBtn->Enabled());
}

TEST_F(RipWindowTest, ADriveThatIsNotReadyEndsTheRipWithItsMessageAndNoEmptyFile)
{
    CRTestDisc cd = InsertDisc({40, 40});
    Open(cd);
    cd.MediaStatus = 1; // the disc went away after the list was read
    cd_test::Configure(cd);
    form->AllRadio->SetChecked(true);
    ScriptedMessageBoxes boxes({IDOK});
    ClickCentre(form->RipBtn);
    ASSERT_TRUE(WaitForMessage("リッピングが中止されました"));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "The drive is not ready");
    EXPECT_TRUE(FileNamesIn(out.Path()).empty());
    EXPECT_TRUE(form->FWrittenFiles.empty());
    EXPECT_FALSE(form->FRipped);
    EXPECT_EQ(form->CancelBtn->Caption(), "閉じる(&C)");
}

TEST(RipCdaFile, ReadsTheLengthOfATrackFileOnDisk)
{
    TempFolder folder;
    const Bytes cda = CdaBytes(3, 1000, 75 * 245);
    folder.WriteFile("Track03.cda", AnsiString(cda.begin(), cda.end()));
    EXPECT_EQ(GetCdaInfo(folder / "Track03.cda"), 245);
    EXPECT_EQ(GetCdaInfo(folder / "missing.cda"), -1);
}

TEST(RipSystemPlayer, ATrackFileOffADiscOpensNothing)
{
    TempFolder folder;
    const Bytes cda = CdaBytes(1, 0, 750);
    folder.WriteFile("Track01.cda", AnsiString(cda.begin(), cda.end()));
    TMciTrackPlayer player;
    for (const AnsiString& file : {folder / "Track01.cda", folder / "missing.cda"}) {
        EXPECT_FALSE(player.Open(file)) << file;
        EXPECT_EQ(player.Mode(), TPlayerMode::NotOpen);
        EXPECT_EQ(player.TrackLength(1), 0);
        player.Play(); // does nothing without a disc
        EXPECT_EQ(player.Mode(), TPlayerMode::NotOpen);
    }
}
