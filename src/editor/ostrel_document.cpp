// The document in the main window: open and close of the WAV file with its
// draw data, region list, cut bars and view state; the draw-data build in
// the processing window; the reload after a preference change; the draw
// cache beside the file; and the open and close commands.
#include "ostrel.h"

#include "DrawBuild.h"
#include "DrawCacheFile.h"
#include "TimeText.h"
#include "ql_process.h"

#include "audio/DirectWavEngine.h"
#include "audio/ThdTimer.h"
#include "classlib/Application.h"
#include "classlib/Checks.h"
#include "classlib/FilePaths.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

#include <exception>

namespace {

constexpr TColor kOverviewNoFile = 0xC0C0C0;

namespace DocumentText {
constexpr const char* OpenFailed = "ファイルを開けませんでした";
// Both texts end in two blanks.
constexpr const char* TooLarge = "1GBを超えるファイルは開けません  ";
constexpr const char* TooLargeCaption = "ファイルサイズオーバー";
constexpr const char* Not16Bit = "16bit以外のフォーマットには未対応です  ";
constexpr const char* Not16BitCaption = "未対応フォーマット";
constexpr const char* InitialProgress = "ファイル読み込み中...0%";
} // namespace DocumentText

// The caption of an open file: "take1.wav - Stereo 16bit @ 44100 Hz".
AnsiString DocumentCaption(const AnsiString& path, const TDirectWavEngine& engine)
{
    return ExtractFileName(path) + " - " + (engine.Channel() == 1 ? "Mono" : "Stereo") + " " +
           IntToStr(static_cast<int>(engine.Bit())) + "bit @ " +
           IntToStr(static_cast<std::int64_t>(engine.Rate())) + " Hz";
}

void DocumentFillOverview(TImage* image)
{
    TCanvas* canvas = image->Picture()->Canvas();
    canvas->Brush()->SetColor(kOverviewNoFile);
    canvas->FillRect(TRect(0, 0, image->Picture()->Width(), image->Picture()->Height()));
}

// --- The draw-data build in the processing window

// Texts of the draw-data build.
namespace DrawLoadText {
constexpr const char* Caption = "ファイルの読み込み";
constexpr const char* Reading = "ファイル読み込み中...";
constexpr const char* Remaining = "推定残り時間 : ";
constexpr const char* Cancelled = "ファイルの読み込みを中止しました";
} // namespace DrawLoadText

// After every chunk but the last: the bar, then the cancel check, then the
// texts, then the messages (Cancel is pressed through them). All but the
// cancel check wait until progress is due: a chunk takes about a
// millisecond, and handling the window's messages after each would cost
// more than the build.
bool DrawLoadProgress(TForm4& window, const TDrawProgress& progress)
{
    const bool due = window.ProgressDue();
    if (due || window.FCancelled)
        window.Bar->SetPosition(progress.Percent);
    if (window.FCancelled)
        return false;
    if (!due)
        return true;
    window.MesLabel1->SetCaption(DrawLoadText::Reading + IntToStr(progress.Percent) + "%");
    window.MesLabel2->SetCaption(DrawLoadText::Remaining +
                                 window.RemainingTimeText(progress.Percent));
    return window.LetMessagesThrough();
}

TDrawBuildOutcome DrawLoadFailure(const char* what)
{
    TDrawBuildOutcome outcome;
    outcome.Result = TDrawBuildResult::Failed;
    outcome.Error = what;
    return outcome;
}

// Builds the draw data of the engine's open file in window (shown, its
// first texts set): blocks of blockSize frames, threshold zeroLevel, into
// stereo or mono. The bar, the percent and the remaining time follow the
// chunks, changing at most every 50 ms; Cancel stops after the current
// chunk. Done leaves the job running for the caller to finish (EndJob);
// Cancelled leaves the window stopped with the red text and "閉じる";
// Failed (a read or anything else went wrong) ends the job and closes the
// window.
TDrawBuildOutcome RunDrawDataBuild(TForm4& window, TDirectWavEngine& engine, int blockSize,
                                   int zeroLevel, TDrawDataStereo& stereo, TDrawDataMono& mono)
{
    window.BeginJob();
    TDrawBuildOutcome outcome;
    try {
        outcome = MakeDrawData(
            engine, blockSize, zeroLevel,
            [&window](const TDrawProgress& progress) { return DrawLoadProgress(window, progress); },
            stereo, mono);
    } catch (const std::exception& error) {
        outcome = DrawLoadFailure(error.what());
    } catch (...) {
        outcome = DrawLoadFailure("unknown error");
    }
    switch (outcome.Result) {
    case TDrawBuildResult::Done:
        break;
    case TDrawBuildResult::Cancelled:
        window.StopJob(DrawLoadText::Cancelled);
        break;
    case TDrawBuildResult::Failed:
        stereo.Clear();
        mono.Clear();
        window.EndJob();
        break;
    }
    return outcome;
}

} // namespace

// --- Open ----------------------------------------------------------------------------------

bool TFormVusk::OpenWavFile(const AnsiString& path)
{
    if (FileLoaded()) {
        actFileCloseExecute(this);
        if (FDocument.Modified())
            return false;
    }

    TWavInfo info;
    info.Path = path;
    GetWavInfo(info);
    switch (WavRefusalFor(info, FileSizeOf(path))) {
    case TWavRefusal::None:
        break;
    case TWavRefusal::TooLarge:
        SeamMessageBox(Handle(), DocumentText::TooLarge, DocumentText::TooLargeCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    case TWavRefusal::Not16Bit:
        SeamMessageBox(Handle(), DocumentText::Not16Bit, DocumentText::Not16BitCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    case TWavRefusal::NotPlayable:
    case TWavRefusal::BadBlockAlign:
    case TWavRefusal::Truncated:
        ShowOpenFailed();
        return false;
    }

    HaltForLoad();
    if (!FEngine->LoadFile(path)) {
        ShowOpenFailed();
        return false;
    }

    ResizeWaveImages();
    ClearDocument();
    ResetViewState();

    TBusyScope busy(FDocument);
    if (ObtainDrawData(path) != TDrawBuildResult::Done) {
        const bool failed = !FDocument.LoadCancelled();
        CloseDocument();
        if (failed)
            ShowOpenFailed();
        return false;
    }
    ShowLoadedWave();
    ClearCutBars();
    ClearRegionList();

    SetCaption(DocumentCaption(path, *FEngine));
    InfoSampleLabel->SetCaption(FormatFloat("###,###,###,##0", FEngine->SampleSize()));
    InfoTimeLabel->SetCaption(AnsiString("0:00.00 / ") + FormatTime(FEngine->Duration()));
    AddRecentFile(path);
    FocusWave();
    SetCursorAfterLoad();
    return true;
}

void TFormVusk::HaltForLoad()
{
    HaltPlayback();
    MainTimer->SetEnabled(false);
    BrinkTimer->SetEnabled(false);
    DragScrollTimer->SetEnabled(false);
    DragEditTimer->SetEnabled(false);
}

TDrawBuildResult TFormVusk::ObtainDrawData(const AnsiString& path)
{
    FDocument.BeginDrawData();
    try {
        if (LoadDrawData(path))
            return TDrawBuildResult::Done;
        // What waits to be painted follows the processing window: a cached
        // waveform, or else the processing window, is the first thing painted.
        return WaitForLoading();
    } catch (const std::exception&) {
        // Whatever went wrong, the document is closed again and the user
        // told that the file could not be opened.
        FDocument.ClearDrawData();
        return TDrawBuildResult::Failed;
    }
}

void TFormVusk::ShowLoadedWave()
{
    DrawWave(0);
    // The waveform reaches the screen now, not after the rest of the window.
    WaveImage->Update();
    DrawOverview();
    ApplyBufferSize();
    BrinkTimer->SetEnabled(true);
}

void TFormVusk::FocusWave()
{
    if (FocusBtn->CanFocus())
        FocusBtn->SetFocus();
}

void TFormVusk::SetCursorAfterLoad()
{
    if (WaveImage->Inside())
        SetToolCursor();
    else
        Screen->SetCursor(crDefault);
}

void TFormVusk::ShowOpenFailed()
{
    ShowStatusMessage(DocumentText::OpenFailed, clRed, kStatusMessageMs);
}

TDrawBuildResult TFormVusk::WaitForLoading()
{
    if (!FileLoaded())
        return TDrawBuildResult::Failed;
    TForm4* window = new TForm4(this);
    TProcessWindowScope scope(*this, window);
    window->SetCaption(DrawLoadText::Caption);
    window->MesLabel1->Font()->SetColor(clBlack);
    window->MesLabel1->SetCaption(DocumentText::InitialProgress);
    window->CloseChk->SetVisible(false);
    SetEnabled(false);
    window->ShowPainted();

    const TDrawBuildOutcome outcome =
        RunDrawDataBuild(*window, *FEngine, WaveBlockSize, FOption.ZeroLevel,
                         FDocument.DrawStereo(), FDocument.DrawMono());
    if (outcome.Result == TDrawBuildResult::Done) {
        FitZoomToDrawData();
        if (FOption.SaveData)
            SaveDrawData(DrawCachePath(FEngine->Path()));
        window->EndJob();
    }
    const bool closed = window->WaitUntilClosed();
    if (outcome.Result == TDrawBuildResult::Failed)
        return TDrawBuildResult::Failed;
    if (outcome.Result == TDrawBuildResult::Cancelled || !closed) {
        FDocument.SetLoadCancelled(true);
        return TDrawBuildResult::Cancelled;
    }
    return TDrawBuildResult::Done;
}

// --- Draw cache ----------------------------------------------------------------------------

bool TFormVusk::LoadDrawData(const AnsiString& wavPath)
{
    if (!LoadDrawCache(wavPath, FOption.ZeroLevel, WaveBlockSize, FDocument.DrawStereo(),
                       FDocument.DrawMono()))
        return false;
    FitZoomToDrawData();
    return true;
}

void TFormVusk::FitZoomToDrawData()
{
    View().Zoom = ZoomAllFactor(FDocument.DrawEntryCount(), WaveImage->Width());
}

void TFormVusk::SaveDrawData(const AnsiString& cachePath)
{
    if (!FileLoaded())
        return;
    if (!SaveDrawCache(cachePath, FEngine->WavInfo(), FOption.ZeroLevel, FDocument.DrawStereo(),
                       FDocument.DrawMono()))
        ShowStatusMessage(DrawCacheText::CannotWrite, clRed, kStatusMessageMs);
}

// --- Reload --------------------------------------------------------------------------------

void TFormVusk::ReloadAfterPreference()
{
    if (!FileLoaded())
        return;
    const AnsiString path = FEngine->Path();
    TWavInfo info;
    info.Path = path;
    GetWavInfo(info);
    if (info.SampleSize != FEngine->SampleSize() || info.Channel != FEngine->Channel() ||
        info.Bit != FEngine->Bit() || info.Rate != FEngine->Rate()) {
        OpenWavFile(path);
        return;
    }
    HaltForLoad();
    if (!FEngine->LoadFile(path)) {
        ShowOpenFailed();
        return;
    }
    Screen->SetCursor(crHourGlass);
    Application->ProcessMessages();
    TBusyScope busy(FDocument);
    if (ObtainDrawData(path) == TDrawBuildResult::Done) {
        ShowLoadedWave();
        FocusWave();
        SetCursorAfterLoad();
        return;
    }
    const bool failed = !FDocument.LoadCancelled();
    if (failed && !MayDiscardRegionList()) {
        KeepDocumentWithoutDrawData();
        return;
    }
    CloseDocument();
    ResizeWaveImages();
    SetCursorAfterLoad();
    if (failed)
        ShowOpenFailed();
}

// A reload that could not build the draw data while the user keeps the
// changed region list: the regions, cut bars and region-list file stay so
// that the list can still be saved, and the waveform shows no data.
void TFormVusk::KeepDocumentWithoutDrawData()
{
    ShowLoadedWave();
    FocusWave();
    SetCursorAfterLoad();
    ShowOpenFailed();
}

// --- Close and clear -----------------------------------------------------------------------

void TFormVusk::ClearDocument()
{
    MainTimer->SetEnabled(false);
    BrinkTimer->SetEnabled(false);
    DocumentFillOverview(OverViewImage);
    for (TLabel* label : {InfoTimeLabel, InfoSampleLabel, InfoRegionLabel})
        label->SetCaption("");
    Screen->SetCursor(crDefault);
    SetCaption(kApplicationTitle);
    ClearRegionList();
    FDocument.Clear();
}

void TFormVusk::CloseDocument()
{
    HaltPlayback();
    MainTimer->SetEnabled(false);
    BrinkTimer->SetEnabled(false);
    FDocument.Close();
    ClearDocument();
    CutManageList->Items()->Clear();
}

void TFormVusk::ClearCutBars()
{
    FDocument.ClearCutBars();
    CutManageList->Items()->Clear();
}

void TFormVusk::ResetViewState()
{
    // Whatever opens a file takes the mouse first (a dialog, a menu, a
    // drop), which ends a press on the waveform.
    if (!Verified(!FWaveDrag.Tracking(), "no press on the waveform outlives its capture"))
        EndWaveDrag(FWaveDrag.MouseX);
    FDocument.ResetView();
}

// --- Open and close commands --------------------------------------------------------------

void TFormVusk::actFileOpenExecute(TObject* Sender)
{
    if (FDocument.Busy() || !OpenDialog1->Execute(Handle()))
        return;
    OpenFileByKind(OpenDialog1->FileName());
}

void TFormVusk::actFileCloseExecute(TObject* Sender)
{
    if (FDocument.Busy())
        return;
    if (!FileLoaded()) {
        Close();
        return;
    }
    if (!MayDiscardRegionList())
        return;
    CloseDocument();
    ResizeWaveImages();
    UnmarkFileList();
}

void TFormVusk::WireDocumentEvents()
{
    Wire(actFileOpen->OnExecute, &TFormVusk::actFileOpenExecute);
    Wire(actFileClose->OnExecute, &TFormVusk::actFileCloseExecute);
}
