// The document in the main window: the open, the reload after a preference
// change and the close as the window shows them (TEditorDocument conducts
// them: the refusals, the engine, the draw cache and the build), the
// processing window of the draw-data build, and the open and close
// commands.
#include "ostrel.h"

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

// The processing window as the document's draw-data build sees it.
class TDrawLoadView : public TDrawBuildView
{
public:
    TDrawLoadView(TFormVusk& form, TForm4& window) : FForm(form), FWindow(window) {}

    // After every chunk but the last: the bar, then the cancel check, then
    // the texts, then the messages (Cancel is pressed through them). All but
    // the cancel check wait until progress is due: a chunk takes about a
    // millisecond, and handling the window's messages after each would cost
    // more than the build.
    bool Progress(const TDrawProgress& progress) override
    {
        const bool due = FWindow.ProgressDue();
        if (due || FWindow.FCancelled)
            FWindow.Bar->SetPosition(progress.Percent);
        if (FWindow.FCancelled)
            return false;
        if (!due)
            return true;
        FWindow.MesLabel1->SetCaption(DrawLoadText::Reading + IntToStr(progress.Percent) + "%");
        FWindow.MesLabel2->SetCaption(DrawLoadText::Remaining +
                                      FWindow.RemainingTimeText(progress.Percent));
        return FWindow.LetMessagesThrough();
    }

    // A finished or failed build closes the window; a cancelled one leaves
    // it with the red text and "閉じる" until the user closes it.
    bool Ended(const TOpenStep& step) override
    {
        if (step.CacheNotWritten)
            FForm.ShowStatusMessage(DrawCacheText::CannotWrite, clRed, TFormVusk::kStatusMessageMs);
        if (step.Answer == TOpenAnswer::Cancelled)
            FWindow.StopJob(DrawLoadText::Cancelled);
        else
            FWindow.EndJob();
        return FWindow.WaitUntilClosed();
    }

private:
    TFormVusk& FForm; // not owned
    TForm4& FWindow;  // not owned
};

} // namespace

// --- Open ----------------------------------------------------------------------------------

bool TFormVusk::OpenWavFile(const AnsiString& path)
{
    if (FileLoaded() && !CloseBeforeOpen())
        return false;
    EndWaveDragBeforeOpen();
    HaltForLoad();
    const int waveWidth = WaveLayoutFor(WavePanel->Width(), WavePanel->Height()).WaveWidth;
    TOpenStep step = FDocument.Open(path, OpenSettings(waveWidth));
    if (step.Answer == TOpenAnswer::Refused) {
        ShowRefusal(step.Refusal);
        return false;
    }
    ResizeWaveImages();
    ShowNoDocument();
    if (step.Answer == TOpenAnswer::NeedsBuild)
        step = WaitForLoading();
    if (step.Answer != TOpenAnswer::Ready) {
        // The document closed itself.
        ShowNoDocument();
        if (step.Answer == TOpenAnswer::Failed)
            ShowOpenFailed();
        return false;
    }
    ShowLoadedWave();
    SetCaption(DocumentCaption(path, *FEngine));
    InfoSampleLabel->SetCaption(FormatFloat("###,###,###,##0", FEngine->SampleSize()));
    InfoTimeLabel->SetCaption(AnsiString("0:00.00 / ") + FormatTime(FEngine->Duration()));
    AddRecentFile(path);
    FocusWave();
    SetCursorAfterLoad();
    ShowDocumentInFileList();
    return true;
}

bool TFormVusk::CloseBeforeOpen()
{
    actFileCloseExecute(this);
    return !FileLoaded();
}

void TFormVusk::EndWaveDragBeforeOpen()
{
    // Whatever opens a file takes the mouse first (a dialog, a menu, a
    // drop), which ends a press on the waveform.
    if (!Verified(!FWaveDrag.Tracking(), "no press on the waveform outlives its capture"))
        EndWaveDrag(FWaveDrag.MouseX);
}

void TFormVusk::HaltForLoad()
{
    HaltPlayback();
    MainTimer->SetEnabled(false);
    BrinkTimer->SetEnabled(false);
    DragScrollTimer->SetEnabled(false);
    DragEditTimer->SetEnabled(false);
}

TOpenSettings TFormVusk::OpenSettings(int waveWidth) const
{
    return {FOption.ZeroLevel, FOption.SaveData, waveWidth};
}

void TFormVusk::ShowRefusal(TWavRefusal refusal)
{
    switch (refusal) {
    case TWavRefusal::TooLarge:
        SeamMessageBox(Handle(), DocumentText::TooLarge, DocumentText::TooLargeCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        break;
    case TWavRefusal::Not16Bit:
        SeamMessageBox(Handle(), DocumentText::Not16Bit, DocumentText::Not16BitCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        break;
    case TWavRefusal::None:
    case TWavRefusal::NotPlayable:
    case TWavRefusal::BadBlockAlign:
    case TWavRefusal::Truncated:
        ShowOpenFailed();
        break;
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

TOpenStep TFormVusk::WaitForLoading()
{
    TForm4* window = new TForm4(this);
    TProcessWindowScope scope(*this, window);
    window->SetCaption(DrawLoadText::Caption);
    window->MesLabel1->Font()->SetColor(clBlack);
    window->MesLabel1->SetCaption(DocumentText::InitialProgress);
    window->CloseChk->SetVisible(false);
    SetEnabled(false);
    // What waits to be painted follows the processing window: it is the
    // first thing painted.
    window->ShowPainted();
    window->BeginJob();
    TDrawLoadView view(*this, *window);
    return FDocument.BuildDrawData(view);
}

// --- Reload --------------------------------------------------------------------------------

void TFormVusk::ReloadAfterPreference()
{
    if (!FileLoaded())
        return;
    if (FDocument.FileChanged()) {
        OpenWavFile(FDocument.FilePath());
        return;
    }
    HaltForLoad();
    TOpenStep step = FDocument.Reload(OpenSettings(WaveImage->Width()));
    if (step.Answer == TOpenAnswer::Refused) {
        ShowOpenFailed();
        return;
    }
    Screen->SetCursor(crHourGlass);
    Application->ProcessMessages();
    if (step.Answer == TOpenAnswer::NeedsBuild)
        step = WaitForLoading();
    if (step.Answer == TOpenAnswer::Ready) {
        ShowLoadedWave();
        FocusWave();
        SetCursorAfterLoad();
        return;
    }
    const bool failed = step.Answer == TOpenAnswer::Failed;
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

// --- Close ---------------------------------------------------------------------------------

void TFormVusk::CloseDocument()
{
    HaltPlayback();
    FDocument.Close();
    ShowNoDocument();
    ShowDocumentInFileList();
}

void TFormVusk::ShowNoDocument()
{
    MainTimer->SetEnabled(false);
    BrinkTimer->SetEnabled(false);
    DocumentFillOverview(OverViewImage);
    for (TLabel* label : {InfoTimeLabel, InfoSampleLabel, InfoRegionLabel})
        label->SetCaption("");
    Screen->SetCursor(crDefault);
    SetCaption(kApplicationTitle);
    ClearRegionRows();
    CutManageList->Items()->Clear();
}

void TFormVusk::ClearCutBars()
{
    FDocument.ClearCutBars();
    CutManageList->Items()->Clear();
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
}

void TFormVusk::WireDocumentEvents()
{
    Wire(actFileOpen->OnExecute, &TFormVusk::actFileOpenExecute);
    Wire(actFileClose->OnExecute, &TFormVusk::actFileCloseExecute);
}
