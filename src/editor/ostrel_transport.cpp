// Playback from the main window: play, the play of the region being named,
// stop and the end of playback, the cursor moves, loop and the recording
// command; the play cursor kept current by the 50 ms position timer while
// playing and blinked while stopped; the coloured status message; and the
// recent files with their File-menu entries.
//
// The engine reports the end of playback on a thread of its own. That
// thread only posts the news; the main thread switches the window back to
// the stopped state, unless the engine is playing again by then.
#include "ostrel.h"

#include "CutBarList.h"
#include "PlayCursor.h"
#include "RecentFiles.h"

#include "audio/DirectWavEngine.h"
#include "audio/ThdTimer.h"
#include "classlib/Checks.h"
#include "classlib/FilePaths.h"
#include "classlib/HiddenWindow.h"
#include "classlib/Thread.h"
#include "classlib/WideText.h"

namespace {

constexpr const char* kRecentFileMissing = "このファイルは存在しません";
// The File menu's own items; the recent files follow them.
constexpr int kRecentMenuStart = 17;
// Posted to the play-end window when the engine's playback ended by itself.
constexpr UINT kPlayEndMessage = WM_APP + 1;

} // namespace

// --- Wiring --------------------------------------------------------------------------------

void TFormVusk::WireTransportEvents()
{
    FPlayEndWindow.Handle = AllocateMessageHWnd(TWndMethod(this, &TFormVusk::PlayEndWindowProc));
    Wire(actAudioPlay->OnExecute, &TFormVusk::actAudioPlayExecute);
    // Elsewhere Space goes to the focused control: a button presses.
    actAudioPlay->OnTakeShortCut = [this](bool& take) { take = PlayFocusAllowed(); };
    Wire(actAudioRenamePlay->OnExecute, &TFormVusk::actAudioRenamePlayExecute);
    Wire(actAudioStop->OnExecute, &TFormVusk::actAudioStopExecute);
    Wire(actAudioGotoZero->OnExecute, &TFormVusk::actAudioGotoZeroExecute);
    Wire(actAudioFwd->OnExecute, &TFormVusk::actAudioFwdExecute);
    Wire(actAudioRew->OnExecute, &TFormVusk::actAudioRewExecute);
    Wire(actAudioNFwd->OnExecute, &TFormVusk::actAudioNFwdExecute);
    Wire(actAudioNRew->OnExecute, &TFormVusk::actAudioNRewExecute);
    Wire(actAudioBack->OnExecute, &TFormVusk::actAudioBackExecute);
    Wire(actAudioNext->OnExecute, &TFormVusk::actAudioNextExecute);
    Wire(actAudioLoop->OnExecute, &TFormVusk::actAudioLoopExecute);
    Wire(actAudioRecord->OnExecute, &TFormVusk::actAudioRecordExecute);
    Wire(MainTimer->OnTimer, &TFormVusk::MainTimerTimer);
    Wire(BrinkTimer->OnTimer, &TFormVusk::BrinkTimerTimer);
    Wire(PlayEndTimer->OnTimer, &TFormVusk::PlayEndTimerTimer);
    Wire(MesClearTimer->OnTimer, &TFormVusk::MesClearTimerTimer);
}

void TFormVusk::ShutDownTransport()
{
    // Neither the play-end thread nor a queued tick may reach a window being
    // taken apart (freeing the engine serves queued ticks while it waits).
    FEngine->OnPlayEnd.Clear();
    FEngine->Stop();
    MainTimer->SetEnabled(false);
    MainTimer->OnTimer.Clear();
    BrinkTimer->SetEnabled(false);
    PlayEndTimer->SetEnabled(false);
    MesClearTimer->SetEnabled(false);
}

TFormVusk::TPlayEndWindow::~TPlayEndWindow()
{
    if (Handle)
        DeallocateHWnd(Handle);
}

// --- Play ----------------------------------------------------------------------------------

// Space plays only where it is not typed into something.
bool TFormVusk::PlayFocusAllowed() const
{
    const TWinControl* active = ActiveControl();
    for (const TWinControl* allowed : std::initializer_list<const TWinControl*>{
             FocusBtn, EditList, ShellTreeView1, ScrollBar1, CutManageList})
        if (active == allowed)
            return true;
    return false;
}

// Ctrl+Space works while a name is being typed.
bool TFormVusk::RenamePlayFocusAllowed() const
{
    const TWinControl* active = ActiveControl();
    return !active || dynamic_cast<const TCustomEdit*>(active);
}

void TFormVusk::StartPlaying(std::int32_t from, std::int32_t to)
{
    EnsureOutputDevice();
    FEngine->Play(from, to);
    FStopped = false;
    MainTimer->SetEnabled(true);
    // A range the engine refused, or a device it could not open, raises no
    // play end: the window must not wait for one.
    if (!FEngine->IsPlaying())
        EnginePlayEnd(this);
}

void TFormVusk::actAudioPlayExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || !PlayFocusAllowed())
        return;
    BrinkTimer->SetEnabled(false);
    FEngine->SetOutputMode(TOutputMode::NoTouch);
    if (!FStopped) {
        actAudioStopExecute(Sender);
        return;
    }
    const std::int32_t length = FEngine->SampleSize();
    TListItem* cutBar = ActiveControl() == CutManageList ? CutManageList->Selected() : nullptr;
    const std::optional<std::int32_t> bar =
        cutBar ? FDocument.CutBarAt(cutBar->Index()) : std::nullopt;
    if (cutBar && Verified(bar.has_value(), "the cut-bar list shows each bar")) {
        FDocument.MoveCursor(*bar);
        FDocument.SetPlayStart(*bar);
        StartPlaying(*bar, length);
    } else if (View().HasSelection) {
        ApplyRegionAudio();
        FDocument.MoveCursor(View().SelStart);
        FDocument.SetPlayStart(View().SelStart);
        StartPlaying(View().SelStart, View().SelEnd);
        FEngine->SetLoopRange(View().SelStart, View().SelEnd);
    } else {
        if (View().PlayPos >= length) {
            RemovePlayCursor();
            FDocument.MoveCursor(0);
        }
        FDocument.SetPlayStart(View().PlayPos);
        StartPlaying(View().PlayPos, length);
    }
}

void TFormVusk::actAudioRenamePlayExecute(TObject* Sender)
{
    const int focused = FocusedRegionRow();
    if (!FileLoaded() || FDocument.Busy() || focused < 0 || !RenamePlayFocusAllowed())
        return;
    BrinkTimer->SetEnabled(false);
    if (!FStopped) {
        actAudioStopExecute(Sender);
        return;
    }
    if (RenamePage->ActiveTabIndex() == static_cast<int>(TRenameTab::Input)) {
        SelectRegionRow(focused, true);
        FocusRegionRow(focused);
    }
    // The list need not have the focus here (a name is being typed): the
    // region to play is the selected one all the same.
    ApplySelectedRegionAudio();
    // Without a selection there is no region to play and no cursor to set.
    if (!View().HasSelection)
        return;
    FDocument.MoveCursor(View().SelStart);
    FDocument.SetPlayStart(View().SelStart);
    StartPlaying(View().SelStart, View().SelEnd);
}

// --- Stop and the end of playback ----------------------------------------------------------

void TFormVusk::actAudioStopExecute(TObject* Sender)
{
    if (FDocument.Busy() || !FileLoaded())
        return;
    if (!FStopped) {
        FEngine->Stop();
        EnginePlayEnd(this);
        return;
    }
    // Stopping again goes back to the beginning. The selection goes first:
    // it would hold the cursor at its start.
    SetChase(true);
    ClearSelection();
    SetPlayPosition(0);
    ResetRegionAudio();
}

void TFormVusk::EnginePlayEndNotice(TObject* Sender)
{
    PostMessageA(FPlayEndWindow.Handle, kPlayEndMessage, 0, 0);
}

void TFormVusk::PlayEndWindowProc(TMessage& message)
{
    if (message.Msg != kPlayEndMessage) {
        DefaultHiddenWindowHandling(FPlayEndWindow.Handle, message);
        return;
    }
    // A notice from a playback that has since been replaced by another.
    if (FEngine && FEngine->IsPlaying())
        return;
    EnginePlayEnd(FEngine);
}

void TFormVusk::HaltPlayback()
{
    if (FStopped && !FEngine->IsPlaying())
        return;
    FEngine->Stop();
    EnginePlayEnd(this);
}

void TFormVusk::EnginePlayEnd(TObject* Sender)
{
    FStopped = true;
    MainTimer->SetEnabled(false);
    BrinkTimer->SetEnabled(true);
}

// --- The play cursor -----------------------------------------------------------------------

void TFormVusk::DrawCursorAt(std::int32_t sample)
{
    const int x = SampleToX(sample);
    DrawPlayCursor(x);
    FDocument.CursorDrawnAt(x);
}

void TFormVusk::RemovePlayCursor()
{
    ErasePlayCursor();
    FDocument.CursorErased();
}

void TFormVusk::ShowPlayTime()
{
    InfoTimeLabel->SetCaption(PlayTimeText(ViewDocument(), View().PlayPos));
}

void TFormVusk::SetPlayPosition(std::int32_t sample)
{
    const TViewDocument doc = ViewDocument();
    const TCursorPlace place = PlaceCursor(View(), doc, sample);
    FDocument.MoveCursor(place.PlayPos);
    if (!FStopped) {
        if (place.Hold == TCursorHold::SelectionStart) {
            FEngine->SetPlayRange(View().SelStart, View().SelEnd);
            FEngine->SetLoopRange(View().SelStart, View().SelEnd);
        } else if (place.Hold == TCursorHold::SelectionEnd) {
            FEngine->SetLoopRange(View().SelStart, View().SelEnd);
            actAudioStopExecute(this);
        }
    }
    if (FChase && doc.Loaded && !IsSampleVisible(View().PlayPos))
        DrawWave(CentredStart(View(), View().PlayPos));
    if (FStopped) {
        RemovePlayCursor();
        if (IsSampleVisible(View().PlayPos))
            DrawCursorAt(View().PlayPos);
        ShowPlayTime();
        DrawOverviewPosition();
    } else {
        FEngine->SetPlayRange(View().PlayPos, View().HasSelection ? View().SelEnd : -1);
    }
}

void TFormVusk::MainTimerTimer(TObject* Sender)
{
    if (!FileLoaded())
        return;
    FDocument.MoveCursor(FEngine->GetPosition());
    ShowPlayTime();
    if (View().Drawing)
        return;
    if (IsSampleVisible(View().PlayPos)) {
        const int x = SampleToX(View().PlayPos);
        if (x != View().CursorX || !View().CursorDrawn) {
            RemovePlayCursor();
            DrawCursorAt(View().PlayPos);
        }
    } else if (View().CursorDrawn) {
        RemovePlayCursor();
    }
    DrawOverviewPosition();
    if (!FChase)
        return;
    if (const auto start = ChaseStart(View(), ViewDocument()))
        DrawWave(*start);
}

void TFormVusk::BrinkTimerTimer(TObject* Sender)
{
    if (!IsSampleVisible(View().PlayPos)) {
        FDocument.CursorOutOfView();
        return;
    }
    if (View().Drawing)
        return;
    if (View().BlinkPhase == TBlinkPhase::Erased)
        DrawCursorAt(View().PlayPos);
    else
        RemovePlayCursor();
}

void TFormVusk::PlayEndTimerTimer(TObject* Sender)
{
    SetPlayPosition(FDocument.PlayStart());
    PlayEndTimer->SetEnabled(false);
}

// --- Cursor moves --------------------------------------------------------------------------

void TFormVusk::MoveCursorBy(std::int64_t samples)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    // SetPlayPosition clamps to the file; this only keeps the sum in range.
    const std::int64_t target = View().PlayPos + samples;
    SetPlayPosition(
        static_cast<std::int32_t>(std::clamp<std::int64_t>(target, INT32_MIN, INT32_MAX)));
}

void TFormVusk::actAudioGotoZeroExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    ClearSelection();
    SetPlayPosition(0);
}

void TFormVusk::actAudioFwdExecute(TObject* Sender)
{
    MoveCursorBy(CoarseCursorStep(View()));
}

void TFormVusk::actAudioRewExecute(TObject* Sender)
{
    MoveCursorBy(-static_cast<std::int64_t>(CoarseCursorStep(View())));
}

void TFormVusk::actAudioNFwdExecute(TObject* Sender)
{
    MoveCursorBy(View().SamplesPerPixel);
}

void TFormVusk::actAudioNRewExecute(TObject* Sender)
{
    MoveCursorBy(-static_cast<std::int64_t>(View().SamplesPerPixel));
}

// Next and back go to the neighbouring cut bar, or without cut bars to the
// selection's edge or the file's end.
void TFormVusk::MoveCursorToMark(bool forward)
{
    BrinkTimer->SetEnabled(false);
    const std::vector<std::int32_t> bars = FDocument.CutBarSamples();
    if (bars.empty()) {
        if (forward)
            SetPlayPosition(View().HasSelection ? View().SelEnd : FEngine->SampleSize());
        else
            SetPlayPosition(View().HasSelection ? View().SelStart : 0);
    } else if (forward) {
        if (const auto next = NextCutBar(bars, View().PlayPos)) {
            ClearSelection();
            SetPlayPosition(*next);
        }
    } else {
        const std::int32_t previous = PreviousCutBar(bars, View().PlayPos);
        ClearSelection();
        SetPlayPosition(previous);
    }
    if (FStopped) {
        FDocument.HoldBlink();
        BrinkTimer->SetEnabled(true);
    }
    ResetRegionAudio();
}

void TFormVusk::actAudioNextExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || View().PlayPos >= FEngine->SampleSize())
        return;
    MoveCursorToMark(true);
}

void TFormVusk::actAudioBackExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || View().PlayPos <= 0)
        return;
    MoveCursorToMark(false);
}

// --- Loop ----------------------------------------------------------------------------------

void TFormVusk::actAudioLoopExecute(TObject* Sender)
{
    SetLoopState(!FEngine->Loop());
}

// --- Status message ------------------------------------------------------------------------

void TFormVusk::ShowStatusMessage(const AnsiString& text, TColor color, int milliseconds)
{
    MessageLabel->SetCaption(AnsiToWide(text));
    MessageLabel->FontSettings()->SetColor(color);
    MessageLabel->SetVisible(true);
    // A clear still pending from an earlier message must not take this one.
    MesClearTimer->SetEnabled(false);
    if (milliseconds == -1)
        return;
    MesClearTimer->SetInterval(static_cast<unsigned>(std::max(0, milliseconds)));
    MesClearTimer->SetEnabled(true);
}

void TFormVusk::MesClearTimerTimer(TObject* Sender)
{
    MessageLabel->SetCaption(L"");
    MesClearTimer->SetEnabled(false);
}

// --- Recent files --------------------------------------------------------------------------

void TFormVusk::AddRecentFile(const AnsiString& path)
{
    PutRecentFile(*FRecentFiles, path);
    RebuildRecentMenu();
}

// The entries follow the File menu's own items after one separator; no
// separator while the list is empty.
void TFormVusk::RebuildRecentMenu()
{
    while (FileMenu->Count() > kRecentMenuStart)
        delete FileMenu->Items(FileMenu->Count() - 1);
    if (FRecentFiles->Count() == 0)
        return;
    FileMenu->Add(new TSkinSeparatorItem(nullptr));
    for (int i = 0; i < FRecentFiles->Count(); ++i) {
        auto* item = new TExtItem(nullptr);
        item->SetCaption(AnsiToWide(RecentMenuCaption(i, FRecentFiles->Strings(i))));
        item->OnClick = TNotifyEvent(this, &TFormVusk::RecentSelect);
        FileMenu->Add(item);
    }
}

// Opening a file rebuilds the menu, which frees the entry that was chosen:
// nothing of it is used once the file is opened.
void TFormVusk::RecentSelect(TObject* Sender)
{
    // The entry's index is the digit in its (ANSI) caption.
    const auto* item = dynamic_cast<const TBarCustomItem*>(Sender);
    const int index = item ? RecentIndexOfCaption(item->Caption()) : -1;
    if (index < 0 || index >= FRecentFiles->Count())
        return;
    const AnsiString path = FRecentFiles->Strings(index);
    if (!FileExists(path)) {
        ShowStatusMessage(kRecentFileMissing, clRed, kStatusMessageMs);
        FRecentFiles->Delete(index);
        RebuildRecentMenu();
        return;
    }
    OpenFileByKind(path);
}
