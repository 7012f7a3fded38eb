// Transport in the running window against the real engine on the null
// device (which plays faster than real time): play from the cursor, a
// selection, a cut bar and the region being named; loop; stop; the end of
// playback reaching the window only through the main thread; the cursor and
// the view following the position; next and back; the cursor moves; the
// status message; and the recent-file menu.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "audio/DirectWavEngine.h"
#include "audio/ThdTimer.h"
#include "classlib/FileNames.h"
#include "classlib/TextUtils.h"
#include "dialogs/ql_filelist.h"
#include "support/TestWait.h"
#include "support/WindowDriver.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrameBytes = 2; // mono, 16 bits
constexpr DWORD kPlayLimitMs = 15000;

// The chunks the engine hands to the device: byte offset and length.
class ChunkLog
{
public:
    explicit ChunkLog(TDirectWavEngine& engine) : FEngine(engine)
    {
        engine.SetChunkHook(
            [this](std::int64_t position, const std::uint8_t*, std::uint32_t length) {
                std::lock_guard<std::mutex> lock(FLock);
                FChunks.emplace_back(position, length);
            });
    }
    // The playback thread keeps the hook until the next play: none may run
    // once the log is gone.
    ~ChunkLog()
    {
        FEngine.Stop();
        FEngine.SetChunkHook({});
    }
    std::vector<std::pair<std::int64_t, std::uint32_t>> Chunks() const
    {
        std::lock_guard<std::mutex> lock(FLock);
        return FChunks;
    }
    // Chunks that begin at a frame.
    int StartsAt(std::int32_t frame) const
    {
        int count = 0;
        for (const auto& chunk : Chunks())
            count += chunk.first == frame * kFrameBytes;
        return count;
    }

private:
    TDirectWavEngine& FEngine; // not owned
    mutable std::mutex FLock;
    std::vector<std::pair<std::int64_t, std::uint32_t>> FChunks;
};

class TransportWindowTest : public MainWindowTest
{
protected:
    void Open(int frames)
    {
        StartWithWav("transport.wav", frames, kRate);
        form->SetActiveControl(form->FocusBtn);
    }
    void Select(std::int32_t start, std::int32_t end)
    {
        form->Document().Select({start, end});
        form->DrawWave(form->Document().View().ViewStart);
    }
    bool WaitStopped()
    {
        return PumpUntil([this] { return form->Stopped(); }, kPlayLimitMs);
    }
    bool Playing() const
    {
        return !form->Stopped() && form->Engine()->IsPlaying() && form->MainTimer->Enabled() &&
               !form->BrinkTimer->Enabled();
    }
    bool StoppedState() const
    {
        return form->Stopped() && !form->Engine()->IsPlaying() && !form->MainTimer->Enabled() &&
               form->BrinkTimer->Enabled();
    }
    TColor CursorPixel(int x)
    {
        return form->WaveImage->Picture()->Canvas()->Pixel(x, form->MarkHeight() + 1);
    }
    void AddCutBar(const char* entry)
    {
        form->Document().AddLoadedCutBars({entry});
        form->Document().SortCutBars();
    }
};

} // namespace

// --- Play and stop -------------------------------------------------------------------------

TEST_F(TransportWindowTest, PlayFromTheCursorRunsToTheEndAndStops)
{
    Open(16000);
    ChunkLog log(*form->Engine());
    form->SetPlayPosition(4000);
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(form->Document().PlayStart(), 4000);
    ASSERT_TRUE(WaitStopped());
    EXPECT_TRUE(StoppedState());
    const auto chunks = log.Chunks();
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks.front().first, 4000 * kFrameBytes);
    EXPECT_EQ(chunks.back().first + chunks.back().second, 16000 * kFrameBytes);
    EXPECT_GT(form->Document().View().PlayPos, 4000); // the position timer followed
    EXPECT_EQ(form->InfoTimeLabel->Caption().substr(7), " / 0:02.00");
}

TEST_F(TransportWindowTest, PlayAtTheEndStartsAgainFromTheBeginning)
{
    Open(16000);
    form->SetPlayPosition(16000);
    ASSERT_TRUE(form->Document().View().CursorDrawn);
    ChunkLog log(*form->Engine());
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_EQ(form->Document().PlayStart(), 0);
    ASSERT_TRUE(WaitStopped());
    EXPECT_EQ(log.Chunks().front().first, 0);
}

TEST_F(TransportWindowTest, PlayOfASelectionLoopsWhileLoopIsOnAndEndsWhenItGoesOff)
{
    Open(16000);
    Select(2000, 6000);
    form->actAudioLoopExecute(form->actAudioLoop);
    EXPECT_TRUE(form->Engine()->Loop());
    EXPECT_TRUE(form->actAudioLoop->Checked());
    EXPECT_EQ(form->actAudioLoop->ImageIndex(), 22);
    ChunkLog log(*form->Engine());
    form->SetPlayPosition(3000);
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_EQ(form->Document().PlayStart(), 2000);
    ASSERT_TRUE(PumpUntil([&] { return log.StartsAt(2000) >= 3; }, kPlayLimitMs));
    EXPECT_TRUE(Playing());

    form->actAudioLoopExecute(form->actAudioLoop);
    EXPECT_FALSE(form->Engine()->Loop());
    EXPECT_FALSE(form->actAudioLoop->Checked());
    EXPECT_EQ(form->actAudioLoop->ImageIndex(), 23);
    ASSERT_TRUE(WaitStopped());
    EXPECT_TRUE(StoppedState());
    for (const auto& chunk : log.Chunks()) {
        EXPECT_GE(chunk.first, 2000 * kFrameBytes);
        EXPECT_LE(chunk.first + chunk.second, 6000 * kFrameBytes);
    }
}

TEST_F(TransportWindowTest, PlayWhilePlayingAndStopBothStopAtOnce)
{
    Open(48000);
    form->actAudioPlayExecute(form->actAudioPlay);
    ASSERT_TRUE(Playing());
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_TRUE(StoppedState());

    form->actAudioPlayExecute(form->actAudioPlay);
    ASSERT_TRUE(Playing());
    form->actAudioStopExecute(form->actAudioStop);
    EXPECT_TRUE(StoppedState());
    PumpMessages(); // no late end of playback arrives
    EXPECT_TRUE(StoppedState());
}

TEST_F(TransportWindowTest, ClosingWhilePlayingLeavesTheWindowStopped)
{
    Open(48000);
    form->actAudioPlayExecute(form->actAudioPlay);
    ASSERT_TRUE(Playing());
    form->CloseDocument();
    EXPECT_TRUE(form->Stopped());
    EXPECT_FALSE(form->Engine()->IsPlaying());
    EXPECT_FALSE(form->MainTimer->Enabled());
    EXPECT_FALSE(form->BrinkTimer->Enabled());

    // The next file plays at the first press.
    LoadTestDocument(*form, WriteHalfSilentWav(folder, "next.wav", 48000, kRate));
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_TRUE(Playing());
}

TEST_F(TransportWindowTest, StopWhenStoppedGoesBackToTheStart)
{
    Open(16000);
    form->SetChase(false);
    Select(1000, 3000);
    form->SetPlayPosition(2000);
    form->actAudioStopExecute(form->actAudioStop);
    EXPECT_EQ(form->Document().View().PlayPos, 0);
    EXPECT_FALSE(form->Document().View().HasSelection);
    EXPECT_TRUE(form->actViewChase->Checked());
    EXPECT_TRUE(form->Document().View().CursorDrawn);
    EXPECT_EQ(form->InfoTimeLabel->Caption(), "0:00.00 / 0:02.00");
}

TEST_F(TransportWindowTest, ARefusedPlayLeavesTheWindowStopped)
{
    Open(16000);
    Select(3000, 3000); // nothing to play
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_TRUE(StoppedState());
}

TEST_F(TransportWindowTest, SpacePlaysOnlyWhereItIsNotTyped)
{
    Open(16000);
    form->actViewRenExecute(form->actViewRen);
    form->SetActiveControl(form->rEd1);
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_TRUE(form->Stopped());
    form->SetActiveControl(form->EditList);
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_FALSE(form->Stopped());
    form->actAudioStopExecute(form->actAudioStop);
}

TEST_F(TransportWindowTest, PlayInTheCutBarListStartsAtTheSelectedBar)
{
    Open(16000);
    form->actViewCutbarlistExecute(form->actViewCutbarlist);
    AddCutBar("000000005000");
    AddCutBar("000000012000");
    for (int i = 0; i < 2; ++i)
        form->CutManageList->Items()->Add()->SetCaption(IntToStr(i + 1));
    form->CutManageList->Items()->Item(1)->SetSelected(true);
    form->SetActiveControl(form->CutManageList);
    ChunkLog log(*form->Engine());
    form->actAudioPlayExecute(form->actAudioPlay);
    EXPECT_EQ(form->Document().PlayStart(), 12000);
    ASSERT_TRUE(WaitStopped());
    EXPECT_EQ(log.Chunks().front().first, 12000 * kFrameBytes);
}

TEST_F(TransportWindowTest, CtrlSpacePlaysTheFocusedRegionWhileANameIsTyped)
{
    Open(16000);
    form->actViewRenExecute(form->actViewRen);
    form->RenamePage->SetActiveTabIndex(3);
    form->AddRegion(500, 1500);
    form->AddRegion(2000, 6000);
    form->SelectRegionRow(0, false);
    form->FocusRegionRow(1);
    form->SetActiveControl(form->FocusBtn); // not an edit: refused
    form->actAudioRenamePlayExecute(form->actAudioRenamePlay);
    EXPECT_TRUE(form->Stopped());

    form->SetActiveControl(form->rEd5);
    form->actAudioRenamePlayExecute(form->actAudioRenamePlay);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(form->Document().PlayStart(), 2000);
    EXPECT_EQ(form->SelectedRegionRows(), std::vector<int>{1});
    form->actAudioRenamePlayExecute(form->actAudioRenamePlay); // while playing: stops
    EXPECT_TRUE(StoppedState());
}

// --- The end of playback -------------------------------------------------------------------

TEST_F(TransportWindowTest, ASelectedRegionPlaysAtItsVolumeAndOutputModeUntilTheCursorMoves)
{
    Open(16000);
    form->AddRegion(2000, 6000);
    TRegionData* region = form->RegionAt(0);
    region->Volume = 0.5;
    region->OutMode = TOutputMode::MonoLeft;
    form->SetActiveControl(form->EditList);
    form->SelectRegionRow(0, false);
    form->actAudioPlayExecute(form->actAudioPlay);
    ASSERT_TRUE(Playing());
    EXPECT_EQ(form->Document().PlayStart(), 2000);
    EXPECT_DOUBLE_EQ(form->Engine()->Volume(), form->MasterVolume() * 0.5);
    EXPECT_EQ(form->Engine()->OutputMode(), TOutputMode::MonoLeft);
    form->actAudioStopExecute(form->actAudioStop);
    ASSERT_TRUE(StoppedState());

    // Leaving the list takes the output mode back; moving to a mark, the
    // volume too.
    form->EditListExit(form->EditList);
    EXPECT_EQ(form->Engine()->OutputMode(), TOutputMode::NoTouch);
    form->SetActiveControl(form->FocusBtn);
    form->actAudioNextExecute(form->actAudioNext);
    EXPECT_DOUBLE_EQ(form->Engine()->Volume(), form->MasterVolume());
    EXPECT_FALSE(form->Document().View().RegionSelection);
}

TEST_F(TransportWindowTest, AnEndReportedOffTheMainThreadActsOnlyThere)
{
    Open(16000);
    // The engine stops without the window hearing of it (a looped playback
    // never ends by itself): the window still plays.
    Select(0, 8000);
    form->actAudioLoopExecute(form->actAudioLoop);
    form->actAudioPlayExecute(form->actAudioPlay);
    ASSERT_TRUE(Playing());
    form->Engine()->Stop();
    form->MainTimer->SetEnabled(true);
    form->BrinkTimer->SetEnabled(false);
    std::thread([this] { form->Engine()->OnPlayEnd(form->Engine()); }).join();
    EXPECT_FALSE(form->Stopped());
    EXPECT_TRUE(form->MainTimer->Enabled());
    PumpMessages();
    EXPECT_TRUE(form->Stopped());
    EXPECT_FALSE(form->MainTimer->Enabled());
    EXPECT_TRUE(form->BrinkTimer->Enabled());
}

TEST_F(TransportWindowTest, AnEndReportedWhileTheEngineIsPlayingAgainIsIgnored)
{
    Open(16000);
    Select(2000, 6000);
    form->actAudioLoopExecute(form->actAudioLoop);
    form->actAudioPlayExecute(form->actAudioPlay);
    ASSERT_TRUE(Playing());
    std::thread([this] { form->Engine()->OnPlayEnd(form->Engine()); }).join();
    PumpMessages();
    EXPECT_TRUE(Playing());
    form->actAudioStopExecute(form->actAudioStop);
}

// --- The cursor and the view while playing -------------------------------------------------

TEST_F(TransportWindowTest, WithChaseTheViewAndTheCursorFollowThePosition)
{
    Open(48000);
    ZoomTo(*form, 8);
    const int width = form->Document().View().ViewEnd - form->Document().View().ViewStart;
    ASSERT_LT(width, 48000 / 3);
    form->actAudioPlayExecute(form->actAudioPlay);
    // A tick that moves the view wipes the line; the next draws it again.
    ASSERT_TRUE(PumpUntil(
        [&] {
            return form->Document().View().ViewStart > 0 && form->Document().View().CursorDrawn;
        },
        kPlayLimitMs));
    form->actAudioStopExecute(form->actAudioStop);
    ASSERT_TRUE(form->IsSampleVisible(form->Document().View().PlayPos));
    ASSERT_TRUE(form->Document().View().CursorDrawn);
    EXPECT_EQ(form->Document().View().CursorX, form->SampleToX(form->Document().View().PlayPos));
    EXPECT_EQ(CursorPixel(form->Document().View().CursorX), form->FOption.PosBarColor);
    EXPECT_EQ(form->Document().View().OverviewMarkX,
              form->Document().View().PlayPos / form->Document().View().OverviewSamplesPerPixel);
}

TEST_F(TransportWindowTest, MovingTheCursorPastTheSelectionWhilePlayingStops)
{
    Open(48000);
    Select(2000, 40000);
    form->actAudioPlayExecute(form->actAudioPlay);
    ASSERT_TRUE(Playing());
    form->actAudioNextExecute(form->actAudioNext); // to the selection's end
    EXPECT_TRUE(StoppedState());
    EXPECT_EQ(form->Document().View().PlayPos, 40000);
}

// --- Cursor moves while stopped ------------------------------------------------------------

TEST_F(TransportWindowTest, NextAndBackMoveBetweenCutBars)
{
    Open(16000);
    AddCutBar("000000010000");
    AddCutBar("000000004000");
    Select(500, 800);
    form->actAudioNextExecute(form->actAudioNext);
    EXPECT_FALSE(form->Document().View().HasSelection);
    EXPECT_EQ(form->Document().View().PlayPos, 4000);
    EXPECT_EQ(form->Document().View().CursorX, form->SampleToX(4000));
    EXPECT_EQ(CursorPixel(form->Document().View().CursorX), form->FOption.PosBarColor);
    EXPECT_TRUE(form->BrinkTimer->Enabled());
    EXPECT_EQ(form->Document().View().BlinkPhase, TBlinkPhase::Drawn);
    form->actAudioNextExecute(form->actAudioNext);
    EXPECT_EQ(form->Document().View().PlayPos, 10000);
    form->actAudioNextExecute(form->actAudioNext); // none after: stays
    EXPECT_EQ(form->Document().View().PlayPos, 10000);
    form->actAudioBackExecute(form->actAudioBack);
    EXPECT_EQ(form->Document().View().PlayPos, 4000);
    form->actAudioBackExecute(form->actAudioBack); // none before: the beginning
    EXPECT_EQ(form->Document().View().PlayPos, 0);
}

TEST_F(TransportWindowTest, WithoutCutBarsNextAndBackGoToTheSelectionOrTheEnds)
{
    Open(16000);
    Select(3000, 9000);
    form->SetPlayPosition(5000);
    form->actAudioNextExecute(form->actAudioNext);
    EXPECT_EQ(form->Document().View().PlayPos, 9000);
    EXPECT_TRUE(form->Document().View().HasSelection);
    form->actAudioBackExecute(form->actAudioBack);
    EXPECT_EQ(form->Document().View().PlayPos, 3000);
    form->ClearSelection();
    form->actAudioNextExecute(form->actAudioNext);
    EXPECT_EQ(form->Document().View().PlayPos, 16000);
    form->actAudioBackExecute(form->actAudioBack);
    EXPECT_EQ(form->Document().View().PlayPos, 0);
}

TEST_F(TransportWindowTest, CursorMovesFollowTheViewAndTheSelection)
{
    Open(16000);
    const std::int32_t step =
        (form->Document().View().ViewEnd - form->Document().View().ViewStart) / 20;
    form->actAudioFwdExecute(form->actAudioFwd);
    EXPECT_EQ(form->Document().View().PlayPos, step);
    form->actAudioNFwdExecute(form->actAudioNFwd);
    EXPECT_EQ(form->Document().View().PlayPos, step + form->Document().View().SamplesPerPixel);
    form->actAudioRewExecute(form->actAudioRew);
    form->actAudioRewExecute(form->actAudioRew);
    EXPECT_EQ(form->Document().View().PlayPos, 0); // not below the beginning
    const int oldColumn = form->Document().View().CursorX;

    Select(6000, 8000);
    form->SetPlayPosition(100); // before the selection: held at its start
    EXPECT_EQ(form->Document().View().PlayPos, 6000);
    EXPECT_NE(CursorPixel(oldColumn), form->FOption.PosBarColor); // the old line went
    form->actAudioGotoZeroExecute(form->actAudioGotoZero);
    EXPECT_FALSE(form->Document().View().HasSelection);
    EXPECT_EQ(form->Document().View().PlayPos, 0);
}

TEST_F(TransportWindowTest, AMoveOutOfViewWithChaseCentresTheViewAndDrawsTheCursor)
{
    Open(48000);
    ZoomTo(*form, 8);
    form->SetPlayPosition(30000);
    EXPECT_TRUE(form->IsSampleVisible(30000));
    EXPECT_GT(form->Document().View().ViewStart, 0);
    ASSERT_TRUE(form->Document().View().CursorDrawn);
    EXPECT_EQ(CursorPixel(form->Document().View().CursorX), form->FOption.PosBarColor);
    EXPECT_EQ(form->InfoTimeLabel->Caption(), "0:03.75 / 0:06.00");
}

TEST_F(TransportWindowTest, TheCursorBlinksWhileStopped)
{
    Open(16000);
    form->SetPlayPosition(8000);
    const int x = form->Document().View().CursorX;
    form->BrinkTimerTimer(form->BrinkTimer);
    EXPECT_EQ(form->Document().View().BlinkPhase, TBlinkPhase::Erased);
    EXPECT_NE(CursorPixel(x), form->FOption.PosBarColor);
    form->BrinkTimerTimer(form->BrinkTimer);
    EXPECT_EQ(form->Document().View().BlinkPhase, TBlinkPhase::Drawn);
    EXPECT_EQ(CursorPixel(x), form->FOption.PosBarColor);
}

// --- Enabling ------------------------------------------------------------------------------

TEST_F(TransportWindowTest, PlayAndTheMovesNeedAnOpenFile)
{
    Start();
    for (TAction* action : {form->actAudioPlay, form->actAudioStop, form->actAudioNext}) {
        action->Update();
        EXPECT_FALSE(action->Enabled());
    }
    for (TAction* action : {form->actAudioLoop, form->actAudioRecord, form->actAudioRenamePlay}) {
        action->Update();
        EXPECT_TRUE(action->Enabled());
    }
    LoadTestDocument(*form, WriteHalfSilentWav(folder, "transport.wav", 1600, kRate));
    form->actAudioPlay->Update();
    EXPECT_TRUE(form->actAudioPlay->Enabled());
}

// --- Status message ------------------------------------------------------------------------

TEST_F(MainWindowTest, AStatusMessageShowsInItsColourAndClearsWhenItsTimeIsUp)
{
    Start();
    form->ShowStatusMessage("リージョンリストを保存しました", clBlue, TFormVusk::kStatusMessageMs);
    EXPECT_EQ(StatusText(form), "リージョンリストを保存しました");
    EXPECT_EQ(StatusColor(form), clBlue);
    EXPECT_TRUE(form->MessageLabel->Visible());
    EXPECT_TRUE(form->MesClearTimer->Enabled());
    EXPECT_EQ(form->MesClearTimer->Interval(), 3000u);
    form->MesClearTimerTimer(form->MesClearTimer);
    EXPECT_EQ(StatusText(form), "");
    EXPECT_FALSE(form->MesClearTimer->Enabled());
}

TEST_F(MainWindowTest, AStatusMessageWithoutATimeStaysAndCancelsAPendingClear)
{
    Start();
    form->ShowStatusMessage("a", clRed, 3000);
    form->ShowStatusMessage("b", clBlack, -1);
    EXPECT_FALSE(form->MesClearTimer->Enabled());
    EXPECT_EQ(StatusText(form), "b");
}

namespace {

// The pixels of the message label as the status bar paints it whose colour
// is close to color (anti-aliased text keeps its hue).
int PixelsNear(TFormVusk* form, TColor color)
{
    TExtToolbar* bar = form->StatusBar1->Toolbar();
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(bar->Width(), bar->Height());
    bar->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    TBarItemViewer* viewer = bar->View()->Find(form->MessageLabel);
    if (!viewer)
        return 0;
    const TRect r = viewer->BoundsRect();
    const int wantR = GetRValue(color), wantG = GetGValue(color), wantB = GetBValue(color);
    int count = 0;
    for (int y = std::max(0, int(r.top)); y < std::min(bar->Height(), int(r.bottom)); ++y) {
        const auto* line = static_cast<const DWORD*>(bitmap.ScanLine(y));
        for (int x = std::max(0, int(r.left)); x < std::min(bar->Width(), int(r.right)); ++x) {
            const int pr = (line[x] >> 16) & 0xFF, pg = (line[x] >> 8) & 0xFF, pb = line[x] & 0xFF;
            if (std::abs(pr - wantR) < 0x50 && std::abs(pg - wantG) < 0x50 &&
                std::abs(pb - wantB) < 0x50)
                ++count;
        }
    }
    return count;
}

} // namespace

TEST_F(MainWindowTest, TheStatusBarPaintsTheMessageInItsColourUntilTheTimerClearsIt)
{
    Start();
    const struct
    {
        TColor Shown;
        TColor Other;
    } cases[] = {{clRed, clBlue}, {clBlue, clRed}};
    for (const auto& c : cases) {
        form->ShowStatusMessage("リージョンリストを保存しました", c.Shown,
                                TFormVusk::kStatusMessageMs);
        PumpMessages();
        EXPECT_GT(PixelsNear(form, c.Shown), 10) << c.Shown;
        EXPECT_EQ(PixelsNear(form, c.Other), 0) << c.Shown;
    }
    // The second label stays empty beside the message.
    ASSERT_EQ(form->StatusBar1->Items()->Count(), 2);
    auto* second = static_cast<TExtLabelItem*>(form->StatusBar1->Items()->Items(1));
    EXPECT_EQ(second->Caption(), L"");

    TestSignal ticked;
    TNotifyEvent clear = form->MesClearTimer->OnTimer;
    form->MesClearTimer->OnTimer = [&](TObject* sender) {
        clear(sender);
        ticked.Set();
    };
    form->ShowStatusMessage("このファイルは存在しません", clRed, 20);
    ASSERT_TRUE(ticked.Wait());
    PumpMessages();
    EXPECT_EQ(StatusText(form), "");
    EXPECT_FALSE(form->MesClearTimer->Enabled());
    EXPECT_EQ(PixelsNear(form, clRed), 0);
}

// --- Recent files --------------------------------------------------------------------------

namespace {

constexpr int kRecentMenuStart = 17;

std::vector<AnsiString> RecentCaptions(TFormVusk* form)
{
    std::vector<AnsiString> captions;
    for (int i = kRecentMenuStart + 1; i < form->FileMenu->Count(); ++i)
        captions.push_back(form->FileMenu->Items(i)->Caption());
    return captions;
}

} // namespace

TEST_F(MainWindowTest, TheRecentMenuFollowsTheListAfterOneSeparator)
{
    Start();
    ASSERT_EQ(form->FileMenu->Count(), kRecentMenuStart); // none yet: no separator
    for (int i = 0; i < 11; ++i)
        form->AddRecentFile("C:\\w\\take" + IntToStr(i) + ".wav");
    ASSERT_EQ(form->FileMenu->Count(), kRecentMenuStart + 1 + 10);
    EXPECT_NE(dynamic_cast<TSkinSeparatorItem*>(form->FileMenu->Items(kRecentMenuStart)), nullptr);
    std::vector<AnsiString> captions = RecentCaptions(form);
    EXPECT_EQ(captions.front(), "&0 take10.wav");
    EXPECT_EQ(captions.back(), "&9 take1.wav");

    form->AddRecentFile("C:\\w\\R&B.wav");
    form->AddRecentFile("C:\\w\\take5.wav");
    captions = RecentCaptions(form);
    ASSERT_EQ(captions.size(), 10u);
    EXPECT_EQ(captions[0], "&0 take5.wav");
    EXPECT_EQ(captions[1], "&1 R&&B.wav");
    EXPECT_EQ(form->FileMenu->Count(), kRecentMenuStart + 1 + 10);
}

TEST_F(MainWindowTest, AMissingRecentFileShowsTheRedMessageAndLeavesTheMenu)
{
    Start();
    const AnsiString kept = folder / "kept.rgl";
    folder.WriteFile("kept.rgl", "");
    form->AddRecentFile(kept);
    form->AddRecentFile(folder / "gone.wav");
    form->FileMenu->Items(kRecentMenuStart + 1)->Click();
    EXPECT_EQ(StatusText(form), "このファイルは存在しません");
    EXPECT_EQ(StatusColor(form), clRed);
    ASSERT_EQ(form->RecentFiles().Count(), 1);
    EXPECT_EQ(form->RecentFiles().Strings(0), kept);
    EXPECT_EQ(RecentCaptions(form), std::vector<AnsiString>{"&0 kept.rgl"});

    // An existing file stays when chosen.
    form->FileMenu->Items(kRecentMenuStart + 1)->Click();
    EXPECT_EQ(form->RecentFiles().Count(), 1);

    // It goes too once it is gone from the disk.
    ASSERT_TRUE(DeleteFileA(kept.c_str()));
    form->FileMenu->Items(kRecentMenuStart + 1)->Click();
    EXPECT_EQ(form->FileMenu->Count(), kRecentMenuStart); // the last one gone: no separator
}

TEST_F(MainWindowTest, AFileOpenedFromTheRecentMenuIsMarkedInTheFileList)
{
    Start();
    const AnsiString wav = WriteHalfSilentWav(folder, "take.wav", 8000, kRate);
    const AnsiString rgl = folder / "take.rgl";
    ASSERT_TRUE(form->OpenWavFile(wav));
    form->AddRegion(0, 1000);
    ASSERT_TRUE(form->SaveRegionList(rgl));
    form->actFileCloseExecute(nullptr);
    form->AddToFileList(wav);
    form->AddToFileList(rgl);
    // Only the opened file is recent so far: the two below are all.
    ASSERT_EQ(form->RecentFiles().Count(), 1);
    form->AddRecentFile(wav);
    form->AddRecentFile(rgl);

    auto chooseRecent = [this](const AnsiString& name) {
        const std::vector<AnsiString> captions = RecentCaptions(form);
        const auto found =
            std::find_if(captions.begin(), captions.end(), [&](const AnsiString& caption) {
                return caption.size() > name.size() &&
                       caption.compare(caption.size() - name.size(), name.size(), name) == 0;
            });
        ASSERT_NE(found, captions.end()) << name;
        form->FileMenu->Items(kRecentMenuStart + 1 + static_cast<int>(found - captions.begin()))
            ->Click();
    };
    auto marked = [this]() -> AnsiString {
        const TListItem* item = form->FileListWindow()->MarkedItem();
        return item ? TForm10::PathOf(item) : "";
    };
    for (const AnsiString& path : {wav, rgl, wav}) {
        SCOPED_TRACE(path);
        chooseRecent(ExtractFileName(path));
        EXPECT_EQ(form->Engine()->Path(), wav);
        EXPECT_EQ(marked(), path);
    }
}
